// The card grid's keys and cell editor: every key goes to the card's grid keys, which answer
// with the steps to show; the grid view shows the entry form's rows.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "cards/CardGridKeys.h"
#include "cards/CardWorkspace.h"
#include "cards/ui/KarteiPanel.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

void KarteiPanel::ShowRow(int row)
{
    const card::Rows& rows = Form().GetRows();
    if (row >= 0 && row < int(rows.size()) && row < m_grid->RecordCount())
        m_grid->SetRecordLine(row, card::LineFromRow(rows[size_t(row)]));
}

void KarteiPanel::ShowCard()
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

card::GridState KarteiPanel::GridNow() const
{
    return {m_cardOpen, m_view->Editing(), m_grid->Col(), m_grid->CurrentRecord()};
}

card::EditorState KarteiPanel::EditorNow() const
{
    const QLineEdit& e = *m_editor;
    if (!e.hasSelectedText())
        return {e.text(), e.cursorPosition(), 0, 0};
    return {e.text(), e.cursorPosition(), e.selectionStart(), int(e.selectedText().size())};
}

bool KarteiPanel::Apply(const card::GridAnswer& a)
{
    if (a.endEdit)
        EndEdit();
    if (a.dropEditor)
        m_editor = nullptr;
    switch (a.browse) {
        case card::GridAnswer::PreviousCard:
            PreviousCard();
            return a.handled;
        case card::GridAnswer::NextCard:
            NextCard();
            return a.handled;
        case card::GridAnswer::Stay:
            break;
    }
    if (a.showCard)
        ShowCard();
    switch (a.editor) {
        case card::GridAnswer::Open:
            BeginEdit(a.editorText, a.editorCursor, a.selectAll);
            break;
        case card::GridAnswer::SetText:
            m_editor->setText(a.editorText);
            m_editor->setCursorPosition(a.editorCursor);
            break;
        case card::GridAnswer::SetCursor:
            m_editor->setCursorPosition(a.editorCursor);
            break;
        case card::GridAnswer::Keep:
            break;
    }
    if (a.replay)
        RunEditorKey(*a.replay);
    if (a.showRow >= 0) {
        ShowRow(a.showRow);
        CheckBookingPending();
    }
    if (a.bookingRow >= 0) {
        EndEdit();
        ShowCard();
        RunBooking(a.bookingRow, true);
    }
    return a.handled;
}

// The grid's selection moved (keys, clicks): the form leaves its cell for the new one.
void KarteiPanel::SyncCell()
{
    if (m_keys->FollowSelection(GridNow()))
        ShowCard();
}

void KarteiPanel::EndEdit()
{
    if (m_view->Editing())
        m_view->CommitEdit();
    m_editor = nullptr;
}

bool KarteiPanel::TakeEditedCell()
{
    if (!m_cardOpen)
        return false;
    EndEdit();
    SyncCell();
    return true;
}

void KarteiPanel::BeginEdit(const QString& text, int cursor, bool selectAll)
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
    // A paste stops where the save would cut; a longer stored text stays whole.
    const int limit = card::CardEntryForm::TypedLimit(Form().CurrentCol());
    editor->setMaxLength(limit > 0 ? qMax(limit, int(text.size())) : 32767);
    editor->setText(text);
    editor->setCursorPosition(cursor);
    if (selectAll)
        editor->selectAll();
    editor->installEventFilter(this);
    const int col = Form().CurrentCol();
    const int row = Form().CurrentRow();
    // Paste, cut and undo are done by the editor itself; the cell follows.
    connect(editor, &QLineEdit::textEdited, this, [this, editor, col, row](const QString& now) {
        if (editor == m_editor)
            m_keys->EditorEdited(col, row, now);
    });
}

// A key for the editor just opened; false when there is none to take it.
bool KarteiPanel::RunEditorKey(const card::EditorKey& key)
{
    if (!m_editor)
        return false;
    return Apply(m_keys->RunEditorKey(key, EditorNow()));
}

bool KarteiPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_editor && watched == m_editor.data())
            return Apply(
                m_keys->EditorKeyPress(key->key(), key->modifiers(), key->text(), EditorNow()));
        if (watched == m_view->Area() && !m_view->Editing())
            return Apply(m_keys->AreaKey(key->key(), key->modifiers(), key->text(), GridNow()));
    } else if (event->type() == QEvent::MouseButtonPress && watched == m_view->Area()) {
        // The view selects the clicked cell after this; the form leaves its cell then.
        QTimer::singleShot(0, this, [this] { SyncCell(); });
    }
    return QWidget::eventFilter(watched, event);
}
