#pragma once

#include <QString>
#include <QStringList>

// Read access to a master table for the dialog's duplicate checks. The table grid
// implements it; RecordLinesView serves plain record lines.
class MasterTableView {
public:
    virtual ~MasterTableView() = default;
    virtual int RecordCount() const = 0;
    // Position of a text among the whole record lines (binary search, umlaut collation).
    virtual int FindSorted(const QString& text) const = 0;
    virtual QString Cell(int record, int col) const = 0;
};

class RecordLinesView : public MasterTableView {
public:
    explicit RecordLinesView(const QStringList& lines) : m_lines(lines) {}
    int RecordCount() const override { return int(m_lines.size()); }
    int FindSorted(const QString& text) const override;
    QString Cell(int record, int col) const override;

private:
    const QStringList& m_lines;
};

// Which dialog mode the record edit dialog was opened in.
enum class EditMode { Insert, Edit, Patient };

// The caption of the record edit dialog for a mode.
QString EditDlgCaption(EditMode mode);
