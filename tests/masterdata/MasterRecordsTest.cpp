#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "FormTestUtil.h"
#include "common/CodePage.h"
#include "masterdata/MasterWorkspace.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

// Fills the form as a person would and clicks OK (or Cancel when fill returns false).
struct ScriptedDialog : RecordDialogRunner {
    std::function<bool(TEditDlgForm&)> fill;
    int runs = 0;
    bool Run(TEditDlgForm& form, const MasterTableView* table) override
    {
        ++runs;
        if (!fill || !fill(form))
            return false;
        return form.Ok(-1, table);
    }
};

struct Hooks : MasterWorkspaceHooks {
    int maximum = -1, quantityResets = 0, customerRefreshes = 0;
    void SetScrollBarMaximum(int m) override { maximum = m; }
    void ResetQuantities() override { ++quantityResets; }
    void RefreshCustomerDisplay() override { ++customerRefreshes; }
    int GridRows() const override { return 3; }
};

struct MasterRecordsFixture : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + "/";
    ScriptedUserPort port;
    ScriptedDialog dialog;
    Hooks hooks;
    FixedClock clock{QDateTime(QDate(2009, 5, 1), QTime(9, 0))};
    IniFile ini{folder + "TLV.INI"};
    TSGrid grid{port};

    MasterRecords Records()
    {
        PriceSettings settings;
        settings.currentVat = {19, 7, 0};
        return MasterRecords({port, dialog, hooks, clock, folder, &ini, settings, true});
    }
    void Load(MasterTable table, const QStringList& lines)
    {
        testfiles::WriteLines(folder + MasterTableFile(table), lines);
        SetUpMasterGrid(grid, table);
        grid.Resize(12 * (TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth));
        LoadMasterTable(grid, table, folder + MasterTableFile(table));
    }
    QStringList File(MasterTable table)
    {
        QStringList lines;
        cp1252::ReadLines(folder + MasterTableFile(table), lines);
        return lines;
    }
};

QString Customer(const QString& name, const QString& number, const QString& cards = "000")
{
    return name + "\t\t\t\t" + number + "\t\t\t\t" + cards + "\t\t";
}

}  // namespace

TEST_F(MasterRecordsFixture, MedicationInsertedInOrderAndSaved)
{
    Load(MasterTable::Medication,
         {"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t", "Zylexis\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t"});
    dialog.fill = [](TEditDlgForm& f) {
        Type(f.Medication(), MedicationForm::Artikel, "Baytril");
        Type(f.Medication(), MedicationForm::EinkNetto, "10");
        f.Medication().AmpvClick();
        return true;
    };
    ASSERT_TRUE(Records().InsertRecord(MasterTable::Medication, grid));
    const QStringList file = File(MasterTable::Medication);
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[1], "Baytril\t10,00\t14,80\t17,61\t1\t\t\t\t\t\t");
    EXPECT_EQ(grid.CurrentRecord(), 1);
    EXPECT_EQ(hooks.quantityResets, 1);
    EXPECT_EQ(hooks.maximum, 1);  // 3 records, 3 rows

    // The same name again is refused by the dialog's close check.
    ASSERT_FALSE(Records().InsertRecord(MasterTable::Medication, grid));
    EXPECT_EQ(port.Texts().mid(port.Texts().size() - 2),
              (QStringList{"Fehler: Datensatz (Medikament) existiert bereits!",
                           "Kein Datensatz wurde eingefügt!"}));
}

TEST_F(MasterRecordsFixture, OldServiceFileUpgradedOnLoad)
{
    Load(MasterTable::Service, {"Impfung\tHund\t20,00\t23,80\t1\t12a\tjährlich\t",
                                "Kastration\tKatze\t50,00\t59,50\t1\t7\t\t"});
    EXPECT_EQ(File(MasterTable::Service)[0],
              "Impfung\tHund\t20,00\t1,0\t20,00\t23,80\t1\t12a\tjährlich\t");
    EXPECT_EQ(grid.RecordCount(), 2);
    EXPECT_EQ(grid.Cells(4, 0), "Faktor");
}

