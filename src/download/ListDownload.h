#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "download/DownloadRules.h"
#include "download/ListTransfer.h"

class Clock;
class KeyValueSettings;
class UserPort;

namespace download {

// One download of a list into its folder, told line by line into the dialog's info list.
// The files in the folder are replaced only when everything has arrived, so a failed or
// cancelled download leaves the previous list in place.
class ListDownload {
public:
    struct Context {
        ListTransfer& transfer;
        UserPort& port;
        const Clock& clock;
        KeyValueSettings& settings;
        std::function<bool(const QString&)> openInBrowser;
    };
    // `line` receives every info line, `finished` the end (true: a list is in the folder).
    ListDownload(Context context, std::function<void(const QString&)> line,
                 std::function<void(bool)> finished);
    ~ListDownload();

    // WDT by FTP: the listing (active mode first, passive when that fails), then every
    // ART_ and PRS_ text file.
    void StartWdt(const QString& folder, const QString& serverUrl);
    // Barsoi by HTTP: one file from the request address.
    void StartBarsoi(const QString& folder, const QString& address, const QString& fileName);
    void Cancel();
    bool Running() const { return m_running; }
    // The file the take-over starts from after a successful download.
    const QString& DownloadedPath() const { return m_downloaded; }

private:
    void List(bool passive);
    void Listed(const TransferResult& r);
    void FetchNext();
    void Fetched(const TransferResult& r);
    void BarsoiAnswered(const TransferResult& r);
    bool Store(const QString& name, const QByteArray& data);
    void ShowListDate(const QString& date);
    void Notice();
    void Finish(bool ok);
    // Wraps a transfer answer so it is dropped once this download is gone.
    ListTransfer::Done Answer(void (ListDownload::*handler)(const TransferResult&));

    Context m_ctx;
    std::function<void(const QString&)> m_line;
    std::function<void(bool)> m_finished;
    std::shared_ptr<ListDownload*> m_self;
    bool m_running = false;
    ListSource m_source = ListSource::Barsoi;
    QString m_folder;
    QString m_downloaded;
    FtpAccount m_account;
    QStringList m_queue;
    QList<QPair<QString, QByteArray>> m_files;
    QString m_listDate;
    QString m_address;
    QString m_fileName;
};

}  // namespace download
