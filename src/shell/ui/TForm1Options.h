#pragma once

#include "shell/OptionenForm.h"
#include "shell/ui/TOptionenDlg.h"

class TForm1;

// What the options dialog changes in the main window: indicators, the grids' backup
// folder, the gross prices of the master tables, the status line.
class TForm1OptionHooks : public OptionenHooks {
public:
    explicit TForm1OptionHooks(TForm1& form) : m_form(form) {}
    void ShowBackupIndicator(bool on) override;
    void PasswordProtectionSet() override;
    void SetBackupFilePath(const QString& folder) override;
    void RecalculateGross(QStringList& rateTexts) override;
    void OptionsApplied() override;

private:
    TForm1& m_form;
};
