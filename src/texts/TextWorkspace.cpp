#include "texts/TextWorkspace.h"

#include <QDir>
#include <QFileInfo>

#include "common/Clock.h"
#include "common/CodePage.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/Letterhead.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintStrList.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "texts/Macros.h"

namespace {

const QString kUnset = QStringLiteral("- - -");

// Resolves a stored or typed path whatever the case of its file name.
QString Resolve(const QString& path)
{
    const QFileInfo info(path);
    return files::FindCaseInsensitive(info.absolutePath(), info.fileName());
}

}  // namespace

TextWorkspace::TextWorkspace(UserPort& port, const Clock& clock, IniFile& ini,
                             TextWorkspaceSetup setup)
    : m_port(port), m_clock(clock), m_ini(ini), m_setup(std::move(setup))
{
}

void TextWorkspace::Edited(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_modified = true;
}

QString TextWorkspace::Caption() const
{
    return QStringLiteral("Talven-Textverarbeitung: ") +
           (m_path.isEmpty() ? QStringLiteral("[Unbenannt]") : QFileInfo(m_path).fileName());
}

void TextWorkspace::ApplyLetterhead(const LetterHead& head, bool changed)
{
    m_head = head;
    m_hasHead = true;
    m_modified = m_modified || changed;
}

QString TextWorkspace::LetterheadLabel() const
{
    return m_hasHead ? tlvheader::Label(m_head) : kUnset;
}

QString TextWorkspace::DateLabel() const
{
    return m_hasHead && !m_head.date.isEmpty() ? m_head.date : kUnset;
}

bool TextWorkspace::New()
{
    if (!AskToSave())
        return false;
    m_text.clear();
    m_path.clear();
    m_head = LetterHead();
    m_hasHead = false;
    m_modified = false;
    return true;
}

bool TextWorkspace::Open(const QString& path)
{
    if (!AskToSave())
        return false;
    const QString resolved = Resolve(path);
    if (!m_setup.readOnlyMedium && !DriveReachable(QFileInfo(resolved).absolutePath()))
        return false;
    QStringList lines;
    if (!QFileInfo(resolved).isFile() || !cp1252::ReadLines(resolved, lines)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Talven kann die Datei nicht öffnen. (") +
                                           QFileInfo(path).fileName() + QLatin1Char(')'));
        return false;
    }
    Load(resolved, lines);
    AddRecentFile(m_ini, resolved);
    const QString notice = textfiles::SpecialNotice(SpecialText());
    if (!notice.isEmpty())
        m_port.Message(MsgKind::Information, notice);
    return true;
}

void TextWorkspace::Load(const QString& path, const QStringList& lines)
{
    QStringList body = lines;
    m_hasHead = !body.isEmpty() && tlvheader::IsHeaderLine(body.first());
    m_head = m_hasHead ? tlvheader::Parse(body.takeFirst()) : LetterHead();
    m_text = textfiles::TextOf(body);
    m_path = path;
    m_modified = false;
    m_macroMode = false;
}

bool TextWorkspace::OpenChosen()
{
    const QString chosen =
        m_port.ChooseOpenFile(QStringLiteral("Öffnen"), m_setup.textsFolder, textfiles::kFilter);
    return !chosen.isEmpty() && Open(chosen);
}

bool TextWorkspace::Save()
{
    if (m_path.isEmpty())
        return SaveAs();
    return Write(m_path);
}

bool TextWorkspace::SaveAs()
{
    QString start = m_path;
    if (start.isEmpty()) {
        start = m_setup.textsFolder;
        if (m_hasHead)
            start += textfiles::ProposeFileName(m_setup.textsFolder, m_head.name, m_head.firstName);
    }
    const QString chosen =
        m_port.ChooseSaveTarget(QStringLiteral("Speichern unter"), start, textfiles::kFilter);
    if (chosen.isEmpty())
        return false;
    QString target = textfiles::StoredPath(chosen);
    const QString existing = Resolve(target);
    if (QFileInfo::exists(existing)) {
        const Answer answer = m_port.Message(
            MsgKind::Confirmation,
            QStringLiteral("Soll die bereits existierende Datei '%1'ersetzt werden?").arg(existing),
            Buttons::YesNoCancel);
        if (answer != Answer::Yes)
            return false;
        target = existing;
    }
    m_path = target;
    AddRecentFile(m_ini, target);
    return Write(target);
}

bool TextWorkspace::AskToSave()
{
    if (!m_modified)
        return true;
    const QString question = m_path.isEmpty()
                                 ? QStringLiteral("Möchten Sie die Änderungen abspeichern?")
                                 : QStringLiteral("Möchten Sie die Änderungen in '%1' speichern?")
                                       .arg(QFileInfo(m_path).fileName());
    switch (m_port.Message(MsgKind::Confirmation, question, Buttons::YesNoCancel)) {
        case Answer::Yes:
            return Save();
        case Answer::No:
            return true;
        default:
            return false;
    }
}

QStringList TextWorkspace::RecentFiles() const
{
    QStringList files = ReadRecentFiles(m_ini);
    files.removeAll(QString());
    return files;
}

VolumeInfo TextWorkspace::Volume(const QString& path) const
{
    return m_setup.volumeOf ? m_setup.volumeOf(path) : VolumeOf(path);
}

