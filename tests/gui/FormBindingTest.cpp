#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTest>
#include <QVBoxLayout>

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

// Digits only, at most four in the first field; neither field may be left empty.
class DigitsForm : public FormBase {
public:
    DigitsForm() : FormBase(2) { m_fields[0].maxLength = 4; }
    bool Leave(int id, bool) override
    {
        if (!Text(id).isEmpty())
            return true;
        RequestFocus(id);
        return false;
    }

protected:
    QChar FilterKey(int, QChar key) override
    {
        return key.isDigit() || key == kKeyBackspace ? key : QChar();
    }
};

TEST(FormBindingTest, KeysPastedTextAndLeavingGoThroughTheForm)
{
    DigitsForm form;
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    FormBinding binding(form);
    binding.Bind(0, first);
    binding.Bind(1, second);
    binding.onChanged = [&] { binding.ShowFields(); };
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();

    QTest::keyClicks(first, "1a2");
    EXPECT_EQ(form.Text(0), "12") << "the form refuses the letter";
    EXPECT_EQ(first->text(), "12");
    EXPECT_EQ(first->cursorPosition(), 2);

    first->insert("345");  // as a paste does
    EXPECT_EQ(form.Text(0), "1234") << "pasted text keeps the field's limit";
    EXPECT_EQ(first->text(), "1234");

    second->setText("7\t8");  // a list choice: no edit signal
    binding.CopyToForm(1);
    EXPECT_EQ(form.Text(1), "7 8") << "a tab would split the record";

    first->selectAll();
    QTest::keyClick(first, Qt::Key_Backspace);
    EXPECT_EQ(form.Text(0), "");
    EXPECT_EQ(binding.FocusedField(), 0);
    second->setFocus(Qt::TabFocusReason);
    QTest::qWait(1);
    EXPECT_TRUE(first->hasFocus()) << "an empty first field keeps the focus";
    EXPECT_EQ(binding.FocusedField(), 0);
}

}  // namespace
