// The VAT pre-return form of the table printer.
#include "printing/PrintJobGuard.h"
#include "printing/PrintUnits.h"
#include "printing/TPrintGrid2.h"

using namespace printunits;

namespace {

// Lines of the sheet (see the bookkeeping's VatReturn.h).
constexpr int kTitle = 0, kDate = 1, kBusiness = 2;
constexpr int kTotalTax = 21, kTotalInputTax = 34, kRemaining = 35;
constexpr int kSlots = 6;

}  // namespace

bool TPrintGrid2::PrintVatReturn(const QStringList& sheet)
{
    m_lastJobFailed = false;
    m_document = false;
    StartJob();
    m_lastJobFailed = true;
    if (!m_canvas->BeginDoc(PrintMgrTitle))
        return false;
    {
        PrintJobGuard guard(*m_canvas, m_port);
        DrawVatReturn(sheet);
    }
    m_lastJobFailed = m_canvas->JobFailed();
    return !m_lastJobFailed;
}

void TPrintGrid2::DrawVatReturn(const QStringList& sheet)
{
    const auto line = [&sheet](int i) { return sheet.value(i); };
    const int w = Printable();
    const int left = m_left;
    const int right = m_left + w;
    // Six equal parts: the rate text from a to 3a, the base from 3a to 4a, the tax from 5a
    // to 6a, each right-aligned.
    const int a = (w - 15) / 6;
    const auto column = [left, a](int from, int to) {
        return std::pair{left + from * a, left + to * a};
    };
    const auto [rateA, rateB] = column(1, 3);
    const auto [baseA, baseB] = column(3, 4);
    const auto [taxA, taxB] = column(5, 6);

    PrintFont bold = LinesFont;
    bold.bold = true;
    const int lh = m_lineHeight;
    const auto text = [this](TextAlignment alignment, int from, int to, int y, const QString& s) {
        if (s.isEmpty())
            return;
        const int h = m_canvas->TextHeight(QStringLiteral("M"));
        DrawCell(alignment, from, to, y + CentreOffset(h), y + LinePitch(h), s);
    };

    // Title in the large font, today's date on its line at the right margin, the business.
    const int titlePitch = LinePitch(UseFont(TitleFontGr));
    m_canvas->TextOut(left, m_top, line(kTitle));
    UseFont(LinesFont);
    text(TextAlignment::taRightJustify, left, right + HorizontalGap, m_top, line(kDate));
    int y = m_top + titlePitch;
    text(TextAlignment::taLeftJustify, left - HorizontalGap, right, y, line(kBusiness));
    y += 2 * lh;

    // Turnover.
    Rule(left, right, y);
    y += lh / 2;
    UseFont(bold);
    text(TextAlignment::taLeftJustify, left - HorizontalGap, rateB, y,
         QStringLiteral("Steuerplichtige Umsätze"));
    text(TextAlignment::taRightJustify, baseA - a, baseB, y, QStringLiteral("BMG (ohne USt)"));
    text(TextAlignment::taRightJustify, taxA, taxB, y, QStringLiteral("Steuer"));
    y += lh + lh / 2;
    UseFont(LinesFont);
    for (int k = 1; k <= kSlots; ++k) {
        const int first = 3 * k;
        if (line(first).isEmpty() && line(first + 1).isEmpty() && line(first + 2).isEmpty())
            continue;
        text(TextAlignment::taRightJustify, rateA, rateB, y, line(first));
        text(TextAlignment::taRightJustify, baseA, baseB, y, line(first + 1));
        text(TextAlignment::taRightJustify, taxA, taxB, y, line(first + 2));
        y += lh;
    }
    m_canvas->Line(taxA + HorizontalGap, y + lh / 4, taxB, y + lh / 4);
    y += lh / 2;
    UseFont(bold);
    text(TextAlignment::taRightJustify, rateA, rateB, y, QStringLiteral("Summe Umsatzsteuer:"));
    text(TextAlignment::taRightJustify, taxA, taxB, y, line(kTotalTax));
    y += 3 * lh;

    // Input tax.
    text(TextAlignment::taLeftJustify, left - HorizontalGap, rateB, y,
         QStringLiteral("Abziehbare Vorsteuerbeträge"));
    text(TextAlignment::taRightJustify, taxA, taxB, y, QStringLiteral("Steuer"));
    y += lh + lh / 2;
    UseFont(LinesFont);
    for (int k = 1; k <= kSlots; ++k) {
        const int first = 2 * k + 20;
        if (line(first).isEmpty() && line(first + 1).isEmpty())
            continue;
        text(TextAlignment::taRightJustify, rateA, rateB, y, line(first));
        text(TextAlignment::taRightJustify, taxA, taxB, y, line(first + 1));
        y += lh;
    }
    m_canvas->Line(taxA + HorizontalGap, y + lh / 4, taxB, y + lh / 4);
    y += lh / 2;
    UseFont(bold);
    text(TextAlignment::taRightJustify, rateA, rateB, y, QStringLiteral("Summe Vorsteuerbeträge:"));
    text(TextAlignment::taRightJustify, taxA, taxB, y, line(kTotalInputTax));
    y += 2 * lh;

    // What remains to pay, or the surplus with its minus sign.
    Rule(left, right, y);
    y += lh / 2;
    text(TextAlignment::taLeftJustify, left - HorizontalGap, taxA, y,
         QStringLiteral("Verbleibende Umsatzsteuer-Vorauszahlung/"));
    y += lh;
    text(TextAlignment::taLeftJustify, left - HorizontalGap, taxA, y,
         QStringLiteral("Verbleibender Überschuß (mit Minuszeichen)"));
    text(TextAlignment::taRightJustify, taxA, taxB, y, line(kRemaining));
    const int under = y + lh + 1;
    Rule(taxA + HorizontalGap, taxB, under);
    Rule(taxA + HorizontalGap, taxB, under + m_ruleThickness + 2);
    UseFont(LinesFont);
}
