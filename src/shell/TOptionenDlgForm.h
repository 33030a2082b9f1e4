#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "common/FormField.h"
#include "settings/Options.h"
#include "shell/Backup.h"

class Clock;
class IniFile;
class PrintCanvas;
class UserPort;

// What the options dialog asks of the main window.
class OptionenHooks {
public:
    virtual ~OptionenHooks() = default;
    // Backup indicator (and its timer) when on, else the information panel.
    virtual void ShowBackupIndicator(bool /*on*/) {}
    // Protection of the system options was confirmed: show the password indicator, start
    // the timer and forget the password entered in this run.
    virtual void PasswordProtectionSet() {}
    virtual void RefreshBatchIfShown() {}
    // BackupFilePath of the record card, service, medication, customer, batch and
    // favourites grids; empty when automatic backup is off.
    virtual void SetBackupFilePath(const QString& /*folder*/) {}
    // After OK with changed current rates: the gross prices of the master tables. The six
    // rate texts may be set to "0" when they are invalid.
    virtual void RecalculateGross(QStringList& /*rateTexts*/) {}
    // The program's options changed (labels, currency, indicators).
    virtual void OptionsApplied() {}
};

// Where the dialog works.
struct OptionenContext {
    UserPort* port = nullptr;
    const Clock* clock = nullptr;
    IniFile* ini = nullptr;
    OptionValues* options = nullptr;  // the program's options, updated on OK
    QString dataFolder;               // ends in "/"
    bool readOnlyMedium = false;
    VolumeLookup volumeOf;                 // empty: VolumeOf
    std::function<QStringList()> volumes;  // drive box; empty: MountedVolumes
    PrintCanvas* canvas = nullptr;         // logo check; none: the logo is not measured
    OptionenHooks* hooks = nullptr;
};

// The options dialog "Systemoptionen" without its window: eight pages of fields, the
// rule of each field, the document texts and the OK and close checks.
class TOptionenDlgForm : public FormBase {
public:
    enum FieldId : int {
        // Praxis
        NameEdit,
        StrasseEdit,
        PLZEdit,
        TelEdit,
        FaxEdit,
        FirmaEdit,
        SonstEdit1,
        SonstEdit2,
        BankEdit,
        BLZEdit,
        KtoEdit,
        KontoinhaberEdit,
        // Apotheke
        NameEdit2,
        FirmaEdit2,
        StrasseEdit2,
        PLZEdit2,
        TelEdit2,
        FaxEdit2,
        SonstEdit3,
        SonstEdit4,
        BankEdit2,
        BLZEdit2,
        KtoEdit2,
        KontoinhaberEdit2,
        // Kopf
        RechKopfEdit,
        RechFuss1Edit,
        RechFuss2Edit,
        UebMa1Edit,
        UebMa2Edit,
        // MwSt
        Mwst1Edit,
        Mwst2Edit,
        Mwst3Edit,
        StichtagsDatumEdit,
        AlteMwst1Edit,
        AlteMwst2Edit,
        AlteMwst3Edit,
        // Mahnwesen
        ZzRechEdit,
        ZzMa1Edit,
        ZzMa2Edit,
        MaGeb1Edit,
        MaGeb2Edit,
        // Backup
        StdPathEdit,
        BackupPathEdit,
        // Passwort
        PasswortEdit,
        PasswortEdit2,
        DMEdit,
        EuroEdit,
        // Ext. Dok.
        StdExtPathEdit,
        BarsoiAdresseEdit,
        kFieldCount
    };

    enum CheckId : int {
        LogoChk,
        SicherungChk1,
        PW_MedChk,
        PW_LeistChk,
        PW_KundeChk,
        PW_KarteiChk,
        PW_PatChk,
        PW_AbgChk,
        PW_ReMaChk,
        PW_EA_Chk,
        PW_EAR_Chk,
        PW_TextChk,
        PW_TerminChk,
        PW_SysChk,
        PreisAuszChk,
        GiroCodeChk,
        kCheckCount
    };

    enum Page : int { Praxis, Apotheke, Kopf, MwSt, Mahnwesen, BackupPage, Passwort, ExtDok };
    static QStringList PageTitles();

    explicit TOptionenDlgForm(OptionenContext context);

    // Opens the dialog on a page: the fields from the program's options, the document
    // texts from the options file.
    void Open(Page page = Praxis);
    Page ActivePage() const { return m_page; }
    void SetActivePage(Page page);  // the person chose a tab
    // The page the form wants shown after a refused OK (-1: none); reading clears it.
    int TakePageRequest();

    bool Leave(int id, bool closingOk = false) override;

    bool Checked(CheckId c) const { return m_checks[c]; }
    bool CheckEnabled(CheckId c) const { return c != PW_SysChk || !AnyWorkspaceProtected(); }
    void SetChecked(CheckId c, bool on);
    bool Euro() const { return m_euro; }
    void SetEuro(bool euro) { m_euro = euro; }

    // Document selector: the titles of invoice, receipt and offer.
    QStringList DocumentTitles() const;
    int Document() const { return m_document; }
    void ChooseDocument(int k);
    const QStringList& Documents() const { return m_documents; }

    // Backup drive box: the mounted volumes; enabled only with automatic backup.
    QStringList Drives() const { return m_drives; }
    bool DriveBoxEnabled() const { return m_checks[SicherungChk1]; }
    void ChooseDrive(int index);

    // "Durchsuchen" of the external documents folder.
    void BrowseExtFolder();

    bool RatesChanged() const { return m_ratesChanged; }
    // Current 1..3 then previous 1..3, as the fields hold them.
    QStringList SixRateTexts() const;

    // OK with the focus in `focusedField` (-1: none). False keeps the dialog open (the
    // page and field to show are requested).
    bool Ok(int focusedField = -1);
    void Cancel();

    // The values the fields stand for (as OK would store them).
    OptionValues CollectValues() const;
    // Pharmacy name and account as of the last OK.
    const PharmacyAccount& Pharmacy() const { return m_pharmacy; }

protected:
    QChar FilterKey(int id, QChar key) override;
    void TextChanged(int id) override;

private:
    bool AnyWorkspaceProtected() const;
    void CheckLogo();
    bool ApplyAllFieldRules();
    void LeaveRate(int id);
    void LeaveDate();
    void LeaveDm();
    void LeaveBackupPath();
    void LeaveIban(int id);
    void SetCurrencyPartner(int source, int target);
    bool Refuse(Page page, int field);
    bool CloseCheck();
    bool CheckBackupMedium(Backup& backup);
    bool CheckTextsFolder();
    void Apply(const OptionValues& values);
    BackupSettings BackupSettingsFor(const OptionValues& values) const;

    OptionenContext m_ctx;
    std::array<bool, kCheckCount> m_checks{};
    bool m_euro = true;
    Page m_page = Praxis;
    int m_pageRequest = -1;
    QStringList m_documents;
    QStringList m_documentsAtOpen;
    int m_document = 0;
    QStringList m_drives;
    bool m_ratesChanged = false;
    bool m_protectedAtOpen = false;
    bool m_updatingCurrency = false;
    PharmacyAccount m_pharmacy;
};
