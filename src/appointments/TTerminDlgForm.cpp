#include "appointments/TTerminDlgForm.h"

#include <QDir>
#include <QFileInfo>

#include "appointments/ReminderLetter.h"
#include "appointments/TTerminEditDlgForm.h"
#include "common/Clock.h"
#include "common/CodePage.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/LayoutStore.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintStrList.h"
#include "printing/TStapelDruckDlgForm.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableFile.h"

using namespace recordline;
using appointments::Appointment;

namespace {

// Restores the standard printer however a letter ends.
class PrinterRestore {
public:
    explicit PrinterRestore(const ReminderPrinters& p) : m_p(p) {}
    ~PrinterRestore()
    {
        if (m_p.selectPrinter)
            m_p.selectPrinter(m_p.standardPrinter);
    }
    PrinterRestore(const PrinterRestore&) = delete;
    PrinterRestore& operator=(const PrinterRestore&) = delete;

private:
    const ReminderPrinters& m_p;
};

QDate DateOf(const QString& text)
{
    QDate d;
    return dates::TryParse(text, &d) ? d : QDate();
}

}  // namespace

TTerminDlgForm::TTerminDlgForm(UserPort& port, const Clock& clock, TerminSetup setup,
                               TerminDialogs& dialogs)
    : m_port(port),
      m_clock(clock),
      m_setup(std::move(setup)),
      m_dialogs(dialogs),
      m_grid(std::make_unique<TSGrid>(port, m_setup.tableEnv)),
      m_date(clock.Today())
{
    m_grid->SetColCount(kAppointmentCells + 1);
    m_grid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect);
    m_grid->SetWriteThrough(false);
    m_grid->SetTitles(Titles());
    m_grid->IndicatorOf = appointments::Marker;
    m_grid->SetLines({});
}

TTerminDlgForm::~TTerminDlgForm() = default;

QStringList TTerminDlgForm::Titles()
{
    return {QString(),
            QStringLiteral("Datum"),
            QStringLiteral("Zeit"),
            QStringLiteral("Termin"),
            QStringLiteral("KNr"),
            QStringLiteral("Erinnerung"),
            QStringLiteral("Textbaustein TTT"),
            QStringLiteral("gedruckt am")};
}

QString TTerminDlgForm::DateCaption() const
{
    return dates::LongGerman(m_date);
}

QString TTerminDlgForm::ReminderHint() const
{
    return QStringLiteral("Erinnerungen vom ") + dates::Format(m_date) + QStringLiteral(" drucken");
}

// ---- Month files ----

QString TTerminDlgForm::MonthPath(const QDate& day, bool create)
{
    const QString folder = files::FindCaseInsensitive(m_setup.dataFolder, appointments::kFolder);
    if (!QFileInfo(folder).isDir() &&
        (!create || !QDir(m_setup.dataFolder).mkdir(QFileInfo(folder).fileName()))) {
        return {};
    }
    return files::FindCaseInsensitive(folder, appointments::MonthFileName(day.month(), day.year()));
}

QString TTerminDlgForm::BackupFolder()
{
    const TableEnvironment& env = *m_setup.tableEnv;
    if (env.readOnlyMedium || !env.autoBackup || env.autoBackupFolder.isEmpty())
        return {};
    const QString root = table::WithSlash(env.autoBackupFolder);
    QString bare = root;
    bare.chop(1);
    for (;;) {
        const VolumeInfo medium = env.Volume(root);
        if (medium.reachable && QFileInfo(bare).isDir()) {
            const QString folder =
                table::WithSlash(files::FindCaseInsensitive(root, appointments::kFolder));
            bool created = false;
            if (table::EnterBackupFolder(folder, created))
                return folder;
        }
        const QString name = medium.mountPoint.isEmpty() ? bare : medium.mountPoint;
        m_port.SetBusy(false);
        const Answer answer = m_port.Message(
            MsgKind::Error,
            QStringLiteral("Auf das Backup-Laufwerk ") + name +
                QStringLiteral(" kann nicht zugegriffen werden.\rBitte überprüfen Sie den "
                               "Datenträger!"),
            Buttons::OkAbort);
        if (answer != Answer::Ok)
            return {};
    }
}

