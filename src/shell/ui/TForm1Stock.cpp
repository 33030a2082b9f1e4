// The main window's side of the medication stock.
#include "shell/ui/TForm1Stock.h"

#include <QDialog>
#include <QFileInfo>
#include <QLayout>
#include <QPushButton>

#include "cards/ui/KarteiPanel.h"
#include "shell/ui/TForm1.h"
#include "table/ui/TSGridView.h"

#include <QStringList>

#include "cards/CardFile.h"
#include "cards/CardWorkspace.h"
#include "common/Clock.h"
#include "common/CodePage.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/IniLayoutStore.h"
#include "printing/PrinterList.h"
#include "printing/TSeiteEinrichtenDlgForm.h"
#include "printing/qt/QtPrinterList.h"
#include "settings/Options.h"
#include "shell/Backup.h"
#include "shell/StartUp.h"
#include "stock/StockKeeping.h"
#include "stock/StockReport.h"
#include "stock/TMedVerwDlgForm.h"
#include "stock/ui/TMedInvDruckDlg.h"
#include "stock/ui/TMedVerwDlg.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

TForm1Stock::TForm1Stock(StockHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                         TSGrid& medications, std::shared_ptr<TableEnvironment> tableEnv)
    : m_host(host),
      m_port(port),
      m_clock(clock),
      m_startUp(startUp),
      m_tableEnv(tableEnv),
      m_files(std::make_unique<stock::StockFiles>(port, tableEnv, startUp.DataFolder())),
      m_table(std::make_unique<stock::StockTable>(
          medications,
          files::FindCaseInsensitive(startUp.DataFolder(), QStringLiteral("MED.DBF")))),
      m_keeping(std::make_unique<stock::StockKeeping>(port, clock, *m_files, *m_table))
{
}

TForm1Stock::~TForm1Stock() = default;

bool TForm1Stock::Book(long double quantity, const QString& code, const QDate& date,
                       const QString& remark)
{
    m_keeping->SetAutomatic(m_host.InventoryAutomatic());
    const bool booked = m_keeping->BookWithdrawal(quantity, code, date, remark);
    m_host.MedicationsChanged();
    return booked;
}

void TForm1Stock::AttachCard(card::CardWorkspace& workspace)
{
    card::CardWorkspace* ws = &workspace;
    workspace.Form().SetStockReport([this, ws](long double quantity, const QString& code,
                                               const QDate& date) {
        const QString key = card::Key(ws->CustomerValue(recordline::kCustNumber), ws->CardNumber());
        Book(quantity, code, date, QStringLiteral("Kartei-Nr.: ") + key);
    });
    workspace.ClearStockCancellations = [this] { ClearCancellations(); };
    workspace.UndoStockCancellations = [this] { CancelBookings(); };
}

bool TForm1Stock::BookDispensing(long double quantity, const QString& code, const QDate& date)
{
    return Book(quantity, code, date, QStringLiteral("Abgabebeleg"));
}

void TForm1Stock::ClearCancellations()
{
    m_keeping->ClearCancellations();
}

void TForm1Stock::CancelBookings()
{
    m_keeping->SetAutomatic(m_host.InventoryAutomatic());
    m_keeping->CancelBookings();
    m_host.MedicationsChanged();
}

void TForm1Stock::RecalculateAtStart()
{
    // This runs before the tables and options are loaded for the window: the medication
    // table is read from its file, the backup settings from the options file.
    IniFile& ini = m_startUp.Ini();
    const QString section = QString::fromLatin1(kOptionen);
    auto env = std::make_shared<TableEnvironment>(*m_tableEnv);
    env->readOnlyMedium = m_startUp.ReadOnlyMedium();
    env->dataFolder = m_startUp.DataFolder();
    if (!env->dataFolderDevice)
        env->dataFolderDevice = files::DeviceOf(m_startUp.DataFolder());
    const QString backup = ini.ReadString(section, QStringLiteral("BkDir"));
    env->autoBackup = ini.ReadBool(section, QStringLiteral("SicherungChk1"), false) &&
                      BackupFolderRefusal(backup, m_startUp.DataFolder()).isEmpty();
    env->autoBackupFolder = backup;
    QStringList lines;
    if (!cp1252::ReadLines(
            files::FindCaseInsensitive(m_startUp.DataFolder(), QStringLiteral("MED.DBF")), lines))
        return;
    stock::StockFiles files(m_port, env, m_startUp.DataFolder());
    m_port.SetBusy(true);
    stock::CarryForwardAll(files, lines, m_clock.Today().year());
    m_port.SetBusy(false);
}

bool TForm1Stock::CleanUpAtStart()
{
    return stock::OfferStockDeletion(m_port, m_startUp.DataFolder(), m_clock.Today().year());
}

void TForm1Stock::AutomaticSwitched(bool on)
{
    m_keeping->SetAutomatic(on);
    m_port.Message(MsgKind::Information,
                   on ? QStringLiteral("Achtung!\rIn die Kartei übernommene Medikamente werden\r"
                                       "jetzt automatisch in der Inventur-Datei erfasst.\r"
                                       "Veränderungen oder Löschungen in der Kartei sind\r"
                                       "jedoch in der Inventur manuell zu berichtigen.")
                      : QStringLiteral("Achtung!\rDie Inventur-Automatik wurde ausgeschaltet."));
}

