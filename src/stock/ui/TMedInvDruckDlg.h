#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace stock {
class TMedInvDruckDlgForm;
}

// The print dialog of the medication workspace: the medication list or the stock report
// of a year, printed or into a file. Binds its form; OK runs the form's check.
class TMedInvDruckDlg : public QDialog {
    Q_OBJECT
public:
    explicit TMedInvDruckDlg(stock::TMedInvDruckDlgForm& form, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Accept();

    stock::TMedInvDruckDlgForm& m_form;
    QRadioButton* m_list = nullptr;
    QRadioButton* m_inventory = nullptr;
    QLineEdit* m_year = nullptr;
    QCheckBox* m_toFile = nullptr;
};
