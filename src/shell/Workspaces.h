#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class UserPort;
class OptionValues;
class Indicators;

enum class Workspace {
    None,  // welcome panel, after start-up
    Medikamente,
    Leistungen,
    Kunden,
    Kartei,
    Abgabe,
    Stapel,
    Text,
    Termin,  // a dialog
    System,  // a dialog
};

struct WorkspaceInfo {
    Workspace workspace;
    const char* button;
    const char* toolTip;
    const char* menuText;
    const char* caption;  // empty: set by the workspace itself
    QStringList passwordFlags;
    bool isDialog;
};

// The nine workspaces in tool bar order.
const QList<WorkspaceInfo>& WorkspaceTable();
const WorkspaceInfo& InfoOf(Workspace w);

// A path longer than 50 characters as its first 20, " ... " and its last 31 characters.
QString ShortenPath(const QString& path);

// The password asked when a protected workspace is entered. A valid password holds until
// the program ends.
class PasswordGate {
public:
    PasswordGate(UserPort& port, const OptionValues& options, Indicators& indicators)
        : m_port(port), m_options(options), m_indicators(indicators)
    {
    }

    bool PasswordGranted();
    void Forget();
    bool Entered() const { return !m_entered.isEmpty(); }

    // Called when a password was accepted (the main window stops its indicator timer).
    std::function<void()> OnGranted;
    // Asks for the password in the main window's own dialog; without it, the input box.
    std::function<bool(QString& typed)> AskPassword;

private:
    UserPort& m_port;
    const OptionValues& m_options;
    Indicators& m_indicators;
    QString m_entered;
};

// The password of the batch workspace, per tab: invoices and reminders (tabs 0 and 1,
// "PW_ReMaChk"), income and expenses (tabs 2 and 3, "PW_EA_Chk"), and the statistics
// ("PW_EAR_Chk").
class StapelGate {
public:
    StapelGate(PasswordGate& gate, const OptionValues& options) : m_gate(gate), m_options(options)
    {
    }
    // The tab the workspace opens on: the wanted one, or the income tab instead of locked
    // invoices and reminders; -1 when the person was refused.
    int EnterTab(int wanted);
    // Asks for the password when the tab is protected.
    bool MayShow(int tab);
    bool MayShowStatistics();

private:
    bool Protected(int tab) const;

    PasswordGate& m_gate;
    const OptionValues& m_options;
};

// What the workspaces of other subsystems do when they are left or opened.
class WorkspaceHooks {
public:
    virtual ~WorkspaceHooks() = default;
    virtual void FinishTextEditor() {}
    virtual void FinishRecordCard() {}
    virtual void FinishDispensingRecord() {}
    virtual void FinishBatch() {}
    virtual void OpenDialog(Workspace /*w*/) {}
    // Caption of a workspace that sets its own.
    virtual QString CaptionOf(Workspace /*w*/) { return QStringLiteral("Talven"); }
    // A workspace whose parts ask the password each (the batch workspace's tabs).
    virtual bool AsksOwnPassword(Workspace /*w*/) { return false; }
};

// Switching between the workspaces of the main window: password, finishing the workspace
// that is left, captions, menu marks, switches and panels. The window binds to its state.
class WorkspaceSwitcher {
public:
    WorkspaceSwitcher(PasswordGate& gate, const OptionValues& options, WorkspaceHooks& hooks)
        : m_gate(gate), m_options(options), m_hooks(hooks)
    {
    }

    // Returns true when the workspace was entered (or the dialog opened).
    bool SwitchTo(Workspace w);
    // The workspace just entered could not show anything (no card for the customer): back
    // to the one before, which was already finished.
    void Abandon(Workspace previous);

    Workspace Active() const { return m_active; }
    bool MenuChecked(Workspace w) const { return m_active == w && w != Workspace::None; }
    bool WelcomeVisible() const { return m_active == Workspace::None; }
    QString Caption() const { return m_caption; }
    QString FileLabel() const { return m_fileLabel; }
    QString SearchLabel() const { return m_searchLabel; }

    // Switches shown with the medication and the service workspace.
    bool StockSwitchesVisible() const { return m_active == Workspace::Medikamente; }
    bool GotSearchSwitchVisible() const { return m_active == Workspace::Leistungen; }
    // The shared panel of medications and services (search field, quantities).
    bool MedLeistPanelVisible() const
    {
        return m_active == Workspace::Medikamente || m_active == Workspace::Leistungen;
    }

    void SetTablePath(Workspace w, const QString& path)
    {
        m_paths.insert(static_cast<int>(w), path);
    }
    void SetGotSearch(bool on) { m_gotSearch = on; }

private:
    void FinishActive();

    PasswordGate& m_gate;
    const OptionValues& m_options;
    WorkspaceHooks& m_hooks;
    Workspace m_active = Workspace::None;
    QString m_caption = QStringLiteral("Talven");
    QString m_fileLabel;
    QString m_searchLabel = QStringLiteral("Suche < abc.. >");
    QHash<int, QString> m_paths;
    bool m_gotSearch = false;
};
