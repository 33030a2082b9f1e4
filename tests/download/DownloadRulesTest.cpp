#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "download/DownloadRules.h"
#include "support/MemorySettings.h"
#include "support/QtPrinters.h"
#include "support/ScriptedUserPort.h"

using namespace download;

TEST(DownloadRules, RequestAddressFollowsTheTemplate)
{
    const QString secure = "https://h.invalid/onlineupdate.php?user=&&password=&&file=";
    struct Case {
        QString addressTemplate, user, password, file, address;
    };
    const Case cases[] = {
        {secure, "praxis", "geheim", kBarsoiText,
         "https://h.invalid/onlineupdate.php?user=praxis&&password=geheim&&file=BLMEDI1.TXT"
         "&product=bl_pr_evk"},
        {"HTTP://H.invalid/Update?USER=&&PassWord=&&File=", "Dr. Müller", "a&b#c=d", kBarsoiXml,
         "HTTP://H.invalid/Update?USER=Dr.%20M%C3%BCller&&password=a%26b%23c%3Dd&&file=BARSOI.XML"},
        {"https://h.invalid/update?user=", "praxis", "geheim", kBarsoiText, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BarsoiRequestAddress(c.addressTemplate, c.user, c.password, c.file), c.address);
    EXPECT_EQ(SecureAddress("http://h.invalid/x?user=a"), "https://h.invalid/x?user=a");
    EXPECT_EQ(SecureAddress(secure), secure);
}

TEST(DownloadRules, ListDatesAndTheirComparison)
{
    EXPECT_EQ(WdtListDate("ART_20240115.txt"), "15.01.2024");
    EXPECT_EQ(NewestWdtListDate({"ART_20231201.txt", "PRS_20250101.txt", "ART_20240115.txt"}),
              "15.01.2024");
    EXPECT_EQ(BarsoiXmlDate("<barsoi>\n<daten>01.03.2024</daten>"), "01.03.2024");
    MemorySettings settings;
    EXPECT_EQ(RememberedListDate(settings, ListSource::Wdt), "31.12.2000");
    EXPECT_TRUE(ListStillCurrent("15.01.2024", "15.01.2024"));
    EXPECT_FALSE(ListStillCurrent("14.01.2024", "15.01.2024"));
    EXPECT_FALSE(ListStillCurrent("15.01.2024", "5.1.24"));
}

TEST(DownloadRules, FoldersAreCreatedLevelByLevelOrNamed)
{
    QTemporaryDir dir;
    ScriptedUserPort port;
    EXPECT_FALSE(EnsureDownloadFolder("DATEN/", ListSource::Wdt, port));
    EXPECT_EQ(port.LastText(), "Pfadangabe ungültig !");
    EXPECT_TRUE(EnsureDownloadFolder(dir.filePath("a/b/"), ListSource::Barsoi, port));
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/BARSOI")).isDir());
    QFile blocker(dir.filePath("c"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_FALSE(EnsureDownloadFolder(dir.filePath("c"), ListSource::Wdt, port));
    EXPECT_EQ(port.LastText(),
              "Pfad: " + dir.filePath("c") +
                  " kann nicht erzeugt werden!Laufwerk-Fehler ?! Schreibschutz ?!");
}

TEST(DownloadRules, PlainHttpIsWarnedAboutOncePerAddress)
{
    MemorySettings settings;
    ScriptedUserPort port;
    for (const char* address : {"https://h.invalid/?user=", "http://h.invalid/?user=",
                                "http://h.invalid/?user=", "http://other.invalid/?user="})
        WarnAboutPlainHttpOnce(address, settings, port);
    EXPECT_EQ(port.messages.size(), 2);
}
