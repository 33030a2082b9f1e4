#include "printing/Letterhead.h"

#include <QRegularExpression>

#include "common/KeyValueSettings.h"

namespace {

// Without blanks, in capitals: "de89 3704 0044" gives "DE8937040044".
QString Compact(const QString& line)
{
    QString text = line.toUpper();
    text.remove(QLatin1Char(' '));
    return text;
}

}  // namespace

BusinessData BusinessFromOptions(const KeyValueSettings& options, bool pharmacy)
{
    const auto read = [&](const char* practiceKey, const char* pharmacyKey) {
        QString value;
        options.Read(QStringLiteral("Optionen"),
                     QLatin1String(pharmacy ? pharmacyKey : practiceKey), &value);
        return value;
    };
    BusinessData b;
    b.name = read("NameEdit", "NameEdit2");
    b.firm = read("FirmaEdit", "FirmaEdit2");
    b.street = read("StrasseEdit", "StrasseEdit2");
    b.town = read("PLZEdit", "PLZEdit2");
    b.phone = read("TelEdit", "TelEdit2");
    b.fax = read("FaxEdit", "FaxEdit2");
    b.bank = read("BankEdit", "BankEdit2");
    b.accountIban = read("BLZEdit", "BLZEdit2");
    b.accountBic = read("KtoEdit", "KtoEdit2");
    b.iban = LabelledIban(b.accountIban);
    b.bic = LabelledBic(b.accountBic);
    b.holder = read("KontoinhaberEdit", "KontoinhaberEdit2");
    b.extra1 = read("SonstEdit1", "SonstEdit3");
    b.extra2 = read("SonstEdit2", "SonstEdit4");
    return b;
}

bool PharmacySetUp(const KeyValueSettings& options)
{
    QString name;
    options.Read(QStringLiteral("Optionen"), QStringLiteral("NameEdit2"), &name);
    return !name.trimmed().isEmpty();
}

bool IsUndecidedSalutation(const QString& salutation)
{
    static const QStringList kUndecided = {
        QStringLiteral("FRAU/HERRN/FIRMA"), QStringLiteral("FRAU/HERR/FIRMA"),
        QStringLiteral("HERRN/FRAU/FIRMA"), QStringLiteral("HERR/FRAU/FIRMA")};
    return kUndecided.contains(Compact(salutation));
}

QString PrintedSalutation(const QString& salutation)
{
    return IsUndecidedSalutation(salutation) ? QString() : salutation;
}

QString LabelledIban(const QString& line)
{
    // Country, check digits, 11 to 30 letters and digits of the account.
    static const QRegularExpression kIban(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{11,30}$"));
    return kIban.match(Compact(line)).hasMatch() ? QStringLiteral("IBAN: ") + line.trimmed() : line;
}

QString LabelledBic(const QString& line)
{
    // Bank, country, place, and an optional branch.
    static const QRegularExpression kBic(
        QStringLiteral("^[A-Z]{4}[A-Z]{2}[A-Z0-9]{2}([A-Z0-9]{3})?$"));
    return kBic.match(Compact(line)).hasMatch() ? QStringLiteral("BIC: ") + line.trimmed() : line;
}

QString AddresseeNameLine(const QString& firstName, const QString& name)
{
    QString line = firstName + QLatin1Char(' ') + name;
    if (line.startsWith(QLatin1Char(' ')))
        line.remove(0, 1);
    return line;
}

QStringList LetterSlots(const LetterSlotsInput& in)
{
    const BusinessData& b = in.business;
    QStringList kopf{
        b.name, in.firmLine ? b.firm : QString(),    b.street,
        b.town, in.phoneLines ? b.phone : QString(), in.phoneLines ? b.fax : QString()};
    for (int i = 0; i < 4; ++i)
        kopf << in.addressee.value(i);
    if (in.bankData)
        kopf << b.bank << b.iban << b.bic;
    else
        kopf << QString() << QString() << QString();
    kopf << in.subject << in.subject2;
    kopf << (in.phoneLines ? b.extra1 : QString()) << (in.phoneLines ? b.extra2 : QString());
    return kopf;
}
