#include "texts/TNotizDlgForm.h"

#include <QDir>
#include <QFileInfo>

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/UserPort.h"
#include "masterdata/MasterWorkspace.h"
#include "masterdata/TEditDlgForm.h"
#include "platform/Files.h"
#include "printing/PrintDialogPort.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintGrid2.h"
#include "settings/IniFile.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "texts/Favorites.h"
#include "texts/Macros.h"

namespace {

const QString kPlacement = QStringLiteral("NotizDlg");

QStringList Normalised(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out << notes::Normalised(line);
    return out;
}

}  // namespace

TNotizDlgForm::TNotizDlgForm(UserPort& port, const Clock& clock, IniFile& ini, NotesSetup setup,
                             NotesClipboard& clipboard)
    : m_port(port),
      m_clock(clock),
      m_ini(ini),
      m_setup(std::move(setup)),
      m_clipboard(clipboard),
      m_notes(std::make_unique<TSGrid>(port, m_setup.tableEnv)),
      m_favorites(std::make_unique<TSGrid>(port, m_setup.tableEnv))
{
    m_notes->SetColCount(recordline::kNotesCells + 1);
    m_notes->BackupFilePath = m_setup.backupFolder;
    m_favorites->SetColCount(recordline::kFavoriteCells + 1);
    m_favorites->BackupFilePath = m_setup.backupFolder;
    const QString favorites = files::FindCaseInsensitive(m_setup.dataFolder, favorites::kFileName);
    if (QFileInfo::exists(favorites))
        m_favorites->LoadTable(favorites);
}

TNotizDlgForm::~TNotizDlgForm() = default;

QString TNotizDlgForm::FilePath() const
{
    return files::FindCaseInsensitive(m_setup.dataFolder, notes::FileName(m_number));
}

void TNotizDlgForm::Open(const QString& customerLine)
{
    const auto cell = [&customerLine](int col) { return recordline::Cell(customerLine, col); };
    using namespace recordline;
    m_number = cell(kCustNumber);
    m_header = cell(kCustName) + QLatin1Char(' ') + cell(kCustFirstName) + QStringLiteral(", ") +
               cell(kCustTown);
    const QString path = FilePath();
    QStringList lines;
    if (QFileInfo::exists(path)) {
        m_notes->LoadTable(path);
        lines = Normalised(m_notes->Lines());
    }
    while (!lines.isEmpty() && notes::IsBlank(lines.last()))
        lines.removeLast();
    m_loaded = lines;
    const int firstBlank = int(lines.size());
    // Room to write: ten blank rows after the last one used, never saved on their own.
    for (int i = 0; i < 10; ++i)
        lines << notes::Line(QString(), QString());
    ReplaceLines(lines, firstBlank);
}

QStringList TNotizDlgForm::Trimmed() const
{
    QStringList lines = Normalised(m_notes->Lines());
    while (!lines.isEmpty() && notes::IsBlank(lines.last()))
        lines.removeLast();
    return lines;
}

bool TNotizDlgForm::Changed() const
{
    return Trimmed() != m_loaded;
}

int TNotizDlgForm::Current() const
{
    return m_notes->CurrentRecord();
}

void TNotizDlgForm::ReplaceLines(const QStringList& lines, int current)
{
    const int col = m_notes->Col();
    m_notes->SetLines(lines);
    m_notes->GotoRecord(col, current);
}

void TNotizDlgForm::InsertLines(const QStringList& rows)
{
    QStringList lines = m_notes->Lines();
    const int at = std::clamp(Current(), 0, int(lines.size()));
    for (qsizetype i = 0; i < rows.size(); ++i)
        lines.insert(at + i, notes::Normalised(rows[i]));
    ReplaceLines(lines, at);
}

void TNotizDlgForm::RemoveSpan(const notes::Span& span)
{
    QStringList lines = m_notes->Lines();
    lines.remove(span.first, span.Count());
    if (lines.isEmpty())
        lines << notes::Line(QString(), QString());
    ReplaceLines(lines, std::min(span.first, int(lines.size()) - 1));
}

