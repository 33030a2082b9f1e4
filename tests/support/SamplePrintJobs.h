#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TSGrid;
class UserPort;

// Print jobs of the practice Dr. Berger for Erika Mustermann.
namespace samples {

// A letter's head: practice, addressee, bank, subject and reference line.
QStringList LetterKopf();
// An invoice's head with its number and the logo file (none when empty).
QStringList InvoiceKopf(const QString& number, const QString& logo = {});

// An invoice's positions as the grid holds them: date, text, VAT rate and net per line.
std::unique_ptr<TSGrid> InvoiceGrid(UserPort& port, const QStringList& lines);

}  // namespace samples
