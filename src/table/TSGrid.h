#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "common/UserPort.h"
#include "table/TableEnvironment.h"

// What changed, for the view that draws the grid.
enum class GridChange {
    Cells,      // visible cell texts
    Layout,     // row or column count, widths, heights, options
    Selection,  // selected column or row
};

// Grid options (bit flags) as the forms set them.
enum GridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goEditing = 1u << 4,
    goTabs = 1u << 5,
    goRowSelect = 1u << 6,
    goColSizing = 1u << 7,  // column widths can be dragged on the title row
};

// The table grid: a table of record lines (cells separated and ended by TAB, files in code
// page 1252 with CR LF) and the window of it that a grid view shows. Grid column 0 is the
// fixed indicator column and is never stored; grid row 0 is the title row. Records are
// addressed by index from 0, cells by grid column from 1.
//
// Only the visible window is kept as cells; the records stay raw lines and are split on
// demand. The view (a Qt widget) draws Cells(col, row) with ColWidth/RowHeight, forwards
// edits to SetCell, clicks to SetSelection, its client height to Resize, and repaints on
// the change callback.
class TSGrid {
public:
    static constexpr int kDefaultColWidth = 70;
    static constexpr int kDefaultRowHeight = 20;
    static constexpr int kGridLineWidth = 1;
    static inline const QString kKopfMarker = QStringLiteral("---KOPF---");

    explicit TSGrid(UserPort& port, std::shared_ptr<const TableEnvironment> env = {});
    ~TSGrid();
    TSGrid(const TSGrid&) = delete;
    TSGrid& operator=(const TSGrid&) = delete;

    void SetEnvironment(std::shared_ptr<const TableEnvironment> env);
    const TableEnvironment& Environment() const { return *m_env; }
    std::shared_ptr<const TableEnvironment> SharedEnvironment() const { return m_env; }
    UserPort& Port() const { return m_port; }

    // ---- Grid shape (what the view draws) ----

    // Column count including the indicator column 0; a table has ColCount() - 1 data columns.
    int ColCount() const { return m_colCount; }
    void SetColCount(int count);
    // Row count including the title row.
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int count);
    // The visible cell as shown (prices as "0.00", right-aligned columns padded).
    QString Cells(int col, int row) const;
    QString GetCell(int col, int row) const { return Cells(col, row); }
    // Sets a visible cell; with write-through on, a data row also rewrites its record line.
    // Row 0 holds the titles, which the owners set here.
    void SetCell(int col, int row, const QString& text);
    void SetTitles(const QStringList& titles);  // titles for columns 0, 1, ...

    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int width);  // resets every column to it
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);
    int GridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int width);
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    // Row 0 gets the height that makes the rows fill the client height (see Resize).
    int RowHeight(int row) const;
    unsigned Options() const { return m_options; }
    void SetOptions(unsigned options);
    bool HorizontalLines() const { return (m_options & goHorzLine) != 0; }

    // Selection (grid column, grid row).
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    void SetSelection(int col, int row);
    void SetCol(int col) { SetSelection(col, m_row); }
    void SetRow(int row) { SetSelection(m_col, row); }

    // Client height the view offers, and the rows that fit in it (title row included).
    int ClientHeight() const { return m_clientHeight; }
    int VisibleCapacity() const;
    // The view was resized: recomputes row count, title row height, window and selection,
    // then fires OnResize.
    void Resize(int clientHeight);

    // Width of a text in the grid's font, used to pad right-aligned columns. The default
    // is a fixed metric of 7 units per character.
    using TextWidthFn = std::function<int(const QString&)>;
    void SetTextWidth(TextWidthFn fn);
    int TextWidth(const QString& text) const;

    // Change notifications for the view.
    using ChangeFn = std::function<void(GridChange)>;
    void SetChangeHandler(ChangeFn fn) { m_onChange = std::move(fn); }
    // Notification events of the owners (sender only).
    std::function<void(TSGrid&)> OnVScroll;
    std::function<void(TSGrid&)> OnHScroll;
    std::function<void(TSGrid&)> OnResize;
    // The view calls these after it handled a scroll bar of its own.
    void NotifyVScroll();
    void NotifyHScroll();

    // ---- Properties ----

    bool WriteThrough() const { return m_writeThrough; }
    void SetWriteThrough(bool on) { m_writeThrough = on; }
    int PriceCol1 = 0;
    int PriceCol2 = 0;
    int PriceCol3 = 0;
    int PieceDecCol = 0;
    QString BackupFilePath;  // folder of the backup mirror; empty = no mirror
    // What the indicator column shows for a record line (derived, never stored); empty:
    // the column stays as the owner sets it.
    std::function<QString(const QString& line)> IndicatorOf;

    // Alignment list: "taLeftJustify", "taRightJustify" or "taCenter" per grid column.
    const QStringList& Alignments() const { return m_alignments; }
    int ColumnAlignment(int col);  // 0 left, 1 right, 2 centre
    void SetColumnAlignment(int col, int alignment);

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    int WindowTop() const { return m_windowTop; }
    int VisibleDataRows() const { return m_visibleDataRows; }

    // ---- Records ----

    int RecordCount() const { return static_cast<int>(m_lines.size()); }
    // The record lines themselves (read only); changes go through the operations below.
    const QStringList& Lines() const { return m_lines; }
    QString RecordLine(int record) const;
    // Replaces a whole record line by index (like SetRecordCell: sets the modified flag,
    // shows the line when it lies in the window). Out of range indices are ignored.
    void SetRecordLine(int record, const QString& line);
    // Replaces the whole record list (no save, modified flag untouched) and fills the rows
    // as after a load.
    void SetLines(QStringList lines);
    void FillAfterLoad();

    int CurrentRecord() const;
    QString GetRecordCell(int col, int record);
    void SetRecordCell(int col, int record, const QString& text);
    int ScrollBy(int delta);
    int GotoRecord(int col, int record);
    // Selects the record and scrolls it to the first data row, so that the records after it
    // show below it (as far as the table has them); returns the window top.
    int GotoRecordAtTop(int col, int record);
    void RefreshRows();
    int AddRecord(int tabs);
    int InsertRecord(int record);
    void DeleteRecord(int record);
    void DeleteRecordQuiet(int record);
    void ClearTable();
    int FindConcat(const QString& text) const;
    int FindContains(const QString& text, int col) const;
    int FindExact(const QString& text, int col) const;
    // Binary search of a whole line over lines sorted by the umlaut collation.
    bool FindSorted(const QString& line, int& position) const;
    int SortAll();
    int SortFrom(int position);
    void PadRecord(int tabs, int record);
    int CountTabs(int record);

    // ---- Files ----

    bool LoadTable(const QString& path);
    bool LoadJournal(const QString& path);
    bool LoadJournalDisplay(const QString& path);
    bool LoadJournalInMemory(const QString& path);
    bool LoadRegister(const QString& path);
    // Header lines out; `header` is also what a blank card is saved with.
    bool LoadCard(const QString& path, QStringList& header);
    // Return true when the file was written (a failure has been reported already). A file
    // that another workstation changed since this grid loaded or saved it is not simply
    // overwritten: the person chooses to reload it and apply this grid's change again, to
    // overwrite it, or not to save (cards: overwrite or not).
    bool SaveTable(const QString& path);
    bool SaveCard(const QString& path, const QStringList& header);
    // table::AppendChangeLine in this grid's environment.
    bool AppendChangeLine(const QString& path, const QString& line);
    // The volume holding the path answers; otherwise the message is shown once.
    bool CheckDriveReachable(const QString& path);
    bool RepairReadOnly(const QString& path);

    // Waits, keeping the user interface responsive when asked to.
    void Wait(int milliseconds, bool processMessages = true);