void TNotizDlgForm::InsertDate()
{
    const int record = Current();
    if (record < m_notes->RecordCount())
        m_notes->SetRecordCell(recordline::kNoteDate, record, dates::Format(m_clock.Today()));
}

void TNotizDlgForm::InsertRow()
{
    InsertLines({notes::Line(QString(), QString())});
}

void TNotizDlgForm::DeleteRow()
{
    if (m_notes->RecordCount() == 0 ||
        m_port.Message(MsgKind::Confirmation, QStringLiteral("Zeile wirklich löschen?"),
                       Buttons::YesNo) != Answer::Yes)
        return;
    RemoveSpan({Current(), Current()});
}

void TNotizDlgForm::AppendRowIfLast()
{
    if (Current() + 1 < m_notes->RecordCount())
        return;
    QStringList lines = m_notes->Lines();
    lines << notes::Line(QString(), QString());
    ReplaceLines(lines, int(lines.size()) - 1);
}

bool TNotizDlgForm::NewPatient(RecordDialogRunner& dialog)
{
    EditDlgSetup setup;
    setup.panel = EditPanel::Patient;
    setup.mode = EditMode::Patient;
    TEditDlgForm form(setup, m_port);
    if (!dialog.Run(form, nullptr))
        return false;
    QStringList lines = m_notes->Lines();
    const int patientRow =
        notes::AppendPatientBlock(lines, notes::PatientBlockRows(form.Patient().Values()));
    ReplaceLines(lines, patientRow);
    return Save();
}

bool TNotizDlgForm::Save()
{
    const QString path = QDir(m_setup.dataFolder).filePath(QFileInfo(FilePath()).fileName());
    const QStringList shown = m_notes->Lines();
    const int current = Current();
    m_notes->SetLines(Normalised(shown));
    m_notes->GotoRecord(m_notes->Col(), current);
    if (!m_notes->SaveTable(path))
        return false;
    m_loaded = Trimmed();
    return true;
}

std::optional<QString> TNotizDlgForm::MacroKey(QChar key)
{
    m_macroMode = false;
    if (!m_ini.HasFile()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Datei ") + m_setup.dataFolder +
                                           QStringLiteral("TLV.INI") +
                                           QStringLiteral(" existiert nicht! "));
        return std::nullopt;
    }
    return macros::Lookup(m_ini, key);
}

void TNotizDlgForm::Search(const QString& term)
{
    if (term.isEmpty())
        return;
    bool foundBefore = false;
    for (int start = 0;;) {
        int found = -1;
        int foundCol = 1;
        for (int record = start; record < m_notes->RecordCount() && found < 0; ++record) {
            const QString line = m_notes->RecordLine(record);
            for (int col = 1; col <= recordline::kNotesCells; ++col) {
                if (recordline::CellView(line, col).contains(term, Qt::CaseInsensitive)) {
                    found = record;
                    foundCol = col;
                    break;
                }
            }
        }
        if (found < 0) {
            m_port.Message(MsgKind::Information,
                           foundBefore ? QStringLiteral("Keinen weiteren Eintrag gefunden!")
                                       : QStringLiteral("Keinen Eintrag gefunden!"));
            return;
        }
        m_notes->GotoRecord(foundCol, found);
        foundBefore = true;
        if (m_port.Message(MsgKind::Confirmation, QStringLiteral("Wollen Sie weitersuchen?"),
                           Buttons::YesNo) != Answer::Yes)
            return;
        start = found + 1;
    }
}

void TNotizDlgForm::HandOver(NotesHandOver& target)
{
    if (Current() < m_notes->RecordCount())
        target.TakeOver(recordline::Cell(m_notes->RecordLine(Current()), m_notes->Col()));
}

void TNotizDlgForm::CopyParagraph()
{
    const notes::Span span = notes::Paragraph(m_notes->Lines(), Current());
    m_clipboard.lines = m_notes->Lines().mid(span.first, span.Count());
}

