// The "Texte" workspace in the real main window: a letter with letterhead for a customer,
// saved, reopened from the recent files, printed to the PDF printer and read back.
// Set TALVEN_KEEP_PNG to a folder to keep the PDF, its pages and pictures of the windows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "EditDlgDriver.h"
#include "MainWindowTest.h"
#include "appointments/ui/TTerminEditDlg.h"
#include "common/CodePage.h"
#include "common/qt/QtUserPort.h"
#include "masterdata/PatientForm.h"
#include "masterdata/ui/TEditDlg.h"
#include "printing/qt/QtPrintCanvas.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "shell/ui/TForm1Master.h"
#include "support/PdfTools.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"
#include "texts/TKreditorDlgForm.h"
#include "texts/ui/MemoEdit.h"
#include "texts/ui/TKreditorDlg.h"
#include "texts/ui/TNotizDlg.h"
#include "texts/ui/TSMemo.h"

namespace {

void KeepPicture(QWidget& widget, const QString& name)
{
    const QString keep = qEnvironmentVariable("TALVEN_KEEP_PNG");
    if (!keep.isEmpty())
        widget.grab().save(QDir(keep).filePath(name + QStringLiteral(".png")));
}

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

class TexteGuiTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MakeData({}, {}, {},
                 {QString::fromUtf8("Mustermann\tErika\tGartenweg 5\t54321 Beispielort\t0012\t\t"
                                    "Frau\t\t000\t\t")});
        OptionValues v;
        v.SetValue("NameEdit", QString::fromUtf8("Tierarztpraxis Dr. Berger"));
        v.SetValue("FirmaEdit", QString::fromUtf8("Fachtierarzt für Kleintiere"));
        v.SetValue("StrasseEdit", "Hauptstr. 1");
        v.SetValue("PLZEdit", "12345 Musterstadt");
        v.SetValue("TelEdit", "Tel. 01234/5678");
        v.SetValue("BankEdit", "Sparkasse Musterstadt");
        v.SetValue("BLZEdit", "IBAN DE12 3456 7890 1234 5678 90");
        WriteOptions(v);
        m_form = StartActive(QSize(1100, 760));
        m_form->Printers().canvas.SelectPrinter(QStringLiteral("PDF-Datei"));
    }
    TSMemo& Panel() { return *m_form->TextPanel(); }
    QString Texts() const { return Data() + "Texte/"; }

    std::unique_ptr<TForm1> m_form;
};

