#include "texts/ui/TNotizDlg.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "common/UserPort.h"
#include "masterdata/ui/TEditDlg.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/qt/QtPrintDialogPort.h"
#include "settings/IniFile.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"
#include "texts/TMakroDlgForm.h"
#include "texts/ui/TMakroDlg.h"

bool DesktopDocumentOpener::Open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopDocumentOpener::OpenWith(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

TNotizDlg::TNotizDlg(TNotizDlgForm& form, const NotesDialogContext& context, QWidget* parent)
    : QDialog(parent), m_form(form), m_context(context)
{
    setObjectName(QStringLiteral("TNotizDlg"));
    setWindowTitle(TNotizDlgForm::Caption());
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(820, 560);
    auto* layout = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    auto* name = new QLabel(form.Header(), this);
    name->setObjectName(QStringLiteral("KundeLabel"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    head->addWidget(name, 1);
    auto* number = new QLabel(QStringLiteral("Kunden-Nr.: ") + form.CustomerNumber(), this);
    number->setObjectName(QStringLiteral("KdNrLabel"));
    head->addWidget(number);
    layout->addLayout(head);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(4);
    bar->addWidget(AddButton(QStringLiteral("NeuBtn"), QStringLiteral("Neu"), [this] {
        TEditDlgRunner runner(this);
        m_form.NewPatient(runner);
    }));
    bar->addWidget(AddButton(QStringLiteral("NotizSucheBtn"), QStringLiteral("Suchen"), [this] {
        QString term;
        if (m_context.port->InputText(QStringLiteral("Suchen nach..."),
                                      QStringLiteral("Suchbegriff:"), term))
            m_form.Search(term);
    }));
    bar->addWidget(AddButton(QStringLiteral("DokumentBtn"),
                             QStringLiteral("Externe  Dokumente einbinden"),
                             [this] { InsertDocument(); }));

    QPushButton* favorites =
        AddButton(QStringLiteral("FavoritenBtn"), QStringLiteral("Favoriten"), {});
    m_favoritesMenu = new QMenu(favorites);
    favorites->setMenu(m_favoritesMenu);
    bar->addWidget(favorites);

    QPushButton* clip =
        AddButton(QStringLiteral("ZwischenablageBtn"), QStringLiteral("Zwischenablage"), {});
    auto* clipMenu = new QMenu(clip);
    clipMenu->addAction(QStringLiteral("Absatz kopieren"), this,
                        [this] { m_form.CopyParagraph(); });
    clipMenu->addAction(QStringLiteral("Absatz ausschneiden..."), this,
                        [this] { m_form.CutParagraph(); });
    clipMenu->addAction(QStringLiteral("Patient ausschneiden..."), this,
                        [this] { m_form.CutPatient(); });
    clipMenu->addAction(QStringLiteral("Einfügen"), this, [this] { m_form.Paste(); });
    clipMenu->addSeparator();
    clipMenu->addAction(QStringLiteral("Zwischenablage drucken"), this, [this] {
        TMemoSeiteEinrichtenDlgForm layout(*m_context.layouts);
        layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
        QtPrintDialogPort dialog(*m_context.canvas, this);
        m_form.PrintClipboard(*m_context.printer, layout, dialog);
    });
    clip->setMenu(clipMenu);
    bar->addWidget(clip);

    bar->addWidget(AddButton(QStringLiteral("DruckenBtn"), QStringLiteral("Drucken"), [this] {
        TMemoSeiteEinrichtenDlgForm layout(*m_context.layouts);
        layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
        QtPrintDialogPort dialog(*m_context.canvas, this);
        m_form.PrintNotes(*m_context.printer, layout, dialog);
    }));
    bar->addStretch();
    if (NotesHandOver* target = m_context.handOver) {
        bar->addWidget(
            AddButton(QStringLiteral("UebergabeBtn"), target->ButtonCaption(), [this, target] {
                m_view->CommitEdit();
                m_form.HandOver(*target);
                if (target->ClosesNotes())
                    accept();
            }));
    }
    bar->addWidget(AddButton(QStringLiteral("SchliessenBtn"), QStringLiteral("Schließen"),
                             [this] { accept(); }));
    layout->addLayout(bar);

    TSGrid& grid = form.Notes();
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goEditing);
    m_view = new TSGridView(grid, this);
    m_view->setObjectName(QStringLiteral("NotizGrid"));
    m_view->KeyHook = [this](int key, Qt::KeyboardModifiers mods) { return GridKey(key, mods); };
    m_view->Area()->installEventFilter(this);
    connect(m_view, &TSGridView::cellDoubleClicked, this, &TNotizDlg::CellDoubleClicked);
    layout->addWidget(m_view, 1);

    auto* hints = new QHBoxLayout;
    hints->addWidget(new QLabel(
        QStringLiteral("Strg+D Datum   Strg+Einfg Zeile einfügen   Strg+Entf Zeile löschen   "
                       "Strg+M Makro   Doppelklick auf @Datei öffnet das Dokument"),
        this));
    hints->addStretch();
    m_macroLabel = new QLabel(QStringLiteral("Makro"), this);
    m_macroLabel->setObjectName(QStringLiteral("MakroLabel"));
    m_macroLabel->hide();
    hints->addWidget(m_macroLabel);
    layout->addLayout(hints);

    RebuildFavorites();

    // The stored size, centred over the main window; maximised when it was.
    const TNotizDlgForm::Placement placement = TNotizDlgForm::ReadPlacement(*m_context.ini);
    if (placement.bounds.width() > 0 && placement.bounds.height() > 0)
        resize(placement.bounds.size());
    const QRect around =
        parent ? parent->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
    move(around.center() - rect().center());
    if (placement.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_view->setFocus();
}

TNotizDlg::~TNotizDlg()
{
    // The view goes before the grid it shows; its area must not reach the filter above
    // while the view is half destroyed.
    m_view->Area()->removeEventFilter(this);
    delete m_view;
}

QPushButton* TNotizDlg::Button(const QString& name) const
{
    return m_buttons.value(name);
}

QPushButton* TNotizDlg::AddButton(const QString& name, const QString& text,
                                  std::function<void()> run)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (run) {
        connect(button, &QPushButton::clicked, this, [this, run = std::move(run)] {
            m_view->CommitEdit();
            run();
            m_view->SyncScrollBar();
            m_view->setFocus();
        });
    }
    m_buttons.insert(name, button);
    return button;
}

bool TNotizDlg::GridKey(int key, Qt::KeyboardModifiers mods)
{
    const bool ctrl = mods & Qt::ControlModifier;
    if (ctrl && key == Qt::Key_D) {
        m_form.InsertDate();
        return true;
    }
    if (ctrl && key == Qt::Key_Insert) {
        m_form.InsertRow();
        return true;
    }
    if (ctrl && key == Qt::Key_Delete) {
        m_form.DeleteRow();
        return true;
    }
    if (ctrl && key == Qt::Key_M) {
        m_form.StartMacro();
        m_macroLabel->show();
        return true;
    }
    if (key == Qt::Key_Down && !ctrl)
        m_form.AppendRowIfLast();
    return false;
}

bool TNotizDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->Area() && event->type() == QEvent::Resize)
        LayOutColumns();
    // The key after Ctrl+M is a macro letter, never typed into the cell.
    if (watched == m_view->Area() && event->type() == QEvent::KeyPress && m_form.MacroMode()) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && text[0].isPrint()) {
            TSGrid& grid = m_form.Notes();
            const int record = grid.CurrentRecord();
            if (const std::optional<QString> macro = m_form.MacroKey(text[0]);
                macro && record < grid.RecordCount()) {
                const int col = grid.Col();
                grid.SetRecordCell(col, record,
                                   recordline::Cell(grid.RecordLine(record), col) + *macro);
            }
            m_macroLabel->hide();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TNotizDlg::LayOutColumns()
{
    TSGrid& grid = m_form.Notes();
    const int date = std::max(78, fontMetrics().horizontalAdvance(QStringLiteral("88.88.8888  ")));
    grid.SetColWidth(0, 0);
    grid.SetColWidth(1, date);
    grid.SetColWidth(3, date);
    // The text takes what the date and the short column leave.
    const int rest = m_view->Area()->width() - 2 * date - 4 * grid.GridLineWidth();
    grid.SetColWidth(2, std::max(100, rest));
    grid.SetColumnAlignment(3, 1);
}

void TNotizDlg::RebuildFavorites()
{
    m_favoritesMenu->clear();
    QAction* add = m_favoritesMenu->addAction(QStringLiteral("Absatz zu Favoriten hinzufügen..."),
                                              this, [this] {
                                                  m_view->CommitEdit();
                                                  if (m_form.AddFavorite(*this))
                                                      RebuildFavorites();
                                              });
    add->setObjectName(QStringLiteral("FavoritHinzuItem"));
    add->setEnabled(bool(m_context.askFavoriteName));
    m_favoritesMenu->addSeparator();
    const QStringList names = m_form.FavoriteNames();
    if (names.isEmpty())
        m_favoritesMenu->addAction(QStringLiteral("(Favoriten leer)"))->setEnabled(false);
    for (const QString& name : names) {
        m_favoritesMenu->addAction(name, this, [this, name] {
            m_view->CommitEdit();
            m_form.InsertFavorite(name);
            m_view->SyncScrollBar();
        });
    }
    m_favoritesMenu->addSeparator();
    m_favoritesMenu->addAction(QStringLiteral("Favoriten verwalten..."), this,
                               [this] { ManageFavorites(); });
}

std::optional<QString> TNotizDlg::AskName(const Check& check)
{
    return m_context.askFavoriteName(this, check);
}

void TNotizDlg::ManageFavorites()
{
    TMakroDlgForm form(TMakroDlgForm::Mode::Favorites, *m_context.port);
    form.LoadFavorites(m_form.FavoriteNames());
    TMakroDlg dialog(form, this);
    if (dialog.exec() == QDialog::Accepted) {
        m_form.KeepFavorites(form.FavoriteNames());
        RebuildFavorites();
    }
}

void TNotizDlg::InsertDocument()
{
    const QString chosen = m_context.port->ChooseOpenFile(
        QStringLiteral("Externe Dokumente einbinden"), m_form.LinkStartFolder(),
        QStringLiteral("Alle Dateien (*)"));
    m_form.InsertLink(chosen);
}

void TNotizDlg::CellDoubleClicked(int col, int row)
{
    TSGrid& grid = m_form.Notes();
    const QString cell = grid.Cells(col, row);
    if (!notes::LinkOf(cell)) {
        m_view->BeginEdit();
        return;
    }
    DocumentOpener& opener = m_context.opener ? *m_context.opener : m_desktop;
    m_form.OpenLink(cell, opener);
}

void TNotizDlg::done(int result)
{
    m_view->CommitEdit();
    m_form.Close();
    TNotizDlgForm::Placement placement;
    const QRect shown = isMaximized() ? normalGeometry() : geometry();
    placement.bounds = shown;
    placement.maximised = isMaximized();
    TNotizDlgForm::WritePlacement(*m_context.ini, placement);
    QDialog::done(result);
}

void RunNotesDialog(const NotesDialogContext& context, const QString& customerLine, QWidget* parent)
{
    TNotizDlgForm form(*context.port, *context.clock, *context.ini, context.setup,
                       *context.clipboard);
    form.Open(customerLine);
    TNotizDlg dialog(form, context, parent);
    dialog.exec();
}
