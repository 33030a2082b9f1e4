#pragma once

#include "common/UserPort.h"
#include "printing/PrintCanvas.h"

// Ends a job and restores the cursor however printing ends.
class PrintJobGuard {
public:
    PrintJobGuard(PrintCanvas& canvas, UserPort& port) : m_canvas(canvas), m_port(port)
    {
        m_port.SetBusy(true);
    }
    ~PrintJobGuard()
    {
        m_port.SetBusy(false);
        if (m_canvas.Printing())
            m_canvas.EndDoc();
    }
    PrintJobGuard(const PrintJobGuard&) = delete;
    PrintJobGuard& operator=(const PrintJobGuard&) = delete;

private:
    PrintCanvas& m_canvas;
    UserPort& m_port;
};
