#include "settings/Options.h"

#include "common/NumberFormat.h"
#include "settings/IniFile.h"

namespace {

const QString kSection = QString::fromLatin1(kOptionen);

QString Key(const char* name)
{
    return QString::fromLatin1(name);
}

// A folder keeps its own separator style and always ends in one.
QString WithTrailingSeparator(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path;
    return path + (path.contains(QLatin1Char('/')) ? QLatin1Char('/') : QLatin1Char('\\'));
}

}  // namespace

const QList<OrderedKey>& OrderedOptionKeys()
{
    // VAT keys and payment terms default to the current German rates and 14 days, so a
    // fresh installation does not invoice at 0 %.
    static const QList<OrderedKey> keys = {
        {"NameEdit", OptKind::Text, ""},
        {"StrasseEdit", OptKind::Text, ""},
        {"PLZEdit", OptKind::Text, ""},
        {"TelEdit", OptKind::Text, ""},
        {"FaxEdit", OptKind::Text, ""},
        {"FirmaEdit", OptKind::Text, ""},
        {"BankEdit", OptKind::Text, ""},
        {"BLZEdit", OptKind::Text, ""},
        {"KtoEdit", OptKind::Text, ""},
        {"TextEdit", OptKind::OldText, ""},
        {"ZZielEdit", OptKind::OldText, ""},
        {"SonstEdit", OptKind::OldText, ""},
        {"UebMa1Edit", OptKind::Text, ""},
        {"UebMa2Edit", OptKind::Text, ""},
        {"Mwst1Edit", OptKind::Decimal, "19"},
        {"Mwst2Edit", OptKind::Decimal, "7"},
        {"Mwst3Edit", OptKind::Decimal, "0"},
        {"StichtagsDatumEdit", OptKind::Date, "01.01.2021"},
        {"AlteMwst1Edit", OptKind::Decimal, "16"},
        {"AlteMwst2Edit", OptKind::Decimal, "5"},
        {"AlteMwst3Edit", OptKind::Decimal, "0"},
        {"ZzRechEdit", OptKind::Integer, "14"},
        {"ZzMa1Edit", OptKind::Integer, "14"},
        {"ZzMa2Edit", OptKind::Integer, "14"},
        {"MaGeb1Edit", OptKind::Decimal, "5,00"},
        {"MaGeb2Edit", OptKind::Decimal, "10,00"},
        {"SicherungChk1", OptKind::Flag, "FALSE"},
        // No medium until the person chooses one (a drive letter names none here).
        {"BkDir", OptKind::Text, ""},
        {"EuroChk", OptKind::Flag, "TRUE"},
        {"DmEdit", OptKind::Decimal, "1,95583"},
        {"PreisAuszChk", OptKind::Flag, "FALSE"},
        {"NetzwerkChk", OptKind::Obsolete, ""},
        {"SonstEdit1", OptKind::Text, ""},
        {"SonstEdit2", OptKind::Text, ""},
        {"LogoChk", OptKind::Flag, "TRUE"},
        {"PW_MedChk", OptKind::Flag, "FALSE"},
        {"PW_LeistChk", OptKind::Flag, "FALSE"},
        {"PW_KundeChk", OptKind::Flag, "FALSE"},
        {"PW_KarteiChk", OptKind::Flag, "FALSE"},
        {"PW_PatChk", OptKind::Flag, "FALSE"},
        {"PW_AbgChk", OptKind::Flag, "FALSE"},
        {"PW_ReMaChk", OptKind::Flag, "FALSE"},
        {"PW_EA_Chk", OptKind::Flag, "FALSE"},
        {"PW_EAR_Chk", OptKind::Flag, "FALSE"},
        {"PW_TextChk", OptKind::Flag, "FALSE"},
        {"PW_TerminChk", OptKind::Flag, "FALSE"},
        {"PW_SysChk", OptKind::Flag, "FALSE"},
        {"PasswortEdit", OptKind::Text, kDefaultPassword},
        {"StdExtPathName", OptKind::Text, ""},
        {"NameEdit2", OptKind::Text, ""},
        {"StrasseEdit2", OptKind::Text, ""},
        {"PLZEdit2", OptKind::Text, ""},
        {"TelEdit2", OptKind::Text, ""},
        {"FaxEdit2", OptKind::Text, ""},
        {"FirmaEdit2", OptKind::Text, ""},
        {"SonstEdit3", OptKind::Text, ""},
        {"SonstEdit4", OptKind::Text, ""},
        {"BankEdit2", OptKind::Text, ""},
        {"BLZEdit2", OptKind::Text, ""},
        {"KtoEdit2", OptKind::Text, ""},
        {"BarsoiInternetAdresse", OptKind::Text, kDefaultDownloadAddress},
        {"KontoinhaberEdit", OptKind::Text, ""},
        {"KontoinhaberEdit2", OptKind::Text, ""},
        {"GiroCodeChk", OptKind::Flag, "TRUE"},
    };
    return keys;
}

