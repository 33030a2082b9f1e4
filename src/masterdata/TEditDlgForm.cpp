#include "masterdata/TEditDlgForm.h"

#include "common/UserPort.h"

TEditDlgForm::TEditDlgForm(const EditDlgSetup& setup, UserPort& port) : m_setup(setup), m_port(port)
{
    switch (setup.panel) {
        case EditPanel::Medication:
            m_medication = std::make_unique<MedicationForm>(setup.mode, setup.settings);
            break;
        case EditPanel::Service:
            m_service = std::make_unique<ServiceForm>(setup.mode, setup.settings, port);
            break;
        case EditPanel::Customer:
            m_customer = std::make_unique<CustomerForm>(setup.mode, port);
            break;
        case EditPanel::Patient:
            m_patient = std::make_unique<PatientForm>();
            break;
        case EditPanel::Booking:
            m_booking = std::make_unique<BookingForm>(
                setup.mode, setup.settings, setup.income,
                setup.journalWorkspace ? setup.journalMonth : QDate());
            break;
    }
}

TEditDlgForm::~TEditDlgForm() = default;

QString TEditDlgForm::Caption() const
{
    if (m_setup.mode == EditMode::Insert && m_setup.journalWorkspace)
        return QStringLiteral("Einnahme buchen");
    return EditDlgCaption(m_setup.mode);
}

QString TEditDlgForm::CurrencyText() const
{
    return m_setup.settings.euro ? QStringLiteral("Euro") : QStringLiteral("DM");
}

FormBase& TEditDlgForm::Fields()
{
    switch (m_setup.panel) {
        case EditPanel::Medication:
            return *m_medication;
        case EditPanel::Service:
            return *m_service;
        case EditPanel::Customer:
            return *m_customer;
        case EditPanel::Patient:
            return *m_patient;
        case EditPanel::Booking:
            break;
    }
    return *m_booking;
}

bool TEditDlgForm::Ok(int focusedField, const MasterTableView* table)
{
    if (focusedField >= 0 && !Fields().Leave(focusedField, true))
        return false;
    static const QStringList kNoLines;
    const RecordLinesView none(kNoLines);
    const MasterTableView& lookup = table ? *table : none;
    switch (m_setup.panel) {
        case EditPanel::Medication:
            return m_medication->CheckOk(m_port, lookup);
        case EditPanel::Service:
            return m_service->CheckOk(lookup);
        case EditPanel::Customer:
            return m_customer->CheckOk();
        case EditPanel::Patient:
            return true;
        case EditPanel::Booking:
            return m_booking->CheckOk(m_port);
    }
    return true;
}
