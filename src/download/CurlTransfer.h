#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

#include "download/ListTransfer.h"

namespace download {

// The transfers on libcurl. They run one after the other on a thread of their own, which
// keeps one connection per server open between calls (an FTP log-in serves the listing
// and the downloads); answers come back through the event loop of the calling thread.
class CurlTransfer : public ListTransfer {
public:
    explicit CurlTransfer(TransferLimits limits = {});
    ~CurlTransfer() override;
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    void HttpGet(const QString& url, Done done) override;
    void FtpList(const FtpAccount& account, Done done) override;
    void FtpFetch(const FtpAccount& account, const QString& name, Done done) override;
    void Disconnect() override;
    void Cancel() override;

    class Worker;
    struct Job {
        enum Kind { Http, List, Fetch } kind = Http;
        QString url;
        FtpAccount account;
        quint64 generation = 0;
    };

private:
    void Submit(Job job, Done done);

    TransferLimits m_limits;
    QThread m_thread;
    QObject m_answers;  // lives in the calling thread; answers are delivered through it
    Worker* m_worker = nullptr;
    std::atomic<quint64> m_generation{0};
    std::atomic<quint64> m_cancelledUpTo{0};
};

}  // namespace download
