#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "TableFixture.h"
#include "common/CodePage.h"

namespace {

QByteArray Content(QChar variant, int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        if (variant == 'A')
            lines << QStringLiteral("A%1\tMüller\tHauptstraße %1\t12,50000\t").arg(i);
        else
            lines << QStringLiteral("B%1\tMeier\tBahnhofstraße %1\t7,00000\t").arg(i);
    }
    return cp1252::JoinLines(lines);
}

// A process that is killed in the middle of a save leaves the old or the new table,
// never a missing or partial one.
TEST(SafeSaveCrash, KilledWhileSavingLeavesACompleteTable)
{
    constexpr int kLines = 3000;
    constexpr int kKills = 200;
    QTemporaryDir dir;
    const QString path = dir.path() + "/KUNDE.DBF";
    const QByteArray a = Content('A', kLines);
    const QByteArray b = Content('B', kLines);
    testfiles::WriteAll(path, a);

    int seenA = 0;
    int seenB = 0;
    int leftovers = 0;
    auto* rng = QRandomGenerator::global();
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess child;
        child.start(TALVEN_HELPER_table_save_child, {path, QString::number(kLines)});
        ASSERT_TRUE(child.waitForStarted(5000));
        ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
        QThread::usleep(rng->bounded(15000));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(5000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "saves stopped before the kill";

        const QByteArray now = testfiles::ReadAll(path);
        ASSERT_TRUE(now == a || now == b) << "kill " << kill << ": " << now.size() << " bytes";
        (now == a ? seenA : seenB)++;
        if (QFileInfo::exists(dir.path() + "/KUNDE.~DB"))
            ++leftovers;
    }
    EXPECT_EQ(seenA + seenB, kKills);
    RecordProperty("old", seenA);
    RecordProperty("new", seenB);
    RecordProperty("temporary_left", leftovers);
}

}  // namespace
