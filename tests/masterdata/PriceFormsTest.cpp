#include <gtest/gtest.h>

#include "FormTestUtil.h"
#include "masterdata/BookingForm.h"
#include "masterdata/MedicationForm.h"
#include "masterdata/ServiceForm.h"
#include "support/ScriptedUserPort.h"

TEST(PriceField, TypingRules)
{
    MedicationForm f(EditMode::Insert, Settings());
    const int id = MedicationForm::EinkNetto;
    EXPECT_EQ(Type(f, id, "12.5"), "");
    EXPECT_EQ(f.Text(id), "12,5");
    EXPECT_EQ(Type(f, id, ",a-"), ",a-");  // a second comma, letters and signs are refused
    EXPECT_EQ(Retype(f, id, "1234567"), "7");
    EXPECT_EQ(f.Text(id), "123456");
    EXPECT_EQ(Type(f, id, ",789"), "9");  // two decimals after six digits
    EXPECT_EQ(f.Text(id), "123456,78");
    Retype(f, id, "123456");
    f.Field(id).SelectAll();
    EXPECT_EQ(Type(f, id, "7"), "");  // typing over a selection replaces it
    EXPECT_EQ(f.Text(id), "7");
    EXPECT_TRUE(f.KeyPress(id, kKeyBackspace));
    EXPECT_EQ(f.Text(id), "");
}

TEST(PriceField, DigitsBeforeTheCommaAndDecimals)
{
    BookingForm f(EditMode::Insert, Settings(), true, QDate());
    const int id = BookingForm::EinnNetto;  // ten characters: room for a third decimal
    EXPECT_EQ(Type(f, id, "123456,789"), "9");
    EXPECT_EQ(f.Text(id), "123456,78");
    Retype(f, id, "12,3456");  // fewer digits before the comma: decimals are free
    EXPECT_EQ(f.Text(id), "12,3456");
    f.Field(id).SetText("123456,");
    f.Field(id).cursor = 0;
    EXPECT_EQ(Type(f, id, "9"), "9");  // no seventh digit before the comma
}

TEST(PriceField, LeavingFormatsOrKeepsFocus)
{
    FormField field;
    field.SetText("");
    EXPECT_TRUE(LeavePriceField(field));
    EXPECT_EQ(field.text, "0,00");
    field.SetText("5,5");
    EXPECT_TRUE(LeavePriceField(field));
    EXPECT_EQ(field.text, "5,50");
    field.SetText("999999,99");
    EXPECT_TRUE(LeavePriceField(field));
    field.SetText("999999,995");
    EXPECT_FALSE(LeavePriceField(field));
    EXPECT_EQ(field.text, "999999,995");
    field.SetText(",");
    EXPECT_FALSE(LeavePriceField(field));
}

TEST(MedicationForm, GrossFollowsNetAndCode)
{
    MedicationForm f(EditMode::Insert, Settings());
    Type(f, MedicationForm::VerkNetto, "10");
    EXPECT_EQ(f.Text(MedicationForm::VerkMitSt), "11,90");
    Retype(f, MedicationForm::Ust, "2");
    EXPECT_EQ(f.Text(MedicationForm::VerkMitSt), "10,70");
    EXPECT_EQ(f.UstRateLabel(), "7,0");
    Retype(f, MedicationForm::Ust, "7");
    EXPECT_EQ(f.UstRateLabel(), "---");
    Retype(f, MedicationForm::VerkNetto, "");
    EXPECT_EQ(f.Text(MedicationForm::VerkMitSt), "");
    EXPECT_FALSE(f.KeyPress(MedicationForm::VerkMitSt, '1'));  // computed, not typed
    EXPECT_TRUE(f.Leave(MedicationForm::VerkNetto));
    EXPECT_EQ(f.Text(MedicationForm::VerkNetto), "0,00");
}

TEST(MedicationForm, AmpvButtonAndHumanPreparation)
{
    MedicationForm f(EditMode::Insert, Settings());
    Type(f, MedicationForm::Artikel, "Aspirin");
    Type(f, MedicationForm::EinkNetto, "10");
    f.AmpvClick();
    EXPECT_EQ(f.Text(MedicationForm::EinkNetto), "10,00");
    EXPECT_EQ(f.Text(MedicationForm::VerkNetto), "14,80");
    EXPECT_EQ(f.Text(MedicationForm::VerkMitSt), "17,61");
    f.SetHumanpraep(true);
    EXPECT_EQ(f.Text(MedicationForm::Bem), "(H) ");
    EXPECT_EQ(f.Text(MedicationForm::Artikel), "Aspirin -Humanpräparat-");
    EXPECT_EQ(f.TakeFocusRequest(), MedicationForm::Artikel);
    f.AmpvClick();
    EXPECT_EQ(f.Text(MedicationForm::VerkNetto), "18,40");
    f.SetHumanpraep(false);
    EXPECT_EQ(f.Text(MedicationForm::Bem), "");
    EXPECT_EQ(f.Text(MedicationForm::Artikel), "Aspirin");
}

