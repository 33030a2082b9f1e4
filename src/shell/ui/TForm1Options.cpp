// The main window's side of the options dialog and of the backup on close.
#include "shell/ui/TForm1Options.h"

#include <QLabel>
#include <QLineEdit>

#include "common/NumberFormat.h"
#include "masterdata/MasterWorkspace.h"
#include "platform/Files.h"
#include "shell/Backup.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TOptionenDlg.h"
#include "table/TSGrid.h"

void TForm1OptionHooks::ShowBackupIndicator(bool on)
{
    m_host.IndicatorState().backupOn = on;
    m_host.IndicatorsChanged(on);
}

void TForm1OptionHooks::PasswordProtectionSet()
{
    m_host.IndicatorState().systemProtected = true;
    m_host.ForgetPassword();
    m_host.IndicatorsChanged(true);
}

void TForm1OptionHooks::SetBackupFilePath(const QString& folder)
{
    m_host.SetBackupFolder(folder);
}

void TForm1OptionHooks::RecalculateGross(QStringList& rateTexts)
{
    GridVatRecalcTarget target(
        m_host.Grid(MasterTable::Service),
        files::FindCaseInsensitive(m_dataFolder, QStringLiteral("LEISTUNG.DBF")),
        m_host.Grid(MasterTable::Medication),
        files::FindCaseInsensitive(m_dataFolder, QStringLiteral("MED.DBF")));
    target.showCurrentRate = [this](const QString& rate) { m_host.ShowVatRate(rate); };
    target.resetQuantities = [this] { m_host.ResetQuantityFields(); };
    prices::RecalculateAllGross(m_port, rateTexts, target);
}

void TForm1OptionHooks::OptionsApplied()
{
    m_host.ApplyOptionLabels();
}

void TForm1::IndicatorsChanged(bool blink)
{
    if (blink)
        StartIndicatorTimer();
    SyncIndicators();
}

void TForm1::ForgetPassword()
{
    m_gate.Forget();
}

void TForm1::SetBackupFolder(const QString& folder)
{
    m_tableEnv->autoBackup = !folder.isEmpty();
    m_tableEnv->autoBackupFolder = folder;
    for (auto& grid : m_grids)
        grid->BackupFilePath = folder;
}

void TForm1::ShowVatRate(const QString& rate)
{
    m_vatLabel->setText(rate);
}

bool TForm1::OpenOptions(TOptionenDlgForm::Page page)
{
    if (m_startUp.Options().SystemProtected() && !m_gate.PasswordGranted())
        return false;
    return OpenOptionsDialog(page);
}

bool TForm1::OpenOptionsDialog(TOptionenDlgForm::Page page)
{
    if (!m_optionenDlg) {
        OptionsHost& host = *this;
        m_optionHooks = std::make_unique<TForm1OptionHooks>(host, m_port, m_startUp.DataFolder());
        OptionenContext c;
        c.port = &m_port;
        c.clock = &m_clock;
        c.ini = &m_startUp.Ini();
        c.options = &m_startUp.Options();
        c.dataFolder = m_startUp.DataFolder();
        c.readOnlyMedium = m_startUp.ReadOnlyMedium();
        c.hooks = m_optionHooks.get();
        m_optionenDlg = std::make_unique<TOptionenDlg>(c, this);
    }
    return m_optionenDlg->Open(page) == QDialog::Accepted;
}

void TForm1::ApplyOptionLabels()
{
    const OptionValues& options = m_startUp.Options();
    VatRates rates;
    ParseVatRates(options, &rates);
    m_vatLabel->setText(FormatFloat(QStringLiteral("0.0"), rates.current[0]));
    m_currencyLabel->setText(options.Flag(QStringLiteral("EuroChk")) ? QStringLiteral("Euro")
                                                                     : QStringLiteral("DM"));
    ApplyBackupSettings();
}

void TForm1::ApplyBackupSettings()
{
    const OptionValues& options = m_startUp.Options();
    const bool on = options.Flag(QStringLiteral("SicherungChk1"));
    const QString folder = on ? WithFolderSlash(options.Value(QStringLiteral("BkDir"))) : QString();
    m_tableEnv->readOnlyMedium = m_startUp.ReadOnlyMedium();
    m_tableEnv->dataFolder = m_startUp.DataFolder();
    m_tableEnv->autoBackup = on;
    m_tableEnv->autoBackupFolder = folder;
    for (auto& grid : m_grids)
        grid->BackupFilePath = folder;
}

void TForm1::RunBackupOnExit()
{
    const OptionValues& options = m_startUp.Options();
    BackupSettings s;
    s.dataFolder = m_startUp.DataFolder();
    s.readOnlyMedium = m_startUp.ReadOnlyMedium();
    s.autoBackup = options.Flag(QStringLiteral("SicherungChk1"));
    s.backupFolder = options.Value(QStringLiteral("BkDir"));
    Backup(m_port, m_clock, s).BackupOnExit();
}
