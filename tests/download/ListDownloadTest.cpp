#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "download/CurlTransfer.h"
#include "download/TSuchenNachDlgForm.h"
#include "support/FixedClock.h"
#include "support/LoopbackServer.h"
#include "support/MemorySettings.h"
#include "support/QtPrinters.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

using download::ListSource;

namespace {

const QByteArray kArticles =
    "Artikelnr;Hersteller;Bezeichnung;USt;Art;Wartezeit\r\n"
    "1;Vetpharm;Amoxi 200 Tabl.;1;A;0\r\n";
const QByteArray kPrices = "Artikelnr;EinkNetto;VerkNetto\r\n1;3,20;\r\n";
const QByteArray kBarsoiText =
    "Hersteller;Artikel;EinkNetto;VerkNetto;USt;Wartezeit\r\n"
    "Vetpharm;Amoxi 200 Tabl.;3,20;;1;0\r\n";
const QByteArray kBarsoiXml =
    "<?xml version=\"1.0\"?>\n<barsoi><daten>01.03.2024</daten><artikel><hersteller>V"
    "</hersteller><name>Amoxi</name><ek>3,20</ek><ust>1</ust></artikel></barsoi>\n";
const QString kPassword = QStringLiteral("ge&h eim#1");  // arrives only when encoded

// The dialog's download against servers on this machine, with short time limits. The
// waits for a run's end are generous: a loaded machine may take long to start a server.
constexpr int kWaitMs = 90000;

class ListDownloadTest : public ::testing::Test {
protected:
    ListDownloadTest()
    {
        qunsetenv("http_proxy");
        qunsetenv("ftp_proxy");
        qunsetenv("all_proxy");
        QDir(m_server.path()).mkpath(QStringLiteral("."));
        // Before any transfer: answers posted without an application object would be lost.
        EnsureEventLoop();
    }

    // A download still running after a failed wait is stopped before the form and the
    // transfer go, the form first: it cancels through the transfer.
    ~ListDownloadTest() override { Close(); }

    void Close()
    {
        if (m_form && m_form->Busy()) {
            m_form->CancelDownload();
            RunEventsUntil([this] { return !m_form->Busy(); }, kWaitMs);
        }
        m_form.reset();
        m_transfer.reset();
    }

    void Open(const QString& addressTemplate, download::TransferLimits limits = Limits())
    {
        Close();
        m_transfer = std::make_unique<download::CurlTransfer>(limits);
        m_form = std::make_unique<TSuchenNachDlgForm>();
        m_form->OpenDownload({m_port, m_settings, m_clock, *m_transfer, m_data.path(),
                              addressTemplate, [this](const QString& url) {
                                  m_browsed << url;
                                  return true;
                              }});
    }

    static download::TransferLimits Limits()
    {
        download::TransferLimits limits;
        limits.connectMs = 3000;
        limits.responseMs = 5000;
        limits.stallSeconds = 10;
        return limits;
    }

    // Starts the download and waits for its end; returns the lines it added.
    QStringList Download()
    {
        const qsizetype before = m_form->InfoLines().size();
        m_form->StartDownload();
        EXPECT_TRUE(RunEventsUntil([this] { return !m_form->Busy(); }, kWaitMs));
        return m_form->InfoLines().mid(before);
    }

    QString Folder(ListSource s) const { return download::DownloadFolder(m_data.path(), s); }
    QString ServerFile(const QString& name) const { return m_server.filePath(name); }

    QTemporaryDir m_data;
    QTemporaryDir m_server;
    ScriptedUserPort m_port;
    MemorySettings m_settings;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 15), QTime(9, 0))};
    std::unique_ptr<download::CurlTransfer> m_transfer;
    std::unique_ptr<TSuchenNachDlgForm> m_form;
    QStringList m_browsed;
};

