#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>

#include "appointments/Appointments.h"

class Clock;
class KeyValueSettings;
class LayoutStore;
class TPrintStrList;
class TSGrid;
class TStapelDruckDlgForm;
class TTerminEditDlgForm;
class UserPort;
struct TableEnvironment;

// Where the reminder letters go: the window's document printer on the printer selected
// now, or the mail printer for customers with an e-mail address.
struct ReminderPrinters {
    TPrintStrList* printer = nullptr;
    QString standardPrinter;
    QString mailPrinter;  // empty: no mail printer installed
    QHash<QString, QString> mailCodes;
    std::function<void(const QString&)> selectPrinter;
    LayoutStore* layouts = nullptr;  // the text page layout; null: its defaults
};

struct TerminSetup {
    QString dataFolder;   // ends in "/"
    QString textsFolder;  // ends in "/"
    // Read-only medium, automatic backup and its folder, volume look-up.
    std::shared_ptr<const TableEnvironment> tableEnv;
    const KeyValueSettings* options = nullptr;  // practice and pharmacy data
    TSGrid* customers = nullptr;                // the main window's customer table
    ReminderPrinters printers;
};

// What the calendar asks of its window.
class TerminDialogs {
public:
    virtual ~TerminDialogs() = default;
    virtual bool RunEdit(TTerminEditDlgForm& form) = 0;
    virtual bool RunBatchDialog(TStapelDruckDlgForm& form) = 0;
    // The calendar is disabled while a progress window shows the text; empty: done.
    virtual void ShowProgress(const QString& text) = 0;
    virtual bool SetSystemTime(const QDateTime& local) = 0;
};

// The appointment calendar without its window: the month of the calendar date in a table
// grid, its file and backup mirror, the positioning at the next appointment, the edits, the
// navigation, the computer's clock and the reminder letters of a day.
class TTerminDlgForm {
public:
    TTerminDlgForm(UserPort& port, const Clock& clock, TerminSetup setup, TerminDialogs& dialogs);
    ~TTerminDlgForm();

    static QString Caption() { return QStringLiteral("Terminkalender"); }
    static QStringList Titles();

    TSGrid& Grid() const { return *m_grid; }
    QDate Date() const { return m_date; }
    QString DateCaption() const;
    QString ReminderHint() const;
    // The folder "Termin" could not be made: the calendar closes.
    bool Closing() const { return m_closing; }

    // Every change of the calendar date: the month's file (folder, backup mirror, load)
    // and the first appointment from the day on (from now on today) at the top.
    bool ShowDay(const QDate& day);
    void Today();
    // The first appointment from the day on at the top of the window (after a resize).
    void Position();
    // The start check: today's appointments in the data folder, read without showing
    // anything.
    static int TodayCount(const QString& dataFolder, const QDate& today);

    void NewAppointment();
    void ChangeAppointment();
    void DeleteAppointment();
    void MonthBack() { Step(appointments::StepMonth(m_date, -1)); }
    void MonthForward() { Step(appointments::StepMonth(m_date, +1)); }
    void YearBack() { Step(appointments::StepYear(m_date, -1)); }
    void YearForward() { Step(appointments::StepYear(m_date, +1)); }
    // "Akt. Datum/Uhrzeit": the computer's clock through the edit dialog.
    void SetClock();
    // The reminder letters of the calendar date.
    void PrintReminders();
    // Double click: the appointment's customer becomes the current one of the customer
    // table. True when the calendar is to close.
    bool SelectCustomer(int record);

private:
    QString MonthPath(const QDate& day, bool create);
    QString BackupFolder();
    bool Load(TSGrid& grid, const QDate& day, QString* path);
    bool Save();
    void Step(const appointments::Step& step);
    QString CurrentCustomerLine() const;
    bool Edit(TTerminEditDlgForm& form, const appointments::Appointment& a);
    int InsertInto(TSGrid& grid, const QString& line);
    void Select(int record);
    bool PrintLetter(const appointments::Appointment& a, bool mail);

    UserPort& m_port;
    const Clock& m_clock;
    TerminSetup m_setup;
    TerminDialogs& m_dialogs;
    std::unique_ptr<TSGrid> m_grid;
    QDate m_date;
    QString m_path;  // file of the month shown
    bool m_closing = false;
};
