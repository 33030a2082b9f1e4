#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "EditDlgDriver.h"
#include "cards/CardTextSearch.h"
#include "common/CodePage.h"
#include "masterdata/MasterSearch.h"
#include "masterdata/MasterWorkspace.h"
#include "masterdata/ui/TEditDlg.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

struct MasterGuiFixture : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + "/";
    ScriptedUserPort port;
    TEditDlgRunner runner;
    MasterWorkspaceHooks hooks;
    FixedClock clock;
    TSGrid grid{port};

    MasterRecords Records()
    {
        PriceSettings settings;
        settings.currentVat = {19, 7, 0};
        return MasterRecords({port, runner, hooks, clock, folder, nullptr, settings, true});
    }
    void Load(MasterTable table, const QStringList& lines)
    {
        testfiles::WriteLines(folder + MasterTableFile(table), lines);
        SetUpMasterGrid(grid, table);
        grid.Resize(12 * (TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth));
        LoadMasterTable(grid, table, folder + MasterTableFile(table));
    }
};

}  // namespace

TEST_F(MasterGuiFixture, MedicationInsertedFoundEditedDeleted)
{
    Load(MasterTable::Medication, {"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t"});
    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, MedicationForm::Artikel, "Baytril");
        TypeInto(dlg, MedicationForm::EinkNetto, "100");
        dlg.AmpvButton()->click();
    });
    ASSERT_TRUE(Records().InsertRecord(MasterTable::Medication, grid));
    EXPECT_EQ(grid.RecordLine(1), "Baytril\t100,00\t127,56\t151,80\t1\t\t\t\t\t\t");
    EXPECT_EQ(mastersearch::FindByName(grid.Lines(), "bay"), 1);

    grid.GotoRecord(1, 1);
    WhenDialogShows([](TEditDlg& dlg) { TypeInto(dlg, MedicationForm::Ust, "2", true); });
    ASSERT_TRUE(Records().EditRecord(MasterTable::Medication, grid));
    EXPECT_EQ(grid.RecordLine(1), "Baytril\t100,00\t127,56\t136,49\t2\t\t\t\t\t\t");

    port.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(Records().DeleteRecord(MasterTable::Medication, grid));
    QStringList file;
    cp1252::ReadLines(folder + "MED.DBF", file);
    EXPECT_EQ(file, QStringList{"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t"});
}

TEST_F(MasterGuiFixture, ServiceWithFactorThroughTheDialog)
{
    Load(MasterTable::Service, {});
    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, ServiceForm::Leistung, "Impfung");
        TypeInto(dlg, ServiceForm::LeistungTier, "Hund");
        TypeInto(dlg, ServiceForm::GOTNetto, "20");
        TypeInto(dlg, ServiceForm::LeistungVerkNetto, "30");
        TypeInto(dlg, ServiceForm::LeistungGot, "12a");  // leaving the sale net sets 1,5
    });
    ASSERT_TRUE(Records().InsertRecord(MasterTable::Service, grid));
    EXPECT_EQ(grid.RecordLine(0), "Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12a\t\t");
    EXPECT_EQ(mastersearch::FindByFeeNumber(grid.Lines(), "12A", -1), 0);
}

TEST_F(MasterGuiFixture, CustomerInsertedWithNumber)
{
    Load(MasterTable::Customer, {"Meier\t\t\t\t0042\t\t\t\t000\t\t"});
    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, CustomerForm::KundeName, "Adler");
        TypeInto(dlg, CustomerForm::KundeVorname, "Eva");
        TypeInto(dlg, CustomerForm::KundeMail, "eva@adler.de");
    });
    ASSERT_TRUE(Records().InsertRecord(MasterTable::Customer, grid));
    EXPECT_EQ(grid.RecordLine(0),
              "Adler\tEva\t\t\t0043\t\tFrau / Herrn / Firma\t\t000\teva@adler.de\t");
    const card::CardTextSearch cards;
    mastersearch::CustomerSearch search(folder, cards);
    EXPECT_EQ(search.Search(grid.Lines(), mastersearch::Criterion::Number, "43", 1).record, 0);
}
