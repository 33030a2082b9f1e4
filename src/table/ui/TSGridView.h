#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QPainter;
class QScrollBar;
class TSGrid;

// Shows the window of a TSGrid: the grid draws only the rows that fit, and the scroll bar
// beside it moves the window over the records (ScrollBy), not grid rows. Keys, clicks and
// edits go to the table engine; edits write through to the record lines.
class TSGridView : public QWidget {
    Q_OBJECT
public:
    explicit TSGridView(TSGrid& grid, QWidget* parent = nullptr);
    ~TSGridView() override;

    TSGrid& Grid() const { return m_grid; }
    QScrollBar* ScrollBar() const { return m_scrollBar; }
    QWidget* Area() const { return m_area; }

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
    // Starts editing the selected cell (with `initial` replacing its text when given).
    void BeginEdit(const QString& initial = {});
    bool Editing() const { return m_editor != nullptr; }
    void CommitEdit();
    void CancelEdit();

    // The cell rectangle in the area, or an empty rectangle when it is not shown.
    QRect CellRect(int col, int row) const;

signals:
    void tabPressed();         // outside the record card: to the search field
    void keyHandled(int key);  // after each grid key (quantities return to "1,00")
    void wheelTurned();
    void cellDoubleClicked(int col, int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TSGridArea;
    void PaintArea(QPainter& painter);
    void HandleKey(QKeyEvent* event);
    void HandleClick(const QPoint& pos, bool doubleClick);
    void OnScrollAction(int action);
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
    QLineEdit* m_editor = nullptr;
    int m_editCol = 0;
    int m_editRow = 0;
    int m_leftCol = 1;  // first data column shown after the fixed column
    bool m_syncing = false;
    DrawCellFn m_drawCell;
};
