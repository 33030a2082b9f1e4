#include "printing/GiroCode.h"

#include <qrencode.h>

#include <QStringList>

#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"

namespace girocode {

namespace {

// A field holds no line break (it would shift every field after it) and keeps to its
// length in characters.
QString Field(const QString& text, int maxLength)
{
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out.trimmed().left(maxLength);
}

}  // namespace

QString CompactIban(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (!c.isSpace())
            out.append(c.toUpper());
    }
    return out;
}

bool IbanValid(const QString& text)
{
    const QString iban = CompactIban(text);
    if (iban.size() < 15 || iban.size() > 34)
        return false;
    for (int i = 0; i < iban.size(); ++i) {
        const QChar c = iban[i];
        const bool letter = c >= QLatin1Char('A') && c <= QLatin1Char('Z');
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (i < 2 ? !letter : (i < 4 ? !digit : !(letter || digit)))
            return false;
    }
    // The country and check digits go to the end; letters count 10 to 35.
    const QString moved = iban.mid(4) + iban.left(4);
    int rest = 0;
    for (QChar c : moved) {
        const int value = c.isDigit() ? c.unicode() - '0' : c.unicode() - 'A' + 10;
        rest = (value >= 10 ? rest * 100 : rest * 10) + value;
        rest %= 97;
    }
    return rest == 1;
}

QByteArray Payload(const Transfer& t)
{
    const QStringList lines{QStringLiteral("BCD"),
                            QStringLiteral("002"),
                            QStringLiteral("1"),  // UTF-8
                            QStringLiteral("SCT"),
                            Field(t.bic, 11),
                            Field(t.holder, 70),
                            CompactIban(t.iban),
                            QStringLiteral("EUR") + t.amount,
                            QString(),  // purpose code
                            QString(),  // structured creditor reference
                            Field(t.remittance, 140)};
    return lines.join(QLatin1Char('\n')).toUtf8();
}

std::optional<Transfer> TransferFor(const BusinessData& business, bool enabled,
                                    const QString& currency, long double open,
                                    const QString& cardKey, const QString& invoiceDate)
{
    if (!enabled || currency.trimmed().compare(QLatin1String("Euro"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const long double cents = RoundCents(open);
    if (cents < 0.005L || cents > 999999999.995L || !IbanValid(business.accountIban))
        return std::nullopt;
    Transfer t;
    t.holder = business.holder.trimmed().isEmpty() ? business.name : business.holder;
    if (t.holder.trimmed().isEmpty())
        return std::nullopt;  // a transfer names its payee
    t.iban = CompactIban(business.accountIban);
    t.bic = CompactIban(business.accountBic);
    t.amount =
        FormatFloat(QStringLiteral("0.00"), cents).replace(QLatin1Char(','), QLatin1Char('.'));
    t.remittance = QStringLiteral("Rechnung ") + cardKey.trimmed();
    if (!invoiceDate.trimmed().isEmpty())
        t.remittance += QStringLiteral(" vom ") + invoiceDate.trimmed();
    return t;
}

bool Enabled(const KeyValueSettings& options)
{
    QString value;
    if (!options.Read(QStringLiteral("Optionen"), QStringLiteral("GiroCodeChk"), &value))
        return true;
    return value.trimmed().toUpper() != QLatin1String("FALSE");
}

MonoBitmap Encode(const QByteArray& data)
{
    MonoBitmap bitmap;
    QRcode* code = QRcode_encodeData(static_cast<int>(data.size()),
                                     reinterpret_cast<const unsigned char*>(data.constData()), 0,
                                     QR_ECLEVEL_M);
    if (!code)
        return bitmap;
    // Four modules of quiet zone on every side, as readers expect.
    const int quiet = 4;
    bitmap.width = bitmap.height = code->width + 2 * quiet;
    bitmap.dark.assign(static_cast<size_t>(bitmap.width) * bitmap.height, false);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1)
                bitmap.dark[static_cast<size_t>(y + quiet) * bitmap.width + x + quiet] = true;
        }
    }
    QRcode_free(code);
    return bitmap;
}

}  // namespace girocode
