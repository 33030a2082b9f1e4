#include "shell/CustomerSearch.h"

#include <QStringList>

#include "common/NumberFormat.h"
#include "shell/MasterSearch.h"
#include "table/TSGrid.h"

namespace customersearch {

namespace {

const QString kNothing = QStringLiteral("Kein Eintrag gefunden!");

// Counts the cells from `from` on that contain the text; `first` is the first customer.
int CountInList(const TSGrid& customers, const QString& needle, int from, int* first)
{
    int count = 0;
    *first = -1;
    for (int record = qMax(0, from); record < customers.RecordCount(); ++record) {
        const QStringList cells = customers.RecordLine(record).split(QLatin1Char('\t'));
        for (const QString& cell : cells) {
            if (!cell.isEmpty() && cell.toUpper().contains(needle)) {
                ++count;
                if (*first < 0)
                    *first = record;
            }
        }
    }
    return count;
}

QString ListNeedle(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' '))
        ++start;
    return text.mid(start).toUpper();
}

}  // namespace

Outcome Search(const TSGrid& customers, Criterion criterion, const QString& text, int current)
{
    Outcome out;
    switch (criterion) {
        case Criterion::Name:
            out.record = mastersearch::NamePosition(customers, text);
            break;
        case Criterion::Number: {
            int number = 0;
            if (!TryStrToInt(text, &number) || number <= 0)
                break;
            for (int record = 0; record < customers.RecordCount(); ++record) {
                int stored = 0;
                const QStringList cells = customers.RecordLine(record).split(QLatin1Char('\t'));
                if (cells.size() >= 5 && TryStrToInt(cells[4], &stored) && stored == number) {
                    out.record = record;
                    return out;
                }
            }
            out.message = QStringLiteral("Kunden-Nr. nicht vorhanden!");
            out.red = true;
            break;
        }
        case Criterion::InList: {
            const QString needle = ListNeedle(text);
            if (needle.size() <= 2)
                break;
            int first = -1;
            const int count = CountInList(customers, needle, current, &first);
            if (count == 0) {
                out.message = kNothing;
                out.red = true;
                break;
            }
            out.record = first;
            out.message =
                QString::number(count) + (count == 1 ? QStringLiteral(" Eintrag gefunden!")
                                                     : QStringLiteral(" Einträge gefunden!"));
            out.showContinue = count > 1;
            break;
        }
        case Criterion::InNotes:
        case Criterion::InCards:
            // Notes and record cards are searched once those subsystems exist.
            break;
    }
    return out;
}

Outcome Continue(const TSGrid& customers, Criterion criterion, const QString& text, int current)
{
    Outcome out;
    if (criterion != Criterion::InList)
        return out;
    int first = -1;
    const int count = CountInList(customers, ListNeedle(text), current + 1, &first);
    if (count == 0) {
        out.message = QStringLiteral("Kein weiterer Eintrag!");
        out.red = true;
        return out;
    }
    out.record = first;
    out.message = QStringLiteral("Weiterer Eintrag!");
    out.showContinue = count > 1;
    return out;
}

}  // namespace customersearch