bool TTerminDlgForm::Load(TSGrid& grid, const QDate& day, QString* path)
{
    *path = MonthPath(day, true);
    if (path->isEmpty()) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim Schreiben auf Datenräger!"));
        return false;
    }
    grid.SetLines({});
    if (QFileInfo(*path).isFile()) {
        BusyScope busy(m_port);
        grid.LoadTable(*path);
    }
    return true;
}

bool TTerminDlgForm::ShowDay(const QDate& day)
{
    if (!day.isValid())
        return false;
    m_date = day;
    m_grid->BackupFilePath = BackupFolder();
    if (!Load(*m_grid, day, &m_path)) {
        m_closing = true;
        return false;
    }
    Position();
    return true;
}

void TTerminDlgForm::Today()
{
    ShowDay(m_clock.Today());
}

void TTerminDlgForm::Position()
{
    const QDateTime now = m_clock.Now();
    const QDateTime reference = m_date == now.date() ? now : QDateTime(m_date, QTime(0, 0));
    const int first = appointments::FirstAtOrAfter(m_grid->Lines(), reference);
    if (first >= 0)
        Select(first);
}

void TTerminDlgForm::Select(int record)
{
    // Going to the end first leaves the record at the top of the window.
    m_grid->GotoRecord(1, m_grid->RecordCount() - 1);
    m_grid->GotoRecord(1, record);
}

bool TTerminDlgForm::Save()
{
    return m_grid->SaveTable(m_path);
}

int TTerminDlgForm::TodayCount(const QString& dataFolder, const QDate& today)
{
    const QString folder = files::FindCaseInsensitive(dataFolder, appointments::kFolder);
    QStringList lines;
    if (!cp1252::ReadLines(files::FindCaseInsensitive(
                               folder, appointments::MonthFileName(today.month(), today.year())),
                           lines))
        return 0;
    return appointments::CountOn(lines, today);
}

void TTerminDlgForm::Step(const appointments::Step& step)
{
    if (!step.error.isEmpty()) {
        m_port.Message(MsgKind::Error, step.error);
        return;
    }
    if (step.date != m_date)
        ShowDay(step.date);
}

// ---- Edits ----

QString TTerminDlgForm::CurrentCustomerLine() const
{
    const TSGrid* customers = m_setup.customers;
    if (!customers || customers->RecordCount() == 0)
        return {};
    return customers->RecordLine(customers->CurrentRecord());
}

bool TTerminDlgForm::Edit(TTerminEditDlgForm& form, const Appointment& a)
{
    QString customer = CurrentCustomerLine();
    if (form.GetMode() == TTerminEditDlgForm::Mode::ChangeAppointment) {
        const int found = m_setup.customers
                              ? reminders::FindCustomer(m_setup.customers->Lines(), a.customer)
                              : -1;
        customer = found >= 0 ? m_setup.customers->Lines()[found] : QString();
    }
    form.SetAppointment(
        a, {Cell(customer, kCustName), Cell(customer, kCustFirstName), Cell(customer, kCustTown)});
    return m_dialogs.RunEdit(form);
}

int TTerminDlgForm::InsertInto(TSGrid& grid, const QString& line)
{
    QDateTime start;
    appointments::StartOf(line, &start);
    QStringList lines = grid.Lines();
    const int at = appointments::InsertPosition(lines, start);
    lines.insert(at, line);
    grid.SetLines(std::move(lines));
    return at;
}

