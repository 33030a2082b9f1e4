#include "cards/CardCloseRun.h"

#include <QDir>
#include <QFile>

#include "cards/CardWorkspace.h"
#include "cards/TBezDlgForm.h"
#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/GiroCode.h"
#include "printing/LayoutStore.h"
#include "printing/MailHandOff.h"
#include "printing/PageLayout.h"
#include "printing/PrinterList.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintGrid2.h"
#include "settings/OptionSections.h"
#include "table/TSGrid.h"

namespace card {

namespace {

const QString kOptionen = QStringLiteral("Optionen");

QString Code(const QHash<QString, QString>& codes, const char* key)
{
    return codes.value(QLatin1String(key));
}

bool HasValidDate(const Rows& rows)
{
    for (const Row& row : rows) {
        QDate date;
        if (dates::TryParse(row.Cell(kColDate), &date))
            return true;
    }
    return false;
}

bool HasAmount(const Rows& rows)
{
    for (const Row& row : rows) {
        long double amount = 0;
        if (TryStrToFloat(row.Cell(kColAmount), &amount))
            return true;
    }
    return false;
}

// The document table: date, text, rate, amount; the titles in row 0.
void FillDocumentGrid(TSGrid& grid, const std::vector<PrintLine>& lines, const QStringList& titles)
{
    grid.SetColCount(5);
    QStringList records;
    for (const PrintLine& line : lines) {
        records << recordline::Join({line.date, line.text, line.vat, line.amount});
    }
    grid.SetLines(records);
    grid.SetTitles(QStringList{QString()} + titles);
}

// The fixed four columns of invoices and record cards, in the record card page layout.
void SetUpDocument(TPrintGrid2& printer, TSGrid& grid, const TMemoSeiteEinrichtenDlgForm& layout)
{
    layout.ApplyTo(printer);
    printer.AttachDocumentGrid(&grid);
}

// Cuts a remark to the width with " ..." when it does not fit.
QString Shortened(PrintCanvas& canvas, const QString& text, int width)
{
    if (width <= 0 || canvas.TextWidth(text) <= width)
        return text;
    const QString dots = QStringLiteral(" ...");
    QString cut = text;
    while (!cut.isEmpty() && canvas.TextWidth(cut + dots) > width)
        cut.chop(1);
    return cut + dots;
}

}  // namespace

QString MailControlText(const QHash<QString, QString>& codes, const QString& address,
                        const QString& documentName)
{
    const QString end = Code(codes, "MailPrEndCode");
    return Code(codes, "MailPrAdrUeberg") + address + end + Code(codes, "MailPrPDFNameSave") +
           documentName + end + Code(codes, "MailPrPDFNameSend") + documentName + end +
           Code(codes, "MailPrBetreff") + end + Code(codes, "MailPrBodyDatei") + end +
           Code(codes, "MailPrClientAct") + end;
}

QStringList DocumentTextsFromOptions(const KeyValueSettings& options)
{
    QStringList texts;
    QString value;
    while (texts.size() < 12 && options.Read(QStringLiteral("Dokumente"),
                                             QStringLiteral("D%1").arg(texts.size()), &value)) {
        texts << MendedDocumentText(texts.size(), value);
    }
    const QStringList defaults = DefaultDocumentTexts();
    const qsizetype held = texts.size();
    if (held >= 9 && held <= 11) {
        // Older files knew the quote only by its last foot text.
        texts = texts.mid(0, 8) + defaults.mid(8, 3) + texts.mid(8);
    }
    while (texts.size() < defaults.size())
        texts << defaults[texts.size()];
    return texts.mid(0, 12);
}

QStringList CardPrintCaptions(const CardState& state)
{
    const QString text = state.IsDispensing()
                             ? QStringLiteral("Abgabemedikamente")
                             : QStringLiteral("Behandlung (Tier, Medikament, Leistung)");
    return {QStringLiteral("Datum"), text + QStringLiteral(" / ") + QStringLiteral(" Bemerkung"),
            QStringLiteral("USt(%)"), state.amountMode};
}

CardCloseRun::CardCloseRun(CardWorkspace& workspace, UserPort& port, const Clock& clock,
                           const ClosePrinters& printers, PaymentDialogRunner& payment)
    : m_ws(workspace), m_port(port), m_clock(clock), m_printers(printers), m_payment(payment)
{
}

QString CardCloseRun::OptionValue(const QString& key, const QString& fallback) const
{
    QString value = fallback;
    m_ws.Options().Read(kOptionen, key, &value);
    return value;
}

// A term the options file does not hold yet is the 14 days the options page shows for it,
// as the reminders count it; one that cannot be read is a day.
int CardCloseRun::TermDays(const QString& key) const
{
    int days = 1;
    return TryStrToInt(OptionValue(key, QStringLiteral("14")), &days) ? days : 1;
}

int CardCloseRun::StoredNumber() const
{
    return m_ws.StoredCardNumber();
}

void CardCloseRun::Stop(const QString& text)
{
    m_port.Message(MsgKind::Error, text);
}

bool CardCloseRun::CheckCard()
{
    const Rows& rows = m_ws.Form().GetRows();
    if (!HasValidDate(rows)) {
        m_port.Message(
            MsgKind::Information,
            QStringLiteral("Ausdruck nocht nicht möglich:\rBitte geben Sie ein Datum ein!"));
        return false;
    }
    if (!HasAmount(rows)) {
        m_port.Message(
            MsgKind::Information,
            QStringLiteral("Ausdruck nocht nicht möglich:\rBitte geben Sie einen Betrag ein!"));
        return false;
    }
    return true;
}

bool CardCloseRun::PrinterReady(const CardPrintChoice& choice)
{
    if (choice.noPrint || !m_printers.printers)
        return true;
    return CheckPrinterReachable(*m_printers.printers, m_printers.standardPrinter, m_port);
}

CardPrintSetup CardCloseRun::Setup() const
{
    const CardState& state = m_ws.Form().State();
    CardPrintSetup setup;
    setup.cardNumber = m_ws.CardNumber();
    const int stored = StoredNumber();
    setup.storedCurrentNumber = stored < 0 ? setup.cardNumber : stored;
    setup.invoiceDate = state.invoiceDate;
    setup.openAmount = state.openAmount;
    setup.mailPrinterConfigured = !m_printers.mailPrinter.isEmpty();
    setup.mailProgram = m_printers.mailProgram != nullptr;
    setup.customerHasEmail = !m_ws.CustomerValue(kCustMail).trimmed().isEmpty();
    setup.rows = m_ws.Form().GetRows();
    setup.invoiceTermDays = TermDays(QStringLiteral("ZzRechEdit"));
    setup.reminder1TermDays = TermDays(QStringLiteral("ZzMa1Edit"));
    setup.reminder1Date = state.summary.value(kSumDate1, kUnset);
    setup.remindersAvailable = bool(issueReminder);
    return setup;
}

void CardCloseRun::PrintCommand(PrintDialogRunner& dialog)
{
    if (!CheckCard())
        return;
    TKarteiRechnDruckDlgForm form(m_port, m_clock, &m_ws.Options());
    form.Open(Setup());
    if (!dialog.Run(form) || form.Outcome() != TKarteiRechnDruckDlgForm::Result::Ok)
        return;
    const CardPrintChoice choice = form.Choice();
    switch (choice.kind) {
        case PrintKind::Card:
            PrintCard(choice);
            break;
        case PrintKind::Invoice:
        case PrintKind::Receipt:
            CloseAsInvoice(choice);
            break;
        case PrintKind::Quote:
            CloseAsQuote(choice);
            break;
        case PrintKind::Reminder1:
        case PrintKind::Reminder2:
            if (issueReminder)
                issueReminder(choice.kind == PrintKind::Reminder1 ? 1 : 2, choice.copy);
            break;
    }
}

bool CardCloseRun::PrintCard(const CardPrintChoice& choice)
{
    if (!PrinterReady(choice))
        return false;
    CardEntryForm& form = m_ws.Form();
    form.SetCalculatorMode(false);
    // The save sums the card; a line without a date there is reported by the summation and
    // stops the print below with its line number, after the card is saved all the same.
    m_ws.SaveRecordCard();
    const CardState& state = form.State();
    if (InvoiceGrossNegative(state)) {
        Stop(QStringLiteral("Fehler: Rechnungssumme darf nicht negativ sein!"));
        return false;
    }
    if (choice.noPrint || !m_printers.canvas)
        return true;

    PrintCanvas& canvas = *m_printers.canvas;
    MemoryLayoutStore defaults;
    TMemoSeiteEinrichtenDlgForm layout(m_printers.layout ? *m_printers.layout : defaults);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::RecordCard);
    TSGrid grid(m_port);
    FillDocumentGrid(grid, {}, CardPrintCaptions(state));
    TPrintGrid2 printer(canvas, m_port, m_clock);
    SetUpDocument(printer, grid, layout);
    printer.PrintMgrTitle = CardPrintJobTitle(state.key);

