#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "cards/CardEntryForm.h"
#include "common/NumberFormat.h"

using namespace card;

namespace {

Medication Med(const QString& article, long double net, long double gross,
               const QString& code = "1")
{
    Medication m;
    m.article = article;
    m.purchaseNet = 5;
    m.saleNet = net;
    m.saleGross = gross;
    m.vatCode = code;
    m.batch = "CH1";
    m.waitingTime = "0 Tage";
    m.code = "M7";
    return m;
}

Service Svc()
{
    Service s;
    s.name = "Untersuchung";
    s.animal = "Hund";
    s.factor = "1,5";
    s.net = 20;
    s.gross = 23.8L;
    s.vatCode = "1";
    s.gotNumber = "12";
    return s;
}

struct CardTakeOverTest : ::testing::Test {
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    CardEntryForm form{port, clock};
    CardSettings settings;

    void SetUp() override
    {
        CardState s;
        ApplyHeader(NewCardHeader("0012", 7, "Meier", "Euro"), s);
        Rows rows(1);
        rows[0].SetCell(kColDate, "01.03.2024");
        form.Load(rows, s);
        form.SetSettings(settings);
    }
    void Settings(const std::function<void(CardSettings&)>& change)
    {
        change(settings);
        form.SetSettings(settings);
    }
    QString Cell(int col, int row) const { return form.GetRows()[size_t(row)].Cell(col); }
};

}  // namespace

TEST(PackUnits, ReadFromTheArticleName)
{
    auto p = ReadPackUnits("Milbemax Tabl. 4 St.");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->size, 4);
    EXPECT_EQ(p->unit, "Tabl.");
    p = ReadPackUnits("Frontline Pip. 3 St.");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->size, 3);
    EXPECT_EQ(p->unit, "Pip.");
    p = ReadPackUnits("Novalgin 10 AMP. 2ml");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->size, 10);
    EXPECT_EQ(p->unit, "AMP.");
    EXPECT_FALSE(ReadPackUnits("Rimadyl 50 mg"));
    EXPECT_FALSE(ReadPackUnits("Tablette 4 St."));
    EXPECT_FALSE(ReadPackUnits("Tab. 1 St."));
    EXPECT_TRUE(IsPackFraction("Milbemax Tabl. 4 St.", 4));
    EXPECT_FALSE(IsPackFraction("Milbemax Tabl. 4 St.", 2));
}

TEST(Quantity, FractionsArePartsOfCentsUnlessTheyCountUnits)
{
    Quantity q;
    ASSERT_TRUE(ParseQuantity("1/3", "Rimadyl", &q));
    EXPECT_EQ(FormatFloat("0.00000", q.value), "0,33000");
    ASSERT_TRUE(ParseQuantity("3/", "", &q));
    EXPECT_EQ(q.value, 3);
    ASSERT_TRUE(ParseQuantity("1,005", "", &q));
    EXPECT_EQ(FormatFloat("0.00000", q.value), "1,01000");
    ASSERT_TRUE(ParseQuantity("1/3", "Frontline Pip. 3 St.", &q));
    EXPECT_TRUE(q.packUnits);
    EXPECT_EQ(q.value, 1.0L / 3);
    EXPECT_FALSE(ParseQuantity("1/0", "", &q));
    EXPECT_FALSE(ParseQuantity("a/2", "", &q));
    EXPECT_FALSE(ParseQuantity("", "", &q));
    EXPECT_EQ(QuantityText(2), "2");
    EXPECT_EQ(QuantityText(1.5L), "1,5");
    EXPECT_EQ(QuantityText(0.25L), "0,25");
}

TEST_F(CardTakeOverTest, MedicationFillsTheLineAndMovesOn)
{
    QList<QPair<long double, QString>> reports;
    form.SetStockReport([&](long double q, const QString& code, const QDate& date) {
        reports.push_back({q, code + "@" + date.toString("dd.MM.yyyy")});
    });
    const Medication m = Med("Rimadyl", 12.5L, 14.875L);
    form.MedicationQuantity() = "2";
    form.SetCurrentCell(kColDate, 0);
    ASSERT_TRUE(form.TakeOverMedication(&m));
    EXPECT_EQ(Cell(kColText, 0), "Rimadyl");  // quantity printing is off
    EXPECT_EQ(Cell(kColVat, 0), "1");
    EXPECT_EQ(Cell(kColAmount, 0), "25,00000");
    EXPECT_EQ(Cell(kColQuantity, 0), "2,00");
    EXPECT_EQ(Cell(kColMedCode, 0), "M7");
    EXPECT_EQ(form.CurrentRow(), 1);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].second, "M7@01.03.2024");
    ASSERT_EQ(form.LastMedications().size(), 1u);
    EXPECT_EQ(form.LastMedications()[0].batch, "CH1");

    Settings([](CardSettings& s) { s.menge1Druck = true; });
    form.State().amountMode = "Brutto";
    form.MedicationQuantity() = "1,5";
    ASSERT_TRUE(form.TakeOverMedication(&m));
    EXPECT_EQ(Cell(kColText, 1), "1,5 x  Rimadyl");
    EXPECT_EQ(Cell(kColAmount, 1), "22,31250");
    form.MedicationQuantity() = "1";
    ASSERT_TRUE(form.TakeOverMedication(&m));
    EXPECT_EQ(Cell(kColText, 2), "Rimadyl");
}