void TTerminDlgForm::NewAppointment()
{
    TTerminEditDlgForm form(TTerminEditDlgForm::Mode::NewAppointment, m_setup.textsFolder);
    Appointment a;
    a.date = dates::Format(m_date);
    const QString customer = CurrentCustomerLine();
    if (!customer.isEmpty()) {
        a.text = Cell(customer, kCustName) + QLatin1Char(' ') + Cell(customer, kCustFirstName) +
                 QStringLiteral(", ") + Cell(customer, kCustTown);
        a.customer = Cell(customer, kCustNumber);
    }
    if (!Edit(form, a)) {
        m_port.Message(MsgKind::Information, QStringLiteral("Kein Datensatz wurde eingefügt!"));
        return;
    }
    const Appointment entered = form.Result();
    if (!ShowDay(DateOf(entered.date)))
        return;
    const int at = InsertInto(*m_grid, appointments::LineOf(entered));
    if (!Save()) {
        ShowDay(m_date);  // show what the file holds
        return;
    }
    Select(at);
}

void TTerminDlgForm::ChangeAppointment()
{
    if (m_grid->RecordCount() == 0) {
        m_port.Message(MsgKind::Information, QStringLiteral("Datenbank (Termine) ist leer!"));
        return;
    }
    const int record = m_grid->CurrentRecord();
    TTerminEditDlgForm form(TTerminEditDlgForm::Mode::ChangeAppointment, m_setup.textsFolder);
    if (!Edit(form, appointments::FromLine(m_grid->RecordLine(record)))) {
        m_port.Message(MsgKind::Information, QStringLiteral("Eintrag wurde nicht bearbeitet!"));
        return;
    }
    Appointment changed = form.Result();
    changed.printed.clear();  // a changed appointment wants its reminder again
    const QString line = appointments::LineOf(changed);
    const QDate to = DateOf(changed.date);
    const QStringList before = m_grid->Lines();

    if (to.year() == m_date.year() && to.month() == m_date.month()) {
        QStringList lines = before;
        lines.removeAt(record);
        m_grid->SetLines(std::move(lines));
        const int at = InsertInto(*m_grid, line);
        if (!Save()) {
            m_grid->SetLines(before);
            Select(record);
            return;
        }
        ShowDay(to);
        Select(at);
        return;
    }
    // Into the other month's file first: when that fails, the appointment stays where it
    // was instead of being lost between the two files.
    TSGrid target(m_port, m_setup.tableEnv);
    target.SetColCount(kAppointmentCells + 1);
    target.BackupFilePath = m_grid->BackupFilePath;
    QString targetPath;
    if (!Load(target, to, &targetPath))
        return;
    InsertInto(target, line);
    if (!target.SaveTable(targetPath))
        return;
    m_grid->DeleteRecordQuiet(record);
    Save();
    ShowDay(to);
    const int at = int(m_grid->Lines().indexOf(line));
    if (at >= 0)
        Select(at);
}

void TTerminDlgForm::DeleteAppointment()
{
    if (m_grid->RecordCount() == 0) {
        m_port.Message(MsgKind::Information, QStringLiteral("Datenbank (Termine) ist leer!"));
        return;
    }
    if (m_port.Message(MsgKind::Confirmation,
                       QStringLiteral("Aktuellen Datensatz wirklich löschen?"),
                       Buttons::YesNo) != Answer::Yes)
        return;
    const QStringList before = m_grid->Lines();
    const int record = m_grid->CurrentRecord();
    m_grid->DeleteRecord(record);
    if (!Save())
        m_grid->SetLines(before);
}

bool TTerminDlgForm::SelectCustomer(int record)
{
    if (record < 0 || record >= m_grid->RecordCount())
        return false;
    const QString number = Cell(m_grid->RecordLine(record), kTermCustomer);
    const int found =
        m_setup.customers ? reminders::FindCustomer(m_setup.customers->Lines(), number) : -1;
    if (found < 0) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Termin ohne Bestandskunde,\rKunde wurde nicht gefunden!"));
        return false;
    }
    m_setup.customers->GotoRecord(1, found);
    return true;
}

// ---- The clock ----

void TTerminDlgForm::SetClock()
{
    TTerminEditDlgForm form(TTerminEditDlgForm::Mode::SetClock);
    const QDateTime now = m_clock.Now();
    form.SetDate(now.date());
    form.SetTime(now.time());
    if (!m_dialogs.RunEdit(form))
        return;
    if (!m_dialogs.SetSystemTime(form.ClockTime())) {
        m_port.Message(MsgKind::Error,
                       QStringLiteral(" Datum und Uhrzeit wurde nicht neu gestellt !"));
        return;
    }
    Today();
}

