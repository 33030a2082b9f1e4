#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "MainWindowTest.h"
#include "appointments/ui/TTerminEditDlg.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "shell/ui/TForm1.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

class TForm1Test : public MainWindowTest {};

// Types the password into the window's password dialog as soon as it opens, then OK.
void AnswerPassword(const QString& typed)
{
    QTimer::singleShot(0, [typed] {
        auto* dialog = qobject_cast<TTerminEditDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Passwort"));
        QLineEdit* field = dialog->Editor(TTerminEditDlgForm::TerminEdit);
        EXPECT_EQ(field->echoMode(), QLineEdit::Password);
        QTest::keyClicks(field, typed);
        dialog->OkButton()->click();
    });
}

}  // namespace

TEST_F(TForm1Test, StartsOnTheWelcomePanel)
{
    m_port.QueueAnswer(Answer::Yes);  // create the data folder
    auto form = Make();
    form->ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(form->CurrentPanel(), form->WelcomePanel());
    EXPECT_EQ(LabelText(*form, "GreetingLabel"), "Heute ist Freitag, 15. März 2024.");
    EXPECT_EQ(LabelText(*form, "StatusLabel"), "Talven   15.03.2024 ");
    EXPECT_EQ(LabelText(*form, "MwstLabel"), "19,0");
    EXPECT_EQ(LabelText(*form, "WaehrungLabel"), "Euro");
    EXPECT_EQ(form->windowTitle(), "Talven");
    EXPECT_EQ(m_port.messages.size(), 1) << "only the question for the data folder";
    EXPECT_TRUE(QFileInfo::exists(Ini()));
    for (MasterTable g : {MasterTable::Medication, MasterTable::Service, MasterTable::Customer})
        EXPECT_EQ(form->Grid(g).RecordCount(), 0) << "empty tables loaded";
    for (const WorkspaceInfo& info : WorkspaceTable())
        EXPECT_TRUE(form->MenuAction(info.workspace)->isEnabled()) << info.menuText;
}

TEST_F(TForm1Test, NoDataFolderAndNoEndsWithoutAWindow)
{
    m_port.QueueAnswer(Answer::No);
    try {
        Make();
        FAIL() << "the program must end";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.exitCode, 1);
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && w->objectName() == "TForm1");
}

TEST_F(TForm1Test, SwitchesByToolBarAndMenu)
{
    MakeData();
    auto form = Make();
    form->ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));

    ClickTool(*form, Workspace::Medikamente);
    EXPECT_EQ(form->windowTitle(), "Talven - Medikamente");
    EXPECT_EQ(form->CurrentPanel()->objectName(), "HauptPanel");
    EXPECT_TRUE(form->MenuAction(Workspace::Medikamente)->isChecked());
    EXPECT_TRUE(form->ToolAction(Workspace::Medikamente)->isChecked());
    EXPECT_TRUE(LabelText(*form, "FileLabel").endsWith("/DATEN/MED.DBF"));

    form->MenuAction(Workspace::Kunden)->trigger();
    EXPECT_EQ(form->windowTitle(), "Talven - Kundenstamm");
    EXPECT_EQ(form->CurrentPanel()->objectName(), "HauptPanelKunde");
    EXPECT_TRUE(form->ToolAction(Workspace::Kunden)->isChecked());
    EXPECT_FALSE(form->ToolAction(Workspace::Medikamente)->isChecked());
    EXPECT_FALSE(form->MenuAction(Workspace::Medikamente)->isChecked());

    ClickTool(*form, Workspace::Leistungen);
    EXPECT_EQ(form->windowTitle(), "Talven - Leistungen");
    EXPECT_EQ(LabelText(*form, "Label2"), "Suche < abc.. >");
}

