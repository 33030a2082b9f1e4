#pragma once

#include <QDialog>

#include "dispensing/AbgPrint.h"

class QLabel;
class QRadioButton;
class TAbgDruckDlgForm;

// The print choice of a dispensing record; every rule is in TAbgDruckDlgForm.
class TAbgDruckDlg : public QDialog {
    Q_OBJECT
public:
    TAbgDruckDlg(TAbgDruckDlgForm& form, QWidget* parent = nullptr);
    QRadioButton* StandardChoice() const { return m_standard; }
    QRadioButton* MailChoice() const { return m_mail; }
    QLabel* Note() const { return m_note; }

private:
    void Show();

    TAbgDruckDlgForm& m_form;
    QLabel* m_label;
    QRadioButton* m_standard;
    QRadioButton* m_mail;
    QLabel* m_note;
};

class QtAbgDruckDlgRunner : public abg::AbgDruckDlgRunner {
public:
    explicit QtAbgDruckDlgRunner(QWidget* parent) : m_parent(parent) {}
    bool Run(TAbgDruckDlgForm& form) override;

private:
    QWidget* m_parent;
};
