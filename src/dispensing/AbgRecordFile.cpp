#include "dispensing/AbgRecordFile.h"

#include <QDir>
#include <QSet>

namespace abg {

namespace {

constexpr int kHeaderLines = 7;
constexpr int kOldCols = 8;

// Upper-case names of the folder's files, so that folders copied from Windows
// ("A0001_26.ABG") count as well; listed once per scan.
QSet<QString> NamesIn(const QString& folder)
{
    QSet<QString> names;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& e : entries)
        names.insert(e.toUpper());
    return names;
}

}  // namespace

const QStringList& ColumnTitles()
{
    static const QStringList titles = {
        QStringLiteral("Anzahl, Art, Ident. bzw. Nutzungsart ($58a AMG), ggfs. geschätztes "
                       "Gewicht"),
        QStringLiteral("Diagnose (nur bei Abgabe bzw. Atibiotika), bei Antibiotika stets "
                       "Untersuchungsdatum"),
        QStringLiteral("Arzneimittelbezeichnung, UPD-Package-ID oder Packungs-ID"),
        QStringLiteral("Chargenbez.(nur bei Abgabe)"),
        QStringLiteral("Anwendungs- oder Abgabemenge"),
        QStringLiteral("Dosierung pro Tier und Tag (nur bei Abgabe)"),
        QStringLiteral("Zeitpunkt, Dauer und Art der Anwendung (nur bei Abgabe)"),
        QStringLiteral("Behandlungs-, ggfs. ergänzt um Wirkungstage ($58a AMG)"),
        QStringLiteral("Wartezeit (M / F)"),
    };
    return titles;
}

int LastFilledRow(const Cells& cells)
{
    for (int row = kRows - 1; row >= 0; --row) {
        for (const QString& cell : cells[row]) {
            if (!cell.isEmpty())
                return row;
        }
    }
    return -1;
}

QStringList RecordLines(const Cells& cells, const Header& header)
{
    const int last = LastFilledRow(cells);
    if (last < 0)
        return {};
    const int rows = last < kShortRows ? kShortRows : kRows;
    QStringList lines;
    lines.reserve(kCols * rows + kHeaderLines);
    for (int col = 0; col < kCols; ++col) {
        for (int row = 0; row < rows; ++row)
            lines << cells[row][col];
    }
    lines << header.number << header.date << header.keeperLine << header.firstName << header.name
          << header.street << header.town;
    return lines;
}

FileForm FormOf(int lineCount)
{
    if (lineCount == kCols * kShortRows + kHeaderLines)
        return FileForm::Short;
    if (lineCount == kCols * kRows + kHeaderLines)
        return FileForm::Long;
    if (lineCount == kOldCols * kShortRows + kHeaderLines)
        return FileForm::Old;
    return FileForm::Unknown;
}

FileForm ParseRecordLines(const QStringList& lines, Cells* cells, Header* header)
{
    const FileForm form = FormOf(int(lines.size()));
    if (form == FileForm::Unknown)
        return form;
    const int rows = form == FileForm::Long ? kRows : kShortRows;
    *cells = Cells{};
    int at = 0;
    for (int col = 0; col < kCols; ++col) {
        if (form == FileForm::Old && col == kColAmount)
            continue;
        for (int row = 0; row < rows; ++row)
            (*cells)[row][col] = lines[at++];
    }
    header->number = lines[at++];
    header->date = lines[at++];
    header->keeperLine = lines[at++];
    header->firstName = lines[at++];
    header->name = lines[at++];
    header->street = lines[at++];
    header->town = lines[at++];
    return form;
}

QString KeeperLineOf(const QStringList& lines)
{
    return lines.size() >= 5 ? lines[lines.size() - 5] : QString();
}

QString RecordFileName(int number, int year)
{
    return QStringLiteral("A%1_%2.abg")
        .arg(number, 4, 10, QLatin1Char('0'))
        .arg(year % 100, 2, 10, QLatin1Char('0'));
}

QString YearFolder(const QString& programFolder, int year)
{
    return programFolder + QStringLiteral("Abg_%1/").arg(year, 4, 10, QLatin1Char('0'));
}

int YearOfDateText(const QString& date)
{
    return date.mid(6, 4).toInt();
}

int FirstFreeNumber(const QString& folder, int year, int from)
{
    const QSet<QString> names = NamesIn(folder);
    int n = qMax(from, 1);
    while (n < kMaxNumber && names.contains(RecordFileName(n, year).toUpper()))
        ++n;
    return n;
}

int HighestNumber(const QString& folder, int year)
{
    const QString suffix = QStringLiteral("_%1.ABG").arg(year % 100, 2, 10, QLatin1Char('0'));
    int highest = 0;
    for (const QString& name : NamesIn(folder)) {
        if (name.size() != 12 || !name.startsWith(QLatin1Char('A')) || !name.endsWith(suffix))
            continue;
        bool ok = false;
        const int n = name.mid(1, 4).toInt(&ok);
        if (ok && n < kMaxNumber)
            highest = qMax(highest, n);
    }
    return highest;
}

QString VvvoFromKeeperLine(const QString& keeperLine, int maxLength)
{
    static const QString marker = QStringLiteral("VVVO-Nr.: ");
    const qsizetype at = keeperLine.indexOf(marker);
    if (at < 0)
        return {};
    return keeperLine.mid(at + marker.size(), maxLength);
}

}  // namespace abg
