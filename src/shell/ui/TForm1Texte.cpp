// The main window's side of the text editor.
#include "shell/ui/TForm1Texte.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTimer>

#include "masterdata/PostcodeList.h"
#include "masterdata/ui/MasterListPrinting.h"
#include "printing/IniLayoutStore.h"
#include "settings/OptionSections.h"
#include "shell/Backup.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "texts/ui/MemoEdit.h"
#include "texts/ui/TSMemo.h"

TForm1Texte::TForm1Texte(TForm1& form) : m_form(form), m_settings(form.Start().Ini()) {}

TForm1Texte::~TForm1Texte() = default;

void TForm1Texte::Build()
{
    TForm1& f = m_form;
    m_layouts = std::make_unique<IniLayoutStore>(f.Start().Ini());
    TextPanelSetup setup;
    setup.ini = &f.Start().Ini();
    setup.options = &m_settings;
    setup.layouts = m_layouts.get();
    setup.printer = &f.Printers().strList;
    setup.canvas = &f.Printers().canvas;
    setup.customers = &f.Grid(MasterTable::Customer);
    setup.postcodeFile = f.Start().DataFolder() + PostcodeList::FileName();
    setup.workspace.textsFolder = f.Start().TextsFolder();
    setup.workspace.dataFolder = f.Start().DataFolder();
    setup.workspace.readOnlyMedium = f.Start().ReadOnlyMedium();
    setup.workspace.copyToBackup = [&f](const QString& path) {
        const OptionValues& options = f.Start().Options();
        if (!options.Flag(QStringLiteral("SicherungChk1")))
            return;
        BackupSettings s;
        s.dataFolder = f.Start().DataFolder();
        s.readOnlyMedium = f.Start().ReadOnlyMedium();
        s.autoBackup = true;
        s.backupFolder = WithFolderSlash(options.Value(QStringLiteral("BkDir")));
        // The backup keeps the texts folder; letters kept elsewhere are the person's own.
        const QFileInfo file(path);
        if (QFileInfo(file.absolutePath()) == QFileInfo(f.Start().TextsFolder()))
            Backup(f.m_port, f.m_clock, s).CopyToBackup(file.fileName());
    };
    m_panel = new TSMemo(f.m_port, f.m_clock, setup, f.m_stack);
    f.m_stack->addWidget(m_panel);
    QObject::connect(m_panel, &TSMemo::captionChanged, &f, [this](const QString& caption) {
        if (m_form.m_switcher.Active() == Workspace::Text) {
            m_form.setWindowTitle(caption);
            m_form.m_fileLabel->setText(ShortenPath(m_panel->Workspace().FilePath()));
        }
    });
    QObject::connect(m_panel, &TSMemo::recentFilesChanged, &f, [this] { RefreshRecentMenu(); });

    // New, Open, Save and Save as stand above the print items while the editor is shown.
    QMenu* datei = f.menuBar()->actions().value(0)->menu();
    QAction* before = f.m_printActions.value(0);
    const auto add = [&](const QString& text, const QString& name, std::function<void()> run,
                         const QKeySequence& key) {
        QAction* a = new QAction(text, datei);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setVisible(false);
        QObject::connect(a, &QAction::triggered, &f, std::move(run));
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

    for (int i = 0; i < f.m_recentActions.size(); ++i)
        QObject::connect(f.m_recentActions[i], &QAction::triggered, &f,
                         [this, i] { OpenRecent(i); });
    RefreshRecentMenu();
}

void TForm1Texte::Sync(bool active)
{
    for (QAction* a : m_fileActions)
        a->setVisible(active);
    if (!active || !m_panel)
        return;
    m_form.m_stack->setCurrentWidget(m_panel);
    m_form.setWindowTitle(m_panel->Workspace().Caption());
    m_form.m_fileLabel->setText(ShortenPath(m_panel->Workspace().FilePath()));
    QTimer::singleShot(0, m_panel->Editor(), [this] { m_panel->Editor()->setFocus(); });
}

void TForm1Texte::MenuPrint(ListPrintMode mode)
{
    if (mode == ListPrintMode::PageSetup)
        m_panel->PageSetup();
    else if (mode == ListPrintMode::Print)
        m_panel->Print();
}

void TForm1Texte::OpenRecent(int index)
{
    const QStringList files = ReadRecentFiles(m_form.Start().Ini());
    const QString path = files.value(index);
    if (path.isEmpty())
        return;
    if (m_form.m_switcher.Active() != Workspace::Text && !m_form.SwitchWorkspace(Workspace::Text))
        return;
    m_panel->OpenFile(path);
}

void TForm1Texte::RefreshRecentMenu()
{
    const QStringList files = ReadRecentFiles(m_form.Start().Ini());
    for (int i = 0; i < m_form.m_recentActions.size(); ++i) {
        QAction* a = m_form.m_recentActions[i];
        const QString path = files.value(i);
        a->setText(path.isEmpty() ? QStringLiteral("err")
                                  : QStringLiteral("&%1 ").arg(i + 1) + path);
        a->setVisible(!path.isEmpty());
        a->setEnabled(!path.isEmpty());
    }
    m_form.m_recentSeparator->setVisible(!files.value(0).isEmpty());
}

bool TForm1Texte::AskToSave()
{
    return !m_panel || m_panel->AskToSave();
}
