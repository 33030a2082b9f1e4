#include "printing/TPrintGrid2.h"
#include "printing/PrintJobGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

#include "common/Clock.h"
#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/PrintDialogPort.h"
#include "printing/PrintUnits.h"
#include "table/TSGrid.h"

using namespace printunits;

namespace {

TextAlignment AlignmentFromText(const QString& text)
{
    if (text == QLatin1String("taRightJustify")) {
        return TextAlignment::taRightJustify;
    }
    if (text == QLatin1String("taCenter")) {
        return TextAlignment::taCenter;
    }
    return TextAlignment::taLeftJustify;
}

bool IsTop(TPageNumberPos pos)
{
    return pos == TPageNumberPos::pnTopLeft || pos == TPageNumberPos::pnTopCenter ||
           pos == TPageNumberPos::pnTopRight;
}

TextAlignment HorizontalOf(TPageNumberPos pos)
{
    switch (pos) {
        case TPageNumberPos::pnTopCenter:
        case TPageNumberPos::pnBotCenter:
            return TextAlignment::taCenter;
        case TPageNumberPos::pnTopRight:
        case TPageNumberPos::pnBotRight:
            return TextAlignment::taRightJustify;
        default:
            return TextAlignment::taLeftJustify;
    }
}

}  // namespace

TPrintGrid2::TPrintGrid2(PrintCanvas& canvas, UserPort& port, const Clock& clock)
    : m_canvas(&canvas), m_port(port), m_clock(clock)
{
}

void TPrintGrid2::AttachGrid(TSGrid* grid)
{
    m_grid = grid;
    m_widths.clear();
    m_alignments.clear();
    if (!grid) {
        return;
    }
    const QStringList& alignments = grid->Alignments();
    for (int col = 0; col < grid->ColCount(); ++col) {
        m_widths.append(0);
        m_alignments.append(col == 0 ? TextAlignment::taLeftJustify
                                     : AlignmentFromText(alignments.value(col)));
    }
}

void TPrintGrid2::AttachDocumentGrid(TSGrid* grid)
{
    AttachGrid(grid);
    const int widths[] = {20, 100, 10, 20};
    for (int col = 1; col <= 4; ++col)
        SetColWidth(col, widths[col - 1]);
    SetAlignment(3, TextAlignment::taRightJustify);
    SetAlignment(4, TextAlignment::taRightJustify);
    RowLines = false;
    ColLines = false;
}

int TPrintGrid2::ColWidth(int col) const
{
    return m_widths.value(col, 0);
}

void TPrintGrid2::SetColWidth(int col, int millimetres)
{
    if (col >= 0 && col < m_widths.size()) {
        m_widths[col] = millimetres;
    }
}

TextAlignment TPrintGrid2::Alignment(int position) const
{
    return m_alignments.value(position, TextAlignment::taLeftJustify);
}

void TPrintGrid2::SetAlignment(int position, TextAlignment alignment)
{
    while (m_alignments.size() <= position) {
        m_alignments.append(TextAlignment::taLeftJustify);
    }
    m_alignments[position] = alignment;
}

bool TPrintGrid2::DocumentMode() const
{
    // A quote's job title names no other document word, but it is a document too.
    for (const char* word :
         {"Rechnung", "Quittung", "Karteikarte", "Stapeldruck", "Notiz", "Angebot"}) {
        if (PrintMgrTitle.contains(QLatin1String(word), Qt::CaseSensitive)) {
            return true;
        }
    }
    return false;
}

QString TPrintGrid2::CellText(int col, int record) const
{
    QString text = m_grid->GetRecordCell(col, record);
    if (col == UStCol) {
        if (text == QLatin1String("1")) {
            return USt1;
        }
        if (text == QLatin1String("2")) {
            return USt2;
        }
        if (text == QLatin1String("3")) {
            return USt3;
        }
    }
    if (col != 0 &&
        (col == m_grid->PriceCol1 || col == m_grid->PriceCol2 || col == m_grid->PriceCol3)) {
        long double value = 0;
        if (TryStrToFloat(text, &value)) {
            return FormatFloat(QStringLiteral("0.00"), value);
        }
    }
    return text;
}

