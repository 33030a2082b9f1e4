#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "EditDlgDriver.h"
#include "MainWindowTest.h"
#include "common/CodePage.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/MedicationForm.h"
#include "masterdata/ServiceForm.h"
#include "masterdata/ui/TEditDlg.h"
#include "printing/PrinterList.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "support/FixedClock.h"
#include "support/PdfTools.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

class TForm1MasterTest : public MainWindowTest {
protected:
    // The window on these master tables, shown and active.
    std::unique_ptr<TForm1> Start(const QStringList& med = {}, const QStringList& services = {},
                                  const QStringList& customers = {})
    {
        MakeData({}, med, services, customers);
        auto form = MainWindowTest::Start();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    // A button of the workspace shown.
    static QPushButton* Button(TForm1& form, const char* name)
    {
        return form.CurrentPanel()->findChild<QPushButton*>(name);
    }
    QStringList FileLines(const QString& name) const
    {
        QStringList lines;
        cp1252::ReadLines(Data() + name, lines);
        return lines;
    }
    static void Search(TForm1& form, const char* field, const QString& text)
    {
        auto* edit = form.findChild<QLineEdit*>(field);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
};

}  // namespace

TEST_F(TForm1MasterTest, RecordItemsOnlyInTheMasterWorkspaces)
{
    auto form = Start();
    const char* items[] = {"EinfuegenItem",      "LoeschenItem", "BearbeitenItem",
                           "DruckenDateiItem",   "VorschauItem", "ExportItem",
                           "SeiteEinrichtenItem"};
    for (const char* name : items) {
        ASSERT_NE(form->findChild<QAction*>(name), nullptr) << name;
        EXPECT_FALSE(form->findChild<QAction*>(name)->isEnabled()) << name << " on the welcome";
    }
    for (Workspace w : {Workspace::Medikamente, Workspace::Leistungen, Workspace::Kunden}) {
        ClickTool(*form, w);
        for (const char* name : items)
            EXPECT_TRUE(form->findChild<QAction*>(name)->isEnabled()) << name;
        EXPECT_NE(Button(*form, "EinfuegenBtn"), nullptr);
    }

    // Cancelling the dialog inserts nothing.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    form->findChild<QAction*>("EinfuegenItem")->trigger();
    EXPECT_EQ(m_port.LastText(), "Kein Datensatz wurde eingefügt!");
    EXPECT_EQ(form->Grid(MasterTable::Customer).RecordCount(), 0);
    // Nothing to edit or delete in an empty table.
    form->findChild<QAction*>("BearbeitenItem")->trigger();
    EXPECT_EQ(m_port.LastText(), "Datenbank ist leer!");
}

TEST_F(TForm1MasterTest, MedicationInsertedFoundEditedDeleted)
{
    QStringList med = {"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t"};
    for (int i = 0; i < 30; ++i)
        med << QStringLiteral("Cerenia %1\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t")
                   .arg(i, 2, 10, QChar('0'));
    auto form = Start(med);
    ClickTool(*form, Workspace::Medikamente);
    TSGrid& grid = form->Grid(MasterTable::Medication);
    auto* menge = form->findChild<QLineEdit*>("MengeMedEdit");
    menge->setText("3,00");

    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, MedicationForm::Artikel, "Baytril");
        TypeInto(dlg, MedicationForm::EinkNetto, "100");
        dlg.AmpvButton()->click();
    });
    QTest::mouseClick(Button(*form, "EinfuegenBtn"), Qt::LeftButton);
    ASSERT_EQ(grid.RecordCount(), 32);
    EXPECT_EQ(grid.RecordLine(1), "Baytril\t100,00\t127,56\t151,80\t1\t\t\t\t\t\t");
    EXPECT_EQ(grid.CurrentRecord(), 1);
    EXPECT_EQ(FileLines("MED.DBF").value(1), grid.RecordLine(1)) << "saved at once";
    EXPECT_EQ(menge->text(), "1,00");
    EXPECT_EQ(form->View(MasterTable::Medication)->ScrollBar()->maximum(),
              32 - grid.RowCount() + 1);

    Search(*form, "SuchEdit", "cer");
    EXPECT_EQ(grid.CurrentRecord(), 2);
    Search(*form, "SuchEdit", "bay");
    EXPECT_EQ(grid.CurrentRecord(), 1);

    WhenDialogShows([](TEditDlg& dlg) { TypeInto(dlg, MedicationForm::Ust, "2", true); });
    form->findChild<QAction*>("BearbeitenItem")->trigger();
    EXPECT_EQ(grid.RecordLine(1), "Baytril\t100,00\t127,56\t136,49\t2\t\t\t\t\t\t");
    EXPECT_EQ(FileLines("MED.DBF").value(1), grid.RecordLine(1));

    m_port.QueueAnswer(Answer::Yes);
    QTest::mouseClick(Button(*form, "LoeschenBtn"), Qt::LeftButton);
    EXPECT_EQ(m_port.LastText(), "Datensatz  wirklich löschen?");
    EXPECT_EQ(FileLines("MED.DBF"), med);
    EXPECT_EQ(grid.RecordCount(), 31);
}

