#include <gtest/gtest.h>

#include "common/CodePage.h"

TEST(CodePage, LineEndsOfEveryKindEndALine)
{
    const QStringList lines = cp1252::SplitLines(QByteArray("a\r\nb\rc\nd"));
    EXPECT_EQ(lines, (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(cp1252::SplitLines(QByteArray("a\r\n\r\nb\r\n")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(cp1252::SplitLines(QByteArray("\n\r")), (QStringList{"", ""}));
    EXPECT_TRUE(cp1252::SplitLines(QByteArray()).isEmpty());
}

TEST(CodePage, RoundTripOfUmlautsSharpSAndEuro)
{
    const QString text = QString::fromUtf8("Müller ÄÖÜ äöü ß 12,50 € – „x“");
    const QByteArray bytes = cp1252::Encode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFC);                          // ü
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(bytes.indexOf('5') + 3)), 0x80);  // €
    EXPECT_EQ(cp1252::Decode(bytes), text);
}

TEST(CodePage, CharactersOutside1252BecomeQuestionMarks)
{
    EXPECT_EQ(cp1252::Encode(QString::fromUtf8("a\u4e2db")), QByteArray("a?b"));
}

TEST(CodePage, JoinWritesCrLfAfterEveryLine)
{
    EXPECT_EQ(cp1252::JoinLines({"x\t", QString::fromUtf8("ä\t")}),
              QByteArray("x\t\r\n\xe4\t\r\n"));
    EXPECT_EQ(cp1252::JoinLines({}), QByteArray());
}
