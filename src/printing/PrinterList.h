#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class UserPort;

// The printers a job can go to: the system's printers plus the built-in printer that
// writes PDF files, which is always there.
class PrinterList {
public:
    static inline const QString kPdfPrinterName = QStringLiteral("PDF-Datei");

    virtual ~PrinterList() = default;
    // System printers first, the PDF printer last.
    virtual QStringList PrinterNames() const = 0;
    // The system's default printer, or the PDF printer when the system has none.
    virtual QString DefaultPrinter() const = 0;
    virtual bool IsReachable(const QString& name) const = 0;
};

// The check before a print: the current printer, else any printer of the list, must answer.
// Shows the message and returns false when none does.
bool CheckPrinterReachable(const PrinterList& printers, const QString& current, UserPort& port);

// File name of a job for the PDF printer: the title made safe for a file name, then the
// time stamp ("Talven - Rechnung 0001/002" at 2024-03-15 10:00:05 gives
// "Talven - Rechnung 0001-002_20240315_100005.pdf").
QString PdfFileNameForJob(const QString& title, const QDateTime& stamp);
