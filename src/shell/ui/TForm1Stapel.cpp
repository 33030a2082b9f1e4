// The main window's side of the batch workspace "Stapeldruck u. E/A".
#include "shell/ui/TForm1Stapel.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>

#include "bookkeeping/TEARstatDlgForm.h"
#include "bookkeeping/TEAdruckenDlgForm.h"
#include "bookkeeping/ui/TEARstatDlg.h"
#include "bookkeeping/ui/TEAdruckenDlg.h"
#include "printing/IniLayoutStore.h"
#include "printing/qt/QtPrinterList.h"
#include "shell/ui/TForm1Master.h"

#include "bookkeeping/BookkeepingSettings.h"
#include "bookkeeping/JournalWorkspace.h"
#include "bookkeeping/ui/TJournalPage.h"
#include "cards/CardWorkspace.h"
#include "cards/ui/KarteiPanel.h"
#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "dunning/StapelWorkspace.h"
#include "shell/StartUp.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Dunning.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TStapelFrame.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

TForm1Stapel::TForm1Stapel(StapelHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                           PasswordGate& gate, TForm1Printers& printers,
                           std::shared_ptr<const TableEnvironment> tableEnv)
    : m_host(host),
      m_port(port),
      m_clock(clock),
      m_startUp(startUp),
      m_printers(printers),
      m_settings(startUp.Ini()),
      m_gate(gate, startUp.Options()),
      m_grid(std::make_unique<TSGrid>(port, std::move(tableEnv))),
      m_journal(std::make_unique<journal::JournalWorkspace>(port, clock, *m_grid, m_settings,
                                                            startUp.DataFolder()))
{
    journal::SetUpJournalGrid(*m_grid);
}

TForm1Stapel::~TForm1Stapel() = default;

void TForm1Stapel::SetDunning(std::unique_ptr<TForm1Dunning> dunning)
{
    m_dunning = std::move(dunning);
    if (m_frame)
        m_dunning->Build(*m_frame);
}

TStapelFrame* TForm1Stapel::Build(QWidget* parent)
{
    m_page = new TJournalPage(*m_journal);
    m_frame = new TStapelFrame(m_page, parent);
    m_frame->MayShowTab = [this](int tab) { return m_gate.MayShow(tab); };
    QObject::connect(m_frame, &TStapelFrame::tabShown, m_frame, [this](int tab) { TabShown(tab); });
    m_page->MonthShown = [this] { m_host.ShowStapelFile(m_journal->CurrentFile()); };
    m_page->PrintRequested = [this] { Print(); };
    m_page->StatisticsRequested = [this] { Statistics(); };
    return m_frame;
}

void TForm1Stapel::ApplySettings()
{
    m_journal->SetSettings(BookkeepingSettingsFromOptions(m_startUp.Options()));
    m_journal->SetGoBd(m_host.GoBdRestrictions());
    const TableEnvironment& env = m_grid->Environment();
    m_grid->BackupFilePath = env.autoBackup ? env.autoBackupFolder : QString();
}

int TForm1Stapel::ChooseTab()
{
    return m_gate.EnterTab(m_lastTab >= 0 ? m_lastTab : m_frame->FirstTab());
}

void TForm1Stapel::Show(int tab)
{
    ApplySettings();
    m_frame->ShowTab(tab);
}

void TForm1Stapel::TabShown(int tab)
{
    m_lastTab = tab;
    if (tab == TStapelFrame::kEinnahmen || tab == TStapelFrame::kAusgaben) {
        ApplySettings();
        m_page->ShowKind(tab == TStapelFrame::kEinnahmen ? journal::Kind::Income
                                                         : journal::Kind::Expense);
    } else {
        m_host.ShowStapelFile(ShownFile());
    }
}

