#include <gtest/gtest.h>

#include "printing/PrinterList.h"
#include "support/ScriptedUserPort.h"

namespace {

struct FakePrinters : PrinterList {
    QStringList names;
    QStringList reachable;
    QStringList PrinterNames() const override { return names; }
    QString DefaultPrinter() const override { return names.value(0); }
    bool IsReachable(const QString& n) const override { return reachable.contains(n); }
};

TEST(PrinterListTest, AnyReachablePrinterPassesTheCheckNoneShowsTheMessage)
{
    FakePrinters printers;
    printers.names = {QStringLiteral("Laser"), QStringLiteral("Tinte")};
    printers.reachable = {QStringLiteral("Tinte")};
    ScriptedUserPort port;
    EXPECT_TRUE(CheckPrinterReachable(printers, QStringLiteral("Laser"), port));
    EXPECT_TRUE(port.messages.isEmpty());

    printers.reachable.clear();
    EXPECT_FALSE(CheckPrinterReachable(printers, QStringLiteral("Laser"), port));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.LastText(),
              QStringLiteral("Es ist derzeit kein Standard-Drucker erreichbar -\rTALVEN kann "
                             "daher keine Druckaufträge ausführen!\r\rBitte Drucker aktivieren "
                             "und TALVEN neu starten!"));
}

TEST(PrinterListTest, PdfFileNamesAreSafeAndStamped)
{
    const QDateTime stamp(QDate(2024, 3, 15), QTime(10, 0, 5));
    EXPECT_EQ(PdfFileNameForJob(QStringLiteral("Talven - Rechnung 0001/002"), stamp),
              QStringLiteral("Talven - Rechnung 0001-002_20240315_100005.pdf"));
    EXPECT_EQ(PdfFileNameForJob(QStringLiteral("a:b*c?"), stamp),
              QStringLiteral("a-b-c-_20240315_100005.pdf"));
    EXPECT_EQ(PdfFileNameForJob(QString(), stamp), QStringLiteral("Druck_20240315_100005.pdf"));
}

}  // namespace
