#pragma once

#include <QString>

#include "masterdata/MasterGridLayout.h"
#include "shell/TOptionenDlgForm.h"

class Indicators;
class TSGrid;
class UserPort;

// What the options dialog changes in the main window.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    virtual Indicators& IndicatorState() = 0;
    // An indicator changed: with `blink` the indicator timer starts again; the icons follow.
    virtual void IndicatorsChanged(bool blink) = 0;
    // The protection password entered in this run no longer holds.
    virtual void ForgetPassword() = 0;
    // The master grids and the tables loaded from now on mirror their saves to `folder`;
    // empty: no mirror.
    virtual void SetBackupFolder(const QString& folder) = 0;
    virtual TSGrid& Grid(MasterTable which) const = 0;
    virtual void ShowVatRate(const QString& rate) = 0;
    // Both quantity fields back to "1,00".
    virtual void ResetQuantityFields() = 0;
    // Status line labels and backup settings from the options.
    virtual void ApplyOptionLabels() = 0;
};

// What the options dialog changes in the main window: indicators, the grids' backup
// folder, the gross prices of the master tables, the status line.
class TForm1OptionHooks : public OptionenHooks {
public:
    TForm1OptionHooks(OptionsHost& host, UserPort& port, QString dataFolder)
        : m_host(host), m_port(port), m_dataFolder(std::move(dataFolder))
    {
    }
    void ShowBackupIndicator(bool on) override;
    void PasswordProtectionSet() override;
    void SetBackupFilePath(const QString& folder) override;
    void RecalculateGross(QStringList& rateTexts) override;
    void OptionsApplied() override;

private:
    OptionsHost& m_host;
    UserPort& m_port;
    QString m_dataFolder;
};
