#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "EditDlgDriver.h"
#include "MainWindowTest.h"
#include "bookkeeping/ui/TJournalPage.h"
#include "masterdata/BookingForm.h"
#include "masterdata/ui/TEditDlg.h"
#include "shell/ui/TStapelFrame.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

class StapelGuiTest : public MainWindowTest {
protected:
    void Start() { m_form = StartActive(QSize(1200, 800)); }
    TJournalPage& Page() { return *m_form->Stapel().JournalPage(); }
    QString Label(const char* name) { return Page().Label(name)->text(); }
    void ClickTab(int tab)
    {
        QTabBar* tabs = m_form->Stapel().Frame()->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    }
    void KeepPicture(const QString& name)
    {
        const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
        if (!folder.isEmpty())
            m_form->grab().save(folder + "/" + name);
    }
    std::unique_ptr<TForm1> m_form;
};

}  // namespace

// The workspace opens on the income tab of this month, the expense tab takes a manual
// booking through the record edit dialog, and the GoBD switch locks the income bookings.
TEST_F(StapelGuiTest, JournalTabsShowTheMonthAndTakeManualBookings)
{
    MakeData("[Kontostand]\r\nKasse=100\r\nWaehrung=Euro\r\n");
    testfiles::WriteLines(Data() + "Z32024.zae",
                          {"01.03.2024\t0012/005\tMeier\t100,00\t19,0\t119,00\tB\t",
                           "04.03.2024\t0013/002\tHuber\t50,00\t7,0\t53,50\tS\t"});
    Start();
    ClickTool(*m_form, Workspace::Stapel);
    ASSERT_EQ(m_form->CurrentPanel(), m_form->Stapel().Frame());
    EXPECT_EQ(m_form->windowTitle(), "Talven - Stapeldruck");
    EXPECT_EQ(m_form->Stapel().Frame()->CurrentTab(), TStapelFrame::kRechnungen);
    ClickTab(TStapelFrame::kEinnahmen);
    EXPECT_TRUE(LabelText(*m_form, "FileLabel").endsWith("Z32024.zae"));
    EXPECT_EQ(Label("SummenLabel"), "Monatssummen: ");
    EXPECT_EQ(Label("NettoLabel"), "150,00");
    EXPECT_EQ(Label("BruttoLabel"), "172,50");
    EXPECT_EQ(Label("MwSt1Label"), "19,0 %");
    EXPECT_EQ(Label("MwSt2NettoLabel"), "50,00");
    EXPECT_EQ(Label("KontostandLabel"), "Aktuelle Kontostände 15.03.2024");
    EXPECT_FALSE(Page().Button("BearbBtn")->isEnabled()) << "GoBD is on at every start";
    KeepPicture("stapel_einnahmen.png");

    ClickTab(TStapelFrame::kAusgaben);
    EXPECT_TRUE(Page().Button("BearbBtn")->isEnabled());
    EXPECT_EQ(m_form->Stapel().Journal().Grid().RecordCount(), 0);
    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, BookingForm::EinnBeleg, "R-1");
        TypeInto(dlg, BookingForm::EinnKunde, "Futter");
        TypeInto(dlg, BookingForm::EinnNetto, "42,02");
    });
    QTest::mouseClick(Page().Button("EinfBtn"), Qt::LeftButton);
    EXPECT_EQ(m_form->Stapel().Journal().Grid().RecordLine(0),
              "15.03.2024\tR-1*\tFutter\t42,02\t19,0\t50,00\tB\t");
    EXPECT_EQ(Label("BruttoLabel"), "50,00");
    EXPECT_EQ(Label("KasseLabel"), "50,00");

    ClickTab(TStapelFrame::kEinnahmen);
    m_form->findChild<QAction*>("GoBDItem")->setChecked(false);
    EXPECT_TRUE(Page().Button("BearbBtn")->isEnabled());
    EXPECT_TRUE(Label("HinweisLabel").contains("Systembuchungen (ohne Stern)"));
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.Texts().join("|").toStdString();
}
