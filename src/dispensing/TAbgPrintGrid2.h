#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "dispensing/AbgRecordFile.h"
#include "printing/PrintCanvas.h"

// The dispensing form variant of the table printer: the heading, the veterinarian's and
// the keeper's details, the record's rows under three-line column headings, the
// footnotes, date and signature line and the retention note; normally twice, the copy on
// the lower half of the same sheet when the form fits there.
class TAbgPrintGrid2 {
public:
    explicit TAbgPrintGrid2(PrintCanvas& canvas) : m_canvas(&canvas) {}

    QStringList Kopf;  // the ten header lines
    bool KopfPrint = false;
    int KopfAbstand = 55;
    QStringList Fuss;  // line 0: the record's date
    bool FussPrint = false;
    bool Kopie = true;
    int FromPage = 1;
    int EndPage = 1000;
    PrinterOrientation Orientation = PrinterOrientation::poPortrait;
    // Margins in millimetres.
    int TopMargin = 60;
    int BottomMargin = 110;
    int LeftMargin = 30;
    int RightMargin = 30;
    int HorizontalGap = 8;
    int VerticalGapPct = 40;
    bool Border = false;
    bool ColLines = true;
    bool RowLines = false;
    int RowLinesCount = 5;
    QString PrintMgrTitle = QStringLiteral("Talven - Abgabebeleg");
    PrintFont ColHeaderFont{QStringLiteral("Arial"), 7, true};
    PrintFont TitleFontGr{QStringLiteral("Arial"), 12, true};
    PrintFont TitleFontKl{QStringLiteral("Arial"), 8, true};
    PrintFont LinesFont{QStringLiteral("Arial"), 9};

    static const QStringList& ColumnHeadings(int col);  // three lines
    static QString Heading();

    void Rebind(PrintCanvas& canvas) { m_canvas = &canvas; }
    // The record's cells and the number of data rows printed (6 or 32).
    void AttachGrid(const abg::Cells* cells, int rows);
    // Width of a column in millimetres; 0: not printed.
    void SetColWidth(int col, int millimetres);
    int ColWidth(int col) const { return m_widths.value(col); }

    // Prints the form (and the copy); deviceText goes to the top-left corner of the first
    // page. False when there is no grid or the device refused or failed the job.
    bool Print(const QString& deviceText = {});
    // Pages of the last job.
    int PagesPrinted() const { return m_page; }
    // Height of one printed form in pixels, as the last job measured it.
    int FormHeight() const { return m_formHeight; }

private:
    int PrintForm(int top, bool copy);  // returns the bottom of the form
    int HeaderBlock(int y, bool copy);
    int TableHeadings(int y);
    int FooterBlock(int y);
    int FooterHeight();
    void Text(int x, int y, const QString& text);
    int Use(const PrintFont& font, int minSize, int maxSize);  // returns the line pitch
    void NextPage();
    bool InRange() const { return m_page >= FromPage && m_page <= EndPage; }
    QString Line(int i) const { return Kopf.value(i); }

    PrintCanvas* m_canvas;
    const abg::Cells* m_cells = nullptr;
    int m_rows = abg::kShortRows;
    QList<int> m_widths = QList<int>(abg::kCols, 0);
    int m_left = 0, m_right = 0, m_top = 0, m_bottom = 0;
    int m_page = 1;
    int m_formHeight = 0;
    QList<int> m_edges;  // left edge of each printed column, and the right end last
    QList<int> m_printed;
};
