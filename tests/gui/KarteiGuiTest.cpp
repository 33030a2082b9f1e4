#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include "MailtoCatcher.h"
#include "MainWindowTest.h"
#include "cards/CardClosing.h"
#include "cards/CardEntryForm.h"
#include "cards/CardWorkspace.h"
#include "cards/ui/KarteiHeader.h"
#include "cards/ui/KarteiPanel.h"
#include "cards/ui/KarteiPickList.h"
#include "cards/ui/KarteiSidePanels.h"
#include "cards/ui/TBezDlg.h"
#include "cards/ui/TKarteiRechnDruckDlg.h"
#include "common/CodePage.h"
#include "masterdata/BookingForm.h"
#include "masterdata/ui/TEditDlg.h"
#include "printing/PrinterList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "settings/Options.h"
#include "shell/TOptionenDlgForm.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TOptionenDlg.h"
#include "support/PdfTools.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

// The main window with one customer, two medications and one service, at a size where
// the whole card workspace fits.
class KarteiGuiTest : public MainWindowTest {
protected:
    void MakeData(const QStringList& customers = {Mueller("000")})
    {
        MainWindowTest::MakeData({},
                                 {"Aspirin\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t",
                                  "Baytril\t100,00\t127,56\t151,80\t1\t\t\t\t\t\t"},
                                 {"Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12a\t\t"},
                                 customers);
    }
    void Start() { m_form = StartActive(QSize(1200, 760)); }
    // Anna Müller, customer 0012, whose current card is `card` ("000": none yet).
    static QString Mueller(const char* card)
    {
        return QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t%1\t\t")
            .arg(QLatin1String(card));
    }
    // Her card `number`: treatment lines, the header marker, the header lines.
    void WriteCard(int number, const QStringList& lines, const QStringList& header)
    {
        testfiles::WriteLines(Data() + QStringLiteral("K0012%1.KAR").arg(number, 3, 10, QChar('0')),
                              lines + QStringList{"---KOPF---"} + header);
    }
    // Card 1 invoiced on 5 February 2024 over 11,90 and not paid yet.
    static QStringList InvoicedHeader()
    {
        return {"0012/001", "x",          "0012",     "10,00", "1,90",  "11,90", "0,00",
                "11,90",    "05.02.2024", "11,90000", "Euro",  "Netto", "FALSE", "FALSE"};
    }
    void ClickTool(Workspace w) { MainWindowTest::ClickTool(*m_form, w); }
    KarteiPanel& Panel() { return *m_form->Kartei(); }
    QString Header(const char* name) { return Panel().Header()->Field(name)->text(); }
    // Keys go where the focus is, as they would for a person at the keyboard.
    static void Type(const QString& text)
    {
        for (QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void ClickCell(int col, int row)
    {
        TSGridView* view = Panel().GridView();
        QTest::mouseClick(view->Area(), Qt::LeftButton, {}, view->CellRect(col, row).center());
        QCoreApplication::processEvents();
    }
    QStringList CardLines(const QString& name) const
    {
        QStringList lines;
        cp1252::ReadLines(Data() + name, lines);
        return lines;
    }
    // "Drucken" on the card, the print dialog answered with OK; the check box `tick` is
    // ticked first when given, and `picture` keeps a grab of the dialog.
    void PrintWithDialog(const QString& tick = {}, const QString& picture = {})
    {
        QTimer::singleShot(0, m_form.get(), [tick, picture] {
            auto* dlg = qobject_cast<TKarteiRechnDruckDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
            if (!picture.isEmpty() && !folder.isEmpty())
                dlg->grab().save(folder + "/" + picture);
            for (QCheckBox* box : dlg->findChildren<QCheckBox*>()) {
                if (!tick.isEmpty() && box->text() == tick) {
                    ASSERT_TRUE(box->isEnabled());
                    QTest::mouseClick(box, Qt::LeftButton);
                }
            }
            for (QPushButton* b : dlg->findChildren<QPushButton*>()) {
                if (b->text() == "OK")
                    QTest::mouseClick(b, Qt::LeftButton);
            }
        });
        QTest::mouseClick(Panel().Button("DruckenBtn"), Qt::LeftButton);
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

TEST_F(KarteiGuiTest, TypedLineAndTakeOversAreSummed)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kunden);
    ClickTool(Workspace::Kartei);
    ASSERT_EQ(m_form->CurrentPanel(), &Panel());
    EXPECT_EQ(m_form->windowTitle(), "Talven - Kartei");
    EXPECT_EQ(Header("KartNrLabel"), "0012/001");
    EXPECT_EQ(Header("KundeLabel"), QString::fromUtf8("Müller Anna, 12345 Dorf"));
    EXPECT_TRUE(m_form->findChild<QLabel*>("FileLabel")->text().endsWith("K0012001.KAR"));
    EXPECT_TRUE(Panel().Menu()->menuAction()->isVisible());

    ClickCell(1, 1);
    Type("14,03,2024");  // a comma becomes a point
    Key(Qt::Key_Tab);
    Type("Bello: ");
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(1), "14.03.2024");

    QLineEdit* search = Panel().Medications()->SearchEdit();
    QTest::mouseClick(search, Qt::LeftButton);
    Type("2Bay");  // the digit is the quantity
    EXPECT_EQ(Panel().Medications()->QuantityEdit()->text(), "2,00");
    Key(Qt::Key_F4);
    Key(Qt::Key_F5);

    const card::Rows& rows = Panel().Form().GetRows();
    EXPECT_EQ(rows[0].Cell(card::kColText), "Bello: 2 x  Baytril");  // a new installation
    EXPECT_EQ(rows[0].Cell(card::kColAmount), "255,12000");
    EXPECT_EQ(rows[0].Cell(card::kColQuantity), "2,00");
    EXPECT_EQ(rows[1].Cell(card::kColText), "Impfung");
    EXPECT_EQ(Panel().CardGrid().Cells(card::kColAmount, 2).trimmed(), "30,00")
        << "shown with two decimals";
    EXPECT_EQ(Panel().LastMedications()->Table()->item(0, 0)->text(), "Baytril");

    QTest::mouseClick(Panel().Button("SummeBtn"), Qt::LeftButton);
    EXPECT_EQ(Header("GesamtNettoLabel"), "285,12");
    EXPECT_EQ(Header("GesamtMwStLabel"), "54,17");
    EXPECT_EQ(Header("GesamtBruttoLabel"), "339,29");
    EXPECT_EQ(Header("RechnBruttoLabel"), "339,29");
    EXPECT_EQ(Header("BarBruttoLabel"), "0,00");
    EXPECT_EQ(Header("OffenLabel"), "- - -");
    EXPECT_EQ(Header("KarteiWaehrungLabel"), "Euro");
    EXPECT_EQ(Header("BetragsArtLabel"), "Netto");
    EXPECT_EQ(Panel().Medications()->QuantityEdit()->text(), "1,00");
    KeepPicture("kartei.png");

    const QStringList file = CardLines("K0012001.KAR");
    ASSERT_GE(file.size(), 2);
    EXPECT_EQ(file[0], "14.03.2024\tBello: 2 x  Baytril\t1\t255,12000\t\t\t2,00\t\t");
    EXPECT_EQ(file[1], "\tImpfung\t1\t30,00000\t\t\t\t\t");
    EXPECT_FALSE(Panel().Form().IsModified()) << "the summation saved the card";
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.Texts().join(" | ").toStdString();
}

TEST_F(KarteiGuiTest, LeavingAModifiedCardAsks)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(1, 1);
    Type("13.03.2024");
    Key(Qt::Key_Tab);
    Type("Impfung");
    Key(Qt::Key_Return);

