#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "MainWindowTest.h"
#include "settings/IniFile.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TOptionenDlg.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

using F = TOptionenDlgForm;

class TForm1OptionsTest : public MainWindowTest {
protected:
    // A Wednesday in May: the close makes the weekday and month backup sets.
    TForm1OptionsTest() { m_clock.Set(QDateTime(QDate(2024, 5, 15), QTime(9, 0))); }
    void SetUp() override
    {
        MakeData({}, {"Salbe\tTube\t5,00\t5,95\t1\t\t\t\t\t\t"},
                 {"Impfung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t"});
    }
    // Runs `person` once the modal dialog is up.
    static void WhenDialogOpens(TForm1& form, std::function<void(TOptionenDlg&)> person)
    {
        QTimer::singleShot(0, &form, [&form, person] {
            TOptionenDlg* dlg = form.OptionsDialog();
            ASSERT_NE(dlg, nullptr);
            dlg->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dlg));
            person(*dlg);
        });
    }
    static void Type(TOptionenDlg& dlg, int id, const QString& text)
    {
        QLineEdit* edit = dlg.Editor(id);
        dlg.Pages()->setCurrentWidget(edit->parentWidget()->parentWidget());
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

}  // namespace

// A drive letter names no medium here: "a:\" is a relative folder, which would land in the
// data folder, and so would a folder inside it. Neither takes a copy.
TEST_F(TForm1OptionsTest, BackupFolderInsideTheDataFolderIsRefused)
{
    testfiles::WriteAll(Ini(), "[Optionen]\r\nSicherungChk1=TRUE\r\nBkDir=a:\\\r\n");
    auto form = Start();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_EQ(m_port.messages[0].kind, MsgKind::Warning);
    EXPECT_EQ(m_port.messages[0].text.toStdString(),
              "Fehler: Backup-Pfad \"a:\\\" ist kein vollständiger Pfad!\rBitte wählen Sie den "
              "Backup-Datenträger.\r\rDie automatische Sicherung bleibt aus, bis in den "
              "Systemoptionen ein gültiger Backup-Pfad gewählt ist.");
    EXPECT_FALSE(form->findChild<QLabel*>("BackupIndicator")->isVisible());

    WhenDialogOpens(*form, [this](TOptionenDlg& dlg) {
        EXPECT_FALSE(dlg.CheckBox(F::SicherungChk1)->isChecked());
        dlg.Pages()->setCurrentIndex(F::BackupPage);
        dlg.CheckBox(F::SicherungChk1)->click();
        Type(dlg, F::BackupPathEdit, Data() + "Sicherung");
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        EXPECT_EQ(m_port.LastText().toStdString(),
                  "Fehler: Backup-Pfad liegt im Datenordner!\rBitte wählen Sie den "
                  "Backup-Datenträger.");
        EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open on the backup page";
        QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
    });
    ClickTool(*form, Workspace::System);
    form->close();

    QStringList folders = QDir(Data()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    folders.sort();
    EXPECT_EQ(folders, (QStringList{"BAK02", "BAK_Mi", "Texte"})) << "no copy inside the data";
    EXPECT_EQ(IniFile(Ini()).ReadString("Optionen", "BkDir"), "a:\\") << "stored value kept";
}

TEST_F(TForm1OptionsTest, PracticeDataAndRatesTypedInTheOptionsAreThereAfterARestart)
{
    {
        auto form = Start();
        WhenDialogOpens(*form, [](TOptionenDlg& dlg) {
            EXPECT_EQ(dlg.Pages()->currentIndex(), F::MwSt);  // opened from "&Mwst editieren..."
            Type(dlg, F::Mwst1Edit, "16");
            Type(dlg, F::Mwst2Edit, "5");
            Type(dlg, F::StichtagsDatumEdit, "1.7.20");
            Type(dlg, F::NameEdit, "Tierarztpraxis am Hafen");
            Type(dlg, F::PLZEdit, "24103 Kiel");
            Type(dlg, F::KtoEdit, "NOLADE21KIE");
            QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        });
        ASSERT_NE(form->findChild<QAction*>("MwstItem"), nullptr);
        form->findChild<QAction*>("MwstItem")->trigger();

        EXPECT_EQ(m_port.Texts(), QStringList{"Brutto-Preise in den Tabellen\rMedikamente/ "
                                              "Leistungen werden neu berechnet!"});
        EXPECT_EQ(LabelText(*form, "MwstLabel"), "16,0");
        EXPECT_EQ(form->Grid(MasterTable::Medication).GetRecordCell(4, 0), "5,80");
        EXPECT_EQ(form->Grid(MasterTable::Service).GetRecordCell(6, 0), "11,60");
        form->close();
    }

    auto form = Start();
    EXPECT_EQ(LabelText(*form, "MwstLabel"), "16,0");
    WhenDialogOpens(*form, [](TOptionenDlg& dlg) {
        EXPECT_EQ(dlg.Pages()->currentIndex(), F::Praxis);  // from the tool bar
        EXPECT_EQ(dlg.Editor(F::NameEdit)->text(), "Tierarztpraxis am Hafen");
        EXPECT_EQ(dlg.Editor(F::PLZEdit)->text(), "24103 Kiel");
        EXPECT_EQ(dlg.Editor(F::KtoEdit)->text(), "NOLADE21KIE");
        EXPECT_EQ(dlg.Editor(F::Mwst1Edit)->text(), "16,0");
        EXPECT_EQ(dlg.Editor(F::Mwst2Edit)->text(), "5,0");
        EXPECT_EQ(dlg.Editor(F::StichtagsDatumEdit)->text(), "01.07.2020");
        QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
    });
    ClickTool(*form, Workspace::System);
    // The close made the weekday and month sets (a Wednesday in May).
    EXPECT_TRUE(QFileInfo::exists(Data() + "BAK_Mi/MED.DBF"));
    EXPECT_TRUE(QFileInfo::exists(Data() + "BAK02/LEISTUNG.DBF"));
}
