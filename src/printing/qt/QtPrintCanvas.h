#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>

#include "printing/PrintCanvas.h"

class Clock;

// The print canvas on QPainter and QPrinter: system printers, the built-in PDF printer
// and the print preview draw through it alike.
class QtPrintCanvas : public PrintCanvas {
public:
    // A canvas with a printer of its own. The PDF printer writes into programFolder/PDF
    // (the folder beside the data folder).
    QtPrintCanvas(const QString& programFolder, const Clock& clock);
    // A canvas on a printer someone else owns (the print preview's).
    explicit QtPrintCanvas(QPrinter* printer);
    ~QtPrintCanvas() override;

    // Chooses a system printer by name or the PDF printer ("PDF-Datei").
    void SelectPrinter(const QString& name);
    QString PrinterName() const;
    bool IsPdfPrinter() const { return m_pdf; }
    QPrinter* Printer() { return m_printer; }
    // The file the last job of the PDF printer went to.
    QString LastPdfFile() const { return m_lastPdf; }
    // Where the PDF printer puts its files: the folder PDF of the program folder.
    QString PdfFolder() const { return m_pdfFolder; }
    // The file a job of this title would be written to now (not yet taken).
    QString ProposedPdfFile(const QString& title) const;
    // After the print dialog chose a printer: a PDF output counts as the PDF printer, and
    // the next job goes to the file the person named there.
    void AdoptDialogChoice();
    // Called after every job the PDF printer finished, with the file it wrote.
    std::function<void(const QString& path)> OnPdfWritten;

    // The installed family standing in for a Windows font name.
    static QString FamilyFor(const QString& windowsName);
    QFont QtFont(const PrintFont& font) const;

    int PageWidth() const override;
    int PageHeight() const override;
    int PageWidthMm() const override;
    int PageHeightMm() const override;
    int LogPixelsX() const override;
    int LogPixelsY() const override;
    int PhysicalOffsetX() const override;
    int PhysicalOffsetY() const override;
    int ScreenPixelsPerInch() const override;

    void SetOrientation(PrinterOrientation orientation) override;
    PrinterOrientation Orientation() const override;
    bool BeginDoc(const QString& title) override;
    void NewPage() override;
    void EndDoc() override;
    bool Printing() const override { return m_painter.isActive(); }
    bool JobFailed() const override { return m_jobFailed; }

    void SetFont(const PrintFont& font) override;
    PrintFont Font() const override { return m_font; }
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;
    int AverageCharWidth() override;

    void TextOut(int x, int y, const QString& text) override;
    void TextRect(const QRect& clip, int x, int y, const QString& text) override;
    int TabbedTextOut(int x, int y, const QString& text) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void FrameRect(const QRect& rect) override;
    QSize BitmapSize(const QString& path) override;
    bool StretchBitmap(const QRect& target, const QString& path) override;
    bool StretchMonoBitmap(const QRect& target, const MonoBitmap& bitmap) override;

private:
    void UsePdfPrinter();
    QRect PaintRect() const;

    std::unique_ptr<QPrinter> m_own;
    QPrinter* m_printer = nullptr;
    QPainter m_painter;
    QString m_pdfFolder;
    const Clock* m_clock = nullptr;
    bool m_pdf = false;
    QString m_lastPdf;
    QString m_chosenPdf;  // named in the print dialog, for the next job only
    bool m_jobFailed = false;
    PrintFont m_font;
    QFont m_qfont;
};