    const QString question = QString::fromUtf8("Möchten Sie die Änderungen abspeichern?");
    m_port.QueueAnswer(Answer::Yes);
    ClickTool(Workspace::Kunden);
    EXPECT_EQ(m_port.LastText(), question);
    EXPECT_EQ(m_form->CurrentPanel()->objectName(), "HauptPanelKunde");
    EXPECT_FALSE(Panel().Menu()->menuAction()->isVisible());
    EXPECT_EQ(CardLines("K0012001.KAR").value(0), "13.03.2024\tImpfung\t\t\t\t\t\t\t");

    // No drops the edits: the file stays as it was, and so does the card shown next time.
    ClickTool(Workspace::Kartei);
    ClickCell(2, 1);
    Type("Tollwut");
    Key(Qt::Key_Return);
    m_port.messages.clear();
    m_port.QueueAnswer(Answer::No);
    ClickTool(Workspace::Medikamente);
    EXPECT_EQ(m_port.Texts(), QStringList{question});
    EXPECT_EQ(CardLines("K0012001.KAR").value(0), "13.03.2024\tImpfung\t\t\t\t\t\t\t");
    ClickTool(Workspace::Kartei);
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColText), "Impfung");

    // Closing the window finishes the card too.
    ClickCell(6, 1);
    Type("ok");
    Key(Qt::Key_Return);
    m_port.messages.clear();
    m_port.QueueAnswer(Answer::Yes);
    m_form->close();
    EXPECT_EQ(m_port.Texts(), QStringList{question});
    EXPECT_EQ(CardLines("K0012001.KAR").value(0), "13.03.2024\tImpfung\t\t\t\tok\t\t\t");
    EXPECT_TRUE(testfiles::ReadAll(Data() + "TLV.INI").contains("wBeh=300\r\n"))
        << "the width of the text column is kept";
}

