#include "dispensing/AbgWorkspace.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "appointments/TTerminEditDlgForm.h"
#include "cards/CardEntryForm.h"
#include "cards/PackUnits.h"
#include "common/Clock.h"
#include "common/CodePage.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/FileLock.h"
#include "platform/Files.h"
#include "printing/Letterhead.h"

namespace abg {

namespace {

const QString kCounterSection = QStringLiteral("Abgabebeleg");
const QString kStopSection = QStringLiteral("ZeilenstopAbgabe");
const QString kStopKey = QStringLiteral("ZeilenstopChkAbgabe");
const QString kSaveQuestion = QStringLiteral("Möchten Sie die Änderungen abspeichern?");
const QString kSaveFailed = QStringLiteral("Fehler beim abspeichern des Abgabebeleges!");
constexpr qint64 kMinFreeBytes = 3 * 1024;

int ReadInt(const KeyValueSettings& options, const QString& key, int fallback)
{
    QString text;
    if (!options.Read(kCounterSection, key, &text))
        return fallback;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

// The VVVO number of a keeper line as the header dialog holds it: the text in the
// brackets after "VVVO-Nr.: ".
QString VvvoField(const QString& keeperLine)
{
    QString vvvo = VvvoFromKeeperLine(keeperLine, keeperLine.size());
    if (vvvo.endsWith(QLatin1Char(')')))
        vvvo.chop(1);
    return vvvo;
}

}  // namespace

AbgWorkspace::AbgWorkspace(UserPort& port, const Clock& clock, KeyValueSettings& options,
                           QString programFolder)
    : m_port(port),
      m_clock(clock),
      m_options(options),
      m_program(std::move(programFolder)),
      m_keeper(std::make_unique<TKreditorDlgForm>(TKreditorDlgForm::Mode::Keeper, port, clock))
{
    if (!m_program.endsWith(QLatin1Char('/')))
        m_program += QLatin1Char('/');
    m_date = dates::Format(m_clock.Today());
}

AbgWorkspace::~AbgWorkspace() = default;

void AbgWorkspace::Notify()
{
    if (changed)
        changed();
}

void AbgWorkspace::SetCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= kCols || row < 0 || row >= kRows || m_cells[row][col] == text)
        return;
    m_cells[row][col] = text;
    m_modified = true;
}

void AbgWorkspace::SetCurrent(int col, int row)
{
    m_col = qBound(0, col, kCols - 1);
    m_row = qBound(0, row, kRows - 1);
}

QString AbgWorkspace::NumberText() const
{
    return QStringLiteral("%1").arg(m_number, 4, 10, QLatin1Char('0'));
}

QString AbgWorkspace::Caption() const
{
    return QStringLiteral("Talven - Abgabebeleg:  Nr. ") + NumberText();
}

Header AbgWorkspace::CurrentHeader() const
{
    Header h;
    h.number = NumberText();
    h.date = m_date;
    h.keeperLine = m_keeperLine;
    h.firstName = m_keeper->Text(TKreditorDlgForm::Vorname);
    h.name = m_keeper->Text(TKreditorDlgForm::Name);
    h.street = m_keeper->Text(TKreditorDlgForm::Strasse);
    h.town = m_keeper->Text(TKreditorDlgForm::PlzOrt);
    return h;
}

void AbgWorkspace::EnterWorkspace()
{
    m_keeper = std::make_unique<TKreditorDlgForm>(TKreditorDlgForm::Mode::Keeper, m_port, m_clock);
    m_keeper->SetPharmacyAvailable(PharmacySetUp(m_options));
    m_macroMode = false;
    NewRecord(m_clock.Today(), true);
    QString stop;
    m_autoStop = !m_options.Read(kStopSection, kStopKey, &stop) ||
                 stop.compare(QStringLiteral("TRUE"), Qt::CaseInsensitive) == 0;
    SetCurrent(0, 0);
    Notify();
}

