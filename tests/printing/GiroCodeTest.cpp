#include <gtest/gtest.h>

#include "printing/GiroCode.h"

namespace {

TEST(GiroCodeTest, IbanCheckDigits)
{
    const struct {
        const char* iban;
        bool valid;
    } cases[] = {
        {"DE89370400440532013000", true},
        {"DE89 3704 0044 0532 0130 00", true},
        {"de89 3704 0044 0532 0130 00", true},
        {"GB82WEST12345698765432", true},
        {"DE45 6835 0048 0001 2345 67", true},
        {"DE89370400440532013001", false},  // one digit changed
        {"DE89370400440532010300", false},  // two digits swapped
        {"DE88370400440532013000", false},  // check digits off by one
        {"DE8937040044", false},            // too short for any country
        {"8937040044053201300000", false},  // no country
        {"DE89-3704-0044-0532-0130-00", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(girocode::IbanValid(QString::fromUtf8(c.iban)), c.valid) << c.iban;
}

BusinessData Practice()
{
    BusinessData b;
    b.name = QStringLiteral("Tierarztpraxis Lindner");
    b.holder = QStringLiteral("Dr. Katharina Lindner");
    b.accountIban = QStringLiteral("de45 6835 0048 0001 2345 67");
    b.accountBic = QStringLiteral("SKLODE66XXX");
    return b;
}

TEST(GiroCodeTest, PayloadOfAnInvoiceByteForByte)
{
    const auto transfer =
        girocode::TransferFor(Practice(), true, QStringLiteral("Euro"), 1234.5L,
                              QStringLiteral("0412/007"), QStringLiteral("08.12.2026"));
    ASSERT_TRUE(transfer);
    EXPECT_EQ(girocode::Payload(*transfer),
              QByteArray("BCD\n002\n1\nSCT\nSKLODE66XXX\nDr. Katharina Lindner\n"
                         "DE45683500480001234567\nEUR1234.50\n\n\n"
                         "Rechnung 0412/007 vom 08.12.2026"));

    // No holder given: the business name pays; a line break in a field cannot shift the
    // fields after it; names are UTF-8.
    BusinessData b = Practice();
    b.holder.clear();
    b.name = QStringLiteral("Praxis Weiß\r\nam Markt");
    b.accountBic.clear();
    const QByteArray payload = girocode::Payload(*girocode::TransferFor(
        b, true, QStringLiteral("Euro"), 0.005L, QStringLiteral("1/2"), QString()));
    EXPECT_EQ(payload, QStringLiteral("BCD\n002\n1\nSCT\n\nPraxis Weiß  am Markt\n"
                                      "DE45683500480001234567\nEUR0.01\n\n\nRechnung 1/2")
                           .toUtf8());
}

TEST(GiroCodeTest, NoCodeWithoutEuroAmountIbanOrSwitch)
{
    const auto none = [](BusinessData b, bool on, const char* currency, long double open) {
        return !girocode::TransferFor(b, on, QString::fromLatin1(currency), open,
                                      QStringLiteral("1/1"), QStringLiteral("01.01.2026"));
    };
    BusinessData noIban = Practice();
    noIban.accountIban.clear();
    BusinessData wrongIban = Practice();
    wrongIban.accountIban = QStringLiteral("DE46 6835 0048 0001 2345 67");
    BusinessData nobody = Practice();
    nobody.holder.clear();
    nobody.name.clear();
    EXPECT_FALSE(none(Practice(), true, "Euro", 10));
    EXPECT_TRUE(none(Practice(), true, "DM", 10));
    EXPECT_TRUE(none(Practice(), false, "Euro", 10));
    EXPECT_TRUE(none(Practice(), true, "Euro", 0.004L));
    EXPECT_TRUE(none(Practice(), true, "Euro", -5));
    EXPECT_TRUE(none(noIban, true, "Euro", 10));
    EXPECT_TRUE(none(wrongIban, true, "Euro", 10));
    EXPECT_TRUE(none(nobody, true, "Euro", 10));
}

TEST(GiroCodeTest, SymbolHasFinderPatternsAndQuietZone)
{
    const MonoBitmap code = girocode::Encode(QByteArray(120, 'x'));
    ASSERT_FALSE(code.Empty());
    ASSERT_EQ(code.width, code.height);
    const int size = code.width - 8;
    EXPECT_EQ((size - 17) % 4, 0);  // a QR version's module count
    for (int i = 0; i < code.width; ++i)
        EXPECT_FALSE(code.Dark(i, 0) || code.Dark(0, i) || code.Dark(i, 3));
    // The finder pattern's outer ring at the top-left, top-right and bottom-left.
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(code.Dark(4 + i, 4) && code.Dark(4, 4 + i));
        EXPECT_TRUE(code.Dark(4 + size - 7 + i, 4) && code.Dark(4 + i, 4 + size - 1));
    }
    EXPECT_TRUE(girocode::Encode(QByteArray(4000, 'x')).Empty());
}

}  // namespace
