#include "cards/CardWorkspace.h"
#include "cards/TBezDlgForm.h"

namespace card {

bool CardWorkspace::EnterPayment(PaymentDialogRunner& runner)
{
    bool changed = false;
    const bool confirmed =
        card::EnterPayment(runner, m_form.GetRows(), m_form.State(), m_settings, m_port, m_clock,
                           m_options, &m_lastPaymentDate, m_pending, &changed);
    if (changed)
        m_form.SetModified(true);
    return confirmed;
}

}  // namespace card
