#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

// What a printed PDF holds, read back with the poppler tools.
namespace pdftools {

// The text of a PDF; `layout` keeps the columns where they stand on the page.
QString Text(const QString& pdf, bool layout = true);
// The number of pages, -1 when the file cannot be read.
int PageCount(const QString& pdf);
// A word of a page with its box in millimetres from the page's top left corner.
struct Word {
    QString text;
    QRectF mm;
};
QList<Word> Words(const QString& pdf, int page = 1);
// The box of the first word with that text; an empty box when there is none.
QRectF BoxOf(const QList<Word>& words, const QString& text);

// The QR code on a page, rendered at 100 dpi (about what a phone camera sees of paper) and
// read with zbarimg; empty when none is found.
QByteArray ScannedCode(const QString& pdf, int page = 1);

// Each needle must appear after the one before it.
void ExpectInOrder(const QString& text, const QStringList& needles);
// Keeps the PDF and a PNG of each page in the folder TALVEN_KEEP_PNG names, if it is set,
// so that a person can look at what was printed.
void Keep(const QString& pdf, const QString& name);

}  // namespace pdftools
