#include "cards/PackUnits.h"

#include <QStringList>

namespace {

bool ReadCount(const QString& word, int* count)
{
    bool ok = false;
    const int value = word.toInt(&ok);
    if (!ok || value < 2 || word.startsWith(QLatin1Char('+')) || word.startsWith(QLatin1Char('-')))
        return false;
    *count = value;
    return true;
}

}  // namespace

std::optional<PackUnits> ReadPackUnits(const QString& article)
{
    return ReadPackUnits(article, {});
}

std::optional<PackUnits> ReadPackUnits(const QString& article, const QStringList& moreUnits)
{
    static const QStringList kPackUnits{QStringLiteral("Tabl."), QStringLiteral("Tab."),
                                        QStringLiteral("Pip."), QStringLiteral("Amp.")};
    const QStringList kUnits = kPackUnits + moreUnits;
    const QStringList words = article.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        for (const QString& unit : kUnits) {
            if (words[i].compare(unit, Qt::CaseInsensitive) != 0)
                continue;
            int count = 0;
            if (i + 1 < words.size() && ReadCount(words[i + 1], &count))
                return PackUnits{count, words[i], int(i), int(i + 1)};
            if (i > 0 && ReadCount(words[i - 1], &count))
                return PackUnits{count, words[i], int(i), int(i - 1)};
        }
    }
    return std::nullopt;
}

bool IsPackFraction(const QString& article, int denominator, PackUnits* units)
{
    const std::optional<PackUnits> pack = ReadPackUnits(article);
    if (!pack || pack->size != denominator)
        return false;
    if (units)
        *units = *pack;
    return true;
}