TEST_F(TForm1Test, ProtectedWorkspaceAsksForThePasswordOncePerRun)
{
    MakeData();
    {
        IniFile ini(Ini());
        OptionValues v;
        v.SetFlag("PW_KundeChk", true);
        v.SetFlag("PW_SysChk", true);
        v.SetPassword("geheim1");
        ASSERT_TRUE(WriteOrderedOptions(ini, v));
    }
    auto form = Make();
    form->ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(form->IndicatorTimer().isActive());

    AnswerPassword("falsch");
    ClickTool(*form, Workspace::Kunden);
    EXPECT_EQ(m_port.LastText(), "Kein gültiges Passwort !");
    EXPECT_EQ(form->CurrentPanel(), form->WelcomePanel());
    EXPECT_FALSE(form->ToolAction(Workspace::Kunden)->isChecked()) << "button springs back";

    AnswerPassword("geheim1");
    ClickTool(*form, Workspace::Kunden);
    EXPECT_EQ(form->CurrentPanel()->objectName(), "HauptPanelKunde");
    EXPECT_FALSE(form->IndicatorTimer().isActive());
    EXPECT_FALSE(form->findChild<QLabel*>("PasswordIndicator")->isVisible());

    ClickTool(*form, Workspace::Medikamente);
    bool askedAgain = false;
    QTimer watch;
    watch.setSingleShot(true);
    QObject::connect(&watch, &QTimer::timeout, [&askedAgain] {
        if (auto* dialog = qobject_cast<TTerminEditDlg*>(QApplication::activeModalWidget())) {
            askedAgain = true;
            dialog->reject();
        }
    });
    watch.start(0);
    ClickTool(*form, Workspace::Kunden);
    EXPECT_EQ(form->CurrentPanel()->objectName(), "HauptPanelKunde");
    EXPECT_EQ(m_port.messages.size(), 1);
    EXPECT_FALSE(askedAgain);
}

TEST_F(TForm1Test, GeometryIsWrittenOnCloseAndRestored)
{
    MakeData("[Optionen]\r\nwsMax=0\r\n[Zeilenstop]\r\nZeilenstopChk=TRUE\r\n");
    {
        auto form = Make();
        form->ShowMain();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        // The design size, or wider where the named tool bar buttons need it.
        EXPECT_EQ(form->size(), QSize(745, 570).expandedTo(form->minimumSizeHint()));
        form->setGeometry(40, 50, 800, 600);
        form->close();
    }
    IniFile ini(Ini());
    EXPECT_EQ(ini.ReadString("Optionen", "wsMax"), "0");
    EXPECT_EQ(ini.ReadInteger("Optionen", "wLeft", -1), 40);
    EXPECT_EQ(ini.ReadInteger("Optionen", "wTop", -1), 50);
    EXPECT_EQ(ini.ReadInteger("Optionen", "wWidth", -1), 800);
    EXPECT_EQ(ini.ReadInteger("Optionen", "wHeight", -1), 600);
    EXPECT_EQ(ini.ReadInteger("Optionen", "wMed", -1), 356);
    EXPECT_EQ(ini.ReadString("Zeilenstop", "ZeilenstopChk"), "TRUE");

    auto again = Make();
    again->ShowMain();
    EXPECT_EQ(again->geometry(), QRect(40, 50, 800, 600));
}

TEST_F(TForm1Test, MissingHelpFileIsReported)
{
    MakeData();
    auto form = Make();
    EXPECT_FALSE(form->findChild<QAction*>("HilfeItem")->isEnabled());
    form->OpenHelp();
    EXPECT_EQ(m_port.LastText(), "HTML-Hilfedatei fehlt oder fehlerhaft !");
}

