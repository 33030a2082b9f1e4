// The main window's side of the record card workspace.
#include "shell/ui/TForm1Kartei.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTimer>

#include "cards/CardOptions.h"
#include "cards/CardWorkspace.h"
#include "cards/LineStop.h"
#include "cards/ui/CardPrintCommand.h"
#include "cards/ui/KarteiPanel.h"
#include "dunning/Reminder.h"
#include "printing/IniLayoutStore.h"
#include "printing/qt/QtPrinterList.h"
#include "printing/ui/PageLayoutDialogs.h"
#include "settings/OptionSections.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

TForm1Kartei::TForm1Kartei(KarteiHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                           QtPrintCanvas& canvas, TSGrid& customers,
                           std::shared_ptr<const TableEnvironment> tableEnv)
    : m_host(host),
      m_port(port),
      m_clock(clock),
      m_startUp(startUp),
      m_canvas(canvas),
      m_settings(startUp.Ini()),
      m_cardGrid(std::make_unique<TSGrid>(port, std::move(tableEnv))),
      m_workspace(std::make_unique<card::CardWorkspace>(
          port, clock, customers, startUp.DataFolder() + QStringLiteral("KUNDE.DBF"), *m_cardGrid,
          startUp.DataFolder(), m_settings))
{
}

TForm1Kartei::~TForm1Kartei() = default;

CardSettings TForm1Kartei::CardOptions() const
{
    CardSettings settings = CardSettingsFromOptions(m_startUp.Options(), m_startUp.Ini());
    settings.gobdRestrictions = m_host.GoBdRestrictions();
    return settings;
}

void TForm1Kartei::ApplyCardOptions()
{
    m_workspace->SetSettings(CardOptions());
}

void TForm1Kartei::MeasureLineStop()
{
    if (!m_panel)
        return;
    if (!m_meter) {
        // Measured on the window's printer, the one invoices go to.
        m_layouts = std::make_unique<IniLayoutStore>(m_startUp.Ini());
        m_meter = std::make_unique<card::LineStopMeter>(m_canvas, *m_cardGrid, *m_layouts, m_port,
                                                        m_clock);
    }
    m_meter->Measure();
}

void TForm1Kartei::PageSetup(QWidget* parent)
{
    if (!m_layouts)
        m_layouts = std::make_unique<IniLayoutStore>(m_startUp.Ini());
    TMemoSeiteEinrichtenDlgForm form(*m_layouts);
    form.OnApplied = [this](TMemoSeiteEinrichtenDlgForm::Workspace) {
        if (m_meter)
            m_meter->Measure();
    };
    TMemoSeiteEinrichtenDlg dialog(form, TMemoSeiteEinrichtenDlgForm::Workspace::RecordCard,
                                   parent);
    dialog.exec();
}

bool TForm1Kartei::LineStopExceeds(const QString& text)
{
    return m_meter && m_meter->Exceeds(text);
}

void TForm1::BuildKartei()
{
    KarteiHost& host = *this;
    m_kartei = std::make_unique<TForm1Kartei>(host, m_port, m_clock, m_startUp, m_printers->canvas,
                                              Grid(MasterTable::Customer), m_tableEnv);
    KarteiSetup setup;
    setup.workspace = &m_kartei->Workspace();
    setup.cardGrid = &m_kartei->CardGrid();
    setup.medications = &Grid(MasterTable::Medication);
    setup.services = &Grid(MasterTable::Service);
    setup.dataFolder = m_startUp.DataFolder();
    setup.options = &m_kartei->Settings();
    setup.textColumnWidth = m_startUp.ColumnWidths().value(QStringLiteral("wBeh"));
    setup.lineStop = m_startUp.Ini().ReadBool(QStringLiteral("Zeilenstop"),
                                              QStringLiteral("ZeilenstopChk"), false);
    auto* panel = new KarteiPanel(m_port, setup, m_stack);
    m_kartei->SetPanel(panel);
    m_stack->addWidget(panel);
    // Changed rates count for the card shown from its next summation on.
    panel->OpenVatOptions = [this] {
        if (OpenOptions(TOptionenDlgForm::MwSt))
            m_kartei->Workspace().SetSettings(m_kartei->CardOptions());
    };
    panel->OpenDunningOptions = [this] {
        if (OpenOptions(TOptionenDlgForm::Mahnwesen))
            m_kartei->Workspace().SetSettings(m_kartei->CardOptions());
    };
    panel->MeasureLineStop = [this] { m_kartei->MeasureLineStop(); };
    panel->LineStopExceeds = [this](const QString& text) {
        return m_kartei->LineStopExceeds(text);
    };
    connect(panel, &KarteiPanel::PrintRequested, this, [this] { m_kartei->RunPrint(); });
    // The boxes have no copy choice of their own: the print dialog's stored one holds.
    panel->IssueReminder = [this](int level) {
        m_kartei->IssueReminder(level, m_startUp.Ini().ReadBool(card::kCopyOptionSection,
                                                                card::kCopyOptionSection, false));
    };
    panel->ReleaseCard = [this] { m_kartei->ReleaseCard(); };
    connect(panel, &KarteiPanel::cardShown, this, [this] {
        if (m_switcher.Active() == Workspace::Kartei)
            m_fileLabel->setText(ShortenPath(m_kartei->Workspace().CurrentFile()));
    });
    // The GoBD switch locks or frees the booked lines of the card shown at once.
    connect(this, &TForm1::goBdRestrictionsChanged, panel,
            [this] { m_kartei->Workspace().SetSettings(m_kartei->CardOptions()); });
    connect(panel, &KarteiPanel::bookingPendingChanged, this, [this](bool pending) {
        m_indicators.bookingPending = pending;
        IndicatorsChanged(pending);
    });
    QAction* menu = menuBar()->insertMenu(menuBar()->actions().value(3), panel->Menu());
    menu->setVisible(false);
    m_kartei->AddTakeOverSwitches(panel->Menu());
}