TEST_F(KarteiGuiTest, EntryRulesReachTheGrid)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(1, 1);
    Type("16.03.2024");
    Key(Qt::Key_Tab);  // leaving the date checks it
    EXPECT_EQ(m_port.LastText(), "Datum liegt in der Zukunft !?");
    EXPECT_EQ(Panel().CardGrid().Cells(1, 1), "");
    ClickCell(1, 1);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Panel().CardGrid().Cells(1, 1), "15.03.2024");

    ClickCell(4, 1);
    Type("12a.5");  // the letter is refused, the point becomes a comma
    Key(Qt::Key_Tab);
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColAmount), "12,50000");
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColVat), "1") << "a code comes with it";

    // Down on the last line appends one and keeps the column.
    const int lines = int(Panel().Form().GetRows().size());
    ClickCell(4, 1);
    for (int i = 0; i < lines; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(int(Panel().Form().GetRows().size()), lines + 1);
    EXPECT_EQ(Panel().Form().CurrentCol(), card::kColAmount);
    EXPECT_EQ(Panel().Form().CurrentRow(), lines);
}

TEST_F(KarteiGuiTest, BrowsingAndAnInvoicedCard)
{
    MakeData({Mueller("002")});
    QStringList header = InvoicedHeader();
    WriteCard(1, {"01.02.2024\tImpfung\t1\t10,00000\t\t\t\t\t"}, header);
    header[0] = "0012/002";
    header[8] = "- - -";
    header[9] = "- - -";
    WriteCard(2, {}, header);
    Start();
    ClickTool(Workspace::Kartei);
    EXPECT_EQ(Header("KartNrLabel"), "0012/002");
    EXPECT_FALSE(Panel().Button("ZahlungBtn")->isEnabled());

    ClickCell(2, 1);
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Header("KartNrLabel"), "0012/001");
    EXPECT_EQ(Header("RechnDatumLabel"), "05.02.2024");
    EXPECT_EQ(Header("OffenLabel"), "11,90");
    EXPECT_TRUE(Panel().Button("ZahlungBtn")->isEnabled());
    EXPECT_FALSE(Panel().Button("MedUebernBtn")->isEnabled());
    EXPECT_TRUE(m_form->findChild<QLabel*>("FileLabel")->text().endsWith("K0012001.KAR"));
    ClickCell(2, 1);
    Type("neu");  // an invoiced card is read-only
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColText), "Impfung");
    EXPECT_FALSE(Panel().Form().IsModified());

    // The print dialog offers the reminders of an invoiced card with an open amount.
    QTimer::singleShot(0, m_form.get(), [] {
        auto* dlg = qobject_cast<TKarteiRechnDruckDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        for (QCheckBox* box : dlg->findChildren<QCheckBox*>()) {
            if (!box->text().contains("Mahnung drucken"))
                continue;
            EXPECT_TRUE(box->isVisible());
            EXPECT_TRUE(box->isEnabled()) << box->text().toStdString();
            EXPECT_TRUE(box->toolTip().isEmpty()) << box->toolTip().toStdString();
        }
        dlg->reject();
    });
    QTest::mouseClick(Panel().Button("DruckenBtn"), Qt::LeftButton);
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.LastText().toStdString();

    QTest::mouseClick(Panel().Header()->NextButton(), Qt::LeftButton);
    EXPECT_EQ(Header("KartNrLabel"), "0012/002");
}

TEST_F(KarteiGuiTest, NoCustomersKeepsTheWorkspaceShown)
{
    MakeData({});
    Start();
    ClickTool(Workspace::Kunden);
    ClickTool(Workspace::Kartei);
    EXPECT_EQ(m_port.LastText(),
              "Kundenstamm ist leer!\r\rLegen Sie zuerst einen "
              "Kunden-Datensatz im\rArbeitsbereich Kundenstamm an.");
    EXPECT_EQ(m_form->CurrentPanel()->objectName(), "HauptPanelKunde");
    EXPECT_TRUE(m_form->ToolAction(Workspace::Kunden)->isChecked());
    EXPECT_FALSE(m_form->ToolAction(Workspace::Kartei)->isChecked());
    EXPECT_EQ(m_form->windowTitle(), "Talven - Kundenstamm");
}

