// Document mode of the table printer: invoices, receipts, record cards and notes.
#include <QFile>
#include <algorithm>

#include "common/NumberFormat.h"
#include "printing/GiroCode.h"
#include "printing/PrintUnits.h"
#include "printing/TPrintGrid2.h"
#include "printing/TPrintStrList.h"
#include "table/TSGrid.h"

using namespace printunits;

QString TPrintGrid2::DocumentNumberText(const QString& heading, const QString& number)
{
    if (heading.isEmpty()) {
        return QStringLiteral("s-Nr: ") + number;
    }
    // "QUITTUNG - Barzahlung" keeps "Quittung": the rest stops before the blank and dash.
    const qsizetype dash = heading.indexOf(QLatin1Char('-'));
    const QString rest =
        dash < 0 ? heading.mid(1) : heading.mid(1, std::max<qsizetype>(0, dash - 2));
    return heading.left(1) + rest.toLower() + QStringLiteral("s-Nr: ") + number;
}

void TPrintGrid2::LayoutDocumentColumns()
{
    const int g = HorizontalGap;
    const int start = Border ? 1 : 0;
    UseFont(ColHeaderFont);
    const int title1 = m_canvas->TextWidth(m_grid->Cells(1, 0));
    const int title4 = m_canvas->TextWidth(m_grid->Cells(4, 0));
    UseFont(LinesFont);
    auto width = [this](const char* sample) {
        return m_canvas->TextWidth(QString::fromLatin1(sample));
    };
    const int c1 = std::max(title1, width("00.00.000088"));
    const int c3 = std::max(width(" USt(%)"), width("88800,0"));
    const int c4 = std::max(title4, width("8880000,00"));
    const int c2 = std::max(width("Bezeichnung"),
                            Printable() - start - (c1 + start + g) - c3 - g - (c4 + g) - 4 * g);
    m_columns.clear();
    m_edges = {0, start};
    const int widths[] = {c1, c2, c3, c4};
    for (int col = 1; col <= 4; ++col) {
        m_columns.append({col, Alignment(col)});
        m_edges.append(m_edges.last() + widths[col - 1] + g);
    }
}

int TPrintGrid2::DescriptionColumnWidth()
{
    if (!m_grid || m_canvas->PageWidth() <= 0) {
        return 0;
    }
    StartJob();
    LayoutDocumentColumns();
    return m_edges[3] - m_edges[2] - 2 * HorizontalGap;
}

QSize TPrintGrid2::LogoSize()
{
    if (Kopf.size() <= 17 || Kopf[17].isEmpty() || !QFile::exists(Kopf[17])) {
        return {};
    }
    const QSize natural = m_canvas->BitmapSize(Kopf[17]);
    if (natural.isEmpty()) {
        return {};
    }
    const double screen = std::max(1, m_canvas->ScreenPixelsPerInch());
    // Half the natural size, in printer pixels.
    const int w = static_cast<int>(natural.width() / screen * m_canvas->LogPixelsX() / 2);
    const int h = static_cast<int>(natural.height() / screen * m_canvas->LogPixelsY() / 2);
    if (w > m_canvas->PageWidth() || h > m_kopf - m_top || w <= 0 || h <= 0) {
        return {};
    }
    return {w, h};
}

bool TPrintGrid2::IsLargeLogo(QSize logo) const
{
    return !logo.isEmpty() && 3 * logo.width() >= m_canvas->PageWidth();
}

bool TPrintGrid2::DrawLogo(const QRect& target)
{
    return InRange() && m_canvas->StretchBitmap(target, Kopf[17]);
}

