#pragma once

#include <functional>

#include "printing/PrintDialogPort.h"

class QWidget;
class QtPrintCanvas;

// The system print dialog on the canvas's printer.
class QtPrintDialogPort : public PrintDialogPort {
public:
    QtPrintDialogPort(QtPrintCanvas& canvas, QWidget* parent) : m_canvas(canvas), m_parent(parent)
    {
    }
    std::optional<PrintDialogChoice> ShowPrintDialog(const PrintDialogOptions& options) override;

private:
    QtPrintCanvas& m_canvas;
    QWidget* m_parent;
};

// Shows a print preview of a job; printing from the preview runs the job again on the
// chosen printer. The job draws on whatever canvas it is given.
void ShowPrintPreview(QtPrintCanvas& canvas, QWidget* parent, const QString& title,
                      const std::function<void(PrintCanvas&)>& job);
