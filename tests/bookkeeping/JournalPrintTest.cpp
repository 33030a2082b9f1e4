#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "bookkeeping/JournalListPrint.h"
#include "bookkeeping/JournalWorkspace.h"
#include "bookkeeping/TEARstatDlgForm.h"
#include "bookkeeping/TEAdruckenDlgForm.h"
#include "bookkeeping/VatReturn.h"

using namespace journal;

namespace {

const std::array<long double, 5> kRateOrder{19, 7, 0, 16, 7};

QString Line(const char* date, const char* customer, const char* net, const char* rate,
             const char* gross, const char* kind, const char* receipt = "R*")
{
    return QStringList{date, receipt, customer, net, rate, gross, kind}.join('\t') + '\t';
}

// The expected lines of a sheet by number; every other line must be empty.
void ExpectSheet(const QStringList& sheet, const QMap<int, QString>& expected, const char* name)
{
    ASSERT_EQ(sheet.size(), kVatSheetLines) << name;
    for (int i = kVatBusinessLine + 1; i < kVatSheetLines; ++i)
        EXPECT_EQ(sheet[i], expected.value(i)) << name << ", line " << i;
}

}  // namespace

// Bases are the net sums cut to whole units, taxes are taken from them; input tax comes
// from the expenses' net sums as they are; a surplus keeps its minus sign.
TEST(VatReturnSheet, TurnoverInputTaxAndPrepaymentPerRate)
{
    struct Case {
        const char* name;
        QStringList income, expenses;
        QMap<int, QString> lines;
        bool tooMany = false;
    };
    QStringList sevenRates;
    for (const char* rate : {"19,0", "7,0", "16,0", "5,0", "10,0", "12,0", "13,0"})
        sevenRates << Line("02.05.2026", "x", "10,00", rate, "11,00", "B");
    const Case cases[] = {
        {"1000,99 at 19 %",
         {Line("02.05.2026", "Meier", "1000,99", "19,0", "1191,18", "B")},
         {Line("03.05.2026", "Futter", "100,99", "19,0", "120,18", "S")},
         {{3, "zum Steuersatz von 19,0 %"},
          {4, "1000,-"},
          {5, "190,00 Euro"},
          {21, "190,00 Euro"},
          {22, "zum Steuersatz von 19,0 %"},
          {23, "19,19 Euro"},
          {34, "19,19 Euro"},
          {35, "170,81 Euro"}}},
        {"income at 7 %, expenses at 19 %: surplus",
         {Line("02.05.2026", "Meier", "100,00", "7,0", "107,00", "B"),
          Line("09.05.2026", "Huber", "50,50", "7,0", "54,04", "\u00DC")},
         {Line("03.05.2026", "Geraet", "1000,00", "19,0", "1190,00", "\u00DC")},
         {{6, "zum Steuersatz von 7,0 %"},
          {7, "150,-"},
          {8, "10,50 Euro"},
          {21, "10,50 Euro"},
          {22, "zum Steuersatz von 19,0 %"},
          {23, "190,00 Euro"},
          {34, "190,00 Euro"},
          {35, "-179,50 Euro"}}},
        {"seven rates: no rows",
         sevenRates,
         {},
         {{21, "0,00 Euro"}, {34, "0,00 Euro"}, {35, "0,00 Euro"}},
         true},
    };
    for (const Case& c : cases) {
        VatSheetHeader header{5, 2026, QDate(2026, 6, 3), "Praxis Dr. Berger Tierarzt", "Euro"};
        bool tooMany = false;
        const QStringList sheet =
            VatReturnSheet(c.income, c.expenses, header, kRateOrder, &tooMany);
        EXPECT_EQ(tooMany, c.tooMany) << c.name;
        EXPECT_EQ(sheet.value(0), "Umsatzsteuer-Voranmeldung 2026  -  Mai") << c.name;
        EXPECT_EQ(sheet.value(1), "03.06.2026") << c.name;
        EXPECT_EQ(sheet.value(2), "Praxis Dr. Berger Tierarzt") << c.name;
        ExpectSheet(sheet, c.lines, c.name);
    }
}

