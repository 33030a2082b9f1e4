#include "appointments/ui/TTerminEditDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using F = TTerminEditDlgForm;

TTerminEditDlg::TTerminEditDlg(TTerminEditDlgForm& form, UserPort& port, NotesOpener notes,
                               QWidget* parent)
    : QDialog(parent),
      m_form(form),
      m_port(port),
      m_openNotes(std::move(notes)),
      m_binding(form, this)
{
    setObjectName(QStringLiteral("TTerminEditDlg"));
    setWindowTitle(form.Caption());
    m_binding.onChanged = [this] { Refresh(); };

    auto* top = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addField = [&](int id, QWidget* extra) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Field%1").arg(id));
        m_binding.Bind(id, edit);
        if (!form.FieldHint(id).isEmpty())
            edit->setToolTip(form.FieldHint(id));
        auto* label = new QLabel(form.FieldCaption(id), this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        if (extra)
            grid->addWidget(extra, row, 2);
        const bool shown = form.Shows(id);
        label->setVisible(shown);
        edit->setVisible(shown);
        if (extra)
            extra->setVisible(shown);
        ++row;
        return edit;
    };

    auto* dateHint = new QLabel(form.FieldHint(F::DatumEdit), this);
    QLineEdit* date = addField(F::DatumEdit, dateHint);
    date->setMaximumWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")));
    auto* timeHint = new QLabel(form.FieldHint(F::ZeitEdit), this);
    QLineEdit* time = addField(F::ZeitEdit, timeHint);
    time->setMaximumWidth(date->maximumWidth());
    QLineEdit* text = addField(F::TerminEdit, nullptr);
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 60);
    if (form.Masked())
        text->setEchoMode(QLineEdit::Password);
    QLineEdit* number = addField(F::KNrEdit, nullptr);
    number->setFocusPolicy(Qt::NoFocus);
    number->setMaximumWidth(date->maximumWidth());

    m_reminderBox = new QCheckBox(QStringLiteral("(E) Eri&nnerungsschreiben (optional)"), this);
    m_reminderBox->setVisible(form.Shows(F::ErinnerungEdit));
    grid->addWidget(m_reminderBox, row++, 1);
    m_chooseFile = new QToolButton(this);
    m_chooseFile->setText(QStringLiteral("..."));
    m_chooseFile->setToolTip(QStringLiteral("Datei öffnen"));
    addField(F::ErinnerungEdit, m_chooseFile);
    m_notes = new QPushButton(QStringLiteral("Patienten"), this);
    m_notes->setAutoDefault(false);
    addField(F::TextbausteinEdit, m_notes);
    top->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setAutoDefault(false);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    top->addLayout(buttons);

    m_reminderBox->setChecked(form.ReminderOn());
    connect(m_reminderBox, &QCheckBox::toggled, this, [this](bool on) {
        m_binding.CopyAllToForm();
        m_form.SetReminderOn(on);
        Refresh();
    });
    connect(m_chooseFile, &QToolButton::clicked, this, [this] {
        m_form.ChooseReminder(m_port);
        Refresh();
    });
    connect(m_notes, &QPushButton::clicked, this, [this] {
        if (!m_openNotes)
            return;
        m_binding.CopyAllToForm();
        m_openNotes(m_form, this);
        Refresh();
    });
    connect(m_ok, &QPushButton::clicked, this, &TTerminEditDlg::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    Refresh();
    for (int id : {F::DatumEdit, F::TerminEdit}) {
        if (form.Shows(id)) {
            m_binding.Editor(id)->setFocus();
            m_binding.Editor(id)->selectAll();
            break;
        }
    }
}

void TTerminEditDlg::Refresh()
{
    m_binding.ShowFields();
    const bool on = m_form.ReminderOn();
    m_chooseFile->setEnabled(on);
    m_notes->setEnabled(on && bool(m_openNotes));
}

void TTerminEditDlg::OkClicked()
{
    m_binding.CopyAllToForm();
    if (m_form.Ok(m_port)) {
        Refresh();
        accept();
        return;
    }
    Refresh();
    QTimer::singleShot(0, this, [this] { m_binding.ApplyFocusRequest(); });
}

bool QtTerminEditRunner::Run(TTerminEditDlgForm& form)
{
    TTerminEditDlg dialog(form, m_port, m_notes, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
