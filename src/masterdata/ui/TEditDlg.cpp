#include "masterdata/ui/TEditDlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "masterdata/PostcodeList.h"

QString QtClipboard::Text() const
{
    return QGuiApplication::clipboard()->text();
}

void QtClipboard::SetText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

namespace {

// A combo box that reports when its list drops down.
class DropDownCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;
    void showPopup() override
    {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};

const char* const kRedStyle = "color: red";

// A field as wide as its longest text at the dialog's font, so what is typed stays in view.
void SizeToLength(QWidget* widget, const QFontMetrics& metrics, int length)
{
    if (length <= 0)
        return;
    const int chars = qMin(length, 100);
    // An average character, and a little more for short fields of digits and capitals.
    const int perChar =
        qMax(metrics.averageCharWidth(), metrics.horizontalAdvance(QLatin1Char('0')));
    widget->setMinimumWidth(chars * perChar + 16);
    // Short fields (prices, codes, dates) stay that narrow.
    if (chars <= 15)
        widget->setMaximumWidth(chars * perChar + 16);
}

}  // namespace

TEditDlg::TEditDlg(TEditDlgForm& form, QWidget* parent)
    : QDialog(parent), m_form(form), m_binding(form.Fields(), this)
{
    m_binding.onChanged = [this] { Refresh(); };
    m_binding.onEvent = [this](int id, QEvent* event) { return OwnKey(id, event); };
    setWindowTitle(form.Caption());
    auto* outer = new QVBoxLayout(this);
    auto* layout = new QFormLayout;
    // Each field keeps the width of its text instead of all stretching to the widest.
    layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    layout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    outer->addLayout(layout);
    switch (form.Panel()) {
        case EditPanel::Medication:
            BuildMedication(layout);
            break;
        case EditPanel::Service:
            BuildService(layout);
            break;
        case EditPanel::Customer:
            BuildCustomer(layout);
            break;
        case EditPanel::Patient:
            BuildPatient(layout);
            break;
        case EditPanel::Booking:
            BuildBooking(layout);
            break;
    }
    auto* buttons = new QDialogButtonBox(this);
    m_okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    // Clicking a button must not take the focus: leaving a field runs its rules, which
    // must not fire on Cancel and run as "closing" on OK.
    m_okButton->setFocusPolicy(Qt::NoFocus);
    cancel->setFocusPolicy(Qt::NoFocus);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &TEditDlg::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    outer->addWidget(buttons);
    Refresh();
}

QLineEdit* TEditDlg::AddLine(QFormLayout* layout, int id, const QString& label,
                             const QString& suffix)
{
    auto* edit = new QLineEdit(this);
    if (suffix.isEmpty()) {
        layout->addRow(label, edit);
    } else {
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        row->addWidget(new QLabel(suffix, this));
        row->addStretch();
        layout->addRow(label, row);
    }
    Register(id, edit, edit);
    return edit;
}

// The VAT code with the rate it stands for beside it.
void TEditDlg::AddVatCode(QFormLayout* layout, int id)
{
    auto* edit = new QLineEdit(this);
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    row->addWidget(new QLabel(QStringLiteral("Satz:"), this));
    row->addWidget(m_rateLabel);
    row->addWidget(new QLabel(QStringLiteral("%"), this));
    row->addStretch();
    layout->addRow(QStringLiteral("USt-Schlüssel (1, 2, 3)"), row);
    Register(id, edit, edit);
}

QComboBox* TEditDlg::AddCombo(QFormLayout* layout, int id, const QString& label, QWidget* beside)
{
    auto* combo = new DropDownCombo(this);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);  // the form completes
    if (beside) {
        auto* row = new QHBoxLayout;
        row->addWidget(combo);
        row->addWidget(beside);
        layout->addRow(label, row);
    } else {
        layout->addRow(label, combo);
    }
    Register(id, combo, combo->lineEdit());
    return combo;
}

void TEditDlg::Register(int id, QWidget* widget, QLineEdit* editor)
{
    m_binding.Bind(id, editor, widget);
    const FormField& field = m_form.Fields().Field(id);
    if (field.maxLength > 0)
        editor->setMaxLength(field.maxLength);
    SizeToLength(widget, widget->fontMetrics(), field.maxLength);
}

