#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "dispensing/AbgWorkspace.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class KarteiPickList;
class TSGrid;
class UserPort;

// What the main window hands the dispensing record workspace.
struct AbgabeSetup {
    abg::AbgWorkspace* workspace = nullptr;
    TSGrid* medications = nullptr;
    TSGrid* customers = nullptr;          // the keeper is proposed from the selected customer
    QString postcodeFile;                 // the keeper dialog's town list
    abg::SearchRunner* search = nullptr;  // the generic search box
    // First name and name of the customer selected in the customer table.
    std::function<QString()> selectedCustomerName;
};

// The `Abgabebeleg` workspace: the record grid (a wrapped title row, 32 rows of which the
// first six, the DIN A5 area, are white), the header labels, the buttons, the medication
// list with its quantity and the recently dispensed list. Every rule is in
// abg::AbgWorkspace; the panel forwards keys and clicks and shows what it holds.
class AbgabePanel : public QWidget {
    Q_OBJECT
public:
    AbgabePanel(UserPort& port, const AbgabeSetup& setup, QWidget* parent = nullptr);
    ~AbgabePanel() override;

    abg::AbgWorkspace& Workspace() const { return *m_ws; }
    QTableWidget* Grid() const { return m_grid; }
    QLabel* NumberLabel() const { return m_number; }
    QLabel* DateLabel() const { return m_date; }
    QLabel* KeeperLabel() const { return m_keeper; }
    QLabel* PharmacyMark() const { return m_pharmacy; }
    QLabel* MacroLabel() const { return m_macro; }
    QCheckBox* StopBox() const { return m_stop; }
    QComboBox* RecentBox() const { return m_recent; }
    KarteiPickList* Medications() const { return m_medList; }
    QPushButton* Button(const QString& name) const { return m_buttons.value(name); }
    QAction* DeleteLineAction() const { return m_deleteLine; }

    // Entering the workspace: a new record of today.
    void Enter();
    // Screen column widths from the print widths (millimetres) over the grid's width.
    void SetPrintWidths(const QList<int>& millimetres);
    // Shows the workspace's record again.
    void ShowRecord();
    // The recently dispensed list, newest first, as the record card filled it.
    void SetRecent(const std::vector<abg::RecentEntry>& entries);

    // Buttons.
    void New();
    void Open();
    void Save();
    void Search();
    void EditKeeper();
    void ChangeDate();
    void TakeOverMedication();
    void TakeOverRecent();
    void DeleteLine();
    void SetMacroMode(bool on);
    // The "100%" button: the quantity goes to column 4 instead of 5.
    bool HundredPercent() const;

signals:
    void printRequested();
    void captionChanged(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildGrid();
    QPushButton* AddButton(QWidget* parent, const QString& name, const QString& text,
                           const QString& hint, std::function<void()> run);
    void CellEdited(int row, int col);
    void FitColumns();
    bool EditorKey(QLineEdit* editor, QKeyEvent* event);
    void CommitEditor();

    UserPort& m_port;
    AbgabeSetup m_setup;
    abg::AbgWorkspace* m_ws;
    QTableWidget* m_grid = nullptr;
    QLabel* m_number = nullptr;
    QLabel* m_date = nullptr;
    QLabel* m_keeper = nullptr;
    QLabel* m_pharmacy = nullptr;
    QLabel* m_macro = nullptr;
    QCheckBox* m_stop = nullptr;
    QComboBox* m_recent = nullptr;
    QPushButton* m_hundred = nullptr;
    KarteiPickList* m_medList = nullptr;
    QAction* m_deleteLine = nullptr;
    QHash<QString, QPushButton*> m_buttons;
    std::vector<abg::RecentEntry> m_recentEntries;
    QList<int> m_printWidthsMm;
    QPointer<QLineEdit> m_editor;  // the cell editor while a cell is edited
    bool m_showing = false;
};
