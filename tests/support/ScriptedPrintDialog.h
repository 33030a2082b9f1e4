#pragma once

#include <optional>

#include "printing/PrintDialogPort.h"

// The print dialog as the person answers it: `choice` is what they pick (none: Cancel);
// `seen` keeps what the dialog was opened with.
struct ScriptedPrintDialog : PrintDialogPort {
    std::optional<PrintDialogChoice> choice;
    PrintDialogOptions seen;
    std::optional<PrintDialogChoice> ShowPrintDialog(const PrintDialogOptions& o) override
    {
        seen = o;
        return choice;
    }
};
