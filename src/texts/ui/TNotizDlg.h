#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <optional>

#include "texts/TNotizDlgForm.h"

class Clock;
class IniFile;
class LayoutStore;
class QLabel;
class QMenu;
class QPushButton;
class QtPrintCanvas;
class TPrintGrid2;
class TSGridView;
class UserPort;

// Opens documents through the desktop: the link is handed over as a local file URL, so it
// is never run as a command; the open-with fallback shows the document's folder.
class DesktopDocumentOpener : public DocumentOpener {
public:
    bool Open(const QString& path) override;
    bool OpenWith(const QString& path) override;
};

// What the notes dialog works with, from the main window.
struct NotesDialogContext {
    UserPort* port = nullptr;
    const Clock* clock = nullptr;
    IniFile* ini = nullptr;
    NotesSetup setup;
    NotesClipboard* clipboard = nullptr;
    TPrintGrid2* printer = nullptr;  // the window's table printer
    QtPrintCanvas* canvas = nullptr;
    LayoutStore* layouts = nullptr;     // the text page layout of the print
    NotesHandOver* handOver = nullptr;  // who takes the marked cell; none: no button
    DocumentOpener* opener = nullptr;   // none: the desktop
    // The small edit dialog that asks a new favourite's name over `parent`; none: favourites
    // are inserted and managed, not added.
    std::function<std::optional<QString>(QWidget* parent, const FavoriteNameAsker::Check& check)>
        askFavoriteName;
};

// The notes dialog ("Patienten (Notizen, ...)"): binds TNotizDlgForm to a grid view, its
// buttons and menus, and keeps its placement in the options file. A new favourite's name is
// asked through the context over this dialog.
class TNotizDlg : public QDialog, private FavoriteNameAsker {
    Q_OBJECT
public:
    TNotizDlg(TNotizDlgForm& form, const NotesDialogContext& context, QWidget* parent = nullptr);
    ~TNotizDlg() override;

    TSGridView* GridView() const { return m_view; }
    QPushButton* Button(const QString& name) const;
    QMenu* FavoritesMenu() const { return m_favoritesMenu; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* AddButton(const QString& name, const QString& text, std::function<void()> run);
    bool GridKey(int key, Qt::KeyboardModifiers modifiers);
    void LayOutColumns();
    std::optional<QString> AskName(const Check& check) override;
    void RebuildFavorites();
    void ManageFavorites();
    void InsertDocument();
    void CellDoubleClicked(int col, int row);

    TNotizDlgForm& m_form;
    NotesDialogContext m_context;
    DesktopDocumentOpener m_desktop;
    TSGridView* m_view = nullptr;
    QMenu* m_favoritesMenu = nullptr;
    QLabel* m_macroLabel = nullptr;
    QHash<QString, QPushButton*> m_buttons;
};

// The notes of the customer in the record line, as a modal dialog.
void RunNotesDialog(const NotesDialogContext& context, const QString& customerLine,
                    QWidget* parent);