// ---- Reminder letters ----

bool TTerminDlgForm::PrintLetter(const Appointment& a, bool mail)
{
    const QString folder = table::WithSlash(m_setup.textsFolder);
    const QString path = folder + a.reminder;
    const QString file = files::FindCaseInsensitive(folder, a.reminder);
    if (!QFileInfo(file).isFile()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Datei nicht vorhanden.\r") + path);
        return false;
    }
    QStringList lines;
    if (!cp1252::ReadLines(file, lines)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim lesen von ") + path);
        return false;
    }
    const reminders::Letter letter = reminders::Compose(lines, a.block);

    int number = 0;
    if (!TryStrToInt(a.customer.trimmed(), &number))
        number = 0;
    const QStringList customers = m_setup.customers ? m_setup.customers->Lines() : QStringList();
    const int found = reminders::FindCustomer(customers, a.customer);
    const QString customer = found >= 0 ? customers[found] : QString();
    if (found < 0) {
        m_port.Message(MsgKind::Error, QStringLiteral("Kunde %1 nicht gefunden.").arg(number));
    }

    const ReminderPrinters& out = m_setup.printers;
    TPrintStrList& printer = *out.printer;
    MemoryLayoutStore defaults;
    TMemoSeiteEinrichtenDlgForm layout(out.layouts ? *out.layouts : defaults);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
    layout.ApplyToLetter(printer);
    // The customer number tells the letters of one run apart (PDF file names, spooler).
    printer.PrintMgrTitle = (QStringLiteral("Talven - Terminsache ") + a.customer).trimmed();
    printer.Kopf = reminders::Slots(*m_setup.options, customer, letter.subject);
    printer.DateLabel = dates::Format(m_clock.Today());
    printer.StringList = letter.lines;

    const QString address = Cell(customer, kCustMail).trimmed();
    bool printed = false;
    {
        PrinterRestore restore(out);
        if (mail && !address.isEmpty() && !out.mailPrinter.isEmpty()) {
            if (out.selectPrinter)
                out.selectPrinter(out.mailPrinter);
            printed = printer.Print(reminders::MailControlSequence(out.mailCodes, address));
        } else {
            if (out.selectPrinter)
                out.selectPrinter(out.standardPrinter);
            printed = printer.Print();
        }
    }
    printer.StringList.clear();
    printer.KopfPrint = false;
    printer.Mahnung = false;
    return printed;
}

void TTerminDlgForm::PrintReminders()
{
    const QString day = dates::Format(m_date);
    m_dialogs.ShowProgress(QStringLiteral("Erinnerungen vom ") + day);
    const ReminderPrinters& out = m_setup.printers;
    TStapelDruckDlgForm batch(
        {QStringLiteral("Stapeldruck: Terminsache"), out.standardPrinter, out.mailPrinter,
         out.mailPrinter.isEmpty() ? QString() : QStringLiteral("E-Mail auf ") + out.mailPrinter});
    if (!out.printer || !m_dialogs.RunBatchDialog(batch)) {
        m_dialogs.ShowProgress({});
        return;
    }
    int count = 0;
    for (int i = 0; i < m_grid->RecordCount(); ++i) {
        const QString line = m_grid->RecordLine(i);
        QDateTime start;
        const Appointment a = appointments::FromLine(line);
        if (a.reminder.isEmpty() || !appointments::StartOf(line, &start) || start.date() != m_date)
            continue;
        ++count;
        if (PrintLetter(a, batch.Mail()))
            m_grid->SetRecordCell(kTermPrinted, i, dates::Format(m_clock.Today()));
    }
    m_dialogs.ShowProgress({});
    if (count == 0) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Keine Erinnerungen vom ") + day + QStringLiteral(" !"));
        return;
    }
    Save();
    m_port.Message(MsgKind::Information,
                   QStringLiteral("%1 Erinnerung(en) vom %2 gedruckt!").arg(count).arg(day));
}
