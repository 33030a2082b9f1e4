#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "MainWindowTest.h"
#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/ui/KarteiHeader.h"
#include "cards/ui/KarteiPanel.h"
#include "common/CodePage.h"
#include "dunning/StapelWorkspace.h"
#include "dunning/ui/TStapelDruckPage.h"
#include "printing/PrinterList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/ui/TStapelDruckDlg.h"
#include "settings/Options.h"
#include "shell/ui/TForm1Dunning.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TStapelFrame.h"
#include "support/PdfTools.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

class StapelDruckGuiTest : public MainWindowTest {
protected:
    TStapelDruckPage& Page(int tab) { return *m_form->Stapel().Dunning()->Page(tab); }
    void ClickTab(int tab)
    {
        QTabBar* tabs = m_form->Stapel().Frame()->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    }
    // "Stapel-Druck", and "Start" in the batch print dialog.
    void RunBatch(int tab)
    {
        // The progress window shows first; the dialog is clicked once it is there.
        auto* poll = new QTimer(m_form.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dlg = qobject_cast<TStapelDruckDlg*>(w);
                if (dlg && dlg->isVisible()) {
                    poll->deleteLater();
                    poll->stop();
                    QTest::mouseClick(dlg->StartButton(), Qt::LeftButton);
                    return;
                }
            }
        });
        poll->start(10);
        QTest::mouseClick(Page(tab).RunButton(), Qt::LeftButton);
    }
    QStringList Pdfs() const
    {
        return QDir(Program() + "PDF").entryList({"*.pdf"}, QDir::Files, QDir::Name);
    }
    QString PdfText(const QString& name) const { return pdftools::Text(Program() + "PDF/" + name); }

    std::unique_ptr<TForm1> m_form;
};

