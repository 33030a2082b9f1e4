#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "cards/CardEntryForm.h"

using namespace card;

namespace {

Row Line(const QString& date, const QString& code = {}, const QString& amount = {},
         const QString& mark = {})
{
    Row r;
    r.SetCell(kColDate, date);
    r.SetCell(kColVat, code);
    r.SetCell(kColAmount, amount);
    r.SetCell(kColBS, mark);
    return r;
}

struct CardEntryFormTest : ::testing::Test {
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    CardEntryForm form{port, clock};

    void SetUp() override { Open({}); }

    void Open(Rows rows, const QString& invoiceDate = "- - -")
    {
        CardState s;
        QStringList h = NewCardHeader("0012", 7, "Meier", "Euro");
        h[kHdrInvoiceDate] = invoiceDate;
        ApplyHeader(h, s);
        form.Load(std::move(rows), s);
    }

    // Types the characters into the current cell, starting from its stored text.
    QString Type(int col, int row, const QString& keys)
    {
        form.SetCurrentCell(col, row);
        QString text = form.GetRows()[size_t(row)].Cell(col);
        int cursor = int(text.size());
        for (QChar ch : keys) {
            const KeyDecision d = form.KeyPress(text, cursor, EditorKey::Char(ch));
            text = d.text;
            cursor = d.cursor;
        }
        return text;
    }
    KeyDecision Press(int col, int row, EditorKey::Kind kind)
    {
        form.SetCurrentCell(col, row);
        const QString text = form.GetRows()[size_t(row)].Cell(col);
        return form.KeyPress(text, int(text.size()), EditorKey::Of(kind));
    }
    QString Cell(int col, int row) const { return form.GetRows()[size_t(row)].Cell(col); }
};

}  // namespace

TEST_F(CardEntryFormTest, DateVatAndMarkColumnsAcceptOnlyTheirCharacters)
{
    EXPECT_EQ(Type(kColDate, 0, "1,2x.24"), "1.2.24");
    EXPECT_EQ(Press(kColDate, 1, EditorKey::Today).text, "15.03.2024");
    EXPECT_FALSE(Press(kColText, 1, EditorKey::Today).accepted);
    EXPECT_EQ(Type(kColVat, 0, "2"), "2");
    EXPECT_EQ(Type(kColVat, 0, "3"), "3");  // the cell holds one character
    EXPECT_EQ(Type(kColVat, 0, "4a"), "3");

    KeyDecision d = form.KeyPress("", 0, EditorKey::Char('s'));  // still in column 3
    EXPECT_FALSE(d.accepted);
    form.SetCurrentCell(kColBS, 0);
    d = form.KeyPress("", 0, EditorKey::Char('b'));
    EXPECT_TRUE(d.accepted);
    EXPECT_TRUE(d.bookingRequested);
    EXPECT_EQ(Cell(kColBS, 0), "B");
    d = form.KeyPress("B", 1, EditorKey::Char('S'));  // a marked line does not react again
    EXPECT_FALSE(d.accepted);
    EXPECT_TRUE(form.IsModified());
}

TEST_F(CardEntryFormTest, AmountColumnRules)
{
    EXPECT_EQ(Type(kColAmount, 0, "12.5,3"), "12,53");
    EXPECT_EQ(Cell(kColVat, 0), "1");  // a typed amount brings the default code
    EXPECT_EQ(Type(kColAmount, 1, "-1-2a"), "-12");
    EXPECT_EQ(Type(kColAmount, 2, "1234567"), "123456");  // 1234567,00 is too wide
    form.GetRows()[3].SetCell(kColAmount, "1 2");
    EXPECT_EQ(Type(kColAmount, 3, "3"), "123");

    form.SetCalculatorMode(true);
    EXPECT_EQ(Type(kColAmount, 4, "5"), "");
}

// Typing and pasting stop where the save would cut: 100 characters of text, 199 of remark.
TEST_F(CardEntryFormTest, TextColumnsStopWhereTheSaveCutsAndAtTheLineWidth)
{
    for (const auto& [col, limit] : {std::pair{kColText, 100}, std::pair{kColRemark, 199}}) {
        SCOPED_TRACE(col);
        form.GetRows()[0].SetCell(col, QString(limit - 1, 'a'));
        EXPECT_EQ(Type(col, 0, "bc").size(), limit);
        EXPECT_FALSE(Press(col, 0, EditorKey::Paste).accepted);
        EXPECT_TRUE(Press(col, 0, EditorKey::Cut).accepted);
        EXPECT_TRUE(Press(col, 0, EditorKey::Backspace).accepted);
        EXPECT_EQ(Cell(col, 0).size(), limit - 1);
    }

    form.SetLineStop(true, [](const QString& text) { return text.size() >= 5; });
    EXPECT_EQ(Type(kColText, 1, "abcdef"), "abcd");
    EXPECT_EQ(Type(kColRemark, 1, "abcdef"), "abcdef");  // the stop is for the text only
}

