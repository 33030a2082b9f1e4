#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "download/DownloadRules.h"

// The drug price lists the download fetches, read into articles. The formats are
// described in docs/drug-lists.md. Reading checks the whole list; the first fault ends it
// with a message that names the file and the line.
namespace download {

struct ListArticle {
    QString manufacturer;
    QString name;
    long double purchase = 0;  // net, Euro
    bool hasSale = false;      // without a sale net the drug price markup gives it
    long double sale = 0;
    QString vatCode;  // "1" .. "3"
    QString waitingTime;
    bool feed = false;  // a feed (WDT article kind "F") rather than a medicine
    int line = 0;       // of the article in its file
};

struct DrugList {
    ListSource source = ListSource::Barsoi;
    QString date;  // dd.MM.yyyy
    QString fileName;
    QList<ListArticle> articles;
};

struct ListReadResult {
    bool ok = false;
    DrugList list;
    QString error;  // the German message for the person
};

// The header lines of the text lists.
inline constexpr char kBarsoiHeader[] = "Hersteller;Artikel;EinkNetto;VerkNetto;USt;Wartezeit";
inline constexpr char kWdtArticleHeader[] = "Artikelnr;Hersteller;Bezeichnung;USt;Art;Wartezeit";
inline constexpr char kWdtPriceHeader[] = "Artikelnr;EinkNetto;VerkNetto";

// BLMEDI1.TXT; the text form carries no date, the caller gives the download date.
ListReadResult ReadBarsoiText(const QByteArray& bytes, const QString& fileName,
                              const QString& date);
// BARSOI.XML, with its date in <daten>.
ListReadResult ReadBarsoiXml(const QByteArray& bytes, const QString& fileName);
// An ART_/PRS_ pair: articles and their prices joined by the article number.
ListReadResult ReadWdtLists(const QByteArray& articles, const QString& articleName,
                            const QByteArray& prices, const QString& priceName);

// Reads the list a take-over starts from: a Barsoi file (its date is the file's date for
// the text form), or for WDT the named ART_ file, or the newest one in the folder when
// the name is only the "ART_ ..." pattern, with the PRS_ file of the same date.
ListReadResult ReadListFiles(const QString& path, ListSource source);

// Whether an answer of the list service is the list itself rather than a notice page:
// the text form starts with its header line, the XML form with the element <barsoi>.
bool IsBarsoiList(const QByteArray& body, bool xml);

}  // namespace download
