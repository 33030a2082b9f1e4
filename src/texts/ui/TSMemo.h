#pragma once

#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>

#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "texts/TextWorkspace.h"

class Clock;
class IniFile;
class KeyValueSettings;
class LayoutStore;
class MemoEdit;
class QLabel;
class QToolButton;
class QtPrintCanvas;
class TKreditorDlgForm;
class TPrintStrList;
class TSGrid;
class UserPort;

// What the main window hands the text editor.
struct TextPanelSetup {
    IniFile* ini = nullptr;               // recent files, macros
    KeyValueSettings* options = nullptr;  // practice and pharmacy data
    LayoutStore* layouts = nullptr;       // the text page layout
    TPrintStrList* printer = nullptr;     // the window's document printer
    QtPrintCanvas* canvas = nullptr;      // the canvas it draws on
    TSGrid* customers = nullptr;          // current customer and search of the letterhead
    QString postcodeFile;                 // PLZ.MXX
    TextWorkspaceSetup workspace;
};

// The "Texte" workspace: the editor with its buttons, the letterhead and date labels, the
// notice for the texts other workspaces print from, and the line/column/page display.
// Rules live in TextWorkspace; this class forwards and shows.
class TSMemo : public QWidget {
    Q_OBJECT
public:
    TSMemo(UserPort& port, const Clock& clock, const TextPanelSetup& setup,
           QWidget* parent = nullptr);
    ~TSMemo() override;

    TextWorkspace& Workspace() { return m_ws; }
    MemoEdit* Editor() const { return m_editor; }
    QToolButton* Button(const QString& name) const { return m_buttons.value(name); }
    QLabel* StatusLabel() const { return m_status; }

    // The file commands; each shows the document afterwards.
    void New();
    bool OpenFile(const QString& path);
    void OpenChosen();
    bool Save();
    bool SaveAs();
    void Print();
    void PageSetup();
    void EditLetterhead();
    void EditMacros();
    void InsertTextBlock();
    // Closing the program: the save question. False when the person cancelled.
    bool AskToSave();
    // The page layout or the printer changed: page lines, margin marker, editor font.
    void RefreshMetrics();

signals:
    void captionChanged(const QString& caption);
    void recentFilesChanged();

private:
    QToolButton* AddButton(const QString& name, const QString& text, const QString& hint,
                           std::function<void()> run);
    void ShowDocument();
    void ShowState();
    void UpdatePosition();
    void OpenSpecial(const QString& name);

    UserPort& m_port;
    const Clock& m_clock;
    TextPanelSetup m_setup;
    TextWorkspace m_ws;
    TMemoSeiteEinrichtenDlgForm m_layout;
    std::unique_ptr<TKreditorDlgForm> m_head;
    TextWorkspace::PageMetrics m_metrics;
    MemoEdit* m_editor = nullptr;
    QLabel* m_headLabel = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLabel* m_notice = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_modes = nullptr;
    QHash<QString, QToolButton*> m_buttons;
    bool m_showing = false;
};
