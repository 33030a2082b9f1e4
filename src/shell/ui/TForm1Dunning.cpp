// The main window's side of the batch printing of invoices and reminders.
#include "shell/ui/TForm1Dunning.h"

#include <QAction>

#include "cards/CardWorkspace.h"
#include "cards/ui/CardPrintCommand.h"
#include "cards/ui/TBezDlg.h"
#include "dunning/StapelWorkspace.h"
#include "dunning/ui/TStapelDruckPage.h"
#include "printing/IniLayoutStore.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/qt/QtPrinterList.h"
#include "printing/ui/TStapelDruckDlg.h"
#include "shell/StartUp.h"
#include "shell/ui/TStapelFrame.h"
#include "table/TSGrid.h"

TForm1Dunning::TForm1Dunning(Host host)
    : m_host(std::move(host)),
      m_settings(m_host.startUp->Ini()),
      m_ws(std::make_unique<dunning::StapelWorkspace>(*m_host.port, *m_host.clock, m_host.tableEnv,
                                                      m_host.startUp->DataFolder(), m_settings)),
      m_cardGrid(std::make_unique<TSGrid>(*m_host.port, m_host.tableEnv)),
      m_cards(std::make_unique<card::CardWorkspace>(
          *m_host.port, *m_host.clock, *m_host.customers,
          m_host.startUp->DataFolder() + QStringLiteral("KUNDE.DBF"), *m_cardGrid,
          m_host.startUp->DataFolder(), m_settings))
{
}

TForm1Dunning::~TForm1Dunning() = default;

void TForm1Dunning::Build(TStapelFrame& frame)
{
    for (int tab = 0; tab < 2; ++tab) {
        m_pages[tab] = new TStapelDruckPage(*m_ws, tab);
        frame.SetPage(tab, m_pages[tab]);
        m_pages[tab]->RunBatch = [this, tab] { RunBatch(tab); };
        m_pages[tab]->OpenCard = [this](const QString& key) {
            if (m_host.openCard)
                m_host.openCard(key);
        };
    }
    m_runAction = new QAction(QStringLiteral("Stapel&druck starten"), &frame);
    m_runAction->setObjectName(QStringLiteral("StapelDruckItem"));
    QObject::connect(m_runAction, &QAction::triggered, &frame, [this] {
        if (m_shown == 0 || m_shown == 1)
            RunBatch(m_shown);
    });
    QObject::connect(&frame, &TStapelFrame::tabShown, &frame, [this](int tab) { TabShown(tab); });
}

void TForm1Dunning::Finish()
{
    m_entered = false;
    m_shown = -1;
    m_runAction->setEnabled(false);
    if (m_menu)
        m_menu->setVisible(false);
    for (int tab = 0; tab < 2; ++tab)
        m_ws->Grid(tab).SetLines({});
}

void TForm1Dunning::TabShown(int tab)
{
    m_shown = tab;
    const bool batchTab = tab == 0 || tab == 1;
    m_runAction->setEnabled(batchTab);
    if (m_menu)
        m_menu->setVisible(true);
    if (!batchTab)
        return;
    if (!m_entered) {
        m_ws->ReadOptions();
        m_entered = true;
    }
    m_ws->ShowTab(tab);
    m_pages[tab]->Refresh();
}

void TForm1Dunning::RunBatch(int tab)
{
    if (!m_layouts)
        m_layouts = std::make_unique<IniLayoutStore>(m_host.startUp->Ini());
    m_cards->SetSettings(m_host.cardOptions ? m_host.cardOptions() : CardSettings{});
    const TableEnvironment& env = *m_host.tableEnv;
    m_cardGrid->BackupFilePath = env.autoBackup ? env.autoBackupFolder : QString();

    QtPrinterList printers;
    QtPaymentDialogRunner payment(*m_host.port, m_host.window);
    QtBatchPrintDialogRunner dialog(m_host.window);
    QtBatchProgress progress(m_host.window);
    dunning::BatchRunners runners;
    runners.printers = WindowClosePrinters(*m_host.canvas, printers, m_host.startUp->DataFolder(),
                                           m_layouts.get());
    runners.payment = &payment;
    runners.dialog = &dialog;
    runners.progress = &progress;
    runners.cards = m_cards.get();
    m_ws->RunBatch(tab, runners);
    m_cardGrid->SetLines({});
    m_pages[tab]->Refresh();
}

bool TForm1Dunning::DropMissingCard(const QString& key)
{
    if (!m_ws->DropMissingCard(key))
        return false;
    if (m_shown == 0 || m_shown == 1) {
        m_ws->Reload(m_shown);
        m_pages[m_shown]->Refresh();
    }
    return true;
}
