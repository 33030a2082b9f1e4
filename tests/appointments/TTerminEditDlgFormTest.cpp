#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "appointments/TTerminEditDlgForm.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

using F = TTerminEditDlgForm;
using Mode = TTerminEditDlgForm::Mode;

namespace {

class TerminEditForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        testfiles::WriteLines(Texts() + "IMPFERG.TLV", {"Liebe TTT"});
        testfiles::WriteLines(Texts() + "Brief.tlv", {"Brief"});
    }
    QString Texts() const { return m_dir.path() + "/"; }

    QTemporaryDir m_dir;
    ScriptedUserPort m_port;
};

}  // namespace

// What OK does with the fields of each mode: normalised, or refused with the message and
// the field to correct.
TEST_F(TerminEditForm, OkChecksEachModesFields)
{
    struct Case {
        Mode mode;
        const char* date;
        const char* time;
        const char* text;
        const char* reminder;  // nullptr: reminder box off
        const char* message;   // empty: accepted
        int focus;             // field focused on refusal
        const char* storedDate;
        const char* storedTime;
    };
    const Case cases[] = {
        {Mode::NewAppointment, "1.2.25", "14", "Bello", nullptr, "", -1, "01.02.2025", "14:00"},
        {Mode::NewAppointment, "31.1.2025", "", "Bello", "brief.TLV", "", -1, "31.01.2025", ""},
        {Mode::ChangeAppointment, "30.2.2025", "9", "Bello", nullptr, "Fehler: Datum ungültig!",
         F::DatumEdit, "", ""},
        {Mode::NewAppointment, "1.2.25", "25:00", "Bello", nullptr, "Fehler: Uhrzeit ungültig!",
         F::ZeitEdit, "", ""},
        {Mode::NewAppointment, "1.2.25", "9", "Bello", "Fehlt.tlv", "Fehler: Datei nicht gefunden!",
         F::ErinnerungEdit, "", ""},
        {Mode::SetClock, "15.3.24", "7:05", "", nullptr, "", -1, "15.03.2024", "07:05"},
        {Mode::DispensingDate, "x", "", "", nullptr, "Fehler: Datum ungültig!", F::DatumEdit, "",
         ""},
        {Mode::FavoriteName, "", "", "   ", nullptr, "Fehler: Name ungültig!", F::TerminEdit, "",
         ""},
        {Mode::FavoriteName, "", "", "Impfung", nullptr, "Fehler: Name existiert bereits!",
         F::TerminEdit, "", ""},
        {Mode::Balance, "", "", "12,3,4", nullptr, "Fehler: Betrag ungültig!", F::TerminEdit, "",
         ""},
        {Mode::Password, "", "", "geheim", nullptr, "", -1, "", ""},
    };
    for (const Case& c : cases) {
        F form(c.mode, Texts());
        form.checkName = [](const QString& name) {
            return name == QLatin1String("Impfung")
                       ? QStringLiteral("Fehler: Name existiert bereits!")
                       : QString();
        };
        form.SetText(F::DatumEdit, QString::fromLatin1(c.date));
        form.SetText(F::ZeitEdit, QString::fromLatin1(c.time));
        form.SetText(F::TerminEdit, QString::fromLatin1(c.text));
        if (c.reminder) {
            form.SetReminderOn(true);
            form.SetText(F::ErinnerungEdit, QString::fromLatin1(c.reminder));
        }
        m_port.messages.clear();
        const bool ok = form.Ok(m_port);
        const std::string what =
            std::string(1, char(c.mode)) + " " + c.date + " " + c.time + " " + c.text;
        EXPECT_EQ(ok, !*c.message) << what;
        if (!ok) {
            ASSERT_EQ(m_port.messages.size(), 1) << what;
            EXPECT_TRUE(m_port.LastText().startsWith(QString::fromUtf8(c.message))) << what;
            EXPECT_EQ(form.TakeFocusRequest(), c.focus) << what;
            continue;
        }
        EXPECT_TRUE(m_port.messages.isEmpty()) << what;
        if (form.Shows(F::DatumEdit)) {
            EXPECT_EQ(form.Text(F::DatumEdit), QString::fromLatin1(c.storedDate)) << what;
        }
        if (form.Shows(F::ZeitEdit)) {
            EXPECT_EQ(form.Text(F::ZeitEdit), QString::fromLatin1(c.storedTime)) << what;
        }
    }
}

TEST_F(TerminEditForm, MissingReminderNamesTheFullPathInUpperCase)
{
    F form(Mode::NewAppointment, Texts());
    form.SetText(F::DatumEdit, "1.2.2025");
    form.SetReminderOn(true);
    form.SetText(F::ErinnerungEdit, "/irgendwo/anders/fehlt.tlv");
    ASSERT_FALSE(form.Ok(m_port));
    EXPECT_EQ(form.Text(F::ErinnerungEdit), QStringLiteral("fehlt.tlv")) << "the name part only";
    EXPECT_EQ(m_port.LastText(), QStringLiteral("Fehler: Datei nicht gefunden!\r") +
                                     QDir(Texts()).filePath("fehlt.tlv").toUpper());
}

TEST_F(TerminEditForm, ReminderBoxAndCustomerNumberFollowWhatIsTyped)
{
    F form(Mode::ChangeAppointment, Texts());
    appointments::Appointment a;
    a.date = "15.03.2024";
    a.text = "Meier Anna, 12345 Ort";
    a.customer = "0007";
    form.SetAppointment(a, {"Meier", "Anna", "12345 Ort"});
    EXPECT_FALSE(form.ReminderOn());
    EXPECT_TRUE(form.Field(F::ErinnerungEdit).readOnly);

    form.SetReminderOn(true);
    EXPECT_EQ(form.Text(F::ErinnerungEdit), QStringLiteral("ImpfErg.tlv"))
        << "proposed when the letter is there, whatever its case";
    form.TakeOverBlock(QString(150, QLatin1Char('x')));
    EXPECT_EQ(form.Text(F::TextbausteinEdit).size(), 100);
    form.SetReminderOn(false);
    EXPECT_TRUE(form.Text(F::ErinnerungEdit).isEmpty());
    EXPECT_TRUE(form.Field(F::TextbausteinEdit).readOnly);
    EXPECT_TRUE(form.Result().reminder.isEmpty());

    form.SetText(F::TerminEdit, "Impfung Anna");
    form.Leave(F::TerminEdit);
    EXPECT_EQ(form.Text(F::KNrEdit), QStringLiteral("0007")) << "the first name still names him";
    form.SetText(F::TerminEdit, "Praxis geschlossen");
    form.Leave(F::TerminEdit);
    EXPECT_TRUE(form.Text(F::KNrEdit).isEmpty());
}

TEST_F(TerminEditForm, ClockModeTakesEarlyYearsAsThisCentury)
{
    F form(Mode::SetClock);
    form.SetText(F::DatumEdit, "3.4.1975");
    form.SetText(F::ZeitEdit, "8");
    ASSERT_TRUE(form.Ok(m_port));
    EXPECT_EQ(form.ClockTime(), QDateTime(QDate(2075, 4, 3), QTime(8, 0)));
}