TEST_F(KarteiGuiTest, ChangedCashLineMakesTheBookingButtonBlink)
{
    MakeData({Mueller("001")});
    const QStringList header = {"0012/001", "x",     "0012",  "10,00", "1,90",  "11,90", "0,00",
                                "11,90",    "- - -", "- - -", "Euro",  "Netto", "FALSE", "FALSE"};
    WriteCard(1, {"14.03.2024\tSpritze\t1\t10,00000\tB\t\t\t\t"}, header);
    Start();
    m_form->findChild<QAction*>("GoBDItem")->setChecked(false);
    ClickTool(Workspace::Kartei);
    QPushButton* button = Panel().Button("BSBuchenBtn");
    EXPECT_FALSE(button->font().bold());

    ClickCell(4, 1);
    Type("2");
    Key(Qt::Key_Return);
    EXPECT_TRUE(Panel().Form().BsChanged());
    EXPECT_TRUE(m_form->IndicatorState().bookingPending);
    EXPECT_TRUE(m_form->IndicatorTimer().isActive());
    // The main timer toggles it; after its twelve ticks it stays bold and coloured.
    const bool first = button->font().bold();
    EXPECT_TRUE(QTest::qWaitFor([&] { return button->font().bold() != first; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_form->IndicatorTimer().isActive(); }, 15000));
    EXPECT_TRUE(button->font().bold());
    EXPECT_FALSE(button->styleSheet().isEmpty());
}

TEST_F(KarteiGuiTest, LineStopEndsTheTextWhereThePrintedColumnEnds)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    QCheckBox* stop = Panel().LineStopBox();
    ASSERT_FALSE(stop->isChecked());
    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_TRUE(stop->isChecked());
    EXPECT_TRUE(
        testfiles::ReadAll(Data() + "TLV.INI").contains("[Zeilenstop]\r\nZeilenstopChk=TRUE"));

    ClickCell(2, 1);
    Type(QString(150, QLatin1Char('W')));
    const int stopped = int(Panel().Form().GetRows()[0].Cell(card::kColText).size());
    EXPECT_GT(stopped, 10);
    EXPECT_LT(stopped, 150) << "the invoice column is narrower than 150 capitals";

    // Off again: the text may grow up to what the save keeps.
    QTest::mouseClick(stop, Qt::LeftButton);
    ClickCell(2, 2);
    Type(QString(150, QLatin1Char('W')));
    EXPECT_EQ(Panel().Form().GetRows()[1].Cell(card::kColText).size(), card::kMaxTextLength);
}

// The card's page layout is reached from the Datei menu; a narrower invoice column stops
// the text earlier at once.
TEST_F(KarteiGuiTest, PageLayoutOfTheCardMovesTheLineStop)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    QTest::mouseClick(Panel().LineStopBox(), Qt::LeftButton);
    ClickCell(2, 1);
    Type(QString(150, QLatin1Char('W')));
    const int before = int(Panel().Form().GetRows()[0].Cell(card::kColText).size());

    QAction* setup = m_form->findChild<QAction*>("SeiteEinrichtenItem");
    ASSERT_TRUE(setup->isEnabled());
    QString caption;
    QTimer::singleShot(0, [&caption] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        QLineEdit* right = dialog->findChildren<QLineEdit*>().value(3);  // top, bottom, left, right
        right->setText("8");
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == "OK")
                b->click();
    });
    setup->trigger();
    EXPECT_EQ(caption, "Druckbild - Karteikarte/Rechnung");
    EXPECT_TRUE(testfiles::ReadAll(Data() + "TLV.INI").contains("[RechnDruckOptionen]"));

    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    ClickCell(2, 2);
    Type(QString(150, QLatin1Char('W')));
    const int after = int(Panel().Form().GetRows()[1].Cell(card::kColText).size());
    EXPECT_LT(after, before - 10) << before;
}

