#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "appointments/TTerminDlgForm.h"
#include "appointments/TTerminEditDlgForm.h"
#include "common/CodePage.h"
#include "printing/TPrintStrList.h"
#include "printing/TStapelDruckDlgForm.h"
#include "support/FixedClock.h"
#include "support/MemorySettings.h"
#include "support/QtPrinters.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

using F = TTerminEditDlgForm;

namespace {

// The dialogs of the calendar as a test answers them.
struct ScriptedDialogs : TerminDialogs {
    std::function<bool(F&)> edit;  // fills the form; false cancels
    bool startBatch = true;
    bool mail = false;
    QStringList progress;
    QString batchCaption;

    bool RunEdit(F& form) override
    {
        // The window runs OK's checks before it closes.
        ScriptedUserPort quiet;
        return edit && edit(form) && form.Ok(quiet);
    }
    bool RunBatchDialog(TStapelDruckDlgForm& form) override
    {
        batchCaption = form.Caption();
        form.SetMail(mail);
        return startBatch;
    }
    void ShowProgress(const QString& text) override { progress << text; }
    bool SetSystemTime(const QDateTime&) override { return false; }
};

class TerminCalendar : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("DATEN/Texte"));
        m_env->dataFolder = Data();
        m_customers.SetColCount(recordline::kCustomerCells + 1);
        m_customers.SetLines(
            {"Meier\tAnna\tGartenweg 5\t54321 Beispielort\t0007\t\tFrau\t\t001\t"
             "anna@example.de\t",
             "Kunz\tBen\tAm Bach 2\t12345 Musterstadt\t0012\t\tHerrn\t\t001\t\t"});
        m_options.Write("Optionen", "NameEdit", "Tierarztpraxis Dr. Berger");
        m_printer.Kopf.clear();
    }
    QString Data() const { return m_dir.path() + "/DATEN/"; }
    QString Month(int m, int y) const
    {
        return Data() + "Termin/" + appointments::MonthFileName(m, y);
    }
    void WriteMonth(const QString& path, const QStringList& lines)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        testfiles::WriteLines(path, lines);
    }
    QStringList Lines(const QString& path) const
    {
        QStringList lines;
        cp1252::ReadLines(path, lines);
        return lines;
    }
    std::unique_ptr<TTerminDlgForm> Calendar()
    {
        TerminSetup s;
        s.dataFolder = Data();
        s.textsFolder = Data() + "Texte/";
        s.tableEnv = m_env;
        s.options = &m_options;
        s.customers = &m_customers;
        s.printers.printer = &m_printer;
        s.printers.standardPrinter = "Standard";
        s.printers.mailPrinter = "MailPrinter";
        s.printers.mailCodes = {{"MailPrAdrUeberg", "<A>"}, {"MailPrEndCode", "|"}};
        s.printers.selectPrinter = [this](const QString& name) { m_selected << name; };
        return std::make_unique<TTerminDlgForm>(m_port, m_clock, s, m_dialogs);
    }
    // The edit dialog answered with these fields.
    void Answer(const QString& date, const QString& time, const QString& text,
                const QString& reminder = {}, const QString& block = {})
    {
        m_dialogs.edit = [=](F& form) {
            form.SetText(F::DatumEdit, date);
            form.SetText(F::ZeitEdit, time);
            form.SetText(F::TerminEdit, text);
            form.SetReminderOn(!reminder.isEmpty());
            form.SetText(F::ErinnerungEdit, reminder);
            form.SetText(F::TextbausteinEdit, block);
            return true;
        };
    }

    QTemporaryDir m_dir;
    ScriptedUserPort m_port;
    FixedClock m_clock{QDateTime(QDate(2025, 1, 31), QTime(9, 30))};
    std::shared_ptr<TableEnvironment> m_env = std::make_shared<TableEnvironment>();
    TSGrid m_customers{m_port};
    MemorySettings m_options;
    RecordingCanvas m_canvas;
    TPrintStrList m_printer{m_canvas, m_port};
    ScriptedDialogs m_dialogs;
    QStringList m_selected;
};

}  // namespace

