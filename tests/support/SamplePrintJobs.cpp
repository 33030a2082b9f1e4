#include "SamplePrintJobs.h"

#include "printing/TPrintGrid2.h"
#include "table/TSGrid.h"

namespace samples {

namespace {

// Practice, addressee and bank: the lines every head starts with.
QStringList Common()
{
    return {QStringLiteral("Tierarztpraxis Dr. Berger"),
            QStringLiteral("Fachtierarzt für Kleintiere"),
            QStringLiteral("Hauptstr. 1"),
            QStringLiteral("12345 Musterstadt"),
            QStringLiteral("Tel. 01234/5678"),
            QStringLiteral("Fax 01234/5679"),
            QStringLiteral("Frau"),
            QStringLiteral("Erika Mustermann"),
            QStringLiteral("Gartenweg 5"),
            QStringLiteral("54321 Beispielort"),
            QStringLiteral("Sparkasse Musterstadt"),
            QStringLiteral("BLZ 100 200 30"),
            QStringLiteral("Kto 123456")};
}

}  // namespace

QStringList LetterKopf()
{
    return Common() << QStringLiteral("Erinnerung")
                    << QStringLiteral("Ihre Rechnung vom 01.02.2024")
                    << QStringLiteral("USt-IdNr. DE123") << QStringLiteral("www.praxis.de");
}

QStringList InvoiceKopf(const QString& number, const QString& logo)
{
    return Common() << QStringLiteral("RECHNUNG") << number
                    << QStringLiteral("Zahlbar bis 29.03.2024 ohne Abzug.") << QStringLiteral("1")
                    << logo << QStringLiteral("USt-IdNr. DE123") << QStringLiteral("www.praxis.de");
}

std::unique_ptr<TSGrid> InvoiceGrid(UserPort& port, const QStringList& lines)
{
    auto grid = std::make_unique<TSGrid>(port);
    grid->SetColCount(5);
    grid->Resize(12 * 21);
    grid->SetLines(lines);
    grid->SetTitles({QString(), QStringLiteral("Datum"), QStringLiteral("Bezeichnung"),
                     QStringLiteral("USt(%)"), QStringLiteral("Netto")});
    return grid;
}

}  // namespace samples
