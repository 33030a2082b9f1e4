#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "support/ScriptedUserPort.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

// A grid of three data columns in a view with room for `rows` rows (title included).
class TSGridViewTest : public ::testing::Test {
protected:
    void Fill(int records, int rows = 12)
    {
        m_grid.SetColCount(4);
        QStringList lines;
        for (int i = 0; i < records; ++i)
            lines << QStringLiteral("Name %1\tx\t%2\t").arg(i, 3, 10, QChar('0')).arg(i);
        m_grid.SetLines(lines);
        const int pitch = TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth;
        m_view.resize(400, rows * pitch + 5);
        m_view.show();
        m_view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_view));
        m_view.Area()->setFocus();
    }
    // Keys go where the focus is, as a person's keys would.
    static QWidget* Focus() { return QApplication::focusWidget(); }
    void Key(int key) { QTest::keyClick(Focus(), Qt::Key(key)); }
    void Type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClicks(Focus(), QString(c));
    }

    ScriptedUserPort m_port;
    TSGrid m_grid{m_port};
    TSGridView m_view{m_grid};
};

}  // namespace

TEST_F(TSGridViewTest, FewRecordsShowAllWithoutScrolling)
{
    Fill(3);
    EXPECT_EQ(m_grid.VisibleCapacity(), 12);
    EXPECT_EQ(m_grid.RowCount(), 4);
    EXPECT_EQ(m_view.ScrollBar()->maximum(), 0);
    EXPECT_EQ(m_grid.Cells(1, 3), "Name 002");
}

TEST_F(TSGridViewTest, ScrollBarFollowsTheWindow)
{
    Fill(25);
    EXPECT_EQ(m_grid.RowCount(), 12);
    EXPECT_EQ(m_view.ScrollBar()->maximum(), 14);
    EXPECT_EQ(m_view.ScrollBar()->pageStep(), 11);
    EXPECT_EQ(m_view.ScrollBar()->singleStep(), 1);

    m_view.ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_grid.WindowTop(), 1);
    EXPECT_EQ(m_view.ScrollBar()->value(), 1);
    m_view.ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_grid.WindowTop(), 12);
    m_view.ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_grid.WindowTop(), 14) << "stops at the last record";
    EXPECT_EQ(m_view.ScrollBar()->value(), 14);
    EXPECT_EQ(m_grid.Cells(1, 11), "Name 024");
}

TEST_F(TSGridViewTest, ResizingChangesTheRowCount)
{
    Fill(500);
    EXPECT_EQ(m_grid.RowCount(), 12);
    const int pitch = TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth;
    m_view.resize(400, 20 * pitch + 3);
    QTest::qWait(1);
    EXPECT_EQ(m_grid.RowCount(), 20);
    EXPECT_EQ(m_grid.RowHeight(0), 20 * pitch + 3 - 19 * pitch) << "rows fill the height";
    EXPECT_EQ(m_view.ScrollBar()->maximum(), 500 - 20 + 1);
    EXPECT_EQ(m_view.ScrollBar()->pageStep(), 19);
}

TEST_F(TSGridViewTest, KeysMoveTheSelectionThenTheWindow)
{
    Fill(500);
    QSignalSpy handled(&m_view, &TSGridView::keyHandled);
    m_view.Area()->setFocus();
    for (int i = 0; i < 10; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.Row(), 11);
    EXPECT_EQ(m_grid.WindowTop(), 0);
    Key(Qt::Key_Down);  // on the last row: the window moves, not the selection
    EXPECT_EQ(m_grid.Row(), 11);
    EXPECT_EQ(m_grid.WindowTop(), 1);
    EXPECT_EQ(m_view.ScrollBar()->value(), 1);
    EXPECT_EQ(m_grid.CurrentRecord(), 11);

    Key(Qt::Key_PageDown);
    EXPECT_EQ(m_grid.WindowTop(), 12);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(m_grid.WindowTop(), 1);
    for (int i = 0; i < 10; ++i)
        Key(Qt::Key_Up);
    EXPECT_EQ(m_grid.Row(), 1);
    Key(Qt::Key_Up);
    EXPECT_EQ(m_grid.WindowTop(), 0);

    Key(Qt::Key_End);
    EXPECT_EQ(m_grid.Col(), 3);
    Key(Qt::Key_Left);
    EXPECT_EQ(m_grid.Col(), 2);
    Key(Qt::Key_Home);
    EXPECT_EQ(m_grid.Col(), 1);
    EXPECT_EQ(handled.count(), 10 + 1 + 2 + 10 + 1 + 3);
}

TEST_F(TSGridViewTest, TabGoesToTheOwnerWhenItListens)
{
    Fill(5);
    m_view.Area()->setFocus();
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_grid.Col(), 2) << "without a listener Tab moves the column";
    QSignalSpy tabs(&m_view, &TSGridView::tabPressed);
    Key(Qt::Key_Tab);
    EXPECT_EQ(tabs.count(), 1);
    EXPECT_EQ(m_grid.Col(), 2);
}