void TForm1Stapel::Print()
{
    QtPrintCanvas& canvas = m_printers.canvas;
    journal::JournalWorkspace& ws = *m_journal;
    TEAdruckenDlgForm form(ws.CurrentKind(), ws.Selection(), ws.Settings().splitVatReturn,
                           canvas.PrinterName());
    TEAdruckenDlg dialog(form, m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool list = form.CurrentChoice() == TEAdruckenDlgForm::Choice::List;
    const bool toFile = list && form.ToFile();
    QtPrinterList printers;
    if (!toFile && !CheckPrinterReachable(printers, canvas.PrinterName(), m_port))
        return;
    IniLayoutStore store(m_startUp.Ini());
    if (list)
        ws.PrintList(m_printers.grid, store, m_startUp.WorkFolder(), toFile, form.WithBalances());
    else
        ws.PrintVatReturn(m_printers.grid, store);
    m_page->Refresh();
}

void TForm1Stapel::Statistics()
{
    TEARstatDlgForm form(m_startUp.DataFolder(), m_journal->Selection());
    form.ShowResult();
    const auto font = [this](const QString& section, int size) {
        PrintFont f;
        QString text;
        if (m_settings.Read(section, QStringLiteral("Name"), &text) && !text.isEmpty())
            f.name = text;
        int points = 0;
        f.size = m_settings.Read(section, QStringLiteral("Size"), &text) &&
                         TryStrToInt(text, &points) && points > 0
                     ? points
                     : size;
        return f;
    };
    TEARstatDlg dialog(
        form,
        [&] {
            QtPrinterList printers;
            QtPrintCanvas& canvas = m_printers.canvas;
            if (!CheckPrinterReachable(printers, canvas.PrinterName(), m_port))
                return;
            form.PrintResult(canvas, m_port, m_journal->Settings().practiceHeading,
                             font(QStringLiteral("TabSeitenOptionenFontsZellenFont"), 9),
                             font(QStringLiteral("TabSeitenOptionenFontsTitelFont"), 12),
                             dates::Format(m_clock.Today()));
        },
        m_frame);
    dialog.exec();
}

QString TForm1Stapel::ShownFile() const
{
    const int tab = m_frame->CurrentTab();
    if (tab == TStapelFrame::kEinnahmen || tab == TStapelFrame::kAusgaben)
        return m_journal->CurrentFile();
    // The register as it is spelt on disk (a folder copied from elsewhere may differ).
    if ((tab == TStapelFrame::kRechnungen || tab == TStapelFrame::kMahnungen) && m_dunning)
        return m_dunning->Workspace().RegisterPath(tab);
    return {};
}

void TForm1Stapel::Finish()
{
    m_grid->SetLines({});
}

void TForm1Stapel::GoBdChanged()
{
    m_journal->SetGoBd(m_host.GoBdRestrictions());
    if (m_page)
        m_page->Refresh();
}

void TForm1Stapel::PrepareSelectors(const QDate& today)
{
    if (m_page)
        m_page->PrepareSelectors(today);
}

bool TForm1Stapel::CleanUpOldBookings()
{
    return journal::OfferJournalDeletion(m_startUp.DataFolder(), m_clock.Today().year(), m_port);
}

void TForm1::BuildStapel()
{
    StapelHost& host = *this;
    m_stapel = std::make_unique<TForm1Stapel>(host, m_port, m_clock, m_startUp, m_gate, *m_printers,
                                              m_tableEnv);
    m_stack->addWidget(m_stapel->Build(m_stack));
    connect(this, &TForm1::goBdRestrictionsChanged, m_stapel->Frame(),
            [this] { m_stapel->GoBdChanged(); });

    TForm1Dunning::Host dunning;
    dunning.window = this;
    dunning.port = &m_port;
    dunning.clock = &m_clock;
    dunning.startUp = &m_startUp;
    dunning.canvas = &m_printers->canvas;
    dunning.customers = &Grid(MasterTable::Customer);
    dunning.tableEnv = m_tableEnv;
    dunning.cardOptions = [this] { return m_kartei->CardOptions(); };
    dunning.openCard = [this](const QString& key) { OpenStapelCard(key); };
    m_stapel->SetDunning(std::make_unique<TForm1Dunning>(std::move(dunning)));
    auto* menu = new QMenu(QStringLiteral("Stapel&druck"), this);
    menu->addAction(m_stapel->Dunning()->RunAction());
    QAction* entry = menuBar()->insertMenu(menuBar()->actions().value(3), menu);
    entry->setVisible(false);
    m_stapel->Dunning()->SetMenu(entry);
}

// A double click on a register row's key opens that card in the Kartei workspace, with its
// customer selected.
void TForm1::OpenStapelCard(const QString& key)
{
    if (m_stapel->Dunning()->DropMissingCard(key))
        return;
    TSGrid& customers = Grid(MasterTable::Customer);
    const int record = customers.FindExact(key.left(4), recordline::kCustNumber);
    if (record < 0)
        return;
    customers.GotoRecord(1, record);
    if (!SwitchWorkspace(Workspace::Kartei))
        return;
    if (Kartei()->Workspace().LoadCardByKey(key))
        Kartei()->Refresh();
}

void TForm1::FinishStapel()
{
    m_stapel->Finish();
    if (m_stapel->Dunning())
        m_stapel->Dunning()->Finish();
    LoadMasterTable(MasterTable::Medication);
    LoadMasterTable(MasterTable::Service);
}

void TForm1::ShowStapelFile(const QString& path)
{
    if (m_switcher.Active() == Workspace::Stapel)
        m_fileLabel->setText(ShortenPath(path));
}
