#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "bookkeeping/JournalWorkspace.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TSGridView;

// The record edit dialog and the balance dialog, run modally over the window.
class QtJournalDialogs : public journal::JournalDialogs {
public:
    explicit QtJournalDialogs(QWidget* parent) : m_parent(parent) {}
    bool RunBooking(TEditDlgForm& form) override;
    bool RunBalances(TKtoStdAendDlgForm& form) override;

private:
    QWidget* m_parent;
};

// The journal view of the tabs "  Einnahmen  " and "  Ausgaben   ": the selection, the
// month's grid, the buttons, the hint line, the sums per rate and the balances. It binds
// the journal workspace; the frame tells it which kind to show.
class TJournalPage : public QWidget {
    Q_OBJECT
public:
    TJournalPage(journal::JournalWorkspace& workspace, QWidget* parent = nullptr);
    ~TJournalPage() override;

    journal::JournalWorkspace& Workspace() const { return m_ws; }
    TSGridView* GridView() const { return m_view; }
    QPushButton* Button(const char* name) const;
    QLabel* Label(const char* name) const;

    // The year list (this year and the nine before) and the current month, both businesses,
    // cash and bank: the selection at start-up.
    void PrepareSelectors(const QDate& today);
    // Shows the month of the kind (the tab just opened).
    void ShowKind(journal::Kind kind);
    // Reloads the month with the selection shown.
    void ShowMonth();
    // Shows what the workspace holds: selection, sums, hint, buttons, balances.
    void Refresh();

    // The buttons that open what the frame owns.
    std::function<void()> PrintRequested;       // "Drucken"
    std::function<void()> StatisticsRequested;  // "EAR Info"
    std::function<void()> MonthShown;           // after every display

private:
    void BuildSelection(class QHBoxLayout* row);
    QWidget* BuildSums();
    QWidget* BuildBalances();
    void ReadSelection();
    void ShowSelection();
    void ShowSums();
    void ShowBalances();
    void Run(bool (journal::JournalWorkspace::*operation)());

    journal::JournalWorkspace& m_ws;
    std::unique_ptr<QtJournalDialogs> m_dialogs;
    TSGridView* m_view = nullptr;
    QComboBox* m_month = nullptr;
    QComboBox* m_year = nullptr;
    QLineEdit* m_day = nullptr;
    QComboBox* m_business = nullptr;
    QComboBox* m_account = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_sumsCaption = nullptr;
    QLabel* m_net = nullptr;
    QLabel* m_gross = nullptr;
    std::array<QLabel*, journal::kRateSlots> m_rateLabels{};
    std::array<QLabel*, journal::kRateSlots> m_rateNets{};
    QList<QLabel*> m_currencyLabels;
    QLabel* m_balanceHeading = nullptr;
    QLabel* m_cash = nullptr;
    QLabel* m_bank = nullptr;
    QLabel* m_cash2 = nullptr;
    QLabel* m_bank2 = nullptr;
    QList<QWidget*> m_pharmacyWidgets;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_currency = nullptr;
    bool m_showing = false;  // the page fills its own controls
};
