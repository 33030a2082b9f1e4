#include "dunning/Reminder.h"

#include <QDir>
#include <QFileInfo>

#include "cards/CardRegisters.h"
#include "cards/CardWorkspace.h"
#include "common/Clock.h"
#include "common/CodePage.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/GiroCode.h"
#include "printing/LayoutStore.h"
#include "printing/Letterhead.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintStrList.h"
#include "table/RecordLine.h"
#include "texts/LetterHead.h"

using card::CardState;
using card::kSumDate1;
using card::kSumDate2;
using card::kSumFee1;
using card::kSumFee2;
using card::kUnset;

namespace dunning {

using enum recordline::CustomerColumn;

namespace {

const QString kOptionen = QStringLiteral("Optionen");

QString Read(const KeyValueSettings& options, const char* key, const QString& fallback)
{
    QString value = fallback;
    options.Read(kOptionen, QLatin1String(key), &value);
    return value;
}

int DateLine(int level)
{
    return level == 1 ? kSumDate1 : kSumDate2;
}

int FeeLine(int level)
{
    return level == 1 ? kSumFee1 : kSumFee2;
}

bool IsEuro(const QString& currency)
{
    return !currency.startsWith(QLatin1Char('D'), Qt::CaseInsensitive);
}

}  // namespace

DunningOptions DunningOptionsFrom(const KeyValueSettings& options)
{
    DunningOptions o;
    o.fee1 = Read(options, "MaGeb1Edit", o.fee1);
    o.fee2 = Read(options, "MaGeb2Edit", o.fee2);
    o.invoiceTerm = Read(options, "ZzRechEdit", o.invoiceTerm);
    o.term1 = Read(options, "ZzMa1Edit", o.term1);
    o.term2 = Read(options, "ZzMa2Edit", o.term2);
    o.title1 = Read(options, "UebMa1Edit", QString());
    o.title2 = Read(options, "UebMa2Edit", QString());
    o.bothCurrencies = Read(options, "PreisAuszChk", QStringLiteral("FALSE")) == "TRUE";
    o.currency = Read(options, "EuroChk", QStringLiteral("TRUE")) == "FALSE"
                     ? QStringLiteral("DM")
                     : QStringLiteral("Euro");
    long double rate = 0;
    if (TryStrToFloat(Read(options, "DmEdit", QStringLiteral("1,95583")), &rate) && rate > 0)
        o.dmRate = rate;
    return o;
}

bool ReminderFee(const DunningOptions& options, int level, const QString& cardCurrency,
                 long double* fee)
{
    long double value = 0;
    if (!TryStrToFloat(level == 1 ? options.fee1 : options.fee2, &value))
        return false;
    if (IsEuro(cardCurrency) != IsEuro(options.currency))
        value = IsEuro(cardCurrency) ? value / options.dmRate : value * options.dmRate;
    *fee = value;
    return true;
}

QString ReminderTextName(int level)
{
    return level == 1 ? QStringLiteral("MAHNUNG1.TLV") : QStringLiteral("MAHNUNG2.TLV");
}

bool ReminderValuesFor(const CardState& state, int level, const DunningOptions& options,
                       ReminderValues* values)
{
    const QStringList& summary = state.summary;
    if (summary.size() < card::kFixedSummaryLines)
        return false;
    QDate invoiceDate;
    long double open = 0;
    if (!dates::TryParse(state.invoiceDate, &invoiceDate) ||
        !TryStrToFloat(state.openAmountExact, &open))
        return false;

    long double fees = 0;
    const auto addFee = [&](int line) {
        long double fee = 0;
        if (!TryStrToFloat(summary[line], &fee))
            return false;
        fees += fee;
        return true;
    };
    if (state.reminder1 && !addFee(kSumFee1))
        return false;
    if (level == 2 && state.reminder2 && !addFee(kSumFee2))
        return false;
    if (fees > -0.01L && fees < 0.01L)
        fees = 0;

    QDate reminderDate;
    int term = 0;
    values->due = QString(13, QLatin1Char(' '));
    if (dates::TryParse(summary[DateLine(level)], &reminderDate) &&
        TryStrToInt(level == 1 ? options.term1 : options.term2, &term))
        values->due = dates::Format(reminderDate.addDays(term));
    values->invoiceDate = dates::Format(invoiceDate);

    const bool euro = IsEuro(state.currency);
    values->open = FormatFloat(QStringLiteral("0.00"), open) + QLatin1Char(' ') + state.currency;
    if (options.bothCurrencies) {
        const long double other = euro ? open * options.dmRate : open / options.dmRate;
        values->open += (euro ? QStringLiteral("  ( DM ") : QStringLiteral("  ( Euro ")) +
                        FormatFloat(QStringLiteral("0.00"), other) + QStringLiteral(" )");
    }
    values->payable = open;
    values->fees = FormatFloat(QStringLiteral("0.00"), fees) +
                   (euro ? QStringLiteral(" Euro") : QStringLiteral(" DM"));
    return true;
}

QStringList FillReminderText(QStringList lines, const ReminderValues& values)
{
    if (!lines.isEmpty() && tlvheader::IsHeaderLine(lines.first()))
        lines.removeFirst();
    const std::pair<QString, QString> placeholders[] = {{QStringLiteral("FFF"), values.due},
                                                        {QStringLiteral("DDD"), values.invoiceDate},
                                                        {QStringLiteral("BBB"), values.open},
                                                        {QStringLiteral("MMM"), values.fees}};
    for (QString& line : lines) {
        for (const auto& [placeholder, text] : placeholders) {
            const qsizetype at = line.indexOf(placeholder);
            if (at >= 0)
                line.replace(at, placeholder.size(), text);
        }
    }
    return lines;
}

QString ReminderDocumentName(int level, const QString& cardKey)
{
    return QString::number(level) + QStringLiteral(". Mahnung ") + cardKey;
}

void Rederive(CardState& state)
{
    ApplyHeader(BuildHeader(state), state);
}

CardDunning::CardDunning(card::CardWorkspace& workspace, UserPort& port, const Clock& clock,
                         const card::ClosePrinters& printers)
    : m_ws(workspace), m_port(port), m_clock(clock), m_printers(printers)
{
}

IssueOutcome CardDunning::IssueReminder(int level, bool batch, bool copy, bool mail)
{
    card::CardEntryForm& form = m_ws.Form();
    CardState& state = form.State();
    if (!state.IsInvoiced()) {
        // A released card has its boxes enabled again; a click on one must say why nothing
        // is printed.
        m_port.Message(MsgKind::Information, kNotInvoiced);
        return IssueOutcome::NotIssued;
    }
    if (level == 1 && state.reminder2) {
        m_port.Message(MsgKind::Information, kReminder1Blocked);
        return IssueOutcome::NotIssued;
    }
    const card::CardWorkspace::Snapshot before = m_ws.TakeSnapshot();
    const bool wasModified = form.IsModified();
    const auto restore = [&] {
        m_ws.Restore(before);
        form.SetModified(wasModified);
    };

    card::PadSummary(state.summary);
    const DunningOptions options = DunningOptionsFrom(m_ws.Options());
    long double fee = 0;
    if (!ReminderFee(options, level, state.currency, &fee)) {
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Mahngebühr in den Systemoptionen ungültig!"));
        fee = 0;
    }

    const bool first = batch || state.summary[DateLine(level)] == kUnset;
    if (!first) {
        const QString question =
            QStringLiteral("Soll die %1.Mahnung erneut gedruckt werden?").arg(level);
        if (m_port.Message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes) {
            restore();
            return IssueOutcome::NotIssued;
        }
    } else {
        long double open = 0;
        TryStrToFloat(state.openAmountExact, &open);
        state.openAmountExact = FormatFloat(QStringLiteral("0.00000"), open + fee);
    }
    state.summary[FeeLine(level)] = FormatFloat(QStringLiteral("0.00000"), fee);
    state.summary[DateLine(level)] = dates::Format(m_clock.Today());
    (level == 1 ? state.reminder1 : state.reminder2) = true;
    Rederive(state);

    // The fee is charged only with the letter that announces it.
    bool printerFailed = false;
    if (!PrintReminder(level, copy, mail, &printerFailed)) {
        restore();
        if (printerFailed)
            m_port.Message(MsgKind::Error, card::kPrintFailedText);
        return printerFailed ? IssueOutcome::PrintFailed : IssueOutcome::NotIssued;
    }
    form.SetModified(true);
    m_ws.SaveRecordCard();
    return IssueOutcome::Issued;
}

bool CardDunning::ComposeReminder(int level, ReminderLetter* letter)
{
    const CardState& state = m_ws.Form().State();
    if (state.summary.size() < card::kFixedSummaryLines)
        return false;
    const QString folder = QDir(m_ws.DataFolder()).filePath(QStringLiteral("Texte"));
    const QString name = ReminderTextName(level);
    const QString path = files::FindCaseInsensitive(folder, name);
    QStringList text;
    if (!QFileInfo(path).isFile() || !cp1252::ReadLines(path, text)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim lesen von ") + name);
        return false;
    }
    const DunningOptions options = DunningOptionsFrom(m_ws.Options());
    ReminderValues values;
    if (!ReminderValuesFor(state, level, options, &values)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler im System!"));
        return false;
    }
    letter->lines = FillReminderText(text, values);

    LetterSlotsInput in;
    const bool pharmacy = card::UsesPharmacyLetterhead(
        card::IsDispensingCustomer(m_ws.CustomerValue(kCustRemark)), [&] {
            QString name2;
            m_ws.Options().Read(QStringLiteral("Optionen"), QStringLiteral("NameEdit2"), &name2);
            return name2;
        }());
    in.business = BusinessFromOptions(m_ws.Options(), pharmacy);
    in.addressee = {
        m_ws.CustomerValue(kCustSalutation),
        AddresseeNameLine(m_ws.CustomerValue(kCustFirstName), m_ws.CustomerValue(kCustName)),
        m_ws.CustomerValue(kCustStreet), m_ws.CustomerValue(kCustTown)};
    in.subject = level == 1 ? options.title1 : options.title2;
    letter->letterhead = LetterSlots(in);
    letter->date = state.summary[DateLine(level)];
    QString compact = state.key;
    compact.remove(QLatin1Char('/'));
    letter->title = QStringLiteral("Talven - %1. Mahnung ").arg(level) + compact;
    letter->mailName = ReminderDocumentName(level, state.key);
    // The code asks for the open amount, which holds the fees charged so far.
    const auto transfer =
        girocode::TransferFor(in.business, girocode::Enabled(m_ws.Options()), state.currency,
                              values.payable, state.key, values.invoiceDate);
    if (transfer) {
        letter->payCodeText = girocode::Payload(*transfer);
        letter->payCode = girocode::Encode(letter->payCodeText);
    }
    return true;
}

bool CardDunning::PrintReminder(int level, bool copy, bool mail, bool* printerFailed)
{
    ReminderLetter letter;
    if (!ComposeReminder(level, &letter))
        return false;
    if (!m_printers.canvas)
        return true;

    TPrintStrList printer(*m_printers.canvas, m_port);
    MemoryLayoutStore defaults;
    TMemoSeiteEinrichtenDlgForm layout(m_printers.layout ? *m_printers.layout : defaults);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::RecordCard);
    layout.ApplyToLetter(printer);
    printer.PrintMgrTitle = letter.title;
    printer.Kopf = letter.letterhead;
    printer.DateLabel = letter.date;
    printer.StringList = letter.lines;
    printer.PayCode = letter.payCode;

