// Insert, edit and delete of the master tables and the quantity fields of the main window.
#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include "common/qt/FormBinding.h"
#include "masterdata/ui/TEditDlg.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"

#include "masterdata/ui/MasterListPrinting.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

enum Operation { kInsert, kDelete, kEdit };

struct RecordItem {
    const char* menuText;
    const char* menuName;
    const char* buttonText;
    const char* buttonName;
};

// Menu order as the Bearbeiten menu always had it. The buttons' mnemonics keep clear of
// the menu bar's (Alt+B is the Bearbeiten menu).
const RecordItem kRecordItems[] = {
    {"Datensatz &einfügen", "EinfuegenItem", "&Neu", "EinfuegenBtn"},
    {"Datensatz &löschen", "LoeschenItem", "&Löschen", "LoeschenBtn"},
    {"Datensatz &bearbeiten...", "BearbeitenItem", "Bearbei&ten...", "BearbeitenBtn"},
};

bool IsMasterWorkspace(Workspace w)
{
    return w == Workspace::Medikamente || w == Workspace::Leistungen || w == Workspace::Kunden;
}

MasterTable TableOf(Workspace w)
{
    return w == Workspace::Leistungen ? MasterTable::Service
           : w == Workspace::Kunden   ? MasterTable::Customer
                                      : MasterTable::Medication;
}

}  // namespace

void TForm1MasterHooks::SetScrollBarMaximum(int maximum)
{
    TSGridView* view = View(m_grid);
    view->SyncScrollBar();
    view->ScrollBar()->setMaximum(maximum);
}

void TForm1MasterHooks::ResetQuantities()
{
    m_quantities.Reset();
    for (int i = 0; i < 2; ++i) {
        if (m_edits[i])
            m_edits[i]->setText(m_quantities.Text(QuantityFields::Which(i)));
    }
}

void TForm1MasterHooks::RefreshCustomerDisplay()
{
    TSGridView* view = View(MasterTable::Customer);
    view->SyncScrollBar();
    view->Area()->update();
}

int TForm1MasterHooks::GridRows() const
{
    return View(m_grid)->Grid().RowCount();
}

void TForm1MasterHooks::BindQuantity(QLineEdit* edit, QuantityFields::Which which)
{
    m_edits[which] = edit;
    edit->installEventFilter(this);
}

void TForm1MasterHooks::TrackFillColumns()
{
    for (int i = 0; i < 3; ++i) {
        const auto which = MasterTable(i);
        TSGridView* view = View(which);
        view->Area()->installEventFilter(this);
        connect(view, &TSGridView::columnResized, this, [this, which](int col, int width) {
            if (col == FillColumn(which))
                m_fillBase[int(which)] = width;
            Fill(which);
        });
    }
}

void TForm1MasterHooks::SetFillBase(MasterTable which)
{
    m_fillBase[int(which)] = View(which)->Grid().ColWidth(FillColumn(which));
    Fill(which);
}

void TForm1MasterHooks::Fill(MasterTable which)
{
    TSGridView* view = View(which);
    WidenToFill(view->Grid(), FillColumn(which), m_fillBase[int(which)], view->Area()->width());
}

int TForm1MasterHooks::StoredWidth(MasterTable which, int col) const
{
    return col == FillColumn(which) ? m_fillBase[int(which)] : View(which)->Grid().ColWidth(col);
}

bool TForm1MasterHooks::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        for (int i = 0; i < 3; ++i) {
            if (watched == View(MasterTable(i))->Area())
                Fill(MasterTable(i));
        }
    }
    for (int i = 0; i < 2; ++i) {
        QLineEdit* edit = m_edits[i];
        if (watched != edit)
            continue;
        const auto which = QuantityFields::Which(i);
        FormField& field = m_quantities.Field(which);
        if (event->type() == QEvent::FocusOut) {
            field.text = edit->text();
            m_quantities.Leave(which);
            edit->setText(field.text);
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            // Navigation and shortcuts are the line edit's; typed characters are the rule's.
            if (key->key() != Qt::Key_Backspace &&
                (text.isEmpty() || !text.at(0).isPrint() ||
                 (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))))
                return false;
            ReadEdit(*edit, field);
            const QChar ch = key->key() == Qt::Key_Backspace ? kKeyBackspace : text.at(0);
            if (m_quantities.KeyPress(which, ch))
                WriteEdit(*edit, field);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TForm1::BuildRecordMenu(QMenu* edit)
{
    for (int op = 0; op < 3; ++op) {
        const RecordItem& item = kRecordItems[op];
        QAction* a = edit->addAction(QString::fromUtf8(item.menuText));
        a->setObjectName(QString::fromLatin1(item.menuName));
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this, op] { RunMasterRecord(op); });
        m_recordActions.append(a);
    }
    edit->addAction(QStringLiteral("&Sortieren"))->setEnabled(false);
}