TEST(MedicationForm, HumanPreparationMarksAndCuts)
{
    MedicationForm f(EditMode::Edit, Settings());
    f.Load({QString(60, 'x') + "Humanpräparat", "1,00", "2,00", "2,38", "1", "", "", "(B) Rest"});
    EXPECT_TRUE(f.Humanpraep());
    f.SetHumanpraep(false);
    EXPECT_EQ(f.Text(MedicationForm::Artikel), QString(60, 'x'));
    f.SetHumanpraep(true);
    EXPECT_EQ(f.Text(MedicationForm::Bem), "(B) (H)  Rest");
    EXPECT_EQ(f.Text(MedicationForm::Artikel).size(), 70);  // cut after the suffix
    MedicationForm g(EditMode::Edit, Settings());
    g.Load({"Mittel", "", "", "", "1", "", "", "Info (H)"});
    EXPECT_TRUE(g.Humanpraep());
    g.SetHumanpraep(false);
    EXPECT_EQ(g.Text(MedicationForm::Bem), "Info ");  // only the mark goes
}

TEST(MedicationForm, DuplicateNameRefused)
{
    const QStringList lines{"Aspirin\t1,00\t", "Baytril\t2,00\t", "Zylexis\t3,00\t"};
    RecordLinesView table(lines);
    ScriptedUserPort port;
    MedicationForm f(EditMode::Insert, Settings());
    Type(f, MedicationForm::Artikel, "BAYTRIL");
    EXPECT_FALSE(f.CheckOk(port, table));
    EXPECT_EQ(port.LastText(), "Fehler: Datensatz (Medikament) existiert bereits!");
    Retype(f, MedicationForm::Artikel, "Baytril forte");
    EXPECT_TRUE(f.CheckOk(port, table));

    MedicationForm e(EditMode::Edit, Settings());
    e.Load({"Baytril", "2,00"});
    EXPECT_TRUE(e.CheckOk(port, table));  // unchanged name: itself is no duplicate
    Retype(e, MedicationForm::Artikel, "zylexis");
    EXPECT_FALSE(e.CheckOk(port, table));
    EXPECT_EQ(port.messages.size(), 2);
}

namespace {

struct ServiceFixture : ::testing::Test {
    ScriptedUserPort port;
    ServiceForm f{EditMode::Insert, Settings(), port};
    void Fee(const QString& g)
    {
        Retype(f, ServiceForm::GOTNetto, g);
        ASSERT_TRUE(f.Leave(ServiceForm::GOTNetto));
    }
};

}  // namespace

TEST_F(ServiceFixture, SaleNetSetsFactorInsideRange)
{
    Fee("20");
    Retype(f, ServiceForm::LeistungVerkNetto, "30");
    EXPECT_TRUE(f.Leave(ServiceForm::LeistungVerkNetto));
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "1,5");
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "30,00");
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkMitSt), "35,70");
    Retype(f, ServiceForm::LeistungVerkNetto, "70");
    EXPECT_FALSE(f.Leave(ServiceForm::LeistungVerkNetto));
    EXPECT_EQ(port.LastText(), " Preis liegt ausserhalb des\rGOT-Faktor-Bereichs (1..3)!");
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "30,00");  // back to factor x fee
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "1,5");
    EXPECT_EQ(f.TakeFocusRequest(), ServiceForm::LeistungVerkNetto);
    Retype(f, ServiceForm::LeistungVerkNetto, "25");  // 1,25 keeps both decimals
    EXPECT_TRUE(f.Leave(ServiceForm::LeistungVerkNetto));
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "1,25");
}