TEST_F(ListDownloadTest, WdtByFtp)
{
    struct Case {
        const char* name;
        QStringList flags;
        const char* password;
        bool withPrices;
        const char* remembered;
        QStringList lastLines;
        bool arrives;  // the server's files are in the folder afterwards
    };
    const QString cutPrices = QStringLiteral("PRS_20240115.txt");
    const Case cases[] = {
        {"active mode",
         {},
         download::kWdtPassword,
         true,
         nullptr,
         {"   Liste vom 15.01.2024 ist geladen !", "   Jetzt mit <OK> Übernahme in TALVEN !"},
         true},
        {"passive after refused active mode",
         {"--no-active"},
         download::kWdtPassword,
         true,
         "15.01.2024",
         {"   Liste vom 15.01.2024 ist geladen !", "   Die Liste in TALVEN ist noch aktuell !"},
         true},
        {"wrong password", {}, "anders", true, nullptr, {"   Keine Internet-Verbindung !"}, false},
        {"prices missing",
         {},
         download::kWdtPassword,
         false,
         nullptr,
         {"   Download fehlgeschlagen !"},
         false},
        {"server gone mid-transfer",
         {"--cut", cutPrices},
         download::kWdtPassword,
         true,
         nullptr,
         {"   Fehler: Verbindung getrennt!", "   Übertragungsfehler !"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(m_server.path()).removeRecursively();
        QDir().mkpath(m_server.path());
        testfiles::WriteAll(ServerFile("ART_20240115.txt"), kArticles);
        testfiles::WriteAll(ServerFile("LIESMICH.txt"), "nicht laden");
        if (c.withPrices)
            testfiles::WriteAll(ServerFile(cutPrices), kPrices + QByteArray(300000, ' '));
        // An older list in the folder stays whole unless a complete new one arrived.
        QDir().mkpath(Folder(ListSource::Wdt));
        const QString kept = Folder(ListSource::Wdt) + "ART_20240115.txt";
        testfiles::WriteAll(kept, "alte Liste");
        m_settings.values.clear();
        if (c.remembered)
            download::RememberListDate(m_settings, ListSource::Wdt, c.remembered);

        LoopbackServer server("ftp", m_server.path(), "127.0.0.1", c.password, c.flags);
        ASSERT_NE(server.Port(), 0);
        m_settings.Write(download::kDownloadSection, "WDTServer", server.Url());
        Open("https://x.invalid/onlineupdate.php?user=&&password=&&file=");
        m_form->ChooseSource(ListSource::Wdt);
        EXPECT_EQ(m_form->User(), "127.0.0.1");
        const QStringList lines = Download();

        EXPECT_EQ(lines.mid(lines.size() - c.lastLines.size()), c.lastLines);
        EXPECT_FALSE(lines.contains("   LIESMICH.txt"));
        EXPECT_EQ(testfiles::ReadAll(kept), c.arrives ? kArticles : QByteArray("alte Liste"));
        if (c.arrives) {
            EXPECT_EQ(testfiles::ReadAll(Folder(ListSource::Wdt) + cutPrices),
                      testfiles::ReadAll(ServerFile(cutPrices)));
            EXPECT_EQ(m_form->Path(), kept);
        }
    }
}

TEST_F(ListDownloadTest, BarsoiByHttp)
{
    testfiles::WriteAll(ServerFile(download::kBarsoiText), kBarsoiText);
    testfiles::WriteAll(ServerFile(download::kBarsoiXml), kBarsoiXml);
    LoopbackServer server("http", m_server.path(), "praxis", kPassword);
    ASSERT_NE(server.Port(), 0);
    int closedPort = 0;
    {
        LoopbackServer gone("http", m_server.path(), "praxis", kPassword);
        closedPort = gone.Port();
    }
    const QString plainTemplate = server.Url("/onlineupdate.php?user=&&password=&&file=");

    struct Case {
        const char* name;
        const char* user;
        const char* file;
        QStringList lastLines;
        QByteArray stored;  // the folder's file afterwards
    };
    const QByteArray old = "alte Liste";
    const Case cases[] = {
        {"text list",
         "praxis",
         download::kBarsoiText,
         {"   Liste vom 15.03.2024 ist geladen !", "   Jetzt mit <OK> Übernahme in TALVEN !"},
         kBarsoiText},
        {"xml list with its date",
         "praxis",
         download::kBarsoiXml,
         {"   Liste vom 01.03.2024 ist geladen !", "   Jetzt mit <OK> Übernahme in TALVEN !"},
         kBarsoiXml},
        {"wrong password",
         "jemand",
         download::kBarsoiText,
         {"   Anmeldung abgelehnt !", "   Bitte Username/ Passwort prüfen !"},
         old},
        {"missing file", "praxis", download::kBarsoiXml, {"   Server meldet Fehler 404 !"}, old},
        {"server gone mid-transfer",
         "abbruch",
         download::kBarsoiText,
         {"   Fehler: Verbindung getrennt!", "   Übertragungsfehler !"},
         old},
        {"notice instead of the list",
         "hinweis",
         download::kBarsoiText,
         {"DownLoad über gesicherte Internetverbindung !", "Speichern Sie die Datei BLMEDI1.TXT",
          "im oben angezeigten Pfad"},
         old},
        {"account incomplete",
         "",
         download::kBarsoiText,
         {"   Username/ Passwort unvollständig !", "   Bitte beides komplett eingeben !"},
         old},
        {"no server",
         "praxis",
         download::kBarsoiText,
         {"  Server antwortet nicht !", "  Internetverbindung o.k. ?"},
         old},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = c.name;
        if (name == "missing file")
            QFile::remove(ServerFile(download::kBarsoiXml));
        // A secure address to a closed port: nobody answers.
        Open(name == "no server" ? QStringLiteral("https://127.0.0.1:%1/onlineupdate.php?user=&&"
                                                  "password=&&file=")
                                       .arg(closedPort)
                                 : plainTemplate);
        m_form->SetPath(Folder(ListSource::Barsoi) + c.file);
        m_form->SetUser(c.user);
        m_form->SetPassword(kPassword);
        QDir().mkpath(Folder(ListSource::Barsoi));
        const QString target = Folder(ListSource::Barsoi) + c.file;
        testfiles::WriteAll(target, old);
        const QStringList lines = Download();
        EXPECT_EQ(lines.mid(lines.size() - c.lastLines.size()), c.lastLines);
        EXPECT_EQ(testfiles::ReadAll(target), c.stored);
    }
    // The stored plain address was warned about once; the notice opened the secure one.
    EXPECT_EQ(m_port.Texts().filter("unverschlüsselt").size(), 1);
    EXPECT_EQ(m_port.Texts().filter("Achtung: Neue Info !").size(), 1);
    ASSERT_EQ(m_browsed.size(), 1);
    EXPECT_TRUE(m_browsed[0].startsWith(
        server.Url("/onlineupdate.php?user=hinweis&&password=").replace("http:", "https:")))
        << m_browsed[0].toStdString();
}

TEST_F(ListDownloadTest, SlowServerLeavesTheWindowResponsiveAndCanBeStopped)
{
    LoopbackServer server("http", m_server.path(), "praxis", kPassword);
    ASSERT_NE(server.Port(), 0);
    const QString address = server.Url("/onlineupdate.php?user=&&password=&&file=");
    Open(address);
    m_form->SetUser("langsam");
    m_form->SetPassword(kPassword);
    m_form->StartDownload();
    EnsureEventLoop();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(5);
    EXPECT_TRUE(RunEventsUntil([&ticks] { return ticks >= 20; }, 10000));
    EXPECT_TRUE(m_form->Busy());
    m_form->CancelDownload();
    ASSERT_TRUE(RunEventsUntil([this] { return !m_form->Busy(); }, kWaitMs));
    EXPECT_EQ(m_form->InfoLines().last(), "   Download abgebrochen !");

    download::TransferLimits impatient = Limits();
    impatient.stallSeconds = 1;
    Open(address, impatient);
    m_form->SetUser("langsam");
    m_form->SetPassword(kPassword);
    EXPECT_EQ(Download().mid(1),
              (QStringList{"  Server antwortet nicht !", "  Internetverbindung o.k. ?"}));
}

}  // namespace
