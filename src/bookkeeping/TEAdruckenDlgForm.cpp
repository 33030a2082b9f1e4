#include "bookkeeping/TEAdruckenDlgForm.h"

#include "common/DateUtil.h"

using namespace journal;

TEAdruckenDlgForm::TEAdruckenDlgForm(Kind kind, const JournalSelection& selection,
                                     bool splitVatReturn, const QString& printerName)
    : m_kind(kind), m_selection(selection), m_split(splitVatReturn), m_printer(printerName)
{
}

void TEAdruckenDlgForm::SetChoice(Choice choice)
{
    m_choice = choice;
    if (choice == Choice::VatReturn) {
        m_toFile = false;
        m_withBalances = false;
    }
}

void TEAdruckenDlgForm::SetToFile(bool on)
{
    m_toFile = OptionsEnabled() && on;
}

void TEAdruckenDlgForm::SetWithBalances(bool on)
{
    m_withBalances = OptionsEnabled() && on;
}

QString TEAdruckenDlgForm::Caption() const
{
    if (m_choice == Choice::VatReturn)
        return QStringLiteral("Drucken: ") + VatReturnText();
    return m_kind == Kind::Income ? QStringLiteral("Drucken: Einnahmen")
                                  : QStringLiteral("Drucken: Ausgaben");
}

QString TEAdruckenDlgForm::ListText() const
{
    return m_kind == Kind::Income ? QStringLiteral("Einnahmen - Liste")
                                  : QStringLiteral("Ausgaben - Liste");
}

QString TEAdruckenDlgForm::PeriodLine() const
{
    QString line;
    if (m_choice == Choice::List && m_selection.DayEntered())
        line = m_selection.day.trimmed() + QStringLiteral(". ");
    return line + dates::MonthName(m_selection.month) + QLatin1Char(' ') +
           QString::number(m_selection.year);
}

QString TEAdruckenDlgForm::BusinessLine() const
{
    if (m_choice == Choice::VatReturn)
        return m_split ? QStringLiteral("Praxis/Apotheke (getrennt)")
                       : QStringLiteral("Praxis/Apotheke (gesamt)");
    switch (m_selection.business) {
        case BusinessFilter::Practice:
            return QStringLiteral("Praxis");
        case BusinessFilter::Pharmacy:
            return QStringLiteral("Apotheke");
        case BusinessFilter::All:
            break;
    }
    return QStringLiteral("Praxis/Apotheke (gesamt)");
}

QString TEAdruckenDlgForm::AccountLine() const
{
    if (m_choice == Choice::VatReturn)
        return {};
    switch (m_selection.account) {
        case AccountFilter::Cash:
            return QStringLiteral("Kasse (Bar)");
        case AccountFilter::Bank:
            return QStringLiteral("Bank (S/\u00DC)");
        case AccountFilter::All:
            break;
    }
    return QStringLiteral("Kasse/Bank (gesamt)");
}

QString TEAdruckenDlgForm::PrinterLine() const
{
    // A line that fits is shown whole: cutting it would only repeat its closing bracket.
    const QString line = QStringLiteral("(Druck auf ") + m_printer + QLatin1Char(')');
    return line.size() > 40 ? line.left(40) + QStringLiteral(" ...)") : line;
}
