#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QTemporaryDir>

#include "TestFiles.h"
#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/CardRegisters.h"
#include "common/CodePage.h"

using namespace card;

namespace {

CardState OpenCard()
{
    CardState s;
    EXPECT_TRUE(ApplyHeader(NewCardHeader("0012", 7, "Meier Anna, 12345 Dorf", "Euro"), s));
    return s;
}

Row MakeRow(const QString& date, const QString& text, const QString& amount = {},
            const QString& remark = {})
{
    Row r;
    r.SetCell(kColDate, date);
    r.SetCell(kColText, text);
    r.SetCell(kColAmount, amount);
    r.SetCell(kColRemark, remark);
    return r;
}

}  // namespace

TEST(CardFile, NamesKeysAndCaseInsensitiveLookup)
{
    EXPECT_EQ(FileName("0012", 7), "K0012007.KAR");
    EXPECT_EQ(Key("0012", 7), "0012/007");
    EXPECT_EQ(FileName("0012", 999), "K0012999.KAR");
    EXPECT_EQ(NamedPath(u"/p/DATEN/", "0012", 0), "/p/DATEN/K0012000.KAR");
    EXPECT_EQ(NamedPath(u"/p/DATEN/", "0012", 1000), "/p/DATEN/K00121000.KAR");

    QTemporaryDir dir;
    testfiles::WriteAll(dir.filePath("k0012007.kar"), "");
    EXPECT_EQ(FilePath(dir.path(), "0012", 7), dir.filePath("k0012007.kar"));
    EXPECT_TRUE(Exists(dir.path(), "0012", 7));
    EXPECT_FALSE(Exists(dir.path(), "0012", 8));
    EXPECT_EQ(FilePath(dir.path(), "0012", 8), dir.filePath("K0012008.KAR"));
}

TEST(CardFile, RowsReadShortLinesAndWriteEightCells)
{
    const Row r = RowFromLine("01.02.2024\tBello\t1\t");
    EXPECT_EQ(r.Cell(kColText), "Bello");
    EXPECT_EQ(r.Cell(kColAmount), "");
    EXPECT_EQ(LineFromRow(r), "01.02.2024\tBello\t1\t\t\t\t\t\t");
    // Text after the eighth cell is ignored.
    EXPECT_EQ(RowFromLine("a\tb\tc\td\te\tf\tg\th\tsurplus\t").Cell(kColMedCode), "h");
    EXPECT_TRUE(RowFromLine("\t\t\t\t\t\t\t\t\t").IsEmpty());
}

TEST(CardFile, SaveCutsTextTo100AndRemarkTo200)
{
    Rows rows{MakeRow("01.02.2024", QString(150, 'x'), {}, QString(250, 'r'))};
    CutForSave(rows);
    EXPECT_EQ(rows[0].Cell(kColText), QString(100, 'x'));
    EXPECT_EQ(rows[0].Cell(kColRemark), QString(200, 'r'));
}

TEST(CardFile, CardContainsSearchesTreatmentLinesOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("K0001001.KAR");
    testfiles::WriteLines(path, {"01.02.2024\tImpfung Bello\t1\t", "---KOPF---", "0001/001",
                                 QString::fromUtf8("Müller Hans, Köln")});
    EXPECT_TRUE(CardContains(path, "IMPFUNG", true));
    EXPECT_TRUE(CardContains(path, QString::fromUtf8("MÜLLER"), false));
    EXPECT_FALSE(CardContains(path, QString::fromUtf8("MÜLLER"), true));
    EXPECT_FALSE(CardContains(dir.filePath("missing.KAR"), "IMPFUNG", false));
}

