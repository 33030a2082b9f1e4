#pragma once

#include <QString>
#include <QStringList>

// What a printed PDF holds, read back with the poppler tools.
namespace pdftools {

// The text of a PDF; `layout` keeps the columns where they stand on the page.
QString Text(const QString& pdf, bool layout = true);
// The number of pages, -1 when the file cannot be read.
int PageCount(const QString& pdf);
// Each needle must appear after the one before it.
void ExpectInOrder(const QString& text, const QStringList& needles);
// Keeps the PDF and a PNG of each page in the folder TALVEN_KEEP_PNG names, if it is set,
// so that a person can look at what was printed.
void Keep(const QString& pdf, const QString& name);

}  // namespace pdftools