TEST_F(TForm1MasterTest, ServiceInsertedThroughTheDialogAndFound)
{
    auto form = Start({}, {"Beratung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t"});
    ClickTool(*form, Workspace::Leistungen);
    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, ServiceForm::Leistung, "Impfung");
        TypeInto(dlg, ServiceForm::LeistungTier, "Hund");
        TypeInto(dlg, ServiceForm::GOTNetto, "20");
        TypeInto(dlg, ServiceForm::LeistungVerkNetto, "30");
        TypeInto(dlg, ServiceForm::LeistungGot, "12a");  // leaving the sale net sets 1,5
    });
    QTest::mouseClick(Button(*form, "EinfuegenBtn"), Qt::LeftButton);
    TSGrid& grid = form->Grid(MasterTable::Service);
    EXPECT_EQ(grid.RecordLine(1), "Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12a\t\t");
    EXPECT_EQ(FileLines("LEISTUNG.DBF").size(), 2);

    Search(*form, "SuchEdit", "be");
    EXPECT_EQ(grid.CurrentRecord(), 0);
    Search(*form, "SuchEdit", "imp");
    EXPECT_EQ(grid.CurrentRecord(), 1);

    WhenDialogShows([](TEditDlg& dlg) { TypeInto(dlg, ServiceForm::LeistungBem, "Jahr"); });
    QTest::mouseClick(Button(*form, "BearbeitenBtn"), Qt::LeftButton);
    EXPECT_EQ(grid.RecordLine(1), "Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12a\tJahr\t");

    m_port.QueueAnswer(Answer::No);
    QTest::mouseClick(Button(*form, "LoeschenBtn"), Qt::LeftButton);
    EXPECT_EQ(grid.RecordCount(), 2) << "No keeps the record";
    m_port.QueueAnswer(Answer::Yes);
    QTest::mouseClick(Button(*form, "LoeschenBtn"), Qt::LeftButton);
    EXPECT_EQ(FileLines("LEISTUNG.DBF"),
              QStringList{"Beratung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t"});
}