    const QString address = m_ws.CustomerValue(kCustMail).trimmed();
    const auto select = [this](const QString& name) {
        if (m_printers.selectPrinter)
            m_printers.selectPrinter(name);
    };
    bool printed = false;
    if (mail && !address.isEmpty() && m_printers.mailPrinter.isEmpty() && m_printers.mailProgram) {
        printed = card::PrintAndHandToMail(m_printers, m_port, address, letter.mailName,
                                           [&] { return printer.Print(); });
        printed = printed && (!copy || printer.Print());
    } else if (mail && !address.isEmpty() && !m_printers.mailPrinter.isEmpty()) {
        select(m_printers.mailPrinter);
        printed =
            printer.Print(card::MailControlText(m_printers.mailCodes, address, letter.mailName));
        select(m_printers.standardPrinter);
        printed = printed && (!copy || printer.Print());
    } else {
        printed = printer.Print() && (!copy || printer.Print());
    }
    if (printerFailed)
        *printerFailed = !printed;
    return printed;
}

bool CardDunning::ReleaseCard(bool gobdRestrictions)
{
    card::CardEntryForm& form = m_ws.Form();
    CardState& state = form.State();
    if (!card::MayRelease(state, gobdRestrictions))
        return false;
    const QString question = gobdRestrictions
                                 ? QStringLiteral(
                                       "  Beim Freigeben wird das Rechnungsdatum gelöscht !\r"
                                       "  Die Karteikarte wird in des Status vor dem\r"
                                       "  Rechnungsdruck zurückversetzt.\r\r"
                                       "  Soll die Karteikarte wirklich freigegeben werden ?")
                                 : QStringLiteral(
                                       "  Beim Freigeben werden folgende Infos gelöscht:\r"
                                       "  Rechnungsdatum, Mahnungsdaten und alle\r"
                                       "  automatisch gebuchten Zahlungen !!!\r\r"
                                       "  Soll die Karteikarte wirklich freigegeben werden ?");
    if (m_port.Message(MsgKind::Warning, question, Buttons::YesNo) != Answer::Yes)
        return false;
    m_ws.SetReleasing(true);
    state.invoiceDate = kUnset;
    state.openAmountExact = kUnset;
    state.openAmount = kUnset;
    state.reminder1 = false;
    state.reminder2 = false;
    card::PadSummary(state.summary);
    state.summary = state.summary.mid(0, card::kSumFirstPayment);
    for (int line = kSumFee1; line <= kSumDate2; ++line)
        state.summary[line] = kUnset;
    Rederive(state);
    // The open card has no amount yet, which would disable the boxes: they are cleared and
    // ready for the next invoice.
    state.remindersEnabled = true;
    form.SetModified(true);
    return true;
}

}  // namespace dunning
