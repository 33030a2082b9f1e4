// The main window's side of the dispensing record workspace.
#include "shell/ui/TForm1Abgabe.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>

#include "cards/CardEntryForm.h"
#include "cards/ui/KarteiPanel.h"
#include "dispensing/AbgPrint.h"
#include "dispensing/TAbgPrintGrid2.h"
#include "dispensing/ui/AbgabePanel.h"
#include "dispensing/ui/TAbgDruckDlg.h"
#include "download/TSuchenNachDlgForm.h"
#include "download/ui/TSuchenNachDlg.h"
#include "masterdata/PostcodeList.h"
#include "printing/IniLayoutStore.h"
#include "printing/PrintUnits.h"
#include "printing/TSeiteEinrichtenDlgForm.h"
#include "printing/qt/QtPrinterList.h"
#include "printing/ui/PageLayoutDialogs.h"
#include "settings/OptionSections.h"
#include "shell/StartUp.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TForm1Price.h"
#include "shell/ui/TForm1Stock.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace {

// The program's generic search box ("Suchen nach...") for the record search.
class QtAbgSearchRunner : public abg::SearchRunner {
public:
    explicit QtAbgSearchRunner(QWidget* parent) : m_parent(parent) {}
    bool Run(abg::SearchBox& box) override
    {
        TSuchenNachDlgForm form;
        TSuchenNachDlgForm::SearchBox search;
        search.label = box.label;
        search.text = box.text;
        search.choiceLabel = box.choiceLabel;
        search.choices = box.choices;
        search.choice = box.choice;
        search.info = box.info;
        form.OpenSearch(search);
        TSuchenNachDlg dialog(form, m_parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        box.text = form.Search().text;
        box.choice = form.Search().choice;
        return true;
    }

private:
    QWidget* m_parent;
};

}  // namespace

TForm1Abgabe::TForm1Abgabe(UserPort& port, const Clock& clock, StartUp& startUp,
                           TForm1Printers& printers, TSGrid& medications, TSGrid& customers)
    : m_port(port),
      m_clock(clock),
      m_startUp(startUp),
      m_printers(printers),
      m_medications(medications),
      m_customers(customers),
      m_settings(startUp.Ini()),
      m_layouts(std::make_unique<IniLayoutStore>(startUp.Ini())),
      m_workspace(
          std::make_unique<abg::AbgWorkspace>(port, clock, m_settings, startUp.WorkFolder()))
{
}

TForm1Abgabe::~TForm1Abgabe() = default;

QString TForm1Abgabe::SelectedCustomerCell(int col) const
{
    const int record = m_customers.CurrentRecord();
    if (record < 0 || record >= m_customers.RecordCount())
        return {};
    return recordline::Cell(m_customers.RecordLine(record), col);
}

AbgabePanel* TForm1Abgabe::Build(QWidget* parent)
{
    AbgabeSetup setup;
    setup.workspace = m_workspace.get();
    setup.medications = &m_medications;
    setup.customers = &m_customers;
    setup.postcodeFile = m_startUp.DataFolder() + PostcodeList::FileName();
    m_search = std::make_unique<QtAbgSearchRunner>(parent);
    setup.search = m_search.get();
    setup.selectedCustomerName = [this] {
        if (m_customers.CurrentRecord() < 0)
            return QString();
        return SelectedCustomerCell(recordline::kCustFirstName) + QLatin1Char(' ') +
               SelectedCustomerCell(recordline::kCustName);
    };
    m_panel = new AbgabePanel(m_port, setup, parent);
    QObject::connect(m_panel, &AbgabePanel::printRequested, m_panel, [this] { Print(); });
    return m_panel;
}

void TForm1Abgabe::ApplyLayout()
{
    // Screen widths follow the print widths; the automatic stop measures typed texts
    // against each column's print width on the window's printer, in the table cell font.
    TAbgPrintGrid2 probe(m_printers.canvas);
    bool withNumber = true;
    abg::ApplyDispensingLayout(m_layouts.get(), probe, &withNumber);
    QList<int> mm;
    QList<int> pixels;
    PrintCanvas& canvas = m_printers.canvas;
    canvas.SetFont(probe.LinesFont);
    const int gap = 2 * std::max(1, canvas.TextWidth(QStringLiteral("W")) / 4);
    for (int col = 0; col < abg::kCols; ++col) {
        mm << probe.ColWidth(col);
        const int px = printunits::MmToPixelsX(canvas, probe.ColWidth(col));
        pixels << (px > gap ? px - gap : 0);
    }
    m_panel->SetPrintWidths(mm);
    m_workspace->SetPrintWidths(pixels);
    const PrintFont font = probe.LinesFont;
    m_workspace->measureText = [this, font](const QString& text) {
        m_printers.canvas.SetFont(font);
        return m_printers.canvas.TextWidth(text);
    };
}

void TForm1Abgabe::Enter()
{
    ApplyLayout();
    if (recentEntries)
        m_panel->SetRecent(recentEntries());
    m_panel->Enter();
}

void TForm1Abgabe::Finish()
{
    m_workspace->Leave();
}

