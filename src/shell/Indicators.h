#pragma once

// The indicator icons of the main window and their blinking: a 400 ms timer runs for
// twelve ticks, toggling the icons that have something to say, then settles them.
class Indicators {
public:
    static constexpr int kIntervalMs = 400;
    static constexpr int kTicks = 12;

    // Conditions, kept up to date by the main window.
    bool backupOn = false;         // automatic backup
    bool systemProtected = false;  // system options password protected
    bool passwordEntered = false;  // a valid password was entered in this run
    bool stockOn = false;          // automatic stock keeping
    bool bookingPending = false;   // a cash or cheque line waits to be booked

    Indicators() { Settle(); }

    void Start();
    // Stops the blinking and shows the final state.
    void Stop();
    void Tick();
    bool Running() const { return m_running; }
    int TicksDone() const { return m_ticks; }

    // While the timer is stopped the icons follow the conditions at once (a switch turned
    // on shows its icon without waiting for the next blinking).
    bool BackupVisible() const { return m_running ? m_backup : backupOn; }
    bool InfoPanelVisible() const { return !backupOn; }
    bool PasswordVisible() const { return m_running ? m_password : PasswordWanted(); }
    bool StockVisible() const { return m_running ? m_stock : stockOn; }
    bool BookingHighlighted() const  // bold and coloured
    {
        return m_running ? m_booking : bookingPending;
    }

    bool PasswordWanted() const { return systemProtected && !passwordEntered; }

private:
    void Settle();

    bool m_running = false;
    int m_ticks = 0;
    bool m_backup = false;
    bool m_password = false;
    bool m_stock = false;
    bool m_booking = false;
};