QStringList TPrintGrid2::ExportLines() const
{
    QStringList lines{QStringLiteral("Table")};
    int last = 0;
    for (int col = 1; col < m_widths.size(); ++col) {
        if (m_widths[col] > 0) {
            last = col;
        }
    }
    QString titles;
    for (int col = 1; col <= last; ++col) {
        if (m_widths[col] > 0) {
            // The grid pads the titles of right-aligned columns for the screen.
            titles += m_grid->Cells(col, 0).trimmed() + QLatin1Char('\t');
        }
    }
    lines.append(titles);
    for (int record = 0; record < m_grid->RecordCount(); ++record) {
        QString line;
        for (int col = 1; col <= last; ++col) {
            if (m_widths[col] > 0) {
                line += CellText(col, record) + QLatin1Char('\t');
            }
        }
        lines.append(line);
    }
    return lines;
}

bool TPrintGrid2::Export()
{
    const QString path = m_exportPath.isEmpty() ? QStringLiteral("Export.xls") : m_exportPath;
    BusyScope busy(m_port);
    const QByteArray data = cp1252::JoinLines(ExportLines());
    // Written beside the target and renamed over it: a failed export leaves no torn file.
    if (!files::ReplaceAtomically(path, path + QStringLiteral(".~XL"), data)) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, QStringLiteral("Error opening output file:") + path);
        return false;
    }
    return true;
}

void TPrintGrid2::ExportWithDialog()
{
    PrintToFile = true;
    QString start = PrintFileDir;
    if (!PrintFileName.isEmpty()) {
        start = start.isEmpty() ? PrintFileName : QDir(start).filePath(PrintFileName);
    }
    const QString chosen = m_port.ChooseSaveFile(
        PrintMgrTitle, start, QStringLiteral("Excel-Dateien (*.XLS *.xls);;Alle Dateien (*)"));
    if (chosen.isEmpty()) {
        return;
    }
    const QFileInfo info(chosen);
    PrintFileDir = info.absolutePath() + QLatin1Char('/');
    PrintFileName = info.fileName();
    m_exportPath = info.absoluteFilePath();
    Print();
}

bool TPrintGrid2::PrintWithDialog(PrintDialogPort& dialog)
{
    FromPage = 1;
    EndPage = 1000;
    PrintDialogOptions options;
    options.orientation = Orientation;
    options.allowPrintToFile = true;
    options.jobTitle = PrintMgrTitle;
    const std::optional<PrintDialogChoice> choice = dialog.ShowPrintDialog(options);
    if (!choice) {
        return false;
    }
    if (choice->pageRange) {
        FromPage = choice->fromPage;
        EndPage = choice->toPage;
    }
    Orientation = choice->orientation;
    if (choice->printToFile) {
        ExportWithDialog();
    } else {
        PrintToFile = false;
        Print();
    }
    return true;
}

int TPrintGrid2::UseFont(const PrintFont& font)
{
    m_canvas->SetFont(font);
    return m_canvas->TextHeight(QStringLiteral("M"));
}

void TPrintGrid2::ConvertMargins()
{
    m_left = MmToPixelsX(*m_canvas, LeftMargin);
    m_right = MmToPixelsX(*m_canvas, RightMargin);
    m_top = MmToPixelsY(*m_canvas, TopMargin);
    m_bottom = MmToPixelsY(*m_canvas, BottomMargin);
    m_kopf = MmToPixelsY(*m_canvas, KopfAbstand);
}