// Three open cards invoiced in one batch run to the PDF printer, with the list; a month
// later the reminder run for one of them prints its letter with the fee and the new due date.
TEST_F(StapelDruckGuiTest, InvoiceRunThenReminderRunToPdf)
{
    QStringList customers;
    for (const char* number : {"0012", "0013", "0014"}) {
        customers << QString::fromUtf8("Kunde%1\tAnna\tWeg 1\t12345 Dorf\t%1\t\tFrau\t\t001\t\t")
                         .arg(QLatin1String(number));
    }
    MakeData({}, {}, {}, customers);
    OptionValues options;
    options.SetValue("NameEdit", "Tierarztpraxis Berger");
    options.SetValue("UebMa1Edit", "Erste Mahnung");
    options.SetValue("BLZEdit", "DE45 6835 0048 0001 2345 67");
    WriteOptions(options);
    const QStringList lines[] = {{"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"},
                                 {"05.03.2024\tRöntgen\t1\t50,00000\t\t\t\t\t"},
                                 {"10.03.2024\tSalbe\t2\t20,00000\t\t\t\t\t"}};
    const char* gross[] = {"119,00", "53,50", "21,40"};
    for (int i = 0; i < 3; ++i) {
        const QString number = QStringLiteral("%1").arg(12 + i, 4, 10, QChar('0'));
        testfiles::WriteLines(
            Data() + "K" + number + "001.KAR",
            lines[i] + QStringList{"---KOPF---"} + card::NewCardHeader(number, 1, "x", "Euro"));
        testfiles::WriteLines(
            Data() + "st_rechn.dbf",
            [&] {
                QStringList records;
                cp1252::ReadLines(Data() + "st_rechn.dbf", records);
                return records;
            }() +
                QStringList{number + "/001\tKunde" + number + " Anna\t" + number + "\t" +
                            lines[i][0].left(10) + "\t" + gross[i] + "\t\t"});
    }
    m_form = StartActive(QSize(1200, 800));
    m_form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    ClickTool(*m_form, Workspace::Stapel);
    ASSERT_EQ(m_form->Stapel().Frame()->CurrentTab(), TStapelFrame::kRechnungen);
    // A register copied from elsewhere keeps its spelling, and the label names it so.
    const auto fileLabel = [&] { return m_form->findChild<QLabel*>("FileLabel")->text(); };
    EXPECT_TRUE(fileLabel().endsWith("DATEN/st_rechn.dbf")) << fileLabel().toStdString();
    dunning::StapelWorkspace& ws = m_form->Stapel().Dunning()->Workspace();
    ASSERT_EQ(ws.MarkedCount(dunning::kInvoices), 3);
    EXPECT_EQ(Page(0).findChild<QLineEdit*>("SummeEdit")->text(), "193,90");
    EXPECT_EQ(ws.Grid(0).Cells(recordline::kInvGross, 1).trimmed(), "119,00");
    const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
    if (!folder.isEmpty())
        m_form->grab().save(folder + "/stapel_rechnungen.png");

    RunBatch(0);
    QStringList pdfs = Pdfs();
    ASSERT_EQ(pdfs.size(), 4) << pdfs.join(", ").toStdString();
    EXPECT_EQ(pdfs.filter("Talven - Stapeldruck").size(), 1);
    const QString list = PdfText(pdfs.filter("Talven - Stapeldruck").value(0));
    pdftools::ExpectInOrder(list, {"Stapeldruck: Rechnungen", "Druckauftrag: 3 Dokument(e)",
                                   "Brutto: 193,90 EUR", "0012/001", "0013/001", "0014/001"});
    for (const char* key : {"0012001", "0013001", "0014001"}) {
        const QStringList invoice = pdfs.filter(QStringLiteral("Talven - Rechnung ") + key);
        ASSERT_EQ(invoice.size(), 1) << key;
        EXPECT_TRUE(PdfText(invoice[0]).contains("RECHNUNG")) << key;
    }
    EXPECT_EQ(m_form->Stapel().Dunning()->Workspace().Grid(0).RecordCount(), 0);

    // A month later all three are due; the person keeps only the first one marked.
    m_clock.SetDate(QDate(2024, 4, 15));
    ClickTab(TStapelFrame::kMahnungen);
    ASSERT_EQ(ws.MarkedCount(dunning::kReminders), 3);
    EXPECT_TRUE(fileLabel().endsWith("DATEN/ST_MAHN.DBF")) << fileLabel().toStdString();
    TSGridView* view = Page(1).View();
    for (int row : {2, 3}) {
        QTest::mouseDClick(view->Area(), Qt::LeftButton, {},
                           view->CellRect(recordline::kDunMark, row).center());
    }
    ASSERT_EQ(ws.MarkedCount(dunning::kReminders), 1);
    Page(1).ListBox()->click();  // no list this time
    RunBatch(1);
    pdfs = Pdfs();
    const QStringList reminder = pdfs.filter("Talven - 1. Mahnung 0012001");
    ASSERT_EQ(reminder.size(), 1) << pdfs.join(", ").toStdString();
    EXPECT_EQ(pdfs.size(), 5);
    const QString letter = PdfText(reminder[0]);
    pdftools::Keep(Program() + "PDF/" + reminder[0], "stapel_mahnung");
    pdftools::ExpectInOrder(
        letter, {"Tierarztpraxis Berger", "Kunde0012", "Erste Mahnung", "vom 15.03.2024",
                 "124,00 Euro", "5,00 Euro", "bis zum 29.04.2024"});
    EXPECT_EQ(pdftools::ScannedCode(Program() + "PDF/" + reminder[0]).toStdString(),
              "BCD\n002\n1\nSCT\n\nTierarztpraxis Berger\nDE45683500480001234567\nEUR124.00"
              "\n\n\nRechnung 0012/001 vom 15.03.2024");
    const QStringList reminded = ws.Grid(1).Lines().filter("0012/001");
    ASSERT_EQ(reminded.size(), 1);
    EXPECT_EQ(recordline::Cell(reminded[0], recordline::kDunReminder1), "X");

    // A double click on a key opens that card in the Kartei workspace.
    const QString key = recordline::Cell(ws.Grid(1).RecordLine(0), recordline::kDunKey);
    QTest::mouseDClick(view->Area(), Qt::LeftButton, {},
                       view->CellRect(recordline::kDunKey, 1).center());
    ASSERT_EQ(m_form->CurrentPanel(), m_form->Kartei());
    EXPECT_EQ(m_form->Kartei()->Header()->Field("KartNrLabel")->text(), key);
}

