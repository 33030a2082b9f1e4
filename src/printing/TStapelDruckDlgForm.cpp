#include "printing/TStapelDruckDlgForm.h"

QString TStapelDruckDlgForm::MailCaption() const
{
    if (!MailEnabled())
        return QStringLiteral("PDF-Datei als E-Mail und Doppel auf Standard-Printer");
    if (!m_setup.mailCaption.isEmpty())
        return m_setup.mailCaption;
    return QStringLiteral("E-Mail auf ") + m_setup.mailPrinter +
           QStringLiteral(", wenn Mail-Adresse hinterlegt ist");
}

QString TStapelDruckDlgForm::Hint() const
{
    return m_mail ? QStringLiteral("Überprüfen Sie nach dem Druck den E-Mail-Versand!")
                  : QStringLiteral("Überprüfen Sie, ob Ihr Drucker betriebsbereit ist!");
}