void TPrintGrid2::StartJob()
{
    // The orientation decides the page size, so it comes before the conversions.
    m_canvas->SetOrientation(Orientation);
    ConvertMargins();
    const double pixelsPerMm =
        m_canvas->PageHeightMm() > 0
            ? static_cast<double>(m_canvas->PageHeight()) / m_canvas->PageHeightMm()
            : 1.0;
    m_ruleThickness = std::min(3, std::max(1, RoundEven(0.1 * pixelsPerMm)));
    UseFont(LinesFont);
    HorizontalGap = m_canvas->TextWidth(QStringLiteral("W")) / 4;
    m_lineHeight = LinePitch(m_canvas->TextHeight(QStringLiteral("M")));
    m_headerHeight = LinePitch(UseFont(ColHeaderFont));
    UseFont(LinesFont);
}

void TPrintGrid2::LayoutColumns()
{
    const double pixelsPerMm =
        m_canvas->PageWidthMm() > 0
            ? static_cast<double>(m_canvas->PageWidth()) / m_canvas->PageWidthMm()
            : 1.0;
    m_columns.clear();
    m_edges = {0, Border ? 1 : 0};
    QList<int> widths;
    QList<int> titleWidths;
    UseFont(ColHeaderFont);
    for (int col = 1; col < m_widths.size(); ++col) {
        if (m_widths[col] <= 0) {
            continue;
        }
        const int position = static_cast<int>(m_columns.size()) + 1;
        titleWidths.append(m_canvas->TextWidth(m_grid->Cells(col, 0)));
        widths.append(std::max(titleWidths.last(), static_cast<int>(m_widths[col] * pixelsPerMm)));
        m_columns.append({col, Alignment(position)});
    }
    UseFont(LinesFont);
    FitColumnsToPage(widths, titleWidths);
    for (const int width : widths) {
        m_edges.append(m_edges.last() + width + HorizontalGap);
    }
}

void TPrintGrid2::FitColumnsToPage(QList<int>& widths, const QList<int>& titleWidths) const
{
    // Stored widths (the medication list's defaults among them) can add up to more than an
    // A4 page holds; the last columns then ran into the right margin, past the rules.
    // The widest columns, usually names with room to spare, give up the excess pixel by
    // pixel, never narrower than their titles.
    int right = m_edges.last();
    for (const int width : widths) {
        right += width + HorizontalGap;
    }
    for (int excess = right - Printable(); excess > 0; --excess) {
        qsizetype widest = -1;
        for (qsizetype i = 0; i < widths.size(); ++i) {
            if (widths[i] > titleWidths[i] && (widest < 0 || widths[i] > widths[widest])) {
                widest = i;
            }
        }
        if (widest < 0) {
            return;
        }
        --widths[widest];
    }
}

int TPrintGrid2::AlignedX(TextAlignment alignment, int a, int b, int width) const
{
    switch (alignment) {
        case TextAlignment::taRightJustify:
            return b - HorizontalGap - width;
        case TextAlignment::taCenter:
            return a + RoundEven((b - a) / 2.0) - width / 2;
        default:
            return a + HorizontalGap;
    }
}

void TPrintGrid2::DrawClipped(int x, int textTop, int clipLeft, int clipRight, int lineBottom,
                              const QString& text)
{
    m_canvas->TextRect(Edges(clipLeft, textTop, clipRight, lineBottom), x, textTop, text);
}

void TPrintGrid2::DrawCell(TextAlignment alignment, int a, int b, int textTop, int lineBottom,
                           const QString& text)
{
    const int x = AlignedX(alignment, a, b, m_canvas->TextWidth(text));
    DrawClipped(x, textTop, a + HorizontalGap, b - HorizontalGap, lineBottom, text);
}

void TPrintGrid2::Rule(int x1, int x2, int y)
{
    for (int i = 0; i < m_ruleThickness; ++i) {
        m_canvas->Line(x1, y + i, x2, y + i);
    }
}

void TPrintGrid2::CloseFrame()
{
    if (!Border || m_frameTop < 0 || !InRange() || m_edges.size() < 2) {
        m_frameTop = -1;
        return;
    }
    const int bottom =
        FullPage ? m_canvas->PageHeight() - m_bottom : m_bodyTop + m_rowsOnPage * m_lineHeight;
    // Position 1 is one pixel in from the margin, so the frame's left line stays clear of
    // the first column's text.
    m_canvas->FrameRect(
        Edges(m_left + m_edges[1] - 1, m_frameTop, m_left + m_edges.last() + 1, bottom + 1));
    m_frameTop = -1;
}

