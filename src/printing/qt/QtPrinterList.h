#pragma once

#include "printing/PrinterList.h"

// The system's printers as Qt sees them (CUPS), plus the PDF printer.
class QtPrinterList : public PrinterList {
public:
    QStringList PrinterNames() const override;
    QString DefaultPrinter() const override;
    bool IsReachable(const QString& name) const override;
};
