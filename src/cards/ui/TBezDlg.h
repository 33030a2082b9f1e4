#pragma once

#include <QDialog>

#include "cards/TBezDlgForm.h"
#include "common/qt/FormBinding.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class UserPort;

// The payment dialog. It only binds: keys, focus changes and clicks go to the form, and the
// widgets show what the form holds.
class TBezDlg : public QDialog {
    Q_OBJECT
public:
    TBezDlg(card::TBezDlgForm& form, UserPort& port, QWidget* parent = nullptr);

    QLineEdit* Editor(int id) const { return m_binding.Editor(id); }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* DiscountButton() const { return m_discountButton; }
    QCheckBox* WriteOffBox() const { return m_writeOffChk; }
    QRadioButton* KindButton(card::PaymentKind kind) const;
    QLabel* RestLabel() const { return m_restLabel; }
    QLabel* PercentLabel() const { return m_percentLabel; }
    QLabel* StatusLabel() const { return m_statusLabel; }

    // With nothing open there is no Cancel: closing the window is OK.
    void reject() override;

private:
    QLineEdit* AddEditor(int id);
    bool OwnKey(int id, QEvent* event);
    void Refresh();
    void OkClicked();

    card::TBezDlgForm& m_form;
    UserPort& m_port;
    FormBinding m_binding;
    QRadioButton* m_cashRadio = nullptr;
    QRadioButton* m_chequeRadio = nullptr;
    QRadioButton* m_transferRadio = nullptr;
    QLabel* m_echoLabel = nullptr;
    QLabel* m_restLabel = nullptr;
    QLabel* m_percentLabel = nullptr;
    QLabel* m_statusLabel = nullptr;
    QCheckBox* m_writeOffChk = nullptr;
    QPushButton* m_discountButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// Runs TBezDlg modally for EnterPayment.
class QtPaymentDialogRunner : public card::PaymentDialogRunner {
public:
    QtPaymentDialogRunner(UserPort& port, QWidget* parent) : m_port(port), m_parent(parent) {}
    bool Run(card::TBezDlgForm& form) override;

private:
    UserPort& m_port;
    QWidget* m_parent;
};
