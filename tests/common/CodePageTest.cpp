#include <gtest/gtest.h>

#include "common/CodePage.h"

TEST(CodePage, LineEndsOfEveryKindEndALine)
{
    const QStringList lines = cp1252::SplitLines(QByteArray("a\r\nb\rc\nd"));
    EXPECT_EQ(lines, (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(cp1252::SplitLines(QByteArray("a\r\n\r\nb\r\n")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(cp1252::SplitLines(QByteArray("\n\r")), (QStringList{"", ""}));
    EXPECT_TRUE(cp1252::SplitLines(QByteArray()).isEmpty());
    EXPECT_EQ(cp1252::SplitLines(QByteArray("ab\ncd\ref\r\n\ngh\r")),
              (QStringList{"ab", "cd", "ef", "", "gh"}));
}

// Every code, at every place of an eight-byte step, decodes to its character and back.
TEST(CodePage, EveryByteDecodesToItsCharacterWhereverItStands)
{
    for (int offset = 0; offset < 9; ++offset) {
        QByteArray bytes(offset, 'a');
        for (int code = 0; code < 256; ++code)
            bytes.append(char(code));
        const QString text = cp1252::Decode(bytes);
        ASSERT_EQ(text.size(), bytes.size());
        for (int code = 0; code < 256; ++code)
            ASSERT_EQ(text[offset + code], cp1252::FromCode(uchar(code))) << offset << " " << code;
        ASSERT_EQ(cp1252::Encode(text), bytes) << offset;
        ASSERT_EQ(cp1252::JoinLines({text}), bytes + "\r\n") << offset;
    }
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
