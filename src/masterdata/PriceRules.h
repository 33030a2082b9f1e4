#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

class UserPort;

// The settings the record edit dialog and the price rules read from the options. Until the
// options file is wired in, callers fill this by hand.
struct PriceSettings {
    std::array<long double, 3> currentVat{};   // current rates 1..3 in percent
    std::array<long double, 3> previousVat{};  // rates before the cut-off date
    QDate cutOff{1990, 1, 1};
    bool euro = true;               // false: Deutsche Mark
    long double dmRate = 1.95583L;  // DM per Euro
};

namespace prices {

// The current rate named by a VAT code "1".."3"; false for any other code.
bool VatRateForCode(const QString& code, const PriceSettings& settings, long double* rate);
// The rate shown beside the VAT code field: "0.0" of the rate, "---" for another code.
QString VatRateLabel(const QString& code, const PriceSettings& settings);

// net x (1 + rate/100) formatted "0.00". An empty or non-numeric net gives an empty
// text; a code other than 1..3 leaves the net as it is (formatted).
QString GrossFromNet(const QString& netText, const QString& vatCode, const PriceSettings& settings);

// Sale net from the purchase net by the drug price ordinance markup.
struct AmpvResult {
    QString purchaseNet;  // the purchase net as it is to be shown again
    QString saleNet;
};
long double AmpvMarkup(long double purchase, bool euro, bool humanPreparation);
AmpvResult Ampv(const QString& purchaseText, bool euro, bool humanPreparation);
QString AmpvToolTip(bool humanPreparation);

// A fee factor for display: "0.00" with one trailing "0" dropped (1,50 -> 1,5; 2,00 -> 2,0).
QString FormatFactor(long double factor);
inline constexpr long double kMinFactor = 1.0L;
inline constexpr long double kMaxFactor = 3.0L;

// The six configured rates formatted "0.0" (current 1..3, then previous 1..3).
QStringList SixRateTexts(const PriceSettings& settings);

// Recomputes one gross cell from a net cell and a code cell in every record line.
void RecalculateGross(QStringList& lines, int netCol, int grossCol, int codeCol,
                      const PriceSettings& settings);

// What the recalculation after a VAT change needs from the main window and its tables.
class VatRecalcTarget {
public:
    virtual ~VatRecalcTarget() = default;
    virtual QStringList& ServiceLines() = 0;
    virtual void SaveServices() = 0;
    virtual QStringList& MedicationLines() = 0;
    virtual void SaveMedications() = 0;
    virtual void ShowCurrentRate(const QString& rateText) = 0;
    virtual void ResetQuantities() = 0;  // both quantity fields to "1,00"
    virtual void ReloadBatchIfShown() = 0;
};

// Recalculates every gross price of the service and medication tables from the six rate
// texts of the options dialog. Invalid rates: message, all six set to 0 in rateTexts,
// nothing recalculated, returns false.
bool RecalculateAllGross(UserPort& port, QStringList& rateTexts, VatRecalcTarget& target);

}  // namespace prices
