#include "printing/TPrintStrList.h"
#include "printing/PrintJobGuard.h"

#include <algorithm>

#include "common/UserPort.h"
#include "printing/GiroCode.h"
#include "printing/PrintDialogPort.h"
#include "printing/PrintUnits.h"

using namespace printunits;

namespace {

// Professional designations dropped from the sender line: the word and how many
// characters go with it (mostly the word and the blank after it).
struct Designation {
    const char16_t* word;
    int removed;
};
constexpr Designation kDesignations[] = {
    {u"Tierarztpraxis", 15},
    {u"Kleintierpraxis", 16},
    {u"Großtierpraxis", 15},
    {u"Tierklinik", 11},
    {u"Tierarzt-", 9},
    {u"Kleintier-", 11},
    {u"Großtier-", 10},
    {u"Praxis", 7},
    {u"prakt. ", 7},
    {u"Prakt. ", 7},
    {u"prakt.", 6},
    {u"Prakt.", 6},
    {u"Tierarzt", 9},
    {u"Tierärztin", 11},
    {u"Tierärzte", 10},
    {u"Tierärztliche", 14},
    {u"Tierärztl.", 11},
    {u"Tierapotheke", 13},
    {u"Apotheken", 10},
    {u"Apotheke", 9},
    {u"GbR", 4},
    {u"GmbH", 5},
    {u"Gemeinschaftspraxis", 20},
    {u"Mobile", 7},
};

}  // namespace

TPrintStrList::TPrintStrList(PrintCanvas& canvas, UserPort& port) : m_canvas(&canvas), m_port(port)
{
}

void TPrintStrList::ConvertMargins()
{
    m_left = MmToPixelsX(*m_canvas, LeftMargin);
    m_right = MmToPixelsX(*m_canvas, RightMargin);
    m_top = MmToPixelsY(*m_canvas, TopMargin);
    m_bottom = MmToPixelsY(*m_canvas, BottomMargin);
    m_kopf = MmToPixelsY(*m_canvas, KopfAbstand);
}

int TPrintStrList::UseFont(const PrintFont& font)
{
    m_font = font;
    m_canvas->SetFont(font);
    return m_canvas->TextHeight(QStringLiteral("M"));
}

int TPrintStrList::LineHeightOf(const PrintFont& font)
{
    return LinePitch(UseFont(font));
}

void TPrintStrList::DrawInLine(int x, int lineTop, int clipLeft, int clipRight, const QString& text)
{
    if (!Drawing()) {
        return;
    }
    const int h = m_canvas->TextHeight(QStringLiteral("M"));
    const int textTop = lineTop + CentreOffset(h);
    m_canvas->TextRect(Edges(clipLeft, textTop, clipRight, lineTop + LinePitch(h)), x, textTop,
                       text);
}

QString TPrintStrList::SenderLine(const QStringList& kopf)
{
    auto slot = [&kopf](int i) { return i < kopf.size() ? kopf[i] : QString(); };
    const bool noAddress = slot(2).isEmpty() && slot(3).isEmpty();
    QString text = slot(0) + (noAddress ? QStringLiteral(", ") : QStringLiteral(" ")) + slot(1);
    for (const Designation& d : kDesignations) {
        const qsizetype at = text.indexOf(QString::fromUtf16(d.word));
        if (at >= 0) {
            text.remove(at, d.removed);
        }
    }
    // Telephone numbers and everything after them, with the separator before.
    const qsizetype tel = text.indexOf(QStringLiteral("Tel."));
    if (tel >= 2) {
        text.remove(tel - 2, 50);
    }
    while (text.endsWith(QLatin1Char(' '))) {
        text.chop(1);
    }
    // The comma joined an empty firm line: it would stand alone, on pre-printed paper too.
    if (noAddress && text.endsWith(QLatin1Char(','))) {
        text.chop(1);
    }
    if (!slot(2).isEmpty() && !slot(3).isEmpty()) {
        const QString address = QStringLiteral(", ") + slot(2) + QStringLiteral(", ") + slot(3);
        text = (text.size() <= 25 ? text : slot(0)) + address;
    }
    return text;
}

