#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

#include "appointments/Appointments.h"
#include "common/FormField.h"
#include "texts/Favorites.h"

class UserPort;

// The small dialog "Termin" in the mode given by a letter: "E" new appointment, "B" change
// appointment, "T" the computer's date and time; and for other windows "A" a dispensing
// date, "F" a favourite's name, "P" the password, "K" an account balance.
class TTerminEditDlgForm : public FormBase {
public:
    enum class Mode : char {
        NewAppointment = 'E',
        ChangeAppointment = 'B',
        SetClock = 'T',
        DispensingDate = 'A',
        FavoriteName = 'F',
        Password = 'P',
        Balance = 'K',
    };
    enum Id { DatumEdit, ZeitEdit, TerminEdit, KNrEdit, ErinnerungEdit, TextbausteinEdit, kCount };

    // The customer of the appointment: while its text still names him (name, first name or
    // town), it keeps his number.
    struct Customer {
        QString name;
        QString firstName;
        QString town;
    };

    // `textsFolder` (ending in "/") holds the reminder letters.
    explicit TTerminEditDlgForm(Mode mode, QString textsFolder = {});
    static std::optional<Mode> ModeOf(QChar letter);

    Mode GetMode() const { return m_mode; }
    QString Caption() const;
    bool AppointmentMode() const;
    // Which fields the mode shows; the reminder box goes with the reminder fields.
    bool Shows(int id) const;
    QString FieldCaption(int id) const;
    QString FieldHint(int id) const;
    bool Masked() const { return m_mode == Mode::Password; }

    // ---- Appointments ----
    void SetAppointment(const appointments::Appointment& a, const Customer& customer);
    // Date, time, text, customer number, reminder and text block as confirmed; the printed
    // date is the caller's.
    appointments::Appointment Result() const;
    bool ReminderOn() const { return m_reminderOn; }
    // Ticking proposes the vaccination reminder when the field is empty and the letter is
    // there; unticking clears the reminder and locks both fields.
    void SetReminderOn(bool on);
    // "Datei öffnen": the letter chosen in the texts folder; a missing file is refused.
    void ChooseReminder(UserPort& port);
    // Text handed over from the patient notes.
    void TakeOverBlock(const QString& text);

    // ---- Date, clock and the single-field modes ----
    void SetDate(const QDate& date);
    void SetTime(const QTime& time);
    QDate Date() const;
    // The time the clock is set to: seconds 0, a year before 1980 taken as 20yy.
    QDateTime ClockTime() const;
    // Name, password or amount as confirmed (a name without leading blanks).
    QString Value() const;
    // The favourite name's check: an error text keeps the dialog open.
    std::function<QString(const QString& name)> checkName;

    bool Leave(int id, bool closingOk = false) override;
    // The checks of OK; false keeps the dialog open with the field to correct focused.
    bool Ok(UserPort& port);

protected:
    QChar FilterKey(int id, QChar key) override;

private:
    bool Refuse(UserPort& port, int id, const QString& message);
    void ApplyReminderLock();

    Mode m_mode;
    QString m_textsFolder;
    Customer m_customer;
    bool m_reminderOn = false;
};

// Runs the dialog on a form; true when it was closed with OK (after Ok() accepted).
class TerminEditRunner {
public:
    virtual ~TerminEditRunner() = default;
    virtual bool Run(TTerminEditDlgForm& form) = 0;
};

// The name of a new favourite of the patient notes, asked in mode "F": the notes' check keeps
// the dialog open on a taken or empty name.
class TerminFavoriteNameAsker : public FavoriteNameAsker {
public:
    explicit TerminFavoriteNameAsker(TerminEditRunner& runner) : m_runner(runner) {}
    std::optional<QString> AskName(const Check& check) override;

private:
    TerminEditRunner& m_runner;
};