int AbgWorkspace::NumberFor(int year)
{
    const QString folder = YearFolder(m_program, year);
    const int lastYear = ReadInt(m_options, QStringLiteral("LastYear"), -1);
    if (lastYear == -1 || lastYear != year) {
        if (QFileInfo(folder).isDir())
            return FirstFreeNumber(folder, year);
        QDir().mkpath(folder);
        OfferOldYearDeletion(year);
        return 1;
    }
    // The counter proposes the number; a file of that number already in the folder (saved
    // by another workstation, or the counter set back) is never given out again.
    const int next = ReadInt(m_options, QStringLiteral("LastNr"), 0) + 1;
    return FirstFreeNumber(folder, year, next);
}

void AbgWorkspace::NewRecord(const QDate& date, bool clear)
{
    if (clear) {
        m_keeper->Reset();
        m_keeper->SetPharmacy(false);
        m_keeper->Begin();
    }
    m_keeperLine = QStringLiteral("- - -");
    m_date = dates::Format(date);
    m_number = NumberFor(date.year());
    m_newNumber = true;
    m_ownFile.clear();
    m_dateButton = true;
    if (clear) {
        m_cells = Cells{};
        m_modified = false;
    }
    SetCurrent(0, 0);
    Notify();
}

void AbgWorkspace::OfferOldYearDeletion(int year)
{
    const int current = m_clock.Today().year();
    if (year != current)
        return;
    for (int k = 6; k <= 11; ++k) {
        const int old = current - k;
        const QString folder = YearFolder(m_program, old);
        if (!QFileInfo(folder).isDir())
            continue;
        const QString question =
            QStringLiteral(
                "Um die Datenmenge auf Ihrem Speichermedium zu begrenzen,\rsollten Sie "
                "die Abgabebelege, soweit älter als es\rdie Aufbewahrungsfristen "
                "erfordern, löschen. \r\rSollen die Belege aus dem Jahre ") +
            QString::number(old) + QStringLiteral(" gelöscht werden?");
        if (m_port.Message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes)
            continue;
        QDir dir(folder);
        const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& f : files)
            dir.remove(f);
        if (!QDir().rmdir(folder))
            m_port.Message(MsgKind::Warning, QStringLiteral("Ordner läßt sich nicht löschen!"));
        else
            m_port.Message(MsgKind::Information, QStringLiteral("Ordner ") + QString::number(old) +
                                                     QStringLiteral(" gelöscht!"));
    }
}

bool AbgWorkspace::WriteRecordFile(const QStringList& lines)
{
    const int year = Year();
    const QString folder = YearFolder(m_program, year);
    QDir().mkpath(folder);
    const QStorageInfo storage(folder);
    if (!storage.isValid() || storage.bytesAvailable() <= kMinFreeBytes)
        m_port.Message(MsgKind::Error, QStringLiteral("Datenträger ist voll oder nicht "
                                                      "beschreibbar!(") +
                                           QDir::toNativeSeparators(folder) + QStringLiteral(")."));

    // A record is written over a file only when it was read from that file or written to
    // it before; a new record never replaces another one's file, it takes the next free
    // number instead. The lock keeps two workstations from taking the same number.
    const int firstNumber = m_number;
    for (;;) {
        const QString target =
            m_ownFile.isEmpty() ? files::FindCaseInsensitive(folder, RecordFileName(m_number, year))
                                : m_ownFile;
        files::FileLock lock(target);
        for (int tries = 0; lock.TryLock() == files::FileLock::State::Busy; ++tries) {
            if (tries >= 50)
                return false;
            m_port.Wait(100, true);
        }
        if (m_ownFile.isEmpty() && QFileInfo::exists(target)) {
            lock.Unlock();
            const int next = FirstFreeNumber(folder, year, m_number + 1);
            if (next >= kMaxNumber)
                return false;
            m_number = next;
            continue;
        }
        QStringList data = lines;
        data[data.size() - 7] = NumberText();
        const QString temp =
            files::UniqueTemporary(QFileInfo(target).absolutePath() + QStringLiteral("/") +
                                   QFileInfo(target).completeBaseName() + QStringLiteral(".~AB"));
        if (!files::ReplaceAtomically(target, temp, cp1252::JoinLines(data)))
            break;
        m_ownFile = target;
        if (m_number != firstNumber) {
            m_port.Message(MsgKind::Information,
                           QStringLiteral("Die Beleg-Nr. %1 ist schon vergeben.\rDer Beleg wird "
                                          "unter der Nr. %2 gespeichert.")
                               .arg(firstNumber, 4, 10, QLatin1Char('0'))
                               .arg(NumberText()));
        }
        return true;
    }
    m_number = firstNumber;
    return false;
}

