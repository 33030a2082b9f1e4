#include "bookkeeping/JournalSelection.h"

#include "common/DateUtil.h"
#include "table/RecordLine.h"

namespace journal {

QStringList BusinessTexts()
{
    return {QStringLiteral("Praxis + Apotheke"), QStringLiteral("Praxis (getrennt)"),
            QStringLiteral("Apotheke (getrennt)")};
}

QStringList AccountTexts()
{
    return {QStringLiteral("Kasse + Bank"), QStringLiteral("Kasse (Bar)"),
            QStringLiteral("Bank (S./\u00DCw.)")};
}

QStringList MonthNames()
{
    QStringList names;
    for (int m = 1; m <= 12; ++m)
        names << dates::MonthName(m);
    return names;
}

QStringList YearList(const QDate& today)
{
    QStringList years;
    for (int i = 0; i < 10; ++i)
        years << QString::number(today.year() - i);
    return years;
}

QDate JournalSelection::Day() const
{
    if (!DayEntered())
        return {};
    QDate date;
    const QString text = day.trimmed() + QLatin1Char('.') + QString::number(month) +
                         QLatin1Char('.') + QString::number(year);
    return dates::TryParse(text, &date) ? date : QDate();
}

void JournalSelection::Reset()
{
    business = BusinessFilter::All;
    account = AccountFilter::All;
    day.clear();
}

bool IsPharmacyText(const QString& customer)
{
    return customer.startsWith(QLatin1String("(A)"));
}

QStringList FilterJournal(const QStringList& lines, const JournalSelection& selection)
{
    using namespace recordline;
    static const QString kCashOut = QStringLiteral("S\u00DC");
    static const QString kBankOut = QStringLiteral("B");
    const QDate day = selection.Day();
    const QString dayText = dates::Format(day);
    QStringList shown;
    shown.reserve(lines.size());
    for (const QString& line : lines) {
        const QStringView kind = CellView(line, kJourKind);
        if (!kind.isEmpty()) {
            if (selection.account == AccountFilter::Cash && kCashOut.contains(kind))
                continue;
            if (selection.account == AccountFilter::Bank && kBankOut.contains(kind))
                continue;
        }
        const bool pharmacy = CellView(line, kJourCustomer).startsWith(QLatin1String("(A)"));
        if (selection.business == BusinessFilter::Practice && pharmacy)
            continue;
        if (selection.business == BusinessFilter::Pharmacy && !pharmacy)
            continue;
        if (day.isValid() && !CellView(line, kJourDate).contains(dayText))
            continue;
        shown.append(line);
    }
    return shown;
}

}  // namespace journal
