#include "dispensing/TAbgPrintGrid2.h"

#include <algorithm>

#include "printing/PrintUnits.h"

using namespace printunits;

namespace {

const QString kFootnotes = QStringLiteral(
    " (1) im Fall $ 58a AMG;   (2) bei nicht ausschl. lokal angew. verschreibungsplicht. "
    "Arzneimitteln;   (3) nur bei Abgabe erforderlich, bei Antibiotika stets Angabe der Diagnose");

// Words of a text gathered into lines no wider than `width`.
QStringList Wrap(PrintCanvas& canvas, const QString& text, int width)
{
    if (canvas.TextWidth(text) <= width)
        return {text};
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && canvas.TextWidth(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

}  // namespace

const QStringList& TAbgPrintGrid2::ColumnHeadings(int col)
{
    static const QList<QStringList> headings = {
        {"Anzahl, Art, Identität,", "ggfs. Nutzungsart (1), ggfs.", "geschätztes Gewicht (2)"},
        {"Diagnose (3), bei Anti- ", "biotika zusätzl.das", "Untersuchungsdatum"},
        {"Arzneimittel-", "bezeichnung, UPD-ID ", "oder Packungs-ID. "},
        {"Chargen-", "bezeichn. (3)", ""},
        {"Anwendungs-", "oder", "Abgabemenge"},
        {"Dosierung", "pro Tier", "und Tag (3)"},
        {"Zeipunkt, Dauer", "und Art", "der Anwendung (3)"},
        {"Behandlungstage,", "ggfs. eränzt um", "Wirkungstage (1)"},
        {"Wartezeit ", "( M / F )", ""},
    };
    return headings[col];
}

QString TAbgPrintGrid2::Heading()
{
    return QStringLiteral("Tierärztlicher Arzneimittel-Anwendungs- und Abgabebeleg");
}

void TAbgPrintGrid2::AttachGrid(const abg::Cells* cells, int rows)
{
    m_cells = cells;
    m_rows = std::clamp(rows, 1, abg::kRows);
}

void TAbgPrintGrid2::SetColWidth(int col, int millimetres)
{
    if (col >= 0 && col < abg::kCols)
        m_widths[col] = std::max(0, millimetres);
}

int TAbgPrintGrid2::Use(const PrintFont& font, int minSize, int maxSize)
{
    PrintFont f = font;
    f.size = std::clamp(f.size, minSize, maxSize);
    m_canvas->SetFont(f);
    return LinePitch(m_canvas->TextHeight(QStringLiteral("M")));
}

void TAbgPrintGrid2::Text(int x, int y, const QString& text)
{
    if (InRange() && !text.isEmpty())
        m_canvas->TextOut(x, y, text);
}

void TAbgPrintGrid2::NextPage()
{
    m_canvas->NewPage();
    ++m_page;
}

bool TAbgPrintGrid2::Print(const QString& deviceText)
{
    if (!m_cells)
        return false;
    m_canvas->SetOrientation(Orientation);
    m_left = MmToPixelsX(*m_canvas, LeftMargin);
    m_right = MmToPixelsX(*m_canvas, RightMargin);
    m_top = MmToPixelsY(*m_canvas, TopMargin);
    m_bottom = MmToPixelsY(*m_canvas, BottomMargin);
    if (!m_canvas->BeginDoc(PrintMgrTitle))
        return false;
    m_page = 1;

    // Column edges; columns wider together than the page are narrowed in proportion.
    const int printable = m_canvas->PageWidth() - m_left - m_right;
    QList<int> widths;
    m_printed.clear();
    int total = 0;
    for (int col = 0; col < abg::kCols; ++col) {
        if (m_widths[col] <= 0)
            continue;
        m_printed << col;
        widths << MmToPixelsX(*m_canvas, m_widths[col]);
        total += widths.last();
    }
    if (total > printable && total > 0) {
        for (int& w : widths)
            w = int(qint64(w) * printable / total);
    }
    m_edges.clear();
    int x = m_left;
    for (int w : widths) {
        m_edges << x;
        x += w;
    }
    m_edges << x;

    if (!deviceText.isEmpty()) {
        Use(LinesFont, 6, 6);
        m_canvas->TextOut(0, 0, deviceText);
    }
    const int firstPage = m_page;
    const int bottom = PrintForm(m_top, false);
    m_formHeight = bottom - m_top;
    if (Kopie) {
        const int half = m_canvas->PageHeight() / 2;
        // The copy goes to the lower half when the whole form fits there.
        if (m_page == firstPage && bottom + half <= m_canvas->PageHeight() - m_bottom) {
            PrintForm(m_top + half, true);
        } else {
            NextPage();
            PrintForm(m_top, true);
        }
    }
    m_canvas->EndDoc();
    return !m_canvas->JobFailed();
}

int TAbgPrintGrid2::HeaderBlock(int y, bool copy)
{
    const int width = m_edges.last() - m_left;
    QString heading = Heading();
    if (!Line(0).isEmpty())
        heading += QStringLiteral(" (Nr. ") + Line(0) + QLatin1Char(')');
    if (copy)
        heading += QStringLiteral("  -  Kopie");
    const int titlePitch = Use(TitleFontGr, 6, 72);
    Text(m_left, y, heading);
    y += titlePitch + titlePitch / 4;

    PrintFont bold = LinesFont;
    bold.bold = true;
    int p = Use(bold, 7, 8);
    Text(m_left, y, QStringLiteral("Tierarzt:"));
    y += p;
    p = Use(LinesFont, 7, 8);
    QString vet = Line(1);
    for (int i : {2, 3}) {
        if (!Line(i).isEmpty())
            vet += QStringLiteral(", ") + Line(i);
    }
    Text(m_left, y, vet);
    y += p;
    QString phone = Line(4);
    if (!Line(5).isEmpty())
        phone = phone.isEmpty() ? Line(5) : phone + QStringLiteral("  -  ") + Line(5);
    Text(m_left, y, phone);
    y += 2 * p;

    Use(bold, 7, 8);
    Text(m_left, y,
         Line(9).isEmpty()
             ? QStringLiteral("Tierhalter:")
             : QStringLiteral("Tierhalter:  (VVVO-Nr.: ") + Line(9) + QLatin1Char(')'));
    y += p;
    Use(LinesFont, 7, 8);
    Text(m_left, y, Line(6) + QStringLiteral(", ") + Line(7) + QStringLiteral(", ") + Line(8));
    y += p + p / 2;

    Text(m_left, y, QStringLiteral("Dauer der Wartezeit in Tagen (M=Milch/Ei, F=Fleisch)"));
    y += p;
    for (const QString& line :
         Wrap(*m_canvas,
              QStringLiteral("Weiterhin zu vermerken ist, ob die Abgabe auf den Behandlungsfall "
                             "bezogen erstmalig oder zum wiederholten Mal erfolgt ist."),
              width)) {
        Text(m_left, y, line);
        y += p;
    }
    y += p / 4;
    // The bold rule: three pixel lines.
    if (InRange()) {
        for (int i = 0; i < 3; ++i)
            m_canvas->Line(m_left, y + i, m_edges.last(), y + i);
    }
    y += p / 3;
    Use(bold, 7, 8);
    Text(m_left, y, QStringLiteral("Angewandte / Abgegebene Arzneimittel / Behandlungsanweisung"));
    return y + p;
}

int TAbgPrintGrid2::TableHeadings(int y)
{
    // The larger size when every heading fits its column, else the smaller.
    int p = Use(ColHeaderFont, 6, 7);
    for (int i = 0; i < m_printed.size(); ++i) {
        for (const QString& line : ColumnHeadings(m_printed[i])) {
            if (m_canvas->TextWidth(line) > m_edges[i + 1] - m_edges[i] - 2) {
                p = Use(ColHeaderFont, 6, 6);
                break;
            }
        }
    }
    const int gap = std::max(1, m_canvas->TextWidth(QStringLiteral("W")) / 4);
    if (InRange())
        m_canvas->Line(m_left, y, m_edges.last(), y);
    y += p / 4;
    for (int i = 0; i < m_printed.size(); ++i) {
        const QStringList& lines = ColumnHeadings(m_printed[i]);
        for (int l = 0; l < 3; ++l) {
            if (!lines[l].isEmpty() && InRange())
                m_canvas->TextRect(
                    QRect(m_edges[i] + 1, y + l * p, m_edges[i + 1] - m_edges[i] - 2, p),
                    m_edges[i] + gap, y + l * p, lines[l]);
        }
    }
    y += 3 * p + p / 4;
    if (InRange())
        m_canvas->Line(m_left, y, m_edges.last(), y);
    return y;
}

int TAbgPrintGrid2::FooterHeight()
{
    const int p = Use(LinesFont, 6, 7);
    const int lines = int(Wrap(*m_canvas, kFootnotes, m_edges.last() - m_left).size());
    return p / 2 + lines * p + 3 * p + p / 2 + p;
}

int TAbgPrintGrid2::FooterBlock(int y)
{
    const int width = m_edges.last() - m_left;
    const int p = Use(LinesFont, 6, 7);
    y += p / 2;
    for (const QString& line : Wrap(*m_canvas, kFootnotes, width)) {
        Text(m_left, y, line);
        y += p;
    }
    // Room to sign above the signature line.
    y += 2 * p;
    const int middle = m_left + width / 2;
    if (InRange())
        m_canvas->Line(middle, y, m_edges.last(), y);
    Text(m_left, y, QStringLiteral("Anwendungs-/Abgabedatum: ") + Fuss.value(0));
    Text(middle, y + 1,
         QStringLiteral("Unterschrift d. Tierarztes oder seines Beauftragten (bei E-Mail siehe "
                        "Anschreiben)"));
    y += p + p / 4;
    if (InRange())
        m_canvas->Line(m_left, y, m_edges.last(), y);
    y += p / 4;
    Text(m_left, y, QStringLiteral("Dieser Beleg ist mindestens 5 Jahre aufzubewahren."));
    return y + p;
}

int TAbgPrintGrid2::PrintForm(int top, bool copy)
{
    const int pageBottom = m_canvas->PageHeight() - m_bottom;
    const int formTop = top;
    const int startPage = m_page;
    int y = HeaderBlock(top, copy);
    int tableTop = y;
    y = TableHeadings(y);
    const int rowPitch = Use(LinesFont, 1, 72);
    const int gap = std::max(1, m_canvas->TextWidth(QStringLiteral("W")) / 4);
    const auto closeColumns = [&](int from, int to) {
        if (!InRange())
            return;
        for (int i = 0; i < m_edges.size(); ++i) {
            const bool outer = i == 0 || i == m_edges.size() - 1;
            if (outer || ColLines)
                m_canvas->Line(m_edges[i], from, m_edges[i], to + 1);
        }
    };
    for (int r = 0; r < m_rows; ++r) {
        if (y + rowPitch > pageBottom) {
            closeColumns(tableTop, y);
            NextPage();
            tableTop = m_top;
            y = TableHeadings(m_top);
            Use(LinesFont, 1, 72);
        }
        const auto& row = (*m_cells)[r];
        const int textTop = y + CentreOffset(m_canvas->TextHeight(QStringLiteral("M")));
        for (int i = 0; i < m_printed.size(); ++i) {
            const QString& text = row[m_printed[i]];
            if (!text.isEmpty() && InRange())
                m_canvas->TextRect(
                    QRect(m_edges[i] + 1, y, m_edges[i + 1] - m_edges[i] - 2, rowPitch),
                    m_edges[i] + gap, textTop, text);
        }
        y += rowPitch;
        const bool last = r == m_rows - 1;
        if ((last || (RowLines && RowLinesCount > 0 && (r + 1) % RowLinesCount == 0)) && InRange())
            m_canvas->Line(m_left, y, m_edges.last(), y);
    }
    closeColumns(tableTop, y);
    if (y + FooterHeight() > pageBottom) {
        NextPage();
        y = m_top;
    }
    y = FooterBlock(y);
    if (Border && InRange() && m_page == startPage) {
        const int margin = std::max(2, gap);
        m_canvas->FrameRect(QRect(m_left - margin, formTop - margin,
                                  m_edges.last() - m_left + 2 * margin, y - formTop + 2 * margin));
    }
    return y;
}
