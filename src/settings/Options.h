#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class IniFile;

inline constexpr char kOptionen[] = "Optionen";

// The keys the options dialog writes, in the order it writes them. Reading relies on that
// order (ReadOrderedOptions).
enum class OptKind {
    Text,      // written when not empty
    OldText,   // read from older files, never written
    Decimal,   // decimal comma, written when not empty
    Integer,   // written when not empty
    Date,      // dd.MM.yyyy, written when not empty
    Flag,      // "TRUE"/"FALSE", always written
    Obsolete,  // skipped when present, never written
};

struct OrderedKey {
    const char* name;
    OptKind kind;
    const char* defaultValue;
};

const QList<OrderedKey>& OrderedOptionKeys();

// The built-in password (stored unscrambled) and the default download address.
inline constexpr char kDefaultPassword[] = "praxis";
inline constexpr char kDefaultDownloadAddress[] =
    "https://update.barsoi.invalid/onlineupdate.php?user=&&password=&&file=";

// The scrambled form stored under "PasswortEdit": the default password stays as it is,
// any other is reversed, every code raised by 2 and a "p" put after the fourth character.
QString ScramblePassword(const QString& password);
QString UnscramblePassword(const QString& stored);

// Values of the ordered part of "Optionen", as the options dialog's fields hold them
// (flags as "TRUE"/"FALSE"). Keys not in the ordered table are not held here.
class OptionValues {
public:
    OptionValues();  // every field at its default

    QString Value(const QString& key) const { return m_values.value(key); }
    void SetValue(const QString& key, const QString& value);
    bool Flag(const QString& key) const;
    void SetFlag(const QString& key, bool on);

    // The protection password in clear text.
    QString Password() const { return UnscramblePassword(Value(QStringLiteral("PasswortEdit"))); }
    void SetPassword(const QString& password);

    // The system options themselves are protected (the password indicator then shows).
    bool SystemProtected() const { return Flag(QStringLiteral("PW_SysChk")); }

private:
    QHash<QString, QString> m_values;
};

// Reads the ordered part by the cursor rule: a key is found only when it stands at the
// cursor; a key out of order, and every key after it up to the next match, gets its default.
OptionValues ReadOrderedOptions(const IniFile& ini);

// Erases section "Optionen" and writes the ordered part in table order.
bool WriteOrderedOptions(IniFile& ini, const OptionValues& values);

// The pharmacy as a second business: its name (name + firm; the practice's when it has
// only an account of its own; empty when it is no business of its own) and whether its
// bank account, reduced to letters and digits, is given and differs from the practice's.
struct PharmacyAccount {
    QString name;
    bool separateAccount = false;

    // Bookings and balances keep the pharmacy apart only with both.
    bool SecondBusinessDefined() const { return separateAccount && !name.isEmpty(); }
    // The VAT returns are split with either.
    bool SplitsVatReturn() const { return separateAccount || !name.isEmpty(); }
};
PharmacyAccount PharmacyAccountSetting(const OptionValues& values);

// The six VAT rates and the cut-off date of the last change.
struct VatRates {
    long double current[3] = {0, 0, 0};
    long double previous[3] = {0, 0, 0};
};

// Parses the six rates from the fields; false (and all six 0) when one is no number.
bool ParseVatRates(const OptionValues& values, VatRates* rates);

// Main window bounds and the column widths of the master grids.
struct WindowGeometry {
    int height = -1;
    int width = -1;
    int left = -1;
    int top = -1;
    bool maximised = true;

    bool HasStoredBounds() const { return height >= 0 && width >= 0 && left >= 0 && top >= 0; }
};

WindowGeometry ReadWindowGeometry(const IniFile& ini);

struct ColumnWidthKey {
    const char* name;
    int defaultWidth;  // -1: no default (the key is optional)
    int minimum;
};

// "wBeh" … "L2GridBemW", "wKName" … "wKMail", in the order they are written on close.
// The record card grid's width defaults to and is at least `recordCardDefault`.
QList<ColumnWidthKey> ColumnWidthKeys(int recordCardDefault = 70);

// Widths read with their defaults, raised to their minimums; "L2GridBemW" only when present.
QHash<QString, int> ReadColumnWidths(const IniFile& ini, int recordCardDefault = 70);
