#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QTableView;

namespace stock {
class TMedVerwDlgForm;
class StockRowsModel;
}  // namespace stock

// The stock dialog: binds the rows, sums and year of its form to a table view, the keys
// Ctrl+D, Ctrl+Insert and Ctrl+Delete and the buttons. A double click on a record card's
// booking asks `openCard` whether the card can be shown; the dialog then closes like OK and
// `CardToOpen` names the card.
class TMedVerwDlg : public QDialog {
    Q_OBJECT
public:
    TMedVerwDlg(stock::TMedVerwDlgForm& form, std::function<bool(const QString&)> canOpenCard,
                QWidget* parent = nullptr);
    ~TMedVerwDlg() override;

    QString CardToOpen() const { return m_cardToOpen; }
    QTableView* View() const { return m_view; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    void RowLeft(int previous);
    void DoubleClicked(int row);
    void Accept();

    stock::TMedVerwDlgForm& m_form;
    std::function<bool(const QString&)> m_canOpenCard;
    stock::StockRowsModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_year = nullptr;
    QLabel* m_sums = nullptr;
    QString m_cardToOpen;
    bool m_refocusing = false;
    int m_shownYear = 0;
};
