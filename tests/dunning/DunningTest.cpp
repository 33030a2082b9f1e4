#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <functional>
#include <memory>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "RecordingCanvas.h"
#include "ScriptedUserPort.h"
#include "TestFiles.h"
#include "bookkeeping/Balances.h"
#include "bookkeeping/Journal.h"
#include "cards/CardWorkspace.h"
#include "cards/TBezDlgForm.h"
#include "common/CodePage.h"
#include "dunning/Reminder.h"
#include "dunning/StapelWorkspace.h"
#include "printing/GiroCode.h"
#include "printing/MailHandOff.h"
#include "printing/PrinterList.h"
#include "printing/TStapelDruckDlgForm.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "texts/LetterHead.h"
#include "texts/TextFiles.h"

using namespace card;
using namespace dunning;

namespace {

struct NoPayments : PaymentDialogRunner {
    bool Run(TBezDlgForm&) override { return false; }
};

struct StartDialog : BatchPrintDialogRunner {
    int runs = 0;
    bool start = true;
    bool mail = false;
    bool Run(TStapelDruckDlgForm& form) override
    {
        ++runs;
        form.SetMail(mail);
        return start;
    }
};

struct Progress : BatchProgress {
    int cancelBefore = -1;  // the document before which the person cancels
    int step = 0;
    void Show(const QString&) override {}
    void Step(int done, int) override { step = done; }
    bool CancelRequested() override { return step == cancelBefore; }
    void Close() override {}
};

struct Printers : PrinterList {
    QStringList PrinterNames() const override { return {"Laser", kPdfPrinterName}; }
    QString DefaultPrinter() const override { return "Laser"; }
    bool IsReachable(const QString&) const override { return true; }
};

// Refuses one job, counted from 1.
struct Canvas : RecordingCanvas {
    QStringList titles;
    QString printer = "Laser";
    QStringList jobPrinters;
    int refuseJob = 0;
    int begun = 0;
    bool BeginDoc(const QString& t) override
    {
        if (++begun == refuseJob)
            return false;
        titles << t;
        jobPrinters << printer;
        return RecordingCanvas::BeginDoc(t);
    }
};

// Header line of a summary line.
int S(int summaryLine)
{
    return kHdrFirstSummary + summaryLine;
}

QStringList Summary(const QString& gross)
{
    QStringList summary(kFixedSummaryLines);
    summary[kSumInvoiceGross] = gross;
    for (int line = kSumFee1; line <= kSumDate2; ++line)
        summary[line] = kUnset;
    return summary;
}

class DunningTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        customers.SetColCount(11);
        printing.canvas = &canvas;
        printing.printers = &printerList;
        printing.standardPrinter = "Laser";
        printing.selectPrinter = [this](const QString& name) { canvas.printer = name; };
        for (const auto& [key, value] : {std::pair{"ZzRechEdit", "14"},
                                         {"ZzMa1Edit", "14"},
                                         {"ZzMa2Edit", "14"},
                                         {"MaGeb1Edit", "5,00"},
                                         {"MaGeb2Edit", "10,00"},
                                         {"UebMa1Edit", "Erste Mahnung"},
                                         {"NameEdit", "Tierarztpraxis Berger"}})
            options.Write("Optionen", key, value);
        QDir(dir.path()).mkdir("Texte");
        textfiles::WriteMissingDefaultTexts(dir.filePath("Texte"));
        WriteCustomers();
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    void WriteCustomers()
    {
        QStringList lines;
        for (const char* number : {"0012", "0013", "0014", "0015"})
            lines << QString("Kunde%1\tAnna\tWeg 1\t12345 Dorf\t%1\t\tFrau\t\t005\t\t").arg(number);
        testfiles::WriteLines(Path("KUNDE.DBF"), lines);
        customers.LoadTable(Path("KUNDE.DBF"));
    }

    void WriteCard(const QString& customer, const QStringList& lines,
                   const std::function<void(QStringList&)>& edit = {})
    {
        QStringList header = NewCardHeader(customer, 5, "Kunde" + customer + " Anna", "Euro");
        if (edit)
            edit(header);
        testfiles::WriteLines(Path(FileName(customer, 5)),
                              lines + QStringList{"---KOPF---"} + header);
    }

