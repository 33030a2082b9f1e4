#include "download/CurlTransfer.h"

#include <curl/curl.h>

#include <QUrl>
#include <algorithm>
#include <mutex>

namespace download {

namespace {

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
    QByteArray data;
    qint64 limit = 0;
    bool tooLarge = false;
};

size_t Write(char* ptr, size_t size, size_t count, void* userdata)
{
    auto* sink = static_cast<Sink*>(userdata);
    const qint64 n = qint64(size * count);
    if (sink->data.size() + n > sink->limit) {
        sink->tooLarge = true;
        return 0;  // ends the transfer with a write error
    }
    sink->data.append(ptr, n);
    return size_t(n);
}

struct CancelCheck {
    const std::atomic<quint64>* cancelledUpTo;
    quint64 generation;
};

// libcurl calls this often during a transfer and about once a second while it waits.
int Progress(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* check = static_cast<const CancelCheck*>(clientp);
    return check->generation <= check->cancelledUpTo->load() ? 1 : 0;
}

TransferFailure FailureOf(CURLcode code, CURL* easy, const Sink& sink)
{
    switch (code) {
        case CURLE_OK:
            return TransferFailure::None;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
            return TransferFailure::NoConnection;
        case CURLE_OPERATION_TIMEDOUT: {
            // Not through the greeting and log-in yet: the server is not reachable.
            curl_off_t ready = 0;
            curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &ready);
            return ready == 0 ? TransferFailure::NoConnection : TransferFailure::Stalled;
        }
        case CURLE_LOGIN_DENIED:
            return TransferFailure::LoginDenied;
        case CURLE_FTP_PORT_FAILED:
        case CURLE_FTP_ACCEPT_FAILED:
        case CURLE_FTP_ACCEPT_TIMEOUT:
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT:
        case CURLE_FTP_CANT_GET_HOST:
            return TransferFailure::DataConnection;
        case CURLE_REMOTE_FILE_NOT_FOUND:
        case CURLE_FTP_COULDNT_RETR_FILE:
            return TransferFailure::NotFound;
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_WEIRD_SERVER_REPLY:
            return TransferFailure::ConnectionLost;
        case CURLE_WRITE_ERROR:
        case CURLE_FILESIZE_EXCEEDED:
            return sink.tooLarge || code == CURLE_FILESIZE_EXCEEDED ? TransferFailure::TooLarge
                                                                    : TransferFailure::Other;
        case CURLE_ABORTED_BY_CALLBACK:
            return TransferFailure::Cancelled;
        default:
            return TransferFailure::Other;
    }
}

QByteArray FolderUrl(const QString& serverUrl)
{
    QString url = serverUrl;
    if (!url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return url.toUtf8();
}

}  // namespace

class CurlTransfer::Worker : public QObject {
public:
    Worker(const TransferLimits& limits, const std::atomic<quint64>& cancelledUpTo)
        : m_limits(limits), m_cancelledUpTo(cancelledUpTo)
    {
    }
    ~Worker() override { Drop(); }

    void Drop()
    {
        if (m_easy)
            curl_easy_cleanup(m_easy);
        m_easy = nullptr;
    }

    TransferResult Perform(const Job& job)
    {
        if (!m_easy)
            m_easy = curl_easy_init();
        CURL* h = m_easy;
        curl_easy_reset(h);
        Sink sink;
        sink.limit = m_limits.maxBytes;
        CancelCheck check{&m_cancelledUpTo, job.generation};
        char error[CURL_ERROR_SIZE] = {};

        QByteArray url = job.url.toUtf8();
        QByteArray user, password;
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error);
        curl_easy_setopt(h, CURLOPT_USERAGENT, "Talven");
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(m_limits.connectMs));
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long(m_limits.stallSeconds));
        curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_limits.maxBytes));
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Write);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Progress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &check);
        if (job.kind == Job::Http) {
            curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
            curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
        } else {
            url = FolderUrl(job.account.serverUrl);
            if (job.kind == Job::Fetch)
                url += QUrl::toPercentEncoding(job.url);
            user = job.account.user.toUtf8();
            password = job.account.password.toUtf8();
            curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
            curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
            curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
            // "-": the address of the control connection for the server's call back.
            curl_easy_setopt(h, CURLOPT_FTPPORT, job.account.passive ? nullptr : "-");
            curl_easy_setopt(h, CURLOPT_ACCEPTTIMEOUT_MS, long(m_limits.responseMs));
            curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                             long(std::max(1, m_limits.responseMs / 1000)));
            if (job.kind == Job::List)
                curl_easy_setopt(h, CURLOPT_DIRLISTONLY, 1L);
        }
        curl_easy_setopt(h, CURLOPT_URL, url.constData());

        const CURLcode code = curl_easy_perform(h);
        TransferResult result;
        result.failure = FailureOf(code, h, sink);
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        if (job.kind == Job::Http) {
            result.status = int(status);
            if (result.failure == TransferFailure::None && status >= 400)
                result.failure = TransferFailure::HttpStatus;
        }
        if (result.failure != TransferFailure::None)
            result.detail = QString::fromUtf8(error[0] ? error : curl_easy_strerror(code));
        result.body = std::move(sink.data);
        // A connection that broke off is not used again.
        if (result.failure != TransferFailure::None &&
            result.failure != TransferFailure::HttpStatus)
            Drop();
        return result;
    }

private:
    const TransferLimits m_limits;
    const std::atomic<quint64>& m_cancelledUpTo;
    CURL* m_easy = nullptr;
};

CurlTransfer::CurlTransfer(TransferLimits limits) : m_limits(limits)
{
    GlobalInit();
    m_worker = new Worker(m_limits, m_cancelledUpTo);
    m_worker->moveToThread(&m_thread);
    m_thread.setObjectName(QStringLiteral("Download"));
    m_thread.start();
}

CurlTransfer::~CurlTransfer()
{
    Cancel();
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void CurlTransfer::Submit(Job job, Done done)
{
    job.generation = ++m_generation;
    QMetaObject::invokeMethod(
        m_worker,
        [this, job = std::move(job), done = std::move(done)] {
            TransferResult result = m_worker->Perform(job);
            QMetaObject::invokeMethod(
                &m_answers, [done, result = std::move(result)] { done(result); },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void CurlTransfer::HttpGet(const QString& url, Done done)
{
    Job job;
    job.kind = Job::Http;
    job.url = url;
    Submit(std::move(job), std::move(done));
}

void CurlTransfer::FtpList(const FtpAccount& account, Done done)
{
    Job job;
    job.kind = Job::List;
    job.account = account;
    Submit(std::move(job), std::move(done));
}

void CurlTransfer::FtpFetch(const FtpAccount& account, const QString& name, Done done)
{
    Job job;
    job.kind = Job::Fetch;
    job.account = account;
    job.url = name;
    Submit(std::move(job), std::move(done));
}

void CurlTransfer::Disconnect()
{
    QMetaObject::invokeMethod(
        m_worker, [this] { m_worker->Drop(); }, Qt::QueuedConnection);
}

void CurlTransfer::Cancel()
{
    m_cancelledUpTo = m_generation.load();
}

}  // namespace download