TEST_F(CardEntryFormTest, InvoicedCardIsReadOnlyExceptAnOpenedRemark)
{
    Open({}, "01.03.2024");
    EXPECT_EQ(Type(kColText, 0, "x"), "");
    EXPECT_EQ(Type(kColRemark, 0, "x"), "");
    CardSettings s;
    s.remarkAlwaysEditable = true;
    form.SetSettings(s);
    EXPECT_EQ(Type(kColRemark, 0, "x"), "x");
    Medication m;
    m.article = "Rimadyl";
    m.saleNet = 10;
    EXPECT_FALSE(form.TakeOverMedication(&m));
    EXPECT_EQ(form.GetRows()[0].Cell(kColText), "");
}

TEST_F(CardEntryFormTest, BookedCashLinesAreLockedUnderGobd)
{
    Open({Line("01.03.2024", "1", "10,00000", "B"), Line("", "1", "5,00000 ", "S")});
    EXPECT_EQ(Type(kColAmount, 0, "1"), "10,00000");
    const KeyDecision d = Press(kColAmount, 0, EditorKey::Backspace);
    EXPECT_FALSE(d.accepted);
    EXPECT_EQ(d.text, "10,00000");
    EXPECT_EQ(port.LastText(),
              "B/S-Eintrag bereits gebucht!\r\rBerichtigungsbuchung bitte "
              "manuell\rim Stapeldruck/Einahmen vornehmen!");
    EXPECT_FALSE(Press(kColBS, 0, EditorKey::Delete).accepted);
    // A trailing blank in the amount exempts the line.
    EXPECT_EQ(Type(kColText, 1, "x"), "x");

    CardSettings off;
    off.gobdRestrictions = false;
    form.SetSettings(off);
    EXPECT_FALSE(form.BsChanged());
    EXPECT_EQ(Type(kColAmount, 0, "1"), "10,000001");
    EXPECT_TRUE(form.BsChanged());
}

