#include "download/TSuchenNachDlgForm.h"

#include <QDir>
#include <QFileInfo>

#include "common/KeyValueSettings.h"
#include "common/UserPort.h"

using download::ListSource;

TSuchenNachDlgForm::~TSuchenNachDlgForm() = default;

void TSuchenNachDlgForm::OpenSearch(SearchBox box)
{
    m_mode = Mode::Search;
    m_search = std::move(box);
    Changed();
}

void TSuchenNachDlgForm::OpenDownload(const DownloadContext& context)
{
    m_mode = Mode::Download;
    m_ctx = std::make_unique<DownloadContext>(context);
    m_download = std::make_unique<download::ListDownload>(
        download::ListDownload::Context{m_ctx->transfer, m_ctx->port, m_ctx->clock, m_ctx->settings,
                                        m_ctx->openInBrowser},
        [this](const QString& line) { AddLine(line); },
        [this](bool ok) {
            if (ok)
                m_path = m_download->DownloadedPath();
            Changed();
        });
    m_confirm = false;
    m_info = {QStringLiteral("    Zugangsänderungen der Anbieter verhindern "),
              QStringLiteral("    das Laden aktueller Daten aus dem Internet !"),
              QStringLiteral("    Die Übernahme der Listen bleibt erhalten !")};
    ChooseSource(ListSource::Barsoi);
    download::WarnAboutPlainHttpOnce(m_ctx->addressTemplate, m_ctx->settings, m_ctx->port);
}

QString TSuchenNachDlgForm::Caption() const
{
    return m_mode == Mode::Search ? QStringLiteral("Suchen nach ... ")
                                  : QStringLiteral("Download und Übernahme ... ");
}

QString TSuchenNachDlgForm::Folder() const
{
    return download::DownloadFolder(m_ctx->standardPath, m_source);
}

void TSuchenNachDlgForm::ChooseSource(ListSource source)
{
    if (Busy())
        return;
    m_source = source;
    if (source == ListSource::Wdt) {
        m_path = Folder() + QStringLiteral("ART_") + QStringLiteral(" ...");
        m_user = download::WdtUser(download::WdtServer(m_ctx->settings));
        m_password = QString::fromLatin1(download::kWdtPassword);
    } else {
        m_path = Folder() + download::LastBarsoiFile(m_ctx->settings);
        m_user.clear();
        m_password.clear();
    }
    Changed();
}

QString TSuchenNachDlgForm::CaptionLine() const
{
    return m_source == ListSource::Wdt ? QStringLiteral("Download einer aktuellen WDT-Liste")
                                       : QStringLiteral("Download einer aktuellen Barsoi-Liste");
}

void TSuchenNachDlgForm::SetConfirmManufacturers(bool on)
{
    if (on && !m_confirm)
        m_ctx->port.Message(MsgKind::Warning, QStringLiteral("Unbestätigte Hersteller werden\r"
                                                             "mit ihren Medikamenten gelöscht !"));
    m_confirm = on;
    Changed();
}

void TSuchenNachDlgForm::BrowsePath()
{
    const QFileInfo current(m_path);
    const QString folder = current.dir().exists() ? current.absolutePath() : Folder();
    const QString filter = m_source == ListSource::Wdt
                               ? QStringLiteral("WDT-Listen (ART_*.txt ART_*.TXT)")
                               : QStringLiteral("Barsoi-Listen (*.TXT *.txt *.XML *.xml)");
    const QString chosen =
        m_ctx->port.ChooseOpenFile(QStringLiteral("Liste auswählen"), folder, filter);
    if (chosen.isEmpty())
        return;
    m_path = chosen;
    Changed();
}

void TSuchenNachDlgForm::StartDownload()
{
    if (m_mode != Mode::Download || Busy())
        return;
    if (!download::EnsureDownloadFolder(m_ctx->standardPath, m_source, m_ctx->port))
        return;
    if (m_source == ListSource::Wdt) {
        m_download->StartWdt(Folder(), download::WdtServer(m_ctx->settings));
        return Changed();
    }
    if (m_user.isEmpty() || m_password.isEmpty()) {
        AddLine(QStringLiteral("   Username/ Passwort unvollständig !"));
        AddLine(QStringLiteral("   Bitte beides komplett eingeben !"));
        return;
    }
    const QString file = QFileInfo(m_path).fileName().compare(QLatin1String(download::kBarsoiXml),
                                                              Qt::CaseInsensitive) == 0
                             ? QString::fromLatin1(download::kBarsoiXml)
                             : QString::fromLatin1(download::kBarsoiText);
    const QString address =
        download::BarsoiRequestAddress(m_ctx->addressTemplate, m_user, m_password, file);
    if (address.isEmpty()) {
        AddLine(QStringLiteral("   Internet-Adresse in den Systemoptionen ungültig !"));
        return;
    }
    m_path = Folder() + file;
    m_download->StartBarsoi(Folder(), address, file);
    Changed();
}

void TSuchenNachDlgForm::CancelDownload()
{
    if (m_download)
        m_download->Cancel();
}

download::TakeOverRequest TSuchenNachDlgForm::Request() const
{
    return {m_source, m_path, m_source == ListSource::Barsoi && m_confirm};
}

void TSuchenNachDlgForm::AddLine(const QString& line)
{
    m_info.append(line);
    Changed();
}

void TSuchenNachDlgForm::Changed()
{
    if (changed)
        changed();
}
