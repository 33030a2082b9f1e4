#pragma once

#include <QDialog>

#include "printing/TStapelDruckDlgForm.h"

class QLabel;
class QPushButton;
class QRadioButton;

// The batch print dialog: standard printer or mail printer, "Start" or "Abbrechen".
class TStapelDruckDlg : public QDialog {
    Q_OBJECT
public:
    explicit TStapelDruckDlg(TStapelDruckDlgForm& form, QWidget* parent = nullptr);

    QRadioButton* PrintButton() const { return m_print; }
    QRadioButton* MailButton() const { return m_mail; }
    QPushButton* StartButton() const { return m_start; }

private:
    TStapelDruckDlgForm& m_form;
    QRadioButton* m_print = nullptr;
    QRadioButton* m_mail = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_start = nullptr;
};

class QtBatchPrintDialogRunner : public BatchPrintDialogRunner {
public:
    explicit QtBatchPrintDialogRunner(QWidget* parent) : m_parent(parent) {}
    bool Run(TStapelDruckDlgForm& form) override;

private:
    QWidget* m_parent;
};