TEST_F(TForm1MasterTest, CustomerInsertedFoundEditedDeleted)
{
    auto form = Start({}, {}, {"Meier\tHans\t\t\t0042\t\t\t\t002\t\t"});
    ClickTool(*form, Workspace::Kunden);
    TSGrid& grid = form->Grid(MasterTable::Customer);
    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, CustomerForm::KundeName, "Adler");
        TypeInto(dlg, CustomerForm::KundeVorname, "Eva");
        TypeInto(dlg, CustomerForm::KundeBem, "(A) Hof");
        TypeInto(dlg, CustomerForm::KundeMail, "eva@adler.de");
    });
    QTest::mouseClick(Button(*form, "EinfuegenBtn"), Qt::LeftButton);
    ASSERT_EQ(grid.RecordCount(), 2);
    EXPECT_EQ(grid.RecordLine(0),
              "Adler\tEva\t\t\t0043\t\tFrau / Herrn / Firma\t(A) Hof\t000\teva@adler.de\t");
    EXPECT_EQ(grid.CurrentRecord(), 0) << "sorted, the new customer selected";
    EXPECT_EQ(IniFile(Data() + "TLV.INI").ReadString("LetzteKundenNr", "Nr"), "0043");

    form->findChild<QComboBox*>("SuchKritCBox")->setCurrentIndex(1);
    Search(*form, "SuchEditKunde", "42");
    EXPECT_EQ(grid.CurrentRecord(), 1);
    Search(*form, "SuchEditKunde", "43");
    EXPECT_EQ(grid.CurrentRecord(), 0);

    WhenDialogShows([](TEditDlg& dlg) { TypeInto(dlg, CustomerForm::KundeName, "Zander", true); });
    form->findChild<QAction*>("BearbeitenItem")->trigger();
    EXPECT_EQ(grid.RecordLine(1),
              "Zander\tEva\t\t\t0043\t\tFrau / Herrn / Firma\t(A) Hof\t000\teva@adler.de\t")
        << "number kept, resorted";
    EXPECT_EQ(grid.CurrentRecord(), 1);

    // The card files of the deleted customer go with him; the warning comes first.
    testfiles::WriteAll(Data() + "K0042001.KAR", "x");
    grid.GotoRecord(1, 0);
    m_port.QueueAnswer(Answer::Ok);
    m_port.QueueAnswer(Answer::Yes);
    form->findChild<QAction*>("LoeschenItem")->trigger();
    EXPECT_EQ(m_port.LastText(), "Datensatz Meier Hans KdNr.: 0042\r wirklich löschen?");
    EXPECT_FALSE(QFileInfo::exists(Data() + "K0042001.KAR"));
    EXPECT_EQ(
        FileLines("KUNDE.DBF"),
        QStringList{"Zander\tEva\t\t\t0043\t\tFrau / Herrn / Firma\t(A) Hof\t000\teva@adler.de\t"});
}