void TPrintGrid2::DrawLetterhead()
{
    const int n = static_cast<int>(Kopf.size());
    const int w = Printable();
    const bool draw = InRange();
    auto line = [&](int x, int lineTop, int clipLeft, int clipRight, const QString& text) {
        if (draw) {
            const int h = m_canvas->TextHeight(QStringLiteral("M"));
            DrawClipped(x, lineTop + CentreOffset(h), clipLeft, clipRight, lineTop + LinePitch(h),
                        text);
        }
    };

    // A large logo stands in for the practice name and firm line: drawn over them it left
    // pieces of their letters showing beside and below it. They are printed when it could
    // not be drawn.
    const QSize logo = LogoSize();
    bool nameLines = true;
    int largeLogoBottom = 0;
    if (IsLargeLogo(logo)) {
        UseFont(TitleFontKl);
        largeLogoBottom = m_top + m_canvas->TextHeight(QStringLiteral("M")) + logo.height();
        nameLines = !DrawLogo(QRect(m_left + HorizontalGap, m_top, logo.width(), logo.height()));
    }
    int lineTop = m_top;
    if (n >= 1 && nameLines) {
        UseFont(TitleFontGr);
        line(m_left, lineTop, m_left, m_left + w, Kopf[0]);
    }
    if (n >= 2) {
        lineTop += LinePitch(UseFont(TitleFontGr));
        PrintFont firm = TitleFontGr;
        firm.size = static_cast<int>(firm.size * 0.85);
        UseFont(firm);
        if (m_canvas->TextWidth(Kopf[1]) > static_cast<int>(0.45 * m_canvas->PageWidth())) {
            firm.size = static_cast<int>(firm.size * 0.85);
        }
        int street = 0;
        if (n >= 3 && !Kopf[2].isEmpty()) {
            UseFont(TitleFontKl);
            street = m_canvas->TextWidth(Kopf[2]);
        }
        UseFont(firm);
        if (nameLines) {
            line(m_left, lineTop, m_left, m_left + w - street - 15, Kopf[1]);
        }
    }

    // The date stands in the right column in the body font; the column is wide enough for
    // it, so that it does not run over the page's right margin.
    int dateWidth = 0;
    if (!DateLabel.isEmpty()) {
        UseFont(LinesFont);
        dateWidth = m_canvas->TextWidth(DateLabel);
    }
    const int smallLh = LinePitch(UseFont(TitleFontKl));
    int b = std::max(m_canvas->TextWidth(QStringLiteral("00.00.0000")), dateWidth);
    for (int i : {2, 3, 4, 5, 18, 19, 10, 11, 12}) {
        if (i < n && !Kopf[i].isEmpty()) {
            b = std::max(b, m_canvas->TextWidth(Kopf[i]));
        }
    }
    const int unclamped = m_left + w - b - 5;
    const int columnX = std::max(m_left, unclamped);
    const int columnRight = columnX + b + 5;
    const int narrowRight = m_left + w - b - 15;
    auto columnLine = [&](int top, const QString& text) {
        line(columnX, top, columnX, columnRight, text);
    };

    int addressTop = lineTop;
    if (IsLargeLogo(logo)) {
        addressTop = largeLogoBottom;
    } else if (!logo.isEmpty()) {
        // Left of the right column, on the row of the firm line.
        const int mm = m_canvas->TextWidth(QStringLiteral("MM"));
        DrawLogo(QRect(unclamped - mm - logo.width(), lineTop, logo.width(), logo.height()));
    }

    int r = addressTop;
    if (n >= 6) {
        int y = addressTop;
        columnLine(y, Kopf[2]);
        y += smallLh;
        columnLine(y, Kopf[3]);
        for (int i : {4, 5}) {
            y += smallLh;
            if (!Kopf[i].isEmpty()) {
                columnLine(y, Kopf[i]);
            }
        }
        if (n > 18 && !Kopf[18].isEmpty()) {
            y += smallLh;
            columnLine(y, Kopf[18]);
        }
        if (n > 19) {
            y += smallLh;
            if (!Kopf[19].isEmpty()) {
                columnLine(y, Kopf[19]);
            }
        }
        r = y + smallLh;
    }

    if (n >= 2) {
        PrintFont sender = LinesFont;
        sender.size = 8;
        UseFont(sender);
        const QString text = TPrintStrList::SenderLine(Kopf);
        if (m_canvas->TextWidth(text) > (m_canvas->PageWidth() - m_left - m_right) / 2) {
            sender.size -= 1;
            UseFont(sender);
        }
        line(m_left, m_kopf, m_left, narrowRight, text);
    }

    int addresseeBottom = 0;
    lineTop = r;
    if (n >= 10) {
        PrintFont addressee = LinesFont;
        addressee.size = std::max(addressee.size, 10);
        const int lh = LinePitch(UseFont(addressee));
        int y = m_kopf + 2 * lh;
        line(m_left, y, m_left, narrowRight, Kopf[6]);
        y += lh;
        line(m_left, y, m_left, narrowRight, Kopf[7]);
        y += lh;
        line(m_left, y, m_left, narrowRight, Kopf[8]);
        y += static_cast<int>(1.5 * lh);
        line(m_left, y, m_left, narrowRight, Kopf[9]);
        addresseeBottom = y + 3 * lh;
    }

    if (n >= 13) {
        UseFont(TitleFontKl);
        columnLine(lineTop, Kopf[10]);
        lineTop += smallLh;
        const bool none = Kopf[11].isEmpty() && Kopf[12].isEmpty();
        for (int i : {11, 12}) {
            if (!Kopf[i].isEmpty()) {
                columnLine(lineTop, Kopf[i]);
                lineTop += smallLh;
            }
        }
        if (none) {
            lineTop += smallLh;
        }
    }

    const int linesLh = LinePitch(UseFont(LinesFont));
    if (!DateLabel.isEmpty()) {
        lineTop += 2 * linesLh;
        line(columnX, lineTop, columnX, m_left + w, DateLabel);
    }

    const QString number = DocumentNumberText(Slot(13), Slot(14));
    const int numberWidth = m_canvas->TextWidth(QStringLiteral("Rechnungs-Nr: ") + Slot(14));
    if (n >= 14) {
        PrintFont heading = LinesFont;
        heading.bold = true;
        heading.size += 2;
        lineTop = std::max(lineTop + 4 * linesLh, addresseeBottom);
        UseFont(heading);
        line(m_left, lineTop, m_left, m_left + w - numberWidth - 25, Kopf[13]);
    }
    if (n >= 15) {
        UseFont(LinesFont);
        const int boxLeft = m_left + w - numberWidth - 10;
        line(boxLeft, lineTop, boxLeft, m_left + w, number);
    }
    UseFont(LinesFont);
    if (n >= 16 && !Kopf[15].isEmpty()) {
        lineTop += 2 * linesLh;
        line(m_left, lineTop, m_left, m_left + w, Kopf[15]);
    }
    m_letterheadBottom = lineTop + 2 * linesLh;
}