void TForm1Abgabe::Print()
{
    QtPrinterList printers;
    QString dataFolder = m_startUp.DataFolder();
    const MailPrinterSettings mail = LoadMailPrinter(dataFolder, printers.PrinterNames());
    QtPrintCanvas& canvas = m_printers.canvas;
    abg::AbgPrinters out;
    out.canvas = &canvas;
    out.printers = &printers;
    out.standardPrinter = canvas.PrinterName();
    out.mailPrinter = mail.printerName;
    out.mailCodes = mail.controlCodes;
    out.selectPrinter = [&canvas](const QString& name) { canvas.SelectPrinter(name); };
    out.layout = m_layouts.get();
    out.options = &m_settings;
    // The mail goes to the customer selected in the customer table only when he is the
    // record's keeper: a record is never mailed to somebody else.
    const TKreditorDlgForm& keeper = m_workspace->Keeper();
    if (SelectedCustomerCell(recordline::kCustName) == keeper.Text(TKreditorDlgForm::Name) &&
        SelectedCustomerCell(recordline::kCustFirstName) == keeper.Text(TKreditorDlgForm::Vorname))
        out.keeperEmail = SelectedCustomerCell(recordline::kCustMail);
    QtAbgDruckDlgRunner dialog(m_panel);
    abg::PrintDispensingRecord(*m_workspace, m_port, out, dialog);
}

void TForm1Abgabe::PageSetup(QWidget* parent)
{
    TSeiteEinrichtenDlgForm form(*m_layouts);
    form.Load(TSeiteEinrichtenDlgForm::List::Abgabebeleg);
    TSeiteEinrichtenDlg dialog(form, TSeiteEinrichtenDlgForm::List::Abgabebeleg, false, parent);
    if (dialog.exec() == QDialog::Accepted)
        ApplyLayout();
}

void TForm1::BuildAbgabe()
{
    m_abgabe =
        std::make_unique<TForm1Abgabe>(m_port, m_clock, m_startUp, *m_printers,
                                       Grid(MasterTable::Medication), Grid(MasterTable::Customer));
    AbgabePanel* panel = m_abgabe->Build(m_stack);
    m_stack->addWidget(panel);
    // One "100%" switch for the medications, the record card and the dispensing record.
    m_price->PairWith(panel->Button(QStringLiteral("AMPV_2_BtnAbgabe")));
    // Dispensed medications kept in stock are withdrawn as the record card's are.
    abg::AbgWorkspace& record = m_abgabe->Workspace();
    record.withdrawalBooked = [this](const QString& text, const QString& code, const QDate& date) {
        card::Quantity quantity;
        if (card::ParseQuantity(text, QString(), &quantity))
            Stock().BookDispensing(quantity.value, code, date);
    };
    record.withdrawalsCancelled = [this] { Stock().CancelBookings(); };
    record.withdrawalsKept = [this] { Stock().ClearCancellations(); };
    // The recently dispensed list: the record card's last medication take-overs.
    m_abgabe->recentEntries = [this] {
        std::vector<abg::RecentEntry> entries;
        if (const KarteiPanel* kartei = Kartei()) {
            for (const card::LastMedication& m : kartei->Form().LastMedications()) {
                entries.push_back({m.article, m.batch, m.quantity100,
                                   m.quantity100.isEmpty() ? m.quantity : QString(),
                                   m.waitingTime});
            }
        }
        return entries;
    };
    connect(panel, &AbgabePanel::captionChanged, this, [this](const QString& caption) {
        if (m_switcher.Active() != Workspace::Abgabe)
            return;
        setWindowTitle(caption);
        m_fileLabel->setText(ShortenPath(m_abgabe->Workspace().OwnFile()));
    });

    // The workspace's commands in the Datei menu, and "Zeile löschen" in Bearbeiten.
    QMenu* datei = menuBar()->actions().value(0)->menu();
    QAction* before = m_printActions.value(0);
    const auto add = [&](QMenu* menu, QAction* at, const QString& text, const QString& name,
                         std::function<void()> run) {
        auto* a = new QAction(text, menu);
        a->setObjectName(name);
        a->setVisible(false);
        connect(a, &QAction::triggered, panel, std::move(run));
        if (at)
            menu->insertAction(at, a);
        else
            menu->addAction(a);
        m_abgabeActions.append(a);
    };
    add(datei, before, QStringLiteral("&Neuer Abgabebeleg"), QStringLiteral("AbgNeuItem"),
        [panel] { panel->New(); });
    add(datei, before, QStringLiteral("Abgabebeleg ö&ffnen..."), QStringLiteral("AbgOeffnenItem"),
        [panel] { panel->Open(); });
    add(datei, before, QStringLiteral("Abgabebeleg &speichern"), QStringLiteral("AbgSpeichernItem"),
        [panel] { panel->Save(); });
    add(datei, before, QStringLiteral("Abgabebeleg s&uchen..."), QStringLiteral("AbgSuchenItem"),
        [panel] { panel->Search(); });
    QMenu* edit = menuBar()->actions().value(1)->menu();
    add(edit, nullptr, QStringLiteral("Zeile lösc&hen"), QStringLiteral("ZeileLoeschenMenuItem"),
        [panel] { panel->DeleteLine(); });
}