TEST_F(MasterRecordsFixture, CustomerGetsTheNextNumberAndIsSorted)
{
    Load(MasterTable::Customer, {Customer("Meier", "0042"), Customer("Zander", "0001")});
    dialog.fill = [](TEditDlgForm& f) {
        EXPECT_EQ(f.Customer().NumberText(), "0043");
        Type(f.Customer(), CustomerForm::KundeName, "Müller");
        Type(f.Customer(), CustomerForm::KundePLZ, "55116 Mainz");
        Type(f.Customer(), CustomerForm::KundeBem, "  ( A ) Hof");
        f.Customer().Leave(CustomerForm::KundeBem);
        return true;
    };
    ASSERT_TRUE(Records().InsertRecord(MasterTable::Customer, grid));
    const QStringList file = File(MasterTable::Customer);
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[1], "Müller\t\t\t55116 Mainz\t0043\t\tFrau / Herrn / Firma\t(A) Hof\t000\t\t");
    EXPECT_EQ(testfiles::ReadAll(folder + "PLZ.MXX"), "55116 Mainz\r\n");  // learned on OK
    EXPECT_EQ(grid.CurrentRecord(), 1);
    EXPECT_EQ(ini.ReadString("LetzteKundenNr", "Nr"), "0043");
}

TEST_F(MasterRecordsFixture, CancelAndEmptyTableMessages)
{
    Load(MasterTable::Service, {});
    EXPECT_FALSE(Records().EditRecord(MasterTable::Service, grid));
    EXPECT_EQ(port.messages.last().text, "Datenbank ist leer!");
    EXPECT_EQ(port.messages.last().title, "Info");
    EXPECT_FALSE(Records().DeleteRecord(MasterTable::Service, grid));
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_FALSE(Records().InsertRecord(MasterTable::Service, grid));
    EXPECT_EQ(port.LastText(), "Kein Datensatz wurde eingefügt!");
}

TEST_F(MasterRecordsFixture, EditedMedicationKeepsStockAndCode)
{
    Load(MasterTable::Medication,
         {"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t12\t000042\t", "Baytril\t\t\t\t1\t\t\t\t\t\t"});
    grid.GotoRecord(1, 0);
    dialog.fill = [](TEditDlgForm& f) {
        Retype(f.Medication(), MedicationForm::Artikel, "Canis");
        return true;
    };
    ASSERT_TRUE(Records().EditRecord(MasterTable::Medication, grid));
    EXPECT_EQ(File(MasterTable::Medication),
              (QStringList{"Baytril\t\t\t\t1\t\t\t\t\t\t",
                           "Canis\t1,00\t2,00\t2,38\t1\t\t\t\t12\t000042\t"}));
    dialog.fill = {};
    EXPECT_FALSE(Records().EditRecord(MasterTable::Medication, grid));
    EXPECT_EQ(port.LastText(), "Eintrag wurde nicht bearbeitet!");
}

TEST_F(MasterRecordsFixture, DeletingACustomerWithThirtyFiveCards)
{
    Load(MasterTable::Customer, {Customer("Meier", "0042", "035"), Customer("Zander", "0001")});
    for (int n = 1; n <= 35; ++n)
        testfiles::WriteAll(folder + QString("K0042%1.KAR").arg(n, 3, 10, QChar('0')), "x");
    testfiles::WriteAll(folder + "P0042.PAT", "x");
    testfiles::WriteAll(folder + "K0001001.KAR", "x");
    grid.GotoRecord(1, 0);
    port.QueueAnswer(Answer::Ok);
    port.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(Records().DeleteRecord(MasterTable::Customer, grid));
    EXPECT_EQ(port.messages[1].text, "Datensatz Meier  KdNr.: 0042\r wirklich löschen?");
    const QStringList left = QDir(folder).entryList({"K*.KAR", "P*.PAT"}, QDir::Files);
    EXPECT_EQ(left, QStringList{"K0001001.KAR"});
    QStringList changes;
    cp1252::ReadLines(folder + "ST_RECHN.DBF", changes);
    ASSERT_EQ(changes.size(), 30);
    EXPECT_EQ(changes.first(), "-0042/035\t");
    EXPECT_EQ(changes.last(), "-0042/006\t");
    cp1252::ReadLines(folder + "ST_MAHN.DBF", changes);
    EXPECT_EQ(changes.size(), 30);
    EXPECT_EQ(File(MasterTable::Customer), QStringList{Customer("Zander", "0001")});
    EXPECT_EQ(hooks.customerRefreshes, 1);
}

TEST_F(MasterRecordsFixture, DeleteAnsweredNoKeepsEverything)
{
    Load(MasterTable::Customer, {Customer("Meier", "0042", "001")});
    testfiles::WriteAll(folder + "K0042001.KAR", "x");
    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(Records().DeleteRecord(MasterTable::Customer, grid));
    port.QueueAnswer(Answer::Ok);
    port.QueueAnswer(Answer::No);
    EXPECT_FALSE(Records().DeleteRecord(MasterTable::Customer, grid));
    EXPECT_TRUE(QFile::exists(folder + "K0042001.KAR"));
    EXPECT_EQ(grid.RecordCount(), 1);
}

