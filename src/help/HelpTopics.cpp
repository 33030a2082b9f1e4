#include "help/HelpTopics.h"

#include <QFile>
#include <QFileInfo>

#include "platform/Files.h"

namespace help {

namespace {

// A page is usable when it can be read and is HTML, not a broken or empty copy.
bool Readable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(4096).contains("<html");
}

}  // namespace

QString HelpFolder(const QString& programFolder)
{
    QString folder = programFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return files::FindCaseInsensitive(folder, QStringLiteral("hilfe")) + QLatin1Char('/');
}

bool HelpAvailable(const QString& programFolder)
{
    return QFileInfo::exists(HelpFolder(programFolder) + QLatin1String(kContents) +
                             QStringLiteral(".html"));
}

QString PageFor(const QString& programFolder, const QString& topic)
{
    const QString folder = HelpFolder(programFolder);
    for (const QString& name : {topic, QString::fromLatin1(kContents)}) {
        const QString path = folder + name + QStringLiteral(".html");
        if (!name.isEmpty() && Readable(path))
            return path;
    }
    return {};
}

}  // namespace help
