#pragma once

#include <QList>
#include <QString>
#include <memory>

#include "settings/IniSettings.h"
#include "texts/TNotizDlgForm.h"

enum class ListPrintMode;
class Clock;
class IniLayoutStore;
class QAction;
class QMenu;
class QWidget;
class StartUp;
class TSGrid;
class TSMemo;
class UserPort;
struct TForm1Printers;
struct TableEnvironment;

// What the text editor asks of the main window.
class TexteHost {
public:
    virtual ~TexteHost() = default;
    // Enters the "Texte" workspace (with its password); false when it was refused.
    virtual bool EnterTextWorkspace() = 0;
    // The document shown changed its name: caption and file label of the window.
    virtual void ShowTextDocument(const QString& caption, const QString& path) = 0;
    // The patient notes may be opened (their password, when they are protected).
    virtual bool NotesGranted() = 0;
};

// The main window's side of the "Texte" workspace: the panel, its file menu items, the
// recent files of the file menu, and the save question when the window closes.
class TForm1Texte {
public:
    TForm1Texte(TexteHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                TForm1Printers& printers, TSGrid& customers,
                std::shared_ptr<const TableEnvironment> tableEnv);
    ~TForm1Texte();

    // The panel, made a child of `parent`.
    TSMemo* Build(QWidget* parent);
    TSMemo* Panel() const { return m_panel; }
    // New, Open, Save and Save as go into the file menu above `before`, shown only while
    // the workspace is; the recent-file items open their files in it.
    void AddFileMenu(QMenu* datei, QAction* before, const QList<QAction*>& recent,
                     QAction* recentSeparator);
    // Entering or leaving the workspace; the document stays while others are shown.
    void Sync(bool active);
    // The file menu's print and page layout items in this workspace.
    void MenuPrint(ListPrintMode mode);
    // Opens a letter in the workspace, entering it first (other workspaces open their texts
    // this way, the appointments their reminder letter).
    bool OpenDocument(const QString& path);
    // Opens a recent file (entry 0 to 3) in the workspace.
    void OpenRecent(int index);
    void RefreshRecentMenu();
    // The window closes: false when the person cancelled the save question.
    bool AskToSave();

    // The notes of the customer selected in the customer table; `handOver` takes the marked
    // cell (the record card, the appointment dialog), none shows no hand-over button.
    void OpenNotes(QWidget* parent, NotesHandOver* handOver = nullptr);
    // The notes clipboard of the whole run.
    NotesClipboard& Clipboard() { return m_clipboard; }

private:
    void CopyToBackup(const QString& path);

    TexteHost& m_host;
    UserPort& m_port;
    const Clock& m_clock;
    StartUp& m_startUp;
    TForm1Printers& m_printers;
    TSGrid& m_customers;
    std::shared_ptr<const TableEnvironment> m_tableEnv;
    IniSettings m_settings;
    NotesClipboard m_clipboard;
    std::unique_ptr<IniLayoutStore> m_layouts;
    TSMemo* m_panel = nullptr;
    QList<QAction*> m_fileActions;
    QList<QAction*> m_recent;
    QAction* m_recentSeparator = nullptr;
    bool m_active = false;
};
