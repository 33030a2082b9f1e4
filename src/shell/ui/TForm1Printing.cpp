// The shared printers of the main window and the list prints of the master workspaces.
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QStatusBar>

#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "masterdata/ui/MasterListPrinting.h"
#include "printing/IniLayoutStore.h"
#include "printing/qt/QtDesktopPort.h"
#include "printing/ui/PdfNoticeBar.h"
#include "settings/Options.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Abgabe.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TForm1Texte.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

struct PrintItem {
    const char* text;
    const char* name;
    ListPrintMode mode;
};

const PrintItem kPrintItems[] = {
    {"&Drucken...", "DruckenDateiItem", ListPrintMode::Print},
    {"Druck&vorschau...", "VorschauItem", ListPrintMode::Preview},
    {"&Exportieren (Excel-Datei)...", "ExportItem", ListPrintMode::Export},
    {"&Seite einrichten...", "SeiteEinrichtenItem", ListPrintMode::PageSetup},
};

// "19" for 19 %, "7,5" for 7,5 %: how the lists print a VAT code's rate.
QString RateText(long double rate)
{
    const QString text = FormatFloat(QStringLiteral("0.0"), rate);
    return text.endsWith(QLatin1String(",0")) ? text.left(text.size() - 2) : text;
}

}  // namespace

void TForm1::BuildPrintMenu(QMenu* datei)
{
    m_printers = std::make_unique<TForm1Printers>(m_startUp.WorkFolder(), m_clock, m_port);
    for (const PrintItem& item : kPrintItems) {
        QAction* a = datei->addAction(QString::fromUtf8(item.text));
        a->setObjectName(QString::fromLatin1(item.name));
        a->setEnabled(false);
        a->setData(int(item.mode));
        const ListPrintMode mode = item.mode;
        connect(a, &QAction::triggered, this, [this, mode] { PrintMasterList(mode); });
        m_printActions.append(a);
    }
    if (QAction* first = m_printActions.value(0))
        first->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));

    // Every print to the PDF printer says where its file went.
    m_ownDesktop = std::make_unique<QtDesktopPort>();
    m_desktop = m_ownDesktop.get();
    m_pdfNotice = new PdfNoticeBar(this);
    addToolBar(Qt::BottomToolBarArea, m_pdfNotice);
    m_pdfNotice->OpenRequested = [this](const QString& path) { OpenDesktopPath(path); };
    m_printers->canvas.OnPdfWritten = [this](const QString& path) { PdfWritten(path); };
    QAction* folder = datei->addAction(QStringLiteral("PDF-&Ordner öffnen"));
    folder->setObjectName(QStringLiteral("PdfOrdnerOeffnenItem"));
    folder->setToolTip(QStringLiteral("Der Ordner, in den der PDF-Drucker seine Dateien legt"));
    connect(folder, &QAction::triggered, this, [this] {
        const QString path = m_printers->canvas.PdfFolder();
        QDir().mkpath(path);
        OpenDesktopPath(path);
    });
}

void TForm1::SetDesktop(DesktopPort& desktop)
{
    m_desktop = &desktop;
}

void TForm1::PdfWritten(const QString& path)
{
    // The status line says it for a while; the notice stays until it is closed.
    statusBar()->showMessage(
        QStringLiteral("PDF-Datei gespeichert: ") + QDir::toNativeSeparators(path), 30000);
    m_pdfNotice->ShowFile(path);
}

void TForm1::OpenDesktopPath(const QString& path)
{
    if (!m_desktop->Open(path))
        m_port.Message(MsgKind::Error, QStringLiteral("Konnte nicht geöffnet werden:\r") +
                                           QDir::toNativeSeparators(path));
}

void TForm1::PrintMasterList(ListPrintMode mode)
{
    const Workspace active = m_switcher.Active();
    if (active == Workspace::Text) {
        m_texte->MenuPrint(mode);
        return;
    }
    if (active == Workspace::Kartei) {
        if (mode == ListPrintMode::PageSetup)
            m_kartei->PageSetup(this);
        return;
    }
    if (active == Workspace::Abgabe) {
        if (mode == ListPrintMode::PageSetup)
            m_abgabe->PageSetup(this);
        else if (mode == ListPrintMode::Print)
            m_abgabe->Print();
        return;
    }
    // The medication workspace prints through its own dialog: the list or the stock report.
    bool stockOnly = false;
    if (active == Workspace::Medikamente && mode == ListPrintMode::Print &&
        m_stock->RunPrintDialog(this, m_printers->grid, m_printers->canvas.PrinterName(),
                                &stockOnly) != TForm1Stock::PrintChoice::List)
        return;
    MasterTable which = MasterTable::Medication;
    if (active == Workspace::Leistungen)
        which = MasterTable::Service;
    else if (active == Workspace::Kunden)
        which = MasterTable::Customer;
    else if (active != Workspace::Medikamente)
        return;
    VatRates rates;
    ParseVatRates(m_startUp.Options(), &rates);
    const QStringList rateTexts = {RateText(rates.current[0]), RateText(rates.current[1]),
                                   RateText(rates.current[2])};
    IniLayoutStore store(m_startUp.Ini());
    // The job puts the list's print titles into the grid's title row until it ends; the
    // view keeps showing the screen titles behind the print dialog and the preview.
    QWidget* area = View(which)->Area();
    area->setUpdatesEnabled(false);
    if (stockOnly) {
        // A list with the stock column holds the stock-kept medications only.
        TSGrid kept(m_port, m_tableEnv);
        SetUpMasterGrid(kept, which, m_startUp.ColumnWidths(), m_startUp.TableFontSize());
        QStringList lines;
        for (const QString& line : Grid(which).Lines())
            if (!recordline::Cell(line, recordline::kMedStock).isEmpty())
                lines.append(line);
        kept.SetLines(lines);
        RunMasterListPrint(mode, this, m_printers->canvas, m_printers->grid, kept, which, store,
                           m_startUp.WorkFolder(), rateTexts);
    } else {
        RunMasterListPrint(mode, this, m_printers->canvas, m_printers->grid, Grid(which), which,
                           store, m_startUp.WorkFolder(), rateTexts);
    }
    area->setUpdatesEnabled(true);
    area->update();
}
