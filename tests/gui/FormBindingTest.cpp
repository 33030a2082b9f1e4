#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QKeyEvent>

#include "common/qt/FormBinding.h"

namespace {

QKeyEvent Key(int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return QKeyEvent(QEvent::KeyPress, key, modifiers, text);
}

TEST(FormBindingTest, KeysTheFormJudgesAndKeysLeftToTheWidget)
{
    EXPECT_EQ(FormKey(Key(Qt::Key_A, "a")), QChar('a'));
    EXPECT_EQ(FormKey(Key(Qt::Key_A, "A", Qt::ShiftModifier)), QChar('A'));
    EXPECT_EQ(FormKey(Key(Qt::Key_Comma, ",")), QChar(','));
    EXPECT_EQ(FormKey(Key(Qt::Key_Space, " ")), QChar(' '));
    EXPECT_EQ(FormKey(Key(Qt::Key_Backspace, "\b")), kKeyBackspace);
    // Copy, paste and menu shortcuts, navigation, Enter and Escape.
    EXPECT_FALSE(FormKey(Key(Qt::Key_V, "\x16", Qt::ControlModifier)));
    EXPECT_FALSE(FormKey(Key(Qt::Key_V, "v", Qt::ControlModifier)));
    EXPECT_FALSE(FormKey(Key(Qt::Key_X, "x", Qt::AltModifier)));
    EXPECT_FALSE(FormKey(Key(Qt::Key_Left, {})));
    EXPECT_FALSE(FormKey(Key(Qt::Key_Return, "\r")));
    EXPECT_FALSE(FormKey(Key(Qt::Key_Escape, "\x1b")));
}

TEST(FormBindingTest, OnlyARealFocusChangeLeavesTheField)
{
    EXPECT_TRUE(LeavesField(QFocusEvent(QEvent::FocusOut, Qt::TabFocusReason)));
    EXPECT_TRUE(LeavesField(QFocusEvent(QEvent::FocusOut, Qt::MouseFocusReason)));
    EXPECT_TRUE(LeavesField(QFocusEvent(QEvent::FocusOut, Qt::BacktabFocusReason)));
    EXPECT_FALSE(LeavesField(QFocusEvent(QEvent::FocusOut, Qt::ActiveWindowFocusReason)));
    EXPECT_FALSE(LeavesField(QFocusEvent(QEvent::FocusOut, Qt::PopupFocusReason)));
}

}  // namespace
