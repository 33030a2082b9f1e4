// The main window's table font and the GoBD menu switch.

#include <QAction>
#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>

#include "settings/TableFont.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TForm1Master.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

QAction* TForm1::BuildTableFontMenu(QMenu* options)
{
    QMenu* sizes = options->addMenu(QStringLiteral("Tabellen-Schriftgröße"));
    sizes->setObjectName(QStringLiteral("TabFontMenu"));
    m_fontSizeGroup = new QActionGroup(this);
    m_fontSizeGroup->setExclusive(true);
    for (const int size : tablefont::MenuSizes()) {
        QAction* a = sizes->addAction(QString::number(size));
        a->setObjectName(QStringLiteral("TabFont%1").arg(size));
        a->setCheckable(true);
        a->setData(size);
        m_fontSizeGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, size] { ApplyTableFont(size); });
    }
    QAction* item = sizes->menuAction();
    item->setObjectName(QStringLiteral("TabFontItem"));
    item->setVisible(false);  // wide screens only; the show handler decides
    return item;
}

void TForm1::ApplyTableFont(int size)
{
    m_startUp.SetTableFontSize(size);
    size = m_startUp.TableFontSize();
    QFont font(tablefont::Family());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(size);
    const int rowHeight = tablefont::RowHeight(size);
    // Every grid of the window, also those of workspaces that add their own.
    for (TSGridView* view : findChildren<TSGridView*>())
        view->ApplyFont(font, rowHeight);
    // The master grids' narrow columns follow the titles in the new font.
    for (int i = 0; i < 3; ++i) {
        ApplyMasterGridFontSize(*m_grids[i], MasterTable(i), size);
        m_masterHooks->Fill(MasterTable(i));
        m_grids[i]->RefreshRows();
    }
    for (QLineEdit* quantity : {m_mengeMed, m_mengeLeistung}) {
        QFont f = quantity->font();
        f.setBold(tablefont::QuantityFieldsBold(size));
        quantity->setFont(f);
    }
    for (QAction* a : m_fontSizeGroup->actions())
        a->setChecked(a->data().toInt() == size);
    emit tableFontChanged(size);
}

void TForm1::BindGoBdItem()
{
    connect(m_goBdAction, &QAction::toggled, this, &TForm1::goBdRestrictionsChanged);
}

bool TForm1::GoBdRestrictions() const
{
    return m_goBdAction->isChecked();
}