int TPrintGrid2::ContinuationHeader(int y)
{
    const int m = UseFont(ColHeaderFont);
    if (InRange()) {
        const QString text = DocumentNumberText(Slot(13), Slot(14)) + QStringLiteral("   ");
        m_canvas->TextOut(m_left + Printable() - m_canvas->TextWidth(text), y, text);
    }
    // The column titles move down by two "M"; the body a little further.
    m_bodyTop += 2 * m;
    return static_cast<int>(0.8 * UseFont(LinesFont)) / 4;
}

void TPrintGrid2::DrawFooter()
{
    const int lh = m_lineHeight;
    const int w = Printable();
    const int u = (w - 15) / 6;
    const int l = m_left;
    const int limit = m_canvas->PageHeight() - m_bottom;
    int factor = 2;
    if (Kopf.size() >= 17 && !TryStrToInt(Kopf[16], &factor)) {
        factor = 2;
    }
    int g = HorizontalGap * factor;

    // The payment code stands above the footer rule at the right edge, clear of the rows.
    const int codeSide = PayCode.Empty() ? 0 : MmToPixelsY(*m_canvas, girocode::kSizeMm);
    const int codeSpace = codeSide ? codeSide + lh / 2 : 0;
    int f = 0;
    int codeTop = 0;
    if ((m_rowsOnPage + 10) * lh + m_bodyTop + codeSpace < limit) {
        f = limit - 10 * lh;
        codeTop = f - codeSpace;
    } else {
        // Never over the rows: a page of its own, which is output even past the range.
        m_canvas->NewPage();
        const int m = UseFont(ColHeaderFont);
        const QString text = DocumentNumberText(Slot(13), Slot(14)) + QStringLiteral("   ");
        m_canvas->TextOut(l + w - m_canvas->TextWidth(text), m_top, text);
        ++m_page;
        ++EndPage;
        DrawPageNumber();
        f = m_top + 2 * m;
        codeTop = f + 10 * lh;
    }
    Rule(l, l + w, f);
    if (codeSide)
        m_canvas->StretchMonoBitmap(QRect(l + w - codeSide, codeTop, codeSide, codeSide), PayCode);

    const int h = UseFont(LinesFont);
    const int offset = CentreOffset(h);
    auto left = [&](int x, int top, int clipRight, const QString& text) {
        DrawClipped(x, top + offset, x, clipRight, top + lh, text);
    };
    auto right = [&](int rightEdge, int top, int clipLeft, int clipRight, const QString& text) {
        DrawClipped(rightEdge - m_canvas->TextWidth(text), top + offset, clipLeft, clipRight,
                    top + lh, text);
    };
    auto slot = [this](int i) { return Fuss.value(i); };

    if (Fuss.size() > 11) {
        for (int row = 0; row < 3; ++row) {
            const int top = f + row * lh;
            if (!slot(2 * row + 1).isEmpty()) {
                left(l + g, top, l + u - g, QStringLiteral("USt ") + slot(2 * row));
                right(l + 2 * u - 2 * g, top, l + u - g, l + 2 * u, slot(2 * row + 1));
            }
            if (!slot(2 * row + 7).isEmpty()) {
                left(l + 2 * u + g, top, l + 3 * u - g, QStringLiteral("USt ") + slot(2 * row + 6));
                right(l + 4 * u - 2 * g, top, l + 3 * u - g, l + 4 * u, slot(2 * row + 7));
            }
        }
    }
    g /= 3;
    if (Fuss.size() > 15) {
        const int labelX = l + 4 * u + 3 * g;
        const int amountRight = l + 6 * u - g;
        left(labelX, f, l + 5 * u, QStringLiteral("Nettobetrag"));
        right(amountRight, f, l + 5 * u, l + 6 * u, slot(12));
        const QString vat =
            m_canvas->TextWidth(QStringLiteral("Umsatzsteuer")) < (l + 5 * u) - labelX - 4
                ? QStringLiteral("Umsatzsteuer")
                : QStringLiteral("USt");
        left(labelX, f + lh, l + 5 * u, vat);
        right(amountRight, f + lh, l + 5 * u, l + 6 * u, slot(13));
        const int below = (LinePitch(lh) - lh) / 2;
        Rule(labelX, amountRight, f + 2 * lh + below);
        PrintFont bold = LinesFont;
        bold.bold = true;
        UseFont(bold);
        left(labelX, f + 3 * lh, l + 5 * u, QStringLiteral("Endbetrag"));
        right(amountRight, f + 3 * lh, l + 5 * u, l + 6 * u, slot(14));
        Rule(labelX, amountRight, f + 4 * lh + below);
        UseFont(LinesFont);
        if (!slot(15).isEmpty()) {
            right(amountRight, f + 5 * lh, l + 4 * u, l + 6 * u,
                  QStringLiteral("( ") + slot(15) + QStringLiteral(" )"));
        }
    }
    if (Fuss.size() > 17) {
        left(l + g, f + 7 * lh, l + w, slot(16));
        DrawLongFooterLine(f, slot(17));
    }
}

