// The main window's side of the text editor.
#include "shell/ui/TForm1Texte.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

#include "appointments/TTerminEditDlgForm.h"
#include "appointments/ui/TTerminEditDlg.h"
#include "masterdata/PostcodeList.h"
#include "masterdata/ui/MasterListPrinting.h"
#include "printing/IniLayoutStore.h"
#include "settings/OptionSections.h"
#include "shell/Backup.h"
#include "shell/StartUp.h"
#include "shell/ui/TForm1Master.h"
#include "table/TSGrid.h"
#include "texts/ui/MemoEdit.h"
#include "texts/ui/TNotizDlg.h"
#include "texts/ui/TSMemo.h"

TForm1Texte::TForm1Texte(TexteHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                         TForm1Printers& printers, TSGrid& customers,
                         std::shared_ptr<const TableEnvironment> tableEnv)
    : m_host(host),
      m_port(port),
      m_clock(clock),
      m_startUp(startUp),
      m_printers(printers),
      m_customers(customers),
      m_tableEnv(std::move(tableEnv)),
      m_settings(startUp.Ini())
{
}

TForm1Texte::~TForm1Texte() = default;

TSMemo* TForm1Texte::Build(QWidget* parent)
{
    m_layouts = std::make_unique<IniLayoutStore>(m_startUp.Ini());
    TextPanelSetup setup;
    setup.ini = &m_startUp.Ini();
    setup.options = &m_settings;
    setup.layouts = m_layouts.get();
    setup.printer = &m_printers.strList;
    setup.canvas = &m_printers.canvas;
    setup.customers = &m_customers;
    setup.postcodeFile = m_startUp.DataFolder() + PostcodeList::FileName();
    setup.workspace.textsFolder = m_startUp.TextsFolder();
    setup.workspace.dataFolder = m_startUp.DataFolder();
    setup.workspace.readOnlyMedium = m_startUp.ReadOnlyMedium();
    setup.workspace.copyToBackup = [this](const QString& path) { CopyToBackup(path); };
    m_panel = new TSMemo(m_port, m_clock, setup, parent);
    QObject::connect(m_panel, &TSMemo::captionChanged, m_panel, [this](const QString& caption) {
        if (m_active)
            m_host.ShowTextDocument(caption, m_panel->Workspace().FilePath());
    });
    QObject::connect(m_panel, &TSMemo::recentFilesChanged, m_panel,
                     [this] { RefreshRecentMenu(); });
    return m_panel;
}

void TForm1Texte::CopyToBackup(const QString& path)
{
    const OptionValues& options = m_startUp.Options();
    if (!options.Flag(QStringLiteral("SicherungChk1")))
        return;
    // The backup keeps the texts folder; letters kept elsewhere are the person's own.
    const QFileInfo file(path);
    if (QFileInfo(file.absolutePath()) != QFileInfo(m_startUp.TextsFolder()))
        return;
    BackupSettings s;
    s.dataFolder = m_startUp.DataFolder();
    s.readOnlyMedium = m_startUp.ReadOnlyMedium();
    s.autoBackup = true;
    s.backupFolder = WithFolderSlash(options.Value(QStringLiteral("BkDir")));
    Backup(m_port, m_clock, s).CopyToBackup(file.fileName());
}