void TForm1Kartei::AddTakeOverSwitches(QMenu* menu)
{
    struct Item {
        MainSwitch which;
        const char* name;
        const char* text;
    };
    static const Item kItems[] = {
        {MainSwitch::Menge1Druck, "Menge1DruckChk", "Menge bei Medikamenten (z. B. „2 x“)"},
        {MainSwitch::Menge2Druck, "Menge2DruckChk", "Menge bei Leistungen"},
        {MainSwitch::TierDruck, "TierDruckChk", "Tierart bei Leistungen"},
        {MainSwitch::GotDruck, "GotDruckChk", "GOT-Ziffer bei Leistungen"},
        {MainSwitch::FaktorDruck, "FaktorDruckChk", "GOT-Faktor bei Leistungen"},
    };
    menu->addSeparator();
    QMenu* sub = menu->addMenu(QStringLiteral("In die Karte übernehmen"));
    sub->setObjectName(QStringLiteral("UebernahmeMenu"));
    QList<QAction*> actions;
    for (const Item& item : kItems) {
        QAction* a = sub->addAction(QString::fromUtf8(item.text));
        a->setObjectName(QString::fromLatin1(item.name));
        a->setCheckable(true);
        const MainSwitch which = item.which;
        QObject::connect(a, &QAction::toggled, a, [this, which](bool on) {
            WriteMainSwitch(m_startUp.Ini(), which, on);
            ApplyCardOptions();
        });
        actions.append(a);
    }
    // The options file decides, also when another workstation changed it.
    const auto sync = [this, actions] {
        const MainSwitches switches = ReadMainSwitches(m_startUp.Ini());
        for (int i = 0; i < actions.size(); ++i) {
            const QSignalBlocker block(actions[i]);
            actions[i]->setChecked(switches.Get(kItems[i].which));
        }
    };
    sync();
    QObject::connect(menu, &QMenu::aboutToShow, menu, sync);
}

void TForm1Kartei::RunPrint()
{
    if (!m_panel || !m_panel->CardOpen())
        return;
    if (!m_layouts)
        m_layouts = std::make_unique<IniLayoutStore>(m_startUp.Ini());
    CardPrintContext context;
    context.port = &m_port;
    context.clock = &m_clock;
    context.canvas = &m_canvas;
    context.layout = m_layouts.get();
    context.inventoryAutomatic = m_host.InventoryAutomatic();
    context.issueReminder = [this](int level, bool copy) { IssueReminder(level, copy); };
    RunCardPrintCommand(m_panel, *m_workspace, context);
    m_panel->Refresh();
}

void TForm1Kartei::IssueReminder(int level, bool copy)
{
    if (!m_layouts)
        m_layouts = std::make_unique<IniLayoutStore>(m_startUp.Ini());
    QtPrinterList printers;
    const card::ClosePrinters out =
        WindowClosePrinters(m_canvas, printers, m_workspace->DataFolder(), m_layouts.get());
    dunning::CardDunning(*m_workspace, m_port, m_clock, out).IssueReminder(level, false, copy);
}

void TForm1Kartei::ReleaseCard()
{
    const card::ClosePrinters none;
    dunning::CardDunning(*m_workspace, m_port, m_clock, none)
        .ReleaseCard(m_host.GoBdRestrictions());
}

bool TForm1::InventoryAutomatic() const
{
    return m_switchActions.value(int(MainSwitch::MedInvAutom))->isChecked();
}

KarteiPanel* TForm1::Kartei() const
{
    return m_kartei ? m_kartei->Panel() : nullptr;
}

bool TForm1::EnterKartei(Workspace before)
{
    KarteiPanel* panel = Kartei();
    TSGrid& customers = Grid(MasterTable::Customer);
    const bool backup = m_startUp.Options().Flag(QStringLiteral("SicherungChk1"));
    m_kartei->CardGrid().BackupFilePath = backup ? m_tableEnv->autoBackupFolder : QString();
    if (panel->OpenCurrentCard(customers.CurrentRecord(), m_kartei->CardOptions())) {
        // The panel is shown after this; then the grid takes the keys.
        QTimer::singleShot(0, panel->GridView(), [panel] { panel->GridView()->setFocus(); });
        return true;
    }
    m_switcher.Abandon(before);
    return false;
}

void TForm1::FinishKartei()
{
    if (KarteiPanel* panel = Kartei())
        panel->Finish();
}

void TForm1::SyncKartei()
{
    KarteiPanel* panel = Kartei();
    if (!panel)
        return;
    const bool active = m_switcher.Active() == Workspace::Kartei;
    panel->Menu()->menuAction()->setVisible(active);
    if (active) {
        m_stack->setCurrentWidget(panel);
        m_fileLabel->setText(ShortenPath(m_kartei->Workspace().CurrentFile()));
    }
    panel->SetBookingHighlight(m_indicators.BookingHighlighted());
}
