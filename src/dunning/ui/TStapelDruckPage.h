#pragma once

#include <QWidget>
#include <functional>

#include "dunning/StapelWorkspace.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QRadioButton;
class TSGridView;

// The invoice tab or the reminder tab of "Stapeldruck u. E/A": the register as a table, its
// selection (date and minimum, or the level), the print options, the count of marked rows,
// the sum and "Stapel-Druck". The rules are dunning::StapelWorkspace's.
class TStapelDruckPage : public QWidget {
    Q_OBJECT
public:
    TStapelDruckPage(dunning::StapelWorkspace& workspace, int tab, QWidget* parent = nullptr);

    int Tab() const { return m_tab; }
    TSGridView* View() const { return m_view; }
    QPushButton* RunButton() const { return m_run; }
    QPushButton* MarkButton() const { return m_markButton; }  // tab 0 only
    QRadioButton* LevelButton(dunning::Level level) const;    // tab 1 only
    QLineEdit* DateEdit() const { return m_date; }
    QLineEdit* MinimumEdit() const { return m_minimum; }
    QCheckBox* ListBox() const { return m_listBox; }
    QCheckBox* DocumentsBox() const { return m_documentsBox; }
    QCheckBox* CopyBox() const { return m_copyBox; }
    QCheckBox* SortBox() const { return m_sortBox; }

    // Shows the workspace's state of the tab (marks, count, sum, options).
    void Refresh();

    // "Stapel-Druck"; the window runs it with its printers.
    std::function<void()> RunBatch;
    // A double click on a key column: the card in the Kartei workspace.
    std::function<void(const QString& key)> OpenCard;

private:
    void DoubleClicked(int col);

    dunning::StapelWorkspace& m_ws;
    int m_tab;
    TSGridView* m_view = nullptr;
    QLineEdit* m_date = nullptr;
    QLineEdit* m_minimum = nullptr;
    QPushButton* m_markButton = nullptr;
    QRadioButton* m_levels[3] = {};
    QLabel* m_count = nullptr;
    QLabel* m_sumCaption = nullptr;
    QLineEdit* m_sum = nullptr;
    QCheckBox* m_listBox = nullptr;
    QCheckBox* m_documentsBox = nullptr;
    QCheckBox* m_copyBox = nullptr;
    QCheckBox* m_sortBox = nullptr;
    QPushButton* m_run = nullptr;
};

// The progress window of a batch run with its "Abbrechen", which stops the run before the
// next document.
class QtBatchProgress : public dunning::BatchProgress {
public:
    explicit QtBatchProgress(QWidget* parent) : m_parent(parent) {}
    ~QtBatchProgress() override;
    void Show(const QString& text) override;
    void Step(int done, int total) override;
    bool CancelRequested() override;
    void Close() override;
    QProgressDialog* Dialog() const { return m_dialog; }

private:
    QWidget* m_parent;
    QProgressDialog* m_dialog = nullptr;
};
