#pragma once

#include <QtCore/qnamespace.h>
#include <QString>
#include <optional>

#include "cards/CardEntryForm.h"

class KeyValueSettings;

namespace card {

// The card grid as a key or click finds it: a card shown, the cell editor open, and the
// grid's selected cell (column 1..8, row as a record index).
struct GridState {
    bool cardOpen = false;
    bool editing = false;
    int col = kColDate;
    int row = 0;
};

// The open cell editor: its text, cursor and selection.
struct EditorState {
    QString text;
    int cursor = 0;
    int selectionStart = 0;
    int selectionLength = 0;  // 0: nothing selected
};

// What the grid binding does after a key, step by step in the order of the fields.
struct GridAnswer {
    enum Browse { Stay, PreviousCard, NextCard };
    enum Editor { Keep, Open, SetCursor, SetText };

    bool handled = false;     // false: the grid view or its editor acts on the key itself
    bool endEdit = false;     // the open editor is committed first
    bool dropEditor = false;  // the view ends the edit on its own (commit or cancel)
    Browse browse = Stay;     // another card is shown; the panel ends the edit for it
    bool showCard = false;    // the grid shows the form's rows again
    Editor editor = Keep;     // Open: starts the editor on the current cell
    QString editorText;
    int editorCursor = 0;
    bool selectAll = false;
    std::optional<EditorKey> replay;  // a key for the editor just opened
    int showRow = -1;                 // a row whose cells changed
    int bookingRow = -1;              // the booking of a freshly marked line opens
};

// The keys of the card grid: what Tab, Enter, Down, Escape, the Ctrl keys, erasing and typing
// do at the current cell, with or without the cell editor open. Every cell change goes
// through the entry form's rules; the cell is given back on Escape.
class CardGridKeys {
public:
    // `options` null: there is no options file (macro keys report it).
    CardGridKeys(CardEntryForm& form, const KeyValueSettings* options, QString dataFolder);

    // A key on the grid before the grid view sees it: typing and erasing start the editor.
    GridAnswer AreaKey(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                       const GridState& grid);
    // A key the grid view is about to handle (moves, Enter, Ctrl keys), also one the open
    // editor hands on after committing.
    GridAnswer GridKey(int key, Qt::KeyboardModifiers modifiers, const GridState& grid);
    // A key of the open cell editor.
    GridAnswer EditorKeyPress(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                              const EditorState& editor);
    // An editor key through the entry rules; a selection is erased or typed over.
    GridAnswer RunEditorKey(const EditorKey& key, const EditorState& editor);

    // The grid's selection moved (keys, clicks): the form leaves its cell for the selected
    // one. True when the card is to be shown again.
    bool FollowSelection(const GridState& grid);
    // The editor changed its text on its own (paste, cut, undo): the cell follows.
    void EditorEdited(int col, int row, const QString& text);

private:
    QString Cell(int col, int row) const;
    void MoveTo(int col, int row, GridAnswer& answer);
    void OpenEditor(const QString& text, int cursor, bool selectAll, GridAnswer& answer);
    static bool Browse(int key, GridAnswer& answer);
    GridAnswer MacroKey(QChar key, bool endEdit);

    CardEntryForm& m_form;
    const KeyValueSettings* m_options;
    QString m_dataFolder;
    QString m_editOriginal;  // the cell before the edit, for Escape
};

}  // namespace card
