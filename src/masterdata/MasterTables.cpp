#include "masterdata/MasterTables.h"

#include <algorithm>
#include <vector>

#include "common/Collation.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "table/RecordLine.h"

namespace mastertables {

std::optional<QString> NextCustomerNumber(const QStringList& customerLines, UserPort& port)
{
    int highest = 0;
    std::vector<bool> used(kHighestCustomerNumber + 1, false);
    for (int i = 0; i < customerLines.size(); ++i) {
        int number = 0;
        if (!TryStrToInt(recordline::Cell(customerLines.at(i), recordline::kCustNumber), &number)) {
            port.Message(MsgKind::Error,
                         QStringLiteral("Die fehlerhafte Kundenummer\rbei Datensatz ") +
                             QString::number(i + 1) +
                             QStringLiteral("\rverhindert einen Neueintrag!"));
            return std::nullopt;
        }
        highest = std::max(highest, number);
        if (number >= 1 && number <= kHighestCustomerNumber)
            used[number] = true;
    }
    int next = highest + 1;
    if (highest >= kHighestCustomerNumber) {
        next = 0;
        for (int n = 1; n <= kHighestCustomerNumber && next == 0; ++n)
            if (!used[n])
                next = n;
        if (next == 0) {
            port.Message(MsgKind::Error,
                         QStringLiteral("Zu viele Kunden-Datensätze im Kundenstamm!\rLöschen Sie "
                                        "Kunden mit letztem Besuch älter 10 Jahre\rund legen Sie "
                                        "dann einen neuen Datensatz an!"));
            return std::nullopt;
        }
    }
    return FormatFloat(QStringLiteral("0000"), next);
}

bool NeedsUpgrade(const QStringList& lines, int requiredTabs)
{
    if (lines.isEmpty())
        return false;
    const QString& probe = lines.size() > 1 ? lines.at(1) : lines.at(0);
    return recordline::CountTabs(probe) < requiredTabs;
}

void PadAll(QStringList& lines, int tabs)
{
    for (QString& line : lines)
        recordline::PadTabs(line, tabs);
}

void UpgradeServiceLines(QStringList& lines)
{
    for (QString& line : lines) {
        recordline::PadTabs(line, recordline::kServiceCells);
        // Cells 3 ... 7 of the older layout move two to the right.
        for (int from = 7; from >= 3; --from)
            recordline::SetCell(line, from + 2, recordline::Cell(line, from));
        recordline::SetCell(line, recordline::kSvcFactor, QStringLiteral("1,0"));
    }
}

namespace {

QString JoinCells(const QStringList& cells)
{
    return cells.join(QLatin1Char('\t'));
}

QString JoinLineCells(const QString& line, int count)
{
    return JoinCells(recordline::Split(line, count));
}

}  // namespace

int PlaceSorted(QStringList& lines, const QStringList& cells, int tabs)
{
    const QString candidate = JoinCells(cells);
    QString line = recordline::Join(cells);
    recordline::PadTabs(line, tabs);
    if (lines.isEmpty()) {
        lines.append(line);
        return 0;
    }
    const int p = recordline::FindSorted(lines, candidate);
    const int last = int(lines.size()) - 1;
    if (p == last &&
        CompareUmlaut(JoinLineCells(lines.at(last), int(cells.size())), candidate) < 0) {
        lines.append(line);
        return last + 1;
    }
    lines.insert(p, line);
    return p;
}

CustomerRemoval CustomerRemovalPlan(const QString& number, int cardCount)
{
    CustomerRemoval plan;
    plan.files << QStringLiteral("P") + number + QStringLiteral(".PAT");
    for (int n = cardCount; n >= 1; --n) {
        const QString card = FormatFloat(QStringLiteral("000"), n);
        plan.files << QStringLiteral("K") + number + card + QStringLiteral(".KAR");
        if (cardCount - n < 30)
            plan.changeLines << QStringLiteral("-") + number + QLatin1Char('/') + card +
                                    QLatin1Char('\t');
    }
    return plan;
}

QString DeleteQuestion(const QString& customerLine)
{
    QString description;
    if (!customerLine.isNull())
        description = recordline::Cell(customerLine, recordline::kCustName) + QLatin1Char(' ') +
                      recordline::Cell(customerLine, recordline::kCustFirstName) +
                      QStringLiteral(" KdNr.: ") +
                      recordline::Cell(customerLine, recordline::kCustNumber) + QLatin1Char('\r');
    return QStringLiteral("Datensatz ") + description + QStringLiteral(" wirklich löschen?");
}

}  // namespace mastertables
