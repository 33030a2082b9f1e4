// Several workstations on one data folder: a second process stands for the other one.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSet>

#include "TableFixture.h"
#include "platform/FileLock.h"
#include "table/RecordLine.h"
#include "table/TableFile.h"

namespace {

class Workstations : public TableFixture {
protected:
    // A child process that holds the lock of `path` for `ms` milliseconds.
    void Hold(QProcess& child, const QString& path, int ms)
    {
        child.start(TALVEN_HELPER_journal_child, {"hold", path, QString::number(ms)});
        ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
    }
};

TEST_F(Workstations, LockIsWaitedForAskedAboutAndNeverLeftBehind)
{
    const QString journal = Path("Z32024.zae");
    testfiles::WriteAll(journal, "");
    env->lockWaitMs = 5000;

    // Held briefly elsewhere: waited for, no question.
    {
        QProcess other;
        Hold(other, journal, 400);
        QElapsedTimer waited;
        waited.start();
        EXPECT_TRUE(table::AppendChangeLine(*env, port, journal, "+a\t"));
        EXPECT_GE(waited.elapsed(), 200);
        EXPECT_TRUE(port.messages.isEmpty());
        other.waitForFinished();
    }
    // Held longer than the wait: the person is asked; giving up writes nothing.
    env->lockWaitMs = 100;
    {
        QProcess other;
        Hold(other, journal, 3000);
        port.QueueAnswer(Answer::Ok);
        port.QueueAnswer(Answer::Cancel);
        EXPECT_FALSE(table::AppendChangeLine(*env, port, journal, "+b\t"));
        ASSERT_EQ(port.messages.size(), 2);
        EXPECT_EQ(port.LastText(),
                  "Die Datei Z32024.zae wird gerade von einem anderen Arbeitsplatz bearbeitet."
                  "\r\rOK: erneut versuchen\rAbbrechen: Vorgang abbrechen (die Änderung wird "
                  "nicht gespeichert)");
        EXPECT_EQ(testfiles::ReadAll(journal), "+a\t\r\n");

        // A workstation that crashes while holding the lock leaves none behind.
        other.kill();
        other.waitForFinished();
        files::FileLock lock(journal);
        EXPECT_EQ(lock.TryLock(), files::FileLock::State::Locked);
    }
    // Locks of one process nest: the inner release keeps the outer lock.
    {
        files::FileLock outer(Path("ST_RECHN.DBF"));
        ASSERT_EQ(outer.TryLock(), files::FileLock::State::Locked);
        {
            files::FileLock inner(Path("st_rechn.dbf"));
            ASSERT_EQ(inner.TryLock(), files::FileLock::State::Locked);
        }
        QProcess other;
        other.start(TALVEN_HELPER_journal_child, {"hold", Path("ST_RECHN.DBF"), "0"});
        ASSERT_TRUE(other.waitForFinished(10000));
        EXPECT_EQ(other.exitCode(), 3) << "the other process got the lock";
    }
}

// Two workstations append bookings to one journal and merge it in between: every booking
// is there exactly once at the end, none cut or glued to another.
TEST_F(Workstations, AppendsAndMergesOfTwoProcessesLoseNothing)
{
    constexpr int kPerProcess = 5000;
    constexpr int kMergeEvery = 250;
    // Memory-backed where there is one: the test is about the locks, not the disk.
    QTemporaryDir shm(QDir("/dev/shm").exists() ? "/dev/shm/talven-XXXXXX" : QString());
    const QString journal = (shm.isValid() ? shm.path() : dir.path()) + "/Z32024.zae";
    testfiles::WriteAll(journal, "");

    QProcess a;
    QProcess b;
    for (auto [child, tag] : {std::pair{&a, "A"}, std::pair{&b, "B"}})
        child->start(
            TALVEN_HELPER_journal_child,
            {"soak", journal, tag, QString::number(kPerProcess), QString::number(kMergeEvery)});
    for (QProcess* child : {&a, &b}) {
        ASSERT_TRUE(child->waitForFinished(240000));
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().toStdString();
    }

    auto grid = MakeGrid(recordline::kJournalCells);
    grid->LoadJournal(journal);
    QSet<QString> seen;
    int twice = 0;
    for (const QString& line : grid->Lines()) {
        EXPECT_EQ(line.count('\t'), recordline::kJournalCells) << line.toStdString();
        if (seen.contains(recordline::Cell(line, recordline::kJourReceipt)))
            ++twice;
        seen.insert(recordline::Cell(line, recordline::kJourReceipt));
    }
    int lost = 0;
    for (const char* tag : {"A", "B"}) {
        for (int i = 1; i <= kPerProcess; ++i)
            lost += !seen.contains(QStringLiteral("%1-%2").arg(tag).arg(i));
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(twice, 0);
    EXPECT_EQ(grid->RecordCount(), 2 * kPerProcess);
    RecordProperty("appended", 2 * kPerProcess);
    RecordProperty("lost", lost);
}

}  // namespace