TEST_F(CardEntryFormTest, LockMessageOnlyWithoutPaymentLines)
{
    Open({Line("01.03.2024", "1", "10,00000", "B")});
    PadSummary(form.State().summary);
    form.State().summary << "1,00 Euro   am 01.03.2024,  bar";
    EXPECT_FALSE(Press(kColAmount, 0, EditorKey::Backspace).accepted);
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(CardEntryFormTest, LeavingADateChecksOrderAndFuture)
{
    Open({Line("01.02.2024"), Line(""), Line("10.02.2024")});
    Type(kColDate, 1, "5.2.24");
    form.LeaveCell();
    EXPECT_EQ(Cell(kColDate, 1), "05.02.2024");
    EXPECT_TRUE(port.messages.isEmpty());

    for (const QString& typed : {QString("31.1.24"), QString("11.2.24")}) {
        form.GetRows()[1].SetCell(kColDate, typed);
        form.LeaveCell();
        EXPECT_EQ(Cell(kColDate, 1), "");
        EXPECT_EQ(port.LastText(),
                  "Datum passt nicht in zeitlichen Rahmen!\rDie Behandlungen "
                  "müssen zeitlich geordnet sein.");
    }
    form.GetRows()[1].SetCell(kColDate, "31.2.24");  // no date: cleared without a word
    port.messages.clear();
    form.LeaveCell();
    EXPECT_EQ(Cell(kColDate, 1), "");
    EXPECT_TRUE(port.messages.isEmpty());

    form.SetCurrentCell(kColDate, 3);
    form.GetRows()[3].SetCell(kColDate, "16.03.2024");  // tomorrow
    form.LeaveCell();
    EXPECT_EQ(Cell(kColDate, 3), "");
    EXPECT_EQ(port.LastText(), "Datum liegt in der Zukunft !?");
}

TEST_F(CardEntryFormTest, LeavingAnAmountFormatsOrClearsAndEndsCalculatorMode)
{
    Type(kColAmount, 0, "12,5");
    form.LeaveCell();
    EXPECT_EQ(Cell(kColAmount, 0), "12,50000");
    form.GetRows()[1] = Line("", "2", "-");
    form.SetCurrentCell(kColAmount, 1);
    form.SetCalculatorMode(true);
    form.LeaveCell();
    EXPECT_EQ(Cell(kColAmount, 1), "");
    EXPECT_EQ(Cell(kColVat, 1), "");
    EXPECT_FALSE(form.CalculatorMode());
}

TEST_F(CardEntryFormTest, ShiftEnterGoesToTheNextLine)
{
    Press(kColRemark, 9, EditorKey::ShiftEnter);
    EXPECT_EQ(form.CurrentCol(), kColDate);
    EXPECT_EQ(form.CurrentRow(), 10);
    EXPECT_EQ(form.GetRows().size(), 11u);
}

TEST_F(CardEntryFormTest, NetGrossSwitchUsesTheRateOfEachLinesDate)
{
    Open({Line("15.12.2007", "1", "10"), Line("10.01.2008", "1", "10"), Line("", "7", "10"),
          Line("", "2", "abc")});
    ASSERT_TRUE(form.SwitchNetGross());
    EXPECT_EQ(form.State().amountMode, "Brutto");
    EXPECT_EQ(Cell(kColAmount, 0), "11,60000");
    EXPECT_EQ(Cell(kColAmount, 1), "11,90000");
    EXPECT_EQ(Cell(kColVat, 2), "1");
    EXPECT_EQ(Cell(kColAmount, 2), "11,90000");
    EXPECT_EQ(Cell(kColAmount, 3), "");
    EXPECT_EQ(Cell(kColVat, 3), "");
    ASSERT_TRUE(form.SwitchNetGross());
    EXPECT_EQ(Cell(kColAmount, 0), "10,00000");
    EXPECT_EQ(form.State().amountMode, "Netto");

    Open({Line("", "1", "10")});
    form.SwitchNetGross();
    EXPECT_EQ(Cell(kColAmount, 0), "11,90000");  // today's rate
    EXPECT_EQ(port.LastText(),
              "Fehler in Kartei Nr. 0012/007\r(Zeile 1): Kein gültiges Datum vorhanden!");

    form.SetCalculatorMode(true);
    EXPECT_FALSE(form.SwitchNetGross());
    EXPECT_FALSE(form.SwitchCurrency());
    EXPECT_EQ(port.LastText(), "Funktion bei eingeschaltetem\rRechner-Modus nicht möglich!");
}

TEST_F(CardEntryFormTest, CurrencySwitchConvertsAmountsFeesAndOpenAmount)
{
    Open({Line("01.03.2024", "1", "100")}, "05.03.2024");
    CardState& s = form.State();
    form.Sum();
    s.openAmountExact = "119,00";
    s.reminder1 = true;
    s.summary[kSumFee1] = "5,00000";
    s.summary[kSumFee2] = "10,00000";  // second reminder not set: stays
    ASSERT_TRUE(form.SwitchCurrency());
    EXPECT_EQ(s.currency, "DM");
    EXPECT_EQ(Cell(kColAmount, 0), "195,58300");
    EXPECT_EQ(s.invoiceGross, "232,74");
    EXPECT_EQ(s.summary[kSumFee1], "9,77915");
    EXPECT_EQ(s.summary[kSumFee2], "10,00000");
    // 232,74 is not above 119 x 1,95583 = 232,74: the open amount is converted.
    EXPECT_EQ(s.openAmountExact, "232,74377");
    EXPECT_EQ(s.openAmount, "232,74");

    // More open than the invoice: reminded, it is converted; else the invoice gross.
    s.openAmountExact = "300";
    ASSERT_TRUE(form.SwitchCurrency());
    EXPECT_EQ(s.currency, "Euro");
    EXPECT_EQ(s.invoiceGross, "119,00");
    EXPECT_EQ(s.openAmountExact, "153,38756");
    s.reminder1 = false;
    form.SwitchCurrency();
    s.openAmountExact = "300";
    form.SwitchCurrency();
    EXPECT_EQ(s.openAmountExact, "119,00");
    // Less open than the invoice without payments: the invoice gross; with payments converted.
    form.SwitchCurrency();
    s.openAmountExact = "100";
    form.SwitchCurrency();
    EXPECT_EQ(s.openAmountExact, "119,00");
    form.SwitchCurrency();
    s.openAmountExact = "100";
    PadSummary(s.summary);
    s.summary << "1,00 DM   am 06.03.2024,  bar";
    form.SwitchCurrency();
    EXPECT_EQ(s.openAmountExact, "51,12919");
}

TEST_F(CardEntryFormTest, CopyAndInsertACard)
{
    Row med = Line("01.03.2024", "1", "11,9");
    med.SetCell(kColText, "Rimadyl");
    med.SetCell(kColBS, "B");
    med.SetCell(kColRemark, "Bem");
    med.SetCell(kColQuantity, "2,00");
    med.SetCell(kColMedCode, "M1");
    Open({med});
    form.State().amountMode = "Brutto";
    EXPECT_FALSE(form.CanInsert());
    ASSERT_TRUE(form.CopyCard());
    EXPECT_FALSE(form.IsModified());
    EXPECT_EQ(Cell(kColAmount, 0), "10,00000");  // switched to net first

    EXPECT_FALSE(form.InsertCopiedCard());  // not into a card with content
    EXPECT_EQ(port.LastText(), "Kopie nur in leere Karte möglich.\rDer Vorgangs wird abgebrochen!");

    Open({});
    form.State().currency = "DM";
    ASSERT_TRUE(form.InsertCopiedCard());
    EXPECT_EQ(Cell(kColText, 0), "Rimadyl");
    EXPECT_EQ(Cell(kColAmount, 0), "10,00000");
    EXPECT_EQ(Cell(kColBS, 0), "");
    EXPECT_EQ(Cell(kColRemark, 0), "Bem");
    EXPECT_EQ(Cell(kColQuantity, 0), "");
    EXPECT_EQ(Cell(kColMedCode, 0), "");
    EXPECT_TRUE(form.GetRows()[1].IsEmpty());
    EXPECT_EQ(Cell(kColRemark, 2), "Kopie der Karteikarte: 0012/007 (ohne Inventurübernahme) !");
    EXPECT_EQ(form.State().currency, "Euro");
    EXPECT_FALSE(form.CanInsert());
}

TEST_F(CardEntryFormTest, ClearCardNeedsBothAnswers)
{
    Open({Line("01.03.2024", "1", "10")});
    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(form.ClearCard());
    port.QueueAnswer(Answer::Ok);
    port.QueueAnswer(Answer::No);
    EXPECT_FALSE(form.ClearCard());
    EXPECT_EQ(Cell(kColAmount, 0), "10");
    EXPECT_TRUE(form.ClearCard());
    EXPECT_FALSE(form.HasContent());
    EXPECT_EQ(form.State().totalGross, "0,00");
    EXPECT_EQ(port.messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(port.LastText(), "Soll alles gelöscht werden?");
}

TEST_F(CardEntryFormTest, MacroKeyInsertsItsTextOnce)
{
    MemorySettings options;
    options.values[{"ShortCuts", "i"}] = "Impfung";
    form.SetMacroMode(true);
    form.SetCurrentCell(kColDate, 0);
    EXPECT_TRUE(form.MacroKey('i', &options, "/daten/"));
    EXPECT_FALSE(form.MacroMode());
    EXPECT_EQ(Cell(kColText, 0), "Impfung");

    form.SetLineStop(true, [](const QString& text) { return text.size() >= 10; });
    EXPECT_TRUE(form.MacroKey('i', &options, "/daten/"));
    EXPECT_EQ(Cell(kColText, 0), "ImpfungIm");
    EXPECT_FALSE(form.MacroKey('x', &options, "/daten/"));

    form.SetCurrentCell(kColRemark, 0);
    EXPECT_TRUE(form.MacroKey('i', &options, "/daten/"));
    EXPECT_TRUE(form.MacroKey('i', &options, "/daten/"));
    EXPECT_EQ(Cell(kColRemark, 0), "Impfung Impfung");
    form.GetRows()[0].SetCell(kColRemark, QString(195, 'r'));
    EXPECT_FALSE(form.MacroKey('i', &options, "/daten/"));  // over 200 characters

    EXPECT_FALSE(form.MacroKey('i', nullptr, "/daten/"));
    EXPECT_EQ(port.LastText(), "Datei /daten/TLV.INI existiert nicht! ");

    options.failWrites = true;
    WriteLineStop(options, true, port);
    EXPECT_EQ(port.LastText(), "Fehler");
}