// The title lines name the period, business and account of the view and carry the sums;
// the balances follow for the accounts shown.
TEST(JournalListPrint, TitleAndBalanceLinesFollowTheSelection)
{
    JournalSelection s;
    s.month = 3;
    s.year = 2024;
    s.day = "5";
    s.business = BusinessFilter::Pharmacy;
    s.account = AccountFilter::Cash;
    const JournalSums sums =
        SumJournal({Line("05.03.2024", "(A) Meier", "100,00", "19,0", "119,00", "B"),
                    Line("05.03.2024", "(A) Huber", "50,00", "7,0", "53,50", "B")},
                   kRateOrder);
    EXPECT_EQ(ListTitleLines("Einnahmen", s, sums, "Euro"),
              (QStringList{"Einnahmen  am 5. März 2024 - Apotheke", "Kasse", "",
                           "Tagessummen:", "   150,00 Euro netto                172,50 Euro brutto",
                           "", "     100,00 Euro  (19,0 %)          119,00 Euro",
                           "     50,00 Euro  (7,0 %)            53,50 Euro"}));
    s.Reset();
    EXPECT_EQ(ListTitleLines("Ausgaben", s, {}, "DM").mid(0, 4),
              (QStringList{"Ausgaben: März 2024", "",
                           "Monatssummen:", "   0,00 DM netto                    0,00 DM brutto"}));

    BalanceDisplay shown{"", "10,00", "20,00", false, "", ""};
    struct Case {
        bool pharmacy;
        AccountFilter account;
        QStringList lines;
    };
    const Case cases[] = {
        {false,
         AccountFilter::All,
         {"", "Kontostände am 15.03.2024:", "   Kasse  10,00 Euro", "   Bank     20,00 Euro", ""}},
        {false,
         AccountFilter::Bank,
         {"", "Kontostand am 15.03.2024:", "   Bank     20,00 Euro", ""}},
        {true,
         AccountFilter::Cash,
         {"", "Kontostand am 15.03.2024:", "   Kasse Praxis       10,00 Euro",
          "   Kasse Apotheke  1,00 Euro", ""}},
        {true,
         AccountFilter::All,
         {"", "Kontostand am 15.03.2024:",
          "   Kasse Praxis       10,00 Euro       Kasse Apotheke  1,00 Euro",
          "   Bank Praxis         20,00 Euro      Bank Apotheke    2,00 Euro", ""}},
    };
    for (const Case& c : cases) {
        shown.pharmacyShown = c.pharmacy;
        shown.pharmacyCash = "1,00";
        shown.pharmacyBank = "2,00";
        EXPECT_EQ(BalanceLines(shown, c.account, "15.03.2024", "Euro"), c.lines);
    }
}

// The print choice describes the selection; the VAT return covers the whole month of both
// accounts and has neither file nor balances.
TEST(TEAdruckenDlgForm, LinesAndOptionsPerChoice)
{
    JournalSelection s;
    s.month = 3;
    s.year = 2024;
    s.day = "15";
    s.business = BusinessFilter::Practice;
    s.account = AccountFilter::Bank;
    TEAdruckenDlgForm form(Kind::Expense, s, true, "HP LaserJet 4000 Series PCL6 im Empfang");
    form.SetToFile(true);
    form.SetWithBalances(true);
    EXPECT_EQ(QStringList({form.Caption(), form.ListText(), form.PeriodLine(), form.BusinessLine(),
                           form.AccountLine(), form.PrinterLine()}),
              QStringList({"Drucken: Ausgaben", "Ausgaben - Liste", "15. März 2024", "Praxis",
                           "Bank (S/\u00DC)", "(Druck auf HP LaserJet 4000 Series PCL6  ...)"}));
    EXPECT_TRUE(form.ToFile() && form.WithBalances());

    form.SetChoice(TEAdruckenDlgForm::Choice::VatReturn);
    form.SetToFile(true);
    EXPECT_FALSE(form.ToFile() || form.WithBalances() || form.OptionsEnabled());
    EXPECT_EQ(
        QStringList({form.Caption(), form.PeriodLine(), form.BusinessLine(), form.AccountLine()}),
        QStringList(
            {"Drucken: Umsatzsteuer-Voranmeldung", "März 2024", "Praxis/Apotheke (getrennt)", ""}));
    EXPECT_EQ(TEAdruckenDlgForm(Kind::Income, {}, false, "PDF-Datei").PrinterLine(),
              "(Druck auf PDF-Datei)");
}

