#include "texts/Macros.h"

#include "settings/IniFile.h"

namespace macros {

QList<Macro> Read(const IniFile& ini)
{
    QList<Macro> list;
    for (const QString& key : ini.ReadSection(kSection))
        list.append({key, ini.ReadString(kSection, key)});
    return list;
}

bool Write(IniFile& ini, const QList<Macro>& list)
{
    IniBatch batch(ini);
    bool ok = ini.EraseSection(kSection);
    for (const Macro& m : list) {
        if (!m.letter.isEmpty())
            ok = ini.WriteString(kSection, m.letter, m.text) && ok;
    }
    return batch.Commit() && ok;
}

std::optional<QString> Lookup(const IniFile& ini, QChar letter)
{
    if (!UsableLetter(letter) || !ini.ValueExists(kSection, QString(letter)))
        return std::nullopt;
    return ini.ReadString(kSection, QString(letter));
}

bool UsableLetter(QChar letter)
{
    return letter.isPrint() && !letter.isSpace() && letter != QLatin1Char('=') &&
           letter != QLatin1Char(';') && letter != QLatin1Char('[') && letter != QLatin1Char(']');
}

}  // namespace macros
