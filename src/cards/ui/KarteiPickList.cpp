#include "cards/ui/KarteiPickList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "common/NumberFormat.h"
#include "masterdata/MasterSearch.h"
#include "masterdata/QuantityFields.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

PickListModel::PickListModel(TSGrid& grid, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_columns(std::move(columns))
{
}

int PickListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.RecordCount();
}

int PickListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant PickListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_grid.RecordCount())
        return {};
    const Column& column = m_columns[index.column()];
    if (role == Qt::TextAlignmentRole && column.price)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const QString text = recordline::Cell(m_grid.RecordLine(index.row()), column.gridCol);
    long double value = 0;
    if (column.price && TryStrToFloat(text, &value))
        return FormatFloat(QStringLiteral("0.00"), value);
    return text;
}

QVariant PickListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    // A title too long for its column shows its beginning, not a cut-out middle.
    if (role == Qt::TextAlignmentRole)
        return int((m_columns[section].price ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return m_grid.Cells(m_columns[section].gridCol, 0);
}

void PickListModel::Reset()
{
    beginResetModel();
    endResetModel();
}

KarteiPickList::KarteiPickList(const QString& title, const QString& name, TSGrid& grid,
                               QList<PickListModel::Column> columns, QWidget* parent)
    : QWidget(parent), m_grid(grid)
{
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* row = new QHBoxLayout();
    auto* caption = new QLabel(title, this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    m_search = new QLineEdit(this);
    m_search->setObjectName(name + QStringLiteral("Suche"));
    m_search->setPlaceholderText(QStringLiteral("Suche < abc.. >"));
    m_quantity = new QLineEdit(QStringLiteral("1,00"), this);
    m_quantity->setObjectName(name + QStringLiteral("Menge"));
    m_quantity->setMaximumWidth(56);
    m_quantity->setToolTip(QStringLiteral("Menge (auch Bruch a/b)"));
    row->addWidget(caption);
    row->addWidget(m_search, 1);
    row->addWidget(new QLabel(QStringLiteral("Menge:"), this));
    row->addWidget(m_quantity);
    layout->addLayout(row);

    m_model = new PickListModel(grid, std::move(columns), this);
    m_view = new QTableView(this);
    m_view->setObjectName(name + QStringLiteral("Liste"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    FitColumns();
    m_view->setWordWrap(false);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    m_quantity->installEventFilter(this);
    layout->addWidget(m_view, 1);

    connect(m_view, &QTableView::doubleClicked, this, &KarteiPickList::takeOverRequested);
    connect(m_search, &QLineEdit::textChanged, this, &KarteiPickList::Search);
    connect(m_search, &QLineEdit::returnPressed, this, &KarteiPickList::takeOverRequested);
    connect(m_quantity, &QLineEdit::editingFinished, this,
            [this] { m_quantity->setText(QuantityFields::Normalised(m_quantity->text())); });
}

int KarteiPickList::SelectedRecord() const
{
    if (m_grid.RecordCount() == 0)
        return -1;
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? qMin(current.row(), m_grid.RecordCount() - 1) : 0;
}

void KarteiPickList::SelectRecord(int record)
{
    if (record < 0 || record >= m_grid.RecordCount())
        return;
    const QModelIndex index = m_model->index(record, 0);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index, QAbstractItemView::PositionAtTop);
}

// The name column takes what the others leave: they are only as wide as their title or,
// for prices, a five-digit amount needs.
void KarteiPickList::FitColumns()
{
    QHeaderView* header = m_view->horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int padding = 2 * metrics.horizontalAdvance(QLatin1Char('0'));
    for (int section = 1; section < m_model->columnCount(); ++section) {
        const QString title =
            m_model->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
        int width = metrics.horizontalAdvance(title);
        if (m_model->IsPrice(section))
            width = qMax(width, metrics.horizontalAdvance(QStringLiteral("99999,99")));
        header->setSectionResizeMode(section, QHeaderView::Interactive);
        header->resizeSection(section, width + padding);
    }
    FitNameColumn();
}

// The name column fills the list, but never gets narrower than its title: then the list
// scrolls sideways instead of cutting it.
void KarteiPickList::FitNameColumn()
{
    QHeaderView* header = m_view->horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QString title = m_model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
    const int least =
        metrics.horizontalAdvance(title) + 2 * metrics.horizontalAdvance(QLatin1Char('0'));
    int others = 0;
    for (int section = 1; section < m_model->columnCount(); ++section)
        others += header->sectionSize(section);
    header->setSectionResizeMode(0, QHeaderView::Interactive);
    header->resizeSection(0, qMax(least, m_view->viewport()->width() - others));
    // Beside the card the list asks for the room its titles need.
    const int scrollBar = m_view->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int needed = least + others + 2 * m_view->frameWidth() + scrollBar;
    if (needed != m_leastWidth) {
        m_leastWidth = needed;
        updateGeometry();
    }
}

QSize KarteiPickList::minimumSizeHint() const
{
    QSize hint = QWidget::minimumSizeHint();
    hint.setWidth(qMax(hint.width(), m_leastWidth));
    return hint;
}

void KarteiPickList::Reload()
{
    const int record = SelectedRecord();
    m_model->Reset();
    FitColumns();
    SelectRecord(qMax(record, 0));
}

// As the search of the master workspaces: a digit sets the quantity, letters find the name.
void KarteiPickList::Search(const QString& typed)
{
    const mastersearch::DigitSplit split = mastersearch::TakeQuantityDigits(typed);
    if (!split.quantity.isEmpty()) {
        m_quantity->setText(split.quantity);
        const QSignalBlocker block(m_search);
        m_search->setText(split.search);
        m_search->setCursorPosition(int(split.search.size()));
        return;
    }
    SelectRecord(mastersearch::FindByName(m_grid.Lines(), typed));
}

// The quantity takes the keys of the workspaces' quantity fields (numbers and a/b).
bool KarteiPickList::QuantityKey(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    FormField field;
    field.text = m_quantity->text();
    field.cursor = m_quantity->cursorPosition();
    if (m_quantity->hasSelectedText())
        field.Select(m_quantity->selectionStart(), int(m_quantity->selectedText().size()));
    const QChar key = QuantityFields::FilterKey(field, text.at(0));
    if (!key.isNull())
        m_quantity->insert(QString(key));
    return true;
}

bool KarteiPickList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_quantity && event->type() == QEvent::KeyPress)
        return QuantityKey(static_cast<QKeyEvent*>(event));
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        FitNameColumn();
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit takeOverRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
