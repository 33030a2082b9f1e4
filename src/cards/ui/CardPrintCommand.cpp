#include "cards/ui/CardPrintCommand.h"

#include <QDir>

#include "cards/CardWorkspace.h"
#include "cards/ui/TBezDlg.h"
#include "cards/ui/TKarteiRechnDruckDlg.h"
#include "printing/qt/QtMailPort.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/qt/QtPrinterList.h"
#include "settings/OptionSections.h"

bool QtCardPrintDialogRunner::Run(card::TKarteiRechnDruckDlgForm& form)
{
    TKarteiRechnDruckDlg dialog(form, m_parent);
    dialog.Show();
    return dialog.exec() == QDialog::Accepted;
}

card::ClosePrinters WindowClosePrinters(QtPrintCanvas& canvas, const PrinterList& printers,
                                        const QString& dataFolder, LayoutStore* layout)
{
    QString folder = dataFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const MailPrinterSettings mail = LoadMailPrinter(folder, printers.PrinterNames());
    card::ClosePrinters out;
    out.canvas = &canvas;
    out.printers = &printers;
    out.standardPrinter = canvas.PrinterName();
    out.mailPrinter = mail.printerName;
    out.mailCodes = mail.controlCodes;
    out.selectPrinter = [&canvas](const QString& name) { canvas.SelectPrinter(name); };
    out.layout = layout;
    static QtMailPort mailProgram;
    out.mailProgram = &mailProgram;
    out.lastPdf = [&canvas] { return canvas.LastPdfFile(); };
    return out;
}

void RunCardPrintCommand(QWidget* parent, card::CardWorkspace& workspace,
                         const CardPrintContext& context)
{
    QtPrinterList printers;
    const card::ClosePrinters out =
        WindowClosePrinters(*context.canvas, printers, workspace.DataFolder(), context.layout);
    QtPaymentDialogRunner payment(*context.port, parent);
    card::CardCloseRun run(workspace, *context.port, *context.clock, out, payment);
    run.inventoryAutomatic = context.inventoryAutomatic;
    run.issueReminder = context.issueReminder;
    QtCardPrintDialogRunner dialog(parent);
    run.PrintCommand(dialog);
}
