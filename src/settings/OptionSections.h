#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "settings/Options.h"

class IniFile;

// Title, head and foot texts of invoice, receipt and offer (section "Dokumente"):
// entry 4k is the title of document k, 4k + 1 its head text, 4k + 2 and 4k + 3 its feet.
QStringList DefaultDocumentTexts();

// A stored text as it is used: the untouched default of an earlier version that printed
// wrongly is replaced by today's default; every text the practice wrote stays as it is.
QString MendedDocumentText(qsizetype index, const QString& stored);
// Reads the section, fills in what older files lack, and writes it back as D0, D1, ...
// Returns the list (at least twelve entries).
QStringList LoadDocumentTexts(IniFile& ini);
bool SaveDocumentTexts(IniFile& ini, const QStringList& texts);

// The switches of the main window, each written at once when it changes.
enum class MainSwitch {
    GotSuche,
    Zeilenstop,
    Menge1Druck,
    Menge2Druck,
    GotDruck,
    FaktorDruck,
    TierDruck,
    MedInvAutom,
    Bemerkungsfreigabe,
    InvMedMarkieren,
};

inline constexpr int kMainSwitchCount = 10;

struct MainSwitches {
    bool on[kMainSwitchCount] = {};
    bool Get(MainSwitch s) const { return on[static_cast<int>(s)]; }
    void Set(MainSwitch s, bool value) { on[static_cast<int>(s)] = value; }
};

// A switch is on only when its value is exactly "TRUE"; the two quantity switches are also
// on while their keys are absent. Without an options file the line stop, the animal species
// and the quantities come up on, all others off.
MainSwitches ReadMainSwitches(const IniFile& ini);
void WriteMainSwitch(IniFile& ini, MainSwitch s, bool on);

// What the main window writes when it closes.
struct CloseState {
    WindowGeometry geometry;
    QHash<QString, int> columnWidths;  // by key of ColumnWidthKeys
    bool medInvAutom = false;
    QString standardQuantity;  // services, section "StdMenge"
    int screenWidth = 0;
    int tabFontSize = 8;
};

void WriteOnClose(IniFile& ini, const CloseState& state, int recordCardDefault = 70);

// Table font size: read only when the screen is at least 1001 pixels wide.
int ReadTabFontSize(const IniFile& ini);

// Recently used text files, "Datei1" newest. Absent entries are empty strings.
QStringList ReadRecentFiles(const IniFile& ini);
// Makes the path entry "Datei1" and moves the others down. Paths compare without case;
// the path is stored as given because case matters to the file system here.
void AddRecentFile(IniFile& ini, const QString& path);

// Year-change housekeeping at start-up: the work belongs to bookkeeping and stock, which
// report whether their clean-up ran.
struct YearChangeWork {
    std::function<bool()> cleanUpBookings;
    std::function<void()> recalculateStock;
    std::function<bool()> cleanUpStockFiles;
};

void RunYearChangeHousekeeping(IniFile& ini, int currentYear, const YearChangeWork& work);

// The mail printer from MailPr.ini: its name and the control strings it is steered with.
struct MailPrinterSettings {
    QString printerName;  // empty: no mail printer installed
    QHash<QString, QString> controlCodes;
};

QStringList MailControlCodeKeys();

// Resolves the mail printer against the installed printers. `dataFolder` ends in a
// separator; the file "MailPr.ini" is looked up in it without regard to case.
MailPrinterSettings LoadMailPrinter(const QString& dataFolder, const QStringList& printers);