TEST_F(KarteiGuiTest, CalculatorSumsDoubleClickedMedicationsIntoOneLine)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(1, 1);
    Key(Qt::Key_D, Qt::ControlModifier);
    ClickCell(2, 1);
    KarteiRechner* calculator = Panel().Calculator();
    QTest::mouseClick(calculator->ModeBox(), Qt::LeftButton);
    ASSERT_TRUE(Panel().Form().CalculatorMode());

    QTableView* list = Panel().Medications()->View();
    for (int row : {0, 1}) {
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }
    const card::Row& line = Panel().Form().GetRows()[0];
    EXPECT_EQ(line.Cell(card::kColAmount), "129,56000");
    EXPECT_TRUE(line.Cell(card::kColText).isEmpty()) << "the texts wait for the remark button";
    EXPECT_EQ(calculator->List()->count(), 2);
    EXPECT_EQ(calculator->Total()->text(), "129,56");
    EXPECT_EQ(Panel().Form().CurrentRow(), 0) << "the calculator stays on the line";

    QTest::mouseClick(calculator->RemarkButton(), Qt::LeftButton);
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColRemark), "Aspirin (1), Baytril (1)");
}

TEST_F(KarteiGuiTest, DispensingCustomerGetsItsCaptionAndColour)
{
    MakeData({QString::fromUtf8("Apo\tKarl\t\t12345 Dorf\t0013\t\t\t(A) Apotheke\t000\t\t")});
    Start();
    ClickTool(Workspace::Kartei);
    EXPECT_EQ(Panel().CardGrid().Cells(card::kColText, 0), "Abgabemedikamente");
    EXPECT_TRUE(Header("KundeLabel").startsWith("(A) "));
    EXPECT_EQ(Panel().GridView()->palette().color(QPalette::Button), QColor(0xff, 0xff, 0xc9));

    // The next customer's card has the plain caption and colour again.
    ClickTool(Workspace::Kunden);
    m_form->Grid(MasterTable::Customer).SetLines({"Meier\tAnna\t\tOrt\t0014\t\t\t\t000\t\t"});
    ClickTool(Workspace::Kartei);
    EXPECT_EQ(Panel().CardGrid().Cells(card::kColText, 0),
              "Behandlung (Tier, Medikament, Leistung)");
    EXPECT_NE(Panel().GridView()->palette().color(QPalette::Button), QColor(0xff, 0xff, 0xc9));
}

TEST_F(KarteiGuiTest, RatesChangedThroughTheVatButtonCountForTheCardShown)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(1, 1);
    Type("14.03.2024");
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Tab);
    Type("10");
    Key(Qt::Key_Return);

    QTimer::singleShot(0, m_form.get(), [this] {
        TOptionenDlg* dlg = m_form->OptionsDialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Pages()->currentIndex(), TOptionenDlgForm::MwSt);
        QLineEdit* rate = dlg->Editor(TOptionenDlgForm::Mwst1Edit);
        rate->setFocus(Qt::TabFocusReason);
        rate->selectAll();
        QTest::keyClicks(rate, "16");
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Panel().Button("MwStBtn"), Qt::LeftButton);
    QTest::mouseClick(Panel().Button("SummeBtn"), Qt::LeftButton);
    EXPECT_EQ(Header("GesamtMwStLabel"), "1,60");
    EXPECT_EQ(Header("GesamtBruttoLabel"), "11,60");

    QTimer::singleShot(0, m_form.get(), [this] {
        TOptionenDlg* dlg = m_form->OptionsDialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Pages()->currentIndex(), TOptionenDlgForm::Mahnwesen);
        QTest::mouseClick(dlg->CancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Panel().Button("ZahlungszieleBtn"), Qt::LeftButton);
}

TEST_F(KarteiGuiTest, EditorKeysGoThroughTheEntryRules)
{
    MakeData({Mueller("001")});
    const QStringList header = {"0012/001", "x",     "0012",  "10,00", "1,90",  "11,90", "11,90",
                                "0,00",     "- - -", "- - -", "Euro",  "Netto", "FALSE", "FALSE"};
    WriteCard(1, {"14.03.2024\tSpritze\t1\t10,00000\tB\t\t\t\t", "14.03.2024\tBello\t\t\t\t\t\t\t"},
              header);
    Start();
    ClickTool(Workspace::Kartei);
    const card::Rows& rows = Panel().Form().GetRows();

    // Escape gives the cell back although the form took every key.
    ClickCell(2, 2);
    Type("Hund");
    EXPECT_EQ(rows[1].Cell(card::kColText), "Hund");
    Key(Qt::Key_Escape);
    EXPECT_EQ(rows[1].Cell(card::kColText), "Bello");
    EXPECT_EQ(Panel().CardGrid().Cells(card::kColText, 2), "Bello");

    // Shift+Enter goes to the date of the next line.
    Key(Qt::Key_Return);
    Key(Qt::Key_End);
    Type(" und Minka");
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(rows[1].Cell(card::kColText), "Bello und Minka");
    EXPECT_EQ(Panel().Form().CurrentCol(), card::kColDate);
    EXPECT_EQ(Panel().Form().CurrentRow(), 2);

    // A paste stops where the save would cut the text.
    QApplication::clipboard()->setText(QString(150, 'p'));
    ClickCell(2, 3);
    Type("a");
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Return);
    EXPECT_EQ(rows[2].Cell(card::kColText), "a" + QString(99, 'p'));

    // A booked cash line is locked: Backspace is answered and the amount stays.
    ClickCell(4, 1);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(m_port.LastText(),
              "B/S-Eintrag bereits gebucht!\r\rBerichtigungsbuchung bitte "
              "manuell\rim Stapeldruck/Einahmen vornehmen!");
    Key(Qt::Key_Return);
    EXPECT_EQ(rows[0].Cell(card::kColAmount), "10,00000");

    // Without the GoBD restrictions the line may be corrected.
    m_form->findChild<QAction*>("GoBDItem")->setChecked(false);
    ClickCell(4, 1);
    Key(Qt::Key_Backspace);
    EXPECT_TRUE(Panel().Form().BsChanged());
}

