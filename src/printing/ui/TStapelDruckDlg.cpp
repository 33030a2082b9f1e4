#include "printing/ui/TStapelDruckDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TStapelDruckDlg::TStapelDruckDlg(TStapelDruckDlgForm& form, QWidget* parent)
    : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("TStapelDruckDlg"));
    setWindowTitle(form.Caption());
    auto* top = new QVBoxLayout(this);
    m_print = new QRadioButton(form.PrintCaption(), this);
    m_mail = new QRadioButton(form.MailCaption(), this);
    m_mail->setEnabled(form.MailEnabled());
    top->addWidget(m_print);
    top->addWidget(m_mail);
    if (form.NoteVisible()) {
        auto* note = new QLabel(TStapelDruckDlgForm::Note(), this);
        note->setWordWrap(true);
        top->addWidget(note);
    }
    m_hint = new QLabel(this);
    QFont bold = m_hint->font();
    bold.setBold(true);
    m_hint->setFont(bold);
    top->addWidget(m_hint);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_start = new QPushButton(QStringLiteral("Start"), this);
    m_start->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setAutoDefault(false);
    buttons->addWidget(m_start);
    buttons->addWidget(cancel);
    top->addLayout(buttons);

    const auto show = [this] {
        m_print->setChecked(!m_form.Mail());
        m_mail->setChecked(m_form.Mail());
        m_hint->setText(m_form.Hint());
    };
    connect(m_mail, &QRadioButton::toggled, this, [this, show](bool on) {
        m_form.SetMail(on);
        show();
    });
    connect(m_start, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    show();
}

bool QtBatchPrintDialogRunner::Run(TStapelDruckDlgForm& form)
{
    TStapelDruckDlg dialog(form, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
