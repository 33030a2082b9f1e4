#include "printing/PageLayout.h"

#include <cmath>

#include "common/NumberFormat.h"

namespace pagelayout {

bool LoadOrdered(const LayoutStore& store, const QString& section, const QList<Key>& keys,
                 QStringList& values)
{
    const QStringList stored = store.SectionKeys(section);
    if (stored.isEmpty()) {
        return false;
    }
    values.clear();
    qsizetype pos = 0;
    for (const Key& key : keys) {
        if (pos < stored.size() && stored[pos] == key.name) {
            values.append(store.Read(section, key.name, key.fallback));
            ++pos;
        } else {
            values.append(key.fallback);
        }
    }
    return true;
}

void SaveOrdered(LayoutStore& store, const QString& section, const QList<Key>& keys,
                 const QStringList& values)
{
    store.EraseSection(section);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        store.Write(section, keys[i].name, values.value(i, keys[i].fallback));
    }
}

namespace {

QString FontSection(const QString& section, const QString& name)
{
    return section + QStringLiteral("Fonts") + name;
}

}  // namespace

PrintFont LoadFont(const LayoutStore& store, const QString& section, const QString& name,
                   const PrintFont& current)
{
    const QString s = FontSection(section, name);
    if (store.SectionKeys(s).isEmpty()) {
        return current;
    }
    PrintFont f = current;
    f.name = store.Read(s, QStringLiteral("Name"), current.name);
    int number = 0;
    if (TryStrToInt(store.Read(s, QStringLiteral("Size"), QString()), &number) && number > 0) {
        f.size = number;
    }
    if (TryStrToInt(store.Read(s, QStringLiteral("Color"), QString()), &number)) {
        f.color = number;
    }
    auto flag = [&](const char* key, bool now) {
        return IsTrue(store.Read(s, QString::fromLatin1(key), BoolText(now)));
    };
    f.bold = flag("StyleBold", current.bold);
    f.italic = flag("StyleItalic", current.italic);
    f.underline = flag("StyleUnderline", current.underline);
    f.strikeOut = flag("StyleStrikeOut", current.strikeOut);
    return f;
}

void SaveFont(LayoutStore& store, const QString& section, const QString& name,
              const PrintFont& font)
{
    const QString s = FontSection(section, name);
    store.EraseSection(s);
    store.Write(s, QStringLiteral("Name"), font.name);
    store.Write(s, QStringLiteral("Size"), QString::number(font.size));
    store.Write(s, QStringLiteral("Color"), QString::number(font.color));
    store.Write(s, QStringLiteral("StyleBold"), BoolText(font.bold));
    store.Write(s, QStringLiteral("StyleItalic"), BoolText(font.italic));
    store.Write(s, QStringLiteral("StyleUnderline"), BoolText(font.underline));
    store.Write(s, QStringLiteral("StyleStrikeOut"), BoolText(font.strikeOut));
}

int CmToMm(const QString& centimetres, int fallbackMm)
{
    long double value = 0;
    if (!TryStrToFloat(centimetres, &value)) {
        return fallbackMm;
    }
    // Cut the fraction of the decimal value, not of its binary neighbour below
    // ("0,7" × 10 must stay 7 even when the product comes out as 6.9999...).
    const long double tenths = std::roundl(value * 10 * 1000000) / 1000000;
    return static_cast<int>(Trunc(tenths));
}

bool AcceptsMeasureChar(QChar ch)
{
    return ch.isDigit() || ch == QLatin1Char(',') || ch.unicode() < 32;
}

}  // namespace pagelayout
