#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>
#include <functional>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "RecordingCanvas.h"
#include "ScriptedUserPort.h"
#include "TestFiles.h"
#include "bookkeeping/JournalWorkspace.h"
#include "bookkeeping/TKtoStdAendDlgForm.h"
#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "printing/LayoutStore.h"
#include "printing/TPrintGrid2.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

using namespace journal;

namespace {

// The dialogs answer from queues; a dialog nobody expected fails the test.
class ScriptedDialogs : public JournalDialogs {
public:
    bool RunBooking(TEditDlgForm& form) override
    {
        if (bookings.empty()) {
            ADD_FAILURE() << "unexpected booking dialog";
            return false;
        }
        const auto next = bookings.front();
        bookings.pop_front();
        return next(form);
    }
    bool RunBalances(TKtoStdAendDlgForm& form) override
    {
        if (balances.empty()) {
            ADD_FAILURE() << "unexpected balance dialog";
            return false;
        }
        const auto next = balances.front();
        balances.pop_front();
        return next(form);
    }
    std::deque<std::function<bool(TEditDlgForm&)>> bookings;
    std::deque<std::function<bool(TKtoStdAendDlgForm&)>> balances;
};

// The booking panel filled as a person would, then OK; an empty text leaves a field as it is.
std::function<bool(TEditDlgForm&)> Enter(const QString& voucher, const QString& customer,
                                         const QString& gross, const QString& kind)
{
    return [=](TEditDlgForm& form) {
        BookingForm& b = form.Booking();
        if (!voucher.isEmpty())
            b.SetText(BookingForm::EinnBeleg, voucher);
        if (!customer.isEmpty())
            b.SetText(BookingForm::EinnKunde, customer);
        if (b.NetEditable())
            b.SwitchNetBrutto();
        b.SetText(BookingForm::EinnBrutto, gross);
        b.SetText(BookingForm::EinnZArt, kind);
        return form.Ok(BookingForm::EinnBrutto, nullptr);
    };
}

class JournalWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUpJournalGrid(grid);
        BookkeepingSettings s;
        s.prices.currentVat = {19, 7, 0};
        s.prices.previousVat = {16, 7, 0};
        s.rateOrder = {19, 7, 0, 16, 7};
        ws.SetSettings(s);
        ws.SetGoBd(false);
        ws.SetDialogs(&dialogs);
        ws.Selection().month = 5;
        ws.Selection().year = 2026;
        options.Write("Kontostand", "Waehrung", "Euro");
        options.Write("Kontostand", "Kasse", "100");
    }
    QString At(const QString& name) const { return dir.filePath(name); }
    QStringList Stored(const QString& name) const
    {
        QStringList lines;
        cp1252::ReadLines(At(name), lines);
        return lines;
    }
    QStringList Cells(int col) const
    {
        QStringList cells;
        for (const QString& line : grid.Lines())
            cells << recordline::Cell(line, col);
        return cells;
    }
    QString Balance(const char* key) const
    {
        long double value = 0;
        TryStrToFloat(options.Get("Kontostand", key), &value);
        return FormatFloat("0.00", value);
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2026, 5, 20), QTime(9, 0))};
    MemorySettings options;
    TSGrid grid{port};
    ScriptedDialogs dialogs;
    JournalWorkspace ws{port, clock, grid, options, dir.path() + "/"};
};

}  // namespace

