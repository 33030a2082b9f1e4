#include <gtest/gtest.h>

#include <optional>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "cards/CardGridKeys.h"

using namespace card;

namespace {

Row Line(const QString& date, const QString& text, const QString& code, const QString& amount)
{
    Row r;
    r.SetCell(kColDate, date);
    r.SetCell(kColText, text);
    r.SetCell(kColVat, code);
    r.SetCell(kColAmount, amount);
    return r;
}

struct CardGridKeysTest : ::testing::Test {
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    MemorySettings options;
    CardEntryForm form{port, clock};
    CardGridKeys keys{form, &options, "/daten/"};

    void SetUp() override { Load(); }
    // Two lines; the second line's amount is exempt (trailing blank); the third holds an
    // amount as typed; the card is padded to ten lines.
    void Load()
    {
        CardState s;
        ApplyHeader(NewCardHeader("0012", 1, "Meier", "Euro"), s);
        form.Load({Line("14.03.2024", "Bello", "1", "12,50000"),
                   Line("", "Minka", "1", "10,00000 "), Line("", "", "", "7")},
                  s);
    }
    GridState At(int col, int row) const { return {true, false, col, row}; }
    QString Cell(int col, int row) const { return form.GetRows()[size_t(row)].Cell(col); }
};

enum class Entry { Grid, Area, Editor };

struct KeyCase {
    const char* name;
    int col;
    int row;
    Entry entry;
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text = {};
    EditorState editor = {};
    bool macro = false;
    // The answer and the form afterwards (-1 and no text: as before).
    bool handled = true;
    GridAnswer::Editor step = GridAnswer::Keep;
    QString editorText = {};
    int editorCursor = 0;
    GridAnswer::Browse browse = GridAnswer::Stay;
    bool replay = false;
    int bookingRow = -1;
    int endCol = -1;
    int endRow = -1;
    std::optional<QString> cell = {};  // the start cell afterwards
};

}  // namespace

