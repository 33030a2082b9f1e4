#include "shell/ui/TForm1Download.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QUrl>

#include "download/CurlTransfer.h"
#include "download/MedicationTakeOver.h"
#include "download/ui/TSuchenNachDlg.h"
#include "masterdata/MasterWorkspace.h"
#include "platform/Files.h"
#include "shell/StartUp.h"

TForm1Download::TForm1Download(Host host) : m_host(std::move(host)) {}

TForm1Download::~TForm1Download()
{
    m_dialog.reset();  // before the form it binds
}

void TForm1Download::AddMenuItem(QMenu* menu)
{
    QAction* item = menu->addAction(QStringLiteral("BARSOI WDT einlesen..."));
    item->setObjectName(QStringLiteral("BarsoiWdtItem"));
    connect(item, &QAction::triggered, this, &TForm1Download::Open);
}

void TForm1Download::AddButton(QWidget* searchRow)
{
    m_button = new QPushButton(QStringLiteral("Barsoi / WDT"), searchRow);
    m_button->setObjectName(QStringLiteral("BarsoiWdtBtn"));
    m_button->setToolTip(QStringLiteral("Aktuelle Arzneimittel-Preisliste laden und übernehmen"));
    m_button->setFocusPolicy(Qt::NoFocus);
    connect(m_button, &QPushButton::clicked, this, &TForm1Download::Open);
    if (searchRow->layout())
        searchRow->layout()->addWidget(m_button);
}

void TForm1Download::SetButtonVisible(bool visible)
{
    if (m_button)
        m_button->setVisible(visible);
}

void TForm1Download::Open()
{
    if (m_host.passwordGranted && !m_host.passwordGranted())
        return;
    StartUp& start = m_host.startUp;
    const QString medPath =
        files::FindCaseInsensitive(start.DataFolder(), QStringLiteral("MED.DBF"));
    if (!QFileInfo::exists(medPath)) {
        QFile empty(medPath);
        empty.open(QIODevice::WriteOnly);
    }
    m_settings = std::make_unique<IniSettings>(start.Ini());
    if (!m_transfer)
        m_transfer = std::make_unique<download::CurlTransfer>();
    if (!m_dialog)
        m_dialog = std::make_unique<TSuchenNachDlg>(m_form, m_host.window);
    m_form.OpenDownload({m_host.port, *m_settings, m_host.clock, *m_transfer, start.DataFolder(),
                         start.Options().Value(QStringLiteral("BarsoiInternetAdresse")),
                         [](const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }});
    if (m_dialog->exec() != QDialog::Accepted)
        return;
    download::GridMedicationTable table(m_host.medications, medPath);
    download::RunTakeOver(m_form.Request(), m_host.port, *m_settings,
                          PriceSettingsFromOptions(start.Options()), table);
    if (m_host.medicationsChanged)
        m_host.medicationsChanged();
}
