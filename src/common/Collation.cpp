#include "common/Collation.h"

#include "common/CodePage.h"

#include <QtGlobal>
#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace {

// Base letter of an umlaut, 0 for any other character.
char UmlautBase(char16_t c)
{
    switch (c) {
        case u'Ä':
            return 'A';
        case u'Ö':
            return 'O';
        case u'Ü':
            return 'U';
        case u'ä':
            return 'a';
        case u'ö':
            return 'o';
        case u'ü':
            return 'u';
        default:
            return 0;
    }
}

// The code a character compares by: a-z folded to upper case, the rest as its 1252 code.
unsigned char Folded(char16_t u)
{
    if (u >= 'a' && u <= 'z')
        return static_cast<unsigned char>(u - ('a' - 'A'));
    if (u < 0x80)
        return static_cast<unsigned char>(u);
    return cp1252::Code(QChar(u));
}

// Produces the codes of a text as the collation sees them; umlauts expand to base letter
// plus blank while the text (blanks included) is not longer than 249 characters.
class CollationStream {
public:
    explicit CollationStream(QStringView text) : m_text(text), m_length(text.size()) {}

    // Next code, or -1 at the end.
    int Next()
    {
        if (m_pendingBlank) {
            m_pendingBlank = false;
            return ' ';
        }
        if (m_pos >= m_text.size())
            return -1;
        const char16_t u = m_text[m_pos++].unicode();
        if (m_length <= 249) {
            if (const char base = UmlautBase(u)) {
                ++m_length;
                m_pendingBlank = true;
                return Folded(char16_t(base));
            }
        }
        return Folded(u);
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_length;
    bool m_pendingBlank = false;
};

}  // namespace

int CompareUmlaut(QStringView a, QStringView b)
{
    CollationStream sa(a);
    CollationStream sb(b);
    for (;;) {
        const int ca = sa.Next();
        const int cb = sb.Next();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca < 0)
            return 0;
    }
}

namespace {

// Folded codes of U+0000 to U+00FF, the characters of nearly every line, with the
// umlauts' base letters folded in place and a flag for the blank that follows them.
struct FoldEntry {
    unsigned char code;     // the base letter's for an umlaut
    unsigned char expands;  // 1 for an umlaut
    unsigned char plain;    // the character's own, once umlauts no longer expand
};

struct FoldTable {
    FoldEntry entry[256];
    FoldTable()
    {
        for (int u = 0; u < 256; ++u) {
            const char base = UmlautBase(char16_t(u));
            entry[u] = {base ? Folded(char16_t(base)) : Folded(char16_t(u)),
                        static_cast<unsigned char>(base ? 1 : 0), Folded(char16_t(u))};
        }
    }
};

const FoldTable& Fold()
{
    static const FoldTable table;
    return table;
}

}  // namespace

qsizetype CollationKeyBound(qsizetype size)
{
    return size + std::min(size, std::max<qsizetype>(0, 250 - size));
}

namespace {

// Writes the key of the text until at least `stop` is reached or the text ends; `*whole`
// tells which. Umlauts expand while the text has grown to no more than 249 characters.
// Eight characters are written at once where fewer are kept: the room of a whole key has
// the bytes to spare, and of a head eight bytes more.
char* WriteKey(QStringView text, char* out, const char* stop, bool* whole)
{
    const FoldEntry* const fold = Fold().entry;
    const QChar* it = text.data();
    const QChar* const end = it + text.size();
    qsizetype length = text.size();
    while (it != end && out < stop) {
#if defined(__SSE2__) || defined(_M_X64)
        // Eight characters at a time, a-z upper-cased in all lanes at once, as far as they are
        // ASCII: most of a table's text is.
        while (end - it >= 8 && out < stop) {
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(it));
            const __m128i high = _mm_and_si128(w, _mm_set1_epi16(static_cast<short>(0xFF80)));
            const unsigned ascii = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())));
            const __m128i lower = _mm_and_si128(_mm_cmpgt_epi16(w, _mm_set1_epi16('a' - 1)),
                                                _mm_cmplt_epi16(w, _mm_set1_epi16('z' + 1)));
            const __m128i folded = _mm_sub_epi16(w, _mm_and_si128(lower, _mm_set1_epi16(0x20)));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(folded, folded));
            if (ascii == 0xFFFF) {
                out += 8;
                it += 8;
                continue;
            }
            const int kept = std::countr_zero(~ascii) / 2;
            out += kept;
            it += kept;
            break;
        }
#else
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            // Four ASCII characters at a time, a-z upper-cased in all four lanes at once.
            while (end - it >= 4 && out < stop) {
                quint64 w;
                std::memcpy(&w, it, 8);
                if ((w & 0xFF80FF80FF80FF80ULL) != 0)
                    break;
                const quint64 lower = (w + 0x001F001F001F001FULL) & ~(w + 0x0005000500050005ULL) &
                                      0x0080008000800080ULL;
                w -= lower >> 2;
                w = (w | (w >> 8)) & 0x0000FFFF0000FFFFULL;
                w = (w | (w >> 16)) & 0x00000000FFFFFFFFULL;
                const quint32 bytes = static_cast<quint32>(w);
                std::memcpy(out, &bytes, 4);
                out += 4;
                it += 4;
            }
        }
#endif
        if (it == end || out >= stop)
            break;
        const char16_t u = it->unicode();
        if (u >= 256) {
            *out++ = static_cast<char>(Folded(u));
        } else if (const FoldEntry e = fold[u]; e.expands && length <= 249) {
            out[0] = static_cast<char>(e.code);
            out[1] = ' ';
            out += 2;
            ++length;
        } else {
            *out++ = static_cast<char>(e.plain);
        }
        ++it;
    }
    *whole = it == end;
    return out;
}

}  // namespace

char* WriteCollationKey(QStringView text, char* out)
{
    bool whole = false;
    return WriteKey(text, out, out + CollationKeyBound(text.size()) + 1, &whole);
}

char* WriteCollationKeyHead(QStringView text, qsizetype bytes, char* out, bool& whole)
{
    return WriteKey(text, out, out + bytes, &whole);
}

void AppendCollationKey(QStringView text, std::string& out)
{
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(CollationKeyBound(text.size())));
    char* end = WriteCollationKey(text, out.data() + start);
    out.resize(static_cast<size_t>(end - out.data()));
}
