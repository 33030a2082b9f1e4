#pragma once

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
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
