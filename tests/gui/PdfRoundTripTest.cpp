#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "printing/PrinterList.h"
#include "printing/TPrintStrList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"

namespace {

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PageCount(const QString& pdf)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:"))) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return -1;
}

// Each needle must appear after the one before it.
void ExpectInOrder(const QString& text, const QStringList& needles)
{
    qsizetype from = 0;
    for (const QString& n : needles) {
        const qsizetype at = text.indexOf(n, from);
        EXPECT_GE(at, 0) << "missing or out of order: " << n.toStdString();
        if (at >= 0) {
            from = at + n.size();
        }
    }
}

struct PdfFixture : ::testing::Test {
    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0, 5))};
    ScriptedUserPort port;
    QtPrintCanvas canvas{dir.path(), clock};
    void SetUp() override { canvas.SelectPrinter(PrinterList::kPdfPrinterName); }
    // Keeps a PNG of each page beside the PDF when TALVEN_KEEP_PNG names a folder.
    void Render(const QString& pdf, const QString& name)
    {
        const QString keep = qEnvironmentVariable("TALVEN_KEEP_PNG");
        if (!keep.isEmpty()) {
            RunTool(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), pdf,
                     QDir(keep).filePath(name)});
        }
    }
};

TEST_F(PdfFixture, LetterWithLetterheadReachesThePdfInOrder)
{
    TPrintStrList letter(canvas, port);
    letter.Kopf = {QStringLiteral("Tierarztpraxis Dr. Berger"),
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
                   QStringLiteral("Kto 123456"),
                   QStringLiteral("Erinnerung"),
                   QStringLiteral("Ihre Rechnung vom 01.02.2024"),
                   QStringLiteral("USt-IdNr. DE123"),
                   QStringLiteral("www.praxis.de")};
    letter.KopfPrint = true;
    letter.DateLabel = QStringLiteral("15.03.2024");
    letter.PrintMgrTitle = QStringLiteral("Talven - Brief");
    letter.PageNumberLabel = QStringLiteral("Seite ");
    letter.StringList.append(QStringLiteral("Sehr geehrte Frau Mustermann,"));
    letter.StringList.append(QString());
    for (int i = 1; i <= 70; ++i) {
        letter.StringList.append(
            QStringLiteral("Absatz %1\tmit Tabulator\tund Umlauten äöüß").arg(i));
    }
    letter.StringList.append(QStringLiteral("Mit freundlichen Grüßen"));
    letter.Print();

    const QString pdf = canvas.LastPdfFile();
    ASSERT_TRUE(pdf.startsWith(QDir(dir.path()).filePath(QStringLiteral("PDF/Talven - Brief_"))));
    EXPECT_EQ(PageCount(pdf), 2);
    const QString text =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ExpectInOrder(text, {QStringLiteral("Tierarztpraxis Dr. Berger"), QStringLiteral("Hauptstr. 1"),
                         QStringLiteral("Erika Mustermann"), QStringLiteral("54321 Beispielort"),
                         QStringLiteral("15.03.2024"), QStringLiteral("Erinnerung"),
                         QStringLiteral("Sehr geehrte Frau"), QStringLiteral("Absatz 1 "),
                         QStringLiteral("Seite 1"), QStringLiteral("Absatz 70"),
                         QStringLiteral("Mit freundlichen Grüßen"), QStringLiteral("Seite 2")});
    EXPECT_TRUE(text.contains(QStringLiteral("und Umlauten äöüß")));
    Render(pdf, QStringLiteral("letter"));
}

}  // namespace
