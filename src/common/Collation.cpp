#include "common/Collation.h"

#include "common/CodePage.h"

namespace {

// Produces the characters of a text as the collation sees them: umlauts expanded to
// base letter plus blank while the text is not longer than 249 characters, letters
// a-z folded to upper case, everything as its code page 1252 code.
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
            char16_t base = 0;
            switch (u) {
                case u'Ä':
                    base = 'A';
                    break;
                case u'Ö':
                    base = 'O';
                    break;
                case u'Ü':
                    base = 'U';
                    break;
                case u'ä':
                    base = 'a';
                    break;
                case u'ö':
                    base = 'o';
                    break;
                case u'ü':
                    base = 'u';
                    break;
                default:
                    break;
            }
            if (base) {
                ++m_length;
                m_pendingBlank = true;
                return Fold(base);
            }
        }
        return Fold(u);
    }

private:
    static int Fold(char16_t u)
    {
        if (u >= 'a' && u <= 'z')
            return u - ('a' - 'A');
        if (u < 0x80)
            return u;
        return cp1252::Code(QChar(u));
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_length;  // length of the text with the blanks inserted so far
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