TEST_F(KarteiGuiTest, CashMarkOpensTheBookingAndCancelTakesItBack)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(1, 1);
    Type("14.03.2024");
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Tab);
    Type("10");
    Key(Qt::Key_Tab);
    const auto answerBooking = [this](bool ok) {
        QTimer::singleShot(0, m_form.get(), [ok] {
            auto* dlg = qobject_cast<TEditDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->Editor(BookingForm::EinnBeleg)->text(), "0012/001");
            EXPECT_EQ(dlg->Editor(BookingForm::EinnDatum)->text(), "14.03.2024");
            if (ok)
                QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
            else
                dlg->reject();
        });
    };
    answerBooking(false);
    Type("b");
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColBS), "") << "Cancel removes the mark";

    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    ClickCell(5, 1);
    answerBooking(true);
    Type("b");
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColBS), "B");
    EXPECT_EQ(Header("BarBruttoLabel"), "11,90") << "the card is summed";
    EXPECT_EQ(Header("RechnBruttoLabel"), "0,00");
    const QStringList journals = QDir(Data()).entryList({"Z*"}, QDir::Files);
    ASSERT_EQ(journals.size(), 1);
    // Net as typed, gross computed, each in its own cell.
    EXPECT_EQ(testfiles::ReadAll(Data() + journals[0]),
              "+14.03.2024\t0012/001\tM\xFCller Anna, 12345 Dorf\t10,00\t19,0\t11,90\tB\t\r\n");
}

TEST_F(KarteiGuiTest, PaymentButtonBooksTheInvoicedCard)
{
    MakeData({Mueller("002")});
    WriteCard(1, {"01.02.2024\tImpfung\t1\t10,00000\t\t\t\t\t"}, InvoicedHeader());
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(2, 1);
    Key(Qt::Key_Left, Qt::ControlModifier);
    ASSERT_EQ(Header("KartNrLabel"), "0012/001");

    QTimer::singleShot(0, m_form.get(), [] {
        auto* dlg = qobject_cast<TBezDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Editor(card::TBezDlgForm::kAmount)->text(), "11,90");
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Panel().Button("ZahlungBtn"), Qt::LeftButton);
    EXPECT_EQ(Header("OffenLabel"), "0,00");
    EXPECT_FALSE(Panel().Form().IsModified()) << "the payment is saved with the card";
    EXPECT_TRUE(CardLines("K0012001.KAR").join("\n").contains("11,90 Euro   am 15.03.2024,  bar"));
    EXPECT_FALSE(Panel().Header()->Reminder1()->isEnabled()) << "nothing open to remind";
}

