#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableView;
class TSGrid;

// The records of a master table grid as rows of a list, read from its record lines when
// shown. Reset() after the table changed.
class PickListModel : public QAbstractTableModel {
public:
    struct Column {
        int gridCol;
        bool price;  // shown "0.00"
    };
    PickListModel(TSGrid& grid, QList<Column> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void Reset();
    bool IsPrice(int section) const { return m_columns.value(section).price; }

private:
    TSGrid& m_grid;
    QList<Column> m_columns;
};

// A pick list of the record card: a search field, the list of a master table and the
// quantity the take-over uses. Enter and double click take the selected row over.
class KarteiPickList : public QWidget {
    Q_OBJECT
public:
    KarteiPickList(const QString& title, const QString& name, TSGrid& grid,
                   QList<PickListModel::Column> columns, QWidget* parent = nullptr);

    TSGrid& Grid() const { return m_grid; }
    QTableView* View() const { return m_view; }
    QLineEdit* SearchEdit() const { return m_search; }
    QLineEdit* QuantityEdit() const { return m_quantity; }
    // The record selected; -1 when the list is empty.
    int SelectedRecord() const;
    void SelectRecord(int record);
    // Reads the table again (after another workspace changed it).
    void Reload();
    // Wide enough for every column title.
    QSize minimumSizeHint() const override;

signals:
    void takeOverRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Search(const QString& typed);
    void FitColumns();
    void FitNameColumn();
    bool QuantityKey(QKeyEvent* event);

    TSGrid& m_grid;
    PickListModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLineEdit* m_search = nullptr;
    QLineEdit* m_quantity = nullptr;
    int m_leastWidth = 0;
};