// On the card: the box "1." issues the first reminder to the PDF printer, and "Freigeben"
// (after its GoBD question) returns the card to the open state.
TEST_F(StapelDruckGuiTest, ReminderBoxAndReleaseOnTheCard)
{
    MakeData({}, {}, {},
             {QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t001\t\t")});
    QStringList header = card::NewCardHeader("0012", 1, "x", "Euro");
    header[card::kHdrInvoiceGross] = "119,00";
    header[card::kHdrInvoiceDate] = "20.02.2024";
    header[card::kHdrOpenAmount] = "119,00000";
    testfiles::WriteLines(
        Data() + "K0012001.KAR",
        QStringList{"20.02.2024\tImpfung\t1\t100,00000\t\t\t\t\t", "---KOPF---"} + header);
    m_form = StartActive(QSize(1200, 800));
    m_form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    ClickTool(*m_form, Workspace::Kartei);
    KarteiPanel& panel = *m_form->Kartei();
    QTest::mouseClick(panel.Header()->PreviousButton(), Qt::LeftButton);
    const auto field = [&](const char* name) { return panel.Header()->Field(name)->text(); };
    ASSERT_EQ(field("KartNrLabel"), "0012/001");
    QPushButton* release = panel.Button("FreigebenBtn");
    EXPECT_TRUE(release->isEnabled());

    panel.Header()->Reminder1()->click();
    EXPECT_EQ(field("OffenLabel"), "124,00");
    EXPECT_EQ(field("MahnLabel"), "1 am   15.03.2024");
    EXPECT_TRUE(panel.Header()->Reminder1()->isChecked());
    EXPECT_TRUE(m_form->Printers().canvas.LastPdfFile().contains("Talven - 1. Mahnung 0012001"));
    const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
    if (!folder.isEmpty())
        m_form->grab().save(folder + "/kartei_mahnung.png");

    // A click on the checked box offers the reprint; declined, the reminder stays.
    m_port.QueueAnswer(Answer::No);
    panel.Header()->Reminder1()->click();
    EXPECT_EQ(m_port.LastText(), "Soll die 1.Mahnung erneut gedruckt werden?");
    EXPECT_TRUE(panel.Header()->Reminder1()->isChecked());
    EXPECT_EQ(field("OffenLabel"), "124,00");

    m_port.QueueAnswer(Answer::Yes);
    QTest::mouseClick(release, Qt::LeftButton);
    EXPECT_TRUE(
        m_port.LastText().startsWith("  Beim Freigeben wird das Rechnungsdatum gelöscht !"));
    EXPECT_EQ(field("RechnDatumLabel"), card::kUnset);
    EXPECT_FALSE(panel.Header()->Reminder1()->isChecked());
    // The boxes are cleared and enabled; on the open card a click says why nothing happens.
    for (QCheckBox* box : {panel.Header()->Reminder1(), panel.Header()->Reminder2()}) {
        EXPECT_TRUE(box->isEnabled());
        box->click();
        EXPECT_EQ(m_port.LastText(), dunning::kNotInvoiced);
        EXPECT_FALSE(box->isChecked());
    }
    EXPECT_FALSE(panel.Button("ZahlungBtn")->isEnabled());
    EXPECT_FALSE(release->isEnabled());
}

}  // namespace
