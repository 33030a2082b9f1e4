#include "texts/LetterHead.h"

#include "printing/Letterhead.h"

namespace tlvheader {

namespace {

const QString kUnset = QStringLiteral("- - -");

// A marker character typed into a field would shift every field after it when the line
// is read again; it is written as what it looks like instead.
QString Clean(const QString& text)
{
    QString out = text;
    out.replace(kField, QLatin1String("..."));
    out.replace(kEnd, QLatin1Char('+'));
    return out;
}

QString Flag(bool on)
{
    return on ? QStringLiteral("T") : QStringLiteral("F");
}

}  // namespace

QString Marker()
{
    return QString(kField) + kEnd + kField;
}

bool IsHeaderLine(const QString& line)
{
    return line.startsWith(Marker());
}

QString Build(const LetterHead& h)
{
    const QString first = (h.pharmacy ? QStringLiteral("(A) ") : QString()) + Clean(h.salutation);
    const QStringList fields = {first,          Clean(h.firstName),
                                Clean(h.name),  Clean(h.street),
                                Clean(h.town),  h.date.isEmpty() ? kUnset : Clean(h.date),
                                Clean(h.title), Flag(h.bank),
                                Flag(h.phone),  Flag(h.firm)};
    QString line = Marker();
    for (int i = 0; i < fields.size(); ++i)
        line += fields[i] + (i + 1 < fields.size() ? kField : kEnd);
    return line;
}

QString Field(const QString& line, int n)
{
    if (!IsHeaderLine(line) || n < 1)
        return {};
    qsizetype pos = Marker().size();
    for (int i = 1; pos <= line.size(); ++i) {
        qsizetype end = pos;
        while (end < line.size() && line[end] != kField && line[end] != kEnd)
            ++end;
        if (i == n)
            return line.mid(pos, end - pos);
        if (end >= line.size())
            break;
        pos = end + 1;
    }
    return {};
}

LetterHead Parse(const QString& line)
{
    LetterHead h;
    QString first = Field(line, 1);
    h.pharmacy = first.startsWith(QLatin1String("(A) "));
    if (h.pharmacy)
        first.remove(0, 4);
    h.salutation = first;
    h.firstName = Field(line, 2);
    h.name = Field(line, 3);
    h.street = Field(line, 4);
    h.town = Field(line, 5);
    const QString date = Field(line, 6);
    h.date = date == kUnset ? QString() : date;
    h.title = Field(line, 7);
    h.bank = Field(line, 8) != QLatin1String("F");
    h.phone = Field(line, 9) != QLatin1String("F");
    h.firm = Field(line, 10) != QLatin1String("F");
    return h;
}

QString Label(const LetterHead& h)
{
    // Empty parts are left out; a letterhead of a subject alone (the reminder text, whose
    // addressee comes with each appointment) shows its subject.
    QStringList parts;
    for (const QString& part : {h.name, h.firstName, h.street, h.town}) {
        if (!part.trimmed().isEmpty())
            parts << part;
    }
    if (parts.isEmpty())
        return h.title.isEmpty() ? QStringLiteral("- - -") : QStringLiteral("Titel: ") + h.title;
    return parts.join(QStringLiteral(", "));
}

bool SalutationFirst(const QString& salutation)
{
    static const QStringList kForms = {QStringLiteral("Frau / Herr / Firma"),
                                       QStringLiteral("Herr / Frau / Firma"),
                                       QStringLiteral("Frau / Herrn / Firma"),
                                       QStringLiteral("Herrn / Frau / Firma"),
                                       QStringLiteral("Frau"),
                                       QStringLiteral("Fräulein"),
                                       QStringLiteral("Herr"),
                                       QStringLiteral("Herrn"),
                                       QStringLiteral("Frau und Herr"),
                                       QStringLiteral("Frau und Herrn"),
                                       QStringLiteral("Herr und Frau"),
                                       QStringLiteral("Herrn und Frau"),
                                       QStringLiteral("Familie"),
                                       QStringLiteral("Fam."),
                                       QStringLiteral("Firma")};
    const QString s = salutation.trimmed();
    return kForms.contains(s) || s.startsWith(QLatin1String("An"));
}

QStringList AddresseeLines(const LetterHead& h)
{
    const QString nameLine = AddresseeNameLine(h.firstName, h.name);
    // The undecided form names nobody: the name line keeps its place, its line stays empty.
    if (IsUndecidedSalutation(h.salutation))
        return {QString(), nameLine};
    if (SalutationFirst(h.salutation))
        return {h.salutation, nameLine};
    return {nameLine, h.salutation};
}

}  // namespace tlvheader
