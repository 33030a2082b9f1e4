#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

struct Pattern {
    int intDigits = 1;
    int decimals = 0;
};

Pattern ParsePattern(const QString& pattern)
{
    Pattern p;
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        p.intDigits = int(pattern.count(QLatin1Char('0')));
    } else {
        p.intDigits = int(pattern.left(dot).count(QLatin1Char('0')));
        p.decimals = int(pattern.mid(dot + 1).count(QLatin1Char('0')));
    }
    return p;
}

// Adds one unit to the last digit of a decimal digit string.
void IncrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

QString FormatFloat(const QString& pattern, long double value)
{
    const Pattern p = ParsePattern(pattern);
    if (!std::isfinite(value))
        return value != value ? QStringLiteral("NAN") : QStringLiteral("INF");

    // 18 significant digits, the precision of an extended value: "d.ddd...e+XX".
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", value);
    const bool negative = buf[0] == '-';
    const char* s = buf + (negative ? 1 : 0);
    std::string digits;
    digits.reserve(20);
    digits.push_back(s[0]);
    digits.append(s + 2, 17);
    const int exponent = std::atoi(s + 20);  // after "d.ddddddddddddddddde"

    // Keep the digits up to the last decimal place; round on the next one.
    const int keep = exponent + 1 + p.decimals;
    std::string scaled;  // value * 10^decimals as an integer digit string
    if (keep < 0) {
        scaled = "0";
    } else if (keep >= int(digits.size())) {
        scaled = digits + std::string(size_t(keep) - digits.size(), '0');
    } else {
        scaled = digits.substr(0, size_t(keep));
        if (scaled.empty())
            scaled = "0";
        if (digits[size_t(keep)] >= '5')
            IncrementDigits(scaled);
    }
    while (scaled.size() > 1 && scaled[0] == '0')
        scaled.erase(scaled.begin());

    if (int(scaled.size()) <= p.decimals)
        scaled.insert(0, size_t(p.decimals) + 1 - scaled.size(), '0');
    std::string intPart = scaled.substr(0, scaled.size() - size_t(p.decimals));
    const std::string fracPart = scaled.substr(scaled.size() - size_t(p.decimals));
    while (int(intPart.size()) > 1 && intPart[0] == '0' && int(intPart.size()) > p.intDigits)
        intPart.erase(intPart.begin());
    if (int(intPart.size()) < p.intDigits)
        intPart.insert(0, size_t(p.intDigits) - intPart.size(), '0');
    if (p.intDigits == 0 && intPart == "0" && p.decimals > 0)
        intPart.clear();

    const bool isZero = scaled.find_first_not_of('0') == std::string::npos;
    QString out;
    if (negative && !isZero)
        out += QLatin1Char('-');
    out += QLatin1String(intPart.data(), qsizetype(intPart.size()));
    if (p.decimals > 0) {
        out += QLatin1Char(',');
        out += QLatin1String(fracPart.data(), qsizetype(fracPart.size()));
    }
    return out;
}

namespace {

bool IsAsciiDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// The text between leading and trailing blanks; only the blank itself counts as one, so a
// TAB or line break keeps a text from being a number.
QStringView WithoutBlanks(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return QStringView(text).mid(from, to - from);
}

// An optional sign, digits with at most one decimal comma and, where `exponent` allows it,
// an exponent ("E-17"). Anything else is refused.
bool ParseDecimal(const QString& text, bool exponent, long double* value)
{
    const QStringView t = WithoutBlanks(text);
    std::string s;
    s.reserve(size_t(t.size()));
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        if (t[i] == QLatin1Char('-'))
            s.push_back('-');
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && IsAsciiDigit(t[i])) {
        s.push_back(char(t[i++].unicode()));
        ++mantissaDigits;
    }
    if (i < n && t[i] == QLatin1Char(',')) {
        s.push_back('.');
        ++i;
        while (i < n && IsAsciiDigit(t[i])) {
            s.push_back(char(t[i++].unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (exponent && i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        s.push_back('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            s.push_back(char(t[i++].unicode()));
        int expDigits = 0;
        while (i < n && IsAsciiDigit(t[i])) {
            s.push_back(char(t[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;

    long double parsed = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), parsed);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size())
        return false;
    *value = parsed;
    return true;
}

}  // namespace

bool TryStrToFloat(const QString& text, long double* value)
{
    return ParseDecimal(text, false, value);
}

bool TryStrToFloatGeneral(const QString& text, long double* value)
{
    return ParseDecimal(text, true, value);
}

bool TryStrToInt(const QString& text, int* value)
{
    const QStringView t = WithoutBlanks(text);
    qsizetype i = 0;
    const bool negative = !t.isEmpty() && t[0] == QLatin1Char('-');
    if (!t.isEmpty() && (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')))
        ++i;
    if (i == t.size())
        return false;
    qint64 parsed = 0;
    for (; i < t.size(); ++i) {
        if (!IsAsciiDigit(t[i]))
            return false;
        parsed = parsed * 10 + (t[i].unicode() - '0');
        if (parsed > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        parsed = -parsed;
    if (parsed > std::numeric_limits<int>::max() || parsed < std::numeric_limits<int>::min())
        return false;
    *value = int(parsed);
    return true;
}

long double Trunc(long double value)
{
    return std::trunc(value);
}

long double Round(long double value)
{
    return std::nearbyint(value);  // default rounding mode: halves to even
}

long double RoundCents(long double value)
{
    long double rounded = 0;
    TryStrToFloat(FormatFloat(QStringLiteral("0.00"), value), &rounded);
    return rounded;
}

bool TryStrToCents(QStringView text, long double* value)
{
    // Up to 15 digits the value read and written again with 18 significant digits is the
    // text itself, so rounding the text's digits is what RoundCents does. Signs other than
    // a leading '-', blanks and longer texts take the long way.
    const qsizetype n = text.size();
    qsizetype i = n > 0 && text[0] == QLatin1Char('-') ? 1 : 0;
    const bool negative = i == 1;
    quint64 units = 0;
    int digits = 0;
    while (i < n && IsAsciiDigit(text[i])) {
        units = units * 10 + quint64(text[i++].unicode() - '0');
        ++digits;
    }
    const int whole = digits;
    int fraction[3] = {0, 0, 0};
    if (whole > 0 && i < n && text[i] == QLatin1Char(',')) {
        ++i;
        int places = 0;
        while (i < n && IsAsciiDigit(text[i])) {
            if (places < 3)
                fraction[places] = text[i].unicode() - '0';
            ++places;
            ++digits;
            ++i;
        }
        if (places == 0)
            digits = 99;
    }
    if (whole == 0 || i != n || digits > 15) {
        long double parsed = 0;
        if (!TryStrToFloat(text.toString(), &parsed))
            return false;
        *value = RoundCents(parsed);
        return true;
    }
    const quint64 cents =
        units * 100 + quint64(fraction[0] * 10 + fraction[1]) + (fraction[2] >= 5 ? 1 : 0);
    const long double rounded = static_cast<long double>(cents) / 100.0L;
    *value = negative && cents > 0 ? -rounded : rounded;  // a rounded zero has no sign
    return true;
}