SaveResult AbgWorkspace::SaveRecord()
{
    const QStringList lines = RecordLines(m_cells, CurrentHeader());
    if (lines.isEmpty())
        return SaveResult::Empty;
    if (!WriteRecordFile(lines)) {
        m_port.Message(MsgKind::Error, kSaveFailed);
        return SaveResult::Failed;
    }
    if (m_newNumber) {
        m_options.Write(kCounterSection, QStringLiteral("LastNr"), QString::number(m_number));
        m_options.Write(kCounterSection, QStringLiteral("LastYear"), QString::number(Year()));
    }
    m_dateButton = false;
    m_modified = false;
    if (withdrawalsKept)
        withdrawalsKept();
    Notify();
    return SaveResult::Written;
}

bool AbgWorkspace::AskToSave(bool withCancel)
{
    if (!m_modified)
        return true;
    const Answer answer = m_port.Message(MsgKind::Confirmation, kSaveQuestion,
                                         withCancel ? Buttons::YesNoCancel : Buttons::YesNo);
    if (answer == Answer::Yes) {
        // A record that could not be written stays shown (unless the window goes), so
        // nothing typed is lost.
        return SaveRecord() != SaveResult::Failed || !withCancel;
    }
    if (answer == Answer::No) {
        if (withdrawalsCancelled)
            withdrawalsCancelled();
        m_modified = false;
        return true;
    }
    return false;
}

void AbgWorkspace::NewCommand()
{
    if (AskToSave(true))
        NewRecord(m_clock.Today(), true);
}

bool AbgWorkspace::LoadFile(const QString& path, bool reportBadForm)
{
    QStringList lines;
    if (!cp1252::ReadLines(path, lines)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Talven kann die Datei nicht öffnen. (") +
                                           QDir::toNativeSeparators(path) + QLatin1Char(')'));
        return false;
    }
    Cells cells;
    Header header;
    if (ParseRecordLines(lines, &cells, &header) == FileForm::Unknown) {
        if (reportBadForm)
            m_port.Message(MsgKind::Error, QStringLiteral("Datei hat kein Abgabebeleg-Format (") +
                                               QDir::toNativeSeparators(path) + QLatin1Char(')'));
        return false;
    }
    m_cells = cells;
    m_number = header.number.trimmed().toInt();
    m_date = header.date;
    m_keeperLine = header.keeperLine;
    // The header dialog gets back all it built the keeper line from, so that OK in it
    // keeps the VVVO number and the pharmacy mark.
    m_keeper->SetText(TKreditorDlgForm::Vorname, header.firstName);
    m_keeper->SetText(TKreditorDlgForm::Name, header.name);
    m_keeper->SetText(TKreditorDlgForm::Strasse, header.street);
    m_keeper->SetText(TKreditorDlgForm::PlzOrt, header.town);
    m_keeper->SetText(TKreditorDlgForm::Titel, VvvoField(header.keeperLine));
    m_keeper->SetPharmacy(PharmacyMark());
    m_keeper->Begin();
    m_ownFile = path;
    m_dateButton = false;
    m_modified = false;
    m_newNumber = false;
    SetCurrent(0, 0);
    Notify();
    return true;
}

void AbgWorkspace::OpenRecord()
{
    if (!AskToSave(true))
        return;
    const QString folder = YearFolder(m_program, m_clock.Today().year());
    QDir().mkpath(folder);
    const QString path = m_port.ChooseOpenFile(QStringLiteral("Abg.beleg öffnen"), folder,
                                               QStringLiteral("Abgabebelege (*.abg)"));
    if (path.isEmpty())
        return;
    m_cells = Cells{};
    Notify();
    if (QFileInfo(path).suffix().toUpper() != QStringLiteral("ABG")) {
        m_port.Message(MsgKind::Error, QStringLiteral("Datei hat kein Abgabebeleg-Format. (") +
                                           QDir::toNativeSeparators(path) + QLatin1Char(')'));
        return;
    }
    LoadFile(path, true);
}

