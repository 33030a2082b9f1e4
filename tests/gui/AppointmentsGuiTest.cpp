#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "MainWindowTest.h"
#include "appointments/ui/TTerminDlg.h"
#include "appointments/ui/TTerminEditDlg.h"
#include "common/CodePage.h"
#include "printing/PrinterList.h"
#include "printing/ui/TStapelDruckDlg.h"
#include "settings/Options.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TForm1Termin.h"
#include "support/PdfTools.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"
#include "texts/ui/TNotizDlg.h"

namespace {

using F = TTerminEditDlgForm;

// Runs `step` on the modal dialog of type T as soon as it is the active one.
template <typename T>
void OnModal(std::function<void(T&)> step)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        // The step runs the dialog's nested event loops; the timer, which holds the step,
        // may only go once it returned.
        step(*dialog);
        timer->deleteLater();
    });
    timer->start();
}

void Type(TTerminEditDlg& dialog, int id, const QString& text)
{
    QLineEdit* edit = dialog.Editor(id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// "Neuer Termin" in the calendar, filled in as a person would.
// With `fromNotes` the text block is the first note of the customer, handed over from
// the notes dialog.
void AddAppointment(TTerminDlg& calendar, const QString& date, const QString& time,
                    const QString& block, bool fromNotes = false)
{
    OnModal<TTerminEditDlg>([=](TTerminEditDlg& edit) {
        Type(edit, F::DatumEdit, date);
        Type(edit, F::ZeitEdit, time);
        if (!block.isEmpty())
            edit.ReminderBox()->click();
        if (fromNotes) {
            OnModal<TNotizDlg>([](TNotizDlg& notes) {
                notes.GridView()->Grid().GotoRecord(2, 0);
                notes.Button(QStringLiteral("UebergabeBtn"))->click();
            });
            edit.NotesButton()->click();
            EXPECT_EQ(edit.Editor(F::TextbausteinEdit)->text(), block);
        } else if (!block.isEmpty()) {
            Type(edit, F::TextbausteinEdit, block);
        }
        const QString keep = qEnvironmentVariable("TALVEN_KEEP_PNG");
        if (!keep.isEmpty())
            edit.grab().save(keep + "/termin_edit.png");
        edit.OkButton()->click();
    });
    calendar.Button(QStringLiteral("NeuBtn"))->click();
}

QStringList PdfFiles(const QString& program)
{
    QDir pdf(program + QStringLiteral("PDF"));
    QStringList files;
    for (const QString& name : pdf.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
        files << pdf.filePath(name);
    return files;
}

class AppointmentsGuiTest : public MainWindowTest {};

}  // namespace

// Three appointments are kept in the calendar of the real main window, two of them on
// the same day with a reminder letter; the letters of that day go to the PDF printer and
// the next start counts the day's appointments on the welcome panel.
TEST_F(AppointmentsGuiTest, KeepsAppointmentsAndPrintsTheRemindersOfADay)
{
    MakeData({}, {}, {},
             {"Meier\tAnna\tGartenweg 5\t54321 Beispielort\t0007\t\tFrau\t\t001\t\t",
              "Kunz\tBen\tAm Bach 2\t12345 Musterstadt\t0012\t\tHerrn\t\t001\t\t"});
    OptionValues options;
    options.SetValue("NameEdit", "Tierarztpraxis Dr. Berger");
    options.SetValue("StrasseEdit", "Hauptstr. 1");
    options.SetValue("PLZEdit", "12345 Musterstadt");
    WriteOptions(options);
    testfiles::WriteLines(Data() + "P0007.PAT", {"15.03.2023\tBello, Tollwut\t\t"});
    {
        auto form = Start();
        form->Printers().canvas.SelectPrinter(PrinterList::kPdfPrinterName);
        QPushButton* today = form->Termin().TodayButton();
        ASSERT_NE(today, nullptr);
        EXPECT_TRUE(today->isHidden()) << "no appointments yet";

        // Anna is the current customer: her vaccination today and a check-up next week.
        OnModal<TTerminDlg>([](TTerminDlg& calendar) {
            EXPECT_EQ(calendar.DateLabel()->text(), QStringLiteral("Freitag, 15. März 2024"));
            AddAppointment(calendar, "15.03.2024", "10", "Bello, Tollwut", true);
            AddAppointment(calendar, "22.3.24", "9:30", {});
            calendar.Button(QStringLiteral("SchliessenBtn"))->click();
        });
        ClickTool(*form, Workspace::Termin);

        // Then Ben, and the day's letters.
        form->Grid(MasterTable::Customer).GotoRecord(1, 1);
        OnModal<TTerminDlg>([this](TTerminDlg& calendar) {
            AddAppointment(calendar, "15.03.2024", "11:30", "Minka, Katzenschnupfen");
            calendar.Form().ShowDay(QDate(2024, 3, 15));
            EXPECT_EQ(calendar.Form().Grid().RecordCount(), 3) << "March's appointments";
            const QString keep = qEnvironmentVariable("TALVEN_KEEP_PNG");
            if (!keep.isEmpty())
                calendar.grab().save(keep + "/terminkalender.png");
            OnModal<TStapelDruckDlg>([](TStapelDruckDlg& batch) {
                EXPECT_EQ(batch.windowTitle(), QStringLiteral("Stapeldruck: Terminsache"));
                EXPECT_FALSE(batch.MailButton()->isEnabled()) << "no mail printer here";
                batch.StartButton()->click();
            });
            calendar.Button(QStringLiteral("ErinnerungBtn"))->click();
            EXPECT_EQ(m_port.LastText(),
                      QStringLiteral("2 Erinnerung(en) vom 15.03.2024 gedruckt!"));
            calendar.Button(QStringLiteral("SchliessenBtn"))->click();
        });
        ClickTool(*form, Workspace::Termin);
        EXPECT_EQ(today->text(), QStringLiteral("Heute liegen 2 Termine vor ..."));
        form->close();
    }

    QStringList march;
    ASSERT_TRUE(cp1252::ReadLines(Data() + "Termin/T3_2024.ter", march));
    ASSERT_EQ(march.size(), 3);
    EXPECT_TRUE(
        march[0].startsWith("15.03.2024\t10:00\tMeier Anna, 54321 Beispielort\t0007\t"
                            "ImpfErg.tlv\tBello, Tollwut\t15.03.2024\t"));
    EXPECT_TRUE(march[1].startsWith("15.03.2024\t11:30\tKunz Ben, 12345 Musterstadt\t0012\t"));
    EXPECT_TRUE(march[2].startsWith("22.03.2024\t09:30\tMeier Anna"));

    const QStringList pdfs = PdfFiles(Program());
    ASSERT_EQ(pdfs.size(), 2);
    const struct {
        const char* name;
        const char* block;
    } letters[] = {{"Anna Meier", "Bello, Tollwut"}, {"Ben Kunz", "Minka, Katzenschnupfen"}};
    for (int i = 0; i < 2; ++i) {
        const QString text = pdftools::Text(pdfs[i]);
        pdftools::ExpectInOrder(
            text, {"Tierarztpraxis Dr. Berger", QString::fromUtf8(letters[i].name), "15.03.2024",
                   "Erinnerung an die Impfung Ihres Tieres",
                   "für Ihr Tier steht demnächst eine Impfung an:",
                   QString::fromUtf8(letters[i].block), "Mit freundlichen Grüßen"});
        EXPECT_FALSE(text.contains("TTT"));
        EXPECT_EQ(pdftools::PageCount(pdfs[i]), 1);
        pdftools::Keep(pdfs[i], QStringLiteral("erinnerung_%1").arg(i + 1));
    }

    // The next start counts today's appointments on the welcome panel.
    auto again = Start();
    EXPECT_TRUE(again->Termin().TodayButton()->isVisible());
    EXPECT_EQ(again->Termin().TodayButton()->text(),
              QStringLiteral("Heute liegen 2 Termine vor ..."));
}