TEST_F(ServiceFixture, FactorLeavingRules)
{
    Fee("20");
    Retype(f, ServiceForm::Faktor, "1,5");
    EXPECT_TRUE(f.Leave(ServiceForm::Faktor));
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "30,00");
    Retype(f, ServiceForm::Faktor, "3,5");
    EXPECT_FALSE(f.Leave(ServiceForm::Faktor));
    EXPECT_EQ(port.LastText(), "GOT-Faktor-Bereich (1..3)!");
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "1,0");
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "20,00");  // follows the reset factor
    Retype(f, ServiceForm::Faktor, "2");
    EXPECT_TRUE(f.Leave(ServiceForm::Faktor));
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "2,0");
    Retype(f, ServiceForm::Faktor, "0");
    EXPECT_TRUE(f.Leave(ServiceForm::Faktor));
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "1,0");
    Retype(f, ServiceForm::Faktor, "3,5");
    EXPECT_TRUE(f.Leave(ServiceForm::Faktor, true));  // no range message while closing
    EXPECT_EQ(Retype(f, ServiceForm::Faktor, "1,2,a"), ",a");
}

TEST_F(ServiceFixture, WithoutFeeTheSaleNetIsKept)
{
    Fee("");
    EXPECT_EQ(f.Text(ServiceForm::GOTNetto), "0,00");
    Retype(f, ServiceForm::LeistungVerkNetto, "12,5");
    EXPECT_TRUE(f.Leave(ServiceForm::LeistungVerkNetto));
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "12,50");
    Retype(f, ServiceForm::Faktor, "2");
    EXPECT_TRUE(f.Leave(ServiceForm::Faktor));
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "1,0");
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "12,50");
    // With a fee-schedule number but no fee the sale net is cleared.
    Type(f, ServiceForm::LeistungGot, "12a");
    EXPECT_TRUE(f.Leave(ServiceForm::LeistungVerkNetto));
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "0,00");
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkMitSt), "0,00");
}

TEST_F(ServiceFixture, EmptyFeeTakesTheSaleNet)
{
    Type(f, ServiceForm::LeistungVerkNetto, "8");
    EXPECT_TRUE(f.Leave(ServiceForm::LeistungVerkNetto));
    EXPECT_EQ(f.Text(ServiceForm::GOTNetto), "8,00");
    EXPECT_EQ(f.Text(ServiceForm::Faktor), "1,0");

    ServiceForm g(EditMode::Insert, PriceSettings(), port);
    Retype(g, ServiceForm::Faktor, "2,0");
    Type(g, ServiceForm::LeistungVerkNetto, "9");
    EXPECT_TRUE(g.Leave(ServiceForm::LeistungVerkNetto));
    EXPECT_EQ(g.Text(ServiceForm::GOTNetto), "4,50");  // sale net / factor
    EXPECT_EQ(g.Text(ServiceForm::Faktor), "2,0");
}

TEST(ServiceForm, FeeChangeAgainstScheduleAsked)
{
    ScriptedUserPort port;
    ServiceForm f(EditMode::Edit, Settings(), port);
    f.Load({"Impfung", "Hund", "20,00", "1,0", "20,00", "23,80", "1", "12a", ""});
    Retype(f, ServiceForm::GOTNetto, "20");
    EXPECT_TRUE(f.Leave(ServiceForm::GOTNetto));
    EXPECT_TRUE(port.messages.isEmpty());  // the same value is no change
    Retype(f, ServiceForm::GOTNetto, "25");
    port.QueueAnswer(Answer::No);
    EXPECT_TRUE(f.Leave(ServiceForm::GOTNetto));
    EXPECT_EQ(port.LastText(),
              "Wollen Sie wirklich den Preis ändern ?\rEr entspricht dann nicht mehr der GOT !");
    EXPECT_EQ(f.Text(ServiceForm::GOTNetto), "20,00");
    Retype(f, ServiceForm::GOTNetto, "25");
    port.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(f.Leave(ServiceForm::GOTNetto));
    EXPECT_EQ(f.Text(ServiceForm::GOTNetto), "25,00");
}

TEST(ServiceForm, DuplicateNeedsTextSpeciesAndNumber)
{
    const QStringList lines{"Impfung\tHund\t20,00\t1,0\t20,00\t23,80\t1\t12a\t\t",
                            "Impfung\tKatze\t20,00\t1,0\t20,00\t23,80\t1\t12b\t\t"};
    RecordLinesView table(lines);
    ScriptedUserPort port;
    ServiceForm f(EditMode::Insert, Settings(), port);
    Type(f, ServiceForm::Leistung, "impfung");
    Type(f, ServiceForm::LeistungTier, "HUND");
    Type(f, ServiceForm::LeistungGot, "12A");
    EXPECT_FALSE(f.CheckOk(table));
    EXPECT_EQ(port.LastText(), "Fehler: Datensatz (Leistung) existiert bereits!");
    Retype(f, ServiceForm::LeistungGot, "13");
    EXPECT_TRUE(f.CheckOk(table));
}