TEST_F(MasterRecordsFixture, DeletedMedicationTakesItsStockFiles)
{
    Load(MasterTable::Medication, {"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t12\t000042\t"});
    for (int year : {2007, 2009}) {
        QDir(folder).mkdir(QString("MedInv%1").arg(year));
        testfiles::WriteAll(folder + QString("MedInv%1/Med000042.dbf").arg(year), "x");
    }
    testfiles::WriteAll(folder + "MedInv2009/Med000043.dbf", "x");
    port.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(Records().DeleteRecord(MasterTable::Medication, grid));
    EXPECT_EQ(port.messages.first().text, "Datensatz  wirklich löschen?");
    EXPECT_FALSE(QFile::exists(folder + "MedInv2007/Med000042.dbf"));
    EXPECT_FALSE(QFile::exists(folder + "MedInv2009/Med000042.dbf"));
    EXPECT_TRUE(QFile::exists(folder + "MedInv2009/Med000043.dbf"));
    EXPECT_EQ(grid.RecordCount(), 0);
}

TEST_F(MasterRecordsFixture, GridSetupAndFillWidth)
{
    SetUpMasterGrid(grid, MasterTable::Medication, {{"wMed", 300}, {"wCh", 80}}, 8);
    EXPECT_EQ(grid.ColCount(), 11);
    EXPECT_EQ(grid.ColWidth(1), 300);
    EXPECT_EQ(grid.ColWidth(9), 55);  // small table font
    EXPECT_EQ(grid.ColumnAlignment(5), 1);
    EXPECT_EQ(grid.PriceCol3, 4);
    const auto total = [this] {
        int sum = 0;
        for (int c = 0; c < grid.ColCount(); ++c)
            if (grid.ColWidth(c) > 0)
                sum += grid.ColWidth(c) + grid.GridLineWidth();
        return sum;
    };
    WidenToFill(grid, 8, 516, 2000);
    EXPECT_EQ(total(), 2000);
    const int others = total() - grid.ColWidth(8);
    WidenToFill(grid, 8, 516, others + 300);
    EXPECT_EQ(total(), others + 300) << "narrower than its own width, every column fits";
    WidenToFill(grid, 8, 516, others + 20);
    EXPECT_EQ(grid.ColWidth(8), 516) << "no room for its title: its own width, the view scrolls";
}

TEST_F(MasterRecordsFixture, VatChangeRecalculatesBothGrids)
{
    testfiles::WriteLines(folder + "MED.DBF",
                          {"Mittel\t5,00000\t10,00000\t11,90000\t1\t\t\t\t\t\t"});
    testfiles::WriteLines(folder + "LEISTUNG.DBF",
                          {"Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12\t\t"});
    TSGrid services(port);
    SetUpMasterGrid(grid, MasterTable::Medication);
    SetUpMasterGrid(services, MasterTable::Service);
    LoadMasterTable(grid, MasterTable::Medication, folder + "MED.DBF");
    LoadMasterTable(services, MasterTable::Service, folder + "LEISTUNG.DBF");
    GridVatRecalcTarget target(services, folder + "LEISTUNG.DBF", grid, folder + "MED.DBF");
    QString shown;
    target.showCurrentRate = [&](const QString& t) { shown = t; };
    QStringList rates{"16", "5", "0", "19", "7", "0"};
    ASSERT_TRUE(prices::RecalculateAllGross(port, rates, target));
    EXPECT_EQ(shown, "16,0");
    EXPECT_EQ(File(MasterTable::Medication)[0], "Mittel\t5,00000\t10,00000\t11,60\t1\t\t\t\t\t\t");
    EXPECT_EQ(File(MasterTable::Service)[0], "Impfung\tHund\t20,00\t1,5\t30,00\t34,80\t1\t12\t\t");
    EXPECT_EQ(grid.Cells(5, 0), "USt");
}

TEST(PriceSettingsFromOptions, RatesCurrencyAndCutOff)
{
    OptionValues options;
    options.SetValue("Mwst1Edit", "19");
    options.SetValue("Mwst2Edit", "7");
    options.SetValue("AlteMwst1Edit", "16");
    options.SetValue("StichtagsDatumEdit", "01.01.2007");
    options.SetFlag("EuroChk", false);
    options.SetValue("DmEdit", "2,00000");
    const PriceSettings s = PriceSettingsFromOptions(options);
    EXPECT_EQ(s.currentVat[0], 19);
    EXPECT_EQ(s.currentVat[1], 7);
    EXPECT_EQ(s.previousVat[0], 16);
    EXPECT_EQ(s.cutOff, QDate(2007, 1, 1));
    EXPECT_FALSE(s.euro);
    EXPECT_EQ(s.dmRate, 2);
    EXPECT_TRUE(PriceSettingsFromOptions(OptionValues()).euro);
}