TEST_F(TSGridViewTest, TypingEditsTheRecordLine)
{
    Fill(30);
    m_grid.PriceCol1 = 3;
    m_grid.SetColumnAlignment(3, 1);
    m_grid.RefreshRows();
    m_grid.ScrollBy(2);  // the window moves first: row 1 shows record 2
    m_grid.SetSelection(2, 1);
    m_view.Area()->setFocus();
    Type("Kater");
    ASSERT_TRUE(m_view.Editing());
    Key(Qt::Key_Return);
    EXPECT_FALSE(m_view.Editing());
    EXPECT_EQ(m_grid.GetRecordCell(2, 2), QStringLiteral("Kater"));

    m_grid.SetCol(3);
    Key(Qt::Key_F2);
    ASSERT_TRUE(m_view.Editing());
    QLineEdit* editor = qobject_cast<QLineEdit*>(Focus());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "2,00") << "shown without the padding";
    editor->setText("12,5");
    QTest::keyClick(editor, Qt::Key_Down);  // ends the edit and moves on
    EXPECT_EQ(m_grid.GetRecordCell(3, 2), "12,50000");
    EXPECT_EQ(m_grid.Cells(3, 1).trimmed(), "12,50");
    EXPECT_TRUE(m_grid.Cells(3, 1).startsWith(' ')) << "right-aligned cells are padded";
    EXPECT_EQ(m_grid.Row(), 2);

    Type("x");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(m_view.Editing());
    EXPECT_EQ(m_grid.GetRecordCell(3, 3), "3") << "escape keeps the old text";
}

