#include "TableFixture.h"
#include "table/TableFile.h"

namespace {

TEST(ApplyAgain, PutsOwnChangeIntoTheOtherWorkstationsState)
{
    struct Case {
        const char* name;
        QStringList base, mine, theirs;
        std::optional<QStringList> expected;
    };
    const QStringList abc{"a", "b", "c"};
    const Case cases[] = {
        {"nothing of mine", abc, abc, {"a", "x"}, QStringList{"a", "x"}},
        {"changed a line, they appended",
         abc,
         {"a", "B", "c"},
         {"a", "b", "c", "+d"},
         QStringList{"a", "B", "c", "+d"}},
        {"appended a line, they appended: mine stays before theirs",
         abc,
         {"a", "b", "c", "n"},
         {"a", "b", "c", "+d"},
         QStringList{"a", "b", "c", "n", "+d"}},
        {"inserted at the start, they removed the end",
         abc,
         {"n", "a", "b", "c"},
         {"a", "b"},
         QStringList{"n", "a", "b"}},
        {"removed a line they moved", abc, {"a", "c"}, {"b", "a", "c"}, QStringList{"a", "c"}},
        {"sorted all, they appended",
         {"c", "a", "b"},
         abc,
         {"c", "a", "b", "+d"},
         QStringList{"a", "b", "c", "+d"}},
        {"duplicate blank lines: the nearest one",
         {"\t", "\t", "\t"},
         {"\t", "x\t", "\t"},
         {"\t", "\t", "\t", "+y\t"},
         QStringList{"\t", "x\t", "\t", "+y\t"}},
        {"both changed the same line", abc, {"a", "B", "c"}, {"a", "b2", "c"}, std::nullopt},
        {"they removed the line I changed", abc, {"a", "B", "c"}, {"a", "c"}, std::nullopt},
        {"they removed the line I inserted after",
         abc,
         {"a", "b", "c", "n"},
         {"a", "b"},
         std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table::ApplyAgain(c.base, c.mine, c.theirs), c.expected) << c.name;
}

// A table saved by another workstation after this one loaded it is never overwritten
// unasked: reload and apply again keeps both changes, overwrite keeps this one's, cancel
// keeps the file and this grid's change in memory.
TEST_F(TableFixture, SaveOfATableChangedOnDiskAsks)
{
    const QByteArray loaded = "Adam\t1\t\r\nBerta\t2\t\r\n";
    const QByteArray theirs = "Adam\t1\t\r\nBerta\t2\t\r\nCarl\t3\t\r\n";
    struct Case {
        Answer answer;
        bool saved;
        QByteArray after;
    };
    const Case cases[] = {
        {Answer::Yes, true, "Adam\t9\t\r\nBerta\t2\t\r\nCarl\t3\t\r\n"},
        {Answer::No, true, "Adam\t9\t\r\nBerta\t2\t\r\n"},
        {Answer::Cancel, false, theirs},
    };
    for (const Case& c : cases) {
        testfiles::WriteAll(Path("KUNDE.DBF"), loaded);
        auto grid = MakeGrid(2);
        grid->LoadTable(Path("KUNDE.DBF"));
        testfiles::WriteAll(Path("KUNDE.DBF"), theirs);
        grid->SetRecordCell(2, 0, "9");
        port.messages.clear();
        port.QueueAnswer(c.answer);
        EXPECT_EQ(grid->SaveTable(Path("KUNDE.DBF")), c.saved);
        EXPECT_EQ(testfiles::ReadAll(Path("KUNDE.DBF")), c.after);
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(port.LastText(),
                  "Die Datei\r" + Path("KUNDE.DBF") +
                      "\rwurde seit dem Laden von einem anderen Arbeitsplatz geändert.\r\r"
                      "Ja: neu laden und die eigene Änderung erneut anwenden\rNein: mit dem "
                      "eigenen Stand überschreiben\rAbbrechen: nicht speichern");
        EXPECT_EQ(grid->IsModified(), !c.saved);
        EXPECT_EQ(grid->RecordLine(0), "Adam\t9\t");

        // Saved or not, the next save compares with what this grid last read or wrote.
        if (c.saved) {
            port.messages.clear();
            grid->SetRecordCell(2, 1, "8");
            EXPECT_TRUE(grid->SaveTable(Path("KUNDE.DBF")));
            EXPECT_TRUE(port.messages.isEmpty());
        }
    }

    // Both changed the same record: nothing is merged; the person may still overwrite.
    testfiles::WriteAll(Path("KUNDE.DBF"), loaded);
    auto grid = MakeGrid(2);
    grid->LoadTable(Path("KUNDE.DBF"));
    testfiles::WriteAll(Path("KUNDE.DBF"), "Adam\t5\t\r\nBerta\t2\t\r\n");
    grid->SetRecordCell(2, 0, "9");
    port.messages.clear();
    port.QueueAnswer(Answer::Yes);
    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(grid->SaveTable(Path("KUNDE.DBF")));
    EXPECT_EQ(port.messages.size(), 2);
    EXPECT_TRUE(port.LastText().contains("beide Arbeitsplätze haben dieselben Zeilen geändert"));
    EXPECT_EQ(testfiles::ReadAll(Path("KUNDE.DBF")), "Adam\t5\t\r\nBerta\t2\t\r\n");

    // A record card offers no merge: its header sums belong to its rows.
    testfiles::WriteAll(Path("K0001001.KAR"), "a\t\r\n---KOPF---\r\nh\r\n");
    QStringList header;
    grid->LoadCard(Path("K0001001.KAR"), header);
    testfiles::WriteAll(Path("K0001001.KAR"), "b\t\r\n---KOPF---\r\nh\r\n");
    port.messages.clear();
    port.QueueAnswer(Answer::Ok);
    EXPECT_TRUE(grid->SaveCard(Path("K0001001.KAR"), header));
    EXPECT_EQ(port.messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(testfiles::ReadAll(Path("K0001001.KAR")), "a\t\r\n---KOPF---\r\nh\r\n");
}

}  // namespace
