#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "printing/PrintCanvas.h"

class Clock;
class TSGrid;
class UserPort;
class PrintDialogPort;

// Prints the records of a table grid as a paginated table (title lines, date, page numbers,
// a column title row, aligned cells, row and column rules) or exports the same columns as
// tab-separated text. Job titles naming a document ("Rechnung", "Quittung", "Karteikarte",
// "Stapeldruck", "Notiz") switch to document mode: a fixed four-column layout with a
// letterhead, a continuation header and a VAT footer.
class TPrintGrid2 {
public:
    TPrintGrid2(PrintCanvas& canvas, UserPort& port, const Clock& clock);

    int LeftMargin = 5;
    int TopMargin = 10;
    int RightMargin = 5;
    int BottomMargin = 20;
    PrintFont ColHeaderFont{QStringLiteral("Arial"), 10, true};
    PrintFont TitleFontGr{QStringLiteral("Arial"), 12, true};
    PrintFont TitleFontKl{QStringLiteral("Arial"), 8, true};
    PrintFont LinesFont{QStringLiteral("Arial"), 9};
    QString PrintMgrTitle = QStringLiteral("Talven - Print");
    QStringList Title;
    TextAlignment TitleAlignment = TextAlignment::taCenter;
    PrinterOrientation Orientation = PrinterOrientation::poPortrait;
    bool PrintToFile = false;
    bool FullPage = false;
    QString PrintFileName = QStringLiteral("MED.XLS");
    QString PrintFileDir;
    int FromPage = 1;
    int EndPage = 1000;
    bool Border = false;
    bool ColLines = true;
    bool RowLines = false;
    int HorizontalGap = 8;
    TPageNumberPos PageNumberPos = TPageNumberPos::pnBotCenter;
    QString PageNumberLabel = QStringLiteral("Seite ");
    TPageNumberPos DatePos = TPageNumberPos::pnTopRight;
    QString DateLabel;
    int RowLinesCount = 5;
    QString USt1 = QStringLiteral("16");
    QString USt2 = QStringLiteral("7");
    QString USt3 = QStringLiteral("0");
    int UStCol = -1;
    bool KopfPrint = false;
    int KopfAbstand = 55;
    QStringList Kopf;  // 20 slots in document mode
    bool FussPrint = false;
    QStringList Fuss;  // 18 slots
    // The payment code, about 3 x 3 cm, right above the footer of the last page; empty: none.
    MonoBitmap PayCode;

    // Draws the next jobs on another canvas (a copy of the settings for the preview).
    void Rebind(PrintCanvas& canvas) { m_canvas = &canvas; }

    // Remembers the grid; every column width becomes 0, alignments follow the grid.
    void AttachGrid(TSGrid* grid);
    TSGrid* Grid() const { return m_grid; }
    // Attaches an invoice or record card grid with the document columns: date, description,
    // VAT code and amount (20, 100, 10, 20 mm, the last two right-aligned), no rules.
    void AttachDocumentGrid(TSGrid* grid);
    // Width of a grid column in millimetres; 0 = not printed.
    int ColWidth(int col) const;
    void SetColWidth(int col, int millimetres);
    // Alignment of the i-th printed column (1-based).
    TextAlignment Alignment(int position) const;
    void SetAlignment(int position, TextAlignment alignment);
    QString ExportPath() const { return m_exportPath; }
    void SetExportPath(const QString& path) { m_exportPath = path; }

    // Prints (or with PrintToFile exports) the attached grid; deviceText goes to (0,0).
    // False when the device refused or failed the job.
    bool Print(const QString& deviceText = {});
    bool PrintWithDialog(PrintDialogPort& dialog);
    // The last Print was refused or failed by the device.
    bool LastJobFailed() const { return m_lastJobFailed; }
    // Asks for the export file, then exports; nothing is written on cancel.
    void ExportWithDialog();
    // Writes the export file; false (after the message) when it could not be written.
    bool Export();
    // The export text before encoding: "Table", the titles, one line per record.
    QStringList ExportLines() const;

    bool DocumentMode() const;

    // The VAT pre-return as a one-page form from the 36 lines of its sheet: title, date and
    // business; the turnover per rate with base and tax; the input tax per rate; the
    // remaining prepayment. Job title PrintMgrTitle; false when the device refused or failed.
    bool PrintVatReturn(const QStringList& sheet);
    // Width the description column offers for text in document mode, 0 without printer.
    int DescriptionColumnWidth();
    // "RECHNUNG" and "2005/17" give "Rechnungs-Nr: 2005/17".
    static QString DocumentNumberText(const QString& heading, const QString& number);

private:
    struct Column {
        int gridCol = 0;
        TextAlignment alignment = TextAlignment::taLeftJustify;
    };

    // Job steps.
    void StartJob();
    void PrintPages(const QString& deviceText);
    void ConvertMargins();
    void LayoutColumns();
    void FitColumnsToPage(QList<int>& widths, const QList<int>& titleWidths) const;
    void LayoutDocumentColumns();
    void PageHeader();
    void ColumnTitleRow();
    void DrawPageNumber();
    void PrintRow(int record);
    bool PageFull() const;
    void Rule(int x1, int x2, int y);  // T parallel lines
    // The Border frame of the page that ends: from the column title row down to the last
    // row, or to the bottom margin with FullPage.
    void CloseFrame();
    bool InRange() const { return m_page >= FromPage && m_page <= EndPage; }
    int Printable() const { return m_canvas->PageWidth() - m_left - m_right; }
    QString CellText(int col, int record) const;
    int UseFont(const PrintFont& font);  // returns the height of "M"
    // Cell alignment rule: x of a text of the given width between edges a and b.
    int AlignedX(TextAlignment alignment, int a, int b, int width) const;
    void DrawCell(TextAlignment alignment, int a, int b, int textTop, int lineBottom,
                  const QString& text);
    void DrawClipped(int x, int textTop, int clipLeft, int clipRight, int lineBottom,
                     const QString& text);

    void DrawVatReturn(const QStringList& sheet);

    // Document mode (letterhead, continuation header, footer).
    void DrawLetterhead();
    // Printed size of the logo of slot 17; empty when there is none or it does not fit.
    QSize LogoSize();
    bool IsLargeLogo(QSize logo) const;
    // False when it was not drawn (outside the page range, or unreadable).
    bool DrawLogo(const QRect& target);
    // Returns how much further down the body starts below the column titles.
    int ContinuationHeader(int y);
    void DrawFooter();
    void DrawLongFooterLine(int footerTop, const QString& text);
    QString Slot(int i) const { return i < Kopf.size() ? Kopf[i] : QString(); }

    PrintCanvas* m_canvas;
    UserPort& m_port;
    const Clock& m_clock;
    TSGrid* m_grid = nullptr;
    QList<int> m_widths;                // per grid column, millimetres
    QList<TextAlignment> m_alignments;  // per printed position, 1-based (0 unused)
    QString m_exportPath;

    // Job state in device pixels.
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0, m_kopf = 0;
    int m_page = 1;
    int m_rowsOnPage = 0;
    int m_bodyTop = 0;
    int m_lineHeight = 0;
    int m_ruleThickness = 1;
    int m_headerHeight = 0;
    int m_letterheadBottom = 0;
    bool m_document = false;
    bool m_lastJobFailed = false;
    bool m_rowOutput = false;
    int m_frameTop = -1;      // top of the Border frame on this page; -1: none
    QList<Column> m_columns;  // printed columns in order
    QList<int> m_edges;       // m_edges[i]: left edge of printed column i (1-based)
};
