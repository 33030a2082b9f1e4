#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What the journal view shows of a month: the month and year, a day, the business and
// cash or bank.
namespace journal {

enum class BusinessFilter { All, Practice, Pharmacy };
enum class AccountFilter { All, Cash, Bank };

// The items of the selection lists, in the order of the enums.
QStringList BusinessTexts();  // "Praxis + Apotheke", "Praxis (getrennt)", "Apotheke (getrennt)"
QStringList AccountTexts();   // "Kasse + Bank", "Kasse (Bar)", "Bank (S./Üw.)"
QStringList MonthNames();     // "Januar" ... "Dezember"
// The year list: this year and the nine before it, newest first.
QStringList YearList(const QDate& today);

struct JournalSelection {
    int month = 1;
    int year = 2000;
    QString day;  // as typed; empty: the whole month
    BusinessFilter business = BusinessFilter::All;
    AccountFilter account = AccountFilter::All;

    bool DayEntered() const { return !day.trimmed().isEmpty(); }
    // The day as a date when day, month and year make one; invalid otherwise.
    QDate Day() const;
    bool Filtered() const
    {
        return business != BusinessFilter::All || account != AccountFilter::All || Day().isValid();
    }
    // Back to the whole month of both businesses, cash and bank.
    void Reset();
};

// A customer text of the pharmacy begins with "(A)".
bool IsPharmacyText(const QString& customer);

// The records of a month that the selection shows, in their order. Cash keeps the
// kinds that are no part of "SÜ", bank those that are no part of "B"; an empty kind stays.
QStringList FilterJournal(const QStringList& lines, const JournalSelection& selection);

}  // namespace journal
