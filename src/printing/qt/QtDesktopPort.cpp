#include "printing/qt/QtDesktopPort.h"

#include <QDesktopServices>
#include <QUrl>

bool QtDesktopPort::Open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
