#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/CodePage.h"
#include "download/MedicationTakeOver.h"
#include "masterdata/MasterGridLayout.h"
#include "masterdata/MasterWorkspace.h"
#include "support/MemorySettings.h"
#include "support/QtPrinters.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

using download::ListSource;

namespace {

const QStringList kTable = {
    // Stock-kept: stock and code survive every take-over.
    "Amoxi 200 Tabl.\t1,00\t2,00\t2,38\t1\t0\tCH-7\tmeins\t5\tM0001\t",
    "Humana\t1,00\t2,00\t2,38\t1\t\t\t(H) vom Arzt\t\t\t",
    "Zylexis\t4,00\t6,00\t7,14\t1\t\t\tVetpharm\t\t\t",
};
const QByteArray kHeader = "Hersteller;Artikel;EinkNetto;VerkNetto;USt;Wartezeit\r\n";
const QByteArray kList = kHeader +
                         "Vetpharm;amoxi 200 tabl.;3,20;;1;28\r\n"  // found without regard to case
                         "Vetpharm;Humana;10,00;;1;\r\n"            // human preparation markup
                         "Futter AG;Bello Futter;2,00;3,50;2;\r\n"  // new, 7 %
                         "Futter AG;Zylexis;4,00;6,00;1;\r\n";      // as it is

struct TakeOverTest : ::testing::Test {
    QTemporaryDir dir;
    QString med = dir.filePath("MED.DBF");
    QString list = dir.filePath("BLMEDI1.TXT");
    ScriptedUserPort port;
    MemorySettings settings;
    TSGrid grid{port};
    PriceSettings prices;

    TakeOverTest()
    {
        prices.currentVat = {19, 7, 0};
        testfiles::WriteLines(med, kTable);
        SetUpMasterGrid(grid, MasterTable::Medication);
        LoadMasterTable(grid, MasterTable::Medication, med);
    }