void TForm1::BuildMasterControls()
{
    m_masterHooks = std::make_unique<TForm1MasterHooks>(
        std::array<TSGridView*, 3>{m_views[0], m_views[1], m_views[2]});
    m_masterHooks->BindQuantity(m_mengeMed, QuantityFields::Medication);
    m_masterHooks->BindQuantity(m_mengeLeistung, QuantityFields::Service);
    m_masterHooks->TrackFillColumns();

    // A button row under the grids of both panels.
    for (QWidget* panel : {m_hauptPanel, m_kundePanel}) {
        auto* layout = qobject_cast<QBoxLayout*>(panel->layout());
        if (!layout)
            continue;
        auto* row = new QHBoxLayout();
        row->addStretch();
        for (int op : {kInsert, kEdit, kDelete}) {
            const RecordItem& item = kRecordItems[op];
            auto* button = new QPushButton(QString::fromUtf8(item.buttonText), panel);
            button->setObjectName(QString::fromLatin1(item.buttonName));
            button->setFocusPolicy(Qt::NoFocus);  // the focus stays in the search or grid
            connect(button, &QPushButton::clicked, this, [this, op] { RunMasterRecord(op); });
            row->addWidget(button);
        }
        layout->addLayout(row);
    }
}

void TForm1::SyncMasterActions()
{
    const bool on = IsMasterWorkspace(m_switcher.Active());
    for (QAction* a : m_recordActions)
        a->setEnabled(on);
    // The text editor prints its letter and has its page layout; no preview or export. The
    // record card prints through its own button and has the page layout of its documents.
    const bool text = m_switcher.Active() == Workspace::Text;
    const bool card = m_switcher.Active() == Workspace::Kartei;
    // The dispensing record prints itself and has its page layout.
    const bool record = m_switcher.Active() == Workspace::Abgabe;
    for (QAction* a : m_printActions) {
        const auto mode = ListPrintMode(a->data().toInt());
        a->setEnabled(on || ((text || record) && mode == ListPrintMode::Print) ||
                      (record && mode == ListPrintMode::PageSetup) ||
                      ((text || card) && mode == ListPrintMode::PageSetup));
    }
}

bool TForm1::InsertRecord()
{
    return RunMasterRecord(kInsert);
}

bool TForm1::EditRecord()
{
    return RunMasterRecord(kEdit);
}

bool TForm1::DeleteRecord()
{
    return RunMasterRecord(kDelete);
}

bool TForm1::RunMasterRecord(int operation)
{
    const Workspace active = m_switcher.Active();
    if (!IsMasterWorkspace(active))
        return false;
    const MasterTable table = TableOf(active);
    TSGrid& grid = Grid(table);
    TSGridView* view = View(table);
    m_masterHooks->SetGrid(table);
    TEditDlgRunner dialog(this);
    MasterRecords records({m_port, dialog, *m_masterHooks, m_clock, m_startUp.DataFolder(),
                           &m_startUp.Ini(), PriceSettingsFromOptions(m_startUp.Options()),
                           active == Workspace::Medikamente});
    bool done = false;
    switch (operation) {
        case kInsert:
            done = records.InsertRecord(table, grid);
            break;
        case kEdit:
            done = records.EditRecord(table, grid);
            break;
        default:
            done = records.DeleteRecord(table, grid);
            break;
    }
    if (done && table == MasterTable::Medication)
        SetMasterTitles(grid, MasterTable::Medication);  // the feed note follows rows 1 and 10
    view->SyncScrollBar();
    view->Area()->update();
    view->setFocus();
    return done;
}
