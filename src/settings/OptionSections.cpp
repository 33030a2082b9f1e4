#include "settings/OptionSections.h"

#include <QFileInfo>

#include "platform/Files.h"
#include "settings/IniFile.h"
#include "settings/TableFont.h"

namespace {

const QString kDokumente = QStringLiteral("Dokumente");
const QString kOptionenSection = QString::fromLatin1(kOptionen);
const QString kDateien = QStringLiteral("TLVDateien");
const QString kDocSender = QStringLiteral("DOCSENDER");

struct SwitchKey {
    const char* section;
    const char* key;
};

// In MainSwitch order.
const SwitchKey kSwitchKeys[kMainSwitchCount] = {
    {"GotSuche", "MGotSucheChk"},       {"Zeilenstop", "ZeilenstopChk"},
    {"Menge1Druck", "Menge1DruckChk"},  {"Menge2Druck", "Menge2DruckChk"},
    {"GotDruck", "GotDruckChk"},        {"FaktorDruck", "FaktorDruckChk"},
    {"TierDruck", "TierDruckChk"},      {"Optionen", "MedInvAutom"},
    {"Optionen", "Bemerkungsfreigabe"}, {"Optionen", "InvMedMarkieren"},
};

QString RecentKey(int n)
{
    return QStringLiteral("Datei%1").arg(n);
}

}  // namespace

QStringList DefaultDocumentTexts()
{
    return {
        QStringLiteral("RECHNUNG"),
        QStringLiteral("Für tierärztliche Bemühungen erlaube ich mir zu berechnen:"),
        QStringLiteral("Zahlbar bis zum FFF ohne Abzug."),
        QString(),
        QStringLiteral("QUITTUNG"),
        QStringLiteral("Für tierärztliche Bemühungen erlaube ich mir zu berechnen:"),
        QStringLiteral("Betrag bar / mit EC-Karte / per Scheck dankend erhalten!"),
        QString(),
        QStringLiteral("ANGEBOT"),
        QStringLiteral("Folgende tierärzliche Leistungen werden angeboten:"),
        QStringLiteral("Unvorhersehbare Maßnahmen können zu einer Kostenüberschreitung führen."),
        QString(),
    };
}

QString MendedDocumentText(qsizetype index, const QString& stored)
{
    // The receipt's first foot text of earlier versions began with a stray "." and a gap.
    static const QString kOldReceiptFoot =
        QStringLiteral(".                    € Bar / EC / Scheck dankend erhalten!");
    return index == 6 && stored == kOldReceiptFoot ? DefaultDocumentTexts()[6] : stored;
}

QStringList LoadDocumentTexts(IniFile& ini)
{
    QStringList texts;
    for (const QString& key : ini.ReadSection(kDokumente))
        texts.append(MendedDocumentText(texts.size(), ini.ReadString(kDokumente, key)));
    const QStringList defaults = DefaultDocumentTexts();
    const qsizetype held = texts.size();
    if (held < 1)
        texts.append(defaults.mid(0, 4));
    if (held < 5)
        texts.append(defaults.mid(4, 4));
    if (held < 9)
        texts.append(defaults.mid(8, 4));
    // Older files knew the offer only by its last foot text.
    if (held >= 9 && held <= 11) {
        texts.insert(8, defaults[8]);
        texts.insert(9, defaults[9]);
        texts.insert(10, defaults[10]);
    }
    SaveDocumentTexts(ini, texts);
    return texts;
}

bool SaveDocumentTexts(IniFile& ini, const QStringList& texts)
{
    IniBatch batch(ini);
    bool ok = ini.EraseSection(kDokumente);
    for (qsizetype i = 0; i < texts.size(); ++i)
        ok = ini.WriteString(kDokumente, QStringLiteral("D%1").arg(i), texts[i]) && ok;
    return batch.Commit() && ok;
}

MainSwitches ReadMainSwitches(const IniFile& ini)
{
    MainSwitches switches;
    if (!ini.HasFile()) {
        switches.Set(MainSwitch::Zeilenstop, true);
        switches.Set(MainSwitch::TierDruck, true);
        switches.Set(MainSwitch::Menge1Druck, true);
        switches.Set(MainSwitch::Menge2Druck, true);
        return switches;
    }
    for (int i = 0; i < kMainSwitchCount; ++i) {
        // An invoice states the quantity supplied: a file that never stored the quantity
        // switches (a new installation) takes quantities over; a stored value is kept.
        const bool quantity =
            i == int(MainSwitch::Menge1Druck) || i == int(MainSwitch::Menge2Druck);
        switches.on[i] = ini.ReadBool(QString::fromLatin1(kSwitchKeys[i].section),
                                      QString::fromLatin1(kSwitchKeys[i].key), quantity);
    }
    return switches;
}

void WriteMainSwitch(IniFile& ini, MainSwitch s, bool on)
{
    const SwitchKey& k = kSwitchKeys[static_cast<int>(s)];
    ini.WriteBool(QString::fromLatin1(k.section), QString::fromLatin1(k.key), on);
}

