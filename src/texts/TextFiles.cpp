#include "texts/TextFiles.h"

#include <QDir>
#include <QFileInfo>

#include "common/CodePage.h"
#include "platform/Files.h"
#include "texts/LetterHead.h"

namespace textfiles {

QStringList LinesOf(const QString& text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

QString TextOf(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

bool WriteLines(const QString& path, const QStringList& lines)
{
    const QFileInfo info(path);
    const QString temp = info.dir().filePath(info.completeBaseName() + QStringLiteral(".~TL"));
    return files::ReplaceAtomically(path, temp, cp1252::JoinLines(lines));
}

QString ProposeFileName(const QString& folder, const QString& name, const QString& firstName)
{
    QString base = name + QLatin1Char(' ') + firstName;
    for (QChar& ch : base) {
        if (ch == QLatin1Char(' ') || ch == QLatin1Char('.') || ch == QLatin1Char('/') ||
            ch == QLatin1Char('\\'))
            ch = QLatin1Char('_');
    }
    base = base.left(7);
    for (int digit = 1; digit <= 9; ++digit) {
        const QString candidate = base + QString::number(digit) + QStringLiteral(".tlv");
        if (!QFileInfo::exists(files::FindCaseInsensitive(folder, candidate)))
            return candidate;
    }
    return base + QStringLiteral(".tlv");
}

QString StoredPath(const QString& chosen)
{
    const QFileInfo info(chosen);
    QString name = info.fileName();
    if (info.suffix().isEmpty())
        name += QLatin1Char('.') + kExtension;
    return QDir(info.absolutePath()).filePath(name.toUpper());
}

Special SpecialOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName().toUpper();
    if (name == QLatin1String("MAHNUNG1.TLV") || name == QLatin1String("MAHNUNG2.TLV"))
        return Special::Dunning;
    if (name == QLatin1String("IMPFERG.TLV"))
        return Special::VaccinationReminder;
    return Special::None;
}

QString SpecialNotice(Special special)
{
    switch (special) {
        case Special::Dunning:
            return QStringLiteral(
                "Veränderungen des Mahnungstextes wirken\rsich auf den Stapeldruck MAHNUNGEN aus!");
        case Special::VaccinationReminder:
            return QStringLiteral(
                "Veränderungen des Impferinnerungstextes\rwirken sich auf den Stapeldruck für\r"
                "Impferinnerungen aus (s. Terminkalender)!");
        case Special::None:
            break;
    }
    return {};
}

QStringList DefaultTextNames()
{
    return {QStringLiteral("MAHNUNG1.TLV"), QStringLiteral("MAHNUNG2.TLV"),
            QStringLiteral("IMPFERG.TLV")};
}

namespace {

const QString kGreeting = QStringLiteral("Sehr geehrte Tierhalterin, sehr geehrter Tierhalter,");
const QString kClosing = QStringLiteral("Mit freundlichen Grüßen");

// The dunning letters carry no header line: their letterhead comes from the practice data
// and the customer. DDD, BBB, MMM and FFF are filled in when a reminder is printed.
QStringList FirstReminder()
{
    return {kGreeting,
            QString(),
            QStringLiteral("sicher ist es Ihrer Aufmerksamkeit entgangen, dass unsere Rechnung"),
            QStringLiteral("vom DDD noch nicht beglichen ist."),
            QString(),
            QStringLiteral("Der offene Betrag beläuft sich auf BBB;"),
            QStringLiteral("darin sind Mahngebühren von MMM enthalten."),
            QString(),
            QStringLiteral("Bitte überweisen Sie den Betrag bis zum FFF auf unser im"),
            QStringLiteral("Briefkopf genanntes Konto. Sollte sich Ihre Zahlung mit diesem"),
            QStringLiteral("Schreiben überschnitten haben, betrachten Sie es bitte als"),
            QStringLiteral("gegenstandslos."),
            QString(),
            QStringLiteral("Bei Fragen zu unserer Rechnung sind wir gern für Sie da."),
            QString(),
            kClosing};
}

QStringList SecondReminder()
{
    return {kGreeting,
            QString(),
            QStringLiteral("leider konnten wir trotz unserer Zahlungserinnerung bis heute keinen"),
            QStringLiteral("Zahlungseingang zu unserer Rechnung vom DDD feststellen."),
            QString(),
            QStringLiteral("Der offene Betrag beläuft sich inzwischen auf BBB;"),
            QStringLiteral("darin sind Mahngebühren von MMM enthalten."),
            QString(),
            QStringLiteral("Wir bitten Sie dringend, den Betrag bis spätestens FFF auf unser"),
            QStringLiteral("im Briefkopf genanntes Konto zu überweisen. Sollte die Zahlung bis"),
            QStringLiteral("dahin nicht eingegangen sein, werden wir die Forderung ohne weitere"),
            QStringLiteral("Ankündigung gerichtlich geltend machen. Die dadurch entstehenden"),
            QStringLiteral("Kosten gehen zu Ihren Lasten."),
            QString(),
            QStringLiteral("Falls Sie den Betrag inzwischen überwiesen haben, betrachten Sie"),
            QStringLiteral("dieses Schreiben bitte als gegenstandslos. Haben Sie Schwierigkeiten"),
            QStringLiteral("mit der Zahlung, sprechen Sie uns bitte an: Gemeinsam finden wir"),
            QStringLiteral("eine Lösung."),
            QString(),
            kClosing};
}

// The reminder letter's header line gives it its subject; the addressee comes from the
// appointment's customer, TTT is the appointment's text block.
QStringList VaccinationReminder()
{
    LetterHead head;
    head.salutation.clear();
    head.title = QStringLiteral("Erinnerung an die Impfung Ihres Tieres");
    return {tlvheader::Build(head),
            kGreeting,
            QString(),
            QStringLiteral("für Ihr Tier steht demnächst eine Impfung an:"),
            QString(),
            QStringLiteral("TTT"),
            QString(),
            QStringLiteral("Regelmäßige Impfungen schützen Ihr Tier zuverlässig vor gefährlichen"),
            QStringLiteral("Infektionskrankheiten. Bitte vereinbaren Sie einen Termin mit uns"),
            QStringLiteral("und bringen Sie den Heimtierausweis bzw. Impfpass Ihres Tieres mit."),
            QString(),
            QStringLiteral("Haben Sie bereits einen Termin vereinbart, betrachten Sie dieses"),
            QStringLiteral("Schreiben bitte als gegenstandslos."),
            QString(),
            kClosing};
}

}  // namespace

QStringList DefaultText(const QString& name)
{
    const QString upper = name.toUpper();
    if (upper == QLatin1String("MAHNUNG1.TLV"))
        return FirstReminder();
    if (upper == QLatin1String("MAHNUNG2.TLV"))
        return SecondReminder();
    if (upper == QLatin1String("IMPFERG.TLV"))
        return VaccinationReminder();
    return {};
}

bool WriteMissingDefaultTexts(const QString& textsFolder)
{
    bool ok = true;
    for (const QString& name : DefaultTextNames()) {
        if (QFileInfo::exists(files::FindCaseInsensitive(textsFolder, name)))
            continue;
        ok = WriteLines(QDir(textsFolder).filePath(name), DefaultText(name)) && ok;
    }
    return ok;
}

}  // namespace textfiles
