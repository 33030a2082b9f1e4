#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "platform/Files.h"
#include "platform/Volume.h"

TEST(Files, FindsExistingNamesWhateverTheirCase)
{
    QTemporaryDir dir;
    testfiles::WriteAll(dir.filePath("Z32026.ZAE"), "x");
    QDir(dir.path()).mkdir("Texte");
    testfiles::WriteAll(dir.filePath("Texte/ImpfErg.TLV"), "y");

    EXPECT_EQ(files::FindCaseInsensitive(dir.path(), "z32026.zae"), dir.filePath("Z32026.ZAE"));
    EXPECT_EQ(files::FindCaseInsensitive(dir.path(), "NEU.DBF"), dir.filePath("NEU.DBF"));
    EXPECT_EQ(files::ResolveCaseInsensitive(dir.path(), "TEXTE/IMPFERG.TLV"),
              dir.filePath("Texte/ImpfErg.TLV"));
}

// Look-ups after misses answer from a kept listing of the folder; it must follow every
// change of the folder, also those another workstation makes.
TEST(Files, CaseInsensitiveLookUpsFollowChangesOfTheFolder)
{
    QTemporaryDir dir;
    const auto at = [&dir](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    const auto find = [&dir](const char* name) {
        return files::FindCaseInsensitive(dir.path(), QString::fromUtf8(name));
    };
    // A folder last changed long ago, so that its listing is kept.
    const auto settle = [&dir] {
        const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(dir.path()).constData(), old, 0), 0);
    };
    testfiles::WriteAll(at("K0001001.KAR"), "x");
    testfiles::WriteAll(at("Müller.tlv"), "x");
    settle();
    for (int pass = 0; pass < 3; ++pass) {  // the first miss lists once, later ones keep it
        EXPECT_EQ(find("k0001001.kar"), at("K0001001.KAR"));
        EXPECT_EQ(find("MÜLLER.TLV"), at("Müller.tlv"));
        EXPECT_EQ(find("k0001002.kar"), at("k0001002.kar"));
    }
    testfiles::WriteAll(at("K0001002.kar"), "x");  // another workstation adds a card
    EXPECT_EQ(find("k0001002.kar"), at("K0001002.kar"));
    settle();
    find("a");
    find("b");
    ASSERT_TRUE(QFile::remove(at("K0001002.kar")));
    EXPECT_EQ(find("k0001002.kar"), at("k0001002.kar"));
    // Two spellings of one name: the first in name order, as a sorted listing gives it.
    testfiles::WriteAll(at("mailpr.ini"), "x");
    testfiles::WriteAll(at("MAILPR.INI"), "x");
    settle();
    for (int pass = 0; pass < 3; ++pass)
        EXPECT_EQ(find("MailPr.ini"), at("mailpr.ini"));
}

TEST(Files, ReplaceAtomicallyWritesAllOrLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("KUNDE.DBF");
    testfiles::WriteAll(target, "old\r\n");
    ASSERT_TRUE(files::ReplaceAtomically(target, dir.filePath("KUNDE.~DB"), "new\r\n"));
    EXPECT_EQ(testfiles::ReadAll(target), QByteArray("new\r\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("KUNDE.~DB")));

    // A folder that does not exist: nothing is written, the call says so.
    EXPECT_FALSE(files::ReplaceAtomically(dir.filePath("missing/K.DBF"),
                                          dir.filePath("missing/K.~DB"), "x"));
}

TEST(Files, CopyKeepsTimeStampAndPermissions)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("a.txt");
    testfiles::WriteAll(src, "data");
    QFile f(src);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QDateTime stamp(QDate(2020, 5, 1), QTime(12, 0));
    ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    f.close();
    QFile::setPermissions(src, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    const QString dst = dir.filePath("b.txt");
    ASSERT_TRUE(files::CopyKeepingTime(src, dst));
    EXPECT_EQ(testfiles::ReadAll(dst), QByteArray("data"));
    EXPECT_EQ(QFileInfo(dst).lastModified(), stamp);
    EXPECT_TRUE(files::IsReadOnly(dst));
    EXPECT_TRUE(files::ClearReadOnly(dst));
    EXPECT_FALSE(files::IsReadOnly(dst));
}

TEST(Volume, OfAPathNotYetCreated)
{
    QTemporaryDir dir;
    const VolumeInfo v = VolumeOf(dir.filePath("a/b/c.dbf"));
    EXPECT_TRUE(v.reachable);
    EXPECT_GT(v.totalBytes, 0);
    EXPECT_FALSE(v.mountPoint.isEmpty());
    EXPECT_FALSE(MountedVolumes().isEmpty());
}

// Temporary names carry host and process, so workstations never share one; only those of
// this host's ended processes are cleaned up, never another host's or an older program's.
TEST(Files, TemporaryNamesAreThisProcessesAndOnlyProvablyStaleOnesGo)
{
    QTemporaryDir dir;
    const QString mine = files::UniqueTemporary(dir.filePath("KUNDE.~DB"));
    EXPECT_TRUE(mine.endsWith(QStringLiteral("-%1.~DB").arg(QCoreApplication::applicationPid())))
        << mine.toStdString();
    EXPECT_NE(mine, dir.filePath("KUNDE.~DB"));

    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForFinished());
    const QString host = QFileInfo(mine).fileName().section('.', 1, 1).section('-', 0, 0);
    const QString stale =
        dir.filePath(QStringLiteral("MED.%1-%2.~DB").arg(host).arg(ended.processId()));
    const QStringList kept{mine, dir.filePath("MED.~DB"), dir.filePath("MED.anderer-17.~DB"),
                           dir.filePath("MED.DBF")};
    for (const QString& path : kept + QStringList{stale})
        testfiles::WriteAll(path, "x");
    EXPECT_EQ(files::RemoveStaleTemporaries(dir.path()), 1);
    EXPECT_FALSE(QFileInfo::exists(stale));
    for (const QString& path : kept)
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
}

TEST(Volume, UnmountedMountPointOfTheMountTable)
{
    const QByteArray fstab =
        "# <file system> <mount point> <type>\n"
        "UUID=1 / ext4 defaults 0 1\n"
        "server:/praxis /mnt/praxis nfs defaults 0 0\n"
        "//nas/daten /srv/Praxis\\040Daten cifs noauto 0 0\n";
    struct Case {
        const char* path;
        QStringList mounted;
        const char* expected;
    };
    const Case cases[] = {
        {"/mnt/praxis/TALVEN/DATEN/", {"/"}, "/mnt/praxis"},
        {"/mnt/praxis/DATEN", {"/", "/mnt/praxis"}, ""},
        {"/srv/Praxis Daten/DATEN", {"/"}, "/srv/Praxis Daten"},
        {"/opt/talven/DATEN", {"/"}, ""},
        {"/mnt/praxisalt/DATEN", {"/"}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnmountedMountPoint(c.path, fstab, c.mounted), c.expected) << c.path;
}
