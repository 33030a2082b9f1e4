#include "cards/CardTextSearch.h"

#include "cards/CardFile.h"

namespace card {

bool CardTextSearch::CardHolds(const QString& dataFolder, const QString& customerNumber,
                               int cardNumber, const QString& upperText) const
{
    return CardContains(NamedPath(dataFolder, customerNumber, cardNumber), upperText, true);
}

QString CardTextSearch::NumberText(int cardNumber) const
{
    return card::NumberText(cardNumber);
}

}  // namespace card
