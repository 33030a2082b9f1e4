#pragma once

#include <QDate>
#include <memory>

#include "masterdata/BookingForm.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/MedicationForm.h"
#include "masterdata/PatientForm.h"
#include "masterdata/PriceRules.h"
#include "masterdata/ServiceForm.h"

class UserPort;

enum class EditPanel { Medication, Service, Customer, Patient, Booking };

// How the record edit dialog is opened.
struct EditDlgSetup {
    EditPanel panel = EditPanel::Medication;
    EditMode mode = EditMode::Insert;
    PriceSettings settings;
    bool journalWorkspace = false;  // opened from the income/expense journals
    bool income = true;             // booking panel: income (else expense)
    QDate journalMonth;             // booking panel: month and year of the selected journal
};

// The record edit dialog without its window: the one panel it shows, its caption, and the
// OK flow (the focused field is left as for closing, then the panel's close check).
class TEditDlgForm {
public:
    TEditDlgForm(const EditDlgSetup& setup, UserPort& port);
    ~TEditDlgForm();

    EditPanel Panel() const { return m_setup.panel; }
    EditMode Mode() const { return m_setup.mode; }
    const PriceSettings& Settings() const { return m_setup.settings; }
    QString Caption() const;
    QString CurrencyText() const;  // "Euro" or "DM" after the price fields

    FormBase& Fields();
    MedicationForm& Medication() { return *m_medication; }
    ServiceForm& Service() { return *m_service; }
    CustomerForm& Customer() { return *m_customer; }
    PatientForm& Patient() { return *m_patient; }
    BookingForm& Booking() { return *m_booking; }

    // OK clicked while focusedField (-1: none) had the focus. The table is the one the
    // record goes to (duplicate checks); it may be null for the other panels. False keeps
    // the dialog open.
    bool Ok(int focusedField, const MasterTableView* table);

private:
    EditDlgSetup m_setup;
    UserPort& m_port;
    std::unique_ptr<MedicationForm> m_medication;
    std::unique_ptr<ServiceForm> m_service;
    std::unique_ptr<CustomerForm> m_customer;
    std::unique_ptr<PatientForm> m_patient;
    std::unique_ptr<BookingForm> m_booking;
};