// A cell typed over in the grid would change memory only and be saved unchecked with the
// next change; the record dialog is the one way to edit.
TEST_F(TForm1MasterTest, MasterGridsTakeNoTypingInPlace)
{
    const QString med = "Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t";
    const QString service = "Beratung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t";
    const QString customer = "Meier\tHans\t\t\t0042\t\t\t\t002\t\t";
    auto form = Start({med}, {service}, {customer});
    const std::tuple<Workspace, MasterTable, QString> cases[] = {
        {Workspace::Medikamente, MasterTable::Medication, med},
        {Workspace::Leistungen, MasterTable::Service, service},
        {Workspace::Kunden, MasterTable::Customer, customer},
    };
    for (const auto& [workspace, table, line] : cases) {
        ClickTool(*form, workspace);
        TSGridView* view = form->View(table);
        view->Grid().SetSelection(5, 1);  // the customer number in the customer table
        view->Area()->setFocus();
        for (Qt::Key key : {Qt::Key_F2, Qt::Key_Return, Qt::Key_9}) {
            QTest::keyClick(view->Area(), key);
            EXPECT_FALSE(view->Editing()) << int(table) << " key " << key;
            if (view->Editing())
                QTest::keyClicks(QApplication::focusWidget(), "77");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        EXPECT_EQ(view->Grid().RecordLine(0).toStdString(), line.toStdString());
    }
}

TEST_F(TForm1MasterTest, QuantityFieldsTakeNumbersAndFractions)
{
    auto form = Start({"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t"},
                      {"Beratung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t"});
    ClickTool(*form, Workspace::Leistungen);
    auto* menge = form->findChild<QLineEdit*>("MengeLeistungEdit");
    auto* search = form->findChild<QLineEdit*>("SuchEdit");
    menge->setFocus();
    menge->selectAll();
    QTest::keyClicks(menge, "x1/3a");
    EXPECT_EQ(menge->text(), "1/3");
    search->setFocus();
    EXPECT_EQ(menge->text(), "1/3") << "a pack share stays as typed";

    menge->setFocus();
    menge->selectAll();
    QTest::keyClicks(menge, "2.5");
    QTest::keyClick(menge, Qt::Key_Backspace);
    QTest::keyClicks(menge, "759");
    EXPECT_EQ(menge->text(), "2,75") << "two decimals at most";
    search->setFocus();
    EXPECT_EQ(menge->text(), "2,75");
    menge->setFocus();
    menge->selectAll();
    QTest::keyClicks(menge, "4");
    search->setFocus();
    EXPECT_EQ(menge->text(), "4,00");

    menge->setFocus();
    menge->clear();
    search->setFocus();
    EXPECT_EQ(menge->text(), "1,00");
}

TEST_F(TForm1MasterTest, MasterListsPrintToThePdfPrinter)
{
    // With the stock column in the layout the medication list holds the stock-kept ones.
    auto form = Start({"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t3\t000001\t",
                       "Baytril\t100,00\t127,56\t151,80\t1\t\t\t\t1\t000002\t",
                       "Zylexis\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t"},
                      {"Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t2\t12a\t\t"},
                      {"Bär\tAnna\tLindenstr. 1\t12345 Überlingen\t0007\t\tFrau\t\t000\t\t"});
    form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    struct Case {
        Workspace workspace;
        MasterTable grid;
        QStringList needles;
    };
    const Case cases[] = {
        {Workspace::Medikamente,
         MasterTable::Medication,
         {"Talven - Medikamente", "Medikament", "VerkMitSt", "Aspirin", "151,80", "Seite 1"}},
        {Workspace::Leistungen, MasterTable::Service, {"Talven - Leistungen", "USt(%)", "Impfung"}},
        {Workspace::Kunden,
         MasterTable::Customer,
         {"Talven - Kundenstamm", "K-Nr.", "Bär", "0007"}},
    };
    for (const Case& c : cases) {
        ClickTool(*form, c.workspace);
        const QString title = form->Grid(c.grid).Cells(1, 0);
        // The system print dialog, confirmed as it comes; the medications' own print
        // dialog ("Medikamentenliste" chosen) comes before it.
        std::function<void()> confirm = [&confirm] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const bool medications = dialog->objectName() == "MedInvDruckDlg";
            dialog->accept();
            if (medications)
                QTimer::singleShot(0, confirm);
        };
        QTimer::singleShot(0, confirm);
        form->findChild<QAction*>("DruckenDateiItem")->trigger();
        const QString pdf = form->Printers().canvas.LastPdfFile();
        ASSERT_TRUE(pdf.startsWith(Program() + "PDF/")) << pdf.toStdString();
        const QString out = pdftools::Text(pdf);
        ASSERT_FALSE(out.isEmpty()) << "pdftotext read nothing";
        for (const QString& needle : c.needles)
            EXPECT_TRUE(out.contains(needle)) << needle.toStdString() << "\n" << out.toStdString();
        if (c.grid == MasterTable::Medication) {
            EXPECT_FALSE(out.contains("Zylexis")) << "no stock kept";
        }
        if (c.grid == MasterTable::Service) {
            EXPECT_TRUE(out.contains(QRegularExpression("35,70 +7\\s*\\n")))
                << "the VAT code column shows the rate of code 2";
        }
        EXPECT_EQ(form->Grid(c.grid).Cells(1, 0), title) << "screen titles back after the job";
        pdftools::Keep(pdf, QFileInfo(pdf).baseName());
    }
}

TEST_F(TForm1MasterTest, CustomerListExportAndPageSetupFromTheDateiMenu)
{
    auto form =
        Start({}, {}, {"Bär\tAnna\tLindenstr. 1\t12345 Überlingen\t0007\t0123\tFrau\t\t000\t\t"});
    ClickTool(*form, Workspace::Kunden);
    m_port.QueueFile(Program() + "kunden.xls");
    form->findChild<QAction*>("ExportItem")->trigger();
    EXPECT_EQ(FileLines("../kunden.xls"),
              (QStringList{"Table", "Name\tVorname\tStraße\tPLZ\tK-Nr.\t",
                           "Bär\tAnna\tLindenstr. 1\t12345 Überlingen\t0007\t"}));

    // Page setup opens the layout of the list shown.
    QString caption;
    QTimer::singleShot(0, [&caption] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        dialog->close();
    });
    form->findChild<QAction*>("SeiteEinrichtenItem")->trigger();
    EXPECT_EQ(caption, "Druckbild - Kunden");
}