// The result reads the Euro files of the period as stored, change lines applied, and
// counts a line by its business and payment kind.
TEST(TEARstatDlgForm, SumsPerAccountAndPeriodFromTheEuroJournals)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/";
    testfiles::WriteLines(
        data + "Z52026.zaE",
        {Line("02.05.2026", "Meier", "100,00", "19,0", "119,00", "B", "0012/005"),
         Line("05.05.2026", "(A) Huber", "10,00", "7,0", "10,70", "\u00DC", "0013/001"),
         Line("05.05.2026", "Lang", "20,00", "7,0", "21,40", "S", "0014/002"),
         Line("05.05.2026", "Ohne", "99,00", "19,0", "117,81", ""), "-0014/002\t",
         "+05.05.2026\t0015/001\tKurz\t1000,00\t19,0\t1190,00\tB\t"});
    testfiles::WriteLines(data + "Z52026.auE",
                          {Line("05.05.2026", "Futter", "50,00", "19,0", "59,50", "B")});
    testfiles::WriteLines(data + "Z62026.zad",
                          {Line("01.06.2026", "DM", "500,00", "19,0", "595,00", "B")});
    testfiles::WriteLines(data + "Z12026.zae",
                          {Line("10.01.2026", "Januar", "1,00", "19,0", "1,19", "B")});
    // Amounts that leave a binary residue below a cent when they cancel out.
    testfiles::WriteLines(data + "Z72026.zae",
                          {Line("01.07.2026", "a", "0,01", "0,0", "0,01", "B"),
                           Line("01.07.2026", "b", "0,04", "0,0", "0,04", "B")});
    testfiles::WriteLines(data + "Z72026.aue",
                          {Line("01.07.2026", "c", "0,05", "0,0", "0,05", "B")});

    struct Case {
        const char* name;
        int month;
        const char* day;
        BusinessFilter business;
        AccountFilter account;
        bool toggle;
        QString period, bankGross, cashGross, expenseGross, resultLabel, resultGross;
    };
    const Case cases[] = {
        {"month, both", 5, "", BusinessFilter::All, AccountFilter::All, false, "05.2026", "10,70",
         "1309,00", "59,50", "Überschuss:", "1260,20"},
        {"day 5 written as 5, practice", 5, "5", BusinessFilter::Practice, AccountFilter::All,
         false, "5.05.2026", "0,00", "1190,00", "59,50", "Überschuss:", "1130,50"},
        {"pharmacy bank", 5, "", BusinessFilter::Pharmacy, AccountFilter::Bank, false, "05.2026",
         "10,70", "0,00", "0,00", "Überschuss:", "10,70"},
        {"DM-only month reads nothing", 6, "", BusinessFilter::All, AccountFilter::All, false,
         "06.2026", "0,00", "0,00", "0,00", "Ergebnis:", "0,00"},
        {"a residue below a cent is no surplus", 7, "", BusinessFilter::All, AccountFilter::All,
         false, "07.2026", "0,00", "0,05", "0,05", "Ergebnis:", "0,00"},
        {"toggled to the year", 6, "", BusinessFilter::All, AccountFilter::Cash, true, "2026",
         "0,00", "1310,24", "59,55", "Überschuss:", "1250,69"},
    };
    for (const Case& c : cases) {
        JournalSelection view;
        view.month = c.month;
        view.year = 2026;
        view.day = c.day;
        view.business = c.business;
        view.account = c.account;
        TEARstatDlgForm form(data, view);
        form.ShowResult();
        if (c.toggle)
            form.TogglePeriod();
        const auto& in = form.Income();
        EXPECT_EQ(QStringList({form.PeriodText(), TEARstatDlgForm::Amount(in.gross[0]),
                               TEARstatDlgForm::Amount(in.gross[1]),
                               TEARstatDlgForm::Amount(form.Expenses().gross[2]),
                               form.ResultLabel(), TEARstatDlgForm::Amount(form.Result()[2])}),
                  QStringList({c.period, c.bankGross, c.cashGross, c.expenseGross, c.resultLabel,
                               c.resultGross}))
            << c.name;
    }
    JournalSelection view;
    view.month = 5;
    view.year = 2026;
    TEARstatDlgForm form(data, view);
    form.ShowResult();
    EXPECT_EQ(TEARstatDlgForm::Amount(form.Income().vat[2]), "209,70");
    EXPECT_EQ(TEARstatDlgForm::Amount(form.Income().net[2]), "1110,00");
    EXPECT_EQ(TEARstatDlgForm::Amount(form.Result()[0]), "1060,00");
    form.TogglePeriod();
    form.TogglePeriod();
    EXPECT_EQ(form.PeriodText(), "05.2026") << "the second click comes back to the month";
}
