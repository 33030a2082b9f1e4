#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "shell/CopyFile.h"
#include "support/NormalUser.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

namespace {

class CopyFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    ScriptedUserPort m_port;
};

}  // namespace

// A table kept read-only on Windows: the copy gets its bytes, time stamp and mode. Run as
// a normal user, whom the read-only copy refuses what root may still do.
TEST_F(CopyFileTest, ReadOnlySourceKeepsBytesTimeStampAndMode)
{
    testfiles::WriteAll(Path("MED.DBF"), "a\tb\t\r\n\xe4\r\n");
    QFile f(Path("MED.DBF"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QDateTime stamp(QDate(2020, 5, 6), QTime(7, 8, 9));
    f.setFileTime(stamp, QFileDevice::FileModificationTime);
    f.close();
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    ASSERT_TRUE(f.setPermissions(readOnly));
    testfiles::WriteAll(Path("old.dbf"), "old and longer content");
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::Permissions::fromInt(0x7777)));
    ASSERT_TRUE(QFile::setPermissions(Path("old.dbf"), QFile::Permissions::fromInt(0x6666)));

    EXPECT_TRUE(testuser::RunAsNormalUser([this] {
        return TForm1_CopyFile(m_port, Path("MED.DBF"), Path("old.dbf")) &&
               m_port.messages.isEmpty();
    }));
    EXPECT_EQ(testfiles::ReadAll(Path("old.dbf")), QByteArray("a\tb\t\r\n\xe4\r\n"));
    EXPECT_EQ(QFileInfo(Path("old.dbf")).lastModified(), stamp);
    EXPECT_EQ(
        (QFileInfo(Path("old.dbf")).permissions() & ~QFile::Permissions::fromInt(0x0f00)).toInt(),
        readOnly.toInt());
    EXPECT_FALSE(QFileInfo::exists(Path("old.dbf.~CP")));
}

TEST_F(CopyFileTest, FailuresAreReported)
{
    EXPECT_FALSE(TForm1_CopyFile(m_port, Path("missing.dbf"), Path("x.dbf")));
    EXPECT_EQ(m_port.LastText(), "Fehler beim Laden von " + Path("missing.dbf"));
    EXPECT_FALSE(QFileInfo::exists(Path("x.dbf")));

    testfiles::WriteAll(Path("a.dbf"), "x");
    EXPECT_FALSE(TForm1_CopyFile(m_port, Path("a.dbf"), Path("nofolder/a.dbf")));
    EXPECT_EQ(m_port.LastText(), "Fehler beim Erzeugen von " + Path("nofolder/a.dbf"));

    CopyEnvironment readOnly;
    readOnly.readOnlyMedium = true;
    EXPECT_FALSE(TForm1_CopyFile(m_port, Path("a.dbf"), Path("b.dbf"), readOnly));
    EXPECT_TRUE(TForm1_CopyFile(m_port, Path("."), Path("b.dbf")));
    EXPECT_FALSE(QFileInfo::exists(Path("b.dbf")));
}

TEST_F(CopyFileTest, UnreachableDriveIsAskedForUntilAbort)
{
    testfiles::WriteAll(Path("a.dbf"), "x");
    int lookups = 0;
    CopyEnvironment env;
    env.volumeOf = [&lookups](const QString&) {
        VolumeInfo v;
        v.reachable = ++lookups >= 3;
        v.totalBytes = 1LL << 30;
        v.mountPoint = "/media/stick";
        return v;
    };
    m_port.QueueAnswer(Answer::Ok);
    EXPECT_TRUE(TForm1_CopyFile(m_port, Path("a.dbf"), Path("b.dbf"), env));
    ASSERT_EQ(m_port.messages.size(), 2);
    EXPECT_EQ(m_port.messages[0].text,
              QString::fromUtf8("Auf das Laufwerk /media/stick kann nicht zugegriffen "
                                "werden.\rBitte überprüfen Sie den Datenträger!"));
    EXPECT_EQ(m_port.messages[0].buttons, Buttons::OkAbort);

    lookups = -100;
    m_port.QueueAnswer(Answer::Abort);
    EXPECT_FALSE(TForm1_CopyFile(m_port, Path("a.dbf"), Path("c.dbf"), env));
    EXPECT_FALSE(QFileInfo::exists(Path("c.dbf")));
}

TEST_F(CopyFileTest, FloppySkipsLargeTablesButNotTheCustomers)
{
    const QByteArray large(154624, 'x');
    testfiles::WriteAll(Path("MED.DBF"), large);
    testfiles::WriteAll(Path("KUNDE.DBF"), large);
    CopyEnvironment env;
    env.volumeOf = [](const QString&) {
        VolumeInfo v;
        v.reachable = true;
        v.totalBytes = 1474560;
        return v;
    };
    QDir(m_dir.path()).mkdir("A");
    EXPECT_TRUE(TForm1_CopyFile(m_port, Path("MED.DBF"), Path("A/MED.DBF"), env));
    EXPECT_FALSE(QFileInfo::exists(Path("A/MED.DBF")));
    EXPECT_TRUE(TForm1_CopyFile(m_port, Path("KUNDE.DBF"), Path("A/KUNDE.DBF"), env));
    EXPECT_EQ(QFileInfo(Path("A/KUNDE.DBF")).size(), 154624);
}