    const int width = printer.DescriptionColumnWidth();
    canvas.SetFont(printer.LinesFont);
    // The empty rows at the end of the card print nothing.
    Rows rows = form.GetRows();
    while (!rows.empty() && rows.back().IsEmpty())
        rows.pop_back();
    const CardPrint print = BuildCardPrint(rows, m_ws.Settings(), [&](const QString& remark) {
        return Shortened(canvas, remark, width);
    });
    if (!print.ok) {
        Stop(print.error);
        return false;
    }
    FillDocumentGrid(grid, print.lines, CardPrintCaptions(state));
    printer.Title = CardPrintTitles(state);
    printer.DateLabel =
        dates::Format(choice.printDate.isValid() ? choice.printDate : m_clock.Today());
    if (!printer.Print() || (choice.copy && !printer.Print())) {
        Stop(QStringLiteral("Der Druck konnte nicht ausgeführt werden."));
        return false;
    }
    return true;
}

bool CardCloseRun::CloseAsInvoice(const CardPrintChoice& choice)
{
    const bool receipt = choice.kind == PrintKind::Receipt || choice.asReceipt;
    return Close(receipt ? CloseKind::Receipt : CloseKind::Invoice, choice);
}

bool CardCloseRun::CloseAsQuote(const CardPrintChoice& choice)
{
    return Close(CloseKind::Quote, choice);
}

