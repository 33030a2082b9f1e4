// The card grid's keys and cell editor: every key goes through the entry form, which
// decides the cell text; the grid view shows the form's rows.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "cards/CardWorkspace.h"
#include "cards/ui/TKarteiPanel.h"
#include "common/NumberFormat.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

QString TKarteiPanel::Cell(int col, int row) const
{
    const card::Rows& rows = Form().GetRows();
    if (row < 0 || row >= int(rows.size()))
        return {};
    return rows[size_t(row)].Cell(col);
}

void TKarteiPanel::ShowRow(int row)
{
    const card::Rows& rows = Form().GetRows();
    if (row >= 0 && row < int(rows.size()) && row < m_grid->RecordCount())
        m_grid->SetRecordLine(row, card::LineFromRow(rows[size_t(row)]));
}

void TKarteiPanel::ShowCard()
{
    if (m_cardOpen) {
        const card::CardEntryForm& form = Form();
        const int top = m_grid->WindowTop();
        m_grid->SetLines(card::LinesFromRows(form.GetRows()));
        const int dataRows = qMax(1, m_grid->RowCount() - 1);
        m_grid->GotoRecord(1, qMin(top + dataRows - 1, m_grid->RecordCount() - 1));
        m_grid->GotoRecord(form.CurrentCol(), form.CurrentRow());
        m_view->SyncScrollBar();
    }
    ShowState();
}

void TKarteiPanel::MoveTo(int col, int row)
{
    Form().LeaveCell();
    Form().SetCurrentCell(col, qMax(0, row));
    ShowCard();
}

// The grid's selection moved (keys, clicks): the form leaves its cell for the new one.
void TKarteiPanel::SyncCell()
{
    if (!m_cardOpen || m_view->Editing())
        return;
    card::CardEntryForm& form = Form();
    const int row = m_grid->CurrentRecord();
    const int col = qMax(1, m_grid->Col());
    if (col == form.CurrentCol() && row == form.CurrentRow())
        return;
    form.LeaveCell();
    form.SetCurrentCell(col, row);
    ShowCard();
}

void TKarteiPanel::EndEdit()
{
    if (m_view->Editing())
        m_view->CommitEdit();
    m_editor = nullptr;
}

bool TKarteiPanel::TakeEditedCell()
{
    if (!m_cardOpen)
        return false;
    EndEdit();
    SyncCell();
    return true;
}

void TKarteiPanel::BeginEdit(const QString& text, int cursor, bool selectAll)
{
    m_view->BeginEdit();
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : m_view->Area()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        if (!e->isHidden())
            editor = e;
    }
    if (!editor)
        return;
    m_editor = editor;
    editor->setText(text);
    editor->setCursorPosition(cursor);
    if (selectAll)
        editor->selectAll();
    editor->installEventFilter(this);
    const int col = Form().CurrentCol();
    const int row = Form().CurrentRow();
    // Paste, cut and undo are done by the editor itself; the cell follows.
    connect(editor, &QLineEdit::textEdited, this, [this, editor, col, row](const QString& now) {
        card::Rows& rows = Form().GetRows();
        if (editor != m_editor || row >= int(rows.size()))
            return;
        rows[size_t(row)].SetCell(col, now);
        Form().SetModified(true);
    });
}

// A key for the open editor. False when the editor is to do it itself (an accepted paste).
bool TKarteiPanel::RunEditorKey(const card::EditorKey& key)
{
    QLineEdit* editor = m_editor;
    if (!editor)
        return false;
    card::CardEntryForm& form = Form();
    const int row = form.CurrentRow();
    const QString before = editor->text();
    const int beforeCursor = editor->cursorPosition();
    const bool erase =
        key.kind == card::EditorKey::Backspace || key.kind == card::EditorKey::Delete;
    card::KeyDecision d;
    if (editor->hasSelectedText() && (erase || key.kind == card::EditorKey::Character)) {
        const int start = editor->selectionStart();
        const int length = int(editor->selectedText().size());
        if (erase) {
            // Every erased character passes the rules: a locked line refuses them.
            d = card::KeyDecision{true, before, start + length, false};
            for (int i = 0; i < length && d.accepted; ++i)
                d = form.KeyPress(d.text, d.cursor,
                                  card::EditorKey::Of(card::EditorKey::Backspace));
        } else {
            const QString rest = QString(before).remove(start, length);
            d = form.KeyPress(rest, start, key);
            if (!d.accepted && d.text == rest)
                d = card::KeyDecision{false, before, beforeCursor, false};
        }
    } else {
        d = form.KeyPress(before, beforeCursor, key);
    }
    const bool clipboard = key.kind == card::EditorKey::Copy ||
                           key.kind == card::EditorKey::Paste || key.kind == card::EditorKey::Cut ||
                           key.kind == card::EditorKey::Undo;
    if (clipboard && d.accepted && d.text == before)
        return false;
    if (d.text != before)
        editor->setText(d.text);
    editor->setCursorPosition(d.cursor);
    ShowRow(row);
    CheckBookingPending();
    if (d.bookingRequested) {
        EndEdit();
        ShowCard();
        RunBooking(row, true);
    }
    return true;
}

