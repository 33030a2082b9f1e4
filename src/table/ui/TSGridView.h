#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QPainter;
class QScrollBar;
class TSGrid;

// Shows the window of a TSGrid: the grid draws only the rows that fit, and the scroll bar
// beside it moves the window over the records (ScrollBy), not grid rows. A second bar below
// scrolls by columns when the columns are wider than the view. Keys, clicks and edits go to
// the table engine; edits write through to the record lines. With goColSizing a column's
// right border on the title row can be dragged; the new width is the grid's ColWidth.
class TSGridView : public QWidget {
    Q_OBJECT
public:
    explicit TSGridView(TSGrid& grid, QWidget* parent = nullptr);
    ~TSGridView() override;

    TSGrid& Grid() const { return m_grid; }
    QScrollBar* ScrollBar() const { return m_scrollBar; }
    QScrollBar* HorizontalScrollBar() const { return m_hScrollBar; }
    QWidget* Area() const { return m_area; }
    // First data column shown right of the fixed column.
    int LeftCol() const { return m_leftCol; }
    void SetLeftCol(int col);
    // The table font and the row height that goes with it; the rows are refilled so that
    // right-aligned cells are padded for the new font.
    void ApplyFont(const QFont& font, int rowHeight);
    // With this on, the last column may run past the right edge without a column bar, as
    // long as at least half of it shows.
    void SetLastColumnMayOverhang(bool on);
    // Narrowest width a column can be dragged to.
    static constexpr int kMinDragWidth = 8;

    // Owners draw cells their own way (colours, centred text). Return true when the cell
    // was drawn; false leaves it to the default drawing.
    using DrawCellFn =
        std::function<bool(QPainter& painter, const QRect& rect, int col, int row, bool selected)>;
    void SetDrawCell(DrawCellFn fn) { m_drawCell = std::move(fn); }

    // Owners that handle a key themselves (the record card appends lines) return true.
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> KeyHook;

    // Runs a key through the grid's key handling (owners forward keys of their fields).
    void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Makes the bar follow the grid's window: maximum, steps and position.
    void SyncScrollBar();
    // Shows the column bar only when the columns do not fit, and sets its range.
    void SyncHorizontalScrollBar();
    // Starts editing the selected cell (with `initial` replacing its text when given).
    void BeginEdit(const QString& initial = {});
    bool Editing() const { return m_editor != nullptr; }
    void CommitEdit();
    void CancelEdit();

    // The cell rectangle in the area, or an empty rectangle when it is not shown.
    QRect CellRect(int col, int row) const;
    // The data column whose right border on the title row lies at `pos` (within a few
    // pixels), or -1; only with goColSizing.
    int SizingBorderAt(const QPoint& pos) const;

signals:
    void tabPressed();         // outside the record card: to the search field
    void keyHandled(int key);  // after each grid key (quantities return to "1,00")
    void wheelTurned();
    void cellDoubleClicked(int col, int row);
    void columnResized(int col, int width);  // after a drag on the title row ends

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TSGridArea;
    void PaintArea(QPainter& painter);
    void HandleKey(QKeyEvent* event);
    void HandleClick(const QPoint& pos, bool doubleClick);
    void OnScrollAction(int action);
    void OnHScrollAction(int action);
    int MaxLeftCol() const;
    bool LastColumnOverhangs(int room) const;
    bool BeginSizing(const QPoint& pos);
    bool DragSizing(const QPoint& pos);
    bool EndSizing();
    void EnsureColumnVisible();
    void FinishEdit(bool commit, bool refocus);
    int ColumnAt(int x) const;
    int RowAt(int y) const;
    int RowTop(int row) const;
    int ColumnLeft(int col) const;
    int ColumnSpan(int col) const;

    TSGrid& m_grid;
    QWidget* m_area = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    QScrollBar* m_hScrollBar = nullptr;
    QLineEdit* m_editor = nullptr;
    int m_editCol = 0;
    int m_editRow = 0;
    int m_leftCol = 1;  // first data column shown after the fixed column
    bool m_syncing = false;
    bool m_lastColumnMayOverhang = false;
    int m_sizingCol = -1;  // column whose border is being dragged
    int m_sizingStartX = 0;
    int m_sizingStartWidth = 0;
    DrawCellFn m_drawCell;
};