bool CardCloseRun::Close(CloseKind kind, const CardPrintChoice& choice)
{
    m_printFailed = false;
    if (!PrinterReady(choice))
        return false;
    CardEntryForm& form = m_ws.Form();
    form.SetCalculatorMode(false);
    const QString key = form.State().key;
    const QString customer = m_ws.CustomerValue(kCustNumber);
    const int shown = m_ws.CardNumber();
    const int stored = StoredNumber();
    const QString folder = m_ws.DataFolder();
    const int current =
        RepairedCurrentNumber(shown, stored, [&](int k) { return Exists(folder, customer, k); });
    if (current != stored)
        m_ws.StoreCurrentNumber(current);

    const bool real = IsRealClose(shown, current, form.State().IsInvoiced());
    if (real) {
        if (!batch && m_port.Message(MsgKind::Confirmation, CloseQuestion(kind, choice.noPrint),
                                     Buttons::OkCancel) != Answer::Ok)
            return false;
        if (!choice.toDate.isValid()) {
            Stop(InvalidToDateText(key, kind));
            return false;
        }
        if (form.State().IsGross() && !batch)
            form.SwitchNetGross();
    }
    // A summation stopped by a line without a date leaves the sums of before: nothing may
    // be printed or closed with them.
    if (!form.Sum(real ? choice.toDate : QDate()).ok) {
        Stop(NoDateText(key, kind));
        return false;
    }

    // A stop from here on leaves the card as the summation left it.
    // A payment taken for this close goes with it.
    const CardWorkspace::Snapshot summed = m_ws.TakeSnapshot();
    const auto restore = [&] { m_ws.Restore(summed); };
    if (InvoiceGrossNegative(form.State())) {
        Stop(NegativeSumText(key, kind));
        return false;
    }
    const PrintCopy copy = BuildPrintCopy(form.GetRows(), form.State(), m_ws.Settings(),
                                          real ? choice.toDate : QDate());
    if (!copy.ok) {
        Stop(NoDateText(key, kind));
        return false;
    }
    // The lines for the next card go aside before a receipt's payment, which sums the
    // card again without a limit: it must split only what this invoice holds.
    Rows carried;
    if (real)
        carried = CutForNextCard(form.GetRows(), copy.cutRow);

    if (kind == CloseKind::Receipt && PrepareReceiptPayment(form.State())) {
        m_ws.Options().Write(kPaymentModeSection, kPaymentModeKey, QStringLiteral("bar"));
        if (!m_ws.EnterPayment(m_payment)) {
            restore();
            Stop(kReceiptPaymentCancelled);
            return false;
        }
    }

    // A document the printer did not produce must not close the card: the invoice would
    // be booked and dunned without the customer ever getting it.
    if (!choice.noPrint && !PrintDocument(kind, choice, copy)) {
        m_printFailed = true;
        restore();
        Stop(kPrintFailedText);
        return false;
    }

    if (!real) {
        if (form.IsModified())
            m_ws.SaveRecordCard();
        form.ClearBsChanged();
        return true;
    }

    // The next card is written before the closed card replaces the open one, so the lines
    // carried over are on disk in one of the two whatever fails.
    const NextCardPlan plan = PlanNextCard(current);
    const QString nextFailed = QStringLiteral("Fehler beim Öffnen der leeren Karteikarte: ") +
                               FileName(customer, plan.number);
    const bool nextExisted = Exists(folder, customer, plan.number);
    if (!m_ws.WriteNextCard(plan.number, carried)) {
        restore();
        Stop(nextFailed);
        return false;
    }

    if (kind == CloseKind::Quote)
        MarkAsQuote(form.GetRows(), choice.printDate, inventoryAutomatic);
    else
        FreezeCard(form.State(), choice.printDate);
    if (!m_ws.SaveRecordCard()) {
        // The open card keeps its lines: the new card would hold them a second time.
        if (!nextExisted)
            QFile::remove(FilePath(folder, customer, plan.number));
        restore();
        return false;
    }

    if (!m_ws.ShowNextCard(plan.number)) {
        Stop(nextFailed);
        return false;
    }
    ApplyRetention(folder, customer, plan);
    form.ClearBsChanged();
    form.SetCalculatorMode(false);
    m_ws.SaveRecordCard();
    return true;
}

