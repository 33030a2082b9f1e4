#pragma once

#include <QDialog>
#include <QHash>

#include "common/qt/FormBinding.h"
#include "shell/TOptionenDlgForm.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

// "Systemoptionen": eight pages bound to TOptionenDlgForm, which holds every rule.
class TOptionenDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOptionenDlg(OptionenContext context, QWidget* parent = nullptr);

    TOptionenDlgForm& Form() { return m_form; }

    // Fills the fields and shows the page; Open also runs the dialog (modal).
    void Prepare(TOptionenDlgForm::Page page = TOptionenDlgForm::Praxis);
    int Open(TOptionenDlgForm::Page page = TOptionenDlgForm::Praxis);

    QLineEdit* Editor(int id) const { return m_binding.Editor(id); }
    QCheckBox* CheckBox(int id) const { return m_checks.value(id); }
    QTabWidget* Pages() const { return m_tabs; }
    QComboBox* DocumentBox() const { return m_dokCmb; }
    QComboBox* DriveBox() const { return m_laufwerkCB; }
    QRadioButton* EuroButton() const { return m_euroRBtn; }
    QRadioButton* DmButton() const { return m_dmRBtn; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

    void ClickOk();
    void ClickCancel();

protected:
    void reject() override;

private:
    QWidget* BuildPraxis(bool pharmacy);
    QWidget* BuildKopf();
    QWidget* BuildMwSt();
    QWidget* BuildMahnwesen();
    QWidget* BuildBackup();
    QWidget* BuildPasswort();
    QWidget* BuildExtDok();
    QLineEdit* AddEditor(int id);
    QCheckBox* AddCheck(int id, const QString& caption);
    void HandleLeave(int id);
    void Refresh();
    void ApplyRequests();

    TOptionenDlgForm m_form;
    FormBinding m_binding;
    QTabWidget* m_tabs = nullptr;
    QHash<int, QCheckBox*> m_checks;
    QComboBox* m_dokCmb = nullptr;
    QComboBox* m_laufwerkCB = nullptr;
    QRadioButton* m_euroRBtn = nullptr;
    QRadioButton* m_dmRBtn = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    bool m_refreshing = false;
    bool m_closing = false;
};
