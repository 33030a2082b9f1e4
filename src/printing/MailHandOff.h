#pragma once

#include <QString>

// "Als E-Mail" without a mail printer: the document goes to a PDF file and the desktop's
// mail program opens a new message to the customer naming that file.
class MailPort {
public:
    virtual ~MailPort() = default;
    // Opens the mail program with a mailto: address; false when the desktop has none.
    virtual bool Compose(const QString& mailto) = 0;
};

// The mailto: address of a message. Every part is percent-encoded, so an address holding
// "?" or "&" cannot add recipients or header fields of its own. A non-empty attachment goes
// in as "attach" (a file: address), which the mail programs that accept attachments from an
// address take; the others ignore it and the body still names the file.
QString MailtoAddress(const QString& address, const QString& subject, const QString& body,
                      const QString& attachment = {});

// The text of the message: the document's name and where its PDF lies.
QString MailBody(const QString& documentName, const QString& pdfPath);

inline const QString kNoMailProgram = QStringLiteral(
    "Das E-Mail-Programm konnte nicht geöffnet werden.\rDas Dokument liegt als PDF-Datei in\r");