void TEditDlg::BuildMedication(QFormLayout* layout)
{
    MedicationForm& f = m_form.Medication();
    const QString cur = m_form.CurrencyText();
    AddLine(layout, MedicationForm::Artikel, QStringLiteral("Medikament/ Artikel"));
    AddLine(layout, MedicationForm::EinkNetto, QStringLiteral("Einkaufspreis netto"), cur);
    AddLine(layout, MedicationForm::VerkNetto, QStringLiteral("Verkaufspreis netto"), cur);
    AddLine(layout, MedicationForm::VerkMitSt, QStringLiteral("Verkaufspreis mit MwSt"), cur);
    m_rateLabel = new QLabel(this);
    AddVatCode(layout, MedicationForm::Ust);
    // The hint stands beside the short field, so the labels stay narrow.
    AddLine(layout, MedicationForm::Wartezeit, QStringLiteral("Wartezeit"),
            QStringLiteral("(Optional für Abgabebeleg: M= Milch, F = Fleisch)"));
    AddLine(layout, MedicationForm::Charge, QStringLiteral("Chargennummer"));
    AddLine(layout, MedicationForm::Bem, QStringLiteral("Bemerkung"));
    m_ampvButton = new QPushButton(QStringLiteral("AM&PV"), this);
    connect(m_ampvButton, &QPushButton::clicked, this, [this, &f] {
        f.AmpvClick();
        Refresh();
    });
    m_humanChk = new QCheckBox(QStringLiteral("&Humanpräparat i.S.v. AMPV § 3 (1) Satz 2"), this);
    connect(m_humanChk, &QCheckBox::clicked, this, [this, &f](bool checked) {
        f.SetHumanpraep(checked);
        Refresh();
        m_binding.ApplyFocusRequest();
    });
    layout->addRow(m_ampvButton, m_humanChk);
}

void TEditDlg::BuildService(QFormLayout* layout)
{
    const QString cur = m_form.CurrencyText();
    AddLine(layout, ServiceForm::Leistung, QStringLiteral("Diagnose/ Leistung (GOT)"));
    AddLine(layout, ServiceForm::LeistungTier, QStringLiteral("Tierart"));
    AddLine(layout, ServiceForm::GOTNetto, QStringLiteral("GOT-Gebühr netto"), cur);
    AddLine(layout, ServiceForm::Faktor, QStringLiteral("GOT-Faktor (1 bis 3)"));
    AddLine(layout, ServiceForm::LeistungVerkNetto, QStringLiteral("Verkaufspreis netto"), cur);
    AddLine(layout, ServiceForm::LeistungVerkMitSt, QStringLiteral("Verkaufspreis mit MwSt"), cur);
    m_rateLabel = new QLabel(this);
    AddVatCode(layout, ServiceForm::LeistungUSt);
    AddLine(layout, ServiceForm::LeistungGot, QStringLiteral("GOT-Ziffer"));
    AddLine(layout, ServiceForm::LeistungBem, QStringLiteral("Bemerkung"));
}

void TEditDlg::BuildCustomer(QFormLayout* layout)
{
    CustomerForm& f = m_form.Customer();
    AddLine(layout, CustomerForm::KundeName, QStringLiteral("Name"));
    AddLine(layout, CustomerForm::KundeVorname, QStringLiteral("Vorname"));
    AddLine(layout, CustomerForm::KundeStrasse, QStringLiteral("Straße"));
    // The button stands beside the list it clears an entry of.
    auto* remove = new QPushButton(QStringLiteral("Aus der Liste löschen"), this);
    auto* plz = static_cast<DropDownCombo*>(
        AddCombo(layout, CustomerForm::KundePLZ, QStringLiteral("PLZ / Ort"), remove));
    plz->beforePopup = [this, &f] {
        f.PostcodeDropDown();
        Refresh();
    };
    remove->setToolTip(QStringLiteral("PLZ/Ort aus Liste löschen"));
    remove->setFocusPolicy(Qt::NoFocus);
    connect(remove, &QPushButton::clicked, this, [this, &f, plz] {
        m_binding.CopyToForm(CustomerForm::KundePLZ);
        const int index = plz->currentIndex();
        const QString chosen = index >= 0 && plz->itemText(index) == plz->currentText()
                                   ? plz->itemText(index)
                                   : QString();
        f.PostcodeRemove(chosen);
        Refresh();
    });
    m_numberLabel = new QLabel(this);
    layout->addRow(QStringLiteral("Kunden-Nr."), m_numberLabel);
    AddLine(layout, CustomerForm::KundeTel, QStringLiteral("Telefon"));
    QComboBox* anrede = AddCombo(layout, CustomerForm::KundeAnrede, QStringLiteral("Anrede"));
    anrede->addItems(CustomerForm::AnredeItems());
    AddLine(layout, CustomerForm::KundeBem, QStringLiteral("Bemerkung"));
    m_pharmacyChk = new QCheckBox(QStringLiteral("(A) = Apotheke"), this);
    connect(m_pharmacyChk, &QCheckBox::clicked, this, [this, &f](bool checked) {
        f.SetApotheke(checked);
        Refresh();
    });
    layout->addRow(QString(), m_pharmacyChk);
    AddLine(layout, CustomerForm::KundeMail, QStringLiteral("E-Mail-Adresse"));
    auto* copy = new QPushButton(QStringLiteral("Kopieren"), this);
    auto* paste = new QPushButton(QStringLiteral("Einfügen"), this);
    copy->setFocusPolicy(Qt::NoFocus);
    paste->setFocusPolicy(Qt::NoFocus);
    connect(copy, &QPushButton::clicked, this, [this, &f] { f.Copy(*m_clipboard); });
    connect(paste, &QPushButton::clicked, this, [this, &f] {
        f.Paste(*m_clipboard);
        Refresh();
    });
    copy->setToolTip(QStringLiteral("Die Felder des Kunden in die Zwischenablage kopieren"));
    paste->setToolTip(QStringLiteral("Die Felder aus der Zwischenablage einfügen"));
    auto* clip = new QHBoxLayout;
    clip->addWidget(copy);
    clip->addWidget(paste);
    clip->addStretch();
    layout->addRow(QStringLiteral("Zwischenablage"), clip);
}

