#include "shell/Indicators.h"

void Indicators::Start()
{
    m_running = true;
    m_ticks = 0;
    Settle();
}

void Indicators::Stop()
{
    m_running = false;
    Settle();
}

void Indicators::Tick()
{
    if (!m_running)
        return;
    ++m_ticks;
    if (m_ticks >= kTicks) {
        Stop();
        return;
    }
    if (bookingPending)
        m_booking = !m_booking;
    if (backupOn)
        m_backup = !m_backup;
    if (PasswordWanted())
        m_password = !m_password;
    if (stockOn)
        m_stock = !m_stock;
}

void Indicators::Settle()
{
    m_booking = bookingPending;
    m_backup = backupOn;
    m_password = PasswordWanted();
    m_stock = stockOn;
}
