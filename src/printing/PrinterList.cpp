#include "printing/PrinterList.h"

#include <QDateTime>

#include "common/UserPort.h"

bool CheckPrinterReachable(const PrinterList& printers, const QString& current, UserPort& port)
{
    if (!current.isEmpty() && printers.IsReachable(current)) {
        return true;
    }
    for (const QString& name : printers.PrinterNames()) {
        if (printers.IsReachable(name)) {
            return true;
        }
    }
    port.Message(MsgKind::Error,
                 QStringLiteral("Es ist derzeit kein Standard-Drucker erreichbar -\rTALVEN kann "
                                "daher keine Druckaufträge ausführen!\r\rBitte Drucker "
                                "aktivieren und TALVEN neu starten!"));
    return false;
}

QString PdfFileNameForJob(const QString& title, const QDateTime& stamp)
{
    QString name;
    for (QChar ch : title.trimmed()) {
        // Characters that file systems refuse or that separate folders.
        if (ch.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(ch)) {
            name += QLatin1Char('-');
        } else {
            name += ch;
        }
    }
    if (name.isEmpty()) {
        name = QStringLiteral("Druck");
    }
    return name + QLatin1Char('_') + stamp.toString(QStringLiteral("yyyyMMdd_HHmmss")) +
           QStringLiteral(".pdf");
}
