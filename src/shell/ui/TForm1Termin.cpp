// The main window's side of the appointment calendar.
#include "shell/ui/TForm1Termin.h"

#include <QBoxLayout>
#include <QPushButton>

#include "appointments/Appointments.h"
#include "appointments/ui/TTerminDlg.h"
#include "common/Clock.h"
#include "printing/IniLayoutStore.h"
#include "settings/IniSettings.h"
#include "shell/StartUp.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TForm1Texte.h"
#include "table/ui/TSGridView.h"

TForm1Termin::TForm1Termin(Host host) : m_host(std::move(host)) {}

TForm1Termin::~TForm1Termin() = default;

void TForm1Termin::AddTodayButton(QBoxLayout* welcome)
{
    m_today = new QPushButton(welcome->parentWidget());
    m_today->setObjectName(QStringLiteral("TermineHeuteBtn"));
    QFont font = m_today->font();
    font.setBold(true);
    m_today->setFont(font);
    m_today->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_today->hide();
    QObject::connect(m_today, &QPushButton::clicked, m_today, [this] { m_host.openCalendar(); });
    // Below the greeting, above the closing stretch.
    welcome->insertWidget(welcome->count() - 1, m_today, 0, Qt::AlignHCenter);
}

void TForm1Termin::StartCheck()
{
    if (!m_host.welcomeVisible())
        return;
    const QString text = appointments::TodayButtonText(
        TTerminDlgForm::TodayCount(m_host.startUp.DataFolder(), m_host.clock.Today()));
    if (!m_today)
        return;
    m_today->setText(text);
    m_today->setVisible(!text.isEmpty());
}

void TForm1Termin::Open()
{
    StartUp& start = m_host.startUp;
    if (!m_settings)
        m_settings = std::make_unique<IniSettings>(start.Ini());
    if (!m_layouts)
        m_layouts = std::make_unique<IniLayoutStore>(start.Ini());
    TerminDialogContext context;
    context.port = &m_host.port;
    context.clock = &m_host.clock;
    context.tableFontSize = start.TableFontSize();
    context.setSystemTime = setSystemTime;
    context.notes = [this](TTerminEditDlgForm& form, QWidget* parent) {
        TextBlockHandOver toBlock(form);
        m_host.openNotes(&toBlock, parent);
    };
    TerminSetup& s = context.setup;
    s.dataFolder = start.DataFolder();
    s.textsFolder = start.TextsFolder();
    s.tableEnv = m_host.tableEnv;
    s.options = m_settings.get();
    s.customers = &m_host.customers;
    ReminderPrinters& p = s.printers;
    QtPrintCanvas& canvas = m_host.printers.canvas;
    p.printer = &m_host.printers.strList;
    p.standardPrinter = canvas.PrinterName();
    p.mailPrinter = start.MailPrinter().printerName;
    p.mailCodes = start.MailPrinter().controlCodes;
    p.selectPrinter = [&canvas](const QString& name) { canvas.SelectPrinter(name); };
    p.layouts = m_layouts.get();

    if (RunTerminDialog(context, m_host.window) && m_host.customerChosen)
        m_host.customerChosen();
    StartCheck();
}

bool TForm1Termin::AskPassword(QString& typed)
{
    TTerminEditDlgForm form(TTerminEditDlgForm::Mode::Password);
    QtTerminEditRunner dialog(m_host.port, m_host.window);
    if (!dialog.Run(form))
        return false;
    typed = form.Value();
    return true;
}

void TForm1::BuildTermin()
{
    m_termin = std::make_unique<TForm1Termin>(TForm1Termin::Host{
        this, m_port, m_clock, m_startUp, *m_printers, Grid(MasterTable::Customer), m_tableEnv,
        [this] { return m_switcher.WelcomeVisible(); },
        [this] { SwitchWorkspace(Workspace::Termin); },
        [this] {
            View(MasterTable::Customer)->SyncScrollBar();
            View(MasterTable::Customer)->Area()->update();
        },
        [this](NotesHandOver* handOver, QWidget* parent) {
            m_texte->OpenNotes(parent, handOver);
        }});
    m_termin->AddTodayButton(qobject_cast<QBoxLayout*>(m_welcome->layout()));
    m_gate.AskPassword = [this](QString& typed) { return m_termin->AskPassword(typed); };
}
