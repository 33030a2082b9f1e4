#pragma once

#include <QString>
#include <QStringList>

// The practice Dr. Berger writing to Erika Mustermann, as the print jobs take a letterhead.
namespace samples {

// A letter's head: practice, addressee, bank, subject and reference line.
QStringList LetterKopf();
// An invoice's head with its number and the logo file (none when empty).
QStringList InvoiceKopf(const QString& number, const QString& logo = {});

}  // namespace samples
