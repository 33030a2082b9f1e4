#pragma once

#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QObject>
#include <functional>
#include <optional>

#include "common/FormField.h"

// Carries a line edit's text, cursor and selection to its form field and back, so the
// form judges each key on exactly what the person sees.
inline void ReadCursor(const QLineEdit& edit, FormField& field)
{
    field.cursor = edit.cursorPosition();
    if (edit.hasSelectedText()) {
        field.selStart = edit.selectionStart();
        field.selLength = int(edit.selectedText().size());
    } else {
        field.selStart = field.cursor;
        field.selLength = 0;
    }
}

inline void ReadEdit(const QLineEdit& edit, FormField& field)
{
    field.text = edit.text();
    ReadCursor(edit, field);
}

inline void WriteEdit(QLineEdit& edit, const FormField& field)
{
    if (edit.text() != field.text)
        edit.setText(field.text);
    if (field.selLength > 0)
        edit.setSelection(field.selStart, field.selLength);
    else
        edit.setCursorPosition(field.cursor);
}

// Shows a field's text and whether it may be edited; a read-only field is greyed.
inline void ShowField(QLineEdit& edit, const FormField& field)
{
    if (edit.text() != field.text)
        edit.setText(field.text);
    if (edit.isReadOnly() == field.readOnly)
        return;
    edit.setReadOnly(field.readOnly);
    edit.setStyleSheet(field.readOnly ? QStringLiteral("background: #e0e0e0") : QString());
}

// The character a key gives the form: Backspace as kKeyBackspace, a printable character as
// itself. Shortcuts (copy and paste) and navigation, Enter and Escape stay with the widget.
inline std::optional<QChar> FormKey(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Backspace)
        return kKeyBackspace;
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return std::nullopt;
    if (key.text().size() == 1 && key.text().at(0).unicode() >= 32)
        return key.text().at(0);
    return std::nullopt;
}

// A message box or a popup list takes the focus for a moment; that is no leaving.
inline bool LeavesField(const QFocusEvent& event)
{
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

// The binding of a dialog's line edits to its form, so that the dialog only builds its
// widgets: each key goes to the form, text the widget changed on its own (paste, a list
// choice) goes through the form's rules, leaving a field runs its leaving rule, and the
// edits show what the form holds.
class FormBinding : public QObject {
public:
    explicit FormBinding(FormBase& form, QObject* parent = nullptr);

    // focusWidget is the widget that is left (a combo box around its editor); by default
    // the editor itself.
    void Bind(int id, QLineEdit* editor, QWidget* focusWidget = nullptr);

    QLineEdit* Editor(int id) const { return m_editors.value(id); }
    QWidget* FocusWidget(int id) const { return m_focusWidgets.value(id); }
    const QHash<int, QLineEdit*>& Editors() const { return m_editors; }
    // The field whose widget holds the focus, or a widget inside it; -1 when none.
    int FocusedField() const;

    void CopyToForm(int id);
    void CopyAllToForm();
    void CopyFromForm(int id);
    // Every edit shows its field's text and read-only state.
    void ShowFields();
    // Focuses the field the form asks for, with the caret and selection it holds.
    void ApplyFocusRequest();
    // What happens when the person leaves a field unless onLeave says otherwise: the
    // form's leaving rule, and its focus request when the field keeps the focus.
    void LeaveField(int id);

    // The form changed through a key, a pasted text or a leaving rule: show it.
    std::function<void()> onChanged;
    // The dialog's own keys on a field (true: handled, the form does not see them).
    std::function<bool(int id, QEvent* event)> onEvent;
    // Replaces LeaveField.
    std::function<void(int id)> onLeave;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleKey(int id, const QKeyEvent& key);
    void Changed();

    FormBase& m_form;
    QHash<int, QLineEdit*> m_editors;
    QHash<int, QWidget*> m_focusWidgets;
    QHash<QObject*, int> m_ids;
    bool m_showing = false;  // edits changed by the binding itself are no input
};