// Paid in part, then switched to DM: what is still open is converted, not the invoice.
TEST_F(KarteiGuiTest, CurrencySwitchAfterAPaymentConvertsWhatIsOpen)
{
    MakeData({Mueller("002")});
    WriteCard(1, {"01.02.2024\tImpfung\t1\t100,00000\t\t\t\t\t"},
              {"0012/001", "x", "0012", "100,00", "19,00", "119,00", "0,00", "119,00", "05.02.2024",
               "119,00000", "Euro", "Netto", "FALSE", "FALSE"});
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(2, 1);
    Key(Qt::Key_Left, Qt::ControlModifier);
    ASSERT_EQ(Header("KartNrLabel"), "0012/001");

    QTimer::singleShot(0, m_form.get(), [] {
        auto* dlg = qobject_cast<TBezDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        QLineEdit* amount = dlg->Editor(card::TBezDlgForm::kAmount);
        amount->setFocus();
        amount->selectAll();
        QTest::keyClicks(amount, "50");
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Panel().Button("ZahlungBtn"), Qt::LeftButton);
    ASSERT_EQ(Header("OffenLabel"), "69,00");

    QTest::mouseClick(Panel().Header()->CurrencyButton(), Qt::LeftButton);
    EXPECT_EQ(Header("KarteiWaehrungLabel"), "DM");
    EXPECT_EQ(Header("OffenLabel"), "134,95");
    m_port.QueueAnswer(Answer::Yes);  // save the switched card on leaving it
    QTest::mouseClick(Panel().Header()->NextButton(), Qt::LeftButton);
    const QStringList card = CardLines("K0012001.KAR");
    EXPECT_EQ(card.value(card.indexOf("---KOPF---") + 1 + card::kHdrOpenAmount), "134,95227");
}

// Old and current 7 % lines on one card: the invoice prints one 7 % row, and the payment
// books the whole 7 % part at that rate.
TEST_F(KarteiGuiTest, EqualOldAndCurrentRatesPrintOneVatRow)
{
    MakeData({Mueller("001")});
    OptionValues options;
    options.SetValue("AlteMwst2Edit", "7");
    WriteOptions(options);
    WriteCard(1,
              {"15.12.2007\tFutter\t2\t100,00000\t\t\t\t\t",
               "01.03.2024\tFutter\t2\t100,00000\t\t\t\t\t"},
              card::NewCardHeader("0012", 1, "x", "Euro"));
    Start();
    m_form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    ClickTool(Workspace::Kartei);
    PrintWithDialog();
    ASSERT_EQ(Header("KartNrLabel"), "0012/002");
    const QString pdf = m_form->Printers().canvas.LastPdfFile();
    pdftools::Keep(pdf, "invoice_equal_rates");
    const QString text = pdftools::Text(pdf);
    EXPECT_EQ(text.count("USt 7"), 1) << text.toStdString();
    EXPECT_TRUE(text.contains("14,00")) << text.toStdString();

    QTest::mouseClick(Panel().Header()->PreviousButton(), Qt::LeftButton);
    ASSERT_EQ(Header("KartNrLabel"), "0012/001");
    QTimer::singleShot(0, m_form.get(), [] {
        auto* dlg = qobject_cast<TBezDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Panel().Button("ZahlungBtn"), Qt::LeftButton);
    EXPECT_EQ(Header("OffenLabel"), "0,00");
    QStringList journal;
    cp1252::ReadLines(Data() + "Z32024.zaE", journal);
    ASSERT_EQ(journal.size(), 1);
    EXPECT_TRUE(journal[0].endsWith("\t200,00\t7,0\t214,00\tB\t")) << journal[0].toStdString();
}

// "Drucken" on the current card: the print dialog, OK, the closing question; the invoice
// goes to the PDF printer and the workspace shows the customer's next card.
TEST_F(KarteiGuiTest, PrintButtonClosesTheCardIntoAnInvoice)
{
    MakeData({Mueller("001")});
    WriteCard(1, {"01.03.2024\tImpfung\t1\t10,00000\t\t\t\t\t"},
              card::NewCardHeader("0012", 1, "x", "Euro"));
    Start();
    m_form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    ClickTool(Workspace::Kartei);
    ASSERT_EQ(Header("KartNrLabel"), "0012/001");

    PrintWithDialog({}, "kartei_druckdlg.png");
    EXPECT_EQ(m_port.Texts(), QStringList{card::CloseQuestion(card::CloseKind::Invoice, false)});
    EXPECT_TRUE(m_form->Printers().canvas.LastPdfFile().contains("Talven - Rechnung 0012001_"));
    EXPECT_EQ(Header("KartNrLabel"), "0012/002");
    EXPECT_TRUE(m_form->findChild<QLabel*>("FileLabel")->text().endsWith("K0012002.KAR"));
    EXPECT_TRUE(CardLines("K0012001.KAR").contains("15.03.2024"));
}

// "Als E-Mail versenden" without a mail printer: the invoice goes to a PDF in the PDF folder,
// carrying the payment code for what is open, and the mail program gets a message to the
// customer naming the file.
TEST_F(KarteiGuiTest, MailedInvoiceWithPaymentCodeGoesToTheMailProgram)
{
    MakeData({QString::fromUtf8(
        "Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t001\tanna@example.de\t")});
    OptionValues options;
    options.SetValue("NameEdit", "Tierarztpraxis Berger");
    options.SetValue("BLZEdit", "DE45 6835 0048 0001 2345 67");
    WriteOptions(options);
    WriteCard(1, {"01.03.2024\tImpfung\t1\t10,00000\t\t\t\t\t"},
              card::NewCardHeader("0012", 1, "x", "Euro"));
    Start();
    ClickTool(Workspace::Kartei);
    MailtoCatcher mail;

    PrintWithDialog("Als E-Mail versenden");
    ASSERT_EQ(Header("KartNrLabel"), "0012/002");

    const QString pdf = m_form->Printers().canvas.LastPdfFile();
    pdftools::Keep(pdf, "invoice_mailed");
    EXPECT_EQ(QFileInfo(pdf).dir(), QDir(m_form->Printers().canvas.PdfFolder()));
    ASSERT_EQ(mail.urls.size(), 1);
    EXPECT_EQ(mail.urls[0].path(), "anna@example.de");
    const QUrlQuery query(mail.urls[0]);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Rechnung 0012/001");
    EXPECT_TRUE(query.queryItemValue("body", QUrl::FullyDecoded).contains(pdf));
    EXPECT_EQ(pdftools::ScannedCode(pdf).toStdString(),
              "BCD\n002\n1\nSCT\n\nTierarztpraxis Berger\nDE45683500480001234567\nEUR11.90"
              "\n\n\nRechnung 0012/001 vom 15.03.2024");
}

TEST_F(KarteiGuiTest, QuantityFieldTakesFractionsForTheTakeOver)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    ClickCell(1, 1);
    Key(Qt::Key_D, Qt::ControlModifier);
    QLineEdit* quantity = Panel().Services()->QuantityEdit();
    QTest::mouseClick(quantity, Qt::LeftButton);
    quantity->selectAll();
    Type("1/2x");  // the letter is refused
    EXPECT_EQ(quantity->text(), "1/2");
    Key(Qt::Key_F5);
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColAmount), "15,00000");
    EXPECT_EQ(Panel().Form().GetRows()[0].Cell(card::kColText), "0,5 x  Impfung");
}