void TNotizDlgForm::CutParagraph()
{
    const notes::Span span = notes::Paragraph(m_notes->Lines(), Current());
    if (span.Count() <= 0 || m_port.Message(MsgKind::Confirmation,
                                            QStringLiteral("Absatz auschneiden in Zwischenablage?"),
                                            Buttons::YesNo) != Answer::Yes)
        return;
    m_clipboard.lines = m_notes->Lines().mid(span.first, span.Count());
    RemoveSpan(span);
}

void TNotizDlgForm::CutPatient()
{
    const std::optional<notes::Span> span = notes::PatientBlock(m_notes->Lines(), Current());
    if (!span) {
        m_port.Message(MsgKind::Information, QStringLiteral("Kein Patient markiert!"));
        return;
    }
    if (m_port.Message(MsgKind::Confirmation,
                       QStringLiteral("Patient auschneiden in Zwischenablage?"),
                       Buttons::YesNo) != Answer::Yes)
        return;
    m_clipboard.lines = m_notes->Lines().mid(span->first, span->Count());
    RemoveSpan(*span);
}

void TNotizDlgForm::Paste()
{
    InsertLines(m_clipboard.lines);
}

QString TNotizDlgForm::LinkStartFolder() const
{
    const QString folder = m_setup.defaultDocumentFolder;
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::rootPath();
}

bool TNotizDlgForm::InsertLink(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (!QFileInfo(path).isFile()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Talven kann die Datei nicht öffnen. (") +
                                           QFileInfo(path).fileName() + QLatin1Char(')'));
        return false;
    }
    const int record = Current();
    m_notes->SetRecordCell(recordline::kNoteText, record,
                           notes::LinkCell(path, m_setup.defaultDocumentFolder));
    if (record + 1 >= m_notes->RecordCount())
        AppendRowIfLast();
    else
        m_notes->GotoRecord(2, record + 1);
    return true;
}

bool TNotizDlgForm::OpenLink(const QString& cell, DocumentOpener& opener)
{
    const std::optional<QString> link = notes::LinkOf(cell);
    if (!link)
        return false;
    QString path = *link;
    if (notes::IsBareName(path)) {
        const QString folder = m_setup.defaultDocumentFolder;
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Kein Standardpfad definiert bzw. Pfad geändert!\r"
                                          "Datei-Start nur mit kompl. Pfadangabe möglich!"));
            return false;
        }
        path = files::FindCaseInsensitive(folder, path);
    }
    if (!QFileInfo(path).isFile()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Datei ") + path +
                                           QStringLiteral("\r wurde nicht gefunden!"));
        return false;
    }
    if (opener.Open(path) || opener.OpenWith(path))
        return true;
    m_port.Message(MsgKind::Error, QStringLiteral("Talven kann die Datei nicht öffnen. (") +
                                       QFileInfo(path).fileName() + QLatin1Char(')'));
    return false;
}

QStringList TNotizDlgForm::FavoriteNames() const
{
    return favorites::Names(m_favorites->Lines());
}

bool TNotizDlgForm::SaveFavorites(const QStringList& lines)
{
    m_favorites->SetLines(lines);
    return m_favorites->SaveTable(QDir(m_setup.dataFolder).filePath(favorites::kFileName));
}

bool TNotizDlgForm::AddFavorite(FavoriteNameAsker& asker)
{
    if (FavoriteNames().size() >= favorites::kMax) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Anzahl der Einträge (Favoriten) ist auf ") +
                           QString::number(favorites::kMax) + QStringLiteral(" beschränkt."));
        return false;
    }
    CopyParagraph();
    const std::optional<QString> typed = asker.AskName([this](const QString& name) {
        return favorites::CheckName(m_favorites->Lines(), name).error;
    });
    if (!typed)
        return false;
    const favorites::NameCheck check = favorites::CheckName(m_favorites->Lines(), *typed);
    if (!check.error.isEmpty()) {
        m_port.Message(MsgKind::Error, check.error);
        return false;
    }
    QStringList texts;
    for (const QString& line : m_clipboard.lines)
        texts << recordline::Cell(line, recordline::kNoteText);
    QStringList lines = m_favorites->Lines();
    favorites::Append(lines, check.name, texts);
    return SaveFavorites(lines);
}

