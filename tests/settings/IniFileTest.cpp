#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "IniFileFixture.h"
#include "platform/Files.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "settings/Options.h"
#include "support/TestFiles.h"

namespace {

class IniFileTest : public IniFileFixture {};

}  // namespace

TEST_F(IniFileTest, ReadsTypedValuesCaseInsensitively)
{
    Write(
        "[Optionen]\r\nNameEdit = Praxis M\xfcller \r\nwHeight=570\r\nEuroChk=TRUE\r\n"
        "LogoChk=true\r\nMwst1Edit=19,5\r\nBad=12x\r\nQuoted=\"  a b \"\r\n"
        "[optionen]\r\nNameEdit=second section is ignored\r\n");
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("OPTIONEN", "nameedit"), QString::fromUtf8("Praxis Müller"));
    EXPECT_EQ(ini.ReadInteger("Optionen", "WHEIGHT", -1), 570);
    EXPECT_EQ(ini.ReadInteger("Optionen", "Bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Optionen", "Missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool("Optionen", "EuroChk", false));
    EXPECT_FALSE(ini.ReadBool("Optionen", "LogoChk", true)) << "only exactly TRUE is on";
    EXPECT_TRUE(ini.ReadBool("Optionen", "Missing", true));
    EXPECT_EQ(ini.ReadFloat("Optionen", "Mwst1Edit", 0), 19.5L);
    EXPECT_EQ(ini.ReadFloat("Optionen", "Bad", 3), 3.0L);
    EXPECT_EQ(ini.ReadString("Optionen", "Quoted"), "  a b ");
    EXPECT_EQ(ini.ReadString("Nix", "NameEdit", "def"), "def");
}

TEST_F(IniFileTest, KeyListsAndSectionsInFileOrder)
{
    Write("; comment\r\n[A]\r\nz=1\r\n\r\nb=2\r\nno equals sign\r\na=3\r\n[B]\r\nx=\r\n");
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadSection("a"), (QStringList{"z", "b", "a"}));
    EXPECT_EQ(ini.ReadSections(), (QStringList{"A", "B"}));
    EXPECT_TRUE(ini.ValueExists("B", "x"));
    EXPECT_TRUE(ini.ReadSection("C").isEmpty());
}

TEST_F(IniFileTest, WritesKeepTheProfileLayout)
{
    Write("; head\r\n[A]\r\nk1=old\r\nK2=x\r\n\r\n[B]\r\nb=1\r\n");
    IniFile ini(Path());
    ASSERT_TRUE(ini.WriteString("a", "k2", "neu"));  // replaced in place, name kept
    ASSERT_TRUE(ini.WriteString("A", "k3", "3"));    // end of its section, before the blank
    ASSERT_TRUE(ini.WriteString("C", "c", QString::fromLatin1("\xe4")));  // new section at the end
    ASSERT_TRUE(ini.WriteBool("B", "flag", false));
    EXPECT_EQ(Read(), QByteArray("; head\r\n[A]\r\nk1=old\r\nK2=neu\r\nk3=3\r\n\r\n[B]\r\nb=1\r\n"
                                 "flag=FALSE\r\n[C]\r\nc=\xe4\r\n"));
    // Umlauts and the euro sign are stored in code page 1252.
    ASSERT_TRUE(ini.WriteString("C", "c", QString::fromUtf8("Grüße €")));
    EXPECT_TRUE(
        Read().endsWith("c=Gr\xfc\xdf"
                        "e \x80\r\n"));
    EXPECT_EQ(IniFile(Path()).ReadString("C", "c"), QString::fromUtf8("Grüße €"));
}

TEST_F(IniFileTest, OtherLinesStayByteForByte)
{
    // Bytes that 1252 leaves undefined and odd line ends of other lines survive a write.
    Write("[A]\r\nraw=\x81\x8d\r\nx=1\r\n");
    IniFile ini(Path());
    ASSERT_TRUE(ini.WriteString("A", "x", "2"));
    EXPECT_EQ(Read(), QByteArray("[A]\r\nraw=\x81\x8d\r\nx=2\r\n"));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey)
{
    Write("[A]\r\na=1\r\n[B]\r\n;note\r\nb=2\r\n\r\n[C]\r\nc=3\r\n");
    IniFile ini(Path());
    ASSERT_TRUE(ini.EraseSection("b"));
    ASSERT_TRUE(ini.DeleteKey("A", "a"));
    EXPECT_EQ(Read(), QByteArray("[A]\r\n[C]\r\nc=3\r\n"));
    EXPECT_TRUE(ini.EraseSection("missing"));
}