void TPrintStrList::DrawLetterhead()
{
    const int n = static_cast<int>(Kopf.size());
    const int w = Printable();

    m_slotsEmpty = n >= 17;
    for (int i : {0, 1, 2, 3, 4, 5, 10, 11, 12, 15, 16}) {
        if (i < n && !Kopf[i].isEmpty()) {
            m_slotsEmpty = false;
        }
    }

    int lineTop = m_top;
    if (n >= 1) {
        UseFont(TitleFontGr);
        DrawInLine(m_left, lineTop, m_left, m_left + w, Kopf[0]);
    }
    if (n >= 2) {
        lineTop += LineHeightOf(TitleFontGr);
        PrintFont firm = TitleFontGr;
        firm.size = static_cast<int>(firm.size * 0.85);
        UseFont(firm);
        if (m_canvas->TextWidth(Kopf[1]) > static_cast<int>(0.45 * m_canvas->PageWidth())) {
            firm.size = static_cast<int>(firm.size * 0.85);
            UseFont(firm);
        }
        int street = 0;
        if (n >= 3 && !Kopf[2].isEmpty()) {
            UseFont(TitleFontKl);
            street = m_canvas->TextWidth(Kopf[2]);
            UseFont(firm);
        }
        DrawInLine(m_left, lineTop, m_left, m_left + w - street - 15, Kopf[1]);
    }

    // Right column: as wide as its widest line or a date.
    const int smallLh = LineHeightOf(TitleFontKl);
    int b = m_canvas->TextWidth(QStringLiteral("00.00.0000"));
    for (int i : {2, 3, 4, 5, 15, 16, 10, 11, 12}) {
        if (i < n && !Kopf[i].isEmpty()) {
            b = std::max(b, m_canvas->TextWidth(Kopf[i]));
        }
    }
    const int columnX = std::max(m_left, m_left + w - b - 5);
    const int columnRight = columnX + b + 5;
    const int narrowRight = m_left + w - b - 15;  // left of the right column
    auto columnLine = [&](int top, const QString& text) {
        DrawInLine(columnX, top, columnX, columnRight, text);
    };

    int r = lineTop;
    if (n >= 6) {
        columnLine(lineTop, Kopf[2]);
        lineTop += smallLh;
        columnLine(lineTop, Kopf[3]);
        for (int i : {4, 5}) {
            lineTop += smallLh;
            if (!Kopf[i].isEmpty()) {
                columnLine(lineTop, Kopf[i]);
            }
        }
        for (int i : {15, 16}) {
            if (n > i && !Kopf[i].isEmpty()) {
                lineTop += smallLh;
                columnLine(lineTop, Kopf[i]);
            }
        }
        r = lineTop + smallLh;
    }

    if (n >= 2) {
        PrintFont sender = LinesFont;
        sender.size = 8;
        UseFont(sender);
        const QString text = SenderLine(Kopf);
        if (m_canvas->TextWidth(text) > (m_canvas->PageWidth() - m_left - m_right) / 2) {
            sender.size -= 1;
            UseFont(sender);
        }
        DrawInLine(m_left, m_kopf, m_left, narrowRight, text);
    }

    int addresseeBottom = 0;
    if (n >= 10) {
        PrintFont addressee = LinesFont;
        addressee.size = std::max(addressee.size, 10);
        const int lh = LineHeightOf(addressee);
        lineTop = m_kopf + 2 * lh;
        r = std::max(r, lineTop);
        DrawInLine(m_left, lineTop, m_left, narrowRight, Kopf[6]);
        lineTop += lh;
        DrawInLine(m_left, lineTop, m_left, narrowRight, Kopf[7]);
        lineTop += lh;
        DrawInLine(m_left, lineTop, m_left, narrowRight, Kopf[8]);
        lineTop += static_cast<int>(1.5 * lh);
        DrawInLine(m_left, lineTop, m_left, narrowRight, Kopf[9]);
        addresseeBottom = lineTop + 3 * lh;
    }

    if (n >= 13) {
        UseFont(TitleFontKl);
        lineTop = r;
        columnLine(lineTop, Kopf[10]);
        for (int i : {11, 12}) {
            if (!Kopf[i].isEmpty()) {
                lineTop += smallLh;
                columnLine(lineTop, Kopf[i]);
            }
        }
    }

    if (!DateLabel.isEmpty()) {
        UseFont(TitleFontKl);
        lineTop += 3 * smallLh;
        m_dateLineTop = lineTop;
        columnLine(lineTop, DateLabel);
    }

    PrintFont subject = LinesFont;
    subject.bold = true;
    subject.size += 2;
    int lastLh = LineHeightOf(subject);
    if (n >= 14) {
        lineTop = std::max(lineTop + 4 * smallLh, addresseeBottom);
        DrawInLine(m_left, lineTop, m_left, Mahnung ? m_left + w : narrowRight, Kopf[13]);
    }
    if (!Mahnung && n >= 15) {
        lastLh = LineHeightOf(LinesFont);
        lineTop += 2 * lastLh;
        DrawInLine(m_left, lineTop, m_left, m_left + w, Kopf[14]);
    }
    m_letterheadBottom = lineTop + 2 * lastLh;
    UseFont(LinesFont);
}

