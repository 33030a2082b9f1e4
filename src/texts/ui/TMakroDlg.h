#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;
class TMakroDlgForm;

// The macro dialog and its favourites mode: a list bound to TMakroDlgForm.
class TMakroDlg : public QDialog {
    Q_OBJECT
public:
    TMakroDlg(TMakroDlgForm& form, QWidget* parent = nullptr);

    QTableWidget* Table() const { return m_table; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* DeleteButton() const { return m_delete; }

private:
    void Show();
    void CellEdited(int row, int col);

    TMakroDlgForm& m_form;
    QTableWidget* m_table = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    bool m_showing = false;
};
