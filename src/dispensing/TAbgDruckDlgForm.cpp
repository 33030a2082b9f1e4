#include "dispensing/TAbgDruckDlgForm.h"

void TAbgDruckDlgForm::Open(const Setup& s)
{
    m_standardEnabled = m_mailEnabled = true;
    m_standardChecked = true;
    m_mailChecked = false;
    m_note.clear();
    m_standardCaption = QStringLiteral("Druck auf ") + s.standardPrinter;
    m_label = QStringLiteral("Beleg-Nr.: ") + s.number + QStringLiteral(" / ") + s.year;
    const bool mailPrinter = !s.mailPrinter.isEmpty();
    if (mailPrinter) {
        m_mailCaption = QStringLiteral("E-Mail auf ") + s.mailPrinter +
                        QStringLiteral(", wenn Mail-Adresse hinterlegt ist. (Doppel auf ") +
                        s.standardPrinter + QLatin1Char(')');
    } else {
        m_mailEnabled = false;
        m_mailCaption = QStringLiteral("PDF-Datei als E-Mail und Doppel auf Standard-Printer");
        m_note = QStringLiteral(
            "( Der Versand als PDF-Datei per E-Mail ist nur mit optionaler Software möglich! )");
    }
    if (s.keeperLine == QStringLiteral("- - -") || !s.hasMedication) {
        m_standardChecked = m_mailChecked = false;
        m_standardEnabled = m_mailEnabled = false;
        m_note = s.keeperLine == QStringLiteral("- - -")
                     ? QStringLiteral("Im Abgabebeleg fehlt noch der Tierhalter!")
                     : QStringLiteral("Noch kein Medikament eingetragen!");
    } else if (mailPrinter && !s.keeperHasEmail) {
        m_mailCaption = QStringLiteral("E-Mail auf ") + s.mailPrinter +
                        QStringLiteral(" (mit Doppel auf ") + s.standardPrinter +
                        QStringLiteral("), wenn Mail-Adresse hinterlegt ist");
        m_mailEnabled = false;
        m_note = QStringLiteral("Der Tierhalter hat keine Mail-Adresse!");
    }
}

void TAbgDruckDlgForm::ChooseStandard()
{
    if (!m_standardEnabled)
        return;
    m_standardChecked = true;
    m_mailChecked = false;
}

void TAbgDruckDlgForm::ChooseMail()
{
    if (!m_mailEnabled)
        return;
    m_mailChecked = true;
    m_standardChecked = false;
}
