#include "cards/CardSettings.h"

#include "common/NumberFormat.h"

int CardSettings::Group(const QString& code, const QDate& date) const
{
    int index = 1;
    if (code == QStringLiteral("2"))
        index = 2;
    else if (code == QStringLiteral("3"))
        index = 3;
    return date.isValid() && date < keyDate ? index + 3 : index;
}

long double CardSettings::GroupRate(int group) const
{
    if (group < 1 || group > 6)
        return 0;
    return group <= 3 ? currentVat[group - 1] : oldVat[group - 4];
}

QString CardSettings::GroupRateText(int group) const
{
    return FormatFloat(QStringLiteral("0.0"), GroupRate(group));
}
