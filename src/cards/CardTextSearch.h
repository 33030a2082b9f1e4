#pragma once

#include "masterdata/MasterSearch.h"

namespace card {

// The record cards' side of the customer search "in Karteien".
class CardTextSearch final : public mastersearch::CardTexts {
public:
    bool CardHolds(const QString& dataFolder, const QString& customerNumber, int cardNumber,
                   const QString& upperText) const override;
    QString NumberText(int cardNumber) const override;
};

}  // namespace card
