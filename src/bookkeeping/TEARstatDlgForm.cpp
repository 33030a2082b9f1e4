#include "bookkeeping/TEARstatDlgForm.h"

#include <QFileInfo>

#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/PrintJobGuard.h"
#include "printing/PrintUnits.h"
#include "table/RecordLine.h"

using namespace journal;

namespace {

// Card keys ("0012/005") have eight characters.
constexpr int kKeyLength = 8;

long double Number(QStringView text)
{
    long double value = 0;
    return TryStrToFloat(text.toString(), &value) ? value : 0;
}

}  // namespace

QStringList ApplyJournalChangeLines(const QStringList& lines)
{
    QStringList kept;
    kept.reserve(lines.size());
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('-'))) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            const QString key = line.mid(1, tab < 0 ? -1 : tab - 1);
            kept.removeIf([&key](const QString& earlier) {
                const qsizetype first = earlier.indexOf(QLatin1Char('\t'));
                return first >= 0 && QStringView(earlier).mid(first + 1, kKeyLength) == key;
            });
        } else if (line.startsWith(QLatin1Char('+'))) {
            kept.append(line.mid(1));
        } else {
            kept.append(line);
        }
    }
    return kept;
}

TEARstatDlgForm::TEARstatDlgForm(QString dataFolder, const JournalSelection& view)
    : m_dataFolder(std::move(dataFolder)), m_view(view)
{
    if (m_view.DayEntered())
        m_dayLabel = m_view.day.trimmed() + QLatin1Char('.');
    m_monthLabel = QStringLiteral("%1.").arg(m_view.month, 2, 10, QLatin1Char('0'));
}

QString TEARstatDlgForm::BusinessText() const
{
    return BusinessTexts().value(int(m_view.business));
}

QString TEARstatDlgForm::AccountText() const
{
    return AccountTexts().value(int(m_view.account));
}

void TEARstatDlgForm::TogglePeriod()
{
    if (!m_dayLabel.isEmpty())
        m_dayLabel.clear();
    else if (m_view.DayEntered())
        m_dayLabel = m_view.day.trimmed() + QLatin1Char('.');
    if (!m_monthLabel.isEmpty())
        m_monthLabel.clear();
    else
        m_monthLabel = QStringLiteral("%1.").arg(m_view.month, 2, 10, QLatin1Char('0'));
    ShowResult();
}

void TEARstatDlgForm::ShowResult()
{
    m_income = {};
    m_expenses = {};
    const bool wholeYear = m_dayLabel.isEmpty() && m_monthLabel.isEmpty();
    for (int month = 1; month <= 12; ++month) {
        if (!wholeYear && month != m_view.month)
            continue;
        SumFile(QStringLiteral(".zaE"), month, m_income);
        SumFile(QStringLiteral(".auE"), month, m_expenses);
    }
}

void TEARstatDlgForm::SumFile(const QString& suffix, int month, Block& block) const
{
    using namespace recordline;
    const QString name =
        QLatin1Char('Z') + QString::number(month) + QString::number(m_view.year) + suffix;
    const QString path = files::FindCaseInsensitive(m_dataFolder, name);
    QStringList raw;
    if (!QFileInfo(path).isFile() || !cp1252::ReadLines(path, raw))
        return;  // a missing month counts as empty; an unreadable one is skipped
    // The day as the dates write it: "5." and "05." are the fifth.
    int day = 0;
    const bool byDay = !m_dayLabel.isEmpty() && TryStrToInt(m_dayLabel.chopped(1), &day);
    const QString dayText = QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
    const bool practice = m_view.business != BusinessFilter::Pharmacy;
    const bool pharmacy = m_view.business != BusinessFilter::Practice;
    const bool bank = m_view.account != AccountFilter::Cash;
    const bool cash = m_view.account != AccountFilter::Bank;
    for (const QString& line : ApplyJournalChangeLines(raw)) {
        if (byDay && CellView(line, kJourDate).left(2) != dayText)
            continue;
        if (!(CellView(line, kJourCustomer).startsWith(QLatin1String("(A)")) ? pharmacy : practice))
            continue;
        const QStringView kind = CellView(line, kJourKind);
        int row = -1;
        if (kind.startsWith(u'\u00DC') || kind.startsWith(u'S'))
            row = bank ? Bank : -1;
        else if (kind.startsWith(u'B'))
            row = cash ? Cash : -1;
        if (row < 0)
            continue;
        const long double net = Number(CellView(line, kJourNet));
        const long double gross = Number(CellView(line, kJourGross));
        block.net[size_t(row)] += net;
        block.vat[size_t(row)] += gross - net;
        block.gross[size_t(row)] += gross;
    }
    block.net[Total] = block.net[Bank] + block.net[Cash];
    block.vat[Total] = block.vat[Bank] + block.vat[Cash];
    block.gross[Total] = block.gross[Bank] + block.gross[Cash];
}

