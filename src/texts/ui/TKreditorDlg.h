#pragma once

#include <QDialog>

#include "common/qt/FormBinding.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TKreditorDlgForm;

// The letterhead dialog ("(Brief-)Kopf", in the dispensing record "Tierhalter"). It only
// binds: keys, focus changes and clicks go to the form, the widgets show what it holds.
class TKreditorDlg : public QDialog {
    Q_OBJECT
public:
    // `postcodes` fills the drop-down list of "PLZ/ Ort".
    TKreditorDlg(TKreditorDlgForm& form, const QStringList& postcodes, QWidget* parent = nullptr);

    QLineEdit* Editor(int id) const { return m_binding.Editor(id); }
    QPushButton* SenderButton() const { return m_sender; }
    QCheckBox* BankBox() const { return m_bank; }
    QPushButton* OkButton() const { return m_ok; }

    void reject() override;

private:
    QLineEdit* AddLine(int id);
    QComboBox* AddCombo(int id, const QStringList& items);
    void Refresh();
    void OkClicked();

    TKreditorDlgForm& m_form;
    FormBinding m_binding;
    QPushButton* m_sender = nullptr;
    QCheckBox* m_bank = nullptr;
    QCheckBox* m_phone = nullptr;
    QCheckBox* m_firm = nullptr;
    QPushButton* m_ok = nullptr;
};
