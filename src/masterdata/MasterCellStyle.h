#pragma once

#include <QString>
#include <cstdint>

// How a data cell of a master grid is drawn; the view turns it into colours.
struct MasterCellStyle {
    bool hasBackground = false;
    std::uint32_t background = 0;  // 0xRRGGBB
    bool redText = false;
    int textLeft = 2;  // pixels from the cell's left edge
    int textTop = 2;   // pixels below the cell's top
};

inline constexpr std::uint32_t kSelectedBlue = 0x316AC5;
inline constexpr std::uint32_t kPharmacyYellow = 0xFFFFD9;
inline constexpr std::uint32_t kStockGreen = 0xE7FFEA;

// A pharmacy customer (remark beginning with "(A)") on pale yellow.
MasterCellStyle CustomerCellStyle(const QString& line, bool selected, int tableFontSize);
// Stock-kept medications in green when marking is on; a missing sale price and a low
// stock in red.
MasterCellStyle MedicationCellStyle(const QString& line, int col, bool selected, bool markStock);
// The scroll bar's large step beside a grid showing gridRows rows (title row included).
inline int ScrollBarLargeStep(int gridRows)
{
    return gridRows - 1;
}
