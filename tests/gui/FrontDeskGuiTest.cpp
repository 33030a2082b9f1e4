// What a person at the practice desk meets on the real main window: where a print to the
// PDF printer went, quantities and bank lines on the printed invoice, the receipt's foot
// text, the file name the list print proposes, and where a search leaves the list.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "MainWindowTest.h"
#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/CardWorkspace.h"
#include "cards/ui/KarteiPanel.h"
#include "cards/ui/KarteiPickList.h"
#include "cards/ui/TBezDlg.h"
#include "cards/ui/TKarteiRechnDruckDlg.h"
#include "printing/DesktopPort.h"
#include "printing/PrinterList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/ui/PdfNoticeBar.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "shell/ui/TForm1Master.h"
#include "support/PdfTools.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

// Runs `drive` on the modal dialog of type Dialog once it shows.
template <typename Dialog>
void WhenShown(std::function<void(Dialog&)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
    });
}

// The desktop as the test sees it: every file or folder the window asked it to open.
struct RecordingDesktop : DesktopPort {
    QStringList opened;
    bool Open(const QString& path) override
    {
        opened << path;
        return true;
    }
};

class FrontDeskGuiTest : public MainWindowTest {
protected:
    // The practice with bare IBAN and BIC; Erika Weiß has the undecided form of address.
    void MakePractice(const QStringList& customers)
    {
        MakeData({}, {"Carprofen 50 mg Tabl.\t12,00\t17,76\t21,13\t1\t\t\t\t\t\t"},
                 {"Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12a\t\t"}, customers);
        OptionValues options;
        options.SetValue("NameEdit", "Tierarztpraxis Dr. Berger");
        options.SetValue("StrasseEdit", "Hauptstr. 1");
        options.SetValue("PLZEdit", "12345 Musterstadt");
        options.SetValue("BankEdit", "Sparkasse Musterstadt");
        options.SetValue("BLZEdit", "DE89 3704 0044 0532 0130 00");
        options.SetValue("KtoEdit", "COBADEFFXXX");
        WriteOptions(options);
    }
    static QString Weiss(const char* card)
    {
        return QString::fromUtf8(
                   "Weiß\tErika\tGartenweg 5\t54321 Beispielort\t0012\t\t"
                   "Frau / Herrn / Firma\t\t%1\t\t")
            .arg(QLatin1String(card));
    }
    void Start()
    {
        m_form = StartActive(QSize(1280, 900));
        m_form->SetDesktop(m_desktop);
        m_form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    }
    KarteiPanel& Panel() { return *m_form->Kartei(); }
    QAction* Action(const char* name) { return m_form->findChild<QAction*>(name); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // A medication taken over with the quantity typed into the pick list's search.
    void TakeOver(const QString& search, int row)
    {
        // Back from the dialogs of a close, the window takes the keys again.
        m_form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
        TSGridView* view = Panel().GridView();
        QTest::mouseClick(view->Area(), Qt::LeftButton, {}, view->CellRect(1, row).center());
        Key(Qt::Key_D, Qt::ControlModifier);
        QLineEdit* edit = Panel().Medications()->SearchEdit();
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->clear();
        QTest::keyClicks(edit, search);
        Key(Qt::Key_F4);
    }
    // "Drucken", the print dialog on the kind of this caption and OK; the closing question
    // is answered OK.
    void Close(const QString& kind)
    {
        WhenShown<TKarteiRechnDruckDlg>([kind](TKarteiRechnDruckDlg& dlg) {
            for (QCheckBox* box : dlg.findChildren<QCheckBox*>()) {
                if (box->text() == kind && !box->isChecked())
                    QTest::mouseClick(box, Qt::LeftButton);
            }
            for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
                if (b->text() == "OK")
                    QTest::mouseClick(b, Qt::LeftButton);
            }
        });
        QTest::mouseClick(Panel().Button("DruckenBtn"), Qt::LeftButton);
    }

    RecordingDesktop m_desktop;
    std::unique_ptr<TForm1> m_form;
};

}  // namespace