TEST_F(TForm1Test, MasterWorkspacesShowTheirTables)
{
    MakeData("[Optionen]\r\nwMed=200\r\n");
    QStringList med;
    for (int i = 0; i < 40; ++i)
        med << QStringLiteral("Mittel %1\t1,5\t2\t2,38\t1\t\t\t\t\t\t").arg(i, 2, 10, QChar('0'));
    testfiles::WriteLines(Program() + "DATEN/MED.DBF", med);
    testfiles::WriteLines(Program() + "DATEN/KUNDE.DBF",
                          {"Bär\tAnna\t\t\t0001\t\t\t(A) Hof\t\t\t"});
    auto form = Make();
    form->ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    ClickTool(*form, Workspace::Medikamente);
    TSGrid& grid = form->Grid(MasterTable::Medication);
    EXPECT_EQ(grid.RecordCount(), 40);
    EXPECT_EQ(grid.ColWidth(1), 200) << "width from the options file";
    EXPECT_EQ(grid.Cells(1, 0), "Medikament/ Artikel");
    EXPECT_EQ(grid.Cells(2, 1).trimmed(), "1,50") << "prices shown with two decimals";
    TSGridView* view = form->View(MasterTable::Medication);
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->ScrollBar()->maximum(), 40 - grid.RowCount() + 1);

    auto* menge = form->findChild<QLineEdit*>("MengeMedEdit");
    menge->setText("3,00");
    view->Area()->setFocus();
    QTest::keyClick(view->Area(), Qt::Key_Down);
    EXPECT_EQ(menge->text(), "1,00") << "grid keys reset the quantities";
    QTest::keyClick(view->Area(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->findChild<QLineEdit*>("SuchEdit"));

    form->MenuAction(Workspace::Kunden)->trigger();
    EXPECT_EQ(form->Grid(MasterTable::Customer).GetRecordCell(1, 0), QString::fromUtf8("Bär"));
    EXPECT_EQ(form->Grid(MasterTable::Service).RecordCount(), 0);

    form->Grid(MasterTable::Medication).SetColWidth(1, 250);
    form->close();
    EXPECT_EQ(IniFile(Ini()).ReadInteger("Optionen", "wMed", 0), 250);
}

TEST_F(TForm1Test, OldWindowsFolderIsUpgradedAtStartUp)
{
    // A data folder copied from an older Windows installation: code page 1252, CR LF, names
    // in any case, the service table in its seven-cell layout (no factor, no sale net), the
    // medications and customers with fewer cells.
    ASSERT_TRUE(QDir(Program()).mkpath("DATEN"));
    testfiles::WriteAll(Ini(), "[Optionen]\r\nNameEdit=Praxis M\xfcller\r\n");
    testfiles::WriteAll(Data() + "Leistung.dbf",
                        "Impfung\tKatze\t20,00\t23,80\t1\t12a\tj\xe4hrlich\t\r\n"
                        "Beratung\tHund\t10,00\t11,90\t1\t1\t\t\r\n");
    testfiles::WriteAll(Data() + "MED.DBF", "Baytril\t100,00\t127,56\t151,80\t1\t\t\t\t\r\n");
    testfiles::WriteAll(Data() + "KUNDE.DBF",
                        "B\xe4r\tAnna\t\t\t0001\t\tFrau\t\t003\t\r\n"
                        "Zorn\tOtto\t\t\t0002\t\tHerrn\t\t000\t\r\n");
    auto form = Start();
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.LastText().toStdString();

    TSGrid& services = form->Grid(MasterTable::Service);
    EXPECT_EQ(services.RecordLine(0).toStdString(),
              "Impfung\tKatze\t20,00\t1,0\t20,00\t23,80\t1\t12a\tjährlich\t");
    EXPECT_EQ(services.Cells(4, 0), "Faktor");
    EXPECT_EQ(services.Cells(4, 1).trimmed(), "1,0") << "the old gross is no factor";
    EXPECT_EQ(services.Cells(6, 1).trimmed(), "23,80");
    EXPECT_EQ(testfiles::ReadAll(Data() + "Leistung.dbf"),
              QByteArray("Impfung\tKatze\t20,00\t1,0\t20,00\t23,80\t1\t12a\tj\xe4hrlich\t\r\n"
                         "Beratung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t\r\n"))
        << "saved in place, still code page 1252 with CR LF";
    EXPECT_EQ(form->Grid(MasterTable::Medication).RecordLine(0).toStdString(),
              "Baytril\t100,00\t127,56\t151,80\t1\t\t\t\t\t\t");
    EXPECT_EQ(testfiles::ReadAll(Data() + "KUNDE.DBF"),
              QByteArray("B\xe4r\tAnna\t\t\t0001\t\tFrau\t\t003\t\t\r\n"
                         "Zorn\tOtto\t\t\t0002\t\tHerrn\t\t000\t\t\r\n"));
    ClickTool(*form, Workspace::Leistungen);
    EXPECT_TRUE(LabelText(*form, "FileLabel").endsWith("/DATEN/Leistung.dbf"))
        << "the file shown is the one loaded: " << LabelText(*form, "FileLabel").toStdString();
}