void TForm1Stock::IndicatorClicked()
{
    m_port.Message(MsgKind::Information,
                   QStringLiteral("Die Autom. Inventur ist eingeschaltet!\r\r"
                                  "In die Kartei übernommene Medikamente\r"
                                  "werden automatisch in der Inventur erfasst.\r"
                                  "( Weitere Infos in der Hilfedatei <F1> )"));
}

void TForm1Stock::OpenStockDialog(QWidget* parent, int record)
{
    stock::TMedVerwDlgForm form(m_port, m_clock, *m_files, *m_table);
    const bool opened = form.Open(record);
    m_host.MedicationsChanged();
    if (!opened)
        return;
    TMedVerwDlg dialog(
        form, [this](const QString& key) { return m_host.CanOpenStockCard(key); }, parent);
    dialog.exec();
    m_host.MedicationsChanged();
    if (!dialog.CardToOpen().isEmpty())
        m_host.OpenStockCard(dialog.CardToOpen());
}

TForm1Stock::PrintChoice TForm1Stock::RunPrintDialog(QWidget* parent, TPrintGrid2& printer,
                                                     const QString& printerName, bool* stockOnly)
{
    IniLayoutStore layouts(m_startUp.Ini());
    TSeiteEinrichtenDlgForm layout(layouts);
    layout.Load(TSeiteEinrichtenDlgForm::List::Medikamente);
    *stockOnly = layout.Setup().columnWidthsMm.value(recordline::kMedStock, 0) > 0;
    stock::TMedInvDruckDlgForm form(m_clock, m_port, *stockOnly);
    TMedInvDruckDlg dialog(form, parent);
    if (dialog.exec() != QDialog::Accepted)
        return PrintChoice::Cancelled;
    if (form.choice == stock::TMedInvDruckDlgForm::Choice::List)
        return PrintChoice::List;
    QtPrinterList printers;
    stock::StockReportJob job{m_port,
                              m_clock,
                              *m_files,
                              *m_table,
                              printer,
                              layouts,
                              [&] { return CheckPrinterReachable(printers, printerName, m_port); },
                              m_startUp.WorkFolder()};
    stock::PrintStockReport(job, form.Year(), form.toFile);
    m_host.MedicationsChanged();
    return PrintChoice::Done;
}

void TForm1::BuildStock()
{
    StockHost& host = *this;
    m_stock = std::make_unique<TForm1Stock>(host, m_port, m_clock, m_startUp,
                                            Grid(MasterTable::Medication), m_tableEnv);
    m_stock->AttachCard(m_kartei->Workspace());
    // The stock dialog of the selected medication, from the medication workspace.
    if (auto* row = m_hauptPanel->findChild<QWidget*>(QStringLiteral("MedLeistPanel"))) {
        m_stockButton = new QPushButton(QStringLiteral("Inventur"), row);
        m_stockButton->setObjectName(QStringLiteral("InventurBtn"));
        m_stockButton->setToolTip(QStringLiteral("Inventurdaten des Medikaments"));
        m_stockButton->setFocusPolicy(Qt::NoFocus);
        m_stockButton->hide();
        row->layout()->addWidget(m_stockButton);
        connect(m_stockButton, &QPushButton::clicked, this, [this] {
            m_stock->OpenStockDialog(this, Grid(MasterTable::Medication).CurrentRecord());
        });
    }
}

namespace {

QString DigitsOf(const QString& text)
{
    QString digits;
    for (QChar ch : text)
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            digits += ch;
    return digits;
}

}  // namespace

bool TForm1::CanOpenStockCard(const QString& key)
{
    if (m_switcher.Active() == Workspace::Kartei) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Wechsel aus aktiver Karte nicht möglich!"));
        return false;
    }
    const QString digits = DigitsOf(key);
    const QString file = files::FindCaseInsensitive(
        m_startUp.DataFolder(), QLatin1Char('K') + digits + QStringLiteral(".KAR"));
    if (digits.size() < 5 || !QFileInfo(file).isFile()) {
        m_port.Message(MsgKind::Information, QStringLiteral("Karteikarte nicht gefunden!"));
        return false;
    }
    if (Grid(MasterTable::Customer).FindExact(digits.left(4), recordline::kCustNumber) < 0) {
        m_port.Message(MsgKind::Information, QStringLiteral("Kunde nicht gefunden!"));
        return false;
    }
    return true;
}

void TForm1::OpenStockCard(const QString& key)
{
    TSGrid& customers = Grid(MasterTable::Customer);
    const int record = customers.FindExact(DigitsOf(key).left(4), recordline::kCustNumber);
    if (record < 0)
        return;
    customers.GotoRecord(1, record);
    View(MasterTable::Customer)->SyncScrollBar();
    if (!SwitchWorkspace(Workspace::Kartei))
        return;
    if (m_kartei->Workspace().LoadCardByKey(key))
        Kartei()->Refresh();
    else
        m_port.Message(MsgKind::Information, QStringLiteral("Karteikarte nicht gefunden!"));
}

void TForm1::MedicationsChanged()
{
    if (TSGridView* view = View(MasterTable::Medication)) {
        view->SyncScrollBar();
        view->Area()->update();
    }
}
