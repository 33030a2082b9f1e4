#pragma once

#include <QDate>
#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "settings/Options.h"

class Clock;
class UserPort;

// The steps of start-up that belong to other subsystems. Each does nothing until its
// subsystem provides it; the order of the calls is the order of start-up.
class StartUpHooks {
public:
    virtual ~StartUpHooks() = default;

    virtual void PrepareStatisticsSelectors(const QDate& /*today*/) {}
    virtual bool CleanUpOldBookings() { return false; }
    virtual void RecalculateStock() {}
    virtual bool CleanUpStockFiles() { return false; }
    virtual void LoadTextPageLayout() {}
    virtual void StartEmptyDispensingRecord() {}
    virtual void LoadMedicationAndServiceTables() {}  // with favourites and pick lists
    virtual void LoadCustomerTable() {}               // with the table upgrade
    virtual void AppointmentStartCheck() {}
    virtual int RecordCardFontSize() { return 8; }
    virtual void ApplyTableFont(int /*size*/) {}
    virtual void ReadBankSettings() {}
};

// The file the installed package puts beside the program.
inline const QString kInstalledMarker = QStringLiteral("talven-installed");
// The data folder, ending in "/": DATEN beside the program (spelt in any case) when it
// exists or the program runs from a copied folder; for the installed package the folder
// DATEN in the user's data location.
QString DataFolderFor(const QString& programFolder, const QString& userDataLocation);

// One recent-files menu item.
struct RecentMenuItem {
    bool visible = false;
    QString caption;  // "&1 " + path, or "err" when absent
};

// Start-up of the program, free of widgets: the data folder check, the options file,
// the window geometry and the loading done when the main window is first shown.
// What it leaves behind is read by the main window.
class StartUp {
public:
    // `programFolder` ends in a separator. `printers` lists the installed printers.
    StartUp(UserPort& port, const Clock& clock, QString programFolder,
            std::function<QStringList()> printers = {});

    // Creation handler: data folder and options file. Ends the program through the
    // user port when the data cannot be used.
    void CheckDataFolder();

    // The window bounds for a screen: 745 x 570 centred unless all four stored values
    // are present and not negative.
    QRect WindowBounds(const QSize& screen) const;
    bool WindowMaximised() const { return m_geometry.maximised; }

    // Show handler: options and tables in their order, then indicators and the welcome
    // state. `screenWidth` decides the table font size.
    void LoadOptionsAndTables(StartUpHooks& hooks, int screenWidth);
    void ShowHandler(StartUpHooks& hooks, int screenWidth);

    const QString& ProgramFolder() const { return m_programFolder; }
    const QString& DataFolder() const { return m_dataFolder; }
    QString TextsFolder() const { return m_dataFolder + QStringLiteral("Texte/"); }
    // The folder holding the data folder, ending in "/": where the PDF printer, the
    // spreadsheet export and the dispensing records put their files. It is the program
    // folder of a copied installation and the user's data location for the installed
    // package, whose program folder is not the user's to write to.
    QString WorkFolder() const;
    IniFile& Ini() { return *m_ini; }
    bool ReadOnlyMedium() const { return m_readOnlyMedium; }
    bool HelpAvailable() const { return m_helpAvailable; }

    const OptionValues& Options() const { return m_options; }
    OptionValues& Options() { return m_options; }
    const VatRates& Vat() const { return m_vat; }
    const QStringList& DocumentTexts() const { return m_documents; }
    const MainSwitches& Switches() const { return m_switches; }
    const QHash<QString, int>& ColumnWidths() const { return m_columnWidths; }
    const MailPrinterSettings& MailPrinter() const { return m_mailPrinter; }
    const QList<RecentMenuItem>& RecentMenu() const { return m_recentMenu; }
    bool RecentSeparatorVisible() const { return m_recentSeparator; }

    bool GoBdItemVisible() const { return m_goBdVisible; }
    QString StatusText() const { return m_statusText; }
    QString Greeting() const { return m_greeting; }
    QString VatLabel() const { return m_vatLabel; }
    QString CurrencyLabel() const { return m_currencyLabel; }
    int TableFontSize() const { return m_tableFontSize; }
    // The size chosen in the menu; the close writes it.
    void SetTableFontSize(int size);
    bool TableFontMenuVisible() const { return m_tableFontMenu; }

    bool BackupIndicator() const { return m_options.Flag(QStringLiteral("SicherungChk1")); }
    bool PasswordIndicator() const { return m_options.SystemProtected(); }
    bool IndicatorTimerStarted() const { return m_timerStarted; }

private:
    void ReadRecentMenu();
    // Automatic backup into a folder that cannot take it: the message, and off for the run.
    void RefuseUnusableBackupFolder();
    void CheckTextsFolder();
    bool WriteDefaultTexts();

    UserPort& m_port;
    const Clock& m_clock;
    QString m_programFolder;
    QString m_dataFolder;
    std::function<QStringList()> m_printers;
    std::unique_ptr<IniFile> m_ini;
    bool m_readOnlyMedium = false;
    bool m_helpAvailable = false;
    bool m_iniCreated = false;

    WindowGeometry m_geometry;
    QHash<QString, int> m_columnWidths;
    OptionValues m_options;
    VatRates m_vat;
    QStringList m_documents;
    MainSwitches m_switches;
    MailPrinterSettings m_mailPrinter;
    QList<RecentMenuItem> m_recentMenu;
    bool m_recentSeparator = false;
    bool m_goBdVisible = false;
    QString m_statusText;
    QString m_greeting;
    QString m_vatLabel;
    QString m_currencyLabel;
    int m_tableFontSize = 8;
    bool m_tableFontMenu = false;
    bool m_timerStarted = false;
};