TEST_F(TexteGuiTest, LetterWithLetterheadSavedReopenedAndPrintedForAWindowEnvelope)
{
    // A fresh installation has its reminder texts.
    for (const char* name : {"MAHNUNG1.TLV", "MAHNUNG2.TLV", "IMPFERG.TLV"})
        EXPECT_TRUE(QFileInfo::exists(Texts() + name)) << name;

    ClickTool(*m_form, Workspace::Kunden);
    ClickTool(*m_form, Workspace::Text);
    ASSERT_EQ(m_form->CurrentPanel(), &Panel());
    EXPECT_EQ(m_form->windowTitle(), "Talven-Textverarbeitung: [Unbenannt]");
    QApplication::processEvents();
    QTest::keyClicks(Panel().Editor(), QString::fromUtf8("Sehr geehrte Frau Mustermann,"));
    QTest::keyClick(Panel().Editor(), Qt::Key_Return);
    QTest::keyClick(Panel().Editor(), Qt::Key_Return);
    QTest::keyClicks(Panel().Editor(), QString::fromUtf8("Bello ist gegen Tollwut geimpft."));

    // The letterhead dialog comes up with the customer selected in the main window.
    WhenShown<TKreditorDlg>([](TKreditorDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "(Brief-)Kopf");
        EXPECT_EQ(dlg.Editor(TKreditorDlgForm::Name)->text(), "Mustermann");
        EXPECT_EQ(dlg.Editor(TKreditorDlgForm::PlzOrt)->text(), "54321 Beispielort");
        dlg.Editor(TKreditorDlgForm::Titel)->setFocus();
        QTest::keyClicks(dlg.Editor(TKreditorDlgForm::Titel), QStringLiteral("Impfbescheinigung"));
        KeepPicture(dlg, "TKreditorDlg");
        dlg.OkButton()->click();
    });
    Panel().Button("KopfBtn")->click();
    EXPECT_EQ(m_form->findChild<QLabel*>("KopfLabel")->text(),
              "Mustermann, Erika, Gartenweg 5, 54321 Beispielort");
    KeepPicture(*m_form, "Texte");

    // Save: the unnamed letter goes to the save dialog, whose name is stored upper case.
    m_port.QueueFile(Texts() + "brief");
    Panel().Button("SpeichernBtn")->click();
    const QString saved = Texts() + "BRIEF.TLV";
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(m_form->windowTitle(), "Talven-Textverarbeitung: BRIEF.TLV");
    const QStringList lines = cp1252::SplitLines(testfiles::ReadAll(saved));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QChar(0x2026)));
    EXPECT_EQ(lines[3], "Bello ist gegen Tollwut geimpft.");

    // New, then the first recent file of the Datei menu opens it again.
    Panel().Button("NeuBtn")->click();
    EXPECT_EQ(Panel().Editor()->toPlainText(), "");
    EXPECT_EQ(m_form->findChild<QLabel*>("KopfLabel")->text(), "- - -");
    QAction* recent = m_form->findChild<QAction*>("DateiItem1");
    ASSERT_TRUE(recent->isVisible());
    EXPECT_EQ(recent->text(), "&1 " + saved);
    recent->trigger();
    EXPECT_TRUE(Panel().Editor()->toPlainText().endsWith("Tollwut geimpft."));
    EXPECT_EQ(Panel().Workspace().Head().title, QStringLiteral("Impfbescheinigung"));

    // Print through the print dialog to the PDF printer.
    WhenShown<QPrintDialog>([](QPrintDialog& dialog) { dialog.accept(); });
    m_form->findChild<QAction*>("DruckenDateiItem")->trigger();
    const QString pdf = m_form->Printers().canvas.LastPdfFile();
    ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
    EXPECT_EQ(pdftools::PageCount(pdf), 1);
    const QString text = pdftools::Text(pdf);
    pdftools::ExpectInOrder(
        text, {"Tierarztpraxis Dr. Berger", "Hauptstr. 1", "Frau", "Erika Mustermann",
               "Gartenweg 5", "54321 Beispielort", QStringLiteral("Impfbescheinigung"),
               "Sehr geehrte Frau Mustermann,", "Tollwut geimpft."});
    EXPECT_TRUE(text.contains("15.03.2024"));  // no date set: today
    // The addressee sits in the window of a DL or C6 envelope (20 mm from the left edge, 45
    // to 90 mm from the top, 90 mm wide); the practice's own column lies right of it.
    const QList<pdftools::Word> words = pdftools::Words(pdf);
    QRectF address;
    for (const char* w : {"Frau", "Erika", "Mustermann", "Gartenweg", "54321", "Beispielort"})
        address |= pdftools::BoxOf(words, w);
    EXPECT_NEAR(address.left(), 20.0, 1.0);
    EXPECT_TRUE(QRectF(19.0, 45.0, 91.0, 45.0).contains(address))
        << address.top() << " - " << address.bottom() << " mm from the top";
    EXPECT_GT(pdftools::BoxOf(words, "Hauptstr.").left(), 110.0);
    pdftools::Keep(pdf, "Brief");
    EXPECT_FALSE(m_form->Printers().strList.KopfPrint);
    EXPECT_TRUE(m_form->Printers().strList.StringList.isEmpty());
}