TEST_F(IniFileTest, EveryWriteReachesTheFileAndSeesOtherWriters)
{
    IniFile first(Path());  // the file does not exist yet
    EXPECT_EQ(first.ReadString("A", "x", "d"), "d");
    ASSERT_TRUE(first.WriteInteger("A", "x", 1));
    IniFile second(Path());
    EXPECT_EQ(second.ReadInteger("A", "x", 0), 1);
    ASSERT_TRUE(second.WriteString("A", "y", "from second"));
    // The first object does not overwrite the key the second one wrote meanwhile.
    ASSERT_TRUE(first.WriteString("A", "x", "2"));
    EXPECT_EQ(first.ReadString("A", "y"), "from second");
    EXPECT_EQ(Read(), QByteArray("[A]\r\nx=2\r\ny=from second\r\n"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("TLV.~IN")));

    const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    ASSERT_TRUE(QFile::setPermissions(Path(), shared));
    ASSERT_TRUE(first.WriteString("A", "z", "3"));
    EXPECT_EQ(QFile::permissions(Path()) & shared, shared) << "permissions survive a write";
}

TEST_F(IniFileTest, WriteProtectedFileAndNoFileRefuseWrites)
{
    Write("[A]\r\nx=1\r\n");
    QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    IniFile ini(Path());
    EXPECT_FALSE(ini.WriteString("A", "x", "2"));
    EXPECT_EQ(ini.ReadString("A", "x"), "1");
    EXPECT_EQ(Read(), QByteArray("[A]\r\nx=1\r\n"));
    files::ClearReadOnly(Path());

    IniFile none;
    EXPECT_FALSE(none.HasFile());
    EXPECT_FALSE(none.WriteString("A", "x", "1"));
    EXPECT_EQ(none.ReadInteger("A", "x", 5), 5);
}

namespace {

// Counts the replaces of the file; `failing` makes them fail.
class CountingIo : public files::FileIo {
public:
    bool Rename(const QString& from, const QString& to) const override
    {
        ++renames;
        return !failing && files::FileIo::Rename(from, to);
    }
    mutable int renames = 0;
    bool failing = false;
};

}  // namespace

