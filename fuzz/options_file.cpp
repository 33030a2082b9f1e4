// The options file as any editor or older version may have left it: reading never crashes,
// a value written is read back as written, the other sections stay as they were, and an
// erased section is gone.
#include <QHash>
#include "FuzzSupport.h"

#include "settings/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::WriteInput(QStringLiteral("TLV.INI"), data, size);
    IniFile ini(path);
    const QStringList sections = ini.ReadSections();
    for (const QString& section : sections) {
        for (const QString& key : ini.ReadSection(section)) {
            (void)ini.ReadString(section, key);
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadFloat(section, key, 0);
            (void)ini.ReadBool(section, key, false);
        }
    }
    const QString first = sections.value(0, QStringLiteral("Optionen"));
    QHash<QString, QStringList> before;
    for (const QString& section : sections)
        before.insert(section.toUpper(), ini.ReadSection(section));
    for (const QString& section : sections) {
        if (section.compare(QStringLiteral("Fuzz"), Qt::CaseInsensitive) == 0)
            return 0;  // the value written would join what is there
    }
    if (ini.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Wert"), QStringLiteral("a=b ;c"))) {
        IniFile reread(path);
        fuzz::Check(reread.ReadString(QStringLiteral("Fuzz"), QStringLiteral("Wert")) ==
                        QStringLiteral("a=b ;c"),
                    "a written value reads back");
        for (const QString& section : sections) {
            if (section.compare(QStringLiteral("Fuzz"), Qt::CaseInsensitive) != 0)
                fuzz::Check(reread.ReadSection(section) == before.value(section.toUpper()),
                            "a write leaves the other sections");
        }
    }
    int headers = 0;  // a name given twice: erasing the first shows the second
    for (const QString& section : sections)
        headers += section.compare(first, Qt::CaseInsensitive) == 0;
    if (headers == 1 && ini.EraseSection(first)) {
        IniFile reread(path);
        fuzz::Check(reread.ReadSection(first).isEmpty(), "an erased section is gone");
    }
    return 0;
}