TEST_F(TerminCalendar, AppointmentsAreKeptPerMonthInDateOrderAndEqualOnesGoAfter)
{
    auto calendar = Calendar();
    ASSERT_TRUE(calendar->ShowDay(m_clock.Today()));
    Answer("31.1.25", "10", "erster");
    calendar->NewAppointment();
    Answer("31.01.2025", "8:15", "früher");
    calendar->NewAppointment();
    Answer("31.01.2025", "10:00", "gleiche Zeit");
    calendar->NewAppointment();
    EXPECT_EQ(Lines(Month(1, 2025)),
              QStringList({"31.01.2025\t08:15\tfrüher\t0007\t\t\t\t",
                           "31.01.2025\t10:00\terster\t0007\t\t\t\t",
                           "31.01.2025\t10:00\tgleiche Zeit\t0007\t\t\t\t"}));
    EXPECT_EQ(calendar->Grid().CurrentRecord(), 2) << "the new one is selected";

    m_dialogs.edit = {};
    calendar->NewAppointment();
    EXPECT_EQ(m_port.LastText(), QStringLiteral("Kein Datensatz wurde eingefügt!"));

    calendar->MonthForward();
    EXPECT_EQ(calendar->Date(), QDate(2025, 2, 28));
    EXPECT_EQ(calendar->Grid().RecordCount(), 0);
    calendar->MonthBack();
    EXPECT_EQ(calendar->Grid().RecordCount(), 3) << "January is read again from its file";
}

TEST_F(TerminCalendar, NewAppointmentIsPrefilledWithTheCurrentCustomer)
{
    m_customers.GotoRecord(1, 1);
    auto calendar = Calendar();
    ASSERT_TRUE(calendar->ShowDay(QDate(2025, 1, 20)));
    appointments::Appointment seen;
    m_dialogs.edit = [&](F& form) {
        seen = form.Result();
        return true;
    };
    calendar->NewAppointment();
    EXPECT_EQ(seen.date, QStringLiteral("20.01.2025"));
    EXPECT_EQ(seen.text, QStringLiteral("Kunz Ben, 12345 Musterstadt"));
    EXPECT_EQ(seen.customer, QStringLiteral("0012"));

    // A double click makes the appointment's customer the current one and closes.
    m_customers.GotoRecord(1, 0);
    EXPECT_TRUE(calendar->SelectCustomer(0));
    EXPECT_EQ(m_customers.CurrentRecord(), 1);
    m_dialogs.edit = [](F& form) {
        form.SetText(F::KNrEdit, QString());
        return true;
    };
    calendar->NewAppointment();
    EXPECT_FALSE(calendar->SelectCustomer(calendar->Grid().CurrentRecord()));
    EXPECT_EQ(m_port.LastText(),
              QStringLiteral("Termin ohne Bestandskunde,\rKunde wurde nicht gefunden!"));
}

TEST_F(TerminCalendar, ChangingTheDateMovesTheAppointmentToTheOtherMonthsFile)
{
    WriteMonth(Month(1, 2025), {"20.01.2025\t09:00\tMeier Anna\t0007\tImpfErg.tlv\t"
                                "Bello\t25.01.2025\t",
                                "31.01.2025\t11:00\tKunz Ben\t0012\t\t\t\t"});
    testfiles::WriteLines(Data() + "Texte/ImpfErg.tlv", {"TTT"});
    auto calendar = Calendar();
    ASSERT_TRUE(calendar->ShowDay(QDate(2025, 1, 20)));
    m_dialogs.edit = [](F& form) {
        form.SetText(F::DatumEdit, "3.2.2025");
        return true;
    };
    calendar->ChangeAppointment();
    EXPECT_EQ(Lines(Month(1, 2025)), QStringList{"31.01.2025\t11:00\tKunz Ben\t0012\t\t\t\t"});
    EXPECT_EQ(Lines(Month(2, 2025)),
              QStringList{"03.02.2025\t09:00\tMeier Anna\t0007\tImpfErg.tlv\tBello\t\t"})
        << "moved, and its reminder is due again";
    EXPECT_EQ(calendar->Date(), QDate(2025, 2, 3));

    // A month file that cannot be written keeps the appointment where it was.
    ASSERT_TRUE(QDir().mkpath(Month(3, 2025)));  // a folder in the file's place
    calendar->ShowDay(QDate(2025, 1, 31));
    m_dialogs.edit = [](F& form) {
        form.SetText(F::DatumEdit, "3.3.2025");
        return true;
    };
    calendar->ChangeAppointment();
    EXPECT_EQ(Lines(Month(1, 2025)), QStringList{"31.01.2025\t11:00\tKunz Ben\t0012\t\t\t\t"});
    EXPECT_EQ(calendar->Grid().RecordCount(), 1);
}