TEST_F(JournalWorkspaceTest, DmMonthShowsInDmWithAConvertedEuroBookingMergedAtItsDate)
{
    options.values.remove({"Kontostand", "Waehrung"});
    testfiles::WriteLines(At("Z52026.zad"), {"01.05.2026\ta*\tMiete\t8,40\t19,0\t10,00\tB\t",
                                             "20.05.2026\tb*\tStrom\t16,81\t19,0\t20,00\tB\t"});
    const Booking euro{"E", QDate(2026, 5, 15), "0012/005", "Meier", 42.02L, "19,0", 50, "B"};
    ASSERT_TRUE(AppendBooking(dir.path(), euro, "Euro", 1.95583L,
                              [this](const QString& path, const QString& line) {
                                  return grid.AppendChangeLine(path, line);
                              }));
    // The balances have no currency yet: the dialog comes once in the run, its OK writes it.
    dialogs.balances.push_back([](TKtoStdAendDlgForm& form) {
        form.SetText(TKtoStdAendDlgForm::KasseEdit, "195,58");
        return true;
    });
    ws.ShowMonth();
    EXPECT_EQ(ws.CurrencyText(), "DM");
    EXPECT_EQ(Cells(recordline::kJourReceipt), (QStringList{"a*", "0012/005", "b*"}));
    EXPECT_EQ(Cells(recordline::kJourGross), (QStringList{"10,00", "97,79150", "20,00"}));
    EXPECT_EQ(FormatFloat("0.00", ws.Sums().totalGross), "127,79");
    EXPECT_EQ(Stored("Z52026.zad").size(), 3) << "merged and saved";
    EXPECT_EQ(options.Get("Kontostand", "Waehrung"), "DM");
    EXPECT_EQ(ws.Balances().cash, "195,58");

    ws.Selection().day = "15";
    ws.ShowMonth();
    EXPECT_EQ(ws.SumsCaption(), "Tagessummen: ");
    EXPECT_EQ(Cells(recordline::kJourReceipt), QStringList{"0012/005"});
    EXPECT_EQ(Stored("Z52026.zad").size(), 3) << "a filtered view is never saved";
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(JournalWorkspaceTest, SevenRatesShowTheErrorOncePerDisplay)
{
    QStringList lines;
    for (const char* rate : {"19,0", "7,0", "0,0", "16,0", "5,0", "9,0", "10,0"})
        lines << QString("02.05.2026\tk*\tx\t1,00\t%1\t1,00\tB\t").arg(rate);
    testfiles::WriteLines(At("Z52026.zae"), lines);
    ws.ShowMonth();
    EXPECT_EQ(port.Texts(), QStringList{"Fehler: Zu viele MwSt-Sätze!"});
    EXPECT_FALSE(ws.Sums().rates[0].used);
}

TEST_F(JournalWorkspaceTest, DeletedManualExpenseGivesItsAmountBackToCash)
{
    ws.SetKind(Kind::Expense);
    ws.ShowMonth();
    dialogs.bookings.push_back(Enter("R-1", "Tierfutter", "50", "B"));
    ASSERT_TRUE(ws.InsertBooking());
    EXPECT_EQ(Stored("Z52026.zaE").size(), 0) << "income untouched";
    ASSERT_EQ(Stored("Z52026.auE"),
              QStringList{"20.05.2026\tR-1*\tTierfutter\t42,02\t19,0\t50,00\tB\t"});
    EXPECT_EQ(Balance("Kasse"), "50,00");
    EXPECT_EQ(grid.CurrentRecord(), 0);

    port.QueueAnswer(Answer::No);
    EXPECT_FALSE(ws.DeleteBooking());
    EXPECT_EQ(port.LastText(), "Datensatz  wirklich löschen?");
    EXPECT_EQ(Stored("Z52026.auE").size(), 1);
    EXPECT_EQ(Balance("Kasse"), "50,00");

    port.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(ws.DeleteBooking());
    EXPECT_TRUE(Stored("Z52026.auE").isEmpty());
    EXPECT_EQ(Balance("Kasse"), "100,00");
    EXPECT_FALSE(ws.DeleteBooking());
    EXPECT_EQ(port.LastText(), "Datenbank ist leer!");
}

TEST_F(JournalWorkspaceTest, EditedIncomeMovesFromCashToBankAndKeepsTheFilteredOutMonth)
{
    testfiles::WriteLines(At("Z52026.zae"),
                          {"03.05.2026\t0012/005\tMeier\t10,00\t19,0\t11,90\t\u00DC\t",
                           "12.05.2026\tQ1*\tSpende\t84,03\t19,0\t100,00\tB\t"});
    ws.Selection().account = AccountFilter::Cash;
    ws.ShowMonth();
    ASSERT_EQ(Cells(recordline::kJourReceipt), QStringList{"Q1*"});

    dialogs.bookings.push_back([](TEditDlgForm&) { return false; });
    EXPECT_FALSE(ws.EditBooking());
    EXPECT_EQ(port.LastText(), "Eintrag wurde nicht bearbeitet!");

    dialogs.bookings.push_back(Enter("Q1", "", "120", "S"));
    ASSERT_TRUE(ws.EditBooking());
    EXPECT_EQ(Stored("Z52026.zae"),
              (QStringList{"03.05.2026\t0012/005\tMeier\t10,00\t19,0\t11,90\t\u00DC\t",
                           "12.05.2026\tQ1*\tSpende\t100,84\t19,0\t120,00\tS\t"}));
    EXPECT_EQ(Balance("Kasse"), "0,00");
    EXPECT_EQ(Balance("Bank"), "120,00");
    EXPECT_EQ(ws.Selection().account, AccountFilter::All);
    EXPECT_EQ(grid.CurrentRecord(), 1);
}

TEST_F(JournalWorkspaceTest, UnderGoBdIncomeIsCorrectedByANewBookingOnly)
{
    const QString system = "03.05.2026\t0012/005\tMeier\t100,00\t19,0\t119,00\tB\t";
    testfiles::WriteLines(At("Z52026.zae"), {system});
    ws.ShowMonth();
    EXPECT_EQ(ws.Hint(),
              "* Manuell eingegebene Buchungen sind mit einem Stern gekennzeichnet. "
              "Systembuchungen (ohne Stern) werden von TALVEN automatisch verwaltet. "
              "(Hilfe F1)");
    EXPECT_FALSE(ws.EditBooking());  // a system booking, GoBD or not
    EXPECT_TRUE(port.LastText().startsWith("Buchung wird von TALVEN automatisch\rverwaltet"));

    ws.SetGoBd(true);
    EXPECT_FALSE(ws.EditDeleteEnabled());
    EXPECT_EQ(ws.Hint(),
              "* Manuell eingegebene Buchungen sind mit einem Stern gekennzeichnet. "
              "Einnahmen-Buchungen müssen manuell storniert und berichtigt werden. "
              "(Hilfe F1)");
    port.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(ws.DeleteBooking());
    EXPECT_EQ(Stored("Z52026.zae"), QStringList{system});

    dialogs.bookings.push_back(Enter("Storno 0012/005", "Meier", "-119", "B"));
    ASSERT_TRUE(ws.InsertBooking());
    EXPECT_EQ(Stored("Z52026.zae").last(),
              "20.05.2026\tStorno 0012/005*\tMeier\t-100,00\t19,0\t-119,00\tB\t");
    EXPECT_EQ(FormatFloat("0.00", ws.Sums().totalGross), "0,00");
    EXPECT_EQ(FormatFloat("0.00", ws.Sums().totalNet), "0,00");
    EXPECT_EQ(Balance("Kasse"), "-19,00");

    ws.SetKind(Kind::Expense);
    EXPECT_TRUE(ws.EditDeleteEnabled());
    EXPECT_TRUE(
        ws.Hint().endsWith("Ausgaben-Buchungen können berichtigt und gelöscht werden. "
                           "(Hilfe F1)"));
}

TEST_F(JournalWorkspaceTest, CurrencyButtonConvertsTheWholeMonthUnderTheOtherLetter)
{
    testfiles::WriteLines(At("Z52026.zae"), {"03.05.2026\tk*\tx\t10,00\t19,0\t11,90\tB\t",
                                             "04.05.2026\tk*\t(A) y\t1,00\t7,0\t1,07\tS\t"});
    ws.Selection().business = BusinessFilter::Pharmacy;
    ws.ShowMonth();
    port.QueueAnswer(Answer::No);
    EXPECT_FALSE(ws.ConvertMonthCurrency());
    EXPECT_EQ(port.LastText(), "Alle Buchungen von Mai 2026 in DM umrechnen?");
    ASSERT_TRUE(ws.ConvertMonthCurrency());
    EXPECT_FALSE(QFileInfo::exists(At("Z52026.zae")));
    EXPECT_EQ(Stored("Z52026.zaD"),
              (QStringList{"03.05.2026\tk*\tx\t19,55830\t19,0\t23,27438\tB\t",
                           "04.05.2026\tk*\t(A) y\t1,95583\t7,0\t2,09274\tS\t"}));
    EXPECT_EQ(ws.CurrencyText(), "DM");
    EXPECT_EQ(grid.RecordCount(), 2) << "the whole month, not the filtered view";

    // A record that cannot be converted stops the conversion: nothing is lost.
    testfiles::WriteLines(At("Z62026.zae"), {"03.06.2026\tk*\tx\t10,00\t- - -\t11,90\tB\t"});
    ws.Selection().month = 6;
    ws.ShowMonth();
    port.messages.clear();
    EXPECT_FALSE(ws.ConvertMonthCurrency());
    EXPECT_TRUE(port.Texts().value(1).startsWith("Fehler: Buchung in Zeile 1 ist nicht lesbar!"))
        << port.Texts().join("|").toStdString();
    EXPECT_EQ(Stored("Z62026.zae"), QStringList{"03.06.2026\tk*\tx\t10,00\t- - -\t11,90\tB\t"});
    EXPECT_FALSE(QFileInfo::exists(At("Z62026.zaD")));
}

// The list goes out as the view shows it: the export holds the layout's titles and the
// filtered rows, the print the sums and the balances; then the whole month is shown again.
TEST_F(JournalWorkspaceTest, ListPrintAndExportOfTheFilteredView)
{
    testfiles::WriteLines(At("Z52026.zae"),
                          {"03.05.2026\t0012/005\tMeier\t10,00\t19,0\t11,90\t\u00DC\t",
                           "12.05.2026\tQ1*\tSpende\t84,03\t19,0\t100,00\tB\t"});
    RecordingCanvas canvas;
    TPrintGrid2 printer(canvas, port, clock);
    MemoryLayoutStore store;
    ws.Selection().account = AccountFilter::Cash;
    ws.ShowMonth();
    ASSERT_TRUE(ws.PrintList(printer, store, dir.path(), true, false));
    EXPECT_EQ(Stored("Einnahme.xls"),
              (QStringList{"Table", "Datum\tBeleg\tBezeichnung\tNetto\tMwSt\tBrutto\tZ-Art\t",
                           "12.05.2026\tQ1*\tSpende\t84,03\t19,0\t100,00\tB\t"}));
    EXPECT_TRUE(port.LastText().contains("Einnahme.xls")) << port.LastText().toStdString();
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_EQ(ws.Selection().account, AccountFilter::All);
    EXPECT_EQ(grid.RecordCount(), 2);
    EXPECT_EQ(grid.Cells(recordline::kJourReceipt, 0), "Kartei/ Beleg") << "screen titles back";

    ws.Selection().account = AccountFilter::Cash;
    ws.ShowMonth();
    ASSERT_TRUE(ws.PrintList(printer, store, dir.path(), false, true));
    EXPECT_EQ(canvas.title, "Talven - Einnahmen");
    const QStringList printed = canvas.TextStrings();
    for (const char* text : {"Einnahmen: Mai 2026", "Kasse",
                             "Kontostand am 20.05.2026:", "   Kasse  100,00 Euro", "Spende"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(printed.contains("Meier")) << "the bank booking was not shown";
}

// A pharmacy that files its own return: the practice sheet stays empty, the pharmacy's has
// the turnover and input tax; a DM income month counts in the view's Euro and stays in DM.
TEST_F(JournalWorkspaceTest, VatReturnPerBusinessInTheViewsCurrency)
{
    BookkeepingSettings s = ws.Settings();
    s.splitVatReturn = true;
    s.practiceLine = "Praxis Dr. Berger";
    s.pharmacyLine = "Apotheke am Markt";
    ws.SetSettings(s);
    testfiles::WriteLines(At("Z52026.zad"),
                          {"04.05.2026\t0013/001\t(A) Huber\t195,58\t7,0\t209,27\tB\t"});
    testfiles::WriteLines(At("Z52026.aue"),
                          {"05.05.2026\tR*\t(A) Ware\t100,00\t19,0\t119,00\tS\t"});
    ws.SetKind(Kind::Expense);
    ws.Selection().day = "5";
    ws.ShowMonth();
    ASSERT_EQ(ws.CurrencyText(), "Euro");

    struct TitledCanvas : RecordingCanvas {
        bool BeginDoc(const QString& t) override
        {
            titles << t;
            return RecordingCanvas::BeginDoc(t);
        }
        QStringList titles;
    } canvas;
    TPrintGrid2 printer(canvas, port, clock);
    MemoryLayoutStore store;
    ASSERT_TRUE(ws.PrintVatReturn(printer, store));
    EXPECT_EQ(canvas.titles, (QStringList{"Talven - UStVoranmeldung: Praxis",
                                          "Talven - UStVoranmeldung: Apotheke"}));
    EXPECT_TRUE(canvas.TextStrings().contains("-12,00 Euro"));
    EXPECT_FALSE(ws.Selection().DayEntered());

    const QStringList practice = ws.VatReturnSheetFor(BusinessFilter::Practice);
    EXPECT_EQ(practice.value(2), "Praxis Dr. Berger");
    EXPECT_EQ(practice.mid(3, 18).join(""), "") << "no turnover rows";
    EXPECT_EQ(practice.value(35), "0,00 Euro");
    const QStringList pharmacy = ws.VatReturnSheetFor(BusinessFilter::Pharmacy);
    EXPECT_EQ(pharmacy.mid(6, 3), (QStringList{"zum Steuersatz von 7,0 %", "100,-", "7,00 Euro"}));
    EXPECT_EQ(pharmacy.mid(22, 2), (QStringList{"zum Steuersatz von 19,0 %", "19,00 Euro"}));
    EXPECT_EQ(pharmacy.value(2), "Apotheke am Markt");
    EXPECT_EQ(pharmacy.value(35), "-12,00 Euro");
    EXPECT_EQ(Stored("Z52026.zad").size(), 1);
    EXPECT_FALSE(QFileInfo::exists(At("Z52026.zae")));
    EXPECT_TRUE(port.messages.isEmpty()) << port.Texts().join("|").toStdString();
}

TEST(OfferJournalDeletion, OffersJournalsOlderThanTenYearsOnce)
{
    QTemporaryDir dir;
    for (const char* name : {"Z12010.zae", "Z122015.AUD", "Z12016.zae"})
        testfiles::WriteAll(dir.filePath(name), "");
    ScriptedUserPort port;
    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(OfferJournalDeletion(dir.path(), 2026, port));
    EXPECT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(port.LastText().endsWith("Alle Buchungsdaten ab 2016 bleiben erhalten !"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Z12010.zae")));

    EXPECT_TRUE(OfferJournalDeletion(dir.path(), 2026, port));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Z12016.zae"});
    EXPECT_TRUE(OfferJournalDeletion(dir.path(), 2026, port));
    EXPECT_EQ(port.messages.size(), 2) << "nothing left to offer";
}

TEST(TKtoStdAendDlgForm, BalanceFieldsTakeAmountsAndOkWritesBothPairs)
{
    MemorySettings options;
    options.Write("Kontostand", "Kasse", "195,583");
    options.Write("Kontostand", "Waehrung", "DM");
    BookkeepingSettings s;
    s.dmRate = 1.95583L;
    TKtoStdAendDlgForm form(options, s, "E");
    EXPECT_EQ(form.Text(TKtoStdAendDlgForm::KasseEdit), "100,00");
    EXPECT_FALSE(form.Tall());
    EXPECT_EQ(form.FieldCaption(TKtoStdAendDlgForm::BankEdit), "Bank (Scheck, Üw.):");

    struct Case {
        const char* typed;
        const char* refused;
        const char* text;
    };
    const Case cases[] = {
        {"1.5", "", "1,5"},
        {"1,555", "5", "1,55"},
        {"1,2,3", ",", "1,23"},
        {"-12-", "-", "-12"},
        {"1-", "-", "1"},
        {"12345678", "8", "1234567"},
        {"1234567,89", "", "1234567,89"},
        {"12a", "a", "12"},
    };
    for (const Case& c : cases) {
        const int id = TKtoStdAendDlgForm::BankEdit;
        form.Field(id).SelectAll();  // typing replaces the whole text
        QString refused;
        for (QChar key : QString::fromUtf8(c.typed))
            if (!form.KeyPress(id, key))
                refused += key;
        EXPECT_EQ(refused, c.refused) << c.typed;
        EXPECT_EQ(form.Text(id), c.text) << c.typed;
    }
    form.SetText(TKtoStdAendDlgForm::BankEdit, "");
    form.Leave(TKtoStdAendDlgForm::BankEdit);
    EXPECT_EQ(form.Text(TKtoStdAendDlgForm::BankEdit), "0");

    // With the pharmacy a business of its own its pair is written too, in the view's currency.
    s.separatePharmacyAccount = s.secondBusinessDefined = true;
    TKtoStdAendDlgForm tall(options, s, "E");
    EXPECT_TRUE(tall.Tall());
    EXPECT_EQ(tall.FieldCaption(TKtoStdAendDlgForm::KasseEdit), "Praxis - Kasse:");
    tall.SetText(TKtoStdAendDlgForm::Kasse2Edit, "12,5");
    tall.Save();
    EXPECT_EQ(options.Get("Kontostand", "Waehrung"), "Euro");
    EXPECT_EQ(options.Get("Kontostand", "Kasse"), "100");
    EXPECT_EQ(options.Get("Kontostand", "Kasse2"), "12,5");
}
