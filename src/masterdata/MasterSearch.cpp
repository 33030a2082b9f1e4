#include "masterdata/MasterSearch.h"

#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "platform/Files.h"
#include "table/RecordLine.h"

namespace mastersearch {

DigitSplit TakeQuantityDigits(const QString& text)
{
    DigitSplit split;
    for (QChar ch : text) {
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            split.quantity = FormatFloat(QStringLiteral("0.00"), ch.unicode() - '0');
        else
            split.search += ch;
    }
    return split;
}

int FindByName(const QStringList& lines, const QString& text)
{
    int p = recordline::FindSorted(lines, text);
    if (lines.isEmpty() || text.isEmpty() || p == 0)
        return p;
    const QString& found = lines.at(p);
    const qsizetype shorter = std::min(found.size(), text.size());
    const bool begins = found.left(shorter).compare(text.left(shorter), Qt::CaseInsensitive) == 0;
    const QChar first = text.at(0).toUpper();
    const bool sameFirst = !found.isEmpty() && found.at(0).toUpper() == first;
    const QString& before = lines.at(p - 1);
    if (!begins && !sameFirst && !before.isEmpty() && before.at(0).toUpper() == first)
        --p;
    return p;
}

int FindByFeeNumber(const QStringList& lines, const QString& text, int current)
{
    const QString upper = text.toUpper();
    for (int i = 0; i < lines.size(); ++i)
        if (recordline::Cell(lines.at(i), recordline::kSvcNumber).toUpper() == upper)
            return i;
    return current;
}

namespace {

constexpr int kMinTextLength = 3;
constexpr int kMaxCardsSearched = 11;

int CountCellsWith(const QString& line, const QString& upper)
{
    int count = 0;
    recordline::ForEachCell(line, [&](int, QStringView cell) {
        if (cell.contains(upper, Qt::CaseInsensitive))
            ++count;
    });
    return count;
}

Result NotFound(bool further)
{
    return {-1,
            further ? QStringLiteral("Kein weiterer Eintrag!")
                    : QStringLiteral("Kein Eintrag gefunden!"),
            LabelColour::Red, false};
}

}  // namespace

bool CustomerSearch::NotesContain(const QString& customerLine) const
{
    const QString number = recordline::Cell(customerLine, recordline::kCustNumber);
    QStringList lines;
    if (!cp1252::ReadLines(files::FindCaseInsensitive(
                               m_dataFolder, QStringLiteral("P") + number + QStringLiteral(".PAT")),
                           lines))
        return false;
    for (const QString& line : lines)
        if (line.toUpper().contains(m_text))
            return true;
    return false;
}

int CustomerSearch::CardWithText(const QString& customerLine) const
{
    const QString number = recordline::Cell(customerLine, recordline::kCustNumber);
    int newest = 0;
    TryStrToInt(recordline::Cell(customerLine, recordline::kCustCardNumber), &newest);
    for (int n = newest; n >= 1 && newest - n < kMaxCardsSearched; --n)
        if (m_cards.CardHolds(m_dataFolder, number, n, m_text))
            return n;
    return 0;
}

std::optional<int> CustomerSearch::FindFrom(const QStringList& customers, Criterion criterion,
                                            int start, int* cardNumber) const
{
    for (int i = std::max(start, 0); i < customers.size(); ++i) {
        const QString& line = customers.at(i);
        switch (criterion) {
            case Criterion::List:
                if (CountCellsWith(line, m_text) > 0)
                    return i;
                break;
            case Criterion::Patients:
                if (NotesContain(line))
                    return i;
                break;
            case Criterion::Cards: {
                const int n = CardWithText(line);
                if (n > 0) {
                    *cardNumber = n;
                    return i;
                }
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

Result CustomerSearch::Search(const QStringList& customers, Criterion criterion,
                              const QString& text, int current)
{
    const QString previous = m_previous;
    m_previous = text;
    switch (criterion) {
        case Criterion::Name:
            return {FindByName(customers, text), {}, LabelColour::Black, false};
        case Criterion::Number: {
            int number = 0;
            if (!TryStrToInt(text, &number) || number <= 0)
                return {};
            for (int i = 0; i < customers.size(); ++i) {
                int own = 0;
                if (TryStrToInt(recordline::Cell(customers.at(i), recordline::kCustNumber), &own) &&
                    own == number)
                    return {i, {}, LabelColour::Black, false};
            }
            return {-1, QStringLiteral("Kunden-Nr. nicht vorhanden!"), LabelColour::Red, false};
        }
        case Criterion::List: {
            QString trimmed = text;
            while (trimmed.startsWith(QLatin1Char(' ')))
                trimmed.remove(0, 1);
            if (trimmed.size() < kMinTextLength)
                return {};
            m_text = trimmed.toUpper();
            int count = 0;
            int first = -1;
            for (int i = std::max(current, 0); i < customers.size(); ++i) {
                const int here = CountCellsWith(customers.at(i), m_text);
                if (here > 0 && first < 0)
                    first = i;
                count += here;
            }
            if (count == 0)
                return NotFound(false);
            return {first,
                    QString::number(count) + (count == 1 ? QStringLiteral(" Eintrag gefunden!")
                                                         : QStringLiteral(" Einträge gefunden!")),
                    LabelColour::Green, count > 1};
        }
        case Criterion::Patients:
        case Criterion::Cards: {
            if (text.size() < kMinTextLength)
                return {};
            m_text = text.toUpper();
            const bool extends = text.size() == previous.size() + 1 && text.startsWith(previous);
            int cardNumber = 0;
            const auto found = FindFrom(customers, criterion, extends ? current : 0, &cardNumber);
            if (!found)
                return NotFound(false);
            if (criterion == Criterion::Patients)
                return {*found, QStringLiteral("Erster Eintrag!"), LabelColour::Green, true};
            return {*found, QStringLiteral("Letzte Lfd.Nr.: ") + m_cards.NumberText(cardNumber),
                    LabelColour::Green, true};
        }
    }
    return {};
}

Result CustomerSearch::Continue(const QStringList& customers, Criterion criterion, int current)
{
    if (m_text.isEmpty())
        return NotFound(true);
    int cardNumber = 0;
    const auto found = FindFrom(customers, criterion, current + 1, &cardNumber);
    if (!found)
        return NotFound(true);
    return {*found, QStringLiteral("Weiterer Eintrag!"), LabelColour::Green, true};
}

}  // namespace mastersearch
