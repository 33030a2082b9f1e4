#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "EditDlgDriver.h"
#include "MainWindowTest.h"
#include "bookkeeping/ui/TEARstatDlg.h"
#include "bookkeeping/ui/TEAdruckenDlg.h"
#include "bookkeeping/ui/TJournalPage.h"
#include "cards/CardHeader.h"
#include "cards/ui/KarteiHeader.h"
#include "cards/ui/KarteiPanel.h"
#include "cards/ui/TBezDlg.h"
#include "common/CodePage.h"
#include "masterdata/BookingForm.h"
#include "masterdata/ui/TEditDlg.h"
#include "printing/PrinterList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TStapelFrame.h"
#include "support/PdfTools.h"
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
    void KeepPicture(const QString& name) { KeepPicture(*m_form, name); }
    static void KeepPicture(QWidget& widget, const QString& name)
    {
        const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
        if (!folder.isEmpty())
            widget.grab().save(folder + "/" + name);
    }
    // Runs `drive` on the modal dialog of the type that opens next.
    template <typename Dialog>
    void WhenShown(std::function<void(Dialog&)> drive)
    {
        QTimer::singleShot(0, m_form.get(), [drive] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            drive(*dialog);
        });
    }
    // Pays the open amount of the card the record card workspace shows, as proposed.
    void PayShownCard()
    {
        WhenShown<TBezDlg>([](TBezDlg& dlg) { QTest::mouseClick(dlg.OkButton(), Qt::LeftButton); });
        QTest::mouseClick(m_form->Kartei()->Button("ZahlungBtn"), Qt::LeftButton);
    }
    void PreviousCard()
    {
        QTest::mouseClick(m_form->Kartei()->Header()->PreviousButton(), Qt::LeftButton);
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

// Two invoiced record cards are paid in the record card workspace; their bookings show in
// the income tab of the month, an expense is entered by hand, and the VAT return and the
// result of that month are printed to the PDF printer and read back.
TEST_F(StapelGuiTest, PaidCardsReachTheIncomeTabTheVatReturnAndTheResult)
{
    MakeData(
        "[Optionen]\r\nNameEdit=Tierarztpraxis Dr. Berger\r\nFirmaEdit=Kleintiere\r\n"
        "[Kontostand]\r\nWaehrung=Euro\r\n",
        {}, {}, {QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t003\t\t")});
    const auto card = [this](int number, const QString& line, const QStringList& sums) {
        testfiles::WriteLines(
            Data() + QStringLiteral("K001200%1.KAR").arg(number),
            QStringList{line, "---KOPF---", QStringLiteral("0012/00%1").arg(number), "x", "0012"} +
                sums + QStringList{"Euro", "Netto", "FALSE", "FALSE"});
    };
    card(1, "01.03.2024\tImpfung\t1\t1000,99000\t\t\t\t\t",
         {"1000,99", "190,19", "1191,18", "0,00", "1191,18", "05.03.2024", "1191,18000"});
    card(2, "02.03.2024\tFutter\t2\t100,00000\t\t\t\t\t",
         {"100,00", "7,00", "107,00", "0,00", "107,00", "06.03.2024", "107,00000"});
    testfiles::WriteLines(Data() + "K0012003.KAR",
                          QStringList{"---KOPF---"} + card::NewCardHeader("0012", 3, "x", "Euro"));
    Start();
    m_form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    ClickTool(*m_form, Workspace::Kartei);
    PreviousCard();
    PayShownCard();
    PreviousCard();
    PayShownCard();
    ASSERT_EQ(m_form->Kartei()->Header()->Field("KartNrLabel")->text(), "0012/001");

    ClickTool(*m_form, Workspace::Stapel);
    ClickTab(TStapelFrame::kEinnahmen);
    ASSERT_EQ(m_form->Stapel().Frame()->CurrentTab(), TStapelFrame::kEinnahmen);
    EXPECT_EQ(m_form->Stapel().Journal().Grid().RecordCount(), 2);
    EXPECT_EQ(
        QStringList({Label("NettoLabel"), Label("BruttoLabel"), Label("MwSt1Label"),
                     Label("MwSt1NettoLabel"), Label("MwSt2Label"), Label("MwSt2NettoLabel"),
                     Label("KasseLabel")}),
        QStringList({"1100,99", "1298,18", "19,0 %", "1000,99", "7,0 %", "100,00", "1298,18"}));

    ClickTab(TStapelFrame::kAusgaben);
    WhenDialogShows([](TEditDlg& dlg) {
        TypeInto(dlg, BookingForm::EinnBeleg, "R-7");
        TypeInto(dlg, BookingForm::EinnKunde, "Praxisbedarf");
        TypeInto(dlg, BookingForm::EinnNetto, "100,99");
    });
    QTest::mouseClick(Page().Button("EinfBtn"), Qt::LeftButton);
    EXPECT_EQ(Label("KasseLabel"), "1178,00");
    ClickTab(TStapelFrame::kEinnahmen);

    // The list to its file, then the VAT return to the printer.
    WhenShown<TEAdruckenDlg>([](TEAdruckenDlg& dlg) {
        EXPECT_EQ(dlg.findChild<QLabel*>("DruckerLabel")->text(), "(Druck auf PDF-Datei)");
        dlg.ToFileBox()->click();
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Page().Button("DruckenBtn"), Qt::LeftButton);
    QStringList exported;
    cp1252::ReadLines(Program() + "Einnahme.xls", exported);
    EXPECT_EQ(exported.size(), 4) << exported.join("|").toStdString();
    WhenShown<TEAdruckenDlg>([](TEAdruckenDlg& dlg) {
        dlg.VatReturnButton()->click();
        KeepPicture(dlg, "stapel_druckwahl.png");
        EXPECT_FALSE(dlg.ToFileBox()->isEnabled());
        EXPECT_EQ(dlg.findChild<QLabel*>("DruckenLabel")->text(),
                  "Drucken: Umsatzsteuer-Voranmeldung");
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Page().Button("DruckenBtn"), Qt::LeftButton);
    const QString pdf = m_form->Printers().canvas.LastPdfFile();
    ASSERT_TRUE(pdf.contains("Talven - UStVoranmeldung")) << pdf.toStdString();
    pdftools::Keep(pdf, "vat_return");
    pdftools::ExpectInOrder(pdftools::Text(pdf), {"Umsatzsteuer-Voranmeldung 2024",
                                                  "März",
                                                  "15.03.2024",
                                                  "Tierarztpraxis Dr. Berger Kleintiere",
                                                  "Steuerplichtige Umsätze",
                                                  "BMG (ohne USt)",
                                                  "zum Steuersatz von 19,0 %",
                                                  "1000,-",
                                                  "190,00 Euro",
                                                  "zum Steuersatz von 7,0 %",
                                                  "100,-",
                                                  "7,00 Euro",
                                                  "Summe Umsatzsteuer:",
                                                  "197,00 Euro",
                                                  "Abziehbare Vorsteuerbeträge",
                                                  "zum Steuersatz von 19,0 %",
                                                  "19,19 Euro",
                                                  "Summe Vorsteuerbeträge:",
                                                  "19,19 Euro",
                                                  "Verbleibende Umsatzsteuer-Vorauszahlung/",
                                                  "177,81 Euro"});

    // The result of the month, the year, and its print.
    WhenShown<TEARstatDlg>([](TEARstatDlg& dlg) {
        EXPECT_EQ(dlg.PeriodLabel()->text(), "03.2024");
        EXPECT_EQ(dlg.Value("EinnKasseBrutto")->text(), "1298,18");
        EXPECT_EQ(dlg.Value("AusgKasseNetto")->text(), "100,99");
        EXPECT_EQ(dlg.Value("ErgebnisLabel")->text(), "Überschuss:");
        EXPECT_EQ(dlg.Value("ErgebnisBrutto")->text(), "1178,00");
        KeepPicture(dlg, "stapel_ergebnis.png");
        QTest::mouseClick(dlg.PeriodLabel(), Qt::LeftButton);
        EXPECT_EQ(dlg.PeriodLabel()->text(), "2024");
        QTest::mouseClick(dlg.PrintButton(), Qt::LeftButton);
        dlg.accept();
    });
    QTest::mouseClick(Page().Button("EARInfoBtn"), Qt::LeftButton);
    const QString result = m_form->Printers().canvas.LastPdfFile();
    pdftools::Keep(result, "ear_result");
    pdftools::ExpectInOrder(
        pdftools::Text(result),
        {"Tierarztpraxis Dr. Berger, Kleintiere", "Einnahmen/Ausgaben - Ergebnis",
         "Für Zeitraum: 2024", "Einnahmen", "Ausgaben", "Kasse", "1100,99", "1298,18",
         "Überschuss:", "1000,00", "1178,00"});
    EXPECT_EQ(m_port.Texts().size(), 1) << m_port.Texts().join("|").toStdString();
}