// The search compares with the upper-cased card text, where "ß" becomes "SS": what the
// person types is upper-cased the same way.
TEST(CardFile, CardSearchMatchesTheUpperCasedText)
{
    struct Case {
        const char* card;
        const char* typed;
        bool found;
    };
    const Case cases[] = {
        {"Verband Straße", "STRASSE", true},
        {"Verband STRASSE", "straße", true},
        {"Verband Strasse", "Straße", true},
        {"Verband Straße", "strase", false},
        {"Maß 2", "MASS 2", true},
        {"Salbe 5 µg", "5 µG", true},
        {"Ÿvonne", "ÿvonne", true},
        {"Œdem", "œdem", true},
        {"Tetanus\t---KOPF---", "TETANUS", true},  // no marker inside a line
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("K0001001.KAR");
    for (const Case& c : cases) {
        testfiles::WriteLines(path, {QStringLiteral("01.02.2024\t") + QString::fromUtf8(c.card),
                                     "---KOPF---", "0001/001", "Verband"});
        EXPECT_EQ(CardContains(path, QString::fromUtf8(c.typed).toUpper(), true), c.found)
            << c.card << " / " << c.typed;
    }
    // Every character of the code page, as the whole decoded text upper-cased finds it;
    // once with "ß", once without.
    for (const bool withSharpS : {true, false}) {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            if (b != '\r' && b != '\n' && (withSharpS || b != 0xDF))
                all += char(b);
        testfiles::WriteAll(path, all);
        for (qsizetype i = 0; i + 3 <= all.size(); ++i) {
            const QString typed = cp1252::Decode(all.mid(i, 3)).toUpper();
            ASSERT_TRUE(CardContains(path, typed, false)) << i << withSharpS;
            ASSERT_FALSE(CardContains(path, typed + typed, false)) << i << withSharpS;
        }
    }
}

TEST(CardHeader, NewCardHasTheFourteenFixedLines)
{
    const QStringList h = NewCardHeader("0012", 1, "Meier Anna, 12345 Dorf", "DM");
    EXPECT_EQ(h, QStringList({"0012/001", "Meier Anna, 12345 Dorf", "0012", "0,00", "0,00", "0,00",
                              "0,00", "0,00", "- - -", "- - -", "DM", "Netto", "FALSE", "FALSE"}));
}

TEST(CardHeader, CustomerTextOfPharmacyAndRemark)
{
    EXPECT_EQ(CustomerText("Meier", "Anna", "12345 Dorf", ""), "Meier Anna, 12345 Dorf");
    EXPECT_EQ(CustomerText("Meier", "Anna", "12345 Dorf", "Hund"),
              "Meier Anna, 12345 Dorf,    Bem.: Hund");
    EXPECT_EQ(CustomerText("Meier", "Anna", "12345 Dorf", "(A) Hof"),
              "(A) Meier Anna, 12345 Dorf,    Bem.: (A) Hof");
    EXPECT_TRUE(IsDispensingCustomer("(A) Hof"));
    EXPECT_FALSE(IsDispensingCustomer(" (A)"));
}

TEST(CardHeader, ValidationRefusesBrokenKeysNumbersAndShortHeaders)
{
    const QStringList good = NewCardHeader("0012", 1, "x", "Euro");
    EXPECT_TRUE(ValidateHeader(good));
    QStringList h = good;
    h[0] = "0012-0x1";
    EXPECT_FALSE(ValidateHeader(h));
    h = good;
    h[0] = "001a/001";
    EXPECT_FALSE(ValidateHeader(h));
    for (int line = 2; line <= 7; ++line) {
        h = good;
        h[line] = "- - -";
        EXPECT_FALSE(ValidateHeader(h)) << line;
    }
    EXPECT_FALSE(ValidateHeader(good.mid(0, 13)));
    EXPECT_FALSE(ValidateHeader({}));

    CardState s = OpenCard();
    EXPECT_FALSE(ApplyHeader(h, s));
    EXPECT_EQ(s.key, "0012/007");  // untouched
}

TEST(CardHeader, ApplyOpenCard)
{
    const CardState s = OpenCard();
    EXPECT_FALSE(s.IsInvoiced());
    EXPECT_EQ(s.CardNumber(), 7);
    EXPECT_EQ(s.openAmount, "- - -");
    EXPECT_EQ(s.openAmountExact, "- - -");
    EXPECT_FALSE(s.remindersEnabled);
    EXPECT_EQ(s.reminderLabel, "        - - - ");
    EXPECT_TRUE(s.summary.isEmpty());
    EXPECT_EQ(BuildHeader(s), NewCardHeader("0012", 7, "Meier Anna, 12345 Dorf", "Euro"));
}

TEST(CardHeader, ApplyInvoicedCardWithRemindersAndPayments)
{
    QStringList h = NewCardHeader("0012", 3, "Meier", "Euro");
    h[7] = "119,00";
    h[8] = "05.02.2024";
    h[9] = "49,005";
    h[11] = "Brutto";
    h[12] = "TRUE";
    h[13] = "TRUE";
    QStringList summary;
    for (int i = 0; i < 16; ++i)
        summary << "0";
    summary << "5,00000"
            << "01.03.2024"
            << "10,00000"
            << "15.03.2024";
    summary << "50,00 Euro   am 20.02.2024,  bar";
    summary << "10,00 Euro   am 21.02.2024,  Überw.";
    summary << "5,00 Euro   am 02.04.2024,  Scheck";
    summary << "5,00 Euro  ausgebucht am 03.05.2024";
    h += summary;

    CardState s;
    ASSERT_TRUE(ApplyHeader(h, s));
    EXPECT_TRUE(s.IsInvoiced());
    EXPECT_TRUE(s.IsGross());
    EXPECT_EQ(s.openAmount, "49,01");
    EXPECT_EQ(s.openAmountExact, "49,005");
    EXPECT_TRUE(s.remindersEnabled);
    EXPECT_EQ(s.reminder1Hint, "01.03.2024");
    EXPECT_EQ(s.reminderLabel, "2 am   15.03.2024");
    EXPECT_EQ(PaymentLines(s.summary).size(), 3);
    EXPECT_EQ(PaymentMonths(PaymentLines(s.summary)),
              QList<QDate>({QDate(2024, 2, 1), QDate(2024, 4, 1)}));
    EXPECT_EQ(BuildHeader(s), h);

    h[9] = "0,004";
    h[13] = "FALSE";
    ASSERT_TRUE(ApplyHeader(h, s));
    EXPECT_FALSE(s.remindersEnabled);
    EXPECT_EQ(s.reminderLabel, "1 am   01.03.2024");
    h[9] = "kaputt";
    ASSERT_TRUE(ApplyHeader(h, s));
    EXPECT_EQ(s.openAmount, "- - -");
}

TEST(CardHeader, CopiedFileKeyIsCorrected)
{
    QStringList h = NewCardHeader("0012", 4, "x", "Euro");
    EXPECT_TRUE(CorrectHeaderKey(h, 9));
    EXPECT_EQ(h[0], "0012/009");
    EXPECT_FALSE(CorrectHeaderKey(h, 9));
}

TEST(CardHeader, PaymentLinesForARelease)
{
    PaymentLine p;
    ASSERT_TRUE(ParsePaymentLine("50,00 DM   am 20.02.2024,  bar", &p));
    EXPECT_EQ(p.amount, 50);
    EXPECT_EQ(p.currency, "DM");
    EXPECT_TRUE(p.cash);
    ASSERT_TRUE(ParsePaymentLine("12,5", &p));
    EXPECT_EQ(p.currency, "Euro");
    EXPECT_FALSE(p.cash);
    ASSERT_TRUE(ParsePaymentLine(QString::fromUtf8("1,00 Euro   am 20.02.2024,  Überw."), &p));
    EXPECT_FALSE(p.cash);
    EXPECT_FALSE(ParsePaymentLine("x Euro", &p));
    EXPECT_FALSE(PaymentDate("5,00 Euro  ausgebucht am 03.05.2024").isValid());
}

TEST(CardRegisters, OpenCardGoesToTheInvoiceRegisterUnlessEmptyOrQuote)
{
    CardState s = OpenCard();
    s.invoiceGross = "23,80";
    Rows rows{MakeRow("01.02.2024", "a", "10"), MakeRow("", "b", "10"),
              MakeRow("03.02.2024", "c", "0"), MakeRow("", "")};
    const QDate today(2024, 3, 15);
    RegisterChanges c = RegisterChangesFor(s, rows, today, "Euro", 1.95583L);
    EXPECT_EQ(c.invoiceLine, "+0012/007\tMeier Anna, 12345 Dorf\t0012\t03.02.2024\t23,80\t\t");
    EXPECT_EQ(c.dunningLine, "-0012/007\t");

    // No dated line: today. A DM card in a Euro system: converted, five decimals.
    s.currency = "DM";
    c = RegisterChangesFor(s, {MakeRow("", "a", "1")}, today, "Euro", 1.95583L);
    EXPECT_EQ(c.invoiceLine, "+0012/007\tMeier Anna, 12345 Dorf\t0012\t15.03.2024\t12,16875\t\t");

    rows.back().SetCell(kColRemark, "Angebot am 04.02.2024");
    EXPECT_EQ(RegisterChangesFor(s, rows, today, "Euro", 1.95583L).invoiceLine, "-0012/007\t");
    s.invoiceGross = "0,00";
    EXPECT_EQ(RegisterChangesFor(s, {}, today, "Euro", 1.95583L).invoiceLine, "-0012/007\t");
}

TEST(CardRegisters, InvoicedCardGoesToTheDunningRegisterWhileAmountIsOpen)
{
    CardState s = OpenCard();
    s.invoiceDate = "05.02.2024";
    s.invoiceGross = "119,00";
    s.openAmountExact = "19,00000";
    s.reminder1 = true;
    RegisterChanges c = RegisterChangesFor(s, {}, QDate(2024, 3, 15), "Euro", 1.95583L);
    EXPECT_EQ(c.invoiceLine, "-0012/007\t");
    EXPECT_EQ(c.dunningLine,
              "+0012/007\tMeier Anna, 12345 Dorf\t0012\t05.02.2024\t119,00\t19,00000\tX\t\t\t");

    s.openAmountExact = "0,004";  // rounds to 0,00
    EXPECT_EQ(RegisterChangesFor(s, {}, QDate(), "Euro", 2).dunningLine, "-0012/007\t");
}