// A new installation takes quantities over; the invoice states them, labels the bare bank
// numbers, prints no salutation for "Frau / Herrn / Firma", and the window names its file.
TEST_F(FrontDeskGuiTest, InvoiceWithQuantitiesAndWhereItsPdfWent)
{
    MakePractice({Weiss("000")});
    Start();
    ClickTool(*m_form, Workspace::Kunden);
    ClickTool(*m_form, Workspace::Kartei);
    QAction* quantities = Action("Menge1DruckChk");
    ASSERT_NE(quantities, nullptr);
    EXPECT_TRUE(quantities->isChecked()) << "no key stored: on";
    EXPECT_TRUE(Action("Menge2DruckChk")->isChecked());
    EXPECT_FALSE(Action("GotDruckChk")->isChecked());

    TakeOver("2Carp", 1);
    ASSERT_EQ(Panel().Form().GetRows()[0].Cell(card::kColText), "2 x  Carprofen 50 mg Tabl.");
    Close("&Rechnung drucken");

    const QString pdf = m_form->Printers().canvas.LastPdfFile();
    ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
    PdfNoticeBar* notice = m_form->PdfNotice();
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->Label()->text().contains(QFileInfo(pdf).fileName()));
    EXPECT_TRUE(m_form->statusBar()->currentMessage().contains(QDir::toNativeSeparators(pdf)));
    const QString text = pdftools::Text(pdf);
    pdftools::Keep(pdf, "invoice_quantity");
    EXPECT_TRUE(text.contains(QRegularExpression("2 x\\s+Carprofen 50 mg Tabl.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains("IBAN: DE89 3704 0044 0532 0130 00")) << text.toStdString();
    EXPECT_TRUE(text.contains("BIC: COBADEFFXXX"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("Erika Weiß")));
    EXPECT_FALSE(text.contains("Frau / Herrn")) << text.toStdString();

    // "Öffnen" and "Ordner öffnen" of the notice, and "Datei › PDF-Ordner öffnen".
    const auto trigger = [](QWidget* owner, const char* name) {
        for (QAction* a : owner->actions()) {
            if (a->objectName() == QLatin1String(name))
                return a->trigger();
        }
        QStringList names;
        for (QAction* a : owner->actions())
            names << a->objectName() + "=" + a->text();
        ADD_FAILURE() << "no action " << name << " in " << names.join(", ").toStdString();
    };
    trigger(notice, "PdfOeffnenItem");
    trigger(notice, "PdfHinweisOrdnerItem");
    trigger(m_form->menuBar()->actions().value(0)->menu(), "PdfOrdnerOeffnenItem");
    const QString folder = QFileInfo(pdf).absolutePath();
    EXPECT_EQ(m_desktop.opened, (QStringList{pdf, folder, folder}));

    // Switched off, the option is stored and the next take-over names no quantity.
    quantities->trigger();
    EXPECT_EQ(IniFile(Ini()).ReadString("Menge1Druck", "Menge1DruckChk"), "FALSE");
    TakeOver("2Carp", 1);
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColText), "Carprofen 50 mg Tabl.");
}

// The receipt's foot text of earlier versions began with a stray "."; the stored untouched
// default prints mended, and the file keeps the mended text.
TEST_F(FrontDeskGuiTest, ReceiptFootTextWithoutTheStrayPoint)
{
    MakePractice({Weiss("001")});
    testfiles::WriteLines(Data() + "K0012001.KAR",
                          QStringList{"01.03.2024\tImpfung\t1\t30,00000\t\t\t\t\t", "---KOPF---"} +
                              card::NewCardHeader("0012", 1, "x", "Euro"));
    IniFile ini(Ini());
    const QString old =
        QString::fromUtf8(".                    € Bar / EC / Scheck dankend erhalten!");
    for (int i = 0; i < 12; ++i)
        ini.WriteString("Dokumente", QStringLiteral("D%1").arg(i),
                        i == 6 ? old : QStringLiteral("x"));
    Start();
    ClickTool(*m_form, Workspace::Kartei);
    // The payment dialog follows the closing question; it is confirmed as it comes up.
    QTimer payment;
    payment.setInterval(10);
    QObject::connect(&payment, &QTimer::timeout, [] {
        if (auto* dlg = qobject_cast<TBezDlg*>(QApplication::activeModalWidget()))
            QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    });
    payment.start();
    Close("&Quittung drucken");
    payment.stop();

    const QString pdf = m_form->Printers().canvas.LastPdfFile();
    ASSERT_TRUE(pdf.contains("Quittung")) << pdf.toStdString();
    const QString text = pdftools::Text(pdf);
    pdftools::Keep(pdf, "receipt_foot");
    EXPECT_TRUE(text.contains("Betrag bar / mit EC-Karte / per Scheck dankend erhalten!"))
        << text.toStdString();
    EXPECT_FALSE(
        text.contains(QRegularExpression("^\\s*\\.", QRegularExpression::MultilineOption)));
    EXPECT_EQ(IniFile(Ini()).ReadString("Dokumente", "D6"),
              "Betrag bar / mit EC-Karte / per Scheck dankend erhalten!");
}

