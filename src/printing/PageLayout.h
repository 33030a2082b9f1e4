#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "printing/LayoutStore.h"
#include "printing/PrintCanvas.h"

// Storage rules shared by the page layout forms.
namespace pagelayout {

struct Key {
    QString name;
    QString fallback;
};

// Reads a section's expected keys in their fixed order: a stored key is taken only when it
// stands at the position the reading has reached; otherwise the default is used and the
// position stays. Returns false for an empty section, leaving values untouched.
bool LoadOrdered(const LayoutStore& store, const QString& section, const QList<Key>& keys,
                 QStringList& values);
// Erases the section, then writes the keys in order.
void SaveOrdered(LayoutStore& store, const QString& section, const QList<Key>& keys,
                 const QStringList& values);

// A font in the section named section + "Fonts" + name; keys missing keep current's values.
PrintFont LoadFont(const LayoutStore& store, const QString& section, const QString& name,
                   const PrintFont& current);
void SaveFont(LayoutStore& store, const QString& section, const QString& name,
              const PrintFont& font);

// Centimetres with a decimal comma to millimetres, fraction cut off; fallback for a text
// that is no number.
int CmToMm(const QString& centimetres, int fallbackMm);
// Margin and distance fields take digits and the decimal comma only.
bool AcceptsMeasureChar(QChar ch);

inline QString BoolText(bool on)
{
    return on ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}
inline bool IsTrue(const QString& text)
{
    return text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
}

}  // namespace pagelayout
