#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "MainWindowTest.h"
#include "cards/ui/KarteiPanel.h"
#include "cards/ui/KarteiPickList.h"
#include "common/CodePage.h"
#include "dispensing/ui/AbgabePanel.h"
#include "dispensing/ui/TAbgDruckDlg.h"
#include "download/ui/TSuchenNachDlg.h"
#include "shell/ui/TForm1Abgabe.h"
#include "support/PdfTools.h"
#include "texts/TKreditorDlgForm.h"
#include "texts/ui/TKreditorDlg.h"

namespace {

// Runs `step` on the modal dialog of that class that opens next, as a person would.
template <typename Dialog>
void WhenShown(std::function<void(Dialog&)> step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(*dialog);
    });
}

QPushButton* ButtonWithText(QWidget& dialog, const QString& text)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

class AbgabeGuiTest : public MainWindowTest {
protected:
    void MakeData()
    {
        MainWindowTest::MakeData(
            {},
            {"Baytril 2,5%\t10,00\t20,00\t23,80\t1\tM 5 / F 10\tCH-4711\t\t\t\t",
             "Milbemax Tabl. 4 St.\t8,00\t16,00\t19,04\t1\t\tB22\t\t5\tMIL1\t"},
            {},
            {QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t000\t"
                               "anna@example.org\t")});
    }
    void Start() { m_form = StartActive(QSize(1280, 800)); }
    void ClickTool(Workspace w) { MainWindowTest::ClickTool(*m_form, w); }
    AbgabePanel& Panel() { return *m_form->Abgabe().Panel(); }
    abg::AbgWorkspace& Ws() { return m_form->Abgabe().Workspace(); }
    void Click(const char* button)
    {
        QPushButton* b = Panel().Button(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void TypeInto(int col, int row, const QString& text)
    {
        QTableWidget* grid = Panel().Grid();
        const QRect cell = grid->visualRect(grid->model()->index(row, col));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        // Keys go where the focus is: the first opens the cell editor.
        for (QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor hands its text over queued
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

// A record filled from the medications of a customer's card and the medication list, with
// the keeper from the header dialog, saved, found again after a restart and printed to
// the PDF printer.
TEST_F(AbgabeGuiTest, RecordFromTheCardSavedFoundAfterRestartAndPrinted)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kunden);
    ClickTool(Workspace::Kartei);
    KarteiPanel& card = *m_form->Kartei();
    card.Medications()->SelectRecord(0);
    card.Medications()->QuantityEdit()->setText("2");
    card.TakeOverMedication();

    ClickTool(Workspace::Abgabe);
    ASSERT_EQ(m_form->CurrentPanel(), &Panel());
    EXPECT_EQ(m_form->windowTitle(), "Talven - Abgabebeleg:  Nr. 0001");
    QTableWidget* grid = Panel().Grid();
    EXPECT_EQ(grid->rowCount(), 33);
    EXPECT_EQ(grid->columnCount(), 9);
    EXPECT_EQ(grid->rowHeight(0), 55);
    EXPECT_EQ(grid->item(6, 0)->background().color(), QColor(Qt::white));
    EXPECT_EQ(grid->item(7, 0)->background().color(), QColor(0xF4, 0xF4, 0xF4));
    EXPECT_EQ(Panel().KeeperLabel()->text(), "- - -");
    EXPECT_TRUE(Panel().StopBox()->isChecked());

    ASSERT_EQ(Panel().RecentBox()->count(), 1);
    Click("LetzteMedBtnAbgabe");
    Panel().Medications()->SelectRecord(1);
    Panel().Medications()->QuantityEdit()->setText("1/4");
    Click("UebernahmeBtnAbgabe");
    TypeInto(0, 1, "2 Rinder");
    EXPECT_EQ(Ws().Cell(0, 0), "2 Rinder");
    EXPECT_EQ(Ws().Cell(2, 0), "Baytril 2,5%");
    EXPECT_EQ(Ws().Cell(5, 0), "2,00");
    EXPECT_EQ(Ws().Cell(8, 0), "M 5 / F 10");
    EXPECT_EQ(Ws().Cell(2, 1), "Milbemax");
    EXPECT_EQ(Ws().Cell(3, 1), "B22");
    EXPECT_EQ(Ws().Cell(5, 1), "1 Tabl.");

    WhenShown<TKreditorDlg>([](TKreditorDlg& dialog) {
        QTest::keyClicks(dialog.Editor(TKreditorDlgForm::Titel), "276091234567");
        ButtonWithText(dialog, "OK")->click();
    });
    Click("KopfBtnAbgabe");
    const QString keeper =
        QString::fromUtf8("Anna Müller, Weg 1, 12345 Dorf  (VVVO-Nr.: 276091234567)");
    EXPECT_EQ(Panel().KeeperLabel()->text(), keeper);
    KeepPicture("abgabebeleg.png");

    Click("SpeichernBtnAbgabe");
    const QString file = Program() + "Abg_2024/A0001_24.abg";
    QStringList lines;
    ASSERT_TRUE(cp1252::ReadLines(file, lines));
    EXPECT_EQ(lines.size(), 61);
    EXPECT_EQ(abg::KeeperLineOf(lines), keeper);
    EXPECT_FALSE(Panel().Button("DatumBtnAbgabe")->isVisible());

    // After a restart the search finds the record by the customer's name.
    m_form.reset();
    Start();
    ClickTool(Workspace::Kunden);
    ClickTool(Workspace::Abgabe);
    EXPECT_EQ(m_form->windowTitle(), "Talven - Abgabebeleg:  Nr. 0002");
    m_port.QueueAnswer(Answer::No);  // no older one wanted
    WhenShown<TSuchenNachDlg>([](TSuchenNachDlg& dialog) { dialog.OkButton()->click(); });
    Click("SuchenBtnAbgabe");
    EXPECT_TRUE(
        m_port.Texts().contains("Abgabebeleg Nr. 0001 im Jahre 2024 gefunden .\rWollen Sie nach "
                                "einem älteren Beleg suchen?"))
        << m_port.Texts().join(" | ").toStdString();
    EXPECT_EQ(m_form->windowTitle(), "Talven - Abgabebeleg:  Nr. 0001");
    EXPECT_EQ(Ws().Cell(2, 1), "Milbemax");
    EXPECT_EQ(Panel().KeeperLabel()->text(), keeper);

    WhenShown<TAbgDruckDlg>([](TAbgDruckDlg& dialog) {
        EXPECT_TRUE(dialog.StandardChoice()->isChecked());
        EXPECT_FALSE(dialog.MailChoice()->isEnabled());  // no mail printer here
        ButtonWithText(dialog, "OK")->click();
    });
    Click("DruckenBtnAbgabe");
    const QStringList pdfs = QDir(Program() + "PDF").entryList({"*.pdf"});
    ASSERT_EQ(pdfs.size(), 1);
    const QString pdf = Program() + "PDF/" + pdfs[0];
    pdftools::Keep(pdf, "abgabebeleg");
    EXPECT_EQ(pdftools::PageCount(pdf), 1);
    pdftools::ExpectInOrder(
        pdftools::Text(pdf, false),
        {"Tierärztlicher Arzneimittel-Anwendungs- und Abgabebeleg (Nr. 0001)",
         "Tierhalter: (VVVO-Nr.: 276091234567)", "Anna Müller, Weg 1, 12345 Dorf", "Baytril 2,5%",
         "Milbemax", "1 Tabl.", "Anwendungs-/Abgabedatum: 15.03.2024",
         "Dieser Beleg ist mindestens 5 Jahre aufzubewahren.", "Kopie"});
}

// Unsaved changes are asked about when another workspace is chosen and when the window
// closes; the typed character beyond a column's print width is stopped.
TEST_F(AbgabeGuiTest, LeavingAsksAndTheAutomaticStopEndsTheText)
{
    MakeData();
    Start();
    ClickTool(Workspace::Abgabe);
    TypeInto(8, 1, "M 5 / F 10 Tage und mehr");
    const QString stopped = Ws().Cell(8, 0);
    EXPECT_FALSE(stopped.isEmpty());
    EXPECT_LT(stopped.size(), QString("M 5 / F 10 Tage und mehr").size());

    m_port.QueueAnswer(Answer::Yes);
    ClickTool(Workspace::Kunden);
    ASSERT_FALSE(m_port.messages.isEmpty());
    EXPECT_EQ(m_port.messages.last().text, "Möchten Sie die Änderungen abspeichern?");
    EXPECT_EQ(m_port.messages.last().buttons, Buttons::YesNo);
    EXPECT_TRUE(QFileInfo::exists(Program() + "Abg_2024/A0001_24.abg"));

    ClickTool(Workspace::Abgabe);
    EXPECT_EQ(m_form->windowTitle(), "Talven - Abgabebeleg:  Nr. 0002");
    TypeInto(0, 1, "Kuh");
    m_port.messages.clear();
    m_port.QueueAnswer(Answer::No);
    m_form->close();
    EXPECT_EQ(m_port.Texts(), QStringList{"Möchten Sie die Änderungen abspeichern?"});
    EXPECT_FALSE(QFileInfo::exists(Program() + "Abg_2024/A0002_24.abg"));
}
