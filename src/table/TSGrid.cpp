#include "table/TSGrid.h"

#include <algorithm>

#include "common/NumberFormat.h"
#include "table/RecordLine.h"

namespace {

const QString kLeft = QStringLiteral("taLeftJustify");
const QString kRight = QStringLiteral("taRightJustify");
const QString kCenter = QStringLiteral("taCenter");

// Upper bound for the padding loop, in case a width function reports 0 for blanks.
constexpr int kMaxPadding = 1000;

}  // namespace

TSGrid::TSGrid(UserPort& port, std::shared_ptr<const TableEnvironment> env) : m_port(port)
{
    SetEnvironment(std::move(env));
    ResizeCells();
}

TSGrid::~TSGrid() = default;

void TSGrid::SetEnvironment(std::shared_ptr<const TableEnvironment> env)
{
    m_env = env ? std::move(env) : std::make_shared<const TableEnvironment>();
}

void TSGrid::Notify(GridChange change)
{
    if (m_onChange)
        m_onChange(change);
}

void TSGrid::Wait(int milliseconds, bool processMessages)
{
    m_port.Wait(milliseconds, processMessages);
}

// ---- Shape ----

void TSGrid::ResizeCells()
{
    m_cells.resize(static_cast<size_t>(m_colCount));
    for (auto& column : m_cells)
        column.resize(static_cast<size_t>(m_rowCount));
    m_colWidths.resize(static_cast<size_t>(m_colCount), m_defaultColWidth);
}

void TSGrid::SetColCount(int count)
{
    count = std::max(1, count);
    if (count == m_colCount)
        return;
    m_colCount = count;
    ResizeCells();
    m_col = std::clamp(m_col, std::min(1, m_colCount - 1), m_colCount - 1);
    Notify(GridChange::Layout);
}

void TSGrid::SetRowCount(int count)
{
    count = std::max(1, count);
    if (count == m_rowCount)
        return;
    m_rowCount = count;
    ResizeCells();
    m_row = std::clamp(m_row, std::min(1, m_rowCount - 1), m_rowCount - 1);
    Notify(GridChange::Layout);
}

QString TSGrid::Cells(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        return {};
    return m_cells[static_cast<size_t>(col)][static_cast<size_t>(row)];
}

void TSGrid::SetTitles(const QStringList& titles)
{
    for (int col = 0; col < titles.size() && col < m_colCount; ++col)
        SetCell(col, 0, titles[col]);
}

void TSGrid::SetDefaultColWidth(int width)
{
    m_defaultColWidth = width;
    std::fill(m_colWidths.begin(), m_colWidths.end(), width);
    Notify(GridChange::Layout);
}

void TSGrid::SetDefaultRowHeight(int height)
{
    m_defaultRowHeight = std::max(1, height);
    m_titleRowHeight = m_defaultRowHeight;
    Notify(GridChange::Layout);
}

void TSGrid::SetGridLineWidth(int width)
{
    m_gridLineWidth = std::max(0, width);
    Notify(GridChange::Layout);
}

int TSGrid::ColWidth(int col) const
{
    if (col < 0 || col >= m_colCount)
        return m_defaultColWidth;
    return m_colWidths[static_cast<size_t>(col)];
}

void TSGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= m_colCount)
        return;
    m_colWidths[static_cast<size_t>(col)] = width;
    Notify(GridChange::Layout);
}

int TSGrid::RowHeight(int row) const
{
    return row == 0 ? m_titleRowHeight : m_defaultRowHeight;
}

void TSGrid::SetOptions(unsigned options)
{
    m_options = options;
    Notify(GridChange::Layout);
}

void TSGrid::SetSelection(int col, int row)
{
    col = std::clamp(col, 0, m_colCount - 1);
    row = std::clamp(row, 0, m_rowCount - 1);
    if (col == m_col && row == m_row)
        return;
    m_col = col;
    m_row = row;
    Notify(GridChange::Selection);
}