// The price line under the search row prices the quantity of the selected record as the
// record card takes it over: the medications' "100%" surcharge (the card's switch too), the
// services' factor field (the selected service's factor until another is typed) and the
// service quantity, which the options file keeps from one run to the next. Enter in the
// search field hides the line; the next search shows it again.
TEST_F(TForm1MasterTest, PricePanelQuotesSurchargeFactorAndKeptServiceQuantity)
{
    MakeData({}, {"Amoxi 250 Tabl.\t5,00\t8,00\t9,52\t1\t\t\t\t\t\t"},
             {"Beratung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t",
              "Impfung\tKatze\t20,00\t2,0\t40,00\t47,60\t1\t2\t\t"});
    WriteOptions(OptionValues());
    ASSERT_TRUE(IniFile(Ini()).WriteString("StdMenge", "Leistung", "2,5"));
    auto form = MainWindowTest::Start();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto visible = [&](const char* name) {
        auto* w = form->findChild<QWidget*>(name);
        return w && w->isVisible();
    };
    auto* search = form->findChild<QLineEdit*>("SuchEdit");
    auto* factor = form->findChild<QLineEdit*>("FaktorEdit");
    auto* quantity = form->findChild<QLineEdit*>("MengeLeistungEdit");

    ClickTool(*form, Workspace::Leistungen);
    EXPECT_TRUE(visible("StdMengePanel") && visible("FaktorEdit"));
    EXPECT_FALSE(visible("AMPV_2_Btn") || visible("MengeMedPanel"));
    EXPECT_EQ(quantity->text(), "2,50") << "the quantity of the last run";
    EXPECT_EQ(LabelText(*form, "PreisPanel"),
              "Preis: 2,50 x 10,00 x Faktor 1,0 = 25,00 Euro netto / 29,75 Euro brutto");

    factor->setFocus();
    factor->selectAll();
    QTest::keyClicks(factor, "2.5x");
    search->setFocus();
    EXPECT_EQ(factor->text(), "2,5");
    EXPECT_EQ(LabelText(*form, "PreisPanel"),
              "Preis: 2,50 x 10,00 x Faktor 2,5 = 62,50 Euro netto / 74,38 Euro brutto");
    factor->setFocus();
    factor->selectAll();
    QTest::keyClicks(factor, "4");
    search->setFocus();
    EXPECT_EQ(m_port.LastText(), "GOT-Faktor-Bereich (1..3)!");
    EXPECT_EQ(factor->text(), "1,0") << "the service's own factor again";

    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(factor->text(), "2,0") << "the factor follows the selection";
    EXPECT_EQ(LabelText(*form, "PreisPanel"),
              "Preis: 1,00 x 20,00 x Faktor 2,0 = 40,00 Euro netto / 47,60 Euro brutto");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_FALSE(visible("PreisPanel"));
    QTest::keyClicks(search, "B");
    EXPECT_TRUE(visible("PreisPanel"));

    ClickTool(*form, Workspace::Medikamente);
    EXPECT_TRUE(visible("AMPV_2_Btn") && visible("MengeMedPanel"));
    EXPECT_FALSE(visible("StdMengePanel") || visible("FaktorEdit"));
    search->clear();
    QTest::keyClicks(search, "3A");
    EXPECT_EQ(LabelText(*form, "PreisPanel"),
              "Preis: 3,00 x 8,00 = 24,00 Euro netto / 28,56 Euro brutto");
    QTest::keyClick(search, Qt::Key_F3);
    EXPECT_EQ(LabelText(*form, "PreisPanel"),
              "Preis: 100% Aufschlag: 3,00 x 2 x 5,00 = 30,00 Euro netto / 35,70 Euro brutto");
    auto* cardButton = form->findChild<QPushButton*>("ProzentBtn");
    ASSERT_NE(cardButton, nullptr);
    EXPECT_TRUE(cardButton->isChecked()) << "one surcharge switch for list and card";
    cardButton->toggle();
    EXPECT_FALSE(form->findChild<QPushButton*>("AMPV_2_Btn")->isChecked());

    ClickTool(*form, Workspace::Leistungen);
    quantity->setFocus();
    quantity->selectAll();
    QTest::keyClicks(quantity, "1/3");
    form->close();
    EXPECT_EQ(IniFile(Ini()).ReadString("StdMenge", "Leistung"), "1/3");
}
