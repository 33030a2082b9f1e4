#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

#include "dispensing/AbgRecordFile.h"

class KeyValueSettings;
class LayoutStore;
class PrintCanvas;
class PrinterList;
class TAbgDruckDlgForm;
class TAbgPrintGrid2;
class UserPort;
struct BusinessData;

namespace abg {

class AbgWorkspace;

// Where a dispensing record is printed and what the print reads besides the record.
struct AbgPrinters {
    PrintCanvas* canvas = nullptr;
    const PrinterList* printers = nullptr;
    QString standardPrinter;
    QString mailPrinter;  // empty: no mail printer installed
    QHash<QString, QString> mailCodes;
    std::function<void(const QString&)> selectPrinter;
    LayoutStore* layout = nullptr;              // the page layout "AbgSeitenOptionen"
    const KeyValueSettings* options = nullptr;  // the practice and pharmacy data
    QString keeperEmail;                        // empty: the keeper has no mail address
};

class AbgDruckDlgRunner {
public:
    virtual ~AbgDruckDlgRunner() = default;
    virtual bool Run(TAbgDruckDlgForm& form) = 0;  // true on OK
};

// The ten header lines of the form: record number (when wanted), the veterinarian's
// lines, the keeper's lines and the VVVO number (the header dialog's field, else the one
// in the keeper line, at most `vvvoLength` characters).
QStringList DispensingHeaderLines(const Header& header, const QString& vvvoField,
                                  const BusinessData& business, bool withNumber, int vvvoLength);

// Sets the printer up from the page layout: widths, margins, fonts, rules; returns
// whether the layout wants the copy.
bool ApplyDispensingLayout(LayoutStore* layout, TAbgPrintGrid2& printer, bool* withNumber);

// "Drucken" of the workspace: the print choice, the prints, and the record saved however
// the dialog is left.
void PrintDispensingRecord(AbgWorkspace& workspace, UserPort& port, const AbgPrinters& printers,
                           AbgDruckDlgRunner& dialog);

}  // namespace abg
