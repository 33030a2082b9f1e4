#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "MainWindowTest.h"
#include "common/CodePage.h"
#include "download/DownloadRules.h"
#include "download/ui/TSuchenNachDlg.h"
#include "help/HelpTopics.h"
#include "help/ui/HelpWindow.h"
#include "settings/Options.h"
#include "support/LoopbackServer.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

class DownloadAndHelpGuiTest : public MainWindowTest {};

TEST_F(DownloadAndHelpGuiTest, ListIsFetchedAndTakenOverFromTheMedicationWorkspace)
{
    QTemporaryDir served;
    testfiles::WriteAll(served.filePath(download::kBarsoiText),
                        "Hersteller;Artikel;EinkNetto;VerkNetto;USt;Wartezeit\r\n"
                        "Vetpharm;Amoxi;3,20;;1;\r\nVetpharm;Baytril;8,00;12,00;1;\r\n");
    qunsetenv("http_proxy");
    LoopbackServer server("http", served.path(), "praxis", "geheim");
    ASSERT_NE(server.Port(), 0);
    MakeData({}, {"Amoxi\t1,00\t2,00\t2,38\t1\t\tCH-1\t\t4\tM0001\t"});
    OptionValues options;
    // The test server speaks plain http, which the dialog warns about once.
    options.SetValue("BarsoiInternetAdresse",
                     server.Url("/onlineupdate.php?user=&&password=&&file="));
    WriteOptions(options);
    auto form = Start();
    ClickTool(*form, Workspace::Medikamente);

    bool drove = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TSuchenNachDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), "Download und Übernahme ... ");
        QTest::keyClicks(dlg->UserEdit(), "praxis");
        QTest::keyClicks(dlg->PasswordEdit(), "geheim");
        dlg->DownloadButton()->click();
        EXPECT_FALSE(dlg->OkButton()->isEnabled());  // no take-over while the list arrives
        EXPECT_TRUE(QTest::qWaitFor([dlg] { return dlg->DownloadButton()->isEnabled(); }, 20000));
        EXPECT_EQ(dlg->InfoList()->item(dlg->InfoList()->count() - 1)->text(),
                  "   Jetzt mit <OK> Übernahme in TALVEN !");
        drove = true;
        dlg->OkButton()->click();
    });
    form->findChild<QPushButton*>("BarsoiWdtBtn")->click();
    ASSERT_TRUE(drove);

    const QStringList expected = {"Amoxi\t3,20\t5,18\t6,16\t1\t\tCH-1\t\t4\tM0001\t",
                                  "Baytril\t8,00\t12,00\t14,28\t1\t\t\tVetpharm\t\t\t"};
    EXPECT_EQ(form->Grid(MasterTable::Medication).Lines(), expected);
    EXPECT_EQ(cp1252::SplitLines(testfiles::ReadAll(Data() + "MED.DBF")), expected);
    EXPECT_TRUE(m_port.LastText().startsWith("Liste vom 15.03.2024 übernommen:"));
    EXPECT_EQ(m_port.Texts().filter("unverschlüsselt").size(), 1);
}

TEST(TSuchenNachDlgSearch, PlainSearchBoxHandsBackTextAndChoice)
{
    TSuchenNachDlgForm form;
    form.OpenSearch({"&Name Tierhalter",
                     "Anna Bär",
                     "Bis &einschl.",
                     {"2021", "2022", "2023"},
                     1,
                     "TALVEN sucht nach alten Abgabebelegen."});
    TSuchenNachDlg dlg(form);
    EXPECT_EQ(dlg.windowTitle(), "Suchen nach ... ");
    auto* edit = dlg.findChild<QLineEdit*>("SuchEdit");
    auto* choice = dlg.findChild<QComboBox*>("AuswahlCBox");
    EXPECT_EQ(edit->text(), "Anna Bär");
    EXPECT_EQ(choice->currentText(), "2022");
    edit->clear();
    QTest::keyClicks(edit, "Huber");
    choice->setCurrentIndex(0);
    EXPECT_EQ(form.Search().text, "Huber");
    EXPECT_EQ(form.Search().choice, 0);
}

TEST_F(DownloadAndHelpGuiTest, HelpOpensOnTheWorkspaceShown)
{
    MakeData();
    QDir(Program()).mkpath("hilfe");
    const QDir pages(TALVEN_HELP_PAGES);
    for (const QString& name : pages.entryList({"*.html"}))
        testfiles::WriteAll(Program() + "hilfe/" + name, testfiles::ReadAll(pages.filePath(name)));
    for (const char* topic : {help::kContents, help::kMedications, help::kServices,
                              help::kCustomers, help::kRecordCard, help::kDispensing, help::kBatch,
                              help::kTexts, help::kAppointments, help::kOptions, help::kDownload})
        EXPECT_TRUE(pages.exists(QString(topic) + ".html")) << topic;

    auto form = Start();
    QAction* item = form->findChild<QAction*>("HilfeItem");
    ASSERT_TRUE(item->isEnabled());
    for (auto [workspace, title] : {std::pair{Workspace::Medikamente, "Medikamente"},
                                    std::pair{Workspace::Kunden, "Kunden"}}) {
        ClickTool(*form, workspace);
        item->trigger();
        ASSERT_NE(form->HelpViewer(), nullptr);
        EXPECT_TRUE(form->HelpViewer()->isVisible());
        EXPECT_EQ(form->HelpViewer()->Browser()->documentTitle(), title);
    }

    // A damaged page and contents are reported instead of showing an empty window.
    testfiles::WriteAll(Program() + "hilfe/kunden.html", "");
    testfiles::WriteAll(Program() + "hilfe/index.html", "\x00\x01");
    m_port.messages.clear();
    item->trigger();
    EXPECT_EQ(m_port.Texts(), QStringList{"HTML-Hilfedatei fehlt oder fehlerhaft !"});
}

}  // namespace
