#include "cards/CardGridKeys.h"

#include "common/NumberFormat.h"

namespace card {

namespace {

bool IsPrintable(const QString& text)
{
    return !text.isEmpty() && text.at(0).isPrint();
}

GridAnswer Handled()
{
    GridAnswer a;
    a.handled = true;
    return a;
}

}  // namespace

CardGridKeys::CardGridKeys(CardEntryForm& form, const KeyValueSettings* options, QString dataFolder)
    : m_form(form), m_options(options), m_dataFolder(std::move(dataFolder))
{
}

QString CardGridKeys::Cell(int col, int row) const
{
    const Rows& rows = m_form.GetRows();
    if (row < 0 || row >= int(rows.size()))
        return {};
    return rows[size_t(row)].Cell(col);
}

void CardGridKeys::MoveTo(int col, int row, GridAnswer& answer)
{
    m_form.LeaveCell();
    m_form.SetCurrentCell(col, qMax(0, row));
    answer.showCard = true;
    answer.handled = true;
}

void CardGridKeys::OpenEditor(const QString& text, int cursor, bool selectAll, GridAnswer& answer)
{
    answer.editor = GridAnswer::Open;
    answer.editorText = text;
    answer.editorCursor = cursor;
    answer.selectAll = selectAll;
}

// Ctrl+Left and Ctrl+Right show the card before or after this one.
bool CardGridKeys::Browse(int key, GridAnswer& answer)
{
    if (key != Qt::Key_Left && key != Qt::Key_Right)
        return false;
    answer.browse = key == Qt::Key_Left ? GridAnswer::PreviousCard : GridAnswer::NextCard;
    answer.handled = true;
    return true;
}

GridAnswer CardGridKeys::MacroKey(QChar key, bool endEdit)
{
    GridAnswer a = Handled();
    a.endEdit = endEdit;
    m_form.MacroKey(key, m_options, m_dataFolder);
    a.showCard = true;
    return a;
}

bool CardGridKeys::FollowSelection(const GridState& grid)
{
    if (!grid.cardOpen || grid.editing)
        return false;
    const int col = qMax(1, grid.col);
    if (col == m_form.CurrentCol() && grid.row == m_form.CurrentRow())
        return false;
    m_form.LeaveCell();
    m_form.SetCurrentCell(col, grid.row);
    return true;
}

void CardGridKeys::EditorEdited(int col, int row, const QString& text)
{
    Rows& rows = m_form.GetRows();
    if (row < 0 || row >= int(rows.size()))
        return;
    // Nothing grows beyond what the save keeps (the editor refuses it already).
    const int limit = CardEntryForm::TypedLimit(col);
    if (limit > 0 && text.size() > qMax(qsizetype(limit), rows[size_t(row)].Cell(col).size()))
        return;
    rows[size_t(row)].SetCell(col, text);
    m_form.SetModified(true);
}

GridAnswer CardGridKeys::AreaKey(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                                 const GridState& grid)
{
    if (!grid.cardOpen || (modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return {};
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        GridAnswer a = Handled();
        a.showCard = FollowSelection(grid);
        if (!m_form.IsCellEditable(m_form.CurrentCol(), m_form.CurrentRow()))
            return a;
        m_editOriginal = Cell(m_form.CurrentCol(), m_form.CurrentRow());
        OpenEditor(m_editOriginal, int(m_editOriginal.size()), false, a);
        a.replay =
            EditorKey::Of(key == Qt::Key_Backspace ? EditorKey::Backspace : EditorKey::Delete);
        return a;
    }
    if (!IsPrintable(text))
        return {};
    const bool moved = FollowSelection(grid);
    if (m_form.MacroMode())
        return MacroKey(text.at(0), false);
    GridAnswer a = Handled();
    a.showCard = moved;
    const int row = m_form.CurrentRow();
    if (!m_form.IsCellEditable(m_form.CurrentCol(), row))
        return a;
    m_editOriginal = Cell(m_form.CurrentCol(), row);
    // Typing starts the editor with the form's answer to the first key.
    const KeyDecision d = m_form.KeyPress(QString(), 0, EditorKey::Char(text.at(0)));
    a.showRow = row;
    if (d.bookingRequested)
        a.bookingRow = row;
    else if (d.accepted)
        OpenEditor(d.text, d.cursor, false, a);
    else
        a.showCard = true;
    return a;
}

GridAnswer CardGridKeys::GridKey(int key, Qt::KeyboardModifiers modifiers, const GridState& grid)
{
    // A key the cell editor let pass (a lone Shift) is not a grid key.
    if (grid.editing)
        return Handled();
    GridAnswer a;
    a.dropEditor = true;
    if (!grid.cardOpen)
        return a;
    if (modifiers & Qt::ControlModifier) {
        if (Browse(key, a))
            return a;
        switch (key) {
            case Qt::Key_D: {
                FollowSelection(grid);
                const QString cell = Cell(m_form.CurrentCol(), m_form.CurrentRow());
                m_form.KeyPress(cell, int(cell.size()), EditorKey::Of(EditorKey::Today));
                a.showCard = true;
                a.handled = true;
                return a;
            }
            default:
                return a;
        }
    }
    a.showCard = FollowSelection(grid);
    const int col = m_form.CurrentCol();
    const int row = m_form.CurrentRow();
    switch (key) {
        case Qt::Key_Down:
            // Down on the last line appends a blank one; elsewhere the view moves.
            if (row >= int(m_form.GetRows().size()) - 1)
                MoveTo(col, row + 1, a);
            return a;
        case Qt::Key_Tab:
            if (col < kColumnCount)
                MoveTo(col + 1, row, a);
            else
                MoveTo(kColDate, row + 1, a);
            return a;
        case Qt::Key_Backtab:
            a.handled = true;
            if (col > kColDate)
                MoveTo(col - 1, row, a);
            else if (row > 0)
                MoveTo(kColumnCount, row - 1, a);
            return a;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2: {
            a.handled = true;
            if (modifiers & Qt::ShiftModifier) {
                MoveTo(kColDate, row + 1, a);
                return a;
            }
            if (!m_form.IsCellEditable(col, row))
                return a;
            m_editOriginal = Cell(col, row);
            QString cell = m_editOriginal;
            // An amount is edited as shown; a trailing blank marks a text that stays as it is.
            long double amount = 0;
            if (col == kColAmount && TryStrToFloat(cell, &amount) &&
                !cell.endsWith(QLatin1Char(' ')))
                cell = FormatFloat(QStringLiteral("0.00"), amount);
            OpenEditor(cell, int(cell.size()), true, a);
            return a;
        }
        default:
            return a;
    }
}

GridAnswer CardGridKeys::EditorKeyPress(int key, Qt::KeyboardModifiers modifiers,
                                        const QString& text, const EditorState& editor)
{
    GridAnswer a;
    switch (key) {
        case Qt::Key_Escape: {
            // The form took every key: the cell goes back to what it held.
            const int row = m_form.CurrentRow();
            if (row < int(m_form.GetRows().size()))
                m_form.GetRows()[size_t(row)].SetCell(m_form.CurrentCol(), m_editOriginal);
            a.showRow = row;
            a.dropEditor = true;
            return a;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (modifiers & Qt::ShiftModifier) {
                a.endEdit = true;
                MoveTo(kColDate, m_form.CurrentRow() + 1, a);
                return a;
            }
            a.dropEditor = true;  // the view commits
            return a;
        case Qt::Key_Backspace:
            return RunEditorKey(EditorKey::Of(EditorKey::Backspace), editor);
        case Qt::Key_Delete:
            return RunEditorKey(EditorKey::Of(EditorKey::Delete), editor);
        default:
            break;
    }
    if (modifiers & Qt::ControlModifier) {
        if (Browse(key, a))
            return a;
        switch (key) {
            case Qt::Key_D:
                return RunEditorKey(EditorKey::Of(EditorKey::Today), editor);
            case Qt::Key_C:
                return RunEditorKey(EditorKey::Of(EditorKey::Copy), editor);
            case Qt::Key_V:
                return RunEditorKey(EditorKey::Of(EditorKey::Paste), editor);
            case Qt::Key_X:
                return RunEditorKey(EditorKey::Of(EditorKey::Cut), editor);
            case Qt::Key_Z:
                return RunEditorKey(EditorKey::Of(EditorKey::Undo), editor);
            default:
                return a;
        }
    }
    if (!IsPrintable(text) || (modifiers & Qt::AltModifier))
        return a;
    if (m_form.MacroMode())
        return MacroKey(text.at(0), true);
    return RunEditorKey(EditorKey::Char(text.at(0)), editor);
}

GridAnswer CardGridKeys::RunEditorKey(const EditorKey& key, const EditorState& editor)
{
    const int row = m_form.CurrentRow();
    const QString& before = editor.text;
    const bool erase = key.kind == EditorKey::Backspace || key.kind == EditorKey::Delete;
    KeyDecision d;
    if (editor.selectionLength > 0 && (erase || key.kind == EditorKey::Character)) {
        const int start = editor.selectionStart;
        const int length = editor.selectionLength;
        if (erase) {
            // Every erased character passes the rules: a locked line refuses them.
            d = KeyDecision{true, before, start + length, false};
            for (int i = 0; i < length && d.accepted; ++i)
                d = m_form.KeyPress(d.text, d.cursor, EditorKey::Of(EditorKey::Backspace));
        } else {
            const QString rest = QString(before).remove(start, length);
            d = m_form.KeyPress(rest, start, key);
            if (!d.accepted && d.text == rest)
                d = KeyDecision{false, before, editor.cursor, false};
        }
    } else {
        d = m_form.KeyPress(before, editor.cursor, key);
    }
    const bool clipboard = key.kind == EditorKey::Copy || key.kind == EditorKey::Paste ||
                           key.kind == EditorKey::Cut || key.kind == EditorKey::Undo;
    // An accepted clipboard key that leaves the text alone is the editor's to carry out.
    if (clipboard && d.accepted && d.text == before)
        return {};
    GridAnswer a = Handled();
    a.editor = d.text != before ? GridAnswer::SetText : GridAnswer::SetCursor;
    a.editorText = d.text;
    a.editorCursor = d.cursor;
    a.showRow = row;
    if (d.bookingRequested)
        a.bookingRow = row;
    return a;
}

}  // namespace card