void TEditDlg::BuildPatient(QFormLayout* layout)
{
    AddLine(layout, PatientForm::PatName, QStringLiteral("Name"));
    AddLine(layout, PatientForm::PatTierart, QStringLiteral("Tierart"));
    AddLine(layout, PatientForm::PatRasse, QStringLiteral("Rasse"));
    AddLine(layout, PatientForm::PatImpf, QStringLiteral("Farbe"));
    AddLine(layout, PatientForm::PatGebDat, QStringLiteral("Geb.-Datum"));
    AddLine(layout, PatientForm::PatSex, QStringLiteral("Geschlecht (M, W, ?)"));
    AddLine(layout, PatientForm::PatKastr, QStringLiteral("Kastriert (J, N)"));
    AddLine(layout, PatientForm::PatNr, QStringLiteral("Tier-/Passnummer"));
}

void TEditDlg::BuildBooking(QFormLayout* layout)
{
    BookingForm& f = m_form.Booking();
    const QString cur = m_form.CurrencyText();
    AddLine(layout, BookingForm::EinnDatum, QStringLiteral("Datum"));
    AddLine(layout, BookingForm::EinnBeleg, QStringLiteral("Karteikarten-Nr./ Beleg"));
    AddLine(layout, BookingForm::EinnKunde, f.KundeCaption());
    AddLine(layout, BookingForm::EinnNetto, QStringLiteral("Netto"), cur);
    AddLine(layout, BookingForm::EinnBrutto, QStringLiteral("Brutto"), cur);
    auto* swap = new QPushButton(QStringLiteral("N&etto / Brutto"), this);
    swap->setFocusPolicy(Qt::NoFocus);
    connect(swap, &QPushButton::clicked, this, [this, &f] {
        f.SwitchNetBrutto();
        Refresh();
        m_binding.ApplyFocusRequest();
    });
    layout->addRow(QString(), swap);
    AddLine(layout, BookingForm::EinnUst, QStringLiteral("USt %"));
    AddLine(layout, BookingForm::EinnZArt, QStringLiteral("Zahlungsart (B, S, Ü)"));
    m_pharmacyChk = new QCheckBox(QStringLiteral("(A) = Apotheke"), this);
    connect(m_pharmacyChk, &QCheckBox::clicked, this, [this, &f](bool checked) {
        f.SetApotheke(checked);
        Refresh();
    });
    layout->addRow(QString(), m_pharmacyChk);
}

bool TEditDlg::OwnKey(int id, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || m_form.Panel() != EditPanel::Customer ||
        id != CustomerForm::KundeAnrede)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    m_form.Customer().StepAnrede(key == Qt::Key_Up);
    Refresh();
    return true;
}

void TEditDlg::Refresh()
{
    m_binding.ShowFields();
    switch (m_form.Panel()) {
        case EditPanel::Medication: {
            MedicationForm& f = m_form.Medication();
            m_rateLabel->setText(f.UstRateLabel());
            const bool human = f.Humanpraep();
            m_humanChk->setChecked(human);
            m_ampvButton->setToolTip(f.AmpvToolTip());
            m_ampvButton->setStyleSheet(human ? QLatin1String(kRedStyle) : QString());
            m_humanChk->setStyleSheet(human ? QLatin1String(kRedStyle) : QString());
            break;
        }
        case EditPanel::Service:
            m_rateLabel->setText(m_form.Service().UstRateLabel());
            break;
        case EditPanel::Customer: {
            CustomerForm& f = m_form.Customer();
            m_pharmacyChk->setChecked(f.Apotheke());
            m_numberLabel->setText(f.NumberText());
            auto* plz = static_cast<QComboBox*>(FieldWidget(CustomerForm::KundePLZ));
            const QStringList entries = f.PostcodeEntries();
            QStringList shown;
            for (int i = 0; i < plz->count(); ++i)
                shown << plz->itemText(i);
            if (shown != entries) {
                const QString text = plz->lineEdit()->text();
                plz->clear();
                plz->addItems(entries);
                plz->setCurrentIndex(-1);
                plz->lineEdit()->setText(text);
            }
            break;
        }
        case EditPanel::Booking:
            m_pharmacyChk->setChecked(m_form.Booking().Apotheke());
            break;
        case EditPanel::Patient:
            break;
    }
}

void TEditDlg::OkClicked()
{
    const int id = m_binding.FocusedField();
    if (id >= 0)
        m_binding.CopyToForm(id);
    if (m_form.Ok(id, m_table)) {
        accept();
        return;
    }
    Refresh();
    m_binding.ApplyFocusRequest();
}

bool TEditDlgRunner::Run(TEditDlgForm& form, const MasterTableView* table)
{
    TEditDlg dlg(form, m_parent);
    dlg.SetTable(table);
    return dlg.exec() == QDialog::Accepted;
}