bool TextWorkspace::DriveReachable(const QString& folder)
{
    VolumeInfo volume = Volume(folder);
    while (!volume.reachable) {
        const QString where = volume.mountPoint.isEmpty() ? folder : volume.mountPoint;
        const Answer answer = m_port.Message(
            MsgKind::Error,
            QStringLiteral("Auf das Laufwerk ") + where +
                QStringLiteral(" kann nicht zugegriffen werden.\rBitte überprüfen Sie den "
                               "Datenträger!"),
            Buttons::OkAbort);
        if (answer != Answer::Ok)
            return false;
        volume = Volume(folder);
    }
    return true;
}

bool TextWorkspace::Write(const QString& path)
{
    QStringList lines = textfiles::LinesOf(m_text);
    if (m_hasHead)
        lines.prepend(tlvheader::Build(m_head));
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_setup.readOnlyMedium && !DriveReachable(folder))
        return false;
    if (!QFileInfo(folder).isDir()) {
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler: Pfadangabe der Datei ist ungültig!"));
        return false;
    }
    qint64 needed = 0;
    for (const QString& line : lines)
        needed += 3 + line.size();
    const QString full = QStringLiteral("Datenträger ist voll oder nicht beschreibbar (") + folder +
                         QStringLiteral(").\rDatei wurde nicht abgespeichert!");
    if (Volume(folder).freeBytes <= needed || !textfiles::WriteLines(path, lines)) {
        m_port.Message(MsgKind::Error, full);
        return false;
    }
    if (m_setup.copyToBackup)
        m_setup.copyToBackup(path);
    m_modified = false;
    return true;
}

bool TextWorkspace::KeyFits(int length, int selected)
{
    return length - selected + 1 <= kMaxChars - 1;
}

bool TextWorkspace::PasteFits(int length, int selected, int pasted)
{
    if (length - selected + pasted < kMaxChars + 1)
        return true;
    m_port.Message(MsgKind::Error, QStringLiteral("Der Text in der Zwischenablage ist zu groß!"));
    return false;
}

bool TextWorkspace::OverwriteReplaces(QChar typed, QChar next, bool atEnd)
{
    if (typed == QLatin1Char('\b') || typed == QLatin1Char('\r') || typed == QLatin1Char('\n') ||
        typed == QLatin1Char('\t'))
        return false;
    return !atEnd && next != QLatin1Char('\n') && next != QChar::ParagraphSeparator;
}

std::optional<QString> TextWorkspace::MacroKey(QChar typed)
{
    m_macroMode = false;
    if (!m_ini.HasFile()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Datei ") + m_setup.dataFolder +
                                           QStringLiteral("TLV.INI") +
                                           QStringLiteral(" existiert nicht! "));
        return std::nullopt;
    }
    return macros::Lookup(m_ini, typed);
}

QString TextWorkspace::TextBlock()
{
    m_port.Message(MsgKind::Information,
                   QStringLiteral("TTT im Text stellt einen Textbaustein dar.\rDieser wird u.a. "
                                  "bei Erinnerungsschreiben\r(Impftermine etc.) eingesetzt, s. "
                                  "Terminkalender."));
    return QStringLiteral("TTT");
}

TextWorkspace::PageMetrics TextWorkspace::Measure(TPrintStrList& printer,
                                                  const TMemoSeiteEinrichtenDlgForm& layout) const
{
    layout.ApplyTo(printer);
    PageMetrics m;
    m.firstPage = printer.LinesPerPage(m_hasHead);
    m.nextPages = printer.LinesPerPage(false);
    m.charsPerLine = printer.CharsPerLine();
    return m;
}

int TextWorkspace::PageOfLine(int line, const PageMetrics& m)
{
    if (m.firstPage <= 0 || line <= m.firstPage)
        return 1;
    if (m.nextPages <= 0)
        return 2;
    return 2 + (line - m.firstPage - 1) / m.nextPages;
}

void TextWorkspace::PrepareLetter(TPrintStrList& printer, const TMemoSeiteEinrichtenDlgForm& layout,
                                  const KeyValueSettings& options) const
{
    printer.StringList = textfiles::LinesOf(m_text);
    printer.RowLines = false;
    layout.ApplyTo(printer);
    printer.PrintMgrTitle = QStringLiteral("Talven - Textdatei");
    printer.Mahnung = false;
    printer.KopfPrint = m_hasHead;
    if (!m_hasHead) {
        printer.Kopf.clear();
        printer.DateLabel.clear();
        return;
    }
    LetterSlotsInput in;
    in.business = BusinessFromOptions(options, m_head.pharmacy && PharmacySetUp(options));
    in.firmLine = m_head.firm;
    in.phoneLines = m_head.phone;
    in.bankData = m_head.bank;
    in.addressee = tlvheader::AddresseeLines(m_head) << m_head.street << m_head.town;
    in.subject = m_head.title;
    printer.Kopf = LetterSlots(in);
    printer.DateLabel = m_head.date.isEmpty() ? dates::Format(m_clock.Today()) : m_head.date;
}

void TextWorkspace::AfterPrint(TPrintStrList& printer)
{
    printer.StringList.clear();
    printer.KopfPrint = false;
    printer.Mahnung = false;
}
