#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "download/DownloadRules.h"
#include "download/ListDownload.h"
#include "download/MedicationTakeOver.h"

class Clock;
class KeyValueSettings;
class UserPort;

namespace download {
class ListTransfer;
}

// The rules of the dialog TSuchenNachDlg. In its search mode it is a plain search box;
// in its download mode it fetches a drug list into the program's folders and hands the
// take-over request to its caller on OK.
class TSuchenNachDlgForm {
public:
    enum class Mode { Search, Download };

    // The search box: a text with its label, an optional choice and an info text.
    struct SearchBox {
        QString label;
        QString text;
        QString choiceLabel;
        QStringList choices;
        int choice = -1;
        QString info;
    };

    struct DownloadContext {
        UserPort& port;
        KeyValueSettings& settings;  // remembered dates, the WDT server
        const Clock& clock;
        download::ListTransfer& transfer;
        QString standardPath;     // the data folder of the options
        QString addressTemplate;  // "BarsoiInternetAdresse"
        std::function<bool(const QString&)> openInBrowser;
    };

    TSuchenNachDlgForm() = default;
    ~TSuchenNachDlgForm();

    void OpenSearch(SearchBox box);
    SearchBox& Search() { return m_search; }
    // Opens in download mode on the Barsoi list; warns once about a plain http address.
    void OpenDownload(const DownloadContext& context);

    Mode CurrentMode() const { return m_mode; }
    QString Caption() const;

    download::ListSource Source() const { return m_source; }
    void ChooseSource(download::ListSource source);
    QString CaptionLine() const;
    const QString& Path() const { return m_path; }
    void SetPath(const QString& path) { m_path = path; }
    const QString& User() const { return m_user; }
    void SetUser(const QString& user) { m_user = user; }
    const QString& Password() const { return m_password; }
    void SetPassword(const QString& password) { m_password = password; }
    bool AccountEditable() const { return m_source == download::ListSource::Barsoi; }
    bool ManufacturerSwitchVisible() const { return m_source == download::ListSource::Barsoi; }
    bool ConfirmManufacturers() const { return m_confirm; }
    // Ticking the switch warns that unconfirmed manufacturers lose their medications.
    void SetConfirmManufacturers(bool on);
    // The file dialog in the path's folder (or the download folder).
    void BrowsePath();

    const QStringList& InfoLines() const { return m_info; }
    bool Busy() const { return m_download && m_download->Running(); }
    void StartDownload();
    void CancelDownload();
    // OK: the take-over request for the list in the path field (none while downloading).
    bool CanAccept() const { return m_mode == Mode::Search || !Busy(); }
    download::TakeOverRequest Request() const;

    // Called whenever a field, the info list or the busy state changed.
    std::function<void()> changed;

private:
    void AddLine(const QString& line);
    void Changed();
    QString Folder() const;

    Mode m_mode = Mode::Search;
    SearchBox m_search;
    std::unique_ptr<DownloadContext> m_ctx;
    std::unique_ptr<download::ListDownload> m_download;
    download::ListSource m_source = download::ListSource::Barsoi;
    QString m_path;
    QString m_user;
    QString m_password;
    bool m_confirm = false;
    QStringList m_info;
};
