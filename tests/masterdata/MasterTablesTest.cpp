#include <gtest/gtest.h>

#include "masterdata/MasterTables.h"
#include "support/ScriptedUserPort.h"
#include "table/RecordLine.h"

using namespace mastertables;

namespace {

QString Customer(const QString& name, const QString& number)
{
    return name + "\t\t\t\t" + number + "\t\t\t\t000\t\t";
}

}  // namespace

TEST(NextCustomerNumber, HighestPlusOne)
{
    ScriptedUserPort port;
    EXPECT_EQ(NextCustomerNumber({}, port), "0001");
    EXPECT_EQ(NextCustomerNumber({Customer("B", "0042"), Customer("A", "0007")}, port), "0043");
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST(NextCustomerNumber, LowestFreeOnceFull)
{
    ScriptedUserPort port;
    QStringList lines;
    for (int n = 1; n <= 9999; ++n)
        if (n != 17 && n != 500)
            lines << Customer("K", QString("%1").arg(n, 4, 10, QChar('0')));
    EXPECT_EQ(NextCustomerNumber(lines, port), "0017");
    lines << Customer("K", "0017") << Customer("K", "0500");
    EXPECT_EQ(NextCustomerNumber(lines, port), std::nullopt);
    EXPECT_EQ(port.LastText(),
              "Zu viele Kunden-Datensätze im Kundenstamm!\rLöschen Sie Kunden mit letztem "
              "Besuch älter 10 Jahre\rund legen Sie dann einen neuen Datensatz an!");
}

TEST(NextCustomerNumber, BadNumberBlocksTheInsert)
{
    ScriptedUserPort port;
    EXPECT_EQ(NextCustomerNumber({Customer("A", "0001"), Customer("B", "00x2")}, port),
              std::nullopt);
    EXPECT_EQ(port.LastText(),
              "Die fehlerhafte Kundenummer\rbei Datensatz 2\rverhindert einen Neueintrag!");
    EXPECT_EQ(port.messages.last().kind, MsgKind::Error);
}

TEST(TableUpgrade, ServiceSevenCellsBecomeNine)
{
    QStringList lines{"Impfung\tHund\t20,00\t23,80\t1\t12a\tjährlich\t",
                      "Kastration\tKatze\t50,00\t59,50\t1\t7\t\t"};
    ASSERT_TRUE(NeedsUpgrade(lines, recordline::kServiceCells));
    UpgradeServiceLines(lines);
    EXPECT_EQ(lines[0], "Impfung\tHund\t20,00\t1,0\t20,00\t23,80\t1\t12a\tjährlich\t");
    EXPECT_EQ(lines[1], "Kastration\tKatze\t50,00\t1,0\t50,00\t59,50\t1\t7\t\t");
    EXPECT_FALSE(NeedsUpgrade(lines, recordline::kServiceCells));
}

TEST(TableUpgrade, DecidedOnTheSecondRecord)
{
    EXPECT_FALSE(NeedsUpgrade({"a\tb\t", QString(10, '\t')}, 10));
    EXPECT_TRUE(NeedsUpgrade({QString(10, '\t'), "a\tb\t"}, 10));
    EXPECT_TRUE(NeedsUpgrade({"a\tb\t"}, 10));  // a single old record is upgraded too
    EXPECT_FALSE(NeedsUpgrade({}, 10));
    QStringList lines{"a\tb\t", QString(12, '\t')};
    PadAll(lines, 10);
    EXPECT_EQ(lines[0], "a\tb" + QString(9, '\t'));
    EXPECT_EQ(lines[1], QString(12, '\t'));
}

TEST(SortedPlacement, MedicationsLandInOrder)
{
    QStringList lines{"Aspirin\t1,00\t\t\t\t\t\t\t\t\t", "Zylexis\t3,00\t\t\t\t\t\t\t\t\t"};
    const QStringList cells{"Baytril", "2,00", "2,50", "2,98", "1", "", "", ""};
    EXPECT_EQ(PlaceSorted(lines, cells, recordline::kMedicationCells), 1);
    EXPECT_EQ(lines[1], "Baytril\t2,00\t2,50\t2,98\t1\t\t\t\t\t\t");
    EXPECT_EQ(PlaceSorted(lines, {"Zz", "", "", "", "1", "", "", ""}, recordline::kMedicationCells),
              3);
    EXPECT_EQ(PlaceSorted(lines, {"Ärztemuster", "", "", "", "1", "", "", ""},
                          recordline::kMedicationCells),
              0);  // Ä sorts as "A ", before "As"
    QStringList empty;
    EXPECT_EQ(PlaceSorted(empty, cells, recordline::kMedicationCells), 0);
}

TEST(CustomerTable, RemovalOfThirtyFiveCards)
{
    const CustomerRemoval plan = CustomerRemovalPlan("0042", 35);
    EXPECT_EQ(plan.files.size(), 36);
    EXPECT_EQ(plan.files.first(), "P0042.PAT");
    EXPECT_EQ(plan.files.at(1), "K0042035.KAR");
    EXPECT_EQ(plan.files.last(), "K0042001.KAR");
    EXPECT_EQ(plan.changeLines.size(), 30);
    EXPECT_EQ(plan.changeLines.first(), "-0042/035\t");
    EXPECT_EQ(plan.changeLines.last(), "-0042/006\t");
    EXPECT_EQ(DeleteQuestion(Customer("Meier", "0001")),
              "Datensatz Meier  KdNr.: 0001\r wirklich löschen?");
    EXPECT_EQ(DeleteQuestion(QString()), "Datensatz  wirklich löschen?");
}
