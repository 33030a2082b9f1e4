#include <gtest/gtest.h>

#include "shell/CustomerSearch.h"
#include "support/ScriptedUserPort.h"
#include "table/TSGrid.h"

using customersearch::Criterion;

namespace {

class CustomerSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_grid.SetColCount(11);
        m_grid.SetLines({"Bauer\tAnna\tFeldweg 1\t12345 Au\t0003\t\t\tHund Bello\t\t\t",
                         "Meier\tHans\tHofweg 2\t12345 Au\t0001\t\t\t\t\t\t",
                         "Schulz\tEva\tBellostr. 5\t54321 Ort\t0012\t\t\tbello\t\t\t"});
    }
    ScriptedUserPort m_port;
    TSGrid m_grid{m_port};
};

}  // namespace

TEST_F(CustomerSearchTest, ByNameAndNumber)
{
    EXPECT_EQ(customersearch::Search(m_grid, Criterion::Name, "me", 0).record, 1);
    auto out = customersearch::Search(m_grid, Criterion::Number, "12", 0);
    EXPECT_EQ(out.record, 2);
    EXPECT_TRUE(out.message.isEmpty());
    out = customersearch::Search(m_grid, Criterion::Number, "7", 0);
    EXPECT_EQ(out.record, -1);
    EXPECT_EQ(out.message, "Kunden-Nr. nicht vorhanden!");
    EXPECT_TRUE(out.red);
    EXPECT_TRUE(customersearch::Search(m_grid, Criterion::Number, "0", 0).message.isEmpty());
}

TEST_F(CustomerSearchTest, InTheListCountsCellsFromTheCurrentCustomer)
{
    auto out = customersearch::Search(m_grid, Criterion::InList, "  bel", 0);
    EXPECT_EQ(out.record, 0);
    EXPECT_EQ(out.message, QString::fromUtf8("3 Einträge gefunden!"));
    EXPECT_FALSE(out.red);
    EXPECT_TRUE(out.showContinue);

    out = customersearch::Search(m_grid, Criterion::InList, "hofweg", 1);
    EXPECT_EQ(out.message, "1 Eintrag gefunden!");
    EXPECT_FALSE(out.showContinue);
    out = customersearch::Search(m_grid, Criterion::InList, "hofweg", 2);
    EXPECT_EQ(out.message, "Kein Eintrag gefunden!");
    EXPECT_TRUE(out.red);
    EXPECT_TRUE(customersearch::Search(m_grid, Criterion::InList, "be", 0).message.isEmpty())
        << "two characters are too few";

    out = customersearch::Continue(m_grid, Criterion::InList, "bello", 0);
    EXPECT_EQ(out.record, 2);
    EXPECT_EQ(out.message, "Weiterer Eintrag!");
    out = customersearch::Continue(m_grid, Criterion::InList, "bello", 2);
    EXPECT_EQ(out.message, "Kein weiterer Eintrag!");
    EXPECT_EQ(out.record, -1);
}