TEST_F(TForm1Test, MedicationSearchTakesTheQuantityAndFindsTheName)
{
    MakeData();
    testfiles::WriteLines(
        Program() + "DATEN/MED.DBF",
        {"Amoxicillin\t1\t2\t2,38\t1\t\t\t\t\t\t", "Baytril\t1\t2\t2,38\t1\t\t\t\t\t\t",
         "Cerenia\t1\t2\t2,38\t1\t\t\t\t\t\t", "Dexa\t1\t2\t2,38\t1\t\t\t\t\t\t"});
    auto form = Make();
    form->ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ClickTool(*form, Workspace::Medikamente);
    auto* search = form->findChild<QLineEdit*>("SuchEdit");
    auto* menge = form->findChild<QLineEdit*>("MengeMedEdit");
    auto* mengeL = form->findChild<QLineEdit*>("MengeLeistungEdit");
    QTest::keyClicks(search, "3cer");
    EXPECT_EQ(search->text(), "cer");
    EXPECT_EQ(menge->text(), "3,00");
    EXPECT_EQ(mengeL->text(), "3,00");
    TSGrid& grid = form->Grid(MasterTable::Medication);
    EXPECT_EQ(grid.CurrentRecord(), 2);
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(grid.CurrentRecord(), 3);
    EXPECT_EQ(menge->text(), "1,00");
    QTest::keyClick(search, Qt::Key_End);
    EXPECT_EQ(grid.Col(), 10);
}

TEST_F(TForm1Test, CustomerSearchShowsItsResult)
{
    MakeData();
    testfiles::WriteLines(
        Program() + "DATEN/KUNDE.DBF",
        {"Bauer\tAnna\t\t\t0003\t\t\tHund Bello\t\t\t", "Meier\tHans\t\t\t0001\t\t\t\t\t\t",
         "Schulz\tEva\tBellostr. 5\t\t0012\t\t\t\t\t\t"});
    auto form = Make();
    form->ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ClickTool(*form, Workspace::Kunden);
    auto* search = form->findChild<QLineEdit*>("SuchEditKunde");
    auto* result = form->findChild<QLabel*>("NotFoundLabel");
    auto* more = form->findChild<QPushButton*>("FindContinueBtn");
    TSGrid& grid = form->Grid(MasterTable::Customer);

    QTest::keyClicks(search, "sch");
    EXPECT_EQ(grid.CurrentRecord(), 2);
    EXPECT_FALSE(result->isVisible());

    form->findChild<QComboBox*>("SuchKritCBox")->setCurrentIndex(1);
    search->setText("7");
    EXPECT_TRUE(result->isVisible());
    EXPECT_EQ(result->text(), "Kunden-Nr. nicht vorhanden!");

    grid.GotoRecord(1, 0);
    form->findChild<QComboBox*>("SuchKritCBox")->setCurrentIndex(2);
    search->setText("bello");
    EXPECT_EQ(result->text(), QString::fromUtf8("2 Einträge gefunden!"));
    EXPECT_EQ(grid.CurrentRecord(), 0);
    ASSERT_TRUE(more->isVisible());
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_EQ(grid.CurrentRecord(), 2);
    EXPECT_EQ(result->text(), "Weiterer Eintrag!");
}