bool TKarteiPanel::OnEditorKey(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    card::CardEntryForm& form = Form();
    switch (key) {
        case Qt::Key_Escape: {
            // The form took every key: the cell goes back to what it held.
            card::Rows& rows = form.GetRows();
            const int row = form.CurrentRow();
            if (row < int(rows.size()))
                rows[size_t(row)].SetCell(form.CurrentCol(), m_editOriginal);
            ShowRow(row);
            m_editor = nullptr;
            return false;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (mods & Qt::ShiftModifier) {
                EndEdit();
                MoveTo(card::kColDate, form.CurrentRow() + 1);
                return true;
            }
            m_editor = nullptr;
            return false;  // the view commits
        case Qt::Key_Backspace:
            return RunEditorKey(card::EditorKey::Of(card::EditorKey::Backspace));
        case Qt::Key_Delete:
            return RunEditorKey(card::EditorKey::Of(card::EditorKey::Delete));
        default:
            break;
    }
    if (mods & Qt::ControlModifier) {
        switch (key) {
            case Qt::Key_Left:
                PreviousCard();
                return true;
            case Qt::Key_Right:
                NextCard();
                return true;
            case Qt::Key_D:
                return RunEditorKey(card::EditorKey::Of(card::EditorKey::Today));
            case Qt::Key_C:
                return RunEditorKey(card::EditorKey::Of(card::EditorKey::Copy));
            case Qt::Key_V:
                return RunEditorKey(card::EditorKey::Of(card::EditorKey::Paste));
            case Qt::Key_X:
                return RunEditorKey(card::EditorKey::Of(card::EditorKey::Cut));
            case Qt::Key_Z:
                return RunEditorKey(card::EditorKey::Of(card::EditorKey::Undo));
            default:
                return false;
        }
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (mods & Qt::AltModifier))
        return false;
    if (form.MacroMode()) {
        EndEdit();
        form.MacroKey(text.at(0), m_setup.options, m_setup.dataFolder);
        ShowCard();
        return true;
    }
    return RunEditorKey(card::EditorKey::Char(text.at(0)));
}

// Keys on the grid while no cell is edited: typing starts the editor with the form's
// answer to the key.
bool TKarteiPanel::OnAreaKey(QKeyEvent* event)
{
    if (!m_cardOpen)
        return false;
    const int key = event->key();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    card::CardEntryForm& form = Form();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        SyncCell();
        if (!form.IsCellEditable(form.CurrentCol(), form.CurrentRow()))
            return true;
        const QString cell = Cell(form.CurrentCol(), form.CurrentRow());
        m_editOriginal = cell;
        BeginEdit(cell, int(cell.size()));
        RunEditorKey(card::EditorKey::Of(key == Qt::Key_Backspace ? card::EditorKey::Backspace
                                                                  : card::EditorKey::Delete));
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    SyncCell();
    if (form.MacroMode()) {
        form.MacroKey(text.at(0), m_setup.options, m_setup.dataFolder);
        ShowCard();
        return true;
    }
    const int row = form.CurrentRow();
    if (!form.IsCellEditable(form.CurrentCol(), row))
        return true;
    m_editOriginal = Cell(form.CurrentCol(), row);
    const card::KeyDecision d = form.KeyPress(QString(), 0, card::EditorKey::Char(text.at(0)));
    ShowRow(row);
    CheckBookingPending();
    if (d.bookingRequested) {
        ShowCard();
        RunBooking(row, true);
    } else if (d.accepted) {
        BeginEdit(d.text, d.cursor);
    } else {
        ShowCard();
    }
    return true;
}

bool TKarteiPanel::OnGridKey(int key, Qt::KeyboardModifiers modifiers)
{
    // A key the cell editor let pass (a lone Shift) is not a grid key.
    if (m_view->Editing())
        return true;
    m_editor = nullptr;
    if (!m_cardOpen)
        return false;
    card::CardEntryForm& form = Form();
    if (modifiers & Qt::ControlModifier) {
        switch (key) {
            case Qt::Key_Left:
                PreviousCard();
                return true;
            case Qt::Key_Right:
                NextCard();
                return true;
            case Qt::Key_D: {
                SyncCell();
                const QString cell = Cell(form.CurrentCol(), form.CurrentRow());
                form.KeyPress(cell, int(cell.size()), card::EditorKey::Of(card::EditorKey::Today));
                ShowCard();
                return true;
            }
            default:
                return false;
        }
    }
    SyncCell();
    const int col = form.CurrentCol();
    const int row = form.CurrentRow();
    switch (key) {
        case Qt::Key_Down:
            // Down on the last line appends a blank one.
            if (row < int(form.GetRows().size()) - 1)
                return false;
            MoveTo(col, row + 1);
            return true;
        case Qt::Key_Tab:
            if (col < card::kColumnCount)
                MoveTo(col + 1, row);
            else
                MoveTo(card::kColDate, row + 1);
            return true;
        case Qt::Key_Backtab:
            if (col > card::kColDate)
                MoveTo(col - 1, row);
            else if (row > 0)
                MoveTo(card::kColumnCount, row - 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2: {
            if (modifiers & Qt::ShiftModifier) {
                MoveTo(card::kColDate, row + 1);
                return true;
            }
            if (!form.IsCellEditable(col, row))
                return true;
            QString cell = Cell(col, row);
            m_editOriginal = cell;
            long double amount = 0;
            if (col == card::kColAmount && TryStrToFloat(cell, &amount) &&
                !cell.endsWith(QLatin1Char(' ')))
                cell = FormatFloat(QStringLiteral("0.00"), amount);
            BeginEdit(cell, int(cell.size()), true);
            return true;
        }
        default:
            return false;
    }
}

bool TKarteiPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_editor && watched == m_editor.data())
            return OnEditorKey(key);
        if (watched == m_view->Area() && !m_view->Editing())
            return OnAreaKey(key);
    } else if (event->type() == QEvent::MouseButtonPress && watched == m_view->Area()) {
        // The view selects the clicked cell after this; the form leaves its cell then.
        QTimer::singleShot(0, this, [this] { SyncCell(); });
    }
    return QWidget::eventFilter(watched, event);
}