TEST_F(TexteGuiTest, NotesOfTheSelectedCustomerWithAPatientAndTheirPlacement)
{
    ClickTool(*m_form, Workspace::Kunden);
    WhenShown<TNotizDlg>([](TNotizDlg& dlg) {
        EXPECT_EQ(dlg.findChild<QLabel*>("KundeLabel")->text(),
                  "Mustermann Erika, 54321 Beispielort");
        EXPECT_EQ(dlg.Button("UebergabeBtn"), nullptr);  // nobody to hand a cell to
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        QWidget* area = dlg.GridView()->Area();
        area->setFocus();
        QTest::keyClick(area, Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(area, Qt::Key_Right);
        QTest::keyClick(area, 'I');  // opens the cell editor, which takes the next keys
        auto* editor = area->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "mpf");
        QTest::keyClick(editor, Qt::Key_Return);
        WhenDialogShows([](TEditDlg& patient) {
            EXPECT_EQ(patient.windowTitle(), "Patienten einfügen");
            TypeInto(patient, PatientForm::PatName, "Bello");
            TypeInto(patient, PatientForm::PatTierart, "Hund");
        });
        dlg.Button("NeuBtn")->click();
        const TSGrid& notes = dlg.GridView()->Grid();
        EXPECT_EQ(notes.RecordLine(0), "15.03.2024\tImpf\t\t");
        EXPECT_EQ(notes.RecordLine(2), "Patient:\tHund Bello\t\t");
        // The patient's paragraph becomes a favourite named in the small "Termin" dialog.
        WhenShown<TTerminEditDlg>([](TTerminEditDlg& name) {
            EXPECT_EQ(name.windowTitle(), "Zu Favoriten hinzufügen");
            QTest::keyClicks(name.Editor(TTerminEditDlgForm::TerminEdit), "Hundepatient");
            name.OkButton()->click();
        });
        dlg.findChild<QAction*>("FavoritHinzuItem")->trigger();
        QStringList menu;
        for (QAction* a : dlg.FavoritesMenu()->actions())
            menu << a->text();
        EXPECT_TRUE(menu.contains("Hundepatient")) << menu.join('|').toStdString();
        KeepPicture(dlg, "TNotizDlg");
        dlg.resize(900, 600);
        dlg.Button("SchliessenBtn")->click();
    });
    m_form->findChild<QPushButton*>("PatientenBtn")->click();
    // "Neu" saved the notes with the patient; closing asked nothing more.
    const QStringList lines = cp1252::SplitLines(testfiles::ReadAll(Data() + "P0012.PAT"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[2], "Patient:\tHund Bello\t\t");
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_TRUE(testfiles::ReadAll(Data() + "FAVORITE.DBF").startsWith("Hundepatient\t"));
    IniFile ini(Ini());
    EXPECT_EQ(ini.ReadInteger("NotizDlg", "wWidth", -1), 900);
    EXPECT_EQ(ini.ReadString("NotizDlg", "wsMax"), "FALSE");
}

TEST_F(TexteGuiTest, SaveDialogLeavesTheReplaceQuestionToTheLetter)
{
    // The letter asks "Soll die bereits existierende Datei ... ersetzt werden?" itself; the
    // file dialog must not ask first.
    const QString existing = Texts() + "MAHNUNG1.TLV";
    bool askedTwice = false;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        QTimer::singleShot(0, [&askedTwice, d = &dialog] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                askedTwice = true;
                box->reject();
                d->reject();
            }
        });
        dialog.selectFile(existing);
        static_cast<QDialog&>(dialog).accept();  // the file dialog's own accept
    });
    QtUserPort port(m_form.get());
    EXPECT_EQ(port.ChooseSaveTarget("Speichern unter", Texts(), "Talven-Dateien (*.tlv)"),
              existing);
    EXPECT_FALSE(askedTwice);
}

TEST_F(TexteGuiTest, KeeperDialogOfTheDispensingRecord)
{
    TKreditorDlgForm form(TKreditorDlgForm::Mode::Keeper, m_port, m_clock);
    TKreditorDlg dlg(form, {});
    EXPECT_EQ(dlg.windowTitle(), "Tierhalter");
    EXPECT_EQ(dlg.BankBox(), nullptr);  // no print switches for a keeper
    dlg.show();
    QTest::keyClicks(dlg.Editor(TKreditorDlgForm::Name), "Huber");
    QTest::keyClicks(dlg.Editor(TKreditorDlgForm::Titel), "276091234567");
    KeepPicture(dlg, "Tierhalter");
    dlg.OkButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(form.KeeperLine(), " Huber, ,   (VVVO-Nr.: 276091234567)");
    EXPECT_EQ(dlg.Editor(TKreditorDlgForm::Datum), nullptr);  // the record has its own date
    // Cancel puts every field back as it was when the dialog opened.
    TKreditorDlg again(form, {});
    again.show();
    QTest::keyClicks(again.Editor(TKreditorDlgForm::Name), "x");
    again.reject();
    EXPECT_EQ(form.Text(TKreditorDlgForm::Name), "Huber");
}

}  // namespace
