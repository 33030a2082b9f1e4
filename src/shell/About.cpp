#include "shell/About.h"

#include <QDir>

#ifndef TALVEN_VERSION
#define TALVEN_VERSION "0.0"
#endif

QString ProgramVersion()
{
    return QStringLiteral(TALVEN_VERSION);
}

QString AboutText(const QString& dataFolder, const QString& qtVersion)
{
    return QStringLiteral(
               "Talven %1\rTierarztpraxis-Verwaltung\r\r"
               "Lizenz: proprietär, alle Rechte vorbehalten.\r"
               "Verwendet Qt %2 (LGPL-3.0) und libcurl (curl-Lizenz).\r\r"
               "Datenordner:\r%3")
        .arg(ProgramVersion(), qtVersion, QDir::toNativeSeparators(dataFolder));
}
