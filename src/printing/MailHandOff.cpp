#include "printing/MailHandOff.h"

#include <QDir>
#include <QUrl>

QString MailtoAddress(const QString& address, const QString& subject, const QString& body,
                      const QString& attachment)
{
    const auto encoded = [](const QString& text, const QByteArray& keep = {}) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
    };
    QString mailto =
        QStringLiteral("mailto:") + encoded(address.trimmed(), QByteArrayLiteral("@")) +
        QStringLiteral("?subject=") + encoded(subject) + QStringLiteral("&body=") + encoded(body);
    if (!attachment.isEmpty())
        mailto += QStringLiteral("&attach=") +
                  encoded(QUrl::fromLocalFile(attachment).toString(QUrl::FullyEncoded));
    return mailto;
}

QString MailBody(const QString& documentName, const QString& pdfPath)
{
    return QStringLiteral(
               "Guten Tag,\n\nanbei erhalten Sie „%1“ als PDF-Datei:\n%2\n\n"
               "Mit freundlichen Grüßen")
        .arg(documentName, QDir::toNativeSeparators(pdfPath));
}
