#include "common/CodePage.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cstring>

namespace cp1252 {
namespace {

// Codes 0x80-0x9F; the rest of the page equals Latin-1. Unassigned codes map to
// themselves (as the Windows converter does).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned char CodeOf(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

// Whether any byte is 0x80 or above, eight at a time: most lines are plain ASCII.
bool HasHighBytes(const char* data, qsizetype size)
{
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word = 0;
        std::memcpy(&word, data + i, sizeof word);
        if (word & 0x8080808080808080ull)
            return true;
    }
    for (; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return true;
    }
    return false;
}

}  // namespace

QChar FromCode(unsigned char code)
{
    if (code >= 0x80 && code < 0xA0)
        return QChar(kHigh[code - 0x80]);
    return QChar(char16_t(code));
}

unsigned char Code(QChar ch)
{
    return CodeOf(ch.unicode());
}

QString Decode(const char* data, qsizetype size)
{
    if (size <= 0)
        return QString(0, Qt::Uninitialized);
    // Latin-1 but for 0x80-0x9F, which only lines with high bytes need looked at.
    QString out = QString::fromLatin1(data, size);
    if (HasHighBytes(data, size)) {
        QChar* dst = out.data();
        for (qsizetype i = 0; i < size; ++i) {
            const auto c = static_cast<unsigned char>(data[i]);
            if (c >= 0x80 && c < 0xA0)
                dst[i] = QChar(kHigh[c - 0x80]);
        }
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
        dst[i] = static_cast<char>(CodeOf(src[i].unicode()));
    return out;
}

QStringList SplitLines(const char* data, qsizetype size)
{
    QStringList lines;
    const char* const end = data + size;
    // The next CR and the next LF, each searched again only once the line passed it.
    const auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, size_t(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    const char* p = data;
    const char* cr = size > 0 ? next(p, '\r') : end;
    const char* lf = size > 0 ? next(p, '\n') : end;
    while (p < end) {
        if (cr < p)
            cr = next(p, '\r');
        if (lf < p)
            lf = next(p, '\n');
        const char* eol = std::min(cr, lf);
        lines.append(Decode(p, eol - p));
        if (eol == end)
            break;
        p = eol + 1;
        if (*eol == '\r' && p < end && *p == '\n')
            ++p;
    }
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
        const char16_t* src = reinterpret_cast<const char16_t*>(line.constData());
        const qsizetype n = line.size();
        qsizetype i = 0;
        // Four ASCII characters at a time; anything else goes through the code table.
        while (i < n) {
            quint64 four = 0;
            if (i + 4 <= n) {
                std::memcpy(&four, src + i, sizeof four);
                if ((four & 0xFF80FF80FF80FF80ull) == 0) {
                    for (int k = 0; k < 4; ++k)
                        *dst++ = static_cast<char>(four >> (16 * k));
                    i += 4;
                    continue;
                }
            }
            *dst++ = static_cast<char>(CodeOf(src[i++]));
        }
        *dst++ = '\r';
        *dst++ = '\n';
    }
    return out;
}

}  // namespace cp1252
