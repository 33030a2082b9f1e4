#pragma once

#include <QDialog>
#include <QHash>

class QCheckBox;
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

    QLineEdit* Editor(int id) const { return m_editors.value(id); }
    QPushButton* SenderButton() const { return m_sender; }
    QCheckBox* BankBox() const { return m_bank; }
    QPushButton* OkButton() const { return m_ok; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* AddLine(int id);
    void Register(int id, QWidget* widget, QLineEdit* editor);
    void Refresh();
    int FocusedField() const;
    void OkClicked();

    TKreditorDlgForm& m_form;
    QHash<int, QLineEdit*> m_editors;
    QHash<QObject*, int> m_ids;
    QPushButton* m_sender = nullptr;
    QCheckBox* m_bank = nullptr;
    QCheckBox* m_phone = nullptr;
    QCheckBox* m_firm = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_refreshing = false;
};
