#include "shell/ServiceCode.h"

namespace {

// The service code, scrambled.
constexpr char kGoBdServiceCodeScrambled[] = "%VCNXGP/IQDF/UGTXKEG%";

QString Shift(const QString& text, int by)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out.append(QChar(char16_t(c.unicode() + by)));
    return out;
}

}  // namespace

QString Scramble(const QString& plain)
{
    return Shift(plain, 2);
}

QString Unscramble(const QString& scrambled)
{
    return Shift(scrambled, -2);
}

bool GoBdSwitchVisible(const QString& practiceName)
{
    return !practiceName.isEmpty() &&
           practiceName == Unscramble(QLatin1String(kGoBdServiceCodeScrambled));
}