int TSGrid::VisibleCapacity() const
{
    const int pitch = HorizontalLines() ? m_defaultRowHeight + m_gridLineWidth : m_defaultRowHeight;
    return pitch > 0 ? m_clientHeight / pitch : 0;
}

void TSGrid::SetTextWidth(TextWidthFn fn)
{
    m_textWidth = std::move(fn);
}

int TSGrid::TextWidth(const QString& text) const
{
    if (m_textWidth)
        return m_textWidth(text);
    return 7 * static_cast<int>(text.size());
}

void TSGrid::NotifyVScroll()
{
    if (OnVScroll)
        OnVScroll(*this);
}

void TSGrid::NotifyHScroll()
{
    if (OnHScroll)
        OnHScroll(*this);
}

// Rows never drop below the title row plus one, whatever the height the view offers.
int TSGrid::FittingRows() const
{
    return std::max(2, std::min(VisibleCapacity(), RecordCount() + 1));
}

int TSGrid::RowLimit() const
{
    return std::max(2, VisibleCapacity());
}

void TSGrid::Resize(int clientHeight)
{
    m_clientHeight = std::max(0, clientHeight);
    const int capacity = VisibleCapacity();
    int moved = 0;
    const int lastFitting = std::max(1, capacity - 1);
    if (m_row > lastFitting) {
        moved = m_row - lastFitting;
        m_row = lastFitting;
    }
    SetRowCount(FittingRows());
    m_visibleDataRows = m_lines.isEmpty() ? 0 : m_rowCount - 1;

    const int pitch = HorizontalLines() ? m_defaultRowHeight + m_gridLineWidth : m_defaultRowHeight;
    m_titleRowHeight = std::max(0, m_clientHeight - (capacity - 1) * pitch);

    const int count = RecordCount();
    if (m_rowCount < capacity) {
        const int current = CurrentRecord();
        m_windowTop = 0;
        m_row = std::clamp(current + 1, 1, m_rowCount - 1);
    } else if (m_rowCount == capacity && m_windowTop + m_rowCount - 1 > count) {
        const int newTop = std::max(0, count - m_rowCount + 1);
        m_row = std::clamp(m_row + (m_windowTop - newTop), 1, m_rowCount - 1);
        m_windowTop = newTop;
    }
    ScrollBy(moved);
    Notify(GridChange::Layout);
    if (OnResize)
        OnResize(*this);
}

// ---- Alignment ----

int TSGrid::ColumnAlignment(int col)
{
    while (m_alignments.size() < m_colCount)
        m_alignments.append(kLeft);
    if (col < 0 || col >= m_alignments.size())
        return 0;
    const QString& a = m_alignments[col];
    if (a == kRight)
        return 1;
    if (a == kCenter)
        return 2;
    return 0;
}

void TSGrid::SetColumnAlignment(int col, int alignment)
{
    while (m_alignments.size() < std::max(m_colCount, col + 1))
        m_alignments.append(kLeft);
    if (col < 0)
        return;
    m_alignments[col] = alignment == 1 ? kRight : alignment == 2 ? kCenter : kLeft;
    Notify(GridChange::Cells);
}

// ---- Cells ----

bool TSGrid::IsPriceCol(int col) const
{
    return col == PriceCol1 || col == PriceCol2 || col == PriceCol3;
}

