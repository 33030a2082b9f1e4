#pragma once

#include <QString>
#include <optional>

#include "printing/PrintCanvas.h"

// What a printer offers in the system print dialog.
struct PrintDialogOptions {
    PrinterOrientation orientation = PrinterOrientation::poPortrait;
    int minPage = 1;
    int maxPage = 1000;
    bool allowPageRange = true;
    bool allowPrintToFile = false;
    QString jobTitle;  // names the file the dialog proposes for a PDF
};

// What the person chose.
struct PrintDialogChoice {
    bool pageRange = false;  // a page range was chosen (else: all pages)
    int fromPage = 1;
    int toPage = 1000;
    int copies = 1;
    PrinterOrientation orientation = PrinterOrientation::poPortrait;
    bool printToFile = false;
};

// The system print dialog. The chosen printer becomes the canvas's printer; nullopt when
// the person cancels.
class PrintDialogPort {
public:
    virtual ~PrintDialogPort() = default;
    virtual std::optional<PrintDialogChoice> ShowPrintDialog(const PrintDialogOptions& options) = 0;
};
