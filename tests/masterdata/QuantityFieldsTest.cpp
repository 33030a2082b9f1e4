#include <gtest/gtest.h>

#include "masterdata/QuantityFields.h"

namespace {

// Types text key by key at the end of the field; returns what the field then reads.
QString Type(QuantityFields& q, QuantityFields::Which which, const QString& text)
{
    for (QChar ch : text) {
        q.KeyPress(which, ch);
    }
    return q.Text(which);
}

}  // namespace

TEST(QuantityFields, StartAtOneAndResetTogether)
{
    QuantityFields q;
    EXPECT_EQ(q.Text(QuantityFields::Medication), "1,00");
    EXPECT_EQ(q.Text(QuantityFields::Service), "1,00");
    q.SetBoth("3,00");
    EXPECT_EQ(q.Text(QuantityFields::Medication), "3,00");
    EXPECT_EQ(q.Text(QuantityFields::Service), "3,00");
    q.Reset();
    EXPECT_EQ(q.Text(QuantityFields::Medication), "1,00");
    EXPECT_EQ(q.Text(QuantityFields::Service), "1,00");
}

TEST(QuantityFields, TypingTakesNumbersAndOneFraction)
{
    QuantityFields q;
    q.Field(QuantityFields::Medication).SetText({});
    EXPECT_EQ(Type(q, QuantityFields::Medication, "2.5"), "2,5") << "a point is a comma";
    EXPECT_EQ(Type(q, QuantityFields::Medication, ",x 7"), "2,57") << "second comma, letters";
    EXPECT_FALSE(q.KeyPress(QuantityFields::Medication, '1')) << "two decimals at most";

    q.Field(QuantityFields::Service).SetText({});
    EXPECT_EQ(Type(q, QuantityFields::Service, "1/3/"), "1/3") << "one slash";
    EXPECT_EQ(Type(q, QuantityFields::Service, ",5,"), "1/3,5") << "each side its own comma";
    q.KeyPress(QuantityFields::Service, QChar(8));
    EXPECT_EQ(q.Text(QuantityFields::Service), "1/3,");

    // Six digits before a comma, on each side of the slash.
    q.Field(QuantityFields::Service).SetText({});
    EXPECT_EQ(Type(q, QuantityFields::Service, "12345678"), "123456");
    EXPECT_EQ(Type(q, QuantityFields::Service, "/9876543"), "123456/987654");
}

TEST(QuantityFields, KeysAreJudgedWhereTheCaretStands)
{
    QuantityFields q;
    FormField& f = q.Field(QuantityFields::Medication);
    f.SetText("123456,5");
    f.cursor = 0;
    f.selStart = 0;
    EXPECT_FALSE(q.KeyPress(QuantityFields::Medication, '9')) << "six digits before the comma";
    f.cursor = 8;
    f.selStart = 8;
    EXPECT_TRUE(q.KeyPress(QuantityFields::Medication, '0'));
    // Typing over a selection judges the text without it.
    f.SetText("1,00");
    f.SelectAll();
    EXPECT_TRUE(q.KeyPress(QuantityFields::Medication, '4'));
    EXPECT_EQ(f.text, "4");
}

TEST(QuantityFields, LeavingWritesNumbersAndKeepsFractions)
{
    EXPECT_EQ(QuantityFields::Normalised(""), "1,00");
    EXPECT_EQ(QuantityFields::Normalised("  "), "1,00");
    EXPECT_EQ(QuantityFields::Normalised("2"), "2,00");
    EXPECT_EQ(QuantityFields::Normalised("2,5"), "2,50");
    EXPECT_EQ(QuantityFields::Normalised("0,125"), "0,13") << "halves away from zero";
    EXPECT_EQ(QuantityFields::Normalised(","), "1,00");
    // Fractions stay as typed so a pack share is not rounded here.
    EXPECT_EQ(QuantityFields::Normalised("1/3"), "1/3");
    EXPECT_EQ(QuantityFields::Normalised("1 / 3"), "1/3");
    EXPECT_EQ(QuantityFields::Normalised("2/"), "2/");
    EXPECT_EQ(QuantityFields::Normalised("1/0"), "1,00") << "no division by zero";
    EXPECT_EQ(QuantityFields::Normalised("/4"), "1,00");
    EXPECT_EQ(QuantityFields::Normalised("1/,"), "1,00");

    QuantityFields q;
    q.Field(QuantityFields::Service).SetText("3");
    q.Leave(QuantityFields::Service);
    EXPECT_EQ(q.Text(QuantityFields::Service), "3,00");
    EXPECT_EQ(q.Text(QuantityFields::Medication), "1,00") << "the other field is untouched";
}
