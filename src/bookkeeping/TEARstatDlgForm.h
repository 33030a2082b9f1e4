#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "bookkeeping/JournalSelection.h"
#include "printing/PrintCanvas.h"

class UserPort;

// "Einnahmen/Ausgaben - Ergebnis": income and expenses of a day, a month or the whole year
// from the Euro journals, split into bank, cash and total with net, VAT and gross, and the
// surplus or deficit.
class TEARstatDlgForm {
public:
    enum Row { Bank = 0, Cash = 1, Total = 2 };
    struct Block {
        std::array<long double, 3> net{}, vat{}, gross{};
    };

    // view: the journal view's selection, whose day and month the period starts from.
    TEARstatDlgForm(QString dataFolder, const journal::JournalSelection& view);

    static QString Caption() { return QStringLiteral("Einnahmen/Ausgaben - Ergebnis"); }

    // Reads the months of the period and sums them.
    void ShowResult();
    // Between the view's day or month and the whole year.
    void TogglePeriod();

    QString YearLabel() const { return QString::number(m_view.year); }
    QString DayLabel() const { return m_dayLabel; }      // "15." or empty
    QString MonthLabel() const { return m_monthLabel; }  // "03." or empty
    QString PeriodText() const { return m_dayLabel + m_monthLabel + YearLabel(); }
    QString BusinessText() const;
    QString AccountText() const;

    const Block& Income() const { return m_income; }
    const Block& Expenses() const { return m_expenses; }
    // Income total minus expense total: net, VAT, gross.
    std::array<long double, 3> Result() const;
    QString ResultLabel() const;  // "Überschuss:", "Ergebnis:" or "Defizit:"
    static QString Amount(long double value);

    // Prints the result on the canvas's printer. heading: practice name + ", " + title.
    bool PrintResult(PrintCanvas& canvas, UserPort& port, const QString& heading,
                     const PrintFont& cellFont, const PrintFont& titleFont,
                     const QString& today) const;

private:
    void SumFile(const QString& suffix, int month, Block& block) const;

    QString m_dataFolder;
    journal::JournalSelection m_view;
    QString m_dayLabel;
    QString m_monthLabel;
    Block m_income;
    Block m_expenses;
};

// The month's lines of a journal file as stored, change lines applied: a "-" line takes out
// every earlier line of its card key, a "+" line counts as the record it carries.
QStringList ApplyJournalChangeLines(const QStringList& lines);
