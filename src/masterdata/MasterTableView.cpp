#include "masterdata/MasterTableView.h"
#include "table/RecordLine.h"

int RecordLinesView::FindSorted(const QString& text) const
{
    return recordline::FindSorted(m_lines, text);
}

QString RecordLinesView::Cell(int record, int col) const
{
    if (record < 0 || record >= m_lines.size())
        return {};
    return recordline::Cell(m_lines.at(record), col);
}

QString EditDlgCaption(EditMode mode)
{
    switch (mode) {
        case EditMode::Insert:
            return QStringLiteral("Neuer Datensatz");
        case EditMode::Edit:
            return QStringLiteral("Datensatz bearbeiten");
        case EditMode::Patient:
            return QStringLiteral("Patienten einfügen");
    }
    return {};
}
