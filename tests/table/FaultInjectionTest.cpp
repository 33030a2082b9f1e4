#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "FailingFileIo.h"
#include "TableFixture.h"
#include "common/CodePage.h"
#include "platform/FileLock.h"
#include "table/TableFile.h"

namespace {

class FaultInjection : public TableFixture {
protected:
    void SetUp() override { env->io = io; }

    QString WriteError() const
    {
        return "Fehler beim Schreiben auf den Datenträger.\r(" + dir.path() +
               "/)\rBitte prüfen, ob der Datenträger beschreibbar ist!";
    }
    // Every file of the folder but the lock file: no temporary file may stay behind.
    QStringList Entries() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(".talven.lck");
        return names;
    }

    std::shared_ptr<FailingFileIo> io = std::make_shared<FailingFileIo>();
};

// A disk that fills up in the middle of an append leaves the file as it was and says so;
// the next append after a cut line of an older program starts a line of its own.
TEST_F(FaultInjection, AppendWritesTheWholeLineOrNothing)
{
    const QByteArray line = "+05.03.2024\t17\tMeier\t8,40\t19,0\t10,00\tB\t";
    struct Case {
        QByteArray before;
        qint64 budget;
    };
    const Case cases[] = {
        {"01.03.2024\t1\tA\t1,00\t19,0\t1,19\tB\t\r\n", 0},
        {"01.03.2024\t1\tA\t1,00\t19,0\t1,19\tB\t\r\n", 12},
        {"01.03.2024\t1\tA\t1,00\t19,0\t1,19\tB\t\r\n", line.size() + 1},
        {"01.03.2024\t1\tA\t1,00\t19,0\t1,19\tB\t\r\n02.03.2024\t2\tB", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.budget);
        testfiles::WriteAll(Path("Z32024.zae"), c.before);
        port.messages.clear();
        *io->budget = c.budget;
        EXPECT_FALSE(table::AppendChangeLine(*env, port, Path("Z32024.zae"), line));
        EXPECT_EQ(testfiles::ReadAll(Path("Z32024.zae")), c.before);
        EXPECT_EQ(port.Texts(), QStringList{WriteError()});

        *io->budget = 1 << 20;
        EXPECT_TRUE(table::AppendChangeLine(*env, port, Path("Z32024.zae"), line));
        const bool cut = !c.before.endsWith("\r\n");
        EXPECT_EQ(testfiles::ReadAll(Path("Z32024.zae")),
                  c.before + (cut ? "\r\n" : "") + line + "\r\n");
        auto grid = MakeGrid(7);
        grid->LoadJournal(Path("Z32024.zae"));
        EXPECT_EQ(grid->RecordCount(), cut ? 3 : 2);
        EXPECT_EQ(grid->Lines().last(), line.mid(1));
    }
    EXPECT_EQ(Entries(), QStringList{"Z32024.zae"});
}

// A save that cannot complete (disk full at any point, a rename that keeps failing) keeps
// the old file, the records in memory and no temporary file, and says so once.
TEST_F(FaultInjection, FailedSaveKeepsTheOldTable)
{
    const QByteArray old = "Alt\tA\t\r\n";
    struct Case {
        qint64 budget;
        int failedRenames;
    };
    for (const Case c : {Case{0, 0}, Case{5, 0}, Case{1 << 20, 99}}) {
        SCOPED_TRACE(c.budget);
        testfiles::WriteAll(Path("KUNDE.DBF"), old);
        port.messages.clear();
        *io->budget = c.budget;
        io->failedRenames = c.failedRenames;
        auto grid = MakeGrid(2);
        grid->LoadTable(Path("KUNDE.DBF"));
        grid->SetRecordCell(2, 0, "Neu");
        EXPECT_FALSE(grid->SaveTable(Path("KUNDE.DBF")));
        EXPECT_EQ(port.Texts(), QStringList{WriteError()});
        EXPECT_EQ(testfiles::ReadAll(Path("KUNDE.DBF")), old);
        EXPECT_EQ(Entries(), QStringList{"KUNDE.DBF"});
        EXPECT_TRUE(grid->IsModified());

        // A rename that fails only once or twice is bridged by the retries.
        *io->budget = 1 << 20;
        io->failedRenames = 2;
        port.messages.clear();
        EXPECT_TRUE(grid->SaveTable(Path("KUNDE.DBF")));
        EXPECT_TRUE(port.messages.isEmpty());
        EXPECT_EQ(testfiles::ReadAll(Path("KUNDE.DBF")), "Alt\tNeu\t\r\n");
    }
}