void TSGrid::SetCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        return;
    QString& cell = m_cells[static_cast<size_t>(col)][static_cast<size_t>(row)];
    if (m_lines.isEmpty() && row >= 1) {
        cell = text;
        Notify(GridChange::Cells);
        return;
    }
    QString shown = text;
    const bool priceCell = row >= 1 && col >= 1 && IsPriceCol(col) && !text.isEmpty();
    if (m_writeThrough && row >= 1 && col >= 1) {
        QString stored = text;
        long double value = 0;
        if (priceCell && TryStrToFloat(text, &value))
            stored = FormatFloat(QStringLiteral("0.00000"), value);
        const int record = m_windowTop + row - 1;
        if (record >= RecordCount()) {
            m_port.SetBusy(false);
            return;
        }
        // The whole text is stored, however long the line gets: cutting it would lose
        // what the user typed.
        const QString& old = m_lines[record];
        QString line;
        line.reserve(old.size() + stored.size() + m_colCount);
        for (int k = 1; k < m_colCount; ++k) {
            if (k == col)
                line.append(stored);
            else
                line.append(recordline::CellView(old, k));
            line.append(QLatin1Char('\t'));
        }
        m_lines[record] = line;
    }
    if (priceCell) {
        long double value = 0;
        if (TryStrToFloat(text, &value))
            shown = FormatFloat(QStringLiteral("0.00"), value);
    }
    if (col >= 2 && ColumnAlignment(col) == 1) {
        const int limit = ColWidth(col) - TextWidth(QStringLiteral("8"));
        for (int i = 0; i < kMaxPadding && TextWidth(shown) <= limit; ++i)
            shown.prepend(QLatin1Char(' '));
    }
    cell = shown;
    if (m_quiet == 0)
        Notify(GridChange::Cells);
}

// ---- Records ----

QString TSGrid::RecordLine(int record) const
{
    if (record < 0 || record >= RecordCount())
        return {};
    return m_lines[record];
}

void TSGrid::SetRecordLine(int record, const QString& line)
{
    if (record < 0 || record >= RecordCount())
        return;
    m_lines[record] = line;
    m_modified = true;
    if (record >= m_windowTop && record < m_windowTop + m_visibleDataRows) {
        m_writeThrough = false;
        ++m_quiet;
        PutLineInRow(record - m_windowTop + 1, line);
        --m_quiet;
        m_writeThrough = true;
        Notify(GridChange::Cells);
    }
}

void TSGrid::SetLines(QStringList lines)
{
    m_lines = std::move(lines);
    FillAfterLoad();
}

void TSGrid::FillAfterLoad()
{
    SetRowCount(FittingRows());
    m_visibleDataRows = m_lines.isEmpty() ? 0 : m_rowCount - 1;
    m_windowTop = 0;
    if (m_lines.isEmpty())
        ClearRow(1);
    else
        RefreshRows();
    m_col = std::min(1, m_colCount - 1);
    m_row = 1;
    Notify(GridChange::Layout);
    Notify(GridChange::Selection);
}

void TSGrid::ClearRow(int row)
{
    const bool was = m_writeThrough;
    m_writeThrough = false;
    ++m_quiet;
    for (int col = 0; col < m_colCount; ++col)
        SetCell(col, row, QString());
    --m_quiet;
    m_writeThrough = was;
    Notify(GridChange::Cells);
}

void TSGrid::PutLineInRow(int row, const QString& line)
{
    for (int col = 1; col < m_colCount; ++col)
        SetCell(col, row, recordline::Cell(line, col));
    if (IndicatorOf)
        m_cells[0][static_cast<size_t>(row)] = IndicatorOf(line);
}

void TSGrid::RefreshRows()
{
    m_writeThrough = false;
    ++m_quiet;
    const int count = RecordCount();
    for (int row = 1; row < m_rowCount; ++row) {
        const int record = m_windowTop + row - 1;
        if (record < count) {
            PutLineInRow(row, m_lines[record]);
        } else if (count > 0) {
            for (int col = IndicatorOf ? 0 : 1; col < m_colCount; ++col)
                m_cells[static_cast<size_t>(col)][static_cast<size_t>(row)].clear();
        }
    }
    --m_quiet;
    m_writeThrough = true;
    Notify(GridChange::Cells);
}

int TSGrid::CurrentRecord() const
{
    return std::max(0, m_windowTop + m_row - 1);
}

void TSGrid::AccessError()
{
    m_port.SetBusy(false);
    m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim Zugriff auf Daten!"), Buttons::Ok,
                   QStringLiteral("Fehler"));
}

