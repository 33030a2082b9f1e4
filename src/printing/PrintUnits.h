#pragma once

#include <cmath>

#include "printing/PrintCanvas.h"

// Small measures shared by the printers.
namespace printunits {

// Millimetres to device pixels, fraction cut off.
inline int MmToPixelsX(PrintCanvas& c, int mm)
{
    return c.PageWidthMm() > 0
               ? static_cast<int>(static_cast<double>(mm) * c.PageWidth() / c.PageWidthMm())
               : 0;
}
inline int MmToPixelsY(PrintCanvas& c, int mm)
{
    return c.PageHeightMm() > 0
               ? static_cast<int>(static_cast<double>(mm) * c.PageHeight() / c.PageHeightMm())
               : 0;
}

// Line pitch of a font whose text cell is h pixels high.
inline int LinePitch(int h)
{
    return static_cast<int>(1.3 * h);
}
// Offset that centres a text of height h in its line.
inline int CentreOffset(int h)
{
    return (LinePitch(h) - h) / 2;
}

// Nearest integer, halves to even.
inline int RoundEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

// A rectangle from its edges (right and bottom excluded).
inline QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace printunits
