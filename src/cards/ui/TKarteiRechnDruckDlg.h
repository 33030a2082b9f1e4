#pragma once

#include <QDialog>

#include "cards/TKarteiRechnDruckDlgForm.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QStackedWidget;

// The print dialog of the record card; every rule is in card::TKarteiRechnDruckDlgForm. The caller
// opens the form with the card's setup, runs exec() and reads the form's choice.
class TKarteiRechnDruckDlg : public QDialog {
    Q_OBJECT
public:
    explicit TKarteiRechnDruckDlg(card::TKarteiRechnDruckDlgForm& form, QWidget* parent = nullptr);

    // Shows what the form says; call after TKarteiRechnDruckDlgForm::Open.
    void Show();

private:
    void SelectKind(card::PrintKind kind);
    void Finish();
    void Confirm();
    QCheckBox* KindBox(card::PrintKind kind) const;

    card::TKarteiRechnDruckDlgForm& m_form;
    QCheckBox* m_kartei;
    QCheckBox* m_rechnung;
    QCheckBox* m_quittung;
    QCheckBox* m_angebot;
    QCheckBox* m_mahnung1;
    QCheckBox* m_mahnung2;
    QCheckBox* m_alsQuittung;
    QCheckBox* m_leer;
    QCheckBox* m_kopie;
    QCheckBox* m_mail;
    QLabel* m_druckDatumLabel;
    QLineEdit* m_druckDatum;
    QLabel* m_bisLabel;
    QLineEdit* m_bisDatum;
    QStackedWidget* m_panels;
};
