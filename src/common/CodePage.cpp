#include "common/CodePage.h"

#include <QFile>
#include <array>

namespace cp1252 {
namespace {

// Codes 0x80-0x9F; the rest of the page equals Latin-1. Unassigned codes map to
// themselves (as the Windows converter does).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QChar FromCode(unsigned char code)
{
    if (code >= 0x80 && code < 0xA0)
        return QChar(kHigh[code - 0x80]);
    return QChar(char16_t(code));
}

unsigned char Code(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

QString Decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        dst[i] = (c >= 0x80 && c < 0xA0) ? QChar(kHigh[c - 0x80]) : QChar(char16_t(c));
    }
    return out;
}

QString Decode(const QByteArray& bytes)
{
    return Decode(bytes.constData(), bytes.size());
}

QByteArray Encode(const QString& text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    const QChar* src = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        dst[i] = static_cast<char>(Code(src[i]));
    return out;
}

QStringList SplitLines(const char* data, qsizetype size)
{
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < size) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.append(Decode(data + start, i - start));
            if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < size)
        lines.append(Decode(data + start, size - start));
    return lines;
}

QStringList SplitLines(const QByteArray& bytes)
{
    return SplitLines(bytes.constData(), bytes.size());
}

bool ReadLines(const QString& path, QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    lines = SplitLines(bytes);
    return true;
}

QByteArray JoinLines(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    QByteArray out(total, Qt::Uninitialized);
    char* dst = out.data();
    for (const QString& line : lines) {
        const QChar* src = line.constData();
        for (qsizetype i = 0; i < line.size(); ++i)
            *dst++ = static_cast<char>(Code(src[i]));
        *dst++ = '\r';
        *dst++ = '\n';
    }
    return out;
}

}  // namespace cp1252
