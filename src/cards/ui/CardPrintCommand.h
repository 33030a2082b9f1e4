#pragma once

#include <QString>
#include <functional>

#include "cards/CardCloseRun.h"

class Clock;
class LayoutStore;
class PrinterList;
class QtPrintCanvas;
class QWidget;
class UserPort;

namespace card {
class CardWorkspace;
}

// Runs TKarteiRechnDruckDlg modally for the print command.
class QtCardPrintDialogRunner : public card::PrintDialogRunner {
public:
    explicit QtCardPrintDialogRunner(QWidget* parent) : m_parent(parent) {}
    bool Run(card::TKarteiRechnDruckDlgForm& form) override;

private:
    QWidget* m_parent;
};

// What the print command of the record card needs besides the workspace.
struct CardPrintContext {
    UserPort* port = nullptr;
    const Clock* clock = nullptr;
    // The main window's printer; its current printer is the standard printer.
    QtPrintCanvas* canvas = nullptr;
    LayoutStore* layout = nullptr;  // page layouts of the options file; null: defaults
    bool inventoryAutomatic = false;
    std::function<void(int level, bool copy)> issueReminder;
};

// The window's printers as the documents of a card go to them: the canvas's current printer
// as the standard printer, the mail printer of the data folder's settings.
card::ClosePrinters WindowClosePrinters(QtPrintCanvas& canvas, const PrinterList& printers,
                                        const QString& dataFolder, LayoutStore* layout);

// The "Drucken" button of the Kartei workspace: the card checks, the print dialog, and the
// card print, close or reminder it chose, on the current printer (or the mail printer).
void RunCardPrintCommand(QWidget* parent, card::CardWorkspace& workspace,
                         const CardPrintContext& context);
