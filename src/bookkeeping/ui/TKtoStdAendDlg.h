#pragma once

#include <QDialog>

class FormBinding;
class QPushButton;
class TKtoStdAendDlgForm;

// "Aktuelle Kontostände ändern". It only binds; Enter confirms, Esc cancels.
class TKtoStdAendDlg : public QDialog {
    Q_OBJECT
public:
    TKtoStdAendDlg(TKtoStdAendDlgForm& form, QWidget* parent = nullptr);

    QPushButton* OkButton() const { return m_ok; }

private:
    void OkClicked();

    TKtoStdAendDlgForm& m_form;
    FormBinding* m_binding = nullptr;
    QPushButton* m_ok = nullptr;
};
