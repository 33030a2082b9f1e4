#pragma once

#include <QDateTime>
#include <functional>
#include <memory>

class Clock;
class IniLayoutStore;
class IniSettings;
class NotesHandOver;
class QBoxLayout;
class QPushButton;
class QWidget;
class StartUp;
class TSGrid;
class UserPort;
struct TForm1Printers;
struct TableEnvironment;

// The main window's side of the appointment calendar: the dialog, the button of today's
// appointments on the welcome panel and its start-up count.
class TForm1Termin {
public:
    struct Host {
        QWidget* window;
        UserPort& port;
        const Clock& clock;
        StartUp& startUp;
        TForm1Printers& printers;
        TSGrid& customers;
        std::shared_ptr<const TableEnvironment> tableEnv;
        std::function<bool()> welcomeVisible;
        std::function<void()> openCalendar;    // through the workspace switch (password)
        std::function<void()> customerChosen;  // a double click chose a customer
        // The current customer's notes above `parent`, handing a cell over.
        std::function<void(NotesHandOver* handOver, QWidget* parent)> openNotes;
    };
    explicit TForm1Termin(Host host);
    ~TForm1Termin();

    // "Heute liegen n Termine vor ..." on the welcome panel; hidden without appointments.
    void AddTodayButton(QBoxLayout* welcome);
    QPushButton* TodayButton() const { return m_today; }
    // The start check: today's appointments counted.
    void StartCheck();
    // The calendar dialog; while the welcome panel shows, the count follows the changes.
    void Open();

    // The password dialog ("Termin" in its password mode); false when cancelled.
    bool AskPassword(QString& typed);

    // The computer's clock; tests put their own here.
    std::function<bool(const QDateTime&)> setSystemTime;

private:
    Host m_host;
    std::unique_ptr<IniSettings> m_settings;
    std::unique_ptr<IniLayoutStore> m_layouts;
    QPushButton* m_today = nullptr;
};