void TPrintGrid2::DrawPageNumber()
{
    if (PageNumberPos == TPageNumberPos::pnNone || !InRange()) {
        return;
    }
    UseFont(LinesFont);
    const QString text = PageNumberLabel + QString::number(m_page);
    const int x = AlignedX(HorizontalOf(PageNumberPos), m_left, m_left + Printable(),
                           m_canvas->TextWidth(text));
    const int y = IsTop(PageNumberPos) ? m_top : m_canvas->PageHeight() - m_bottom + 8;
    m_canvas->TextOut(x, y, text);
}

void TPrintGrid2::PageHeader()
{
    const int w = Printable();
    int pitch = 0;
    if (!Title.isEmpty() || DatePos != TPageNumberPos::pnNone ||
        PageNumberPos != TPageNumberPos::pnNone) {
        pitch = LinePitch(UseFont(TitleFontGr));
    }
    if (DatePos != TPageNumberPos::pnNone) {
        DateLabel = QLocale(QLocale::German, QLocale::Germany)
                        .toString(m_clock.Today(), QStringLiteral("d. MMM yyyy"));
        if (InRange()) {
            const int x =
                AlignedX(HorizontalOf(DatePos), m_left, m_left + w, m_canvas->TextWidth(DateLabel));
            const int y = IsTop(DatePos) ? m_top : m_canvas->PageHeight() - m_bottom;
            m_canvas->TextOut(x, y, DateLabel);
        }
    }
    if (InRange() && !Title.isEmpty()) {
        const qsizetype lines = m_page == 1 && FromPage == 1 ? Title.size() : 1;
        for (qsizetype k = 0; k < lines; ++k) {
            const int x =
                AlignedX(TitleAlignment, m_left, m_left + w, m_canvas->TextWidth(Title[k]));
            m_canvas->TextOut(x, m_top + static_cast<int>(k) * pitch, Title[k]);
        }
    }
    DrawPageNumber();

    if (Title.isEmpty()) {
        const bool atTop = IsTop(DatePos) || IsTop(PageNumberPos);
        m_bodyTop = m_top + (atTop ? pitch : 0) + m_headerHeight;
    } else if (m_page == 1) {
        m_bodyTop = m_top + static_cast<int>(Title.size()) * pitch + m_headerHeight;
    } else {
        m_bodyTop = m_top + pitch + m_headerHeight;
    }

    if (InRange()) {
        if (FullPage && ColLines) {
            for (qsizetype i = 2; i <= m_columns.size(); ++i) {
                const int x = m_left + m_edges[i];
                m_canvas->Line(x, m_bodyTop, x, m_canvas->PageHeight() - m_bottom);
            }
        }
        ColumnTitleRow();
    }
}

void TPrintGrid2::ColumnTitleRow()
{
    const int y = m_bodyTop - m_headerHeight;
    if (InRange()) {
        m_frameTop = y;
        const int h = UseFont(ColHeaderFont);
        const int textTop = y + CentreOffset(h);
        for (qsizetype i = 0; i < m_columns.size(); ++i) {
            DrawCell(m_columns[i].alignment, m_left + m_edges[i + 1], m_left + m_edges[i + 2],
                     textTop, y + m_headerHeight, m_grid->Cells(m_columns[i].gridCol, 0));
        }
        Rule(m_left, m_left + Printable(), m_bodyTop);
    }
    m_bodyTop += m_lineHeight / 3;
}

