#include "printing/qt/QtMailPort.h"

#include <QDesktopServices>
#include <QUrl>

bool QtMailPort::Compose(const QString& mailto)
{
    return QDesktopServices::openUrl(QUrl(mailto, QUrl::StrictMode));
}