void TPrintGrid2::DrawLongFooterLine(int footerTop, const QString& text)
{
    const int lh = m_lineHeight;
    const int available = m_canvas->PageWidth() - m_right - m_left - m_canvas->PhysicalOffsetX();
    PrintFont font = LinesFont;
    UseFont(font);
    while (m_canvas->TextWidth(text) > available && font.size > 8) {
        font.size = static_cast<int>(font.size * 0.86);
        UseFont(font);
    }
    auto draw = [&](int top, const QString& s) {
        const int h = m_canvas->TextHeight(QStringLiteral("M"));
        DrawClipped(m_left, top + CentreOffset(h), m_left, m_left + available, top + LinePitch(h),
                    s);
    };
    if (m_canvas->TextWidth(text) <= available) {
        draw(footerTop + static_cast<int>(8.5 * lh), text);
        return;
    }
    // Two lines, broken at a blank.
    auto split = [&](QString& first, QString& second) {
        first = text;
        second.clear();
        while (!first.isEmpty() && m_canvas->TextWidth(first) > available) {
            second.prepend(first.back());
            first.chop(1);
        }
        while (!first.isEmpty() && !first.endsWith(QLatin1Char(' '))) {
            second.prepend(first.back());
            first.chop(1);
        }
    };
    QString first;
    QString second;
    split(first, second);
    while (m_canvas->TextWidth(second) > available && font.size > 6) {
        font.size = static_cast<int>(font.size * 0.86);
        UseFont(font);
    }
    split(first, second);
    bool cut = false;
    while (!second.isEmpty() && m_canvas->TextWidth(second) > available) {
        second.chop(1);
        cut = true;
    }
    if (cut && m_canvas->TextWidth(second) > available - 20) {
        second.chop(5);
        second += QStringLiteral("...");
    }
    draw(footerTop + static_cast<int>(8 * lh), first);
    draw(footerTop + static_cast<int>(8.7 * lh), second);
}