void AbgWorkspace::SearchRecord(SearchRunner& runner, const QString& prefill)
{
    if (!AskToSave(true))
        return;
    const int current = m_clock.Today().year();
    SearchBox box;
    box.text = prefill;
    for (int y = current - 3; y <= current; ++y)
        box.choices << QString::number(y);
    if (!runner.Run(box))
        return;
    QString word = box.text;
    if (word.endsWith(QLatin1Char(' ')))
        word.chop(1);
    if (word.isEmpty()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler (leeres Suchwort)"));
        return;
    }
    word = word.toUpper();
    const int years = 4 - qBound(0, box.choice, 3);
    int lastYear = current;
    bool found = false;
    for (int i = 0; i < years; ++i) {
        const int year = current - i;
        lastYear = year;
        const QString folder = YearFolder(m_program, year);
        if (!QFileInfo(folder).isDir())
            continue;
        for (int n = HighestNumber(folder, year); n >= 1; --n) {
            const QString path = files::FindCaseInsensitive(folder, RecordFileName(n, year));
            QStringList lines;
            if (!QFileInfo::exists(path) || !cp1252::ReadLines(path, lines))
                continue;
            if (FormOf(int(lines.size())) == FileForm::Unknown) {
                m_port.Message(MsgKind::Error,
                               QStringLiteral("Datei hat kein Abgabebeleg-Format (") +
                                   QDir::toNativeSeparators(path) + QLatin1Char(')'));
                return;
            }
            if (!KeeperLineOf(lines).toUpper().contains(word) || !LoadFile(path, true))
                continue;
            found = true;
            const QString question = QStringLiteral("Abgabebeleg Nr. ") + NumberText() +
                                     QStringLiteral(" im Jahre ") + QString::number(year) +
                                     QStringLiteral(" gefunden .") + QLatin1Char('\r') +
                                     QStringLiteral("Wollen Sie nach einem älteren Beleg suchen?");
            if (m_port.Message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes)
                return;
        }
    }
    m_port.Message(MsgKind::Information,
                   (found ? QStringLiteral("Keinen weiteren Beleg bis zum Jahr ")
                          : QStringLiteral("Keinen Beleg bis zum Jahr ")) +
                       QString::number(lastYear) + QStringLiteral(" gefunden!"));
}

void AbgWorkspace::ChangeDate(TerminEditRunner& runner)
{
    if (!m_dateButton)
        return;
    TTerminEditDlgForm form(TTerminEditDlgForm::Mode::DispensingDate);
    QDate date;
    form.SetDate(dates::TryParse(m_date, &date) ? date : m_clock.Today());
    if (!runner.Run(form))
        return;
    const QString keeper = m_keeperLine;
    NewRecord(form.Date(), false);
    m_keeperLine = keeper;
    m_modified = true;
    m_newNumber = true;
    Notify();
}

void AbgWorkspace::EditKeeper(KeeperRunner& runner)
{
    m_keeper->Begin();
    if (!runner.Run(*m_keeper)) {
        m_keeper->Cancel();
        return;
    }
    const QString line = m_keeper->KeeperLine();
    if (m_keeper->Changed() || line != m_keeperLine)
        m_modified = true;
    m_keeperLine = line;
    Notify();
}

void AbgWorkspace::MoveDownOneRow()
{
    if (m_row < kRows - 1)
        ++m_row;
}

void AbgWorkspace::TakeOverMedication(const Medication& medication, const QString& quantityText,
                                      bool hundredPercent)
{
    TakeOverText text;
    if (!DispensingQuantity(medication.name, quantityText, &text)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Ungültige Menge: ") + quantityText);
        return;
    }
    m_modified = true;
    auto& row = m_cells[m_row];
    row[kColName] = text.name;
    if (!medication.batch.isEmpty())
        row[kColBatch] = medication.batch;
    row[kColAmount].clear();
    row[kColDosage].clear();
    row[hundredPercent ? kColAmount : kColDosage] = text.quantity;
    if (!medication.waitingTime.isEmpty())
        row[kColWaiting] = medication.waitingTime;
    MoveDownOneRow();
    if (!medication.code.isEmpty() && withdrawalBooked) {
        QDate date;
        withdrawalBooked(quantityText, medication.code,
                         dates::TryParse(m_date, &date) ? date : m_clock.Today());
    }
    Notify();
}

