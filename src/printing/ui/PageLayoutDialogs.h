#pragma once

#include <QDialog>
#include <QList>

#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TSeiteEinrichtenDlgForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The four page margins both layout dialogs start with.
struct MarginEdits {
    QLineEdit* oben = nullptr;
    QLineEdit* unten = nullptr;
    QLineEdit* links = nullptr;
    QLineEdit* rechts = nullptr;
};

// The document page layout dialog; every rule is in TMemoSeiteEinrichtenDlgForm.
class TMemoSeiteEinrichtenDlg : public QDialog {
    Q_OBJECT
public:
    TMemoSeiteEinrichtenDlg(TMemoSeiteEinrichtenDlgForm& form,
                            TMemoSeiteEinrichtenDlgForm::Workspace workspace,
                            QWidget* parent = nullptr);

private:
    void Show();
    void Take();
    void ChooseFont(PrintFont& font);

    TMemoSeiteEinrichtenDlgForm& m_form;
    MarginEdits m_margins;
    QLineEdit* m_kopf;
    QCheckBox* m_seitenNr;
    QComboBox* m_einzug;
    QLabel* m_einzugLabel;
    QLabel* m_sample;
};

// The table page layout dialog; every rule is in TSeiteEinrichtenDlgForm.
class TSeiteEinrichtenDlg : public QDialog {
    Q_OBJECT
public:
    TSeiteEinrichtenDlg(TSeiteEinrichtenDlgForm& form, TSeiteEinrichtenDlgForm::List list,
                        bool batchWorkspace = false, QWidget* parent = nullptr);

private:
    void Show();
    void Take();

    TSeiteEinrichtenDlgForm& m_form;
    MarginEdits m_margins;
    QLineEdit* m_titel;
    QLineEdit* m_lineCount;
    QCheckBox* m_zeilen;
    QCheckBox* m_spalten;
    QCheckBox* m_datum;
    QCheckBox* m_seitenNr;
    QCheckBox* m_konto;
    QList<QCheckBox*> m_switches;
    QList<QLineEdit*> m_titles;
    QList<QLineEdit*> m_widths;
    QLabel* m_total;
};