    // An invoiced card of 100,00 net at 19 %, 119,00 open since the invoice date.
    void WriteInvoiced(const QString& customer, const QString& open = "119,00000",
                       const std::function<void(QStringList&)>& edit = {})
    {
        WriteCard(customer, {"20.02.2024\tImpfung\t1\t100,00000\t\t\t\t\t"}, [&](QStringList& h) {
            h[kHdrInvoiceGross] = "119,00";
            h[kHdrInvoiceDate] = "20.02.2024";
            h[kHdrOpenAmount] = open;
            h << Summary("119,00");
            if (edit)
                edit(h);
        });
    }

    QStringList Header(const QString& customer) const
    {
        QStringList lines;
        cp1252::ReadLines(Path(FileName(customer, 5)), lines);
        return lines.mid(lines.indexOf("---KOPF---") + 1);
    }
    QByteArray Bytes(const QString& name) const
    {
        QFile f(Path(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    // The register's records after its change lines are merged.
    QStringList Register(const QString& name)
    {
        TSGrid grid(port, env);
        grid.SetColCount(10);
        grid.LoadRegister(Path(name));
        return grid.Lines();
    }
    static QStringList Keys(const QStringList& lines)
    {
        QStringList keys;
        for (const QString& line : lines)
            keys << recordline::Cell(line, 1);
        return keys;
    }

    CardWorkspace& Cards()
    {
        if (!ws) {
            ws = std::make_unique<CardWorkspace>(port, clock, customers, Path("KUNDE.DBF"), cards,
                                                 dir.path() + "/", options);
            ws->SetSettings(CardSettings{});
        }
        return *ws;
    }
    StapelWorkspace& Stapel()
    {
        if (!stapel)
            stapel = std::make_unique<StapelWorkspace>(port, clock, env, dir.path() + "/", options);
        return *stapel;
    }
    BatchRunners Runners()
    {
        BatchRunners r;
        r.printers = printing;
        r.payment = &payments;
        r.dialog = &dialog;
        r.progress = &progress;
        r.cards = &Cards();
        return r;
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    TSGrid customers{port, env};
    TSGrid cards{port, env};
    MemorySettings options;
    Canvas canvas;
    Printers printerList;
    ClosePrinters printing;
    NoPayments payments;
    StartDialog dialog;
    Progress progress;
    std::unique_ptr<CardWorkspace> ws;
    std::unique_ptr<StapelWorkspace> stapel;
};

// The placeholders of a reminder text, each replaced at its first place in a line, and the
// letter-header line taken off.
TEST(ReminderText, PlaceholdersFollowLevelCurrencyAndDates)
{
    const struct {
        const char* name;
        int level;
        QString currency;
        bool both;
        bool second;       // reminder 2 set
        QString date1;     // summary line 17
        QStringList want;  // FFF, DDD, BBB, MMM lines
    } cases[] = {
        {"first",
         1,
         "Euro",
         false,
         false,
         "01.03.2024",
         {"bis 15.03.2024 / FFF", "vom 20.02.2024", "124,00 Euro", "5,00 Euro"}},
        {"both currencies",
         1,
         "Euro",
         true,
         false,
         "01.03.2024",
         {"bis 15.03.2024 / FFF", "vom 20.02.2024", "124,00 Euro  ( DM 242,52 )", "5,00 Euro"}},
        {"second adds its fee",
         2,
         "Euro",
         false,
         true,
         "01.03.2024",
         {"bis 17.03.2024 / FFF", "vom 20.02.2024", "124,00 Euro", "15,00 Euro"}},
        {"date unreadable",
         1,
         "DM",
         false,
         false,
         "kaputt",
         {"bis " + QString(13, ' ') + " / FFF", "vom 20.02.2024", "124,00 DM", "5,00 DM"}},
    };
    DunningOptions options;
    options.term1 = "14";
    options.term2 = "7";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        options.bothCurrencies = c.both;
        CardState state;
        state.invoiceDate = "20.02.2024";
        state.openAmountExact = "124,00000";
        state.currency = c.currency;
        state.reminder1 = true;
        state.reminder2 = c.second;
        state.summary = Summary("119,00");
        state.summary[kSumFee1] = "5,00000";
        state.summary[kSumDate1] = c.date1;
        state.summary[kSumFee2] = "10,00000";
        state.summary[kSumDate2] = "10.03.2024";
        ReminderValues values;
        ASSERT_TRUE(ReminderValuesFor(state, c.level, options, &values));
        const QStringList text = FillReminderText(
            {tlvheader::Marker() + "Kopf", "bis FFF / FFF", "vom DDD", "BBB", "MMM"}, values);
        EXPECT_EQ(text, c.want);
    }
    CardState broken;
    broken.invoiceDate = kUnset;
    broken.summary = Summary("119,00");
    ReminderValues values;
    EXPECT_FALSE(ReminderValuesFor(broken, 1, options, &values));
}

// Reminders from the card: the first one charges its fee, a reprint only moves the date,
// a DM card pays the fee in DM, reminder 1 after reminder 2 is refused, and a letter the
// printer refuses charges nothing.
TEST_F(DunningTest, IssueReminderFromTheCard)
{
    const struct {
        const char* name;
        QString currency;
        bool reminded;  // reminder 1 issued on 01.03.
        bool second;
        Answer answer;
        bool refuse;
        QString open;
        QString date1;
        int jobs;
    } cases[] = {
        {"first", "Euro", false, false, Answer::Yes, false, "124,00000", "15.03.2024", 1},
        {"reprint", "Euro", true, false, Answer::Yes, false, "124,00000", "15.03.2024", 1},
        {"reprint declined", "Euro", true, false, Answer::No, false, "124,00000", "01.03.2024", 0},
        {"DM card", "DM", false, false, Answer::Yes, false, "128,77915", "15.03.2024", 1},
        {"after reminder 2", "Euro", false, true, Answer::Yes, false, "119,00000", kUnset, 0},
        {"printer refuses", "Euro", false, false, Answer::Yes, true, "119,00000", kUnset, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteInvoiced("0012", c.reminded ? "124,00000" : "119,00000", [&](QStringList& h) {
            h[kHdrCurrency] = c.currency;
            h[kHdrReminder1] = c.reminded ? "TRUE" : "FALSE";
            h[kHdrReminder2] = c.second ? "TRUE" : "FALSE";
            if (c.reminded) {
                h[S(kSumFee1)] = "5,00000";
                h[S(kSumDate1)] = "01.03.2024";
            }
        });
        ASSERT_TRUE(Cards().LoadCardByKey("0012/005"));
        canvas.titles.clear();
        canvas.begun = 0;
        canvas.refuseJob = c.refuse ? 1 : 0;
        port.messages.clear();
        port.answers = {c.answer};
        CardDunning(Cards(), port, clock, printing).IssueReminder(1, false, false);

        const QStringList header = Header("0012");
        EXPECT_EQ(header[kHdrOpenAmount], c.open);
        EXPECT_EQ(header.value(S(kSumDate1), kUnset), c.date1);
        EXPECT_EQ(canvas.titles.size(), c.jobs);
        EXPECT_EQ(Cards().Form().State().openAmountExact, c.open);
    }
}

TEST_F(DunningTest, FirstReminderLetterAndRegisterRow)
{
    WriteInvoiced("0012");
    ASSERT_TRUE(Cards().LoadCardByKey("0012/005"));
    ASSERT_EQ(CardDunning(Cards(), port, clock, printing).IssueReminder(1, false, false),
              IssueOutcome::Issued);

    EXPECT_EQ(Header("0012")[S(kSumFee1)], "5,00000");
    EXPECT_EQ(canvas.titles, QStringList{"Talven - 1. Mahnung 0012005"});
    EXPECT_NE(canvas.Find("Erste Mahnung"), nullptr);
    EXPECT_NE(canvas.Find("vom 20.02.2024 noch nicht beglichen ist."), nullptr);
    EXPECT_NE(canvas.Find("Der offene Betrag beläuft sich auf 124,00 Euro;"), nullptr);
    EXPECT_NE(canvas.Find("darin sind Mahngebühren von 5,00 Euro enthalten."), nullptr);
    EXPECT_NE(canvas.Find("Bitte überweisen Sie den Betrag bis zum 29.03.2024 auf unser im"),
              nullptr);
    const QStringList dunning = Register("ST_MAHN.DBF");
    ASSERT_EQ(dunning.size(), 1);
    EXPECT_EQ(recordline::Cell(dunning[0], recordline::kDunOpen), "124,00000");
    EXPECT_EQ(recordline::Cell(dunning[0], recordline::kDunReminder1), "X");
    EXPECT_EQ(Cards().Form().State().reminderLabel, "1 am   15.03.2024");

    // A pharmacy customer gets the pharmacy's letterhead once a second business is set up.
    options.Write("Optionen", "NameEdit2", "Apotheke am Markt");
    customers.SetRecordCell(recordline::kCustRemark, 1, "(A) Apotheke");
    WriteInvoiced("0013");
    ASSERT_TRUE(Cards().LoadCardByKey("0013/005"));
    canvas.calls.clear();
    ASSERT_EQ(CardDunning(Cards(), port, clock, printing).IssueReminder(1, true, false),
              IssueOutcome::Issued);
    EXPECT_NE(canvas.Find("Apotheke am Markt"), nullptr);
    EXPECT_EQ(canvas.Find("Tierarztpraxis Berger"), nullptr);
}

// Two cash payments of February and March: the release takes both out of their month
// journals and the cash balance at the save, and the card returns to the invoice register.
TEST_F(DunningTest, ReleaseTakesBackBothCashPayments)
{
    WriteInvoiced("0012", "49,00000", [](QStringList& h) {
        h[kHdrReminder1] = "TRUE";
        h[S(kSumFee1)] = "5,00000";
        h[S(kSumDate1)] = "01.03.2024";
        h << "50,00 Euro   am 28.02.2024,  bar"
          << "25,00 Euro   am 05.03.2024,  bar";
    });
    const QString feb =
        journal::JournalFileName(dir.path() + "/", 2, 2024, journal::Kind::Income, "Euro");
    const QString mar =
        journal::JournalFileName(dir.path() + "/", 3, 2024, journal::Kind::Income, "Euro");
    testfiles::WriteLines(feb, {"28.02.2024\t0012/005\tKunde0012 Anna\t42,02\t19.0\t50,00\tB\t",
                                "28.02.2024\t0013/001\tAndere\t10,00\t19.0\t11,90\tB\t"});
    testfiles::WriteLines(mar, {"05.03.2024\t0012/005\tKunde0012 Anna\t21,01\t19.0\t25,00\tB\t"});
    balances::WriteBalances(options, balances::Business::Practice, "E", 200, 0, 1.95583L);
    ASSERT_TRUE(Cards().LoadCardByKey("0012/005"));

    CardDunning dunning(Cards(), port, clock, printing);
    EXPECT_FALSE(dunning.ReleaseCard(true)) << "payments lock it under GoBD";
    port.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(dunning.ReleaseCard(false));
    EXPECT_TRUE(port.LastText().startsWith("  Beim Freigeben werden folgende Infos gelöscht:"));
    const CardState& released = Cards().Form().State();
    EXPECT_TRUE(released.remindersEnabled && !released.reminder1);
    EXPECT_EQ(dunning.IssueReminder(1, false, false), IssueOutcome::NotIssued);
    EXPECT_EQ(port.LastText(), kNotInvoiced);
    EXPECT_TRUE(canvas.titles.isEmpty());
    ASSERT_TRUE(Cards().SaveRecordCard());

    const QStringList header = Header("0012");
    EXPECT_EQ(header[kHdrInvoiceDate], kUnset);
    EXPECT_EQ(header[kHdrOpenAmount], kUnset);
    EXPECT_EQ(header[kHdrReminder1], "FALSE");
    EXPECT_EQ(header.size(), kHdrFirstSummary + kFixedSummaryLines);
    EXPECT_EQ(header[S(kSumDate1)], kUnset);
    for (const QString& path : QStringList{feb, mar}) {
        TSGrid journal(port, env);
        journal.SetColCount(8);
        journal.LoadJournal(path);
        EXPECT_FALSE(journal.Lines().join("\n").contains("0012/005")) << path.toStdString();
    }
    EXPECT_EQ(balances::ReadBalances(options, balances::Business::Practice, "E", 1.95583L).cash,
              125);
    EXPECT_EQ(Keys(Register("ST_RECHN.DBF")), QStringList{"0012/005"});
    EXPECT_TRUE(Register("ST_MAHN.DBF").isEmpty());
}

TEST_F(DunningTest, InvoiceMarkingByDateAndMinimum)
{
    testfiles::WriteLines(Path("ST_RECHN.DBF"), {"0012/005\tA\t0012\t01.03.2024\t49,99000\t\t",
                                                 "0013/005\tB\t0013\t31.03.2024\t50,00000\t\t",
                                                 "0014/005\tC\t0014\t01.04.2024\t80,00000\t\t",
                                                 "0015/005\tD\t0015\tkaputt\t80,00000\t\t"});
    StapelWorkspace& s = Stapel();
    s.ShowTab(kInvoices);
    EXPECT_EQ(s.MarkedCount(kInvoices), 1) << "today 15.03.: only the first is not after it";
    EXPECT_EQ(s.SumText(kInvoices), "259,99");

    port.messages.clear();
    s.dateText = "31.03.2024";
    s.minimumText = "50,00";
    ASSERT_TRUE(s.MarkInvoices());
    QStringList marks;
    for (const QString& line : s.Grid(kInvoices).Lines())
        marks << recordline::Cell(line, recordline::kInvMark);
    EXPECT_EQ(marks, QStringList({"", "X", "", ""}));
    EXPECT_EQ(port.Texts(), QStringList{"Fehler Zeile 4"});

    s.minimumText = "viel";
    s.dateText = "32.03.2024";
    EXPECT_FALSE(s.MarkInvoices());
    EXPECT_EQ(port.LastText(), "Fehler: Datum ungültig!");
    EXPECT_EQ(s.MarkedCount(kInvoices), 1);
    s.dateText = "31.03.2024";
    ASSERT_TRUE(s.MarkInvoices());
    EXPECT_EQ(s.minimumText, "0,00");
    EXPECT_EQ(s.MarkedCount(kInvoices), 2);
}

// Today is 15.03.2024 and every term is 14 days.
TEST_F(DunningTest, ReminderMarkingPerLevel)
{
    testfiles::WriteLines(Path("ST_MAHN.DBF"),
                          {"0012/005\tA\t0012\t01.02.2024\t119,00\t10,00500\t\t\t\t",
                           "0013/005\tB\t0013\t01.03.2024\t119,00\t10,00500\t\t\t\t",
                           "0014/005\tC\t0014\t01.01.2024\t119,00\t124,00000\tX\t\t\t",
                           "0015/005\tD\t0015\t01.01.2024\t119,00\t134,00000\tX\tX\t\t"});
    const struct {
        Level level;
        QStringList marks;
        QStringList refusals;  // double click on each unmarked row
    } cases[] = {
        {Level::First, {"X", "X", "", ""}, {kReminder1Set, kReminder1Blocked}},
        {Level::Second, {"X", "", "X", ""}, {"", kReminder2Set}},
        {Level::Court, {"", "", "", "X"}, {kCourtNeedsBoth, kCourtNeedsBoth, kCourtNeedsBoth}},
    };
    StapelWorkspace& s = Stapel();
    s.ShowTab(kReminders);
    EXPECT_EQ(s.SumText(kReminders), "278,02") << "each open amount rounded first";
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.level));
        s.SetLevel(c.level);
        QStringList marks;
        for (const QString& line : s.Grid(kReminders).Lines())
            marks << recordline::Cell(line, recordline::kDunMark);
        EXPECT_EQ(marks, c.marks);
        port.messages.clear();
        for (int row = 0; row < 4; ++row) {
            if (marks[row].isEmpty())
                s.ToggleMark(kReminders, row);
        }
        QStringList refusals = port.Texts();
        if (c.level == Level::Second)  // row B may be marked by hand
            refusals.prepend("");
        EXPECT_EQ(refusals, c.refusals);
    }
    options.Write("Optionen", "ZzMa1Edit", "vierzehn");
    port.messages.clear();
    s.SetLevel(Level::Second);
    EXPECT_EQ(port.Texts().value(0),
              "Fehler in den Systemoptionen\r(Seite Mahnwesen: Zahlunsziele)!");
}

// Two marked invoices close in one run after the list: both leave the invoice register for
// the dunning register, and each customer has the next card.
TEST_F(DunningTest, BatchRunClosesEveryMarkedInvoice)
{
    for (const QString& customer : QStringList{"0012", "0013"}) {
        WriteCard(customer, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
        ASSERT_TRUE(Cards().LoadCardByKey(customer + "/005"));
        ASSERT_TRUE(Cards().SaveRecordCard());
    }
    Stapel().ShowTab(kInvoices);
    ASSERT_EQ(Stapel().MarkedCount(kInvoices), 2);
    BatchRunners runners = Runners();
    Stapel().RunBatch(kInvoices, runners);

    EXPECT_EQ(canvas.titles, QStringList({"Talven - Stapeldruck", "Talven - Rechnung 0012005",
                                          "Talven - Rechnung 0013005"}));
    EXPECT_NE(canvas.Find("Druckauftrag: 2 Dokument(e)"), nullptr);
    EXPECT_NE(canvas.Find("Brutto: 238,00 EUR"), nullptr);
    EXPECT_EQ(Keys(Register("ST_MAHN.DBF")), QStringList({"0012/005", "0013/005"}));
    EXPECT_EQ(Stapel().Grid(kInvoices).RecordCount(), 0);
    for (const QString& customer : QStringList{"0012", "0013"}) {
        EXPECT_EQ(Header(customer)[kHdrInvoiceDate], "15.03.2024");
        EXPECT_TRUE(QFile::exists(Path(FileName(customer, 6))));
    }
    EXPECT_EQ(dialog.runs, 1);
}

// A run that ends early, because the printer refuses the third document or the person
// cancels before it: the cards before are closed, the rest untouched, and the registers
// agree with the cards.
TEST_F(DunningTest, BatchRunStoppedBeforeTheThirdDocument)
{
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "refused");
        QFile::remove(Path("ST_RECHN.DBF"));
        QFile::remove(Path("ST_MAHN.DBF"));
        WriteCustomers();
        QStringList customers{"0012", "0013", "0014", "0015"};
        for (const QString& customer : customers) {
            QFile::remove(Path(FileName(customer, 6)));
            WriteCard(customer, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
            ASSERT_TRUE(Cards().LoadCardByKey(customer + "/005"));
            ASSERT_TRUE(Cards().SaveRecordCard());
        }
        const QByteArray third = Bytes(FileName("0014", 5));
        canvas.titles.clear();
        canvas.begun = 0;
        canvas.refuseJob = cancel ? 0 : 3;
        progress.cancelBefore = cancel ? 2 : -1;
        port.messages.clear();
        Stapel().SetListOption(false);
        Stapel().ShowTab(kInvoices);
        BatchRunners runners = Runners();
        Stapel().RunBatch(kInvoices, runners);

        EXPECT_EQ(port.LastText(),
                  "Der Stapeldruck wurde abgebrochen.\r2 von 4 Dokument(en) wurden gedruckt.");
        EXPECT_EQ(Keys(Register("ST_MAHN.DBF")), QStringList({"0012/005", "0013/005"}));
        EXPECT_EQ(Keys(Register("ST_RECHN.DBF")), QStringList({"0014/005", "0015/005"}));
        EXPECT_EQ(Bytes(FileName("0014", 5)), third);
        EXPECT_FALSE(QFile::exists(Path(FileName("0014", 6))));
        EXPECT_FALSE(QFile::exists(Path(FileName("0015", 6))));
        EXPECT_EQ(Header("0013")[kHdrInvoiceDate], "15.03.2024");
    }
}

// The reminder run: a marked row whose card file is gone leaves the register with the load
// message, the others are reminded with the fee; the court level prints only its list.
TEST_F(DunningTest, ReminderRunAndCourtLevel)
{
    WriteInvoiced("0012");
    WriteInvoiced("0014", "134,00000", [](QStringList& h) {
        h[kHdrReminder1] = "TRUE";
        h[kHdrReminder2] = "TRUE";
        h[S(kSumFee1)] = "5,00000";
        h[S(kSumDate1)] = "01.01.2024";
        h[S(kSumFee2)] = "10,00000";
        h[S(kSumDate2)] = "15.01.2024";
    });
    testfiles::WriteLines(Path("ST_MAHN.DBF"),
                          {"0012/005\tA\t0012\t20.02.2024\t119,00\t119,00000\t\t\t\t",
                           "0013/005\tB\t0013\t20.02.2024\t119,00\t119,00000\t\t\t\t",
                           "0014/005\tC\t0014\t01.12.2023\t119,00\t134,00000\tX\tX\t\t"});
    StapelWorkspace& s = Stapel();
    s.ShowTab(kReminders);
    ASSERT_EQ(s.MarkedCount(kReminders), 2);
    BatchRunners runners = Runners();
    s.RunBatch(kReminders, runners);

    EXPECT_TRUE(port.Texts().contains("Fehler beim Laden von \rKarteikarte Nr. 0013/005"));
    EXPECT_EQ(canvas.titles, QStringList({"Talven - Stapeldruck", "Talven - 1. Mahnung 0012005"}));
    EXPECT_NE(canvas.Find("Stapeldruck: 1. Mahnung"), nullptr);
    const QStringList reminders = s.Grid(kReminders).Lines();
    ASSERT_EQ(reminders.size(), 2);
    EXPECT_EQ(reminders.filter("0013/005").size(), 0);
    EXPECT_EQ(recordline::Cell(reminders.filter("0012/005").value(0), recordline::kDunReminder1),
              "X");
    EXPECT_EQ(Header("0012")[kHdrOpenAmount], "124,00000");

    // The court level: the batch print dialog still asks (and may stop the run), then only
    // the list comes out and no card changes.
    const QByteArray court = Bytes(FileName("0014", 5));
    canvas.titles.clear();
    s.SetLevel(Level::Court);
    ASSERT_EQ(s.MarkedCount(kReminders), 1);
    dialog.start = false;
    s.RunBatch(kReminders, runners);
    EXPECT_EQ(dialog.runs, 2);
    EXPECT_TRUE(canvas.titles.isEmpty());
    dialog.start = true;
    s.RunBatch(kReminders, runners);
    EXPECT_EQ(dialog.runs, 3);
    EXPECT_EQ(canvas.titles, QStringList{"Talven - Stapeldruck"});
    EXPECT_NE(canvas.Find("Stapeldruck: Gerichtliche Mahnung"), nullptr);
    EXPECT_EQ(Bytes(FileName("0014", 5)), court);
}

// E-mail chosen in the batch print dialog: a customer with an address gets the document on
// the mail printer, with the control text first and the copy on paper; one without an
// address gets it on paper. The standard printer is selected again after every mail job.
TEST_F(DunningTest, BatchRunToTheMailPrinter)
{
    customers.SetRecordCell(recordline::kCustMail, 0, "anna@example.de");
    printing.mailPrinter = "DOCSENDER";
    printing.mailCodes = {{"MailPrAdrUeberg", "@@to"}, {"MailPrEndCode", "@@"}};
    dialog.mail = true;
    Stapel().SetListOption(false);
    Stapel().SetCopyOption(true);
    const struct {
        int tab;
        QString mailed;  // the control text on the mail job of customer 0012
        QStringList titles;
    } cases[] = {
        {kInvoices,
         "@@toanna@example.de@@Rechnung 0012/005@@Rechnung 0012/005@@@@@@@@",
         {"Talven - Rechnung 0012005", "Talven - Rechnung 0012005", "Talven - Rechnung 0013005",
          "Talven - Rechnung 0013005"}},
        {kReminders,
         "@@toanna@example.de@@1. Mahnung 0012/005@@1. Mahnung 0012/005@@@@@@@@",
         {"Talven - 1. Mahnung 0012005", "Talven - 1. Mahnung 0012005",
          "Talven - 1. Mahnung 0013005", "Talven - 1. Mahnung 0013005"}},
    };
    for (const QString& customer : QStringList{"0012", "0013"}) {
        WriteCard(customer, {"20.02.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
        ASSERT_TRUE(Cards().LoadCardByKey(customer + "/005"));
        ASSERT_TRUE(Cards().SaveRecordCard());
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tab);
        clock.SetDate(c.tab == kInvoices ? QDate(2024, 3, 15) : QDate(2024, 4, 15));
        canvas.titles.clear();
        canvas.jobPrinters.clear();
        canvas.calls.clear();
        Stapel().ShowTab(c.tab);
        ASSERT_EQ(Stapel().MarkedCount(c.tab), 2);
        BatchRunners runners = Runners();
        Stapel().RunBatch(c.tab, runners);

        EXPECT_EQ(canvas.titles, c.titles);
        EXPECT_EQ(canvas.jobPrinters, QStringList({"DOCSENDER", "Laser", "Laser", "Laser"}));
        EXPECT_EQ(canvas.printer, "Laser");
        EXPECT_NE(canvas.Find(c.mailed), nullptr);
        EXPECT_EQ(canvas.Count(RecordingCanvas::Op::BeginDoc), 4);
    }
}

}  // namespace

// The payment code asks for the open amount, the fees of issued reminders counted once, to
// the account of the business whose letterhead the letter bears; a DM card or a practice
// without IBAN gets none.
TEST_F(DunningTest, ReminderPaymentCodeOfTheLetterheadsBusiness)
{
    const auto expected = [](const char* holder, const char* iban, const char* amount) {
        return (QByteArray("BCD\n002\n1\nSCT\n\n") + holder + "\n" + iban + "\nEUR" + amount +
                "\n\n\nRechnung 0012/005 vom 20.02.2024")
            .toStdString();
    };
    const auto code = [&] {
        EXPECT_TRUE(Cards().LoadCardByKey("0012/005"));
        ReminderLetter letter;
        EXPECT_TRUE(CardDunning(Cards(), port, clock, printing).ComposeReminder(1, &letter));
        EXPECT_EQ(letter.payCode.dark.empty(), letter.payCodeText.isEmpty());
        return letter.payCodeText.toStdString();
    };
    WriteInvoiced("0012");
    EXPECT_TRUE(code().empty());
    options.Write("Optionen", "BLZEdit", "DE45 6835 0048 0001 2345 67");
    EXPECT_EQ(code(), expected("Tierarztpraxis Berger", "DE45683500480001234567", "119.00"));

    options.Write("Optionen", "NameEdit2", "Apotheke am Markt");
    options.Write("Optionen", "KontoinhaberEdit2", "Markt-Apotheke OHG");
    options.Write("Optionen", "BLZEdit2", "DE89370400440532013000");
    customers.SetRecordCell(recordline::kCustRemark, 0, "(A) Apotheke");
    EXPECT_EQ(code(), expected("Markt-Apotheke OHG", "DE89370400440532013000", "119.00"));
    ASSERT_EQ(CardDunning(Cards(), port, clock, printing).IssueReminder(1, false, false),
              IssueOutcome::Issued);
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::Bitmap), 1);
    EXPECT_EQ(code(), expected("Markt-Apotheke OHG", "DE89370400440532013000", "124.00"));

    WriteInvoiced("0012", "119,00000", [](QStringList& h) { h[kHdrCurrency] = "DM"; });
    EXPECT_TRUE(code().empty());
}

