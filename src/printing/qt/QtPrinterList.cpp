#include "printing/qt/QtPrinterList.h"

#include <QPrinterInfo>

QStringList QtPrinterList::PrinterNames() const
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.append(kPdfPrinterName);
    return names;
}

QString QtPrinterList::DefaultPrinter() const
{
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? kPdfPrinterName : name;
}

bool QtPrinterList::IsReachable(const QString& name) const
{
    if (name == kPdfPrinterName) {
        return true;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    return !info.isNull() && info.state() != QPrinter::Error;
}