void TPrintGrid2::PrintRow(int record)
{
    if (!InRange()) {
        return;
    }
    m_rowOutput = true;
    const int h = UseFont(LinesFont);
    const int y = m_rowsOnPage * m_lineHeight + m_bodyTop;
    const int textTop = y + CentreOffset(h);
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        DrawCell(m_columns[i].alignment, m_left + m_edges[i + 1], m_left + m_edges[i + 2], textTop,
                 y + m_lineHeight, CellText(m_columns[i].gridCol, record));
    }
    if (RowLines && RowLinesCount > 0 && m_rowsOnPage % RowLinesCount == 0) {
        m_canvas->Line(m_left, y, m_left + Printable(), y);
    }
    if (ColLines && !FullPage) {
        // The rules run from the body top to this row's bottom; each row adds its own
        // piece, so no stretch is drawn twice (overdrawn hairlines print darker).
        const int from = m_rowsOnPage == 0 ? m_bodyTop : y;
        for (qsizetype i = 2; i <= m_columns.size(); ++i) {
            const int x = m_left + m_edges[i];
            m_canvas->Line(x, from, x, y + m_lineHeight);
        }
    }
}

bool TPrintGrid2::PageFull() const
{
    const int limit = m_canvas->PageHeight() - m_bottom;
    if (RowLines && RowLinesCount > 0) {
        // A group of rows is never split.
        return m_rowsOnPage % RowLinesCount == 0 &&
               (m_rowsOnPage + RowLinesCount + 1) * m_lineHeight + m_bodyTop >= limit;
    }
    return (m_rowsOnPage + 2) * m_lineHeight + m_bodyTop >= limit;
}

bool TPrintGrid2::Print(const QString& deviceText)
{
    if (!m_grid) {
        m_port.Message(MsgKind::Error, QStringLiteral("Error: FDBGrid Not Assigned."));
        return false;
    }
    m_lastJobFailed = false;
    if (PrintToFile) {
        return Export();
    }
    m_document = DocumentMode();
    StartJob();
    m_lastJobFailed = true;
    if (!m_canvas->BeginDoc(PrintMgrTitle)) {
        return false;
    }
    {
        PrintJobGuard guard(*m_canvas, m_port);
        PrintPages(deviceText);
    }
    // The device may only report a failure once the job has ended.
    m_lastJobFailed = m_canvas->JobFailed();
    return !m_lastJobFailed;
}

void TPrintGrid2::PrintPages(const QString& deviceText)
{
    m_page = 1;
    m_rowsOnPage = 0;
    m_rowOutput = false;
    m_frameTop = -1;
    if (m_document) {
        LayoutDocumentColumns();
    } else {
        LayoutColumns();
    }
    if (!deviceText.isEmpty()) {
        m_canvas->TextOut(0, 0, deviceText);
    }
    m_bodyTop = m_headerHeight + m_top;
    if (KopfPrint) {
        DrawLetterhead();
        m_bodyTop = m_headerHeight + m_letterheadBottom;
    }

    const int records = m_grid->RecordCount();
    for (int record = 0; record < records; ++record) {
        if (m_rowsOnPage == 0) {
            if (!KopfPrint) {
                PageHeader();
            } else if (m_page >= FromPage) {
                int below = 0;
                if (m_page > 1) {
                    m_bodyTop = m_headerHeight + m_top;
                    if (m_document) {
                        below = ContinuationHeader(m_top);
                    }
                }
                ColumnTitleRow();
                m_bodyTop += below;
                DrawPageNumber();
            }
        }
        PrintRow(record);
        ++m_rowsOnPage;
        if (PageFull() && record + 1 < records) {
            CloseFrame();
            if (m_page >= FromPage && m_page <= EndPage - 1) {
                m_canvas->NewPage();
            }
            ++m_page;
            m_rowsOnPage = 0;
            m_bodyTop = m_top;
            if (m_page > EndPage) {
                break;
            }
        }
    }

    CloseFrame();
    if (RowLines && m_rowOutput && InRange()) {
        const int y = m_bodyTop + m_rowsOnPage * m_lineHeight;
        m_canvas->Line(m_left, y, m_left + Printable(), y);
    }
    if (FussPrint && InRange()) {
        DrawFooter();
    }
}
