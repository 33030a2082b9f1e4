#include "shell/MasterSearch.h"

#include "common/NumberFormat.h"
#include "table/TSGrid.h"

namespace mastersearch {

bool TakeQuantityDigit(QString& searchText, QString* quantity)
{
    for (qsizetype i = 0; i < searchText.size(); ++i) {
        const QChar c = searchText[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            continue;
        *quantity = FormatFloat(QStringLiteral("0.00"), c.digitValue());
        searchText.remove(i, 1);
        return true;
    }
    return false;
}

int NamePosition(const TSGrid& grid, const QString& text)
{
    int position = 0;
    grid.FindSorted(text, position);
    if (text.isEmpty() || position < 1 || position >= grid.RecordCount())
        return position;
    const QString found = grid.RecordLine(position);
    const qsizetype n = qMin(found.size(), text.size());
    const bool beginsWith = found.left(n).compare(text.left(n), Qt::CaseInsensitive) == 0;
    const auto sameLetter = [&text](const QString& line) {
        return !line.isEmpty() && line.left(1).compare(text.left(1), Qt::CaseInsensitive) == 0;
    };
    if (!beginsWith && !sameLetter(found) && sameLetter(grid.RecordLine(position - 1)))
        return position - 1;
    return position;
}

int FeeNumberPosition(const TSGrid& grid, const QString& text, int current)
{
    const QString wanted = text.toUpper();
    for (int record = 0; record < grid.RecordCount(); ++record) {
        const QStringList cells = grid.RecordLine(record).split(QLatin1Char('\t'));
        if (cells.size() > 8 - 1 && cells[7] == wanted)
            return record;
    }
    return current;
}

}  // namespace mastersearch
