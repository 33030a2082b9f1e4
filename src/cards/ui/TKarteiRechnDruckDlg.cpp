#include "cards/ui/TKarteiRechnDruckDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using card::PrintKind;
using card::TKarteiRechnDruckDlgForm;

namespace {

QCheckBox* Box(const QString& caption, QWidget* parent, const QString& hint = {})
{
    auto* box = new QCheckBox(caption, parent);
    box->setToolTip(hint);
    return box;
}

void Apply(QCheckBox* box, const card::ControlState& state)
{
    box->setVisible(state.visible);
    box->setEnabled(state.enabled);
    box->setChecked(state.checked);
}

void Apply(QLineEdit* edit, const card::DateField& field)
{
    edit->setText(field.text);
    edit->setReadOnly(field.readOnly);
    edit->setVisible(field.visible);
}

}  // namespace

TKarteiRechnDruckDlg::TKarteiRechnDruckDlg(TKarteiRechnDruckDlgForm& form, QWidget* parent)
    : QDialog(parent), m_form(form)
{
    setWindowTitle(QStringLiteral("Drucken (Kartei/ Angebot/ Rechnung/ Quittung/ Mahnung)"));

    // The two panels: closing the current card, or printing another one.
    m_panels = new QStackedWidget(this);
    auto* closing = new QGroupBox(m_panels);
    auto* closingLayout = new QGridLayout(closing);
    auto* closingText =
        new QLabel(QStringLiteral("Die  Karteikarte des Kunden wird geschlossen. ") +
                       QStringLiteral("\nEine neue Karteikarte wird automatisch angelegt."),
                   closing);
    m_bisLabel = new QLabel(QStringLiteral("&Behandlung bis einschließlich: "), closing);
    m_bisDatum = new QLineEdit(closing);
    m_bisDatum->setToolTip(
        QStringLiteral("Behandlungen nach diesem Datum werden auf neue Karteikarte umgebrochen!"));
    m_bisDatum->setMaxLength(10);
    m_bisLabel->setBuddy(m_bisDatum);
    closingLayout->addWidget(closingText, 0, 0, 1, 2);
    closingLayout->addWidget(m_bisLabel, 1, 0);
    closingLayout->addWidget(m_bisDatum, 1, 1);
    m_panels->addWidget(closing);

    auto* invoiceOnly = new QGroupBox(m_panels);
    auto* invoiceLayout = new QVBoxLayout(invoiceOnly);
    auto* invoiceText = new QLabel(
        QStringLiteral("Druck der derzeit aktiven Karteikarte .                   Eine neue "
                       "Karteikarte ist bereits angelegt.")
            .simplified(),
        invoiceOnly);
    invoiceText->setWordWrap(true);
    m_mahnung1 = Box(QStringLiteral("1. Mahnung drucken"), invoiceOnly);
    m_mahnung2 = Box(QStringLiteral("2. Mahnung drucken"), invoiceOnly);
    invoiceLayout->addWidget(invoiceText);
    invoiceLayout->addWidget(m_mahnung1);
    invoiceLayout->addWidget(m_mahnung2);
    invoiceLayout->addStretch();
    m_panels->addWidget(invoiceOnly);

    auto* kinds = new QGroupBox(QStringLiteral("Ausdruck"), this);
    auto* kindLayout = new QVBoxLayout(kinds);
    m_kartei = Box(QStringLiteral("&Karteikarte drucken"), kinds);
    m_rechnung = Box(QStringLiteral("&Rechnung drucken"), kinds);
    m_quittung = Box(QStringLiteral("&Quittung drucken"), kinds);
    m_angebot = Box(QStringLiteral("&Angebot drucken"), kinds);
    for (QCheckBox* box : {m_kartei, m_rechnung, m_quittung, m_angebot}) {
        kindLayout->addWidget(box);
    }

    auto* output = new QGroupBox(QStringLiteral("Optionen"), this);
    auto* outputLayout = new QVBoxLayout(output);
    m_alsQuittung = Box(QStringLiteral("Als &Quittung drucken"), output);
    m_leer = Box(QStringLiteral("Druck ins &Leere"), output,
                 QStringLiteral("Abschluss ohne Papierausdruck"));
    m_kopie = Box(QStringLiteral("K&opie: 2fach drucken"), output);
    m_mail = Box(QStringLiteral("Als E-Mail versenden"), output,
                 QStringLiteral("An die E-Mail-Adresse des Kunden: über den Mailprinter oder, "
                                "ohne ihn, als PDF-Datei mit dem E-Mail-Programm"));
    for (QCheckBox* box : {m_alsQuittung, m_leer, m_kopie, m_mail}) {
        outputLayout->addWidget(box);
    }

    m_druckDatumLabel = new QLabel(this);
    // The caption changes with the kind; room for the longest keeps the field in place.
    m_druckDatumLabel->setMinimumWidth(m_druckDatumLabel->fontMetrics().horizontalAdvance(
                                           QStringLiteral("Druckdatum der Karteikarte")) +
                                       8);
    m_druckDatum = new QLineEdit(this);
    m_druckDatum->setMaxLength(10);
    m_druckDatumLabel->setBuddy(m_druckDatum);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_druckDatumLabel);
    dateRow->addWidget(m_druckDatum);
    dateRow->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);

    auto* columns = new QHBoxLayout;
    columns->addWidget(kinds);
    columns->addWidget(output);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panels);
    layout->addLayout(columns);
    layout->addLayout(dateRow);
    layout->addWidget(buttons);

    const std::pair<QCheckBox*, PrintKind> kindBoxes[] = {
        {m_kartei, PrintKind::Card},        {m_rechnung, PrintKind::Invoice},
        {m_quittung, PrintKind::Receipt},   {m_angebot, PrintKind::Quote},
        {m_mahnung1, PrintKind::Reminder1}, {m_mahnung2, PrintKind::Reminder2}};
    for (const auto& [box, kind] : kindBoxes) {
        connect(box, &QCheckBox::clicked, this, [this, kind = kind] { SelectKind(kind); });
    }
    connect(m_alsQuittung, &QCheckBox::clicked, this, [this](bool on) {
        m_form.SetAsReceipt(on);
        Show();
    });
    connect(m_leer, &QCheckBox::clicked, this, [this](bool on) {
        m_form.SetNoPrint(on);
        Show();
    });
    connect(m_kopie, &QCheckBox::clicked, this, [this](bool on) { m_form.ClickCopy(on); });
    connect(m_mail, &QCheckBox::clicked, this, [this](bool on) {
        m_form.SetMail(on);
        Show();
    });
    connect(m_druckDatum, &QLineEdit::editingFinished, this, [this] {
        if (m_druckDatum->isReadOnly()) {
            return;
        }
        m_form.SetPrintDateText(m_druckDatum->text());
        m_form.LeavePrintDate();
        m_druckDatum->setText(m_form.PrintDate().text);
    });
    connect(m_bisDatum, &QLineEdit::editingFinished, this, [this] {
        m_form.SetToDateText(m_bisDatum->text());
        m_form.LeaveToDate();
        m_bisDatum->setText(m_form.ToDate().text);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &TKarteiRechnDruckDlg::Confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_form.Cancel();
        reject();
    });
}

