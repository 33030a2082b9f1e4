#include "printing/qt/QtPrintDialogPort.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>

#include "printing/qt/QtPrintCanvas.h"

std::optional<PrintDialogChoice> QtPrintDialogPort::ShowPrintDialog(
    const PrintDialogOptions& options)
{
    QPrinter* printer = m_canvas.Printer();
    // A machine with a real printer offers it first; the PDF file is one choice away.
    const QString before = m_canvas.PrinterName();
    if (m_canvas.IsPdfPrinter()) {
        QString real = QPrinterInfo::defaultPrinterName();
        if (real.isEmpty())
            real = QPrinterInfo::availablePrinterNames().value(0);
        if (!real.isEmpty())
            m_canvas.SelectPrinter(real);
    }
    m_canvas.SetOrientation(options.orientation);
    printer->setFromTo(0, 0);
    printer->setPrintRange(QPrinter::AllPages);
    printer->setCopyCount(1);
    // The file offered for a PDF is named after this job, in the PDF folder, and never the
    // file of an earlier job.
    // (The dialog tries the file before it closes, so its folder must be there.)
    QDir().mkpath(m_canvas.PdfFolder());
    const QString proposal = QDir::toNativeSeparators(m_canvas.ProposedPdfFile(options.jobTitle));
    printer->setOutputFileName(m_canvas.IsPdfPrinter() ? proposal : QString());
    QPrintDialog dialog(printer, m_parent);
    if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"))) {
        file->setText(proposal);
        // Wide enough to read the file's name, not only its end.
        file->setMinimumWidth(
            file->fontMetrics().horizontalAdvance(QFileInfo(proposal).fileName()) + 24);
    }
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
        if (m_canvas.PrinterName() != before)
            m_canvas.SelectPrinter(before);
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
