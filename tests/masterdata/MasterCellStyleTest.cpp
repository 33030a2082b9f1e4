#include <gtest/gtest.h>

#include "masterdata/MasterCellStyle.h"
#include "masterdata/MasterWorkspace.h"

TEST(MasterCellStyle, PharmacyCustomers)
{
    const QString pharmacy = "Meier\t\t\t\t0001\t\t\t(A) Hof\t000\t\t";
    EXPECT_EQ(CustomerCellStyle(pharmacy, false, 10).background, kPharmacyYellow);
    EXPECT_EQ(CustomerCellStyle(pharmacy, true, 10).background, kSelectedBlue);
    EXPECT_EQ(CustomerCellStyle(pharmacy, false, 8).textTop, 3);
    EXPECT_EQ(CustomerCellStyle(pharmacy, false, 10).textTop, 2);
    EXPECT_EQ(CustomerCellStyle(pharmacy, false, 10).textLeft, 2);
    EXPECT_FALSE(
        CustomerCellStyle("Meier\t\t\t\t0001\t\t\tHof (A)\t000\t\t", false, 10).hasBackground);
}

TEST(MasterCellStyle, MedicationColours)
{
    const QString kept = "Mittel\t1,00000\t0,00000\t0,00000\t1\t\t\t\t1,5\t000042\t";
    EXPECT_TRUE(MedicationCellStyle(kept, 3, false, false).redText);  // no sale price
    EXPECT_TRUE(MedicationCellStyle(kept, 9, false, false).redText);  // stock below 2
    EXPECT_FALSE(MedicationCellStyle(kept, 1, false, false).hasBackground);
    EXPECT_EQ(MedicationCellStyle(kept, 1, false, true).background, kStockGreen);
    EXPECT_EQ(MedicationCellStyle(kept, 1, true, true).background, kSelectedBlue);
    EXPECT_FALSE(MedicationCellStyle(kept, 2, false, false).redText);
    // A free article (no purchase price either) is no missing price.
    EXPECT_FALSE(MedicationCellStyle("Probe\t0\t0\t0\t1\t\t\t\t5\t\t", 3, false, false).redText);
    // Enough stock is not marked.
    EXPECT_FALSE(MedicationCellStyle("Probe\t1\t2\t2\t1\t\t\t\t2\t\t", 9, false, false).redText);
    const QString plain = "Mittel\t0,00000\t0,00000\t0,00000\t1\t\t\t\t\t\t";
    EXPECT_FALSE(MedicationCellStyle(plain, 3, false, true).redText);
    EXPECT_FALSE(MedicationCellStyle(plain, 9, false, true).redText);
    EXPECT_FALSE(MedicationCellStyle(plain, 1, false, true).hasBackground);
}

TEST(MasterCellStyle, ScrollBar)
{
    EXPECT_EQ(ScrollBarMaximum(25, 12), 14);
    EXPECT_EQ(ScrollBarLargeStep(12), 11);
    EXPECT_EQ(ScrollBarMaximum(5, 12), 0);
    EXPECT_EQ(ScrollBarMaximum(100000, 12), 30000);
}
