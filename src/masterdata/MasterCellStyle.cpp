#include "masterdata/MasterCellStyle.h"

#include "common/NumberFormat.h"
#include "masterdata/RecordLines.h"

MasterCellStyle CustomerCellStyle(const QString& line, bool selected, int tableFontSize)
{
    MasterCellStyle style;
    if (tableFontSize <= 8)
        style.textTop = 3;
    if (recordlines::Cell(line, 8).startsWith(QLatin1String("(A)"))) {
        style.hasBackground = true;
        style.background = selected ? kSelectedBlue : kPharmacyYellow;
    }
    return style;
}

MasterCellStyle MedicationCellStyle(const QString& line, int col, bool selected, bool markStock)
{
    MasterCellStyle style;
    const auto number = [&](int c, long double* value) {
        return TryStrToFloat(recordlines::Cell(line, c), value);
    };
    long double stock = 0;
    const bool hasStock = number(9, &stock);
    if (markStock && hasStock && stock > 0) {
        style.hasBackground = true;
        style.background = selected ? kSelectedBlue : kStockGreen;
    }
    long double value = 0;
    if (col == 3 && number(3, &value) && value == 0) {
        long double purchase = 0;
        style.redText = number(2, &purchase) && purchase != 0;
    }
    if (col == 9 && !recordlines::Cell(line, 9).isEmpty() && hasStock && stock < 2)
        style.redText = true;
    return style;
}
