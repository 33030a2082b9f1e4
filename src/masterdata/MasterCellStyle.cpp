#include "masterdata/MasterCellStyle.h"

#include "common/NumberFormat.h"
#include "table/RecordLine.h"

MasterCellStyle CustomerCellStyle(const QString& line, bool selected, int tableFontSize)
{
    MasterCellStyle style;
    if (tableFontSize <= 8)
        style.textTop = 3;
    if (recordline::Cell(line, recordline::kCustRemark).startsWith(QLatin1String("(A)"))) {
        style.hasBackground = true;
        style.background = selected ? kSelectedBlue : kPharmacyYellow;
    }
    return style;
}

MasterCellStyle MedicationCellStyle(const QString& line, int col, bool selected, bool markStock)
{
    MasterCellStyle style;
    const auto number = [&](int c, long double* value) {
        return TryStrToFloat(recordline::Cell(line, c), value);
    };
    long double stock = 0;
    const bool hasStock = number(recordline::kMedStock, &stock);
    if (markStock && hasStock && stock > 0) {
        style.hasBackground = true;
        style.background = selected ? kSelectedBlue : kStockGreen;
    }
    long double value = 0;
    if (col == recordline::kMedSaleNet && number(recordline::kMedSaleNet, &value) && value == 0) {
        long double purchase = 0;
        style.redText = number(recordline::kMedPurchaseNet, &purchase) && purchase != 0;
    }
    if (col == recordline::kMedStock && !recordline::Cell(line, recordline::kMedStock).isEmpty() &&
        hasStock && stock < 2)
        style.redText = true;
    return style;
}
