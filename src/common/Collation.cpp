#include "common/Collation.h"

#include "common/CodePage.h"

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

void AppendCollationKey(QStringView text, std::string& out)
{
    qsizetype length = text.size();
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (length <= 249) {
            if (const char base = UmlautBase(u)) {
                out.push_back(static_cast<char>(Folded(char16_t(base))));
                out.push_back(' ');
                ++length;
                continue;
            }
        }
        out.push_back(static_cast<char>(Folded(u)));
    }
}