QString ScramblePassword(const QString& password)
{
    if (password == QLatin1String(kDefaultPassword))
        return password;
    QString out;
    for (qsizetype i = password.size() - 1; i >= 0; --i)
        out.append(QChar(password[i].unicode() + 2));
    out.insert(qMin<qsizetype>(4, out.size()), QLatin1Char('p'));
    return out;
}

QString UnscramblePassword(const QString& stored)
{
    if (stored == QLatin1String(kDefaultPassword))
        return stored;
    // The "p" stands after the fourth character, or last when the password is shorter.
    QString text = stored;
    if (!text.isEmpty())
        text.remove(qMin<qsizetype>(4, text.size() - 1), 1);
    QString out;
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        out.append(QChar(text[i].unicode() - 2));
    return out;
}

OptionValues::OptionValues()
{
    for (const OrderedKey& k : OrderedOptionKeys())
        m_values.insert(Key(k.name), QString::fromLatin1(k.defaultValue));
}

void OptionValues::SetValue(const QString& key, const QString& value)
{
    m_values.insert(key, value);
}

bool OptionValues::Flag(const QString& key) const
{
    return Value(key) == QLatin1String("TRUE");
}

void OptionValues::SetFlag(const QString& key, bool on)
{
    SetValue(key, on ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void OptionValues::SetPassword(const QString& password)
{
    SetValue(QStringLiteral("PasswortEdit"), ScramblePassword(password));
}

OptionValues ReadOrderedOptions(const IniFile& ini)
{
    OptionValues values;
    const QStringList fileKeys = ini.ReadSection(kSection);
    qsizetype cursor = 0;
    for (const OrderedKey& k : OrderedOptionKeys()) {
        const QString name = Key(k.name);
        if (cursor >= fileKeys.size() || fileKeys[cursor].compare(name, Qt::CaseInsensitive) != 0)
            continue;  // stays at its default
        const QString stored = ini.ReadString(kSection, name);
        if (cursor < fileKeys.size() - 1)
            ++cursor;
        switch (k.kind) {
            case OptKind::Obsolete:
                break;
            case OptKind::Flag:
                // Double price display never comes back on by itself.
                if (name != QLatin1String("PreisAuszChk"))
                    values.SetFlag(name, stored == QLatin1String("TRUE"));
                break;
            default:
                values.SetValue(name, stored);
                break;
        }
    }
    return values;
}

bool WriteOrderedOptions(IniFile& ini, const OptionValues& values)
{
    // One replace of the file: a crash leaves the old settings or the new ones.
    IniBatch batch(ini);
    bool ok = ini.EraseSection(kSection);
    for (const OrderedKey& k : OrderedOptionKeys()) {
        const QString name = Key(k.name);
        QString value = values.Value(name);
        switch (k.kind) {
            case OptKind::OldText:
            case OptKind::Obsolete:
                continue;
            case OptKind::Flag:
                break;
            default:
                if (name == QLatin1String("DmEdit") && value.isEmpty())
                    value = FormatFloat(QStringLiteral("0.00000"), 1.95583L);
                else if (name == QLatin1String("BkDir"))
                    value = WithTrailingSeparator(value);
                if (value.isEmpty())
                    continue;
                break;
        }
        ok = ini.WriteString(kSection, name, value) && ok;
    }
    return batch.Commit() && ok;
}

bool ParseVatRates(const OptionValues& values, VatRates* rates)
{
    static const char* const kCurrent[] = {"Mwst1Edit", "Mwst2Edit", "Mwst3Edit"};
    static const char* const kPrevious[] = {"AlteMwst1Edit", "AlteMwst2Edit", "AlteMwst3Edit"};
    VatRates parsed;
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        ok = TryStrToFloat(values.Value(Key(kCurrent[i])), &parsed.current[i]) && ok;
        ok = TryStrToFloat(values.Value(Key(kPrevious[i])), &parsed.previous[i]) && ok;
    }
    *rates = ok ? parsed : VatRates{};
    return ok;
}

WindowGeometry ReadWindowGeometry(const IniFile& ini)
{
    WindowGeometry g;
    g.height = ini.ReadInteger(kSection, QStringLiteral("wHeight"), -1);
    g.width = ini.ReadInteger(kSection, QStringLiteral("wWidth"), -1);
    g.left = ini.ReadInteger(kSection, QStringLiteral("wLeft"), -1);
    g.top = ini.ReadInteger(kSection, QStringLiteral("wTop"), -1);
    g.maximised = ini.ReadInteger(kSection, QStringLiteral("wsMax"), 1) != 0;
    return g;
}

QList<ColumnWidthKey> ColumnWidthKeys(int recordCardDefault)
{
    return {
        {"wBeh", recordCardDefault, recordCardDefault},
        {"wMed", 356, 60},
        {"wWZ", 62, 60},
        {"wCh", 92, 60},
        {"wMedBem", 516, 60},
        {"wLeist", 195, 50},
        {"wTier", 126, 50},
        {"wGot", 88, 50},
        {"wLeistBem", 400, 50},
        {"L2GridBemW", -1, 0},
        {"wKName", 140, 50},
        {"wKVorname", 100, 50},
        {"wKStr", 135, 50},
        {"wKPLZ", 150, 50},
        {"wKTel", 97, 50},
        {"wKAnrede", 90, 50},
        {"wKBem", 390, 50},
        {"wKMail", 100, 50},
    };
}

QHash<QString, int> ReadColumnWidths(const IniFile& ini, int recordCardDefault)
{
    QHash<QString, int> widths;
    for (const ColumnWidthKey& k : ColumnWidthKeys(recordCardDefault)) {
        const QString name = Key(k.name);
        const int width = ini.ReadInteger(kSection, name, k.defaultWidth);
        if (k.defaultWidth < 0 && width < 0)
            continue;
        widths.insert(name, qMax(width, k.minimum));
    }
    return widths;
}

namespace {

QString LettersAndDigits(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (c.isLetterOrNumber())
            out.append(c);
    return out;
}

}  // namespace

PharmacyAccount PharmacyAccountSetting(const OptionValues& v)
{
    const QString practice =
        LettersAndDigits(v.Value(QStringLiteral("BLZEdit")) + v.Value(QStringLiteral("KtoEdit")));
    const QString pharmacy =
        LettersAndDigits(v.Value(QStringLiteral("BLZEdit2")) + v.Value(QStringLiteral("KtoEdit2")));
    PharmacyAccount result;
    result.separateAccount = !pharmacy.isEmpty() && pharmacy != practice;
    const QString practiceName =
        v.Value(QStringLiteral("NameEdit")) + v.Value(QStringLiteral("FirmaEdit"));
    result.name = v.Value(QStringLiteral("NameEdit2")) + v.Value(QStringLiteral("FirmaEdit2"));
    if (result.name.isEmpty() && result.separateAccount)
        result.name = practiceName;
    if (result.name == practiceName && !result.separateAccount)
        result.name.clear();
    return result;
}