// A section erased and filled again, the close's window keys, the recent files: each is
// one replace of the file, so a crash leaves the old settings or the new ones.
TEST_F(IniFileTest, WritesThatBelongTogetherAreOneReplace)
{
    OptionValues options;
    options.SetValue("NameEdit", "Praxis");
    const std::pair<const char*, std::function<void(IniFile&)>> writers[] = {
        {"options dialog", [&](IniFile& ini) { WriteOrderedOptions(ini, options); }},
        {"documents", [](IniFile& ini) { SaveDocumentTexts(ini, DefaultDocumentTexts()); }},
        {"close", [](IniFile& ini) { WriteOnClose(ini, CloseState{}); }},
        {"recent files", [](IniFile& ini) { AddRecentFile(ini, "/T/NEU.TLV"); }},
    };
    for (const auto& [name, write] : writers) {
        Write("[Optionen]\r\nwHeight=1\r\n[TLVDateien]\r\nDatei1=/T/A.TLV\r\nDatei2=/T/B.TLV\r\n");
        auto io = std::make_shared<CountingIo>();
        IniFile ini(Path());
        ini.SetFileIo(io);
        write(ini);
        EXPECT_EQ(io->renames, 1) << name;
    }

    // Inside a batch the others see the old file, the batch itself its own values; a batch
    // that cannot be written keeps none of them.
    Write("[A]\r\nx=1\r\n");
    IniFile ini(Path());
    IniFile other(Path());
    {
        IniBatch batch(ini);
        ini.EraseSection("A");
        ini.WriteString("A", "y", "2");
        EXPECT_EQ(ini.ReadString("A", "y"), "2");
        EXPECT_EQ(other.ReadString("A", "x"), "1");
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(other.ReadString("A", "x", "gone"), "gone");
    EXPECT_EQ(other.ReadString("A", "y"), "2");
    auto failing = std::make_shared<CountingIo>();
    failing->failing = true;
    ini.SetFileIo(failing);
    IniBatch batch(ini);
    ini.WriteString("A", "z", "3");
    EXPECT_FALSE(batch.Commit());
    EXPECT_EQ(ini.ReadString("A", "z", "none"), "none");
    EXPECT_EQ(Read(), QByteArray("[A]\r\ny=2\r\n"));
}

// The start-up's writes: one replace at its end, on top of what another workstation wrote
// meanwhile; writes that change no line leave the file as it was.
TEST_F(IniFileTest, StartUpWritesAreOneReplaceOverOthersChanges)
{
    Write("[Optionen]\r\nwHeight=1\r\n[LetzteKundenNr]\r\nK=7\r\n[Jahr]\r\nY=2023\r\n");
    auto io = std::make_shared<CountingIo>();
    IniFile ini(Path());
    ini.SetFileIo(io);
    IniFile other(Path());
    ini.BeginDeferral();
    ini.WriteInteger("Jahr", "Y", 2024);
    ini.EraseSection("LetzteKundenNr");
    {
        IniBatch batch(ini);
        ini.WriteString("Dokumente", "D1", "Rechnung");
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_TRUE(other.WriteString("Optionen", "wWidth", "900"));
    EXPECT_EQ(ini.ReadString("Optionen", "wWidth"), "900");
    EXPECT_EQ(ini.ReadString("Jahr", "Y"), "2024");
    EXPECT_FALSE(ini.SectionExists("LetzteKundenNr"));
    EXPECT_EQ(other.ReadString("Jahr", "Y"), "2023");
    EXPECT_EQ(io->renames, 0);
    EXPECT_TRUE(ini.EndDeferral());
    EXPECT_EQ(io->renames, 1);
    EXPECT_EQ(Read(), QByteArray("[Optionen]\r\nwHeight=1\r\nwWidth=900\r\n[Jahr]\r\nY=2024\r\n"
                                 "[Dokumente]\r\nD1=Rechnung\r\n"));
    ini.WriteString("Jahr", "Y", "2025");  // after the start-up every write goes at once
    EXPECT_EQ(io->renames, 2);

    ini.BeginDeferral();
    ini.WriteString("Jahr", "Y", "2025");
    ini.DeleteKey("Jahr", "none");
    EXPECT_TRUE(ini.EndDeferral());
    EXPECT_EQ(io->renames, 2);

    // A program ended during the start-up still writes what the start-up wrote.
    {
        IniFile ended(Path());
        ended.BeginDeferral();
        ended.WriteString("Jahr", "Y", "2026");
    }
    EXPECT_EQ(other.ReadString("Jahr", "Y"), "2026");
}

// Two workstations writing keys at the same moment: each write reads, changes and replaces
// the file under its lock, so neither drops the other's keys.
TEST_F(IniFileTest, TwoProcessesWritingAtOnceKeepEachOthersKeys)
{
    constexpr int kKeys = 150;
    Write("");
    QProcess a;
    QProcess b;
    a.start(TALVEN_HELPER_journal_child, {"ini", Path(), "a", QString::number(kKeys)});
    b.start(TALVEN_HELPER_journal_child, {"ini", Path(), "b", QString::number(kKeys)});
    for (QProcess* child : {&a, &b}) {
        ASSERT_TRUE(child->waitForFinished(120000));
        EXPECT_EQ(child->exitCode(), 0);
    }
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadSection("S").size(), 2 * kKeys);

    // A write that would have to wait longer than it may is refused, never made unlocked
    // over the other workstation's write; the batch keeps none of its values.
    ini.SetLockWait(100);
    QProcess holder;
    holder.start(TALVEN_HELPER_journal_child, {"hold", Path(), "3000"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    const QByteArray before = Read();
    EXPECT_FALSE(ini.WriteString("S", "late", "1"));
    {
        IniBatch batch(ini);
        ini.EraseSection("S");
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(Read(), before);
    EXPECT_EQ(ini.ReadSection("S").size(), 2 * kKeys);
    holder.kill();
    holder.waitForFinished();
    EXPECT_TRUE(ini.WriteString("S", "late", "1"));
}
