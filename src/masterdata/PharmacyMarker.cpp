#include "masterdata/PharmacyMarker.h"

namespace pharmacy {

namespace {
const char* const kSpacedForms[] = {"( A )", "( A)", "(A )"};
}

bool ContainsMarker(const QString& text)
{
    if (text.contains(QLatin1String("(A)")))
        return true;
    for (const char* form : kSpacedForms)
        if (text.contains(QLatin1String(form)))
            return true;
    return false;
}

bool StripLeadingMarkers(QString& text)
{
    bool plain = false;
    for (;;) {
        qsizetype blanks = 0;
        while (blanks < text.size() && text.at(blanks) == QLatin1Char(' '))
            ++blanks;
        text.remove(0, blanks);
        if (text.startsWith(QLatin1String("(A)"))) {
            text.remove(0, 3);
            plain = true;
            continue;
        }
        bool removed = false;
        for (const char* form : kSpacedForms) {
            if (text.startsWith(QLatin1String(form))) {
                text.remove(0, qsizetype(qstrlen(form)));
                removed = true;
                break;
            }
        }
        if (!removed)
            return plain;
    }
}

QString WithMarker(const QString& text)
{
    return text.contains(QLatin1String("(A)")) ? text : QStringLiteral("(A) ") + text;
}

}  // namespace pharmacy
