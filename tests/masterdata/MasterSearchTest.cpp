#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "FormTestUtil.h"
#include "cards/CardTextSearch.h"
#include "masterdata/MasterSearch.h"
#include "support/TestFiles.h"

using namespace mastersearch;

TEST(MasterSearch, DigitsBecomeTheQuantity)
{
    const DigitSplit split = TakeQuantityDigits("3Asp");
    EXPECT_EQ(split.search, "Asp");
    EXPECT_EQ(split.quantity, "3,00");
    EXPECT_EQ(TakeQuantityDigits("Asp").quantity, "");
    EXPECT_EQ(TakeQuantityDigits("2Asp7").quantity, "7,00");
}

TEST(MasterSearch, NameSearchStopsOnTheLastEntryOfTheLetter)
{
    const QStringList lines{"Aspirin\t", "Azur\t", "Canis\t", "Dexa\t"};
    EXPECT_EQ(FindByName(lines, "az"), 1);
    EXPECT_EQ(FindByName(lines, "Azz"), 1);  // past every A: not on Canis
    EXPECT_EQ(FindByName(lines, "B"), 2);    // no B before it: the next entry
    EXPECT_EQ(FindByName(lines, "Ca"), 2);
    EXPECT_EQ(FindByName(lines, "Zz"), 3);
    EXPECT_EQ(FindByName({}, "a"), 0);
}

TEST(MasterSearch, FeeNumber)
{
    const QStringList lines{"Impfung\tHund\t\t\t\t\t1\t12a\t\t",
                            "Kastration\tKatze\t\t\t\t\t1\t7\t\t"};
    EXPECT_EQ(FindByFeeNumber(lines, "7", 0), 1);
    EXPECT_EQ(FindByFeeNumber(lines, "12A", 1), 0);
    EXPECT_EQ(FindByFeeNumber(lines, "99", 1), 1);  // none: the current record stays
}

namespace {

QString Customer(const QString& name, const QString& town, const QString& number,
                 const QString& cards = "000")
{
    return name + "\t\t\t" + town + "\t" + number + "\t\t\t\t" + cards + "\t\t";
}

struct CustomerSearchFixture : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + "/";
    const card::CardTextSearch cards{};
    CustomerSearch search{folder, cards};
    QStringList customers{Customer("Mainzer", "55116 Mainz", "0001", "002"),
                          Customer("Meier", "65183 Wiesbaden", "0042", "012"),
                          Customer("Zander", "55118 Mainz", "0007")};
};

}  // namespace

TEST_F(CustomerSearchFixture, ByNumber)
{
    EXPECT_EQ(search.Search(customers, Criterion::Number, "42", 0).record, 1);
    const Result none = search.Search(customers, Criterion::Number, "43", 0);
    EXPECT_EQ(none.record, -1);
    EXPECT_EQ(none.label, "Kunden-Nr. nicht vorhanden!");
    EXPECT_EQ(none.colour, LabelColour::Red);
    EXPECT_TRUE(search.Search(customers, Criterion::Number, "0", 0).label.isEmpty());
}

TEST_F(CustomerSearchFixture, InCustomerListCountsCells)
{
    Result r = search.Search(customers, Criterion::List, " mainz", 0);
    EXPECT_EQ(r.record, 0);
    EXPECT_EQ(r.label, "3 Einträge gefunden!");  // name and town of the first, town of the last
    EXPECT_EQ(r.colour, LabelColour::Green);
    EXPECT_TRUE(r.continueButton);
    r = search.Continue(customers, Criterion::List, 0);
    EXPECT_EQ(r.record, 2);
    EXPECT_EQ(r.label, "Weiterer Eintrag!");
    r = search.Continue(customers, Criterion::List, 2);
    EXPECT_EQ(r.label, "Kein weiterer Eintrag!");
    EXPECT_EQ(r.colour, LabelColour::Red);
    r = search.Search(customers, Criterion::List, "Wiesbaden", 2);  // from the current one on
    EXPECT_EQ(r.label, "Kein Eintrag gefunden!");
    EXPECT_EQ(search.Search(customers, Criterion::List, "Wiesbaden", 0).label,
              "1 Eintrag gefunden!");
    EXPECT_TRUE(search.Search(customers, Criterion::List, "  Wi", 0).label.isEmpty());
}

TEST_F(CustomerSearchFixture, InPatientNotes)
{
    testfiles::WriteLines(folder + "P0042.PAT", {"Bello\tHund\t", "Mieze\tKatze\t"});
    testfiles::WriteLines(folder + "P0007.PAT", {"Mietze\tKatze\t"});
    Result r = search.Search(customers, Criterion::Patients, "kat", 0);
    EXPECT_EQ(r.record, 1);
    EXPECT_EQ(r.label, "Erster Eintrag!");
    // One more character starts at the current customer, a new text at the first.
    EXPECT_EQ(search.Search(customers, Criterion::Patients, "katz", 2).record, 2);
    EXPECT_EQ(search.Search(customers, Criterion::Patients, "kat", 2).record, 1);
    EXPECT_EQ(search.Continue(customers, Criterion::Patients, 1).record, 2);
    EXPECT_EQ(search.Search(customers, Criterion::Patients, "Pferd", 0).label,
              "Kein Eintrag gefunden!");
}

TEST_F(CustomerSearchFixture, InRecordCardsNewestElevenOnly)
{
    // Card 1 of customer 0042 is the twelfth from the newest: not searched.
    testfiles::WriteLines(folder + "K0042001.KAR", {"01.02.2020\tRöntgen Thorax\t\t\t\t\t\t\t"});
    testfiles::WriteLines(folder + "K0042005.KAR",
                          {"01.02.2021\tImpfung\t\t\t\t\t\t\t", "---KOPF---", "Röntgen"});
    testfiles::WriteLines(folder + "K0001002.KAR", {"03.03.2022\tröntgen Knie\t\t\t\t\t\t\t"});
    Result r = search.Search(customers, Criterion::Cards, "Röntgen", 0);
    EXPECT_EQ(r.record, 0);
    EXPECT_EQ(r.label, "Letzte Lfd.Nr.: 002");
    EXPECT_TRUE(r.continueButton);
    EXPECT_EQ(search.Continue(customers, Criterion::Cards, 0).label, "Kein weiterer Eintrag!");
    EXPECT_EQ(search.Search(customers, Criterion::Cards, "Impfung", 0).record, 1);
}
