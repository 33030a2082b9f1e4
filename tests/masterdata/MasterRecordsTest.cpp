#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "FormTestUtil.h"
#include "common/CodePage.h"
#include "masterdata/MasterWorkspace.h"
#include "shell/IniFile.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

// Fills the form as a person would and clicks OK (or Cancel when fill returns false).
struct ScriptedDialog : RecordDialogRunner {
    std::function<bool(EditDlgForm&)> fill;
    int runs = 0;
    bool Run(EditDlgForm& form, const MasterTableView* table) override
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
        testfiles::WriteLines(folder + MasterRecords::FileName(table), lines);
        SetupMasterGrid(grid, table);
        grid.Resize(12 * (TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth));
        LoadMasterTable(grid, table, folder + MasterRecords::FileName(table));
    }
    QStringList File(MasterTable table)
    {
        QStringList lines;
        cp1252::ReadLines(folder + MasterRecords::FileName(table), lines);
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
    dialog.fill = [](EditDlgForm& f) {
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
    dialog.fill = [](EditDlgForm& f) {
        EXPECT_EQ(f.Customer().NumberText(), "0043");
        Type(f.Customer(), CustomerForm::KundeName, "Müller");
        Type(f.Customer(), CustomerForm::KundeBem, "  ( A ) Hof");
        f.Customer().Leave(CustomerForm::KundeBem);
        return true;
    };
    ASSERT_TRUE(Records().InsertRecord(MasterTable::Customer, grid));
    const QStringList file = File(MasterTable::Customer);
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[1], "Müller\t\t\t\t0043\t\tFrau / Herrn / Firma\t(A) Hof\t000\t\t");
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
    dialog.fill = [](EditDlgForm& f) {
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
