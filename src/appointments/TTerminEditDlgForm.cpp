#include "appointments/TTerminEditDlgForm.h"

#include <QDir>
#include <QFileInfo>

#include "appointments/ReminderLetter.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"

namespace {

constexpr int kTextLimit = 100;
constexpr int kNameLimit = 40;

// The file name part of a typed or chosen path, whichever separator it uses.
QString NamePart(const QString& path)
{
    QString p = path.trimmed();
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

bool Names(const QString& text, const QString& part)
{
    return !part.trimmed().isEmpty() && text.contains(part.trimmed(), Qt::CaseInsensitive);
}

}  // namespace

TTerminEditDlgForm::TTerminEditDlgForm(Mode mode, QString textsFolder)
    : FormBase(kCount), m_mode(mode), m_textsFolder(std::move(textsFolder))
{
    m_fields[DatumEdit].maxLength = 10;
    m_fields[ZeitEdit].maxLength = 8;
    m_fields[KNrEdit].readOnly = true;
    m_fields[TextbausteinEdit].maxLength = kTextLimit;
    switch (mode) {
        case Mode::FavoriteName:
            m_fields[TerminEdit].maxLength = kNameLimit;
            break;
        case Mode::Balance:
            m_fields[TerminEdit].maxLength = 12;
            break;
        case Mode::Password:
            break;
        default:
            m_fields[TerminEdit].maxLength = kTextLimit;
            break;
    }
    ApplyReminderLock();
}

std::optional<TTerminEditDlgForm::Mode> TTerminEditDlgForm::ModeOf(QChar letter)
{
    for (Mode m : {Mode::NewAppointment, Mode::ChangeAppointment, Mode::SetClock,
                   Mode::DispensingDate, Mode::FavoriteName, Mode::Password, Mode::Balance}) {
        if (letter == QLatin1Char(char(m)))
            return m;
    }
    return std::nullopt;
}

QString TTerminEditDlgForm::Caption() const
{
    switch (m_mode) {
        case Mode::NewAppointment:
            return QStringLiteral("Neuer Termin");
        case Mode::ChangeAppointment:
            return QStringLiteral("Termin ändern");
        case Mode::SetClock:
            return QStringLiteral("Akt. Datum/Uhrzeit ändern");
        case Mode::DispensingDate:
            return QStringLiteral("Abgabedatum ändern");
        case Mode::FavoriteName:
            return QStringLiteral("Zu Favoriten hinzufügen");
        case Mode::Password:
            return QStringLiteral("Passwort");
        case Mode::Balance:
            return QStringLiteral("Kontostand ändern");
    }
    return QStringLiteral("Termin");
}

bool TTerminEditDlgForm::AppointmentMode() const
{
    return m_mode == Mode::NewAppointment || m_mode == Mode::ChangeAppointment;
}

bool TTerminEditDlgForm::Shows(int id) const
{
    switch (id) {
        case DatumEdit:
            return AppointmentMode() || m_mode == Mode::SetClock || m_mode == Mode::DispensingDate;
        case ZeitEdit:
            return AppointmentMode() || m_mode == Mode::SetClock;
        case TerminEdit:
            return AppointmentMode() || m_mode == Mode::FavoriteName || m_mode == Mode::Password ||
                   m_mode == Mode::Balance;
        default:
            return AppointmentMode();
    }
}

QString TTerminEditDlgForm::FieldCaption(int id) const
{
    switch (id) {
        case DatumEdit:
            return QStringLiteral("&Datum:");
        case ZeitEdit:
            return QStringLiteral("&Uhrzeit:");
        case TerminEdit:
            if (m_mode == Mode::FavoriteName)
                return QStringLiteral("&Name:");
            if (m_mode == Mode::Password)
                return QStringLiteral("&Passwort:");
            if (m_mode == Mode::Balance)
                return QStringLiteral("&Betrag:");
            return QStringLiteral("&Termin:");
        case KNrEdit:
            return QStringLiteral("K-Nr.");
        case ErinnerungEdit:
            return QStringLiteral("&Erinnerung:");
        case TextbausteinEdit:
            return QStringLiteral("Text&baustein TTT:");
        default:
            return {};
    }
}

QString TTerminEditDlgForm::FieldHint(int id) const
{
    if (id == DatumEdit)
        return QStringLiteral("[tt.mm.jj]");
    if (id == ZeitEdit)
        return QStringLiteral("[hh:mm]");
    return {};
}

void TTerminEditDlgForm::SetAppointment(const appointments::Appointment& a,
                                        const Customer& customer)
{
    m_customer = customer;
    m_fields[DatumEdit].SetText(a.date);
    m_fields[ZeitEdit].SetText(a.time);
    m_fields[TerminEdit].SetText(a.text.left(kTextLimit));
    m_fields[KNrEdit].SetText(a.customer);
    m_fields[ErinnerungEdit].SetText(a.reminder);
    m_fields[TextbausteinEdit].SetText(a.block.left(kTextLimit));
    m_reminderOn = !a.reminder.isEmpty();
    ApplyReminderLock();
}

appointments::Appointment TTerminEditDlgForm::Result() const
{
    appointments::Appointment a;
    a.date = Text(DatumEdit);
    a.time = Text(ZeitEdit);
    a.text = Text(TerminEdit);
    a.customer = Text(KNrEdit);
    a.reminder = m_reminderOn ? Text(ErinnerungEdit) : QString();
    a.block = Text(TextbausteinEdit);
    return a;
}

void TTerminEditDlgForm::ApplyReminderLock()
{
    m_fields[ErinnerungEdit].readOnly = !m_reminderOn;
    m_fields[TextbausteinEdit].readOnly = !m_reminderOn;
}

void TTerminEditDlgForm::SetReminderOn(bool on)
{
    m_reminderOn = on;
    if (!on) {
        m_fields[ErinnerungEdit].SetText(QString());
    } else if (Text(ErinnerungEdit).isEmpty() &&
               QFileInfo(files::FindCaseInsensitive(m_textsFolder, reminders::kDefaultLetter))
                   .isFile()) {
        m_fields[ErinnerungEdit].SetText(reminders::kDefaultLetter);
    }
    ApplyReminderLock();
}

void TTerminEditDlgForm::ChooseReminder(UserPort& port)
{
    if (!m_reminderOn)
        return;
    const QString chosen =
        port.ChooseOpenFile(QStringLiteral("Datei öffnen"), m_textsFolder,
                            QStringLiteral("Talven-Dateien (*.tlv);;Alle Dateien (*)"));
    if (chosen.isEmpty())
        return;
    if (!QFileInfo(chosen).isFile()) {
        port.Message(MsgKind::Error, QStringLiteral("Talven kann die Datei nicht öffnen. (") +
                                         NamePart(chosen) + QLatin1Char(')'));
        return;
    }
    m_fields[ErinnerungEdit].SetText(NamePart(chosen));
}

void TTerminEditDlgForm::TakeOverBlock(const QString& text)
{
    if (m_reminderOn)
        EditText(TextbausteinEdit, text.simplified().left(kTextLimit));
}

void TTerminEditDlgForm::SetDate(const QDate& date)
{
    m_fields[DatumEdit].SetText(dates::Format(date));
}

void TTerminEditDlgForm::SetTime(const QTime& time)
{
    m_fields[ZeitEdit].SetText(time.toString(QStringLiteral("HH:mm")));
}

QDate TTerminEditDlgForm::Date() const
{
    QDate d;
    return dates::TryParse(Text(DatumEdit), &d) ? d : QDate();
}

QDateTime TTerminEditDlgForm::ClockTime() const
{
    QDate date = Date();
    if (date.isValid() && date.year() < appointments::kFirstYear)
        date = QDate(2000 + date.year() % 100, date.month(), date.day());
    QTime time(0, 0);
    QString normal;
    if (appointments::NormalizeTime(Text(ZeitEdit), &normal))
        time = QTime::fromString(normal, QStringLiteral("HH:mm"));
    return QDateTime(date, time);
}

QString TTerminEditDlgForm::Value() const
{
    QString text = Text(TerminEdit);
    if (m_mode == Mode::FavoriteName) {
        while (text.startsWith(QLatin1Char(' ')))
            text.remove(0, 1);
    }
    return text;
}

QChar TTerminEditDlgForm::FilterKey(int id, QChar key)
{
    if (key == kKeyBackspace)
        return key;
    const FormField& field = m_fields[id];
    switch (id) {
        case DatumEdit:
            if (key == QLatin1Char(','))
                key = QLatin1Char('.');
            return key.isDigit() || key == QLatin1Char('.') ? key : QChar();
        case ZeitEdit:
            return key.isDigit() || key == QLatin1Char(':') ? key : QChar();
        case TerminEdit:
            if (m_mode != Mode::Balance)
                return key;
            if (key == QLatin1Char('.'))
                key = QLatin1Char(',');
            if (key == QLatin1Char('-'))
                return field.InsertPos() == 0 && !field.TextWith(key).mid(1).contains(key)
                           ? key
                           : QChar();
            if (key == QLatin1Char(','))
                return field.TextWith(key).count(key) == 1 ? key : QChar();
            return key.isDigit() ? key : QChar();
        default:
            return key;
    }
}

bool TTerminEditDlgForm::Leave(int id, bool closingOk)
{
    (void)closingOk;
    if (id == ErinnerungEdit) {
        m_fields[ErinnerungEdit].SetText(NamePart(Text(ErinnerungEdit)));
    } else if (id == TerminEdit && AppointmentMode() && !Text(KNrEdit).isEmpty() &&
               !(m_customer.name + m_customer.firstName + m_customer.town).trimmed().isEmpty()) {
        const QString text = Text(TerminEdit);
        if (!Names(text, m_customer.name) && !Names(text, m_customer.firstName) &&
            !Names(text, m_customer.town))
            m_fields[KNrEdit].SetText(QString());
    }
    return true;
}

bool TTerminEditDlgForm::Refuse(UserPort& port, int id, const QString& message)
{
    port.Message(MsgKind::Error, message);
    RequestFocus(id);
    return false;
}

bool TTerminEditDlgForm::Ok(UserPort& port)
{
    if (Shows(DatumEdit)) {
        const QString normal = dates::Normalize(Text(DatumEdit));
        if (normal.isEmpty())
            return Refuse(port, DatumEdit, QStringLiteral("Fehler: Datum ungültig!"));
        m_fields[DatumEdit].SetText(normal);
    }
    if (Shows(ZeitEdit) && !Text(ZeitEdit).trimmed().isEmpty()) {
        QString normal;
        if (!appointments::NormalizeTime(Text(ZeitEdit), &normal))
            return Refuse(port, ZeitEdit, QStringLiteral("Fehler: Uhrzeit ungültig!"));
        m_fields[ZeitEdit].SetText(normal);
    } else if (Shows(ZeitEdit)) {
        m_fields[ZeitEdit].SetText(QString());
    }
    if (AppointmentMode()) {
        Leave(ErinnerungEdit);
        const QString name = Text(ErinnerungEdit);
        if (m_reminderOn && !name.isEmpty() &&
            !QFileInfo(files::FindCaseInsensitive(m_textsFolder, name)).isFile())
            return Refuse(port, ErinnerungEdit,
                          QStringLiteral("Fehler: Datei nicht gefunden!\r") +
                              QDir(m_textsFolder).filePath(name).toUpper());
    }
    if (m_mode == Mode::FavoriteName) {
        const QString name = Value();
        QString error = checkName ? checkName(name) : QString();
        if (error.isEmpty() && name.trimmed().isEmpty())
            error = QStringLiteral("Fehler: Name ungültig!");
        if (!error.isEmpty())
            return Refuse(port, TerminEdit, error);
    }
    if (m_mode == Mode::Balance) {
        long double value = 0;
        if (!TryStrToFloat(Text(TerminEdit), &value))
            return Refuse(port, TerminEdit, QStringLiteral("Fehler: Betrag ungültig!"));
    }
    return true;
}

std::optional<QString> TerminFavoriteNameAsker::AskName(const Check& check)
{
    TTerminEditDlgForm form(TTerminEditDlgForm::Mode::FavoriteName);
    form.checkName = check;
    if (!m_runner.Run(form))
        return std::nullopt;
    return form.Value();
}