QCheckBox* TKarteiRechnDruckDlg::KindBox(PrintKind kind) const
{
    switch (kind) {
        case PrintKind::Card:
            return m_kartei;
        case PrintKind::Invoice:
            return m_rechnung;
        case PrintKind::Receipt:
            return m_quittung;
        case PrintKind::Quote:
            return m_angebot;
        case PrintKind::Reminder1:
            return m_mahnung1;
        case PrintKind::Reminder2:
            break;
    }
    return m_mahnung2;
}

void TKarteiRechnDruckDlg::Show()
{
    m_panels->setCurrentIndex(m_form.Panel() == card::PrintPanel::Closing ? 0 : 1);
    for (PrintKind kind : {PrintKind::Card, PrintKind::Invoice, PrintKind::Receipt,
                           PrintKind::Quote, PrintKind::Reminder1, PrintKind::Reminder2}) {
        Apply(KindBox(kind), m_form.KindBox(kind));
    }
    m_mahnung1->setToolTip(m_form.ReminderHint());
    m_mahnung2->setToolTip(m_form.ReminderHint());
    Apply(m_alsQuittung, m_form.AsReceiptBox());
    Apply(m_leer, m_form.NoPrintBox());
    Apply(m_kopie, m_form.CopyBox());
    Apply(m_mail, m_form.MailBox());
    m_druckDatumLabel->setText(m_form.PrintDateLabel());
    Apply(m_druckDatum, m_form.PrintDate());
    Apply(m_bisDatum, m_form.ToDate());
    m_bisLabel->setVisible(m_form.ToDate().visible);
}

void TKarteiRechnDruckDlg::SelectKind(PrintKind kind)
{
    m_form.SelectKind(kind);
    Show();
    Finish();
}

void TKarteiRechnDruckDlg::Finish()
{
    if (m_form.Outcome() == TKarteiRechnDruckDlgForm::Result::Ok) {
        accept();
    } else if (m_form.Outcome() == TKarteiRechnDruckDlgForm::Result::Cancelled) {
        reject();
    }
}

void TKarteiRechnDruckDlg::Confirm()
{
    m_form.SetPrintDateText(m_druckDatum->text());
    m_form.SetToDateText(m_bisDatum->text());
    const bool ok = m_form.Confirm();
    Show();
    if (ok) {
        accept();
        return;
    }
    if (m_form.Focus() == TKarteiRechnDruckDlgForm::Field::ToDate) {
        m_bisDatum->setFocus();
        m_bisDatum->selectAll();
    } else {
        m_druckDatum->setFocus();
        m_druckDatum->selectAll();
    }
}