// The list print proposes a file of its own job in the PDF folder, never the last
// document's, and writes to the name the person typed.
TEST_F(FrontDeskGuiTest, ListPrintProposesItsOwnFileAndWritesTheTypedOne)
{
    MakePractice({Weiss("000")});
    Start();
    const QString pdfFolder = QDir::toNativeSeparators(Program() + "PDF");
    QString first;
    ClickTool(*m_form, Workspace::Leistungen);
    WhenShown<QPrintDialog>([&first](QPrintDialog& dlg) {
        first = dlg.findChild<QLineEdit*>("filename")->text();
        dlg.accept();
    });
    Action("DruckenDateiItem")->trigger();
    EXPECT_EQ(first, pdfFolder + QDir::separator() + "Talven - Leistungen_20240315_090000.pdf");
    EXPECT_TRUE(QFileInfo::exists(first));

    const QString typed = Program() + "Kundenliste.pdf";
    QString proposed;
    ClickTool(*m_form, Workspace::Kunden);
    WhenShown<QPrintDialog>([&proposed, typed](QPrintDialog& dlg) {
        auto* file = dlg.findChild<QLineEdit*>("filename");
        proposed = file->text();
        file->setText(typed);
        dlg.accept();
    });
    Action("DruckenDateiItem")->trigger();
    EXPECT_EQ(proposed, pdfFolder + QDir::separator() + "Talven - Kundenstamm_20240315_090000.pdf");
    ASSERT_TRUE(QFileInfo::exists(typed));
    EXPECT_TRUE(pdftools::Text(typed).contains(QString::fromUtf8("Weiß")));
    EXPECT_EQ(QDir(Program() + "PDF").entryList({"*.pdf"}).size(), 1) << "no file beside it";
    EXPECT_TRUE(m_form->PdfNotice()->Label()->text().contains("Kundenliste.pdf"));
}

// A search shows the record found in the first row, with the next matches below it.
TEST_F(FrontDeskGuiTest, SearchShowsTheFoundRecordWithTheRowsAfterIt)
{
    QStringList customers, meds;
    for (int i = 0; i < 100; ++i) {
        const QString name = i < 40   ? QStringLiteral("A%1").arg(i, 2, 10, QChar('0'))
                             : i < 43 ? QString::fromUtf8("Weiß")
                                      : QStringLiteral("Z%1").arg(i, 2, 10, QChar('0'));
        customers << QStringLiteral("%1\tV%2\t\t\t%3\t\t\t\t000\t\t")
                         .arg(name)
                         .arg(i)
                         .arg(i + 10, 4, 10, QChar('0'));
        meds << QStringLiteral("%1 Mittel %2\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t")
                    .arg(name)
                    .arg(i, 2, 10, QChar('0'));
    }
    MakeData({}, meds, {}, customers);
    Start();
    struct Case {
        Workspace workspace;
        const char* search;
        MasterTable table;
    };
    for (const Case& c : {Case{Workspace::Kunden, "SuchEditKunde", MasterTable::Customer},
                          Case{Workspace::Medikamente, "SuchEdit", MasterTable::Medication}}) {
        SCOPED_TRACE(c.search);
        ClickTool(*m_form, c.workspace);
        auto* edit = m_form->findChild<QLineEdit*>(c.search);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, QString::fromUtf8("Weiß"));
        const TSGrid& grid = m_form->Grid(c.table);
        ASSERT_LT(grid.RowCount(), 45) << "the window shows fewer rows than the table has";
        EXPECT_EQ(grid.CurrentRecord(), 40);
        EXPECT_EQ(grid.WindowTop(), 40) << "the first match heads the rows";
        EXPECT_EQ(m_form->View(c.table)->ScrollBar()->value(), 40);
    }
}
