#include "settings/TableFont.h"

#include <algorithm>

#include "table/TSGrid.h"

namespace tablefont {

namespace {
constexpr int kSmallest = 6;
constexpr int kLargest = 16;
}  // namespace

QString Family()
{
    return QStringLiteral("Microsoft Sans Serif");
}

const QList<int>& MenuSizes()
{
    static const QList<int> sizes = {7, 8, 9, 10, 11, 12};
    return sizes;
}

int Sanitize(int size)
{
    return size < kSmallest || size > kLargest ? kDefaultSize : size;
}

int RowHeight(int size)
{
    // Two and a half pixels per point, rounded up: 20 at size 8.
    return std::max(TSGrid::kDefaultRowHeight, (Sanitize(size) * 5 + 1) / 2);
}

bool QuantityFieldsBold(int size)
{
    return size >= 9;
}

}  // namespace tablefont