void TPrintStrList::DrawPageNumber()
{
    if (PageNumberPos == TPageNumberPos::pnNone || !Drawing()) {
        return;
    }
    UseFont(LinesFont);
    const QString text = PageNumberLabel + QString::number(m_page);
    const int w = Printable();
    const int width = m_canvas->TextWidth(text);
    int x = m_left;
    int y = m_top;
    switch (PageNumberPos) {
        case TPageNumberPos::pnTopCenter:
        case TPageNumberPos::pnBotCenter:
            x = m_left + RoundEven(w / 2.0) - width / 2;
            break;
        case TPageNumberPos::pnTopRight:
        case TPageNumberPos::pnBotRight:
            x = m_left + w - width;
            break;
        default:
            break;
    }
    if (PageNumberPos >= TPageNumberPos::pnBotLeft) {
        y = m_canvas->PageHeight() - m_bottom + 8;
    }
    m_canvas->TextOut(x, y, text);
}

void TPrintStrList::PrintLine(const QString& line)
{
    const int w = Printable();
    const int y = m_linesOnPage * m_lineHeight + m_bodyTop;
    if (Drawing()) {
        const int textTop = y + CentreOffset(m_canvas->TextHeight(QStringLiteral("M")));
        if (WriteTabStop && line.contains(QLatin1Char('\t'))) {
            QString text = line;
            while (!text.isEmpty() && m_canvas->TabbedTextWidth(text) > w) {
                text.chop(1);
            }
            m_canvas->TabbedTextOut(m_left, textTop, text);
        } else {
            m_canvas->TextRect(Edges(m_left, textTop, m_left + w, y + m_lineHeight), m_left,
                               textTop, line);
        }
        if (RowLines && RowLinesCount > 0 && m_linesOnPage % RowLinesCount == 0) {
            m_canvas->Line(m_left, y, m_left + w, y);
        }
    }
}

bool TPrintStrList::PageFull() const
{
    return (m_linesOnPage + 2) * m_lineHeight + m_bodyTop >= m_canvas->PageHeight() - m_bottom;
}

bool TPrintStrList::Print(const QString& deviceText)
{
    ConvertMargins();
    m_canvas->SetOrientation(Orientation);
    if (!m_canvas->BeginDoc(PrintMgrTitle)) {
        return false;
    }
    {
        PrintJobGuard guard(*m_canvas, m_port);
        PrintJob(deviceText);
    }
    return !m_canvas->JobFailed();
}

void TPrintStrList::PrintJob(const QString& deviceText)
{
    m_measuring = false;
    m_lineHeight = LineHeightOf(LinesFont);
    m_page = 1;
    m_linesOnPage = 0;

    if (!deviceText.isEmpty()) {
        m_canvas->TextOut(0, 0, deviceText);
    }
    m_bodyTop = m_top;
    if (KopfPrint) {
        DrawLetterhead();
        m_bodyTop = m_letterheadBottom;
    }

    for (qsizetype i = 0; i < StringList.size(); ++i) {
        if (m_linesOnPage == 0) {
            DrawPageNumber();
        }
        UseFont(LinesFont);
        PrintLine(StringList[i]);
        ++m_linesOnPage;
        if (PageFull() && i + 1 < StringList.size()) {
            if (m_page >= FromPage && m_page <= EndPage - 1) {
                m_canvas->NewPage();
            }
            ++m_page;
            m_linesOnPage = 0;
            // Pre-printed letter paper: continuation pages start at the date line; never
            // above the top margin when no date line was drawn.
            m_bodyTop = KopfPrint && m_slotsEmpty ? std::max(m_dateLineTop, m_top) : m_top;
            if (m_page > EndPage) {
                break;
            }
        }
    }

    if (Border && Drawing()) {
        const int bottom =
            FullPage ? m_canvas->PageHeight() - m_bottom : m_bodyTop + m_linesOnPage * m_lineHeight;
        m_canvas->FrameRect(Edges(m_left, m_bodyTop, m_left + Printable(), bottom));
    }
    DrawPayCode();
}