void WriteOnClose(IniFile& ini, const CloseState& state, int recordCardDefault)
{
    IniBatch batch(ini);
    const WindowGeometry& g = state.geometry;
    ini.WriteString(kOptionenSection, QStringLiteral("wsMax"),
                    g.maximised ? QStringLiteral("1") : QStringLiteral("0"));
    ini.WriteInteger(kOptionenSection, QStringLiteral("wHeight"), g.height);
    ini.WriteInteger(kOptionenSection, QStringLiteral("wWidth"), g.width);
    ini.WriteInteger(kOptionenSection, QStringLiteral("wLeft"), g.left);
    ini.WriteInteger(kOptionenSection, QStringLiteral("wTop"), g.top);
    for (const ColumnWidthKey& k : ColumnWidthKeys(recordCardDefault)) {
        const QString name = QString::fromLatin1(k.name);
        if (state.columnWidths.contains(name))
            ini.WriteInteger(kOptionenSection, name, state.columnWidths.value(name));
    }
    ini.WriteBool(kOptionenSection, QStringLiteral("MedInvAutom"), state.medInvAutom);
    ini.WriteString(QStringLiteral("StdMenge"), QStringLiteral("Leistung"), state.standardQuantity);
    if (state.screenWidth > 1000)
        ini.WriteInteger(kOptionenSection, QStringLiteral("TabFontSize"), state.tabFontSize);
}

int ReadTabFontSize(const IniFile& ini)
{
    return tablefont::Sanitize(
        ini.ReadInteger(kOptionenSection, QStringLiteral("TabFontSize"), tablefont::kDefaultSize));
}

QStringList ReadRecentFiles(const IniFile& ini)
{
    QStringList entries;
    for (int n = 1; n <= 4; ++n)
        entries.append(ini.ReadString(kDateien, RecentKey(n)));
    return entries;
}

void AddRecentFile(IniFile& ini, const QString& path)
{
    IniBatch batch(ini);
    const QStringList entries = ReadRecentFiles(ini);
    int found = 0;
    for (int n = 1; n <= 4; ++n) {
        if (!entries[n - 1].isEmpty() && entries[n - 1].compare(path, Qt::CaseInsensitive) == 0) {
            found = n;
            break;
        }
    }
    if (found == 1) {
        ini.WriteString(kDateien, RecentKey(1), path);
        return;
    }
    const int last = found > 0 ? found - 1 : 3;
    // Move 1 … last down by one, stopping at the first absent entry.
    int moveUpTo = 0;
    while (moveUpTo < last && !entries[moveUpTo].isEmpty())
        ++moveUpTo;
    for (int n = moveUpTo; n >= 1; --n)
        ini.WriteString(kDateien, RecentKey(n + 1), entries[n - 1]);
    ini.WriteString(kDateien, RecentKey(1), path);
}

void RunYearChangeHousekeeping(IniFile& ini, int currentYear, const YearChangeWork& work)
{
    const QString bu = QStringLiteral("EraseBuYear");
    const QString inv = QStringLiteral("EraseInvYear");
    const QString year = QStringLiteral("Year");
    const QString med = QStringLiteral("Med");

    if (ini.ReadInteger(bu, year, -1) != currentYear) {
        const bool absent = !ini.ValueExists(bu, year);
        const bool ran = work.cleanUpBookings ? work.cleanUpBookings() : false;
        if (ran || absent)
            ini.WriteInteger(bu, year, currentYear);
    }
    if (ini.ReadInteger(inv, med, -1) != currentYear) {
        if (work.recalculateStock)
            work.recalculateStock();
        ini.WriteInteger(inv, med, currentYear);
    }
    if (ini.ReadInteger(inv, year, -1) != currentYear) {
        const bool absent = !ini.ValueExists(inv, year);
        const bool ran = work.cleanUpStockFiles ? work.cleanUpStockFiles() : false;
        if (ran || absent)
            ini.WriteInteger(inv, year, currentYear);
    }
}

QStringList MailControlCodeKeys()
{
    return {
        QStringLiteral("MailPrAdrUeberg"),       QStringLiteral("MailPrAusgDialogAkt"),
        QStringLiteral("MailPrAusgDialogDeakt"), QStringLiteral("MailPrClientAct"),
        QStringLiteral("MailPrClientDeakt"),     QStringLiteral("MailPrPDFNameSave"),
        QStringLiteral("MailPrPDFNameSend"),     QStringLiteral("MailPrEndCode"),
        QStringLiteral("MailPrBetreff"),         QStringLiteral("MailPrBodyDatei"),
        QStringLiteral("MailPrSystem"),
    };
}

MailPrinterSettings LoadMailPrinter(const QString& dataFolder, const QStringList& printers)
{
    const QString section = QStringLiteral("MailPrinter");
    const QString nameKey = QStringLiteral("MailPrinterName");
    const QString codes = QStringLiteral("ControlCode");
    const QString bodyKey = QStringLiteral("MailPrBodyDatei");

    const QString path = files::FindCaseInsensitive(dataFolder, QStringLiteral("MailPr.ini"));
    const bool exists = QFileInfo::exists(path);
    IniFile mail(exists ? path : QString());

    // The mail text lives in the program's own texts folder, wherever it was installed.
    if (exists && !mail.ReadString(codes, bodyKey).isEmpty()) {
        mail.WriteString(
            codes, bodyKey,
            QStringLiteral("@@mb") + dataFolder + QStringLiteral("Texte/MailText.txt"));
    }

    MailPrinterSettings settings;
    for (const QString& key : MailControlCodeKeys())
        settings.controlCodes.insert(key, mail.ReadString(codes, key));

    QString stored = mail.ReadString(section, nameKey);
    if (stored.isEmpty())
        stored = kDocSender;
    for (const QString& printer : printers) {
        if (printer.contains(stored, Qt::CaseSensitive)) {
            settings.printerName = printer;
            return settings;
        }
    }
    for (const QString& printer : printers) {
        if (printer.contains(kDocSender, Qt::CaseSensitive)) {
            settings.printerName = printer;
            if (printer != stored)
                mail.WriteString(section, nameKey, printer);
            return settings;
        }
    }
    return settings;
}