QString TSGrid::GetRecordCell(int col, int record)
{
    if (col == 0 || m_lines.isEmpty())
        return {};
    if (record >= RecordCount()) {
        m_port.SetBusy(false);
        m_port.Message(
            MsgKind::Plain,
            QStringLiteral("Index-Überlauf(2): %1 > %2 !").arg(record + 1).arg(RecordCount()));
        return {};
    }
    if (record < 0 || col < 0) {
        AccessError();
        return {};
    }
    return recordline::Cell(m_lines[record], col);
}

void TSGrid::SetRecordCell(int col, int record, const QString& text)
{
    if (m_lines.isEmpty() || col == 0)
        return;
    if (record >= RecordCount()) {
        m_port.SetBusy(false);
        m_port.Message(
            MsgKind::Plain,
            QStringLiteral("Index-Überlauf(1): %1 > %2 !").arg(record + 1).arg(RecordCount()));
        return;
    }
    if (record < 0 || col < 0) {
        AccessError();
        return;
    }
    if (!recordline::ReplaceCell(m_lines[record], col, text))
        return;
    m_modified = true;
    if (record >= m_windowTop && record < m_windowTop + m_visibleDataRows && col < m_colCount) {
        m_writeThrough = false;
        SetCell(col, record - m_windowTop + 1, text);
        m_writeThrough = true;
    }
}

int TSGrid::ScrollBy(int delta)
{
    const int oldTop = m_windowTop;
    if (delta < 0) {
        const int newTop = std::max(0, oldTop + delta);
        m_row = std::max(m_row + delta + (oldTop - newTop), 1);
        m_windowTop = newTop;
    } else if (delta > 0) {
        const int lastVisible = oldTop + m_visibleDataRows - 1;
        if (lastVisible < RecordCount() - 1) {
            const int newTop =
                std::max(oldTop, std::min(RecordCount() - m_rowCount + 1, oldTop + delta));
            m_row = std::min(m_row + delta - (newTop - oldTop), m_rowCount - 1);
            m_windowTop = newTop;
        } else {
            m_row = std::min(m_row + delta, m_rowCount - 1);
        }
    }
    m_row = std::clamp(m_row, std::min(1, m_rowCount - 1), m_rowCount - 1);
    RefreshRows();
    Notify(GridChange::Selection);
    return CurrentRecord();
}

int TSGrid::GotoRecord(int col, int record)
{
    const int count = RecordCount();
    col = std::clamp(col, 1, std::max(1, m_colCount - 1));
    if (count == 0) {
        m_col = std::min(col, m_colCount - 1);
        Notify(GridChange::Selection);
        return m_windowTop;
    }
    record = std::clamp(record, 0, count - 1);
    const int dataRows = std::max(1, m_rowCount - 1);
    if (record < m_windowTop)
        m_windowTop = record;
    else if (record >= m_windowTop + dataRows)
        m_windowTop = record - dataRows + 1;
    m_windowTop = std::clamp(m_windowTop, 0, std::max(0, count - dataRows));
    m_row = record - m_windowTop + 1;
    m_col = std::min(col, m_colCount - 1);
    RefreshRows();
    Notify(GridChange::Selection);
    return m_windowTop;
}

int TSGrid::GotoRecordAtTop(int col, int record)
{
    const int count = RecordCount();
    if (count > 0) {
        const int dataRows = std::max(1, m_rowCount - 1);
        m_windowTop = std::clamp(record, 0, std::max(0, count - dataRows));
    }
    return GotoRecord(col, record);
}

int TSGrid::AddRecord(int tabs)
{
    const int dataCols = m_colCount - 1;
    m_lines.append(QString(std::max(dataCols, tabs), QLatin1Char('\t')));
    if (RecordCount() == 1) {
        SetRowCount(2);
        m_windowTop = 0;
    } else {
        SetRowCount(std::min(m_rowCount + 1, RowLimit()));
        m_windowTop = std::max(0, RecordCount() - m_rowCount + 1);
    }
    m_visibleDataRows = m_rowCount - 1;
    RefreshRows();
    m_col = std::min(1, m_colCount - 1);
    m_row = m_rowCount - 1;
    Notify(GridChange::Layout);
    Notify(GridChange::Selection);
    return RecordCount() - 1;
}

