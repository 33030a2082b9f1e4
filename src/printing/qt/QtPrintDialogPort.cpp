#include "printing/qt/QtPrintDialogPort.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>

#include "printing/qt/QtPrintCanvas.h"

std::optional<PrintDialogChoice> QtPrintDialogPort::ShowPrintDialog(
    const PrintDialogOptions& options)
{
    QPrinter* printer = m_canvas.Printer();
    m_canvas.SetOrientation(options.orientation);
    printer->setFromTo(0, 0);
    printer->setPrintRange(QPrinter::AllPages);
    printer->setCopyCount(1);
    QPrintDialog dialog(printer, m_parent);
    dialog.setMinMax(options.minPage, options.maxPage);
    QAbstractPrintDialog::PrintDialogOptions flags = QAbstractPrintDialog::PrintShowPageSize;
    if (options.allowPageRange) {
        flags |= QAbstractPrintDialog::PrintPageRange;
    }
    if (options.allowPrintToFile) {
        flags |= QAbstractPrintDialog::PrintToFile;
    }
    dialog.setOptions(flags);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    m_canvas.AdoptDialogChoice();
    PrintDialogChoice choice;
    choice.pageRange = printer->printRange() == QPrinter::PageRange;
    if (choice.pageRange) {
        choice.fromPage = printer->fromPage();
        choice.toPage = printer->toPage();
    }
    // Copies are made by running the job again, so the printer must not multiply them.
    choice.copies = std::max(1, printer->copyCount());
    printer->setCopyCount(1);
    choice.orientation = m_canvas.Orientation();
    return choice;
}

void ShowPrintPreview(QtPrintCanvas& canvas, QWidget* parent, const QString& title,
                      const std::function<void(PrintCanvas&)>& job)
{
    QPrintPreviewDialog preview(canvas.Printer(), parent);
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&job](QPrinter* printer) {
                         QtPrintCanvas onPreview(printer);
                         job(onPreview);
                     });
    preview.exec();
}
