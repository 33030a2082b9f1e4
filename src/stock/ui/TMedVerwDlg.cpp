#include "stock/ui/TMedVerwDlg.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "stock/TMedVerwDlgForm.h"

namespace stock {

// The form's rows as the view sees them; edits go to the form.
class StockRowsModel : public QAbstractTableModel {
public:
    explicit StockRowsModel(TMedVerwDlgForm& form, QObject* parent)
        : QAbstractTableModel(parent), m_form(form)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_form.RowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : TMedVerwDlgForm::kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const int col = index.column() + 1;
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return m_form.Cell(col, index.row());
        if (role == Qt::TextAlignmentRole && col >= TMedVerwDlgForm::kColIn &&
            col <= TMedVerwDlgForm::kColStock)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole)
            return false;
        m_form.SetCell(index.column() + 1, index.row(), value.toString());
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (m_form.IsCellEditable(index.column() + 1, index.row()))
            f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return TMedVerwDlgForm::Titles().value(section + 1);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    // Tells the view what changed: the cells, and rows added or taken away at the end (a
    // new year shows all afresh).
    void Refresh(bool yearChanged)
    {
        const int rows = m_form.RowCount();
        if (yearChanged) {
            beginResetModel();
            m_rows = rows;
            endResetModel();
            return;
        }
        if (rows > m_rows) {
            beginInsertRows({}, m_rows, rows - 1);
            m_rows = rows;
            endInsertRows();
        } else if (rows < m_rows) {
            beginRemoveRows({}, rows, m_rows - 1);
            m_rows = rows;
            endRemoveRows();
        }
        if (rows > 0)
            emit dataChanged(index(0, 0), index(rows - 1, TMedVerwDlgForm::kColumns - 1));
    }

private:
    TMedVerwDlgForm& m_form;
    int m_rows = 0;
};

}  // namespace stock

TMedVerwDlg::TMedVerwDlg(stock::TMedVerwDlgForm& form,
                         std::function<bool(const QString&)> canOpenCard, QWidget* parent)
    : QDialog(parent), m_form(form), m_canOpenCard(std::move(canOpenCard))
{
    setObjectName(QStringLiteral("MedVerwDlg"));
    setWindowTitle(form.Caption());
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout();
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("MedNameLabel"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    m_year = new QLabel(this);
    m_year->setObjectName(QStringLiteral("JahrLabel"));
    m_year->setFont(bold);
    auto* back = new QPushButton(QStringLiteral("Jahr zurückblättern"), this);
    back->setObjectName(QStringLiteral("ZurueckBtn"));
    auto* forward = new QPushButton(QStringLiteral("Jahr vorblättern"), this);
    forward->setObjectName(QStringLiteral("VorBtn"));
    top->addWidget(m_name, 1);
    top->addWidget(back);
    top->addWidget(m_year);
    top->addWidget(forward);
    layout->addLayout(top);

    m_model = new stock::StockRowsModel(form, this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("InventurGrid"));
    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->verticalHeader()->setDefaultSectionSize(20);
    m_view->verticalHeader()->hide();
    m_view->setColumnWidth(0, 90);
    m_view->setColumnWidth(1, 80);
    m_view->setColumnWidth(2, 80);
    m_view->setColumnWidth(3, 80);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->installEventFilter(this);
    layout->addWidget(m_view, 1);

    m_sums = new QLabel(this);
    m_sums->setObjectName(QStringLiteral("SummenLabel"));
    m_sums->setFont(bold);
    layout->addWidget(m_sums);
    auto* hint = new QLabel(stock::TMedVerwDlgForm::Hint().simplified(), this);
    hint->setObjectName(QStringLiteral("HinweisLabel"));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* buttons = new QHBoxLayout();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("AbbrechenBtn"));
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(back, &QPushButton::clicked, this, [this] { m_form.Back(); });
    connect(forward, &QPushButton::clicked, this, [this] { m_form.Forward(); });
    connect(ok, &QPushButton::clicked, this, &TMedVerwDlg::Accept);
    connect(cancel, &QPushButton::clicked, this, &TMedVerwDlg::reject);
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() + 1 == stock::TMedVerwDlgForm::kColRemark)
            DoubleClicked(index.row());
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (previous.isValid())
                    RowLeft(previous.row());
            });
    m_form.OnChanged = [this] { Refresh(); };
    Refresh();
    // The cursor starts in the empty row at the end.
    m_view->setCurrentIndex(m_model->index(m_form.RowCount() - 1, 0));
}

TMedVerwDlg::~TMedVerwDlg()
{
    m_form.OnChanged = nullptr;
}

void TMedVerwDlg::Refresh()
{
    const QModelIndex current = m_view->currentIndex();
    const bool yearChanged = m_form.Year() != m_shownYear;
    m_shownYear = m_form.Year();
    {
        // Moving the cursor here is no leaving of a row by the person.
        const QSignalBlocker block(m_view->selectionModel());
        m_model->Refresh(yearChanged);
    }
    m_name->setText(m_form.Name());
    m_year->setText(m_form.YearLabel());
    m_sums->setText(QStringLiteral("Zugang: ") + m_form.SumIn() + QStringLiteral("     Abgang: ") +
                    m_form.SumOut() + QStringLiteral("     Endbestand: ") + m_form.FinalStock());
    int row = m_form.FocusRow() >= 0 ? m_form.FocusRow() : current.row();
    row = qBound(0, row, m_form.RowCount() - 1);
    const QSignalBlocker block(m_view->selectionModel());
    m_view->setCurrentIndex(m_model->index(row, qMax(0, current.column())));
}

void TMedVerwDlg::RowLeft(int previous)
{
    if (m_refocusing || m_form.LeaveRow(previous))
        return;
    // The faulty row gets the cursor back once the view has moved on.
    m_refocusing = true;
    QTimer::singleShot(0, this, [this] {
        const int row = m_form.FocusRow();
        if (row >= 0)
            m_view->setCurrentIndex(m_model->index(row, 0));
        m_refocusing = false;
    });
}

void TMedVerwDlg::DoubleClicked(int row)
{
    const QString key = m_form.CardKeyAt(row);
    if (key.isEmpty() || !m_canOpenCard || !m_canOpenCard(key))
        return;
    if (!m_form.Ok())
        return;
    m_cardToOpen = key;
    QDialog::accept();
}

void TMedVerwDlg::Accept()
{
    if (m_form.Ok())
        QDialog::accept();
}

bool TMedVerwDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int row = m_view->currentIndex().row();
        if (key->modifiers() & Qt::ControlModifier) {
            if (key->key() == Qt::Key_D) {
                m_form.PutToday(row);
                return true;
            }
            if (key->key() == Qt::Key_Insert) {
                m_form.InsertRow(row);
                return true;
            }
            if (key->key() == Qt::Key_Delete) {
                m_form.DeleteRow(row);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