// A table that vanishes under a loaded grid is not written back silently; an append to a
// file that vanished writes nothing and creates nothing.
TEST_F(FaultInjection, VanishedFilesAreNotRecreatedSilently)
{
    testfiles::WriteAll(Path("ST_RECHN.DBF"), "0001/001\t\t\r\n");
    auto grid = MakeGrid(2);
    grid->LoadTable(Path("ST_RECHN.DBF"));
    QFile::remove(Path("ST_RECHN.DBF"));
    EXPECT_FALSE(table::AppendChangeLine(*env, port, Path("ST_RECHN.DBF"), "+0001/002\t"));
    EXPECT_FALSE(QFileInfo::exists(Path("ST_RECHN.DBF")));

    port.QueueAnswer(Answer::Cancel);
    grid->SetRecordCell(2, 0, "x");
    EXPECT_FALSE(grid->SaveTable(Path("ST_RECHN.DBF")));
    EXPECT_FALSE(QFileInfo::exists(Path("ST_RECHN.DBF")));
    EXPECT_TRUE(port.LastText().contains("von einem anderen Arbeitsplatz geändert"));

    // Back as loaded, then deleted between the check and the rename: the rename still puts
    // the whole table there.
    testfiles::WriteAll(Path("ST_RECHN.DBF"), "0001/001\t\t\r\n");
    io->beforeRename = [this] { QFile::remove(Path("ST_RECHN.DBF")); };
    port.messages.clear();
    EXPECT_TRUE(grid->SaveTable(Path("ST_RECHN.DBF")));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(testfiles::ReadAll(Path("ST_RECHN.DBF")), "0001/001\tx\t\r\n");
}

// A folder where nothing can be created (no lock file either): appends to its existing
// files still work unlocked, saves fail with the message and leave the old file.
TEST_F(FaultInjection, ReadOnlyFolder)
{
    testfiles::WriteAll(Path("ST_MAHN.DBF"), "a\t\r\n");
    ImmutableGuard guard(dir.path());
    if (!SetImmutable(dir.path(), true))
        GTEST_SKIP() << "file system without immutable folders";
    EXPECT_EQ(files::FileLock(Path("ST_MAHN.DBF")).TryLock(), files::FileLock::State::NoLockFile);
    EXPECT_TRUE(table::AppendChangeLine(*env, port, Path("ST_MAHN.DBF"), "+b\t"));
    auto grid = MakeGrid(1);
    grid->LoadRegister(Path("ST_MAHN.DBF"));
    EXPECT_EQ(grid->Lines(), QStringList({"a\t", "b\t"}));
    EXPECT_EQ(port.Texts(), QStringList{WriteError()});
    SetImmutable(dir.path(), false);
    EXPECT_EQ(testfiles::ReadAll(Path("ST_MAHN.DBF")), "a\t\r\n+b\t\r\n");
}

// The data folder of a running program goes away (its network mount dropped, the empty
// mount point left): every load, save, append and creation there says so and ends the
// program instead of writing to the local disk.
TEST_F(FaultInjection, DataFolderThatDisappearsEndsTheProgram)
{
    const QString data = Path("DATEN");
    QDir(dir.path()).mkdir("DATEN");
    testfiles::WriteAll(data + "/KUNDE.DBF", "k\t\r\n");
    env->dataFolder = data + "/";
    env->dataFolderDevice = files::DeviceOf(data);
    auto grid = MakeGrid(1);
    grid->LoadTable(data + "/KUNDE.DBF");
    const QString unreachable = table::UnreachableText(env->dataFolder);

    const std::function<void()> operations[] = {
        [&] { grid->SaveTable(data + "/KUNDE.DBF"); },
        [&] { grid->LoadTable(data + "/KUNDE.DBF"); },
        [&] { grid->LoadJournalDisplay(data + "/Z12024.zae"); },
        [&] { table::AppendChangeLine(*env, port, data + "/KUNDE.DBF", "+x\t"); },
        [&] { table::CreateIfMissing(*env, port, data + "/ST_RECHN.DBF"); },
    };
    for (const bool moved : {true, false}) {
        if (moved) {
            ASSERT_TRUE(QDir(dir.path()).rename("DATEN", "DATEN.weg"));
        } else {
            // Back in place, but on another device than at start.
            ASSERT_TRUE(QDir(dir.path()).rename("DATEN.weg", "DATEN"));
            env->dataFolderDevice = *files::DeviceOf(data) + 1;
        }
        for (const auto& operation : operations) {
            port.messages.clear();
            EXPECT_THROW(operation(), ProgramEnded);
            EXPECT_EQ(port.Texts(), QStringList{unreachable});
        }
    }
    EXPECT_EQ(QDir(data).entryList(QDir::Files), QStringList{"KUNDE.DBF"});
    EXPECT_EQ(testfiles::ReadAll(data + "/KUNDE.DBF"), "k\t\r\n");
}

// A real full disk where the test may mount a small one.
TEST_F(FaultInjection, AppendOnAFullFileSystem)
{
    QTemporaryDir mount;
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", mount.path()}) != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute("umount", {path}); }
    } unmount{mount.path()};
    env->io.reset();
    const QString journal = mount.path() + "/Z32024.zae";
    testfiles::WriteAll(journal, "a\t\r\n");
    QFile filler(mount.path() + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
    }
    filler.close();
    const QByteArray before = testfiles::ReadAll(journal);
    EXPECT_FALSE(table::AppendChangeLine(*env, port, journal, "+" + QString(5000, 'b')));
    EXPECT_EQ(testfiles::ReadAll(journal), before);
    EXPECT_TRUE(port.LastText().startsWith("Fehler beim Schreiben auf den Datenträger."));
}

}  // namespace