TEST_F(TSGridViewTest, OwnersDrawCellsAndClicksSelect)
{
    Fill(5);
    int drawn = 0;
    bool sawSelected = false;
    m_view.SetDrawCell([&](QPainter& p, const QRect& r, int col, int row, bool selected) {
        ++drawn;
        sawSelected = sawSelected || selected;
        if (col == 1 && row == 2) {
            p.fillRect(r, QColor(0xFF, 0xFF, 0xD9));
            return true;
        }
        return false;
    });
    m_view.Area()->repaint();
    EXPECT_EQ(drawn, 5 * 3) << "data cells only";
    EXPECT_TRUE(sawSelected);

    const QRect cell = m_view.CellRect(2, 4);
    QTest::mouseClick(m_view.Area(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(m_grid.Col(), 2);
    EXPECT_EQ(m_grid.Row(), 4);
    QSignalSpy doubles(&m_view, &TSGridView::cellDoubleClicked);
    QTest::mouseDClick(m_view.Area(), Qt::LeftButton, {}, m_view.CellRect(1, 2).center());
    EXPECT_EQ(doubles.count(), 1);
    const QImage image = m_view.Area()->grab().toImage();
    EXPECT_EQ(image.pixelColor(m_view.CellRect(1, 2).bottomRight() - QPoint(1, 1)),
              QColor(0xFF, 0xFF, 0xD9));
}

namespace {

void SendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Presses on `from`, moves to `to` with the button held, releases there.
void Drag(QWidget* w, const QPoint& from, const QPoint& to)
{
    SendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    SendMouse(w, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    SendMouse(w, QEvent::MouseMove, to, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

}  // namespace

TEST_F(TSGridViewTest, ColumnBarScrollsByColumnsOnlyWhenTheyDoNotFit)
{
    Fill(30);
    QScrollBar* bar = m_view.HorizontalScrollBar();
    EXPECT_FALSE(bar->isVisible()) << "4 x 71 pixels fit into 400";

    m_grid.SetColWidth(0, 10);
    for (int col = 1; col <= 3; ++col)
        m_grid.SetColWidth(col, 180);
    QTest::qWait(1);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), 1);
    // Columns 2 and 3 fill the view next to the fixed column; scrolling stops there.
    EXPECT_EQ(bar->maximum(), 2);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_view.LeftCol(), 2);
    EXPECT_TRUE(m_view.CellRect(1, 1).isNull()) << "column 1 scrolled out";
    EXPECT_EQ(m_view.CellRect(2, 1).left(), 11) << "right of the fixed column";
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_view.LeftCol(), 2) << "no empty strip on the right";
    EXPECT_EQ(m_grid.Col(), 1) << "scrolling leaves the selection alone";

    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(m_view.LeftCol(), 1);
    Key(Qt::Key_End);
    EXPECT_EQ(m_grid.Col(), 3);
    EXPECT_EQ(m_view.LeftCol(), 2) << "the selected column is brought into view";
    EXPECT_EQ(bar->value(), 2);

    m_view.resize(700, m_view.height());
    QTest::qWait(1);
    EXPECT_EQ(m_view.LeftCol(), 1) << "a wide view shows all columns again";
    EXPECT_FALSE(bar->isVisible());
}

// The record card's last column may be cut at the right edge rather than bring a column bar,
// as long as at least half of it shows.
TEST_F(TSGridViewTest, LastColumnMayOverhangByLessThanHalf)
{
    Fill(30);
    m_view.SetLastColumnMayOverhang(true);
    QScrollBar* bar = m_view.HorizontalScrollBar();
    m_grid.SetColWidth(0, 10);
    m_grid.SetColWidth(1, 100);
    m_grid.SetColWidth(2, 100);
    const int room = m_view.Area()->width() - 11 - 2 * 101;
    ASSERT_GT(room, 60);
    m_grid.SetColWidth(3, room + 40);  // sticks out by 41 pixels with its line
    QTest::qWait(1);
    EXPECT_FALSE(bar->isVisible());
    Key(Qt::Key_End);
    EXPECT_EQ(m_grid.Col(), 3);
    EXPECT_EQ(m_view.LeftCol(), 1) << "selecting the cut column scrolls nothing away";
    EXPECT_FALSE(m_view.CellRect(3, 1).isNull());

    m_grid.SetColWidth(3, 2 * room + 10);  // more than half of it would be hidden
    QTest::qWait(1);
    EXPECT_TRUE(bar->isVisible());

    // A hidden column after it does not count as the last one.
    m_grid.SetColCount(5);
    m_grid.SetColWidth(3, room + 40);
    m_grid.SetColWidth(4, -1);
    QTest::qWait(1);
    EXPECT_FALSE(bar->isVisible());

    m_view.SetLastColumnMayOverhang(false);
    EXPECT_TRUE(bar->isVisible()) << "other grids scroll to show every column whole";
}

TEST_F(TSGridViewTest, TitleBordersDragColumnWidths)
{
    Fill(5);
    m_grid.SetColumnAlignment(3, 1);
    m_grid.RefreshRows();
    const int titleMiddle = m_view.CellRect(1, 0).center().y();
    const QPoint border1(m_view.CellRect(1, 0).right() + 1, titleMiddle);

    Drag(m_view.Area(), border1, border1 + QPoint(40, 0));
    EXPECT_EQ(m_grid.ColWidth(1), 70) << "without goColSizing the widths stay";

    m_grid.SetOptions(m_grid.Options() | goColSizing);
    EXPECT_EQ(m_view.SizingBorderAt(border1), 1);
    EXPECT_EQ(m_view.SizingBorderAt(border1 + QPoint(0, 25)), -1) << "data rows do not size";
    QSignalSpy resized(&m_view, &TSGridView::columnResized);
    m_grid.SetSelection(2, 2);
    Drag(m_view.Area(), border1, border1 + QPoint(40, 0));
    EXPECT_EQ(m_grid.ColWidth(1), 110);
    ASSERT_EQ(resized.count(), 1);
    EXPECT_EQ(resized.at(0).at(0).toInt(), 1);
    EXPECT_EQ(resized.at(0).at(1).toInt(), 110);
    EXPECT_EQ(m_grid.Row(), 2) << "a drag on the titles selects nothing";
    EXPECT_EQ(m_grid.Col(), 2);

    // A right-aligned column is padded again for its new width.
    const QString before = m_grid.Cells(3, 2);
    const QPoint border3(m_view.CellRect(3, 0).right() + 1, titleMiddle);
    Drag(m_view.Area(), border3, border3 + QPoint(60, 0));
    EXPECT_EQ(m_grid.ColWidth(3), 130);
    EXPECT_GT(m_grid.Cells(3, 2).size(), before.size());
    EXPECT_EQ(m_grid.Cells(3, 2).trimmed(), "1");
    EXPECT_EQ(m_grid.GetRecordCell(3, 1), "1") << "the record line is untouched";

    const QPoint border2(m_view.CellRect(2, 0).right() + 1, titleMiddle);
    Drag(m_view.Area(), border2, border2 - QPoint(300, 0));
    EXPECT_EQ(m_grid.ColWidth(2), TSGridView::kMinDragWidth) << "a column never vanishes";
    const QPoint narrowed(m_view.CellRect(2, 0).right() + 1, titleMiddle);
    EXPECT_EQ(m_view.SizingBorderAt(narrowed), 2) << "and can be widened again";
}

TEST_F(TSGridViewTest, FontAndRowHeightChangeTheRowsThatFit)
{
    Fill(500);
    EXPECT_EQ(m_grid.RowCount(), 12);
    QFont font = m_view.font();
    font.setPointSize(12);
    m_view.ApplyFont(font, 30);
    EXPECT_EQ(m_grid.DefaultRowHeight(), 30);
    EXPECT_EQ(m_grid.RowCount(), m_view.Area()->height() / 31);
    EXPECT_EQ(m_view.Area()->font().pointSize(), 12);
    EXPECT_EQ(m_view.ScrollBar()->pageStep(), m_grid.RowCount() - 1);
    EXPECT_EQ(m_grid.Cells(1, 1), "Name 000");
}
