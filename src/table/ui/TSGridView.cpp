#include "table/ui/TSGridView.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPainter>
#include <QScrollBar>

#include "table/TSGrid.h"

// The drawing surface; everything it receives goes to the view.
class TSGridArea : public QWidget {
public:
    explicit TSGridArea(TSGridView* view) : QWidget(view), m_view(view)
    {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(60, 45);
        setMouseTracking(true);  // the sizing cursor over column borders
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_view->PaintArea(painter);
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        m_view->m_grid.Resize(height());
        m_view->SyncScrollBar();
        m_view->SetLeftCol(m_view->m_leftCol);  // a wider view may show more columns
        m_view->SyncHorizontalScrollBar();
        update();
    }
    void keyPressEvent(QKeyEvent* event) override { m_view->HandleKey(event); }
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        if (event->button() == Qt::LeftButton && m_view->BeginSizing(pos))
            return;
        m_view->HandleClick(pos, false);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        if (m_view->DragSizing(pos))
            return;
        if (m_view->SizingBorderAt(pos) >= 0)
            setCursor(Qt::SplitHCursor);
        else
            unsetCursor();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_view->EndSizing();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        if (m_view->SizingBorderAt(pos) >= 0)
            return;  // a quick second press on a border is no cell double click
        m_view->HandleClick(pos, true);
    }
    void wheelEvent(QWheelEvent* event) override
    {
        const int notches = event->angleDelta().y() / 120;
        emit m_view->wheelTurned();
        if (notches != 0) {
            m_view->m_grid.ScrollBy(-notches);
            m_view->SyncScrollBar();
        }
        event->accept();
    }
    bool focusNextPrevChild(bool) override { return false; }  // Tab is a grid key

private:
    TSGridView* m_view;
};

TSGridView::TSGridView(TSGrid& grid, QWidget* parent) : QWidget(parent), m_grid(grid)
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_area = new TSGridArea(this);
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_hScrollBar = new QScrollBar(Qt::Horizontal, this);
    m_hScrollBar->setObjectName(QStringLiteral("ColumnScrollBar"));
    m_hScrollBar->hide();
    layout->addWidget(m_area, 0, 0);
    layout->addWidget(m_scrollBar, 0, 1);
    layout->addWidget(m_hScrollBar, 1, 0);
    layout->setRowStretch(0, 1);
    layout->setColumnStretch(0, 1);
    setFocusProxy(m_area);

    m_grid.SetTextWidth(
        [this](const QString& text) { return m_area->fontMetrics().horizontalAdvance(text); });
    m_grid.SetChangeHandler([this](GridChange change) {
        // Only a new selection pulls its column into view; cell and width changes leave
        // the columns where the person scrolled them.
        if (change == GridChange::Selection)
            EnsureColumnVisible();
        else if (change == GridChange::Layout)
            SetLeftCol(m_leftCol);
        SyncScrollBar();
        SyncHorizontalScrollBar();
        m_area->update();
    });
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &TSGridView::OnScrollAction);
    connect(m_hScrollBar, &QScrollBar::actionTriggered, this, &TSGridView::OnHScrollAction);
    SyncScrollBar();
}

TSGridView::~TSGridView()
{
    m_grid.SetChangeHandler({});
    m_grid.SetTextWidth({});
}

void TSGridView::SyncScrollBar()
{
    if (m_syncing)
        return;
    m_syncing = true;
    const int rows = m_grid.RowCount();
    m_scrollBar->setRange(0, qMin(qMax(m_grid.RecordCount() - rows + 1, 0), 30000));
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(qMax(rows - 1, 1));
    m_scrollBar->setValue(m_grid.WindowTop());
    m_syncing = false;
}

void TSGridView::OnScrollAction(int)
{
    // The slider position already holds where the action wants to go; the window follows
    // through ScrollBy, and the bar then shows the window top.
    const int delta = m_scrollBar->sliderPosition() - m_grid.WindowTop();
    if (delta != 0)
        m_grid.ScrollBy(delta);
    m_scrollBar->setSliderPosition(m_grid.WindowTop());
    m_grid.NotifyVScroll();
    m_area->update();
}

// The last first column that still fills the view: from it on every column to the end
// fits. Scrolling further would only leave an empty strip on the right.
int TSGridView::MaxLeftCol() const
{
    const int last = m_grid.ColCount() - 1;
    int room = m_area->width() - ColumnSpan(0);
    if (m_lastColumnMayOverhang && LastColumnOverhangs(room))
        return 1;
    int col = last + 1;
    while (col > 1 && room - ColumnSpan(col - 1) >= 0) {
        room -= ColumnSpan(col - 1);
        --col;
    }
    return qBound(1, col, qMax(1, last));
}