int TSGrid::InsertRecord(int record)
{
    record = std::clamp(record, 0, RecordCount());
    m_lines.insert(record, QString(m_colCount - 1, QLatin1Char('\t')));
    if (RecordCount() == 1) {
        SetRowCount(2);
        m_windowTop = 0;
    } else {
        SetRowCount(std::min(m_rowCount + 1, RowLimit()));
    }
    m_visibleDataRows = m_rowCount - 1;
    Notify(GridChange::Layout);
    return GotoRecord(1, record);
}

void TSGrid::DeleteRecord(int record)
{
    if (m_lines.isEmpty())
        return;
    if (record >= RecordCount()) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Plain, QStringLiteral("Index-Fehler(3)!"));
        return;
    }
    if (record < 0) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim Löschen von Datensätzen!"),
                       Buttons::Ok, QStringLiteral("Fehler"));
        return;
    }
    m_lines.removeAt(record);
    const int count = RecordCount();
    if (count < m_rowCount - 1)
        SetRowCount(std::max(count + 1, 2));
    m_visibleDataRows = count == 0 ? 0 : m_rowCount - 1;
    if (count > 0) {
        if (CurrentRecord() > count - 1)
            m_row = m_rowCount - 1;
        if (m_windowTop + m_rowCount - 1 >= count + 1)
            m_windowTop = std::max(0, m_windowTop - 1);
        m_row = std::clamp(m_row, 1, m_rowCount - 1);
        RefreshRows();
    } else {
        m_windowTop = 0;
        ClearRow(1);
    }
    Notify(GridChange::Layout);
    Notify(GridChange::Selection);
}

void TSGrid::DeleteRecordQuiet(int record)
{
    if (m_lines.isEmpty())
        return;
    if (record >= RecordCount() || record < 0) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Plain, QStringLiteral("Index-Fehler(4)"));
        return;
    }
    m_lines.removeAt(record);
}

void TSGrid::ClearTable()
{
    m_lines.clear();
    m_modified = false;
    SetRowCount(11);
    const QString blank(m_colCount, QLatin1Char('\t'));
    for (int i = 0; i < 10; ++i)
        m_lines.append(blank);
    m_windowTop = 0;
    m_visibleDataRows = 10;
    RefreshRows();
    m_col = std::min(1, m_colCount - 1);
    m_row = 1;
    Notify(GridChange::Layout);
    Notify(GridChange::Selection);
}

// ---- Searches ----

int TSGrid::FindConcat(const QString& text) const
{
    for (int i = 0; i < RecordCount(); ++i) {
        if (recordline::Concat(m_lines[i], m_colCount - 1) == text)
            return i;
    }
    return -1;
}

int TSGrid::FindContains(const QString& text, int col) const
{
    for (int i = RecordCount() - 1; i >= 0; --i) {
        if (recordline::CellView(m_lines[i], col).contains(text))
            return i;
    }
    return -1;
}

int TSGrid::FindExact(const QString& text, int col) const
{
    for (int i = RecordCount() - 1; i >= 0; --i) {
        if (recordline::CellView(m_lines[i], col) == text)
            return i;
    }
    return -1;
}

bool TSGrid::FindSorted(const QString& line, int& position) const
{
    bool found = false;
    position = recordline::FindSorted(m_lines, line, &found);
    return found;
}

void TSGrid::PadRecord(int tabs, int record)
{
    if (record >= RecordCount() || record < 0) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Plain, QStringLiteral("Index-Fehler(5)!"));
        return;
    }
    recordline::PadTabs(m_lines[record], tabs);
}

int TSGrid::CountTabs(int record)
{
    if (m_lines.isEmpty())
        return 0;
    if (record >= RecordCount() || record < 0) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Plain, QStringLiteral("Index-Fehler(5)!"));
        return 0;
    }
    return recordline::CountTabs(m_lines[record]);
}
