#include <gtest/gtest.h>

#include "appointments/Appointments.h"
#include "appointments/ReminderLetter.h"
#include "texts/LetterHead.h"

using namespace appointments;

TEST(AppointmentRules, TypedTimesAreNormalisedOrRefused)
{
    struct Case {
        const char* typed;
        const char* stored;  // nullptr: refused
    };
    const Case cases[] = {
        {"14", "14:00"},     {"9", "09:00"},     {"9:5", "09:05"},     {" 7:30 ", "07:30"},
        {"23:59", "23:59"},  {"0", "00:00"},     {"7:30:15", "07:30"}, {"25:00", nullptr},
        {"24", nullptr},     {"12:60", nullptr}, {"14:", nullptr},     {"9.30", nullptr},
        {"123:00", nullptr}, {"", nullptr},      {"1:2:3:4", nullptr},
    };
    for (const Case& c : cases) {
        QString stored;
        const bool ok = NormalizeTime(QString::fromLatin1(c.typed), &stored);
        EXPECT_EQ(ok, c.stored != nullptr) << c.typed;
        if (ok && c.stored) {
            EXPECT_EQ(stored, QString::fromLatin1(c.stored)) << c.typed;
        }
    }
}

TEST(AppointmentRules, MonthAndYearStepsKeepTheDayInTheTargetMonth)
{
    enum Kind { Month, Year };
    struct Case {
        QDate from;
        Kind kind;
        int delta;
        QDate to;
        const char* error;
    };
    const Case cases[] = {
        {{2025, 1, 31}, Month, +1, {2025, 2, 28}, ""},
        {{2024, 1, 31}, Month, +1, {2024, 2, 28}, ""},  // also in a leap year
        {{2024, 3, 31}, Month, -1, {2024, 2, 28}, ""},
        {{2025, 5, 31}, Month, +1, {2025, 6, 30}, ""},
        {{2025, 10, 31}, Month, +1, {2025, 11, 30}, ""},
        {{2025, 7, 31}, Month, +1, {2025, 8, 31}, ""},
        {{2025, 12, 15}, Month, +1, {2026, 1, 15}, ""},
        {{2025, 1, 15}, Month, -1, {2024, 12, 15}, ""},
        {{2099, 12, 15}, Month, +1, {2099, 12, 15}, ""},  // the calendar ends in 2099
        {{1980, 1, 15}, Month, -1, {1980, 1, 15}, ""},
        {{2024, 2, 29}, Year, +1, {2024, 2, 29}, "29.2.2025 ist keine gültiges Datum!"},
        {{2024, 6, 10}, Year, -1, {2023, 6, 10}, ""},
        {{1980, 6, 10}, Year, -1, {1980, 6, 10}, ""},
        {{2099, 6, 10}, Year, +1, {2099, 6, 10}, ""},
    };
    for (const Case& c : cases) {
        const Step step = c.kind == Month ? StepMonth(c.from, c.delta) : StepYear(c.from, c.delta);
        EXPECT_EQ(step.date, c.to) << c.from.toString().toStdString() << " " << c.delta;
        EXPECT_EQ(step.error, QString::fromUtf8(c.error));
    }
}

TEST(AppointmentRules, ScansSkipUnreadableRecordsAndTreatAnEmptyTimeAsMidnight)
{
    const QStringList lines = {
        "15.03.2024\t\tganztags\t\t\t\t\t",    "15.03.2024\t09:00\tneun\t\t\t\t\t",
        "kaputt\t08:00\tkein Datum\t\t\t\t\t", "15.03.2024\t1x:00\tkeine Zeit\t\t\t\t\t",
        "15.03.2024\t11:30\telf\t\t\t\t\t",    "16.03.2024\t08:00\tmorgen\t\t\t\t\t",
    };
    const QDateTime nine(QDate(2024, 3, 15), QTime(9, 0));
    EXPECT_EQ(InsertPosition(lines, nine), 2) << "after the equal one, before the broken ones";
    EXPECT_EQ(InsertPosition(lines, QDateTime(QDate(2024, 3, 1), QTime(0, 0))), 0);
    EXPECT_EQ(InsertPosition(lines, QDateTime(QDate(2024, 3, 31), QTime(0, 0))), 6);
    EXPECT_EQ(FirstAtOrAfter(lines, QDateTime(QDate(2024, 3, 15), QTime(10, 0))), 4);
    EXPECT_EQ(FirstAtOrAfter(lines, QDateTime(QDate(2024, 4, 1), QTime(0, 0))), 5)
        << "none later: the last";
    EXPECT_EQ(CountOn(lines, QDate(2024, 3, 15)), 3);
    EXPECT_EQ(TodayButtonText(1), QStringLiteral("Heute liegt 1 Termin vor ..."));
    EXPECT_EQ(TodayButtonText(3), QStringLiteral("Heute liegen 3 Termine vor ..."));
    EXPECT_TRUE(TodayButtonText(0).isEmpty());
}

TEST(ReminderLetter, OnlyTheFirstPlaceholderOfALineIsReplacedAndTheHeaderGivesTheSubject)
{
    LetterHead head;
    head.title = QStringLiteral("Impferinnerung");
    const QStringList file = {tlvheader::Build(head), QStringLiteral("Liebe Tierhalter,"),
                              QStringLiteral("für TTT und TTT ist es Zeit."), QStringLiteral("TTT"),
                              QStringLiteral("Ohne Baustein.")};
    const reminders::Letter letter = reminders::Compose(file, QStringLiteral("Bello"));
    EXPECT_EQ(letter.subject, QStringLiteral("Impferinnerung"));
    EXPECT_EQ(letter.lines, QStringList({"Liebe Tierhalter,", "für Bello und TTT ist es Zeit.",
                                         "Bello", "Ohne Baustein."}));

    const reminders::Letter plain =
        reminders::Compose({QStringLiteral("Kein Platzhalter")}, QStringLiteral("Bello"));
    EXPECT_EQ(plain.lines, QStringList{"Kein Platzhalter"});
    EXPECT_TRUE(plain.subject.isEmpty());
}

TEST(ReminderLetter, MailControlSequenceKeepsItsOrder)
{
    const QHash<QString, QString> codes = {
        {"MailPrClientAct", "<C>"}, {"MailPrEndCode", "|"},       {"MailPrSystem", "<S>"},
        {"MailPrAdrUeberg", "<A>"}, {"MailPrPDFNameSave", "<N>"}, {"MailPrPDFNameSend", "<M>"},
        {"MailPrBetreff", "<B>"},   {"MailPrBodyDatei", "<D>"},
    };
    EXPECT_EQ(reminders::MailControlSequence(codes, QStringLiteral("a@b.de")),
              QStringLiteral("<C>|<S>|<A>a@b.de|<N>Terminsache |<M>Terminsache |<B>|<D>|"));
}

TEST(ReminderLetter, CustomerNumbersCompareAsIntegers)
{
    const QStringList customers = {"Meier\tAnna\tWeg 1\t12345 Ort\t0007\t\t\t\t\t\t",
                                   "Kunz\tBen\tWeg 2\t12345 Ort\t0012\t\t\t\t\t\t"};
    EXPECT_EQ(reminders::FindCustomer(customers, QStringLiteral("12")), 1);
    EXPECT_EQ(reminders::FindCustomer(customers, QStringLiteral("0007")), 0);
    EXPECT_EQ(reminders::FindCustomer(customers, QStringLiteral("7a")), -1);
    EXPECT_EQ(reminders::FindCustomer(customers, QString()), -1);
}
