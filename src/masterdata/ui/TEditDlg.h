#pragma once

#include <QDialog>

#include "common/qt/FormBinding.h"
#include "masterdata/ClipboardPort.h"
#include "masterdata/MasterWorkspace.h"
#include "masterdata/TEditDlgForm.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class UserPort;

// The system clipboard for the customer copy and paste buttons.
class QtClipboard : public ClipboardPort {
public:
    QString Text() const override;
    void SetText(const QString& text) override;
};

// The record edit dialog. It only binds: keys, focus changes and clicks go to the form,
// and the widgets show what the form holds.
class TEditDlg : public QDialog {
    Q_OBJECT
public:
    TEditDlg(TEditDlgForm& form, QWidget* parent = nullptr);

    // The table the record goes to, for the duplicate checks (may stay null).
    void SetTable(const MasterTableView* table) { m_table = table; }
    void SetClipboard(ClipboardPort* clipboard) { m_clipboard = clipboard; }

    // The editor of a field (a line edit, or the line edit inside a combo box).
    QLineEdit* Editor(int id) const { return m_binding.Editor(id); }
    QWidget* FieldWidget(int id) const { return m_binding.FocusWidget(id); }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* AmpvButton() const { return m_ampvButton; }

private:
    void AddVatCode(QFormLayout* layout, int id);
    void BuildMedication(QFormLayout* layout);
    void BuildService(QFormLayout* layout);
    void BuildCustomer(QFormLayout* layout);
    void BuildPatient(QFormLayout* layout);
    void BuildBooking(QFormLayout* layout);
    QLineEdit* AddLine(QFormLayout* layout, int id, const QString& label,
                       const QString& suffix = {});
    QComboBox* AddCombo(QFormLayout* layout, int id, const QString& label,
                        QWidget* beside = nullptr);
    void Register(int id, QWidget* widget, QLineEdit* editor);

    bool OwnKey(int id, QEvent* event);
    void Refresh();
    void OkClicked();

    TEditDlgForm& m_form;
    const MasterTableView* m_table = nullptr;
    QtClipboard m_systemClipboard;
    ClipboardPort* m_clipboard = &m_systemClipboard;
    FormBinding m_binding;
    QLabel* m_rateLabel = nullptr;
    QCheckBox* m_humanChk = nullptr;
    QCheckBox* m_pharmacyChk = nullptr;
    QPushButton* m_ampvButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QLabel* m_numberLabel = nullptr;
};

// Runs the record edit dialog modally for the master workspaces.
class TEditDlgRunner : public RecordDialogRunner {
public:
    explicit TEditDlgRunner(QWidget* parent = nullptr) : m_parent(parent) {}
    bool Run(TEditDlgForm& form, const MasterTableView* table) override;

private:
    QWidget* m_parent;
};