    bool Run(const QString& path, ListSource source, bool confirm = false)
    {
        download::GridMedicationTable table(grid, med);
        return download::RunTakeOver({source, path, confirm}, port, settings, prices, table);
    }
    QStringList FileLines() const { return cp1252::SplitLines(testfiles::ReadAll(med)); }
};

TEST_F(TakeOverTest, UpdatesPricesAddsInOrderAndKeepsStockAndCodes)
{
    testfiles::WriteAll(list, kList);
    ASSERT_TRUE(Run(list, ListSource::Barsoi));
    const QStringList expected = {
        "Amoxi 200 Tabl.\t3,20\t5,18\t6,16\t1\t0\tCH-7\tmeins\t5\tM0001\t",
        "Bello Futter\t2,00\t3,50\t3,75\t2\t\t\tFutter AG\t\t\t",
        "Humana\t10,00\t18,40\t21,90\t1\t\t\t(H) vom Arzt\t\t\t",
        "Zylexis\t4,00\t6,00\t7,14\t1\t\t\tVetpharm\t\t\t",
    };
    EXPECT_EQ(FileLines(), expected);
    EXPECT_EQ(grid.Lines(), expected);
    const QString date = QFileInfo(list).lastModified().date().toString("dd.MM.yyyy");
    EXPECT_EQ(port.LastText(), "Liste vom " + date +
                                   " übernommen:\r\r2 Preise aktualisiert\r1 Medikament neu "
                                   "aufgenommen\r1 Medikament unverändert");
    EXPECT_EQ(download::RememberedListDate(settings, ListSource::Barsoi), date);
    EXPECT_EQ(download::LastBarsoiFile(settings), "BLMEDI1.TXT");
}

TEST_F(TakeOverTest, RefusedManufacturersLoseTheirMedicationsButNotTheirStock)
{
    testfiles::WriteAll(list, kList);
    // Cancelling the deletion warning leaves everything as it was.
    const QByteArray before = testfiles::ReadAll(med);
    port.QueueAnswer(Answer::No);   // Vetpharm
    port.QueueAnswer(Answer::Yes);  // Futter AG
    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(Run(list, ListSource::Barsoi, true));
    EXPECT_EQ(testfiles::ReadAll(med), before);

    port.messages.clear();
    port.QueueAnswer(Answer::No);
    port.QueueAnswer(Answer::Yes);
    port.QueueAnswer(Answer::Ok);
    ASSERT_TRUE(Run(list, ListSource::Barsoi, true));
    EXPECT_EQ(port.Texts().mid(0, 3),
              (QStringList{"Hersteller \"Vetpharm\" übernehmen?\r(2 Artikel in der Liste)",
                           "Hersteller \"Futter AG\" übernehmen?\r(2 Artikel in der Liste)",
                           "1 Medikament unbestätigter Hersteller wird jetzt gelöscht !"}));
    EXPECT_EQ(FileLines(),
              (QStringList{kTable[0], "Bello Futter\t2,00\t3,50\t3,75\t2\t\t\tFutter AG\t\t\t",
                           kTable[2]}));
    EXPECT_TRUE(
        port.LastText().endsWith("1 Medikament gelöscht\r1 Medikament mit Lagerbestand behalten"));
}

TEST_F(TakeOverTest, FaultyListsChangeNothingAndNameTheLine)
{
    const QByteArray art = "Artikelnr;Hersteller;Bezeichnung;USt;Art;Wartezeit\r\n";
    const QByteArray prs = "Artikelnr;EinkNetto;VerkNetto\r\n";
    const QByteArray xmlHead = "<?xml version=\"1.0\"?>\n<barsoi>\n<daten>01.03.2024</daten>\n";
    struct Case {
        const char* file;
        QByteArray bytes;
        QByteArray prices;  // WDT: the PRS_ file
        const char* fault;
    };
    const Case cases[] = {
        {"BLMEDI1.TXT", "Name;Preis\r\n", {}, "BLMEDI1.TXT, Zeile 1: Kopfzeile"},
        {"BLMEDI1.TXT",
         kHeader + "V;A;1,00;;1;\r\nV;B;1,00;1\r\n",
         {},
         "Zeile 3: 6 Felder erwartet, 4"},
        {"BLMEDI1.TXT", kHeader + "V;A;3.20;;1;\r\n", {}, "Zeile 2: Einkaufspreis \"3.20\""},
        {"BLMEDI1.TXT", kHeader + "V;A;3,20;;4;\r\n", {}, "Zeile 2: USt-Kennzeichen \"4\""},
        {"BLMEDI1.TXT", kHeader + "V;;3,20;;1;\r\n", {}, "Zeile 2: Artikelname fehlt"},
        {"BLMEDI1.TXT",
         kHeader + "V;Aa;1,00;;1;\r\n\r\nW;AA;2,00;;1;\r\n",
         {},
         "Zeile 4: Artikel \"AA\" steht schon in Zeile 2"},
        {"BARSOI.XML",
         xmlHead + "<artikel><name>A</name>\n</barsoi>\n",
         {},
         "BARSOI.XML, Zeile 5: XML-Fehler"},
        {"BARSOI.XML",
         xmlHead + "<artikel><hersteller>V</hersteller>\n<name>A</name></artikel></barsoi>",
         {},
         "Zeile 4: <ek> fehlt"},
        {"BARSOI.XML", "<barsoi><daten>1.3.24</daten></barsoi>", {}, "Zeile 1: Datum \"1.3.24\""},
        {"ART_20240115.txt", art + "1;V;A;1;A;\r\n", prs + "1;1,00;\r\n2;1,00;\r\n",
         "PRS_20240115.txt, Zeile 3: Artikelnummer \"2\" fehlt in ART_20240115.txt"},
        {"ART_20240115.txt", art + "1;V;A;1;A;\r\n2;V;B;1;A;\r\n", prs + "1;1,00;\r\n",
         "ART_20240115.txt, Zeile 3: kein Preis in PRS_20240115.txt"},
        {"ART_20240115.txt", art + "1;V;Futter;2;F;\r\n", prs + "1;1,00;\r\n",
         "PRS_20240115.txt, Zeile 2: Futtermittel brauchen einen Verkaufspreis"},
    };
    const QByteArray before = testfiles::ReadAll(med);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        testfiles::WriteAll(med, before);
        testfiles::WriteAll(dir.filePath(c.file), c.bytes);
        const bool wdt = QString(c.file).startsWith("ART_");
        if (wdt)
            testfiles::WriteAll(dir.filePath("PRS_20240115.txt"), c.prices);
        port.messages.clear();
        EXPECT_FALSE(Run(wdt ? dir.filePath("ART_ ...") : dir.filePath(c.file),
                         wdt ? ListSource::Wdt : ListSource::Barsoi));
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_TRUE(port.LastText().contains(c.fault)) << port.LastText().toStdString();
        EXPECT_TRUE(port.LastText().endsWith("Die Medikamententabelle bleibt unverändert."));
        EXPECT_EQ(testfiles::ReadAll(med), before);
        EXPECT_EQ(grid.Lines(), kTable);
    }
    EXPECT_TRUE(settings.values.isEmpty());
}

TEST_F(TakeOverTest, WdtPairMarksItsMedicationsAndFeeds)
{
    testfiles::WriteAll(dir.filePath("ART_20231201.txt"), "veraltet");
    testfiles::WriteAll(dir.filePath("ART_20240115.txt"),
                        "Artikelnr;Hersteller;Bezeichnung;USt;Art;Wartezeit\r\n"
                        "1;Vetpharm;Amoxi 200 Tabl.;1;A;28\r\n"
                        "2;Futter AG;Bello Futter;2;F;\r\n");
    testfiles::WriteAll(dir.filePath("PRS_20240115.txt"),
                        "Artikelnr;EinkNetto;VerkNetto\r\n2;2,00;3,50\r\n1;10,00;\r\n");
    ASSERT_TRUE(Run(dir.filePath("ART_ ..."), ListSource::Wdt));
    EXPECT_EQ(FileLines().mid(0, 2),
              (QStringList{"Amoxi 200 Tabl.\t10,00\t14,80\t17,61\t1\t0\tCH-7\tmeins\t5\tM0001\t",
                           "Bello Futter\t2,00\t3,50\t3,75\t2\t\t\t(F) (WDT) Futter AG\t\t\t"}));
    EXPECT_EQ(download::RememberedListDate(settings, ListSource::Wdt), "15.01.2024");
}

}  // namespace
