#include "download/DownloadRules.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "common/KeyValueSettings.h"
#include "common/UserPort.h"

namespace download {

namespace {

const QString kSection = QString::fromLatin1(kDownloadSection);
const QString kNoListDate = QStringLiteral("31.12.2000");

QString DateKey(ListSource source)
{
    return source == ListSource::Wdt ? QStringLiteral("DatumWDT") : QStringLiteral("DatumBarsoi");
}

QString Setting(const KeyValueSettings& settings, const QString& key)
{
    QString value;
    settings.Read(kSection, key, &value);
    return value;
}

QDate ParseDate(const QString& text)
{
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

QString DownloadFolder(const QString& standardPath, ListSource source)
{
    QString folder = standardPath;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder +
           (source == ListSource::Wdt ? QStringLiteral("WDT/") : QStringLiteral("BARSOI/"));
}

bool EnsureDownloadFolder(const QString& standardPath, ListSource source, UserPort& port)
{
    if (standardPath.isEmpty() || !QDir::isAbsolutePath(standardPath)) {
        port.Message(MsgKind::Error, QStringLiteral("Pfadangabe ungültig !"));
        return false;
    }
    // "/a/b" splits into "", "a", "b" and "C:/a" into "C:", "a": the first part is the root.
    QStringList levels =
        QDir::cleanPath(QDir::fromNativeSeparators(DownloadFolder(standardPath, source)))
            .split(QLatin1Char('/'));
    QString path = levels.takeFirst();
    for (const QString& level : levels) {
        path += QLatin1Char('/') + level;
        if (QFileInfo(path).isDir())
            continue;
        if (!QDir().mkdir(path)) {
            port.Message(MsgKind::Error, QStringLiteral("Pfad: ") + path +
                                             QStringLiteral(" kann nicht erzeugt werden!") +
                                             QStringLiteral("Laufwerk-Fehler ?! Schreibschutz ?!"));
            return false;
        }
    }
    return true;
}

bool IsWdtArticleFile(const QString& name)
{
    return name.contains(QStringLiteral("ART_"), Qt::CaseInsensitive) &&
           name.contains(QStringLiteral("txt"), Qt::CaseInsensitive);
}

bool IsWdtPriceFile(const QString& name)
{
    return name.contains(QStringLiteral("PRS_"), Qt::CaseInsensitive) &&
           name.contains(QStringLiteral("txt"), Qt::CaseInsensitive);
}

QString WdtListDate(const QString& articleName)
{
    return articleName.mid(10, 2) + QLatin1Char('.') + articleName.mid(8, 2) + QLatin1Char('.') +
           articleName.mid(4, 4);
}

QString NewestWdtListDate(const QStringList& names)
{
    QString newest;
    QDate newestDate;
    for (const QString& name : names) {
        if (!IsWdtArticleFile(name))
            continue;
        const QString date = WdtListDate(name);
        const QDate d = ParseDate(date);
        if (newest.isEmpty() || (d.isValid() && (!newestDate.isValid() || d > newestDate))) {
            newest = date;
            newestDate = d;
        }
    }
    return newest;
}

QString BarsoiXmlDate(const QByteArray& body)
{
    const qsizetype at = body.indexOf("<daten>");
    if (at < 0)
        return {};
    return QString::fromLatin1(body.mid(at + 7, 10));
}

QString RememberedListDate(const KeyValueSettings& settings, ListSource source)
{
    const QString date = Setting(settings, DateKey(source));
    return date.isEmpty() ? kNoListDate : date;
}

void RememberListDate(KeyValueSettings& settings, ListSource source, const QString& date)
{
    settings.Write(kSection, DateKey(source), date);
}

bool ListStillCurrent(const QString& remembered, const QString& listDate)
{
    const QDate known = ParseDate(remembered);
    const QDate list = ParseDate(listDate);
    return known.isValid() && list.isValid() && known >= list;
}

QString LastBarsoiFile(const KeyValueSettings& settings)
{
    const QString file = Setting(settings, QStringLiteral("BarsoiDatei"));
    return file.compare(QLatin1String(kBarsoiXml), Qt::CaseInsensitive) == 0
               ? QString::fromLatin1(kBarsoiXml)
               : QString::fromLatin1(kBarsoiText);
}

void RememberBarsoiFile(KeyValueSettings& settings, const QString& fileName)
{
    settings.Write(kSection, QStringLiteral("BarsoiDatei"), fileName);
}

QString WdtServer(const KeyValueSettings& settings)
{
    const QString server = Setting(settings, QStringLiteral("WDTServer"));
    return server.isEmpty() ? QString::fromLatin1(kDefaultWdtServer) : server;
}

QString WdtUser(const QString& serverUrl)
{
    return QUrl(serverUrl).host();
}

QString BarsoiRequestAddress(const QString& addressTemplate, const QString& user,
                             const QString& password, const QString& fileName)
{
    const qsizetype firstEquals = addressTemplate.indexOf(QLatin1Char('='));
    const qsizetype ampersands = addressTemplate.indexOf(QStringLiteral("&&"));
    const qsizetype nextEquals =
        ampersands < 0 ? -1 : addressTemplate.indexOf(QLatin1Char('='), ampersands);
    if (firstEquals < 0 || ampersands < firstEquals || nextEquals < 0)
        return {};
    const auto encode = [](const QString& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text));
    };
    QString address = addressTemplate.left(firstEquals + 1) + encode(user) +
                      addressTemplate.mid(ampersands, nextEquals - ampersands + 1).toLower() +
                      encode(password) + addressTemplate.mid(nextEquals + 1).toLower() + fileName;
    if (fileName.endsWith(QStringLiteral(".TXT"), Qt::CaseInsensitive))
        address += QStringLiteral("&product=bl_pr_evk");
    return address;
}

QString SecureAddress(const QString& address)
{
    if (!address.startsWith(QStringLiteral("HTTP:"), Qt::CaseInsensitive))
        return address;
    return address.left(4) + QLatin1Char('s') + address.mid(4);
}

bool IsPlainHttp(const QString& addressTemplate)
{
    return addressTemplate.trimmed().startsWith(QStringLiteral("http:"), Qt::CaseInsensitive);
}

void WarnAboutPlainHttpOnce(const QString& addressTemplate, KeyValueSettings& settings,
                            UserPort& port)
{
    const QString key = QStringLiteral("HttpGewarnt");
    if (!IsPlainHttp(addressTemplate) || Setting(settings, key) == addressTemplate)
        return;
    port.Message(MsgKind::Warning,
                 QStringLiteral("Die Download-Adresse in den Systemoptionen beginnt mit "
                                "\"http://\":\rBenutzername und Passwort gehen dann "
                                "unverschlüsselt durch das Internet.\r\rBitte tragen Sie "
                                "unter \"Ext. Dok.\" eine Adresse mit \"https://\" ein."));
    settings.Write(kSection, key, addressTemplate);
}

}  // namespace download