void TNotizDlgForm::InsertFavorite(const QString& name)
{
    QStringList rows;
    for (const QString& text : favorites::Texts(m_favorites->Lines(), name))
        rows << notes::Line(QString(), text);
    InsertLines(rows);
}

void TNotizDlgForm::KeepFavorites(const QStringList& names)
{
    QStringList lines = m_favorites->Lines();
    const qsizetype before = lines.size();
    favorites::KeepOnly(lines, names);
    if (lines.size() != before)
        SaveFavorites(lines);
}

void TNotizDlgForm::PrintNotes(TPrintGrid2& printer, const TMemoSeiteEinrichtenDlgForm& layout,
                               PrintDialogPort& dialog)
{
    Print(Trimmed(), printer, layout, dialog);
}

void TNotizDlgForm::PrintClipboard(TPrintGrid2& printer, const TMemoSeiteEinrichtenDlgForm& layout,
                                   PrintDialogPort& dialog)
{
    if (m_clipboard.lines.isEmpty()) {
        m_port.Message(MsgKind::Information, QStringLiteral("Zwischenablage ist leer!"));
        return;
    }
    Print(m_clipboard.lines, printer, layout, dialog);
}

void TNotizDlgForm::Print(const QStringList& lines, TPrintGrid2& printer,
                          const TMemoSeiteEinrichtenDlgForm& layout, PrintDialogPort& dialog)
{
    // Date, text, an empty rate column and the short column as the amount column.
    TSGrid grid(m_port);
    grid.SetColCount(5);
    QStringList rows;
    for (const QString& line : lines) {
        using namespace recordline;
        rows << Join(
            {Cell(line, kNoteDate), Cell(line, kNoteText), QString(), Cell(line, kNoteShort)});
    }
    grid.SetLines(rows);
    grid.SetTitles(
        {QString(), QStringLiteral("Datum"), QStringLiteral("Notiz"), QString(), QString()});
    printer.AttachDocumentGrid(&grid);
    layout.ApplyTo(printer);
    printer.PrintMgrTitle = QStringLiteral("Talven - Notiz");
    printer.Title = {m_header + QStringLiteral("  (Kunden-Nr. ") + m_number + QLatin1Char(')')};
    printer.KopfPrint = false;
    printer.FussPrint = false;
    printer.PrintToFile = false;
    if (printer.PrintWithDialog(dialog) && printer.LastJobFailed())
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim Ausdruck der Notiz!"));
    printer.AttachGrid(nullptr);
    printer.Title.clear();
}

void TNotizDlgForm::Close()
{
    if (Changed() && m_port.Message(MsgKind::Confirmation,
                                    QStringLiteral("Möchten Sie die Änderungen abspeichern?"),
                                    Buttons::YesNo) == Answer::Yes)
        Save();
}

TNotizDlgForm::Placement TNotizDlgForm::ReadPlacement(const IniFile& ini)
{
    Placement p;
    p.bounds = QRect(ini.ReadInteger(kPlacement, QStringLiteral("wLeft"), -1),
                     ini.ReadInteger(kPlacement, QStringLiteral("wTop"), -1),
                     ini.ReadInteger(kPlacement, QStringLiteral("wWidth"), -1),
                     ini.ReadInteger(kPlacement, QStringLiteral("wHeight"), -1));
    p.maximised = ini.ReadBool(kPlacement, QStringLiteral("wsMax"), false);
    return p;
}

void TNotizDlgForm::WritePlacement(IniFile& ini, const Placement& p)
{
    ini.WriteInteger(kPlacement, QStringLiteral("wHeight"), p.bounds.height());
    ini.WriteInteger(kPlacement, QStringLiteral("wWidth"), p.bounds.width());
    ini.WriteInteger(kPlacement, QStringLiteral("wLeft"), p.bounds.left());
    ini.WriteInteger(kPlacement, QStringLiteral("wTop"), p.bounds.top());
    ini.WriteBool(kPlacement, QStringLiteral("wsMax"), p.maximised);
}