void TForm1Texte::AddFileMenu(QMenu* datei, QAction* before, const QList<QAction*>& recent,
                              QAction* recentSeparator)
{
    const auto add = [&](const QString& text, const QString& name, std::function<void()> run,
                         const QKeySequence& key) {
        QAction* a = new QAction(text, datei);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setVisible(false);
        QObject::connect(a, &QAction::triggered, datei, std::move(run));
        datei->insertAction(before, a);
        m_fileActions.append(a);
    };
    add(
        QStringLiteral("&Neu"), QStringLiteral("NeuItem"), [this] { m_panel->New(); },
        QKeySequence::New);
    add(
        QStringLiteral("Ö&ffnen..."), QStringLiteral("OeffnenItem"),
        [this] { m_panel->OpenChosen(); }, QKeySequence::Open);
    add(
        QStringLiteral("&Speichern"), QStringLiteral("SpeichernItem"), [this] { m_panel->Save(); },
        QKeySequence::Save);
    add(
        QStringLiteral("Speichern &unter..."), QStringLiteral("SpeichernUnterItem"),
        [this] { m_panel->SaveAs(); }, QKeySequence());
    QAction* separator = new QAction(datei);
    separator->setSeparator(true);
    separator->setVisible(false);
    datei->insertAction(before, separator);
    m_fileActions.append(separator);

    m_recent = recent;
    m_recentSeparator = recentSeparator;
    for (int i = 0; i < m_recent.size(); ++i)
        QObject::connect(m_recent[i], &QAction::triggered, datei, [this, i] { OpenRecent(i); });
    RefreshRecentMenu();
}

void TForm1Texte::Sync(bool active)
{
    m_active = active;
    for (QAction* a : m_fileActions)
        a->setVisible(active);
    if (!active || !m_panel)
        return;
    m_host.ShowTextDocument(m_panel->Workspace().Caption(), m_panel->Workspace().FilePath());
    QTimer::singleShot(0, m_panel->Editor(), [this] { m_panel->Editor()->setFocus(); });
}

void TForm1Texte::MenuPrint(ListPrintMode mode)
{
    if (mode == ListPrintMode::PageSetup)
        m_panel->PageSetup();
    else if (mode == ListPrintMode::Print)
        m_panel->Print();
}

bool TForm1Texte::OpenDocument(const QString& path)
{
    if (path.isEmpty() || (!m_active && !m_host.EnterTextWorkspace()))
        return false;
    return m_panel->OpenFile(path);
}

void TForm1Texte::OpenRecent(int index)
{
    OpenDocument(ReadRecentFiles(m_startUp.Ini()).value(index));
}

void TForm1Texte::RefreshRecentMenu()
{
    const QStringList files = ReadRecentFiles(m_startUp.Ini());
    for (int i = 0; i < m_recent.size(); ++i) {
        const QString path = files.value(i);
        m_recent[i]->setText(path.isEmpty() ? QStringLiteral("err")
                                            : QStringLiteral("&%1 ").arg(i + 1) + path);
        m_recent[i]->setVisible(!path.isEmpty());
        m_recent[i]->setEnabled(!path.isEmpty());
    }
    if (m_recentSeparator)
        m_recentSeparator->setVisible(!files.value(0).isEmpty());
}

bool TForm1Texte::AskToSave()
{
    return !m_panel || m_panel->AskToSave();
}

void TForm1Texte::OpenNotes(QWidget* parent, NotesHandOver* handOver)
{
    if (m_customers.RecordCount() == 0 || !m_host.NotesGranted())
        return;
    NotesDialogContext context;
    context.port = &m_port;
    context.clock = &m_clock;
    context.ini = &m_startUp.Ini();
    context.setup.dataFolder = m_startUp.DataFolder();
    context.setup.defaultDocumentFolder =
        m_startUp.Options().Value(QStringLiteral("StdExtPathName"));
    context.setup.backupFolder = m_customers.BackupFilePath;
    context.setup.tableEnv = m_tableEnv;
    context.clipboard = &m_clipboard;
    context.printer = &m_printers.grid;
    context.canvas = &m_printers.canvas;
    context.layouts = m_layouts.get();
    context.handOver = handOver;
    // A favourite's name is asked in the small "Termin" dialog in its favourite mode.
    context.askFavoriteName = [this](QWidget* over, const FavoriteNameAsker::Check& check) {
        QtTerminEditRunner dialog(m_port, over);
        return TerminFavoriteNameAsker(dialog).AskName(check);
    };
    RunNotesDialog(context, m_customers.RecordLine(m_customers.CurrentRecord()), parent);
}
