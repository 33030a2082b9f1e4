#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "FormTestUtil.h"
#include "common/CodePage.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/PostcodeList.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

namespace {

struct PostcodeFixture : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath("PLZ.MXX");
    PostcodeList list{path};

    QStringList FileLines() const
    {
        QStringList lines;
        cp1252::ReadLines(path, lines);
        return lines;
    }
};

}  // namespace

TEST_F(PostcodeFixture, LearnIgnoresCaseAndKeepsOrder)
{
    list.Load();
    EXPECT_TRUE(list.Entries().isEmpty());  // no file yet
    list.Learn("65183 Wiesbaden");
    list.Learn("55116 Mainz");
    list.Learn("65183 WIESBADEN");
    EXPECT_EQ(FileLines(), (QStringList{"65183 Wiesbaden", "55116 Mainz"}));
    EXPECT_EQ(testfiles::ReadAll(path), QByteArray("65183 Wiesbaden\r\n55116 Mainz\r\n"));
}

TEST_F(PostcodeFixture, ThreeHundredEntriesDropTheFirst)
{
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QString("%1 Ort").arg(10000 + i);
    testfiles::WriteLines(path, lines);
    list.Load();
    list.Learn("99999 Neu");
    const QStringList now = FileLines();
    ASSERT_EQ(now.size(), 300);
    EXPECT_EQ(now.first(), "10001 Ort");
    EXPECT_EQ(now.last(), "99999 Neu");
}

TEST_F(PostcodeFixture, RemoveAndCleanUp)
{
    testfiles::WriteLines(path, {"65183 Wiesbaden", "", "55116 Mainz", "65183 wiesbaden", ""});
    list.Load();
    list.CleanUp();
    EXPECT_EQ(FileLines().size(), 3);
    list.Remove("65183 WIESBADEN");
    EXPECT_EQ(FileLines(), QStringList{"55116 Mainz"});
    list.Load();
    EXPECT_EQ(list.Entries(), QStringList{"55116 Mainz"});
}

TEST_F(PostcodeFixture, CompletionToTheLaterEntry)
{
    testfiles::WriteLines(path, {"65183 Wiesbaden", "65183 Wiesbaden-Biebrich", "65189 Ort"});
    list.Load();
    EXPECT_EQ(list.Complete("6518"), "");  // a bare postcode is not completed
    EXPECT_EQ(list.Complete("65183"), "65183 Wiesbaden-Biebrich");
    EXPECT_EQ(list.Complete("65183 w"), "");  // case-sensitive
}

TEST_F(PostcodeFixture, CustomerFieldCompletesAndLearns)
{
    testfiles::WriteLines(path, {"65183 Wiesbaden", "", "65183 Wiesbaden-Biebrich"});
    list.Load();
    ScriptedUserPort port;
    CustomerForm f(EditMode::Insert, port);
    f.SetPostcodeList(&list);
    Type(f, CustomerForm::KundePLZ, "6518");
    EXPECT_EQ(f.Text(CustomerForm::KundePLZ), "6518");
    EXPECT_EQ(FileLines().size(), 2);  // the empty line went with the first key
    Type(f, CustomerForm::KundePLZ, "3");
    const FormField& field = f.Field(CustomerForm::KundePLZ);
    EXPECT_EQ(field.text, "65183 Wiesbaden-Biebrich");
    EXPECT_EQ(field.selStart, 5);
    EXPECT_EQ(field.selLength, 19);
    Type(f, CustomerForm::KundePLZ, " Wiesbaden");  // typing goes on over the completion
    EXPECT_EQ(f.Text(CustomerForm::KundePLZ), "65183 Wiesbaden-Biebrich");
    f.KeyPress(CustomerForm::KundePLZ, kKeyBackspace);
    EXPECT_EQ(f.Text(CustomerForm::KundePLZ), "65183 Wiesbaden");
    Retype(f, CustomerForm::KundePLZ, "12345 Neustadt");
    f.CheckOk();
    EXPECT_EQ(FileLines().last(), "12345 Neustadt");
    f.PostcodeRemove();
    EXPECT_FALSE(FileLines().contains("12345 Neustadt"));
}

TEST_F(PostcodeFixture, EmptyFieldIsNotLearned)
{
    list.Load();
    list.Learn("");
    EXPECT_TRUE(list.Entries().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}