void AbgWorkspace::TakeOverRecent(const RecentEntry& entry)
{
    auto& row = m_cells[m_row];
    row[kColName] = entry.name;
    row[kColBatch] = entry.batch;
    row[kColAmount] = entry.amount;
    row[kColDosage] = entry.dosage;
    row[kColWaiting] = entry.waitingTime;
    MoveDownOneRow();
    m_modified = true;
    Notify();
}

void AbgWorkspace::DeleteLine()
{
    if (m_port.Message(MsgKind::Confirmation, QStringLiteral("Zeile wirklich löschen?"),
                       Buttons::YesNo) != Answer::Yes)
        return;
    for (int row = m_row; row < kRows - 1; ++row)
        m_cells[row] = m_cells[row + 1];
    m_cells[kRows - 1] = {};
    m_modified = true;
    Notify();
}

void AbgWorkspace::SetAutomaticStop(bool on)
{
    m_autoStop = on;
    if (!m_options.Write(kStopSection, kStopKey,
                         on ? QStringLiteral("TRUE") : QStringLiteral("FALSE")))
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler"));
}

KeyResult AbgWorkspace::TypedKey(QChar ch, const QString& cellText)
{
    if (ch == QChar(13) || ch == QChar(10))
        return {KeyResult::Insert, {}};
    m_modified = true;
    if (m_macroMode) {
        m_macroMode = false;
        QString text;
        if (!m_options.Read(QStringLiteral("ShortCuts"), QString(ch), &text))
            return {KeyResult::Drop, {}};
        return {KeyResult::Enter, text};
    }
    if (m_autoStop && ch != QChar(9) && ch != QChar(8) && measureText &&
        m_col < m_printWidths.size() && m_printWidths[m_col] > 0 &&
        measureText(cellText) >= m_printWidths[m_col])
        return {KeyResult::Drop, {}};
    return {KeyResult::Insert, {}};
}

bool DispensingQuantity(const QString& medicationName, const QString& quantityText,
                        TakeOverText* out)
{
    static const QStringList kMoreUnits = {QStringLiteral("%"), QStringLiteral("g"),
                                           QStringLiteral("mg"), QStringLiteral("ml")};
    const qsizetype slash = quantityText.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        long double a = 0;
        long double b = 0;
        const std::optional<PackUnits> pack = ReadPackUnits(medicationName, kMoreUnits);
        if (pack && TryStrToFloat(quantityText.left(slash), &a) &&
            TryStrToFloat(quantityText.mid(slash + 1), &b) && a == Trunc(a) && b == Trunc(b) &&
            b == pack->size) {
            out->quantity = card::QuantityText(a) + QLatin1Char(' ') + pack->unit;
            // The name without its pack statement: the unit word, the count and a "St."
            // that follows them.
            QStringList words = medicationName.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const int first = qMin(pack->unitWord, pack->countWord);
            int last = qMax(pack->unitWord, pack->countWord);
            if (last + 1 < words.size() &&
                (words[last + 1].compare(QStringLiteral("St."), Qt::CaseInsensitive) == 0 ||
                 words[last + 1].compare(QStringLiteral("Stück"), Qt::CaseInsensitive) == 0))
                ++last;
            words.erase(words.begin() + first, words.begin() + last + 1);
            out->name = words.isEmpty() ? medicationName : words.join(QLatin1Char(' '));
            return true;
        }
    }
    card::Quantity quantity;
    if (!card::ParseQuantity(quantityText, medicationName, &quantity))
        return false;
    out->name = medicationName;
    out->quantity = FormatFloat(QStringLiteral("0.00"), quantity.value);
    return true;
}

}  // namespace abg
