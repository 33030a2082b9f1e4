#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
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
