#include "download/ListDownload.h"

#include <QFile>

#include "common/Clock.h"
#include "common/KeyValueSettings.h"
#include "common/UserPort.h"
#include "download/DrugLists.h"
#include "platform/Files.h"

namespace download {

ListDownload::ListDownload(Context context, std::function<void(const QString&)> line,
                           std::function<void(bool)> finished)
    : m_ctx(std::move(context)),
      m_line(std::move(line)),
      m_finished(std::move(finished)),
      m_self(std::make_shared<ListDownload*>(this))
{
}

ListDownload::~ListDownload()
{
    *m_self = nullptr;
    if (m_running)
        m_ctx.transfer.Cancel();
}

ListTransfer::Done ListDownload::Answer(void (ListDownload::*handler)(const TransferResult&))
{
    std::weak_ptr<ListDownload*> self = m_self;
    return [self, handler](const TransferResult& r) {
        if (const auto alive = self.lock(); alive && *alive)
            ((*alive)->*handler)(r);
    };
}

void ListDownload::StartWdt(const QString& folder, const QString& serverUrl)
{
    m_running = true;
    m_source = ListSource::Wdt;
    m_folder = folder;
    m_files.clear();
    m_account = {serverUrl, WdtUser(serverUrl), QString::fromLatin1(kWdtPassword), false};
    m_line(QStringLiteral("   Verbindung zum Server wird aufgebaut ..."));
    List(false);
}

void ListDownload::List(bool passive)
{
    m_account.passive = passive;
    m_ctx.transfer.FtpList(m_account, Answer(&ListDownload::Listed));
}

void ListDownload::Listed(const TransferResult& r)
{
    switch (r.failure) {
        case TransferFailure::None:
            break;
        case TransferFailure::NoConnection:
        case TransferFailure::LoginDenied:
            m_line(QStringLiteral("   Keine Internet-Verbindung !"));
            return Finish(false);
        case TransferFailure::Cancelled:
            m_line(QStringLiteral("   Download abgebrochen !"));
            return Finish(false);
        default:
            m_ctx.transfer.Disconnect();
            // Only one change of mode: a server that fails in both gives up.
            if (!m_account.passive)
                return List(true);
            m_line(QStringLiteral("   Download fehlgeschlagen !"));
            return Finish(false);
    }
    QStringList articles;
    QStringList prices;
    for (QString name : QString::fromUtf8(r.body).split(QLatin1Char('\n'))) {
        name = name.trimmed().section(QLatin1Char('/'), -1);
        if (IsWdtArticleFile(name))
            articles << name;
        else if (IsWdtPriceFile(name))
            prices << name;
    }
    if (articles.size() + prices.size() < 2 || articles.isEmpty() || prices.isEmpty()) {
        m_ctx.transfer.Disconnect();
        m_line(QStringLiteral("   Download fehlgeschlagen !"));
        return Finish(false);
    }
    m_listDate = NewestWdtListDate(articles);
    for (const QString& name : articles) {
        if (WdtListDate(name) == m_listDate)
            m_downloaded = m_folder + name;
    }
    m_queue = articles + prices;
    FetchNext();
}

void ListDownload::FetchNext()
{
    if (m_queue.isEmpty()) {
        for (const auto& [name, data] : m_files) {
            if (!Store(name, data))
                return Finish(false);
        }
        ShowListDate(m_listDate);
        return Finish(true);
    }
    const QString name = m_queue.takeFirst();
    m_line(QStringLiteral("   ") + name);
    m_files.append({name, QByteArray()});
    m_ctx.transfer.FtpFetch(m_account, name, Answer(&ListDownload::Fetched));
}

void ListDownload::Fetched(const TransferResult& r)
{
    if (r.Ok()) {
        m_files.last().second = r.body;
        return FetchNext();
    }
    m_ctx.transfer.Disconnect();
    switch (r.failure) {
        case TransferFailure::ConnectionLost:
            m_line(QStringLiteral("   Fehler: Verbindung getrennt!"));
            break;
        case TransferFailure::NoConnection:
            m_line(QStringLiteral("   Fehler2: Nicht verbunden !"));
            break;
        case TransferFailure::Cancelled:
            m_line(QStringLiteral("   Download abgebrochen !"));
            return Finish(false);
        default:
            break;
    }
    m_line(QStringLiteral("   Übertragungsfehler !"));
    Finish(false);
}

void ListDownload::StartBarsoi(const QString& folder, const QString& address,
                               const QString& fileName)
{
    m_running = true;
    m_source = ListSource::Barsoi;
    m_folder = folder;
    m_address = address;
    m_fileName = fileName;
    m_line(QStringLiteral("   Verbindung zum Server wird aufgebaut ..."));
    m_ctx.transfer.HttpGet(address, Answer(&ListDownload::BarsoiAnswered));
}

void ListDownload::BarsoiAnswered(const TransferResult& r)
{
    switch (r.failure) {
        case TransferFailure::None:
            break;
        case TransferFailure::NoConnection:
        case TransferFailure::Stalled:
            m_line(QStringLiteral("  Server antwortet nicht !"));
            m_line(QStringLiteral("  Internetverbindung o.k. ?"));
            return Finish(false);
        case TransferFailure::HttpStatus:
            if (r.status == 401 || r.status == 403) {
                m_line(QStringLiteral("   Anmeldung abgelehnt !"));
                m_line(QStringLiteral("   Bitte Username/ Passwort prüfen !"));
            } else {
                m_line(QStringLiteral("   Server meldet Fehler %1 !").arg(r.status));
            }
            return Finish(false);
        case TransferFailure::ConnectionLost:
            m_line(QStringLiteral("   Fehler: Verbindung getrennt!"));
            m_line(QStringLiteral("   Übertragungsfehler !"));
            return Finish(false);
        case TransferFailure::Cancelled:
            m_line(QStringLiteral("   Download abgebrochen !"));
            return Finish(false);
        default:
            m_line(QStringLiteral("   Übertragungsfehler !"));
            return Finish(false);
    }
    if (r.body.trimmed().isEmpty()) {
        m_line(QStringLiteral("   Übertragungsfehler !"));
        return Finish(false);
    }
    const bool xml = m_fileName.endsWith(QStringLiteral(".XML"), Qt::CaseInsensitive);
    if (!IsBarsoiList(r.body, xml)) {
        Notice();
        return Finish(false);
    }
    if (!Store(m_fileName, r.body))
        return Finish(false);
    m_downloaded = m_folder + m_fileName;
    ShowListDate(xml ? BarsoiXmlDate(r.body)
                     : m_ctx.clock.Today().toString(QStringLiteral("dd.MM.yyyy")));
    Finish(true);
}

// The service answered with a page of its own instead of the list: the person fetches
// the file in the browser over the secure address.
void ListDownload::Notice()
{
    const QString secure = SecureAddress(m_address);
    m_line(QStringLiteral("DownLoad über gesicherte Internetverbindung !"));
    m_line(QStringLiteral("Speichern Sie die Datei ") + m_fileName);
    m_line(QStringLiteral("im oben angezeigten Pfad"));
    m_ctx.port.Message(MsgKind::Information, QStringLiteral("Achtung: Neue Info !"));
    if (!m_ctx.openInBrowser || !m_ctx.openInBrowser(secure))
        m_ctx.port.Message(MsgKind::Error,
                           QStringLiteral("Öffnen der Internetseite fehlgeschlagen,\rbitte "
                                          "prüfen Sie die Internet-Adresse !"));
}

bool ListDownload::Store(const QString& name, const QByteArray& data)
{
    const QString target = files::FindCaseInsensitive(m_folder, name);
    if (files::ReplaceAtomically(target, target + QStringLiteral(".~DL"), data)) {
        // The text form has no date of its own: its file time is the download date.
        QFile file(target);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(m_ctx.clock.Now(), QFileDevice::FileModificationTime);
        return true;
    }
    m_line(QStringLiteral("   Datei ") + name + QStringLiteral(" kann nicht gespeichert werden !"));
    return false;
}

void ListDownload::ShowListDate(const QString& date)
{
    m_line(QStringLiteral("   Liste vom ") + date + QStringLiteral(" ist geladen !"));
    if (ListStillCurrent(RememberedListDate(m_ctx.settings, m_source), date))
        m_line(QStringLiteral("   Die Liste in TALVEN ist noch aktuell !"));
    else
        m_line(QStringLiteral("   Jetzt mit <OK> Übernahme in TALVEN !"));
}

void ListDownload::Finish(bool ok)
{
    m_running = false;
    if (m_finished)
        m_finished(ok);
}

void ListDownload::Cancel()
{
    if (m_running)
        m_ctx.transfer.Cancel();
}

}  // namespace download