std::array<long double, 3> TEARstatDlgForm::Result() const
{
    return {m_income.net[Total] - m_expenses.net[Total],
            m_income.vat[Total] - m_expenses.vat[Total],
            m_income.gross[Total] - m_expenses.gross[Total]};
}

QString TEARstatDlgForm::ResultLabel() const
{
    // Compared as shown: a residue below a cent is no surplus.
    long double net = 0;
    TryStrToFloat(Amount(Result()[0]), &net);
    if (net > 0)
        return QStringLiteral("Überschuss:");
    if (net < 0)
        return QStringLiteral("Defizit:");
    return QStringLiteral("Ergebnis:");
}

QString TEARstatDlgForm::Amount(long double value)
{
    const QString text = FormatFloat(QStringLiteral("0.00"), value);
    return text == QLatin1String("-0,00") ? QStringLiteral("0,00") : text;
}

bool TEARstatDlgForm::PrintResult(PrintCanvas& canvas, UserPort& port, const QString& heading,
                                  const PrintFont& cellFont, const PrintFont& titleFont,
                                  const QString& today) const
{
    using namespace printunits;
    canvas.SetOrientation(PrinterOrientation::poPortrait);
    if (!canvas.BeginDoc(QStringLiteral("Talven - ") + Caption()))
        return false;
    {
        PrintJobGuard guard(canvas, port);
        const int left = MmToPixelsX(canvas, 20);
        const int width = canvas.PageWidth() - 2 * left;
        int y = MmToPixelsY(canvas, 20);
        canvas.SetFont(titleFont);
        const int titlePitch = LinePitch(canvas.TextHeight(QStringLiteral("M")));
        canvas.TextOut(left, y, heading);
        y += titlePitch;
        canvas.TextOut(left, y, Caption());
        y += titlePitch;
        canvas.SetFont(cellFont);
        const int lh = LinePitch(canvas.TextHeight(QStringLiteral("M")));
        canvas.TextOut(left, y, BusinessText() + QStringLiteral("  -  ") + AccountText());
        y += lh;
        canvas.TextOut(left, y, QStringLiteral("Für Zeitraum: ") + PeriodText());
        y += lh;
        canvas.TextOut(left, y, QStringLiteral("Druckdatum: ") + today);
        y += 2 * lh;

        // Two blocks side by side: a label column and three amounts each.
        const int half = width / 2;
        const int label = canvas.TextWidth(QStringLiteral("Überschuss:    "));
        const int amount = (half - label - MmToPixelsX(canvas, 10)) / 3;
        const auto right = [&canvas](int edge, int top, const QString& text) {
            canvas.TextOut(edge - canvas.TextWidth(text), top, text);
        };
        PrintFont bold = cellFont;
        bold.bold = true;
        const auto block = [&](int x, const QString& title, const Block& b) {
            int top = y;
            canvas.SetFont(bold);
            canvas.TextOut(x, top, title);
            const QString columns[] = {QStringLiteral("Netto"), QStringLiteral("MwSt"),
                                       QStringLiteral("Brutto")};
            for (int c = 0; c < 3; ++c)
                right(x + label + (c + 1) * amount, top, columns[c]);
            top += lh;
            canvas.Line(x, top, x + label + 3 * amount, top);
            top += lh / 4;
            const QString rows[] = {QStringLiteral("Bank"), QStringLiteral("Kasse"),
                                    QStringLiteral("gesamt")};
            for (int r = 0; r < 3; ++r) {
                canvas.SetFont(r == Total ? bold : cellFont);
                if (r == Total) {
                    canvas.Line(x, top, x + label + 3 * amount, top);
                    top += lh / 4;
                }
                canvas.TextOut(x, top, rows[r]);
                const long double values[] = {b.net[size_t(r)], b.vat[size_t(r)],
                                              b.gross[size_t(r)]};
                for (int c = 0; c < 3; ++c)
                    right(x + label + (c + 1) * amount, top, Amount(values[c]));
                top += lh;
            }
            return top;
        };
        block(left, QStringLiteral("Einnahmen "), m_income);
        y = block(left + half, QStringLiteral("Ausgaben "), m_expenses) + lh;

        canvas.SetFont(bold);
        canvas.TextOut(left, y, ResultLabel());
        const std::array<long double, 3> result = Result();
        for (int c = 0; c < 3; ++c)
            right(left + label + (c + 1) * amount, y, Amount(result[size_t(c)]));
        canvas.Line(left, y + lh + 1, left + label + 3 * amount, y + lh + 1);
        canvas.Line(left, y + lh + 4, left + label + 3 * amount, y + lh + 4);
    }
    return !canvas.JobFailed();
}