TEST_F(TerminCalendar, RemindersOfTheDayArePrintedAndMarked)
{
    testfiles::WriteLines(Data() + "Texte/IMPFERG.TLV",
                          {"Liebe Familie,", "für TTT steht die Impfung an.", "Ihre Praxis"});
    WriteMonth(Month(1, 2025), {"30.01.2025\t10:00\tanderer Tag\t0007\tImpfErg.tlv\t"
                                "Rex\t\t",
                                "31.01.2025\t09:00\tMeier\t0007\tImpfErg.tlv\tBello\t\t",
                                "31.01.2025\t10:00\tohne Brief\t0012\t\t\t\t",
                                "31.01.2025\t11:00\tKunz\t0012\timpferg.tlv\tMinka\t\t"});
    auto calendar = Calendar();
    ASSERT_TRUE(calendar->ShowDay(m_clock.Today()));
    m_dialogs.mail = true;
    calendar->PrintReminders();

    EXPECT_EQ(m_dialogs.batchCaption, QStringLiteral("Stapeldruck: Terminsache"));
    EXPECT_EQ(m_dialogs.progress, QStringList({"Erinnerungen vom 31.01.2025", ""}));
    EXPECT_EQ(m_canvas.jobs, 2);
    const QStringList printed = m_canvas.TextStrings();
    EXPECT_TRUE(printed.contains("für Bello steht die Impfung an."));
    EXPECT_TRUE(printed.contains("für Minka steht die Impfung an."));
    EXPECT_FALSE(printed.contains("für Rex steht die Impfung an."));
    EXPECT_TRUE(printed.contains("Anna Meier"));
    EXPECT_TRUE(printed.contains("Ben Kunz"));
    // Anna has an address: her letter went to the mail printer with its control text.
    EXPECT_TRUE(printed.contains("||<A>anna@example.de|Terminsache |Terminsache |||"));
    EXPECT_EQ(m_selected, QStringList({"MailPrinter", "Standard", "Standard", "Standard"}));
    EXPECT_FALSE(m_printer.KopfPrint);
    EXPECT_TRUE(m_printer.StringList.isEmpty());

    const QStringList lines = Lines(Month(1, 2025));
    EXPECT_EQ(recordline::Cell(lines[0], recordline::kTermPrinted), QString());
    EXPECT_EQ(recordline::Cell(lines[1], recordline::kTermPrinted), QStringLiteral("31.01.2025"));
    EXPECT_EQ(recordline::Cell(lines[3], recordline::kTermPrinted), QStringLiteral("31.01.2025"));
    calendar->Grid().Resize(400);  // as a view shows it
    calendar->Grid().GotoRecord(1, 0);
    EXPECT_EQ(calendar->Grid().Cells(0, 1), QStringLiteral("E")) << "the marker column";
    EXPECT_EQ(calendar->Grid().Cells(0, 2), QStringLiteral("E!"));
    EXPECT_EQ(calendar->Grid().Cells(0, 3), QString());
    EXPECT_EQ(m_port.LastText(), QStringLiteral("2 Erinnerung(en) vom 31.01.2025 gedruckt!"));
}

TEST_F(TerminCalendar, ADayWithoutRemindersIsReportedAndNothingIsSaved)
{
    WriteMonth(Month(1, 2025), {"31.01.2025\t10:00\tohne Brief\t0012\t\t\t\t"});
    const QDateTime written = QFileInfo(Month(1, 2025)).lastModified();
    auto calendar = Calendar();
    ASSERT_TRUE(calendar->ShowDay(m_clock.Today()));
    calendar->PrintReminders();
    EXPECT_EQ(m_port.LastText(), QStringLiteral("Keine Erinnerungen vom 31.01.2025 !"));
    EXPECT_EQ(m_canvas.jobs, 0);
    EXPECT_EQ(QFileInfo(Month(1, 2025)).lastModified(), written);
}

TEST_F(TerminCalendar, SavesAreMirroredIntoTheBackupsTerminFolder)
{
    const QString backup = m_dir.path() + "/backup/";
    ASSERT_TRUE(QDir().mkpath(backup));
    m_env->autoBackup = true;
    m_env->autoBackupFolder = backup;
    auto calendar = Calendar();
    ASSERT_TRUE(calendar->ShowDay(m_clock.Today()));
    Answer("31.01.2025", "10:00", "gesichert");
    calendar->NewAppointment();
    EXPECT_EQ(testfiles::ReadAll(backup + "Termin/T1_2025.ter"),
              testfiles::ReadAll(Month(1, 2025)));
    EXPECT_FALSE(QFileInfo::exists(backup + "Termin/KUNDE.DBF")) << "only the month goes there";

    // A medium that is gone is asked for until the person gives up; then no mirror.
    m_env->autoBackupFolder = m_dir.path() + "/fehlt/";
    m_port.QueueAnswer(Answer::Ok);
    m_port.QueueAnswer(Answer::Abort);
    ASSERT_TRUE(calendar->ShowDay(m_clock.Today()));
    EXPECT_EQ(m_port.messages.size(), 2);
    EXPECT_TRUE(m_port.LastText().startsWith("Auf das Backup-Laufwerk "));
    EXPECT_TRUE(calendar->Grid().BackupFilePath.isEmpty());
}
