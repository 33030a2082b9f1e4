#include "cards/TKarteiRechnDruckDlgForm.h"

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/UserPort.h"

namespace card {

namespace {

QDate ParseDate(const QString& text)
{
    QDate date;
    return dates::TryParse(text, &date) ? date : QDate();
}

int Index(PrintKind kind)
{
    return static_cast<int>(kind);
}

}  // namespace

TKarteiRechnDruckDlgForm::TKarteiRechnDruckDlgForm(UserPort& port, const Clock& clock,
                                                   KeyValueSettings* options)
    : m_port(port), m_clock(clock), m_options(options)
{
}

bool TKarteiRechnDruckDlgForm::IsInvoiced() const
{
    return ParseDate(m_setup.invoiceDate).isValid();
}

bool TKarteiRechnDruckDlgForm::ClosingKind() const
{
    return m_kind == PrintKind::Invoice || m_kind == PrintKind::Receipt ||
           m_kind == PrintKind::Quote;
}

bool TKarteiRechnDruckDlgForm::RemindersAllowed() const
{
    const QString open = m_setup.openAmount.trimmed();
    return m_setup.remindersAvailable && IsInvoiced() && !open.isEmpty() &&
           open != QStringLiteral("0,00") && open != kUnset;
}

QString TKarteiRechnDruckDlgForm::ReminderHint() const
{
    return m_setup.remindersAvailable
               ? QString()
               : QStringLiteral("Mahnungen werden in dieser Version noch nicht gedruckt.");
}

void TKarteiRechnDruckDlgForm::Open(const CardPrintSetup& setup)
{
    m_setup = setup;
    m_result = Result::Open;
    m_focus = Field::None;
    for (ControlState& box : m_kinds) {
        box = ControlState{};
    }

    bool copy = setup.copyDefault;
    if (setup.karteiWorkspace && m_options) {
        QString stored;
        copy = m_options->Read(kCopyOptionSection, kCopyOptionSection, &stored) &&
               stored == QStringLiteral("TRUE");
    }
    m_copy = {true, true, copy};
    m_asReceipt = ControlState{};
    m_noPrint = ControlState{};
    m_mail = {true, (setup.mailPrinterConfigured || setup.mailProgram) && setup.customerHasEmail,
              false};
    m_printDate = DateField{};
    m_toDate = DateField{};

    const bool invoiced = IsInvoiced();
    m_kinds[Index(PrintKind::Quote)].enabled = !invoiced;
    if (setup.cardNumber >= setup.storedCurrentNumber && !invoiced) {
        m_panel = PrintPanel::Closing;
        const int last = ReferenceRow(setup.rows);
        m_toDate.text =
            last >= 0 ? dates::Format(ParseDate(setup.rows[last].Cell(kColDate))) : QString();
    } else {
        m_panel = PrintPanel::InvoiceOnly;
    }
    const bool reminders = m_panel == PrintPanel::InvoiceOnly && invoiced;
    m_kinds[Index(PrintKind::Reminder1)].visible = reminders;
    m_kinds[Index(PrintKind::Reminder2)].visible = reminders;

    m_kind = PrintKind::Invoice;
    ApplyKind();
}

void TKarteiRechnDruckDlgForm::ApplyKind()
{
    for (int i = 0; i < 6; ++i) {
        m_kinds[i].checked = i == Index(m_kind);
    }
    const QString today = dates::Format(m_clock.Today());
    const bool remindersOn = RemindersAllowed();
    switch (m_kind) {
        case PrintKind::Invoice:
        case PrintKind::Receipt:
            m_toDate.visible = m_panel == PrintPanel::Closing;
            m_toDate.readOnly = false;
            m_printDate.readOnly = false;
            m_asReceipt.enabled = true;
            m_noPrint.enabled = true;
            m_printDate.text = IsInvoiced() ? dates::Format(ParseDate(m_setup.invoiceDate)) : today;
            if (m_kind == PrintKind::Receipt) {
                m_asReceipt.checked = true;
            }
            break;
        case PrintKind::Card:
        case PrintKind::Quote:
            m_printDate.text = today;
            m_printDate.readOnly = m_kind == PrintKind::Card;
            m_toDate.visible = false;
            m_asReceipt = {true, false, false};
            m_noPrint = {true, false, false};
            break;
        case PrintKind::Reminder1:
        case PrintKind::Reminder2:
            m_printDate.text = today;
            m_printDate.readOnly = true;
            m_toDate.readOnly = true;
            m_toDate.visible = false;
            m_asReceipt = {true, false, false};
            m_noPrint = {true, false, false};
            break;
    }
    // The open amount rule holds for every kind: choosing an invoice must not offer
    // reminders on a paid card.
    const bool allowed = remindersOn && m_kind != PrintKind::Card && m_kind != PrintKind::Quote;
    m_kinds[Index(PrintKind::Reminder1)].enabled = allowed;
    m_kinds[Index(PrintKind::Reminder2)].enabled = allowed;
}

QString TKarteiRechnDruckDlgForm::PrintDateLabel() const
{
    switch (m_kind) {
        case PrintKind::Card:
            return QStringLiteral("&Druckdatum der Karteikarte");
        case PrintKind::Quote:
            return QStringLiteral("&Druckdatum des Angebots");
        case PrintKind::Receipt:
            return QStringLiteral("&Druckdatum der Quittung");
        case PrintKind::Reminder1:
        case PrintKind::Reminder2:
            return QStringLiteral("&Druckdatum der Mahnung");
        case PrintKind::Invoice:
            break;
    }
    return QStringLiteral("&Druckdatum der Rechnung");
}

void TKarteiRechnDruckDlgForm::SelectKind(PrintKind kind)
{
    const ControlState& box = m_kinds[Index(kind)];
    if (!box.visible || !box.enabled) {
        return;
    }
    m_kind = kind;
    ApplyKind();
    if (kind == PrintKind::Reminder1 || kind == PrintKind::Reminder2) {
        m_result = ReminderTermCheck() ? m_result : Result::Cancelled;
    }
}

bool TKarteiRechnDruckDlgForm::ReminderTermCheck()
{
    const QDate today = m_clock.Today();
    const QDate invoiceDate = ParseDate(m_setup.invoiceDate);
    QString question;
    if (m_kind == PrintKind::Reminder1) {
        if (today < invoiceDate.addDays(m_setup.invoiceTermDays)) {
            question = QStringLiteral(
                "Zahlungsziel noch nicht überschritten.\rSoll die 1.Mahnung gedruckt werden?");
        }
    } else {
        const QDate first = ParseDate(m_setup.reminder1Date);
        if (!first.isValid()) {
            question = QStringLiteral(
                "1.Mahnung noch nicht gedruckt!\rSoll die 2.Mahnung gedruckt werden?");
        } else if (today <
                   invoiceDate.addDays(m_setup.invoiceTermDays + m_setup.reminder1TermDays)) {
            question = QStringLiteral(
                "Mahnstatus 1 nicht überschritten.\rSoll die 2.Mahnung gedruckt werden?");
        }
    }
    if (question.isEmpty()) {
        return true;
    }
    if (m_port.Message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes) {
        return false;
    }
    m_result = Result::Ok;
    return true;
}

void TKarteiRechnDruckDlgForm::SetAsReceipt(bool on)
{
    if (m_asReceipt.enabled) {
        m_asReceipt.checked = on;
    }
}

void TKarteiRechnDruckDlgForm::SetNoPrint(bool on)
{
    if (m_noPrint.enabled) {
        m_noPrint.checked = on;
    }
}

void TKarteiRechnDruckDlgForm::ClickCopy(bool on)
{
    m_copy.checked = on;
    if (m_options) {
        m_options->Write(kCopyOptionSection, kCopyOptionSection,
                         on ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    }
}

void TKarteiRechnDruckDlgForm::SetMail(bool on)
{
    if (m_mail.enabled) {
        m_mail.checked = on;
    }
}

QString TKarteiRechnDruckDlgForm::NormalizeTyped(const QString& text)
{
    QString dotted = text;
    dotted.replace(QLatin1Char(','), QLatin1Char('.'));
    const QString normal = dates::Normalize(dotted);
    return normal.isEmpty() ? dotted : normal;
}

void TKarteiRechnDruckDlgForm::LeavePrintDate()
{
    m_printDate.text = NormalizeTyped(m_printDate.text);
    const QDate date = ParseDate(m_printDate.text);
    if (date.isValid() && date > m_clock.Today()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Druckdatum liegt in der Zukunft !"));
        m_printDate.text.clear();
    }
}

void TKarteiRechnDruckDlgForm::LeaveToDate()
{
    m_toDate.text = NormalizeTyped(m_toDate.text);
}

int TKarteiRechnDruckDlgForm::ReferenceRow(const Rows& rows, const QDate& limit)
{
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i) {
        const QDate date = ParseDate(rows[i].Cell(kColDate));
        if (date.isValid() && (!limit.isValid() || date <= limit)) {
            return i;
        }
    }
    return -1;
}

bool TKarteiRechnDruckDlgForm::Confirm()
{
    const auto fail = [this](const QString& text, Field field) {
        m_port.Message(MsgKind::Error, text);
        m_focus = field;
        return false;
    };
    const QDate printDate = ParseDate(m_printDate.text);
    if (!printDate.isValid()) {
        return fail(QStringLiteral("Fehler: Druckdatum ungültig!"), Field::PrintDate);
    }
    const bool closing = m_panel == PrintPanel::Closing;
    const QDate toDate = ParseDate(m_toDate.text);
    if (closing && m_kind == PrintKind::Invoice && !m_asReceipt.checked && !toDate.isValid()) {
        return fail(QStringLiteral("Fehler: Datum des Behandlungszeitraums ungültig!"),
                    Field::ToDate);
    }
    if (printDate > m_clock.Today()) {
        m_printDate.text = dates::Format(m_clock.Today());
        return fail(QStringLiteral("Druckdatum liegt in der Zukunft!"), Field::PrintDate);
    }
    // Only the kinds that close cut the card at the "to" date.
    const bool limited = closing && ClosingKind() && toDate.isValid();
    const int ref = ReferenceRow(m_setup.rows, limited ? toDate : QDate());
    if (ref >= 0 && printDate < ParseDate(m_setup.rows[ref].Cell(kColDate))) {
        return fail(QStringLiteral("Fehler: Druckdatum vor letzter Behandlung!"), Field::PrintDate);
    }
    if (ref < 0 && closing) {
        return fail(QStringLiteral("Fehler: Umbruch-Datum falsch!"), Field::ToDate);
    }
    m_focus = Field::None;
    m_result = Result::Ok;
    return true;
}

CardPrintChoice TKarteiRechnDruckDlgForm::Choice() const
{
    CardPrintChoice choice;
    choice.kind = m_kind;
    choice.asReceipt =
        m_asReceipt.checked && (m_kind == PrintKind::Invoice || m_kind == PrintKind::Receipt);
    choice.noPrint = m_noPrint.checked;
    choice.copy = m_copy.checked;
    choice.mail = m_mail.checked && m_mail.enabled;
    choice.printDate = ParseDate(m_printDate.text);
    if (m_panel == PrintPanel::Closing) {
        choice.toDate = ParseDate(m_toDate.text);
    }
    return choice;
}

}  // namespace card
