#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "shell/ui/TOptionenDlg.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

namespace {

using F = TOptionenDlgForm;

// One "program run" on a data folder: its options file and options, and the dialog.
struct ProgramRun {
    explicit ProgramRun(const QString& data, ScriptedUserPort& port, const Clock& clock)
        : ini(data + "TLV.INI"), options(ReadOrderedOptions(ini))
    {
        OptionenContext c;
        c.port = &port;
        c.clock = &clock;
        c.ini = &ini;
        c.options = &options;
        c.dataFolder = data;
        c.volumes = [] { return QStringList{"/media/stick", "/"}; };
        dlg = std::make_unique<TOptionenDlg>(c);
    }

    IniFile ini;
    OptionValues options;
    std::unique_ptr<TOptionenDlg> dlg;
};

class TOptionenDlgTest : public ::testing::Test {
protected:
    TOptionenDlgTest() : m_clock(QDateTime(QDate(2024, 5, 15), QTime(9, 0)))
    {
        QDir(m_dir.path()).mkpath("DATEN/Texte");
        testfiles::WriteAll(Data() + "TLV.INI", "");
    }

    QString Data() const { return m_dir.path() + "/DATEN/"; }

    // Focuses a field, replaces its text by typing, and leaves it with TAB.
    static void TypeInto(TOptionenDlg& dlg, int id, const QString& text)
    {
        QLineEdit* edit = dlg.Editor(id);
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir m_dir;
    FixedClock m_clock;
    ScriptedUserPort m_port;
};

}  // namespace

TEST_F(TOptionenDlgTest, PracticeDataAndRatesSurviveARestart)
{
    {
        ProgramRun run(Data(), m_port, m_clock);
        TOptionenDlg& dlg = *run.dlg;
        dlg.Prepare();
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        EXPECT_EQ(dlg.windowTitle(), "Systemoptionen");
        EXPECT_EQ(dlg.Pages()->count(), 8);

        TypeInto(dlg, F::NameEdit, "Tierarztpraxis Dr. Weiß");
        TypeInto(dlg, F::StrasseEdit, "Hafenstraße 3");
        TypeInto(dlg, F::PLZEdit, "24103 Kiel");
        TypeInto(dlg, F::BLZEdit, "DE07 1002 0030 0000 1234 56");
        dlg.Pages()->setCurrentIndex(F::MwSt);
        TypeInto(dlg, F::Mwst1Edit, "19x");  // the letter is refused
        TypeInto(dlg, F::Mwst2Edit, "7");
        dlg.Editor(F::Mwst3Edit)->setFocus(Qt::TabFocusReason);  // leaving rate 2
        EXPECT_EQ(dlg.Editor(F::Mwst1Edit)->text(), "19,0");
        EXPECT_EQ(dlg.Editor(F::Mwst2Edit)->text(), "7,0");
        TypeInto(dlg, F::StichtagsDatumEdit, "1.1.24");
        dlg.Pages()->setCurrentIndex(F::Mahnwesen);
        TypeInto(dlg, F::ZzRechEdit, "21");
        dlg.Pages()->setCurrentIndex(F::Passwort);
        TypeInto(dlg, F::DMEdit, "2");
        EXPECT_EQ(dlg.Editor(F::EuroEdit)->text(), "0,50000");
        dlg.CheckBox(F::PW_KarteiChk)->click();
        EXPECT_TRUE(dlg.CheckBox(F::PW_SysChk)->isChecked());
        EXPECT_FALSE(dlg.CheckBox(F::PW_SysChk)->isEnabled());
        dlg.CheckBox(F::PW_KarteiChk)->click();
        EXPECT_TRUE(dlg.CheckBox(F::PW_SysChk)->isEnabled());
        dlg.CheckBox(F::PW_SysChk)->click();
        EXPECT_FALSE(dlg.CheckBox(F::PW_SysChk)->isChecked());

        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << m_port.LastText().toStdString();
        EXPECT_TRUE(m_port.messages.isEmpty());
    }

    // The next start: a fresh options file object on the same folder.
    ProgramRun again(Data(), m_port, m_clock);
    again.dlg->Prepare();
    TOptionenDlg& dlg = *again.dlg;
    EXPECT_EQ(dlg.Editor(F::NameEdit)->text(), "Tierarztpraxis Dr. Weiß");
    EXPECT_EQ(dlg.Editor(F::StrasseEdit)->text(), "Hafenstraße 3");
    EXPECT_EQ(dlg.Editor(F::PLZEdit)->text(), "24103 Kiel");
    EXPECT_EQ(dlg.Editor(F::BLZEdit)->text(), "DE07 1002 0030 0000 1234 56");
    EXPECT_EQ(dlg.Editor(F::Mwst1Edit)->text(), "19,0");
    EXPECT_EQ(dlg.Editor(F::Mwst2Edit)->text(), "7,0");
    EXPECT_EQ(dlg.Editor(F::StichtagsDatumEdit)->text(), "01.01.2024");
    EXPECT_EQ(dlg.Editor(F::ZzRechEdit)->text(), "21");
    EXPECT_EQ(dlg.Editor(F::DMEdit)->text(), "2,00000");
    EXPECT_EQ(dlg.Editor(F::EuroEdit)->text(), "0,50000");
    EXPECT_FALSE(dlg.CheckBox(F::PW_SysChk)->isChecked());
}

TEST_F(TOptionenDlgTest, CancelKeepsTheFileAndTheOptions)
{
    ProgramRun run(Data(), m_port, m_clock);
    TOptionenDlg& dlg = *run.dlg;
    dlg.Prepare(F::MwSt);
    EXPECT_EQ(dlg.Pages()->currentIndex(), F::MwSt);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QByteArray before = testfiles::ReadAll(Data() + "TLV.INI");
    TypeInto(dlg, F::Mwst1Edit, "16");
    QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(testfiles::ReadAll(Data() + "TLV.INI"), before);
    EXPECT_EQ(run.options.Value("Mwst1Edit"), "19");
    dlg.Prepare(F::MwSt);
    EXPECT_EQ(dlg.Editor(F::Mwst1Edit)->text(), "19");
}

TEST_F(TOptionenDlgTest, RefusedOkShowsThePageOfTheFault)
{
    ProgramRun run(Data(), m_port, m_clock);
    TOptionenDlg& dlg = *run.dlg;
    dlg.Prepare(F::Praxis);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.Form().Field(F::StichtagsDatumEdit).SetText("16.05.2024");  // tomorrow
    dlg.ClickOk();
    EXPECT_EQ(dlg.Pages()->currentIndex(), F::MwSt);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(m_port.LastText(),
              "Fehler: Stichtagsdatum liegt in der Zukunft!\r"
              "Neue USt erst am Tag der Änderung eingeben!");
}

// Renders every page to PNG files for a look by eye (TALVEN_GRAB_DIR=<folder>).
TEST_F(TOptionenDlgTest, PagesRender)
{
    ProgramRun run(Data(), m_port, m_clock);
    TOptionenDlg& dlg = *run.dlg;
    dlg.Prepare();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QString folder = qEnvironmentVariable("TALVEN_GRAB_DIR");
    for (int page = 0; page < dlg.Pages()->count(); ++page) {
        dlg.Pages()->setCurrentIndex(page);
        const QPixmap shot = dlg.grab();
        EXPECT_FALSE(shot.isNull());
        if (!folder.isEmpty())
            shot.save(QStringLiteral("%1/options_%2.png").arg(folder).arg(page));
    }
}