TEST_F(KarteiGuiTest, PrintIsAskedForWithTheCellLeft)
{
    MakeData();
    Start();
    ClickTool(Workspace::Kartei);
    int asked = 0;
    QObject::connect(&Panel(), &KarteiPanel::PrintRequested, [&] {
        ++asked;
        EXPECT_FALSE(Panel().GridView()->Editing());
        EXPECT_EQ(Panel().CardGrid().Cells(card::kColDate, 1), "") << "the bad date is gone";
    });
    ClickCell(1, 1);
    Type("31.02.2024");
    Panel().Action("DruckenItem")->trigger();
    QTest::mouseClick(Panel().Button("DruckenBtn"), Qt::LeftButton);
    EXPECT_EQ(asked, 2);
}

// At the smallest supported screen the lists beside the card are narrow: the name column
// keeps what the titled price columns leave, and shows its title from the left.
TEST_F(KarteiGuiTest, PickListsShowTheirNameColumnFromTheLeftOnASmallScreen)
{
    MakeData();
    m_form = StartActive(QSize(1024, 768));
    ClickTool(Workspace::Kartei);
    ClickCell(1, 1);
    Key(Qt::Key_D, Qt::ControlModifier);
    Key(Qt::Key_F5);
    ASSERT_EQ(Panel().Form().GetRows()[0].Cell(card::kColText), "Impfung");

    for (KarteiPickList* list : {Panel().Medications(), Panel().Services()}) {
        SCOPED_TRACE(list->objectName().toStdString());
        QTableView* view = list->View();
        QHeaderView* header = view->horizontalHeader();
        QAbstractItemModel* model = view->model();
        EXPECT_EQ(header->sectionViewportPosition(0), 0);
        EXPECT_EQ(header->length(), view->viewport()->width()) << "nothing hidden to the right";
        const int align = model->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
        EXPECT_TRUE(align & Qt::AlignLeft);
        QFont bold = header->font();
        bold.setBold(true);
        for (int section = 1; section < model->columnCount(); ++section) {
            const QString title = model->headerData(section, Qt::Horizontal).toString();
            EXPECT_GE(header->sectionSize(section), QFontMetrics(bold).horizontalAdvance(title))
                << title.toStdString();
        }
        EXPECT_GT(header->sectionSize(0), header->sectionSize(1)) << "the names get the room";
    }
    KeepPicture("kartei_1024.png");
}
