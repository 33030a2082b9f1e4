// The main window's side of the record card workspace.
#include "shell/ui/TForm1Kartei.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTimer>

#include "cards/CardOptions.h"
#include "cards/CardWorkspace.h"
#include "cards/LineStop.h"
#include "cards/ui/CardPrintCommand.h"
#include "cards/ui/TKarteiPanel.h"
#include "printing/IniLayoutStore.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

TForm1Kartei::TForm1Kartei(TForm1& form) : m_form(form), m_settings(form.Start().Ini()) {}

TForm1Kartei::~TForm1Kartei() = default;

CardSettings TForm1Kartei::CardOptions() const
{
    CardSettings settings =
        CardSettingsFromOptions(m_form.m_startUp.Options(), m_form.m_startUp.Ini());
    settings.gobdRestrictions = m_form.m_goBdAction->isChecked();
    return settings;
}

void TForm1Kartei::MeasureLineStop()
{
    if (!m_panel)
        return;
    if (!m_meter) {
        // Measured on the window's printer, the one invoices go to.
        m_layouts = std::make_unique<IniLayoutStore>(m_form.Start().Ini());
        m_meter =
            std::make_unique<card::LineStopMeter>(m_form.m_printers->canvas, m_panel->CardGrid(),
                                                  *m_layouts, m_form.m_port, m_form.m_clock);
    }
    m_meter->Measure();
}

bool TForm1Kartei::LineStopExceeds(const QString& text)
{
    return m_meter && m_meter->Exceeds(text);
}

void TForm1::BuildKartei()
{
    m_kartei = std::make_unique<TForm1Kartei>(*this);
    KarteiSetup setup;
    setup.customers = m_grids[int(MasterTable::Customer)].get();
    setup.customerTablePath = m_startUp.DataFolder() + QStringLiteral("KUNDE.DBF");
    setup.medications = m_grids[int(MasterTable::Medication)].get();
    setup.services = m_grids[int(MasterTable::Service)].get();
    setup.dataFolder = m_startUp.DataFolder();
    setup.options = &m_kartei->Settings();
    setup.tableEnv = m_tableEnv;
    setup.textColumnWidth = m_startUp.ColumnWidths().value(QStringLiteral("wBeh"));
    setup.lineStop = m_startUp.Ini().ReadBool(QStringLiteral("Zeilenstop"),
                                              QStringLiteral("ZeilenstopChk"), false);
    auto* panel = new TKarteiPanel(m_port, m_clock, setup, m_stack);
    m_kartei->SetPanel(panel);
    m_stack->addWidget(panel);
    // Changed rates count for the card shown from its next summation on.
    panel->OpenVatOptions = [this, panel] {
        if (OpenOptions(OptionenForm::MwSt))
            panel->Workspace().SetSettings(m_kartei->CardOptions());
    };
    panel->OpenDunningOptions = [this, panel] {
        if (OpenOptions(OptionenForm::Mahnwesen))
            panel->Workspace().SetSettings(m_kartei->CardOptions());
    };
    panel->MeasureLineStop = [this] { m_kartei->MeasureLineStop(); };
    panel->LineStopExceeds = [this](const QString& text) {
        return m_kartei->LineStopExceeds(text);
    };
    connect(panel, &TKarteiPanel::PrintRequested, this, [this] { m_kartei->RunPrint(); });
    connect(panel, &TKarteiPanel::cardShown, this, [this, panel] {
        if (m_switcher.Active() == Workspace::Kartei)
            m_fileLabel->setText(ShortenPath(panel->Workspace().CurrentFile()));
    });
    // The GoBD switch locks or frees the booked lines of the card shown at once.
    connect(this, &TForm1::goBdRestrictionsChanged, panel,
            [this, panel] { panel->Workspace().SetSettings(m_kartei->CardOptions()); });
    connect(panel, &TKarteiPanel::bookingPendingChanged, this, [this](bool pending) {
        m_indicators.bookingPending = pending;
        if (pending)
            StartIndicatorTimer();
        SyncIndicators();
    });
    QAction* menu = menuBar()->insertMenu(menuBar()->actions().value(3), panel->Menu());
    menu->setVisible(false);
}

void TForm1Kartei::RunPrint()
{
    if (!m_panel || !m_panel->CardOpen())
        return;
    if (!m_layouts)
        m_layouts = std::make_unique<IniLayoutStore>(m_form.Start().Ini());
    CardPrintContext context;
    context.port = &m_form.m_port;
    context.clock = &m_form.m_clock;
    context.canvas = &m_form.Printers().canvas;
    context.layout = m_layouts.get();
    context.inventoryAutomatic =
        m_form.m_switchActions.value(int(MainSwitch::MedInvAutom))->isChecked();
    RunCardPrintCommand(m_panel, m_panel->Workspace(), context);
    m_panel->Refresh();
}

TKarteiPanel* TForm1::KarteiPanel() const
{
    return m_kartei ? m_kartei->Panel() : nullptr;
}

bool TForm1::EnterKartei(Workspace before)
{
    TKarteiPanel* panel = KarteiPanel();
    TSGrid& customers = Grid(MasterTable::Customer);
    const bool backup = m_startUp.Options().Flag(QStringLiteral("SicherungChk1"));
    panel->CardGrid().BackupFilePath = backup ? m_tableEnv->autoBackupFolder : QString();
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
    if (TKarteiPanel* panel = KarteiPanel())
        panel->Finish();
}

void TForm1::SyncKartei()
{
    TKarteiPanel* panel = KarteiPanel();
    if (!panel)
        return;
    const bool active = m_switcher.Active() == Workspace::Kartei;
    panel->Menu()->menuAction()->setVisible(active);
    if (active) {
        m_stack->setCurrentWidget(panel);
        m_fileLabel->setText(ShortenPath(panel->Workspace().CurrentFile()));
    }
    panel->SetBookingHighlight(m_indicators.BookingHighlighted());
}
