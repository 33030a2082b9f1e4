#include "dispensing/ui/TAbgDruckDlg.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dispensing/TAbgDruckDlgForm.h"

TAbgDruckDlg::TAbgDruckDlg(TAbgDruckDlgForm& form, QWidget* parent) : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("AbgDruckDlg"));
    setWindowTitle(QStringLiteral("Abgabebeleg drucken"));
    auto* layout = new QVBoxLayout(this);
    m_label = new QLabel(this);
    QFont bold = m_label->font();
    bold.setBold(true);
    m_label->setFont(bold);
    layout->addWidget(m_label);
    m_standard = new QRadioButton(this);
    m_standard->setObjectName(QStringLiteral("StandardRBtn"));
    m_mail = new QRadioButton(this);
    m_mail->setObjectName(QStringLiteral("MailRBtn"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_standard);
    group->addButton(m_mail);
    layout->addWidget(m_standard);
    layout->addWidget(m_mail);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("HinweisLabel"));
    m_note->setStyleSheet(QStringLiteral("color: #c62828"));
    m_note->setWordWrap(true);
    layout->addWidget(m_note);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("AbbrechenBtn"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_standard, &QRadioButton::clicked, this, [this] {
        m_form.ChooseStandard();
        Show();
    });
    connect(m_mail, &QRadioButton::clicked, this, [this] {
        m_form.ChooseMail();
        Show();
    });
    Show();
}

void TAbgDruckDlg::Show()
{
    m_label->setText(m_form.Label());
    m_standard->setText(m_form.StandardCaption());
    m_mail->setText(m_form.MailCaption());
    m_standard->setEnabled(m_form.StandardEnabled());
    m_mail->setEnabled(m_form.MailEnabled());
    // Both unchecked is a state of the form; the group must let go to show it.
    m_standard->group()->setExclusive(false);
    m_standard->setChecked(m_form.StandardChecked());
    m_mail->setChecked(m_form.MailChecked());
    m_standard->group()->setExclusive(true);
    m_note->setText(m_form.Note());
    m_note->setVisible(!m_form.Note().isEmpty());
}

bool QtAbgDruckDlgRunner::Run(TAbgDruckDlgForm& form)
{
    TAbgDruckDlg dialog(form, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