TEST_F(CardGridKeysTest, KeysMoveEditAndBrowseByCellAndEditorState)
{
    using A = GridAnswer;
    const auto shift = Qt::ShiftModifier;
    const auto ctrl = Qt::ControlModifier;
    // clang-format off
    const KeyCase cases[] = {
        {.name = "Tab moves right", .col = 2, .row = 0, .entry = Entry::Grid, .key = Qt::Key_Tab,
         .endCol = 3, .endRow = 0},
        {.name = "Tab at the last column goes to the next date", .col = 8, .row = 0,
         .entry = Entry::Grid, .key = Qt::Key_Tab, .endCol = 1, .endRow = 1},
        {.name = "Tab leaves the amount formatted", .col = 4, .row = 2, .entry = Entry::Grid,
         .key = Qt::Key_Tab, .endCol = 5, .endRow = 2, .cell = "7,00000"},
        {.name = "Backtab at a date goes to the last column above", .col = 1, .row = 1,
         .entry = Entry::Grid, .key = Qt::Key_Backtab, .endCol = 8, .endRow = 0},
        {.name = "Backtab at the top left stays", .col = 1, .row = 0, .entry = Entry::Grid,
         .key = Qt::Key_Backtab, .endCol = 1, .endRow = 0},
        {.name = "Down inside the card is the view's", .col = 2, .row = 0, .entry = Entry::Grid,
         .key = Qt::Key_Down, .handled = false, .endCol = 2, .endRow = 0},
        {.name = "Down on the last line appends one", .col = 4, .row = 9, .entry = Entry::Grid,
         .key = Qt::Key_Down, .endCol = 4, .endRow = 10},
        {.name = "Shift+Enter goes to the next date", .col = 3, .row = 0, .entry = Entry::Grid,
         .key = Qt::Key_Return, .modifiers = shift, .endCol = 1, .endRow = 1},
        {.name = "Enter edits an amount as shown", .col = 4, .row = 0, .entry = Entry::Grid,
         .key = Qt::Key_Return, .step = A::Open, .editorText = "12,50", .editorCursor = 5},
        {.name = "F2 keeps an exempt amount as it is", .col = 4, .row = 1, .entry = Entry::Grid,
         .key = Qt::Key_F2, .step = A::Open, .editorText = "10,00000 ", .editorCursor = 9},
        {.name = "Ctrl+D puts today into a date", .col = 1, .row = 2, .entry = Entry::Grid,
         .key = Qt::Key_D, .modifiers = ctrl, .cell = "15.03.2024"},
        {.name = "Ctrl+Right shows the next card", .col = 2, .row = 0, .entry = Entry::Grid,
         .key = Qt::Key_Right, .modifiers = ctrl, .browse = A::NextCard},

        {.name = "A typed key opens the editor with it", .col = 4, .row = 2, .entry = Entry::Area,
         .key = Qt::Key_5, .text = "5", .step = A::Open, .editorText = "5", .editorCursor = 1,
         .cell = "5"},
        {.name = "A refused first key opens no editor", .col = 4, .row = 2, .entry = Entry::Area,
         .key = Qt::Key_X, .text = "x"},
        {.name = "Backspace opens the editor and erases in it", .col = 2, .row = 0,
         .entry = Entry::Area, .key = Qt::Key_Backspace, .step = A::Open,
         .editorText = "Bello", .editorCursor = 5, .replay = true},
        {.name = "B into an empty mark opens the booking", .col = 5, .row = 0,
         .entry = Entry::Area, .key = Qt::Key_B, .text = "b", .bookingRow = 0, .cell = "B"},
        {.name = "Ctrl keys on the grid are the view's", .col = 2, .row = 0, .entry = Entry::Area,
         .key = Qt::Key_A, .modifiers = ctrl, .text = "a", .handled = false},
        {.name = "In macro mode a key inserts its text", .col = 2, .row = 0, .entry = Entry::Area,
         .key = Qt::Key_A, .text = "a", .macro = true, .cell = "Bello, Impfung"},

        {.name = "Typing over a selection", .col = 2, .row = 0, .entry = Entry::Editor,
         .key = Qt::Key_A, .text = "a", .editor = {"Bello", 4, 1, 3}, .step = A::SetText,
         .editorText = "Bao", .editorCursor = 2, .cell = "Bao"},
        {.name = "Backspace erases the selection", .col = 2, .row = 0, .entry = Entry::Editor,
         .key = Qt::Key_Backspace, .editor = {"Bello", 4, 1, 3}, .step = A::SetText,
         .editorText = "Bo", .editorCursor = 1, .cell = "Bo"},
        {.name = "A refused key over a selection keeps the text", .col = 4, .row = 0,
         .entry = Entry::Editor, .key = Qt::Key_X, .text = "x", .editor = {"12,50", 5, 0, 5},
         .step = A::SetCursor, .editorText = "12,50", .editorCursor = 5},
        {.name = "Pasting text is the editor's own", .col = 2, .row = 0, .entry = Entry::Editor,
         .key = Qt::Key_V, .modifiers = ctrl, .editor = {"Bello", 5}, .handled = false},
        {.name = "Pasting into an amount is refused", .col = 4, .row = 0, .entry = Entry::Editor,
         .key = Qt::Key_V, .modifiers = ctrl, .editor = {"12,50", 5}, .step = A::SetCursor,
         .editorText = "12,50", .editorCursor = 5},
        {.name = "Enter is committed by the view", .col = 2, .row = 0, .entry = Entry::Editor,
         .key = Qt::Key_Return, .editor = {"Bello", 5}, .handled = false},
        {.name = "Shift+Enter ends the edit at the next date", .col = 2, .row = 0,
         .entry = Entry::Editor, .key = Qt::Key_Return, .modifiers = shift,
         .editor = {"Bello", 5}, .endCol = 1, .endRow = 1},
        {.name = "Ctrl+Left shows the card before", .col = 2, .row = 0, .entry = Entry::Editor,
         .key = Qt::Key_Left, .modifiers = ctrl, .editor = {"Bello", 5},
         .browse = A::PreviousCard},
    };
    // clang-format on
    options.Write("ShortCuts", "a", ", Impfung");
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load();
        form.SetCurrentCell(c.col, c.row);
        form.SetMacroMode(c.macro);
        const QString before = Cell(c.col, c.row);
        GridAnswer a;
        switch (c.entry) {
            case Entry::Grid:
                a = keys.GridKey(c.key, c.modifiers, At(c.col, c.row));
                break;
            case Entry::Area:
                a = keys.AreaKey(c.key, c.modifiers, c.text, At(c.col, c.row));
                break;
            case Entry::Editor:
                a = keys.EditorKeyPress(c.key, c.modifiers, c.text, c.editor);
                break;
        }
        EXPECT_EQ(a.handled, c.handled);
        EXPECT_EQ(a.editor, c.step);
        if (c.step != GridAnswer::Keep) {
            EXPECT_EQ(a.editorText, c.editorText);
            EXPECT_EQ(a.editorCursor, c.editorCursor);
        }
        EXPECT_EQ(a.browse, c.browse);
        EXPECT_EQ(a.replay.has_value(), c.replay);
        EXPECT_EQ(a.bookingRow, c.bookingRow);
        EXPECT_EQ(form.CurrentCol(), c.endCol < 0 ? c.col : c.endCol);
        EXPECT_EQ(form.CurrentRow(), c.endRow < 0 ? c.row : c.endRow);
        EXPECT_GT(int(form.GetRows().size()), form.CurrentRow());
        EXPECT_EQ(Cell(c.col, c.row), c.cell.value_or(before));
    }
}

TEST_F(CardGridKeysTest, EscapeGivesBackTheCellTheEditStartedWith)
{
    form.SetCurrentCell(kColAmount, 0);
    const GridAnswer open = keys.GridKey(Qt::Key_Return, Qt::NoModifier, At(kColAmount, 0));
    ASSERT_EQ(open.editor, GridAnswer::Open);
    keys.RunEditorKey(EditorKey::Char('9'), {open.editorText, open.editorCursor});
    keys.EditorEdited(kColAmount, 0, "3");  // the editor's own undo, say
    EXPECT_EQ(Cell(kColAmount, 0), "3");

    const GridAnswer escape = keys.EditorKeyPress(Qt::Key_Escape, Qt::NoModifier, {}, {"3", 1});
    EXPECT_FALSE(escape.handled) << "the view cancels its editor";
    EXPECT_EQ(escape.showRow, 0);
    EXPECT_EQ(Cell(kColAmount, 0), "12,50000") << "as stored, not as shown in the editor";
}

TEST_F(CardGridKeysTest, FollowingTheSelectionLeavesTheCellOnlyWhenItMoved)
{
    form.SetCurrentCell(kColAmount, 2);
    EXPECT_FALSE(keys.FollowSelection(At(kColAmount, 2)));
    EXPECT_EQ(Cell(kColAmount, 2), "7");
    EXPECT_FALSE(keys.FollowSelection({true, true, kColText, 0})) << "not while editing";
    EXPECT_FALSE(keys.FollowSelection({false, false, kColText, 0})) << "not without a card";
    EXPECT_EQ(form.CurrentCol(), kColAmount);

    EXPECT_TRUE(keys.FollowSelection(At(kColText, 0)));
    EXPECT_EQ(Cell(kColAmount, 2), "7,00000");
    EXPECT_EQ(form.CurrentCol(), kColText);
    EXPECT_EQ(form.CurrentRow(), 0);
}
