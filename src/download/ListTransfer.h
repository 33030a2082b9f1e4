#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace download {

// Why a transfer did not bring its data.
enum class TransferFailure {
    None,
    NoConnection,    // host unknown, connection refused or not made in time
    LoginDenied,     // user name or password refused
    DataConnection,  // the FTP data connection (active or passive) could not be opened
    ConnectionLost,  // the connection broke off during the transfer
    Stalled,         // no data arrived for too long
    NotFound,        // the server does not have the file
    HttpStatus,      // the server answered with an error status
    TooLarge,        // more data than any list can hold
    Cancelled,
    Other,
};

struct TransferResult {
    TransferFailure failure = TransferFailure::None;
    int status = 0;   // HTTP status of the answer
    QByteArray body;  // the answer, the file or the listing
    QString detail;   // the transfer library's own words, for diagnosis
    bool Ok() const { return failure == TransferFailure::None; }
};

struct FtpAccount {
    QString serverUrl;  // "ftp://host[:port]/folder/"
    QString user;
    QString password;
    bool passive = false;
};

// Time limits of every transfer.
struct TransferLimits {
    int connectMs = 15000;        // to reach the server
    int responseMs = 30000;       // for an FTP answer and for the server's active-mode call
    int stallSeconds = 30;        // without a single byte
    qint64 maxBytes = 256 << 20;  // the largest answer accepted
};

// HTTP and FTP as the download needs them. Every call answers exactly once through
// `done`, later, on the thread that made the call, never from inside the call itself,
// so a window stays responsive while data arrive. One call runs at a time.
class ListTransfer {
public:
    using Done = std::function<void(const TransferResult&)>;
    virtual ~ListTransfer() = default;

    virtual void HttpGet(const QString& url, Done done) = 0;
    // The file names of the account's folder, one per line.
    virtual void FtpList(const FtpAccount& account, Done done) = 0;
    virtual void FtpFetch(const FtpAccount& account, const QString& name, Done done) = 0;
    // Drops a kept FTP connection; the next call connects afresh.
    virtual void Disconnect() = 0;
    // The running call, if any, answers Cancelled soon.
    virtual void Cancel() = 0;
};

}  // namespace download
