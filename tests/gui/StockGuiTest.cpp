#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include "MainWindowTest.h"
#include "cards/CardEntryForm.h"
#include "cards/ui/KarteiPanel.h"
#include "cards/ui/KarteiPickList.h"
#include "common/CodePage.h"
#include "dispensing/AbgWorkspace.h"
#include "dispensing/ui/AbgabePanel.h"
#include "printing/qt/QtPrintCanvas.h"
#include "shell/ui/TForm1Abgabe.h"
#include "shell/ui/TForm1Master.h"
#include "stock/ui/TMedInvDruckDlg.h"
#include "stock/ui/TMedVerwDlg.h"
#include "support/PdfTools.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

// The main window with automatic stock keeping on, one stock-kept medication (Rimadyl,
// code 000001, stock 5) and one customer without a card yet; today is 15 March 2024.
class StockGuiTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MakeData("[Optionen]\r\nMedInvAutom=TRUE\r\n",
                 {"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t",
                  "Rimadyl\t1,00\t2,00\t2,38\t1\t\t\t\t5,00\t000001\t"},
                 {"Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12a\t\t"},
                 {QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t000\t\t")});
        m_form = StartActive(QSize(1200, 760));
    }
    KarteiPanel& Panel() { return *m_form->Kartei(); }
    static void Type(const QString& text)
    {
        for (QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }
    static void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    QStringList StockFile() const
    {
        QStringList lines;
        cp1252::ReadLines(Data() + "MedInv2024/Med000001.dbf", lines);
        return lines;
    }
    QString TableStock() const
    {
        QStringList lines;
        cp1252::ReadLines(Data() + "MED.DBF", lines);
        return recordline::Cell(lines.value(1), recordline::kMedStock);
    }
    QString GridStock()
    {
        return m_form->Grid(MasterTable::Medication).GetRecordCell(recordline::kMedStock, 1);
    }
    // On the card: a dated line, then Rimadyl taken over twice.
    void TakeOverRimadylTwice()
    {
        MainWindowTest::ClickTool(*m_form, Workspace::Kartei);
        TSGridView* view = Panel().GridView();
        QTest::mouseClick(view->Area(), Qt::LeftButton, {}, view->CellRect(1, 1).center());
        Type("14.03.2024");
        Key(Qt::Key_Tab);
        QTest::mouseClick(Panel().Medications()->SearchEdit(), Qt::LeftButton);
        Type("2Rim");
        Key(Qt::Key_F4);
    }

    std::unique_ptr<TForm1> m_form;
};

TEST_F(StockGuiTest, TakeOverOntoACardBooksTheStockAndDiscardingTakesItBack)
{
    // The first start of the year carried the stock into a file of its own.
    EXPECT_EQ(StockFile(), QStringList({QString::fromUtf8("\t\t\t5\tÜbertrag 2023\t")}));
    EXPECT_TRUE(m_form->findChild<QLabel*>("StockIndicator")->isVisible());

    TakeOverRimadylTwice();
    const QString booking = "20240314\t2\t\t\tKartei-Nr.: 0012/001\t";
    EXPECT_EQ(StockFile().value(1), booking);
    EXPECT_EQ(TableStock(), "3,00");
    m_port.QueueAnswer(Answer::Yes);
    MainWindowTest::ClickTool(*m_form, Workspace::Medikamente);
    EXPECT_EQ(GridStock(), "3,00");

    // The same with the card's changes dropped: nothing stays booked.
    TakeOverRimadylTwice();
    EXPECT_EQ(StockFile().size(), 3);
    EXPECT_EQ(TableStock(), "1,00");
    m_port.QueueAnswer(Answer::No);
    MainWindowTest::ClickTool(*m_form, Workspace::Medikamente);
    EXPECT_EQ(StockFile(), QStringList({QString::fromUtf8("\t\t\t5\tÜbertrag 2023\t"), booking}));
    EXPECT_EQ(TableStock(), "3,00");
    EXPECT_EQ(GridStock(), "3,00");

    // Switched off, a take-over books nothing.
    QAction* automatic = nullptr;
    for (QAction* a : m_form->findChildren<QAction*>())
        if (a->text() == "Autom. Inventur der Medikamente")
            automatic = a;
    ASSERT_NE(automatic, nullptr);
    EXPECT_TRUE(automatic->isVisible());
    m_port.messages.clear();
    automatic->trigger();
    EXPECT_EQ(m_port.LastText(), "Achtung!\rDie Inventur-Automatik wurde ausgeschaltet.");
    EXPECT_FALSE(m_form->findChild<QLabel*>("StockIndicator")->isVisible());
    TakeOverRimadylTwice();
    EXPECT_EQ(StockFile().size(), 2);
    EXPECT_EQ(TableStock(), "3,00");
}

TEST_F(StockGuiTest, DispensingRecordBooksTheStockAndDiscardingTakesItBack)
{
    MainWindowTest::ClickTool(*m_form, Workspace::Abgabe);
    AbgabePanel& panel = *m_form->Abgabe().Panel();
    panel.Medications()->SelectRecord(1);
    panel.Medications()->QuantityEdit()->setText("1/2");
    QTest::mouseClick(panel.Button("UebernahmeBtnAbgabe"), Qt::LeftButton);
    EXPECT_EQ(StockFile().value(1), "20240315\t0,5\t\t\tAbgabebeleg\t");
    EXPECT_EQ(TableStock(), "4,50");

    m_port.QueueAnswer(Answer::No);
    m_form->Abgabe().Workspace().Leave();
    EXPECT_EQ(StockFile().size(), 1);
    EXPECT_EQ(TableStock(), "5,00");
}

TEST_F(StockGuiTest, StockDialogShowsTheBookAndOpensTheCardOfABooking)
{
    TakeOverRimadylTwice();
    m_port.QueueAnswer(Answer::Yes);
    MainWindowTest::ClickTool(*m_form, Workspace::Medikamente);
    m_form->Grid(MasterTable::Medication).GotoRecord(1, 1);
    auto* button = m_form->findChild<QPushButton*>("InventurBtn");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());

    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TMedVerwDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = true;
        QTableView* view = dialog->View();
        const auto cell = [view](int row, int col) {
            return view->model()->index(row, col).data().toString();
        };
        EXPECT_EQ(dialog->windowTitle(), "Inventurdaten des Medikaments");
        EXPECT_EQ(cell(0, 3), "5");
        EXPECT_EQ(cell(1, 0), "14.03.2024");
        EXPECT_EQ(cell(1, 2), "2");
        EXPECT_EQ(cell(1, 3), "3");
        EXPECT_EQ(cell(2, 0), "15.03.2024") << "the empty row to write in";
        const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
        if (!folder.isEmpty())
            dialog->grab().save(folder + "/stock-dialog.png");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        const QRect remark = view->visualRect(view->model()->index(1, 4));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, remark.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, remark.center());
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the double click left the dialog open: "
                          << m_port.Texts().join(" | ").toStdString();
            dialog->reject();
        }
    });
    button->click();
    ASSERT_TRUE(shown);
    EXPECT_EQ(m_form->Switcher().Active(), Workspace::Kartei);
    EXPECT_TRUE(Panel().Form().GetRows()[0].Cell(card::kColText).contains("Rimadyl"));
}

TEST_F(StockGuiTest, StockReportPrintsFromTheMedicationPrintDialog)
{
    TakeOverRimadylTwice();
    m_port.QueueAnswer(Answer::Yes);
    MainWindowTest::ClickTool(*m_form, Workspace::Medikamente);
    m_form->Printers().canvas.SelectPrinter("PDF-Datei");
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TMedInvDruckDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Drucken: Medikamente");
        const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
        if (!folder.isEmpty())
            dialog->grab().save(folder + "/stock-print-dialog.png");
        dialog->findChild<QRadioButton*>("InventurRBtn")->click();
        dialog->findChild<QPushButton*>("OkBtn")->click();
    });
    m_form->findChild<QAction*>("DruckenDateiItem")->trigger();
    const QString pdf = m_form->Printers().canvas.LastPdfFile();
    ASSERT_FALSE(pdf.isEmpty());
    pdftools::Keep(pdf, "stock-report");
    pdftools::ExpectInOrder(pdftools::Text(pdf),
                            {"Medikamenteninventur 2024", "Medikament", "Endbest.", "Rimadyl",
                             "5,00", "0,00", "2,00", "3,00"});
}

}  // namespace
