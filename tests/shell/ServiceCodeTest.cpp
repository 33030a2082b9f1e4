#include <gtest/gtest.h>

#include "shell/ServiceCode.h"

TEST(ServiceCodeTest, ScrambledTextsLowerEachCodeByTwo)
{
    EXPECT_EQ(Unscramble("Vcnxgp"), "Talven");
    EXPECT_EQ(Unscramble(Scramble(QString::fromUtf8("Müller & Söhne"))),
              QString::fromUtf8("Müller & Söhne"));
    EXPECT_EQ(Unscramble(""), "");
}

TEST(ServiceCodeTest, GoBdSwitchOnlyForTheServiceCode)
{
    EXPECT_TRUE(GoBdSwitchVisible("#TALVEN-GOBD-SERVICE#"));
    EXPECT_FALSE(GoBdSwitchVisible(""));
    EXPECT_FALSE(GoBdSwitchVisible("Tierarztpraxis Dr. Weber"));
    EXPECT_FALSE(GoBdSwitchVisible("%VCNXGP/IQDF/UGTXKEG%")) << "the stored form is no key";
    EXPECT_FALSE(GoBdSwitchVisible("#talven-gobd-service#"));
    EXPECT_FALSE(GoBdSwitchVisible("#TALVEN-GOBD-SERVICE# "));
}