TEST_F(CardTakeOverTest, PackFractionsNameTheUnitsAndStayUnrounded)
{
    Settings([](CardSettings& s) { s.menge1Druck = true; });
    const Medication m = Med("Frontline Pip. 3 St.", 30, 35.7L);
    form.MedicationQuantity() = "1/3";
    ASSERT_TRUE(form.TakeOverMedication(&m));
    EXPECT_EQ(Cell(kColText, 0), "1 Pip. aus  Frontline Pip. 3 St.");
    EXPECT_EQ(Cell(kColAmount, 0), "10,00000");  // not 30 x 0,33
    EXPECT_EQ(Cell(kColQuantity, 0), "0,33");
}

TEST_F(CardTakeOverTest, TextGoesWhereTheCursorIsAndOnlyWhenItFits)
{
    const Medication m = Med("Rimadyl", 10, 11.9L);
    form.GetRows()[0].SetCell(kColText, "Bello: ");
    form.GetRows()[0].SetCell(kColRemark, "alt");
    form.SetCurrentCell(kColRemark, 0);
    form.TakeOverMedication(&m);
    EXPECT_EQ(Cell(kColRemark, 0), "Rimadyl alt");
    EXPECT_EQ(Cell(kColText, 0), "Bello: ");
    form.SetCurrentCell(kColText, 0);
    form.TakeOverMedication(&m);
    EXPECT_EQ(Cell(kColText, 0), "Bello: Rimadyl");
    form.SetCurrentCell(kColVat, 0);
    form.TakeOverMedication(&m);
    EXPECT_EQ(Cell(kColText, 0), "Bello: Rimadyl");

    form.GetRows()[0].SetCell(kColText, QString(94, 'x'));
    form.SetCurrentCell(kColText, 0);
    ASSERT_TRUE(form.TakeOverMedication(&m));  // 94 + 7 > 100: amount only
    EXPECT_EQ(Cell(kColText, 0), QString(94, 'x'));
    EXPECT_EQ(Cell(kColAmount, 0), "10,00000");
}