// Without a mail printer the letter goes to the PDF printer and the mail program gets a
// message to the customer naming the file; the address cannot smuggle in recipients.
TEST_F(DunningTest, MailHandOffWithoutMailPrinter)
{
    struct : MailPort {
        bool Compose(const QString& address) override
        {
            mailto << address;
            return true;
        }
        QStringList mailto;
    } mail;
    QStringList selected;
    printing.mailProgram = &mail;
    printing.lastPdf = [] { return QStringLiteral("/praxis/PDF/Mahnung.pdf"); };
    printing.selectPrinter = [&](const QString& name) { selected << name; };
    customers.SetRecordCell(recordline::kCustMail, 0, "anna@example.de?bcc=x@y.de");
    WriteInvoiced("0012");
    ASSERT_TRUE(Cards().LoadCardByKey("0012/005"));
    ASSERT_EQ(CardDunning(Cards(), port, clock, printing).IssueReminder(1, false, false, true),
              IssueOutcome::Issued);

    EXPECT_EQ(selected, (QStringList{"PDF-Datei", "Laser"}));
    ASSERT_EQ(mail.mailto.size(), 1);
    EXPECT_TRUE(mail.mailto[0].startsWith(
        "mailto:anna@example.de%3Fbcc%3Dx@y.de?subject=1.%20Mahnung%200012%2F005&body=Guten%20Tag"))
        << mail.mailto[0].toStdString();
    const QUrlQuery query(QUrl(mail.mailto[0]).query());
    EXPECT_EQ(query.queryItemValue("body", QUrl::FullyDecoded),
              "Guten Tag,\n\nanbei erhalten Sie „1. Mahnung 0012/005“ als PDF-Datei:\n"
              "/praxis/PDF/Mahnung.pdf\n\nMit freundlichen Grüßen");
    EXPECT_EQ(query.queryItemValue("attach", QUrl::FullyDecoded), "file:///praxis/PDF/Mahnung.pdf");
}