// Every column from the first on fits, but for the last one of which at least half shows.
bool TSGridView::LastColumnOverhangs(int room) const
{
    int last = m_grid.ColCount() - 1;
    while (last > 1 && ColumnSpan(last) == 0)
        --last;
    for (int c = 1; c < last; ++c)
        room -= ColumnSpan(c);
    return room >= (ColumnSpan(last) + 1) / 2;
}

void TSGridView::SetLastColumnMayOverhang(bool on)
{
    m_lastColumnMayOverhang = on;
    SetLeftCol(m_leftCol);
    SyncHorizontalScrollBar();
}

void TSGridView::SetLeftCol(int col)
{
    const int clamped = qBound(1, col, MaxLeftCol());
    if (clamped == m_leftCol)
        return;
    m_leftCol = clamped;
    SyncHorizontalScrollBar();
    m_area->update();
}

void TSGridView::SyncHorizontalScrollBar()
{
    const int maxLeft = MaxLeftCol();
    const QSignalBlocker block(m_hScrollBar);
    m_hScrollBar->setRange(1, maxLeft);
    m_hScrollBar->setSingleStep(1);
    int shown = 0;
    for (int c = m_leftCol; c < m_grid.ColCount(); ++c) {
        const QRect r = CellRect(c, 0);
        if (!r.isNull() && r.right() < m_area->width())
            ++shown;
    }
    m_hScrollBar->setPageStep(qMax(1, shown));
    m_hScrollBar->setValue(m_leftCol);
    m_hScrollBar->setVisible(maxLeft > 1);
}

void TSGridView::OnHScrollAction(int)
{
    int target = m_hScrollBar->sliderPosition();
    // Hidden columns take no room; stepping onto one would look like no step at all.
    const int step = target >= m_leftCol ? 1 : -1;
    while (target > 1 && target < MaxLeftCol() && m_grid.ColWidth(target) <= 0)
        target += step;
    if (m_editor)
        CommitEdit();
    SetLeftCol(target);
    m_hScrollBar->setSliderPosition(m_leftCol);
    m_grid.NotifyHScroll();
}

int TSGridView::RowTop(int row) const
{
    if (row <= 0)
        return 0;
    const int pitch =
        m_grid.DefaultRowHeight() + (m_grid.HorizontalLines() ? m_grid.GridLineWidth() : 0);
    return m_grid.RowHeight(0) + (row - 1) * pitch;
}

int TSGridView::ColumnLeft(int col) const
{
    if (col == 0)
        return 0;
    if (col < m_leftCol)
        return -1;
    int x = ColumnSpan(0);
    for (int c = m_leftCol; c < col; ++c)
        x += ColumnSpan(c);
    return x;
}

// Width of a column with its line; a hidden column (width below 1) takes no room.
int TSGridView::ColumnSpan(int col) const
{
    const int width = m_grid.ColWidth(col);
    if (width <= 0)
        return 0;
    return width + ((m_grid.Options() & goVertLine) ? m_grid.GridLineWidth() : 0);
}

QRect TSGridView::CellRect(int col, int row) const
{
    if (col < 0 || col >= m_grid.ColCount() || row < 0 || row >= m_grid.RowCount())
        return {};
    const int left = ColumnLeft(col);
    if (left < 0 || m_grid.ColWidth(col) <= 0)
        return {};
    const int height =
        row == 0 ? m_grid.RowHeight(0) - (m_grid.HorizontalLines() ? m_grid.GridLineWidth() : 0)
                 : m_grid.DefaultRowHeight();
    return QRect(left, RowTop(row), m_grid.ColWidth(col), qMax(height, 0));
}

int TSGridView::ColumnAt(int x) const
{
    for (int c = 0; c < m_grid.ColCount(); ++c) {
        const QRect r = CellRect(c, 0);
        if (!r.isNull() && x >= r.left() && x <= r.right() + m_grid.GridLineWidth())
            return c;
    }
    return -1;
}

int TSGridView::RowAt(int y) const
{
    for (int r = 0; r < m_grid.RowCount(); ++r) {
        if (y >= RowTop(r) && y < RowTop(r + 1))
            return r;
    }
    return -1;
}

void TSGridView::EnsureColumnVisible()
{
    const int col = m_grid.Col();
    if (col < 1)
        return;
    if (col < m_leftCol) {
        m_leftCol = col;
        return;
    }
    // Move the first shown column right until the selected one fits (or is first), but no
    // further than the scroll bar could.
    const int maxLeft = MaxLeftCol();
    while (m_leftCol < col && m_leftCol < maxLeft) {
        const int right = ColumnLeft(col) + m_grid.ColWidth(col);
        if (right <= m_area->width())
            break;
        ++m_leftCol;
    }
}