// No way into the text or remark leaves more there than the save keeps: a take-over's
// quantity or fee-schedule words and a macro go in whole or not at all.
TEST_F(CardTakeOverTest, NothingPutIntoALineIsCutWhenItIsSaved)
{
    Settings([](CardSettings& c) { c.menge1Druck = c.gotDruck = c.faktorDruck = true; });
    MemorySettings options;
    options.values[{"ShortCuts", "i"}] = "Impfung";
    const Medication m = Med("Rimadyl", 10, 11.9L);
    const Service svc = Svc();
    const struct {
        const char* name;
        int col;
        int filled;  // characters already in the column
        std::function<void()> put;
    } cases[] = {
        {"medication with its quantity", kColText, 90,
         [&] {
             form.MedicationQuantity() = "2";
             form.TakeOverMedication(&m);
         }},
        {"medication before the remark", kColRemark, 195,
         [&] {
             form.MedicationQuantity() = "1";
             form.TakeOverMedication(&m);
         }},
        {"service with fee-schedule number and factor", kColText, 70,
         [&] { form.TakeOverService(&svc); }},
        {"macro", kColText, 95, [&] { form.MacroKey('i', &options, "/daten/"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString before(c.filled, 'x');
        form.GetRows()[0] = Row{};
        form.GetRows()[0].SetCell(kColDate, "01.03.2024");
        form.GetRows()[0].SetCell(c.col, before);
        form.SetCurrentCell(c.col, 0);
        c.put();
        EXPECT_EQ(Cell(c.col, 0), before);
        Rows saved = form.GetRows();
        CutForSave(saved);
        EXPECT_EQ(saved[0].Cell(c.col), Cell(c.col, 0));
    }
}

TEST_F(CardTakeOverTest, HundredPercentRuleDoublesThePurchasePrice)
{
    form.SetHundredPercent(true);
    const Medication m = Med("Umgefüllt", 99, 99, "2");
    form.MedicationQuantity() = "3";
    form.TakeOverMedication(&m);
    EXPECT_EQ(Cell(kColAmount, 0), "30,00000");
    form.State().amountMode = "Brutto";
    form.MedicationQuantity() = "3";
    form.TakeOverMedication(&m);
    EXPECT_EQ(Cell(kColAmount, 1), "32,10000");  // x 1,07
    EXPECT_EQ(form.LastMedications()[0].quantity100, "3,00");
}

TEST_F(CardTakeOverTest, RefusalsLeaveTheAmountAlone)
{
    EXPECT_FALSE(form.TakeOverMedication(nullptr));
    EXPECT_EQ(port.LastText(), "Medikamentenliste ist leer!");
    EXPECT_FALSE(form.TakeOverService(nullptr));
    EXPECT_EQ(port.LastText(), "Liste der Leistungen ist leer!");

    const Medication m = Med("Rimadyl", 10, 11.9L);
    form.MedicationQuantity() = "1/0";
    EXPECT_FALSE(form.TakeOverMedication(&m));
    EXPECT_EQ(Cell(kColText, 0), "");

    form.MedicationQuantity() = "1";
    form.State().currency = "DM";
    EXPECT_FALSE(form.TakeOverMedication(&m));
    EXPECT_EQ(port.LastText(),
              "Fehler: Währung der Liste entspricht\r     nicht der Währung der "
              "Rechnung!");
    EXPECT_EQ(Cell(kColAmount, 0), "");
    EXPECT_EQ(form.CurrentRow(), 0);
}

TEST_F(CardTakeOverTest, CalculatorAddsUpOneLine)
{
    form.SetCalculatorMode(true);
    const Medication a = Med("Rimadyl", 10, 11.9L);
    const Medication b = Med("Metacam", 2.5L, 2.98L);
    form.MedicationQuantity() = "2";
    ASSERT_TRUE(form.TakeOverMedication(&a));
    form.MedicationQuantity() = "1";
    ASSERT_TRUE(form.TakeOverMedication(&b));
    EXPECT_EQ(form.CurrentRow(), 0);
    EXPECT_EQ(form.CurrentCol(), kColAmount);
    EXPECT_EQ(Cell(kColText, 0), "");  // texts go to the calculator list
    EXPECT_EQ(Cell(kColAmount, 0), "22,50000");
    ASSERT_EQ(form.CalculatorRows().size(), 2u);
    EXPECT_EQ(form.CalculatorRows()[0].text, "Rimadyl (2)");
    EXPECT_EQ(form.CalculatorRows()[1].amount, "2,50");
    EXPECT_EQ(form.CalculatorTotal(), "22,50");

    const Medication c = Med("Futter", 1, 1, "2");
    EXPECT_FALSE(form.TakeOverMedication(&c));
    EXPECT_EQ(port.LastText(), "Fehler: Verschiedene USt !");

    form.CalculatorToRemark();
    EXPECT_EQ(Cell(kColRemark, 0), "Rimadyl (2), Metacam (1)");
    for (int i = 0; i < 30; ++i)
        form.TakeOverMedication(&b);
    form.CalculatorToRemark();
    EXPECT_EQ(Cell(kColRemark, 0).size(), 199);
    EXPECT_TRUE(Cell(kColRemark, 0).endsWith("..."));

    form.GetRows()[1].SetCell(kColAmount, "20000,01");
    form.SetCurrentCell(kColText, 1);
    EXPECT_FALSE(form.TakeOverMedication(&a));
    EXPECT_EQ(port.LastText(), "Fehler bei Summation (Rechner),\rZahl zu groß!");
}

TEST_F(CardTakeOverTest, ServiceTextFollowsTheOptions)
{
    const Service s = Svc();
    form.ServiceQuantity() = "2";
    ASSERT_TRUE(form.TakeOverService(&s));
    EXPECT_EQ(Cell(kColText, 0), "Untersuchung");
    EXPECT_EQ(Cell(kColAmount, 0), "40,00000");
    EXPECT_EQ(Cell(kColQuantity, 0), "");

    Settings(
        [](CardSettings& c) { c.menge2Druck = c.tierDruck = c.gotDruck = c.faktorDruck = true; });
    form.ServiceQuantity() = "2";
    form.SetCurrentCell(kColRemark, 1);  // services always write column 2
    ASSERT_TRUE(form.TakeOverService(&s));
    EXPECT_EQ(Cell(kColText, 1), "2 x  Hund, Untersuchung ( GOT 12 Faktor 1,5 )");

    Service free = s;
    free.net = 0;
    free.gotNumber.clear();
    form.ServiceQuantity() = "1";
    ASSERT_TRUE(form.TakeOverService(&free));
    EXPECT_EQ(Cell(kColText, 2), "Hund, Untersuchung");
    EXPECT_EQ(Cell(kColAmount, 2), "");  // nothing to charge
    EXPECT_EQ(Cell(kColVat, 2), "");
}

TEST_F(CardTakeOverTest, SumResetsTheQuantityFields)
{
    form.MedicationQuantity() = "3";
    form.ServiceQuantity() = "1/2";
    form.Sum();
    EXPECT_EQ(form.MedicationQuantity(), "1,00");
    EXPECT_EQ(form.ServiceQuantity(), "1,00");
}
