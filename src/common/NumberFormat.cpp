#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
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

bool TryStrToFloat(const QString& text, long double* value)
{
    const QString t = text.trimmed();
    std::string s;
    s.reserve(size_t(t.size()));
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        s.push_back(char(t[i++].unicode()));
    int mantissaDigits = 0;
    while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
        s.push_back(char(t[i++].unicode()));
        ++mantissaDigits;
    }
    if (i < n && t[i] == QLatin1Char(',')) {
        s.push_back('.');
        ++i;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            s.push_back(char(t[i++].unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        s.push_back('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            s.push_back(char(t[i++].unicode()));
        int expDigits = 0;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            s.push_back(char(t[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;

    const char* begin = s.data();
    if (*begin == '+')
        ++begin;
    long double parsed = 0;
    const auto result = std::from_chars(begin, s.data() + s.size(), parsed);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size())
        return false;
    *value = parsed;
    return true;
}

bool TryStrToInt(const QString& text, int* value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const int parsed = t.toInt(&ok, 10);
    if (!ok)
        return false;
    *value = parsed;
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