int TSGridView::SizingBorderAt(const QPoint& pos) const
{
    if (!(m_grid.Options() & goColSizing) || m_grid.RowCount() < 1)
        return -1;
    if (pos.y() < 0 || pos.y() >= RowTop(1))
        return -1;
    constexpr int kGrip = 3;
    int best = -1;
    int bestDistance = kGrip + 1;
    for (int c = 1; c < m_grid.ColCount(); ++c) {
        const QRect r = CellRect(c, 0);
        if (r.isNull())
            continue;
        const int distance = qAbs(pos.x() - (r.right() + 1));
        // On a tie the right column wins, so a narrowed column can still be widened.
        if (distance <= bestDistance) {
            best = c;
            bestDistance = distance;
        }
    }
    return bestDistance <= kGrip ? best : -1;
}

bool TSGridView::BeginSizing(const QPoint& pos)
{
    const int col = SizingBorderAt(pos);
    if (col < 0)
        return false;
    CommitEdit();
    m_sizingCol = col;
    m_sizingStartX = pos.x();
    m_sizingStartWidth = m_grid.ColWidth(col);
    return true;
}

bool TSGridView::DragSizing(const QPoint& pos)
{
    if (m_sizingCol < 0)
        return false;
    m_grid.SetColWidth(m_sizingCol,
                       qMax(kMinDragWidth, m_sizingStartWidth + pos.x() - m_sizingStartX));
    return true;
}

bool TSGridView::EndSizing()
{
    if (m_sizingCol < 0)
        return false;
    const int col = m_sizingCol;
    m_sizingCol = -1;
    // Right-aligned cells are padded to their column's width.
    m_grid.RefreshRows();
    emit columnResized(col, m_grid.ColWidth(col));
    return true;
}

void TSGridView::ApplyFont(const QFont& font, int rowHeight)
{
    CommitEdit();
    setFont(font);
    m_grid.SetDefaultRowHeight(rowHeight);
    m_grid.Resize(m_area->height());
    m_grid.RefreshRows();
    SyncScrollBar();
    SyncHorizontalScrollBar();
    m_area->update();
}

void TSGridView::PaintArea(QPainter& painter)
{
    const QPalette pal = palette();
    painter.fillRect(m_area->rect(), pal.color(QPalette::Base));
    const unsigned options = m_grid.Options();
    const int line = m_grid.GridLineWidth();
    const QColor lineColour(0xc0, 0xc0, 0xc0);
    const QColor fixedColour = pal.color(QPalette::Button);
    const bool rowSelect = (options & goRowSelect) != 0;
    const bool focused = m_area->hasFocus() || Editing();
    const QFontMetrics fm = m_area->fontMetrics();

    for (int row = 0; row < m_grid.RowCount(); ++row) {
        for (int col = 0; col < m_grid.ColCount(); ++col) {
            const QRect rect = CellRect(col, row);
            if (rect.isNull() || rect.left() > m_area->width())
                continue;
            const bool fixed = row == 0 || col == 0;
            const bool selected =
                !fixed && row == m_grid.Row() && (rowSelect || col == m_grid.Col());
            if (fixed) {
                painter.fillRect(rect, fixedColour);
            } else if (m_drawCell && m_drawCell(painter, rect, col, row, selected)) {
                continue;
            } else if (selected) {
                painter.fillRect(rect, pal.color(focused ? QPalette::Active : QPalette::Inactive,
                                                 QPalette::Highlight));
            }
            painter.setPen(selected ? pal.color(QPalette::HighlightedText)
                                    : pal.color(QPalette::Text));
            // Data cells start 2 pixels below their top, as owner-drawn cells do, so that
            // coloured rows line up with the others whatever the row height. The title row,
            // which takes up the spare height, centres its text.
            const QRect textRect = rect.adjusted(2, row == 0 ? 0 : 2, -1, 0);
            painter.drawText(
                textRect,
                Qt::AlignLeft | (row == 0 ? Qt::AlignVCenter : Qt::AlignTop) | Qt::TextSingleLine,
                fm.elidedText(m_grid.Cells(col, row), Qt::ElideNone, textRect.width()));
        }
    }
    // Lines: fixed ones darker, as the string grid draws them.
    for (int row = 0; row < m_grid.RowCount(); ++row) {
        const int y = RowTop(row + 1) - line;
        const bool fixedLine = row == 0;
        if (line > 0 && (fixedLine ? (options & goFixedHorzLine) : (options & goHorzLine))) {
            painter.fillRect(QRect(0, y, m_area->width(), line),
                             fixedLine ? pal.color(QPalette::Mid) : lineColour);
        }
    }
    const int bottom = RowTop(m_grid.RowCount());
    for (int col = 0; col < m_grid.ColCount(); ++col) {
        const QRect rect = CellRect(col, 0);
        if (rect.isNull())
            continue;
        const bool fixedLine = col == 0;
        if (line > 0 && (fixedLine ? (options & goFixedVertLine) : (options & goVertLine))) {
            painter.fillRect(QRect(rect.right() + 1, 0, line, bottom),
                             fixedLine ? pal.color(QPalette::Mid) : lineColour);
        }
    }
}

