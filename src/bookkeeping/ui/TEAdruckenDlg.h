#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TEAdruckenDlgForm;

// The print choice of the journal view: the month's list or the VAT pre-return. It only
// binds the form.
class TEAdruckenDlg : public QDialog {
    Q_OBJECT
public:
    TEAdruckenDlg(TEAdruckenDlgForm& form, QWidget* parent = nullptr);

    QRadioButton* ListButton() const { return m_list; }
    QRadioButton* VatReturnButton() const { return m_vat; }
    QCheckBox* ToFileBox() const { return m_toFile; }
    QCheckBox* BalancesBox() const { return m_balances; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void Show();

    TEAdruckenDlgForm& m_form;
    QLabel* m_caption = nullptr;
    QRadioButton* m_list = nullptr;
    QRadioButton* m_vat = nullptr;
    QCheckBox* m_toFile = nullptr;
    QCheckBox* m_balances = nullptr;
    QLabel* m_period = nullptr;
    QLabel* m_business = nullptr;
    QLabel* m_account = nullptr;
    QLabel* m_printer = nullptr;
    QPushButton* m_ok = nullptr;
};