void TPrintStrList::DrawPayCode()
{
    if (PayCode.Empty() || !Drawing())
        return;
    const int side = printunits::MmToPixelsY(*m_canvas, girocode::kSizeMm);
    const int textBottom = m_bodyTop + m_linesOnPage * m_lineHeight;
    int top = m_canvas->PageHeight() - m_bottom - side;
    if (top < textBottom + m_lineHeight / 2) {
        m_canvas->NewPage();
        ++m_page;
        top = m_top;
    }
    m_canvas->StretchMonoBitmap(QRect(m_left + Printable() - side, top, side, side), PayCode);
}

bool TPrintStrList::PrintWithDialog(PrintDialogPort& dialog)
{
    FromPage = 1;
    EndPage = 1000;
    m_canvas->SetOrientation(Orientation);
    PrintDialogOptions options;
    options.orientation = Orientation;
    options.allowPrintToFile = true;  // a PDF file of the letter
    options.jobTitle = PrintMgrTitle;
    const std::optional<PrintDialogChoice> choice = dialog.ShowPrintDialog(options);
    if (!choice) {
        return false;
    }
    const int margins[] = {LeftMargin, TopMargin, RightMargin, BottomMargin, KopfAbstand};
    for (int copy = 0; copy < std::max(1, choice->copies); ++copy) {
        LeftMargin = margins[0];
        TopMargin = margins[1];
        RightMargin = margins[2];
        BottomMargin = margins[3];
        KopfAbstand = margins[4];
        if (choice->pageRange) {
            FromPage = choice->fromPage;
            EndPage = choice->toPage;
        }
        Orientation = choice->orientation;
        Print(QString());
    }
    return true;
}

int TPrintStrList::MeasureLetterhead()
{
    const QStringList kopf = Kopf;
    const QString dateLabel = DateLabel;
    const int dateLineTop = m_dateLineTop;
    const bool measuring = m_measuring;

    // Every optional line present: the tallest letterhead the callers can produce.
    while (Kopf.size() < kKopfSlots) {
        Kopf.append(QString());
    }
    for (QString& slot : Kopf) {
        if (slot.isEmpty()) {
            slot = QStringLiteral("X");
        }
    }
    DateLabel = QStringLiteral("12.12.1998");
    m_measuring = true;
    DrawLetterhead();
    const int bottom = m_letterheadBottom;

    Kopf = kopf;
    DateLabel = dateLabel;
    m_dateLineTop = dateLineTop;
    m_measuring = measuring;
    return bottom;
}

int TPrintStrList::LinesPerPage(bool withLetterhead)
{
    const int remembered = m_letterheadBottom;
    ConvertMargins();
    const int bodyTop = withLetterhead ? MeasureLetterhead() : m_top;
    const int lh = LineHeightOf(LinesFont);
    m_letterheadBottom = remembered;
    if (lh <= 0) {
        return 0;
    }
    int c = 0;
    while ((c + 2) * lh + bodyTop < m_canvas->PageHeight() - m_bottom) {
        ++c;
    }
    return c;
}

int TPrintStrList::CharsPerLine()
{
    ConvertMargins();
    UseFont(LinesFont);
    const int w = Printable();
    QString eights = QStringLiteral("8");
    while (m_canvas->TextWidth(eights) < w) {
        eights += QLatin1Char('8');
    }
    if (m_canvas->TextWidth(eights) > w) {
        eights.chop(1);
    }
    return static_cast<int>(eights.size());
}