bool PrintAndHandToMail(const ClosePrinters& printers, UserPort& port, const QString& address,
                        const QString& documentName, const std::function<bool()>& print)
{
    const auto select = [&](const QString& name) {
        if (printers.selectPrinter)
            printers.selectPrinter(name);
    };
    select(PrinterList::kPdfPrinterName);
    const bool printed = print();
    const QString pdf = printers.lastPdf ? printers.lastPdf() : QString();
    select(printers.standardPrinter);
    if (!printed)
        return false;
    if (!printers.mailProgram->Compose(
            MailtoAddress(address, documentName, MailBody(documentName, pdf), pdf)))
        port.Message(MsgKind::Warning, kNoMailProgram + QDir::toNativeSeparators(pdf));
    return true;
}

bool CardCloseRun::PrintDocument(CloseKind kind, const CardPrintChoice& choice,
                                 const PrintCopy& copy)
{
    if (!m_printers.canvas)
        return true;
    const CardState& state = m_ws.Form().State();
    KeyValueSettings& options = m_ws.Options();

    MemoryLayoutStore defaults;
    TMemoSeiteEinrichtenDlgForm layout(m_printers.layout ? *m_printers.layout : defaults);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::RecordCard);
    TSGrid grid(m_port);
    FillDocumentGrid(grid, copy.lines,
                     {QStringLiteral("Datum"), QStringLiteral("Bezeichnung"),
                      QStringLiteral("USt(%)"), QStringLiteral("Netto")});
    TPrintGrid2 printer(*m_printers.canvas, m_port, m_clock);
    SetUpDocument(printer, grid, layout);

    const int term = TermDays(QStringLiteral("ZzRechEdit"));
    const DocumentTexts texts =
        DocumentTextsFor(DocumentTextsFromOptions(options), kind, DueDate(choice.printDate, term));
    const bool dispensing = IsDispensingCustomer(m_ws.CustomerValue(kCustRemark));
    LetterheadInput head;
    head.business = BusinessFromOptions(
        options, UsesPharmacyLetterhead(dispensing, OptionValue(QStringLiteral("NameEdit2"))));
    QString name =
        m_ws.CustomerValue(kCustFirstName) + QLatin1Char(' ') + m_ws.CustomerValue(kCustName);
    if (name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    head.addressee = {PrintedSalutation(m_ws.CustomerValue(kCustSalutation)), name,
                      m_ws.CustomerValue(kCustStreet), m_ws.CustomerValue(kCustTown)};
    head.heading =
        DocumentHeading(kind, texts.title, dispensing, m_ws.Settings().secondBusinessDefined);
    head.cardKey = state.key;
    head.headText = texts.head;
    head.indentIndex = layout.EinzugEdit;
    if (pagelayout::IsTrue(OptionValue(QStringLiteral("LogoChk"), QStringLiteral("TRUE"))))
        head.logoPath = files::FindCaseInsensitive(m_ws.DataFolder(), QStringLiteral("Logo.bmp"));

    printer.KopfPrint = true;
    printer.Kopf = LetterheadSlots(head);
    printer.DateLabel = dates::Format(choice.printDate);
    printer.FussPrint = true;
    // The other-currency gross is never shown: the double price display is always off.
    printer.Fuss = FooterSlots(state.summary, state.currency, false, texts.foot1, texts.foot2);
    printer.PrintMgrTitle = PrintTitle(kind, state.key);
    if (kind == CloseKind::Invoice) {
        // What the customer still owes, as the close will store it.
        long double open = 0;
        const bool stored = state.openAmount != kUnset && state.openAmountExact != kUnset &&
                            TryStrToFloat(state.openAmountExact, &open);
        if (!stored)
            TryStrToFloat(state.summary.value(kSumInvoiceGross), &open);
        const auto transfer =
            girocode::TransferFor(head.business, girocode::Enabled(options), state.currency, open,
                                  state.key, dates::Format(choice.printDate));
        if (transfer)
            printer.PayCode = girocode::Encode(girocode::Payload(*transfer));
    }

    const QString address = m_ws.CustomerValue(kCustMail).trimmed();
    const auto select = [this](const QString& name) {
        if (m_printers.selectPrinter)
            m_printers.selectPrinter(name);
    };
    // Every pass must come out; a retry after a failure prints all of them again.
    if (choice.mail && !address.isEmpty() && m_printers.mailPrinter.isEmpty() &&
        m_printers.mailProgram) {
        const bool mailed =
            PrintAndHandToMail(m_printers, m_port, address, MailSubject(kind, state.key),
                               [&] { return printer.Print(); });
        return mailed && (!choice.copy || printer.Print());
    }
    if (choice.mail && !address.isEmpty() && !m_printers.mailPrinter.isEmpty()) {
        select(m_printers.mailPrinter);
        const bool mailed = printer.Print(
            MailControlText(m_printers.mailCodes, address, MailSubject(kind, state.key)));
        select(m_printers.standardPrinter);
        return mailed && (!choice.copy || printer.Print());
    }
    return printer.Print() && (!choice.copy || printer.Print());
}

}  // namespace card
