#pragma once

#include <QLineEdit>

#include "masterdata/FormField.h"

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