void TSGridView::HandleClick(const QPoint& pos, bool doubleClick)
{
    CommitEdit();
    m_area->setFocus();
    const int col = ColumnAt(pos.x());
    const int row = RowAt(pos.y());
    if (col < 1 || row < 1)
        return;
    m_grid.SetSelection(col, row);
    if (doubleClick)
        emit cellDoubleClicked(col, row);
}

void TSGridView::PressKey(int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    HandleKey(&event);
}

void TSGridView::HandleKey(QKeyEvent* event)
{
    const int key = event->key();
    if (KeyHook && KeyHook(key, event->modifiers())) {
        SyncScrollBar();
        emit keyHandled(key);
        return;
    }
    const int row = m_grid.Row();
    const int lastCol = m_grid.ColCount() - 1;
    switch (key) {
        case Qt::Key_Down:
            if (row >= m_grid.RowCount() - 1)
                m_grid.ScrollBy(1);
            else
                m_grid.SetRow(row + 1);
            break;
        case Qt::Key_Up:
            if (row <= 1)
                m_grid.ScrollBy(-1);
            else
                m_grid.SetRow(row - 1);
            break;
        case Qt::Key_PageDown:
            m_grid.ScrollBy(m_scrollBar->pageStep());
            break;
        case Qt::Key_PageUp:
            m_grid.ScrollBy(-m_scrollBar->pageStep());
            break;
        case Qt::Key_Left:
            m_grid.SetCol(qMax(1, m_grid.Col() - 1));
            break;
        case Qt::Key_Right:
            m_grid.SetCol(qMin(lastCol, m_grid.Col() + 1));
            break;
        case Qt::Key_Home:
            m_grid.SetCol(1);
            break;
        case Qt::Key_End:
            m_grid.SetCol(lastCol);
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (isSignalConnected(QMetaMethod::fromSignal(&TSGridView::tabPressed))) {
                emit tabPressed();
            } else if (key == Qt::Key_Tab) {
                m_grid.SetCol(m_grid.Col() < lastCol ? m_grid.Col() + 1 : 1);
            } else {
                m_grid.SetCol(m_grid.Col() > 1 ? m_grid.Col() - 1 : lastCol);
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            if (m_grid.Options() & goEditing)
                BeginEdit();
            break;
        default:
            if ((m_grid.Options() & goEditing) && !event->text().isEmpty() &&
                event->text().at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier)) {
                BeginEdit(event->text());
                return;
            }
            QWidget::keyPressEvent(event);
            return;
    }
    SyncScrollBar();
    emit keyHandled(key);
}

void TSGridView::BeginEdit(const QString& initial)
{
    const int col = m_grid.Col();
    const int row = m_grid.Row();
    const QRect rect = CellRect(col, row);
    if (Editing() || col < 1 || row < 1 || rect.isNull())
        return;
    m_editCol = col;
    m_editRow = row;
    m_editor = new QLineEdit(m_area);
    m_editor->setFrame(false);
    m_editor->setGeometry(rect);
    // Right-aligned cells are padded with blanks for display only.
    m_editor->setText(initial.isEmpty() ? m_grid.Cells(col, row).trimmed() : initial);
    m_editor->installEventFilter(this);
    m_editor->show();
    m_editor->setFocus();
    if (initial.isEmpty())
        m_editor->selectAll();
}

void TSGridView::CommitEdit()
{
    FinishEdit(true, true);
}

void TSGridView::CancelEdit()
{
    FinishEdit(false, true);
}

void TSGridView::FinishEdit(bool commit, bool refocus)
{
    if (!m_editor)
        return;
    QLineEdit* editor = m_editor;
    m_editor = nullptr;
    const QString text = editor->text();
    editor->removeEventFilter(this);
    editor->hide();
    editor->deleteLater();
    // The edited cell is still the selected one: every key that moves the selection
    // ends the edit first.
    if (commit)
        m_grid.SetCell(m_editCol, m_editRow, text);
    if (refocus)
        m_area->setFocus();
    m_area->update();
}

bool TSGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Escape:
                CancelEdit();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                CommitEdit();
                return true;
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown: {
                CommitEdit();
                QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
                HandleKey(&copy);
                return true;
            }
            default:
                break;
        }
    } else if (event->type() == QEvent::FocusOut) {
        FinishEdit(true, false);
    }
    return QWidget::eventFilter(watched, event);
}
