#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>

#include "appointments/TTerminDlgForm.h"
#include "appointments/ui/TTerminEditDlg.h"

class Clock;
class QCalendarWidget;
class QLabel;
class QProgressDialog;
class QPushButton;
class QWidget;
class TSGridView;
class UserPort;

// What the calendar window works with, from the main window.
struct TerminDialogContext {
    UserPort* port = nullptr;
    const Clock* clock = nullptr;
    TerminSetup setup;
    int tableFontSize = 8;
    NotesOpener notes;  // "Patienten" in the edit dialog; none: the button stays disabled
    // Sets the computer's clock; empty: the platform's.
    std::function<bool(const QDateTime&)> setSystemTime;
};

// The appointment calendar "Terminkalender": the calendar date with its month and year
// buttons and a month sheet, the appointments of the month, and the buttons of the edits,
// the reminder letters and the clock. Rules live in TTerminDlgForm.
class TTerminDlg : public QDialog, private TerminDialogs {
    Q_OBJECT
public:
    explicit TTerminDlg(const TerminDialogContext& context, QWidget* parent = nullptr);
    ~TTerminDlg() override;

    TTerminDlgForm& Form() { return *m_form; }
    TSGridView* GridView() const { return m_view; }
    QPushButton* Button(const QString& name) const { return m_buttons.value(name); }
    QLabel* DateLabel() const { return m_dateLabel; }
    QCalendarWidget* Calendar() const { return m_calendar; }
    // A double click chose the appointment's customer.
    bool CustomerChosen() const { return m_customerChosen; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool RunEdit(TTerminEditDlgForm& form) override;
    bool RunBatchDialog(TStapelDruckDlgForm& form) override;
    void ShowProgress(const QString& text) override;
    bool SetSystemTime(const QDateTime& local) override;

    QPushButton* AddButton(const QString& name, const QString& text, std::function<void()> run);
    void Run(const std::function<void()>& step);
    void Refresh();
    void LayOutColumns();
    void CellDoubleClicked(int row);

    TerminDialogContext m_context;
    std::unique_ptr<TTerminDlgForm> m_form;
    QWidget* m_content = nullptr;
    TSGridView* m_view = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    QLabel* m_dateLabel = nullptr;
    QProgressDialog* m_progress = nullptr;
    QHash<QString, QPushButton*> m_buttons;
    bool m_customerChosen = false;
};

// The calendar as a modal dialog on today's date; true when a double click chose a
// customer of the customer table.
bool RunTerminDialog(const TerminDialogContext& context, QWidget* parent);