private:
    void Notify(GridChange change);
    int FittingRows() const;
    int RowLimit() const;
    bool IsPriceCol(int col) const;
    void AccessError();
    void ResizeCells();
    void PutLineInRow(int row, const QString& line);
    void ClearRow(int row);
    QString ReadForLoad(const QString& path, bool journal, const QString& failLine);
    bool SafeSave(const QString& path, const QString& tempExt, QStringList lines, bool card);
    // What the file held when this grid last read or wrote it.
    void RememberDisk(const QString& path, const QByteArray& data, const QStringList& lines);
    bool DiskChanged(const QString& target, QByteArray* now) const;
    enum class OnChanged { Reload, Overwrite, Cancel };
    OnChanged AskChanged(const QString& path, bool card);
    void FillNewBackupFolder(const QString& tableFolder, const QString& backupFolder);
    void Mirror(const QString& path, const QStringList& lines);
    bool MergeJournal();
    bool MergeRegister();
    int Sort(int fromPosition);

    UserPort& m_port;
    std::shared_ptr<const TableEnvironment> m_env;
    QStringList m_lines;
    QStringList m_alignments;
    std::vector<std::vector<QString>> m_cells;  // [col][row]
    std::vector<int> m_colWidths;
    int m_colCount = 5;
    int m_rowCount = 5;
    int m_defaultColWidth = kDefaultColWidth;
    int m_defaultRowHeight = kDefaultRowHeight;
    int m_gridLineWidth = kGridLineWidth;
    int m_titleRowHeight = kDefaultRowHeight;
    unsigned m_options =
        goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goEditing | goTabs;
    int m_col = 1;
    int m_row = 1;
    int m_clientHeight = 0;
    int m_windowTop = 0;
    int m_visibleDataRows = 0;
    bool m_writeThrough = true;
    bool m_modified = false;
    int m_quiet = 0;  // > 0 while rows are filled in bulk; one notification at the end
    struct DiskState {
        QString path;  // absolute; empty: nothing known
        qint64 size = -1;
        quint64 checksum = 0;
        QStringList lines;  // as read or written, the base of a change applied again
    } m_disk;
    TextWidthFn m_textWidth;
    ChangeFn m_onChange;
};
