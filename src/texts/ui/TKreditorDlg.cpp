#include "texts/ui/TKreditorDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "masterdata/CustomerForm.h"
#include "texts/TKreditorDlgForm.h"

using F = TKreditorDlgForm;

TKreditorDlg::TKreditorDlg(TKreditorDlgForm& form, const QStringList& postcodes, QWidget* parent)
    : QDialog(parent), m_form(form), m_binding(form, this)
{
    m_binding.onChanged = [this] { Refresh(); };
    m_binding.onEvent = [this](int id, QEvent* event) {
        if (id != F::Datum || event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_D || !(key->modifiers() & Qt::ControlModifier))
            return false;
        m_form.InsertToday();
        Refresh();
        return true;
    };
    setObjectName(QStringLiteral("TKreditorDlg"));
    setWindowTitle(form.Caption());
    auto* outer = new QVBoxLayout(this);

    auto* senderRow = new QHBoxLayout;
    senderRow->addWidget(new QLabel(QStringLiteral("Absender:"), this));
    m_sender = new QPushButton(this);
    m_sender->setObjectName(QStringLiteral("AbsenderBtn"));
    m_sender->setCheckable(true);
    m_sender->setFocusPolicy(Qt::NoFocus);
    connect(m_sender, &QPushButton::clicked, this, [this](bool on) {
        m_form.SetPharmacy(on);
        Refresh();
    });
    senderRow->addWidget(m_sender);
    senderRow->addStretch();
    outer->addLayout(senderRow);

    if (form.GetMode() == F::Mode::Letterhead) {
        auto* switches = new QHBoxLayout;
        m_bank = new QCheckBox(QStringLiteral("&Bankverbindung "), this);
        m_phone = new QCheckBox(QStringLiteral("Telefonnr. / &Faxnr. "), this);
        m_firm = new QCheckBox(QStringLiteral("Fir&menbezeichnung"), this);
        connect(m_bank, &QCheckBox::clicked, this, [this](bool on) { m_form.SetBank(on); });
        connect(m_phone, &QCheckBox::clicked, this, [this](bool on) { m_form.SetPhone(on); });
        connect(m_firm, &QCheckBox::clicked, this, [this](bool on) { m_form.SetFirm(on); });
        switches->addWidget(m_bank);
        switches->addWidget(m_phone);
        switches->addWidget(m_firm);
        outer->addLayout(switches);
    }

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Anrede:"), AddCombo(F::Anrede, CustomerForm::AnredeItems()));
    fields->addRow(QStringLiteral("&Vorname:"), AddLine(F::Vorname));
    fields->addRow(QStringLiteral("&Name:"), AddLine(F::Name));
    fields->addRow(QStringLiteral("&Strasse:"), AddLine(F::Strasse));
    QComboBox* town = AddCombo(F::PlzOrt, postcodes);
    fields->addRow(QStringLiteral("&PLZ/ Ort:"), town);
    // A keeper has no letter date: the dispensing record carries its own.
    if (form.GetMode() == F::Mode::Letterhead) {
        QLineEdit* date = AddLine(F::Datum);
        date->setToolTip(QStringLiteral("Strg+D: heutiges Datum"));
        date->setMaximumWidth(110);
        fields->addRow(QStringLiteral("&Datum:"), date);
    }
    outer->addLayout(fields);

    auto* titleGroup = new QGroupBox(form.TitleGroupCaption(), this);
    auto* titleLayout = new QVBoxLayout(titleGroup);
    titleLayout->addWidget(AddLine(F::Titel));
    outer->addWidget(titleGroup);

    auto* search = new QFormLayout;
    search->addRow(QStringLiteral("&Kunden-Suche:"), AddLine(F::KundenSuche));
    outer->addLayout(search);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    // A click must not take the focus: the date is checked when it is left.
    m_ok->setFocusPolicy(Qt::NoFocus);
    cancel->setFocusPolicy(Qt::NoFocus);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TKreditorDlg::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &TKreditorDlg::reject);
    outer->addWidget(buttons);
    form.Begin();
    Refresh();
}

QLineEdit* TKreditorDlg::AddLine(int id)
{
    auto* edit = new QLineEdit(this);
    if (m_form.Field(id).maxLength > 0)
        edit->setMaxLength(m_form.Field(id).maxLength);
    m_binding.Bind(id, edit);
    return edit;
}

QComboBox* TKreditorDlg::AddCombo(int id, const QStringList& items)
{
    auto* combo = new QComboBox(this);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    m_binding.Bind(id, combo->lineEdit(), combo);
    // A choice from the list goes through the form like typed text.
    connect(combo, &QComboBox::textActivated, this, [this, id](const QString& text) {
        m_form.EditText(id, text);
        Refresh();
    });
    return combo;
}

void TKreditorDlg::Refresh()
{
    m_binding.ShowFields();
    m_sender->setEnabled(m_form.PharmacyAvailable());
    m_sender->setChecked(m_form.Pharmacy());
    m_sender->setText(m_form.Pharmacy() ? QStringLiteral("Apotheke") : QStringLiteral("Praxis"));
    if (m_bank) {
        m_bank->setChecked(m_form.Bank());
        m_phone->setChecked(m_form.Phone());
        m_firm->setChecked(m_form.Firm());
    }
}

void TKreditorDlg::OkClicked()
{
    const int id = m_binding.FocusedField();
    if (id >= 0)
        m_binding.CopyToForm(id);
    if (m_form.Ok(id)) {
        accept();
        return;
    }
    Refresh();
    m_binding.ApplyFocusRequest();
}

void TKreditorDlg::reject()
{
    m_form.Cancel();
    QDialog::reject();
}
