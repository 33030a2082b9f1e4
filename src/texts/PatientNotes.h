#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The notes table of a customer ("P" + number + ".PAT"): record lines of three cells, date,
// text and a short column. These rules work on the lines alone.
namespace notes {

QString FileName(const QString& customerNumber);
// A record line of the three cells.
QString Line(const QString& date, const QString& text, const QString& shortText = {});
// The three cells of a line, each followed by one TAB, whatever it held before.
QString Normalised(const QString& line);
// No cell holds more than blanks.
bool IsBlank(const QString& line);

struct Span {
    int first = 0;
    int last = -1;
    int Count() const { return last - first + 1; }
};

// The row with the rows above and below it up to the nearest blank row each way; a blank
// row is a paragraph of its own.
Span Paragraph(const QStringList& lines, int row);
// The patient block the row belongs to: from the separator row at or above it up to the
// row before the next separator, without the blank rows at its end.
std::optional<Span> PatientBlock(const QStringList& lines, int row);

// The rows of a new patient from the patient panel's values (name, species, breed, colour,
// date of birth, sex, castration, animal or passport number): the separator, "Patient:"
// with species and name, then each detail that is filled.
QStringList PatientBlockRows(const QStringList& values);
// Appends blank rows until the table ends with ten, writes the block into them from the
// first and returns the index of the patient row.
int AppendPatientBlock(QStringList& lines, const QStringList& blockRows);

// A document link: "@" + path + " ", the path a file name alone when the file lies in the
// default document folder.
QString LinkCell(const QString& path, const QString& defaultFolder);
// The link in a cell: the text after the first "@" up to a file extension (a "." and three
// or four letters or digits) that ends the text or is followed by a blank.
std::optional<QString> LinkOf(const QString& cell);
// A link named without its folder lies in the default document folder.
bool IsBareName(const QString& link);

}  // namespace notes
