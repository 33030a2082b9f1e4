#include "shell/TOptionenDlgForm.h"

#include <QFileInfo>

#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/GiroCode.h"
#include "printing/PrintCanvas.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"

namespace {

struct FieldKey {
    int field;
    const char* key;
};

// Fields stored under a key of the ordered part; the password is stored scrambled and
// handled apart.
const FieldKey kFieldKeys[] = {
    {TOptionenDlgForm::NameEdit, "NameEdit"},
    {TOptionenDlgForm::StrasseEdit, "StrasseEdit"},
    {TOptionenDlgForm::PLZEdit, "PLZEdit"},
    {TOptionenDlgForm::TelEdit, "TelEdit"},
    {TOptionenDlgForm::FaxEdit, "FaxEdit"},
    {TOptionenDlgForm::FirmaEdit, "FirmaEdit"},
    {TOptionenDlgForm::SonstEdit1, "SonstEdit1"},
    {TOptionenDlgForm::SonstEdit2, "SonstEdit2"},
    {TOptionenDlgForm::BankEdit, "BankEdit"},
    {TOptionenDlgForm::BLZEdit, "BLZEdit"},
    {TOptionenDlgForm::KtoEdit, "KtoEdit"},
    {TOptionenDlgForm::KontoinhaberEdit, "KontoinhaberEdit"},
    {TOptionenDlgForm::NameEdit2, "NameEdit2"},
    {TOptionenDlgForm::FirmaEdit2, "FirmaEdit2"},
    {TOptionenDlgForm::StrasseEdit2, "StrasseEdit2"},
    {TOptionenDlgForm::PLZEdit2, "PLZEdit2"},
    {TOptionenDlgForm::TelEdit2, "TelEdit2"},
    {TOptionenDlgForm::FaxEdit2, "FaxEdit2"},
    {TOptionenDlgForm::SonstEdit3, "SonstEdit3"},
    {TOptionenDlgForm::SonstEdit4, "SonstEdit4"},
    {TOptionenDlgForm::BankEdit2, "BankEdit2"},
    {TOptionenDlgForm::BLZEdit2, "BLZEdit2"},
    {TOptionenDlgForm::KtoEdit2, "KtoEdit2"},
    {TOptionenDlgForm::KontoinhaberEdit2, "KontoinhaberEdit2"},
    {TOptionenDlgForm::UebMa1Edit, "UebMa1Edit"},
    {TOptionenDlgForm::UebMa2Edit, "UebMa2Edit"},
    {TOptionenDlgForm::Mwst1Edit, "Mwst1Edit"},
    {TOptionenDlgForm::Mwst2Edit, "Mwst2Edit"},
    {TOptionenDlgForm::Mwst3Edit, "Mwst3Edit"},
    {TOptionenDlgForm::StichtagsDatumEdit, "StichtagsDatumEdit"},
    {TOptionenDlgForm::AlteMwst1Edit, "AlteMwst1Edit"},
    {TOptionenDlgForm::AlteMwst2Edit, "AlteMwst2Edit"},
    {TOptionenDlgForm::AlteMwst3Edit, "AlteMwst3Edit"},
    {TOptionenDlgForm::ZzRechEdit, "ZzRechEdit"},
    {TOptionenDlgForm::ZzMa1Edit, "ZzMa1Edit"},
    {TOptionenDlgForm::ZzMa2Edit, "ZzMa2Edit"},
    {TOptionenDlgForm::MaGeb1Edit, "MaGeb1Edit"},
    {TOptionenDlgForm::MaGeb2Edit, "MaGeb2Edit"},
    {TOptionenDlgForm::BackupPathEdit, "BkDir"},
    {TOptionenDlgForm::DMEdit, "DmEdit"},
    {TOptionenDlgForm::StdExtPathEdit, "StdExtPathName"},
    {TOptionenDlgForm::BarsoiAdresseEdit, "BarsoiInternetAdresse"},
};

const char* const kCheckKeys[TOptionenDlgForm::kCheckCount] = {
    "LogoChk",      "SicherungChk1", "PW_MedChk",    "PW_LeistChk", "PW_KundeChk", "PW_KarteiChk",
    "PW_PatChk",    "PW_AbgChk",     "PW_ReMaChk",   "PW_EA_Chk",   "PW_EAR_Chk",  "PW_TextChk",
    "PW_TerminChk", "PW_SysChk",     "PreisAuszChk", "GiroCodeChk",
};

const int kRateFields[] = {TOptionenDlgForm::Mwst1Edit,     TOptionenDlgForm::Mwst2Edit,
                           TOptionenDlgForm::Mwst3Edit,     TOptionenDlgForm::AlteMwst1Edit,
                           TOptionenDlgForm::AlteMwst2Edit, TOptionenDlgForm::AlteMwst3Edit};

bool IsRate(int id)
{
    return std::find(std::begin(kRateFields), std::end(kRateFields), id) != std::end(kRateFields);
}

bool IsCurrentRate(int id)
{
    return id == TOptionenDlgForm::Mwst1Edit || id == TOptionenDlgForm::Mwst2Edit ||
           id == TOptionenDlgForm::Mwst3Edit;
}

bool IsTerm(int id)
{
    return id == TOptionenDlgForm::ZzRechEdit || id == TOptionenDlgForm::ZzMa1Edit ||
           id == TOptionenDlgForm::ZzMa2Edit;
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// 1 / value as "0.00000"; zero (or no number) gives zero.
QString Reciprocal(const QString& text)
{
    long double value = 0;
    if (!TryStrToFloat(text, &value) || value == 0)
        return FormatFloat(QStringLiteral("0.00000"), 0);
    return FormatFloat(QStringLiteral("0.00000"), 1.0L / value);
}

}  // namespace

QStringList TOptionenDlgForm::PageTitles()
{
    return {QStringLiteral("Praxis"),   QStringLiteral("Apotheke"),  QStringLiteral("Kopf"),
            QStringLiteral("MwSt"),     QStringLiteral("Mahnwesen"), QStringLiteral("Backup"),
            QStringLiteral("Passwort"), QStringLiteral("Ext. &Dok.")};
}

TOptionenDlgForm::TOptionenDlgForm(OptionenContext context)
    : FormBase(kFieldCount), m_ctx(std::move(context))
{
    m_ctx.dataFolder = WithFolderSlash(m_ctx.dataFolder);
    for (int id : {ZzRechEdit, ZzMa1Edit, ZzMa2Edit})
        m_fields[id].maxLength = 3;
    m_fields[StdPathEdit].readOnly = true;
}

void TOptionenDlgForm::Open(Page page)
{
    Apply(*m_ctx.options);
    m_documents = m_ctx.ini ? LoadDocumentTexts(*m_ctx.ini) : DefaultDocumentTexts();
    m_documentsAtOpen = m_documents;
    ChooseDocument(0);
    m_drives = m_ctx.volumes ? m_ctx.volumes() : MountedVolumes();
    m_ratesChanged = false;
    m_protectedAtOpen = m_checks[PW_SysChk];
    m_pageRequest = -1;
    SetActivePage(page);
}

void TOptionenDlgForm::Apply(const OptionValues& values)
{
    for (const FieldKey& fk : kFieldKeys)
        m_fields[fk.field].SetText(values.Value(QString::fromLatin1(fk.key)));
    m_fields[PasswortEdit].SetText(values.Password());
    m_fields[PasswortEdit2].SetText(values.Password());
    m_fields[StdPathEdit].SetText(m_ctx.dataFolder);
    m_fields[EuroEdit].SetText(Reciprocal(Text(DMEdit)));
    for (int c = 0; c < kCheckCount; ++c)
        m_checks[c] = values.Flag(QString::fromLatin1(kCheckKeys[c]));
    if (AnyWorkspaceProtected())
        m_checks[PW_SysChk] = true;
    m_euro = values.Flag(QStringLiteral("EuroChk"));
}

void TOptionenDlgForm::SetActivePage(Page page)
{
    m_page = page;
    if (page == Kopf)
        CheckLogo();
}

int TOptionenDlgForm::TakePageRequest()
{
    const int page = m_pageRequest;
    m_pageRequest = -1;
    return page;
}

bool TOptionenDlgForm::AnyWorkspaceProtected() const
{
    for (int c = PW_MedChk; c < PW_SysChk; ++c)
        if (m_checks[c])
            return true;
    return false;
}

void TOptionenDlgForm::SetChecked(CheckId c, bool on)
{
    if (c == PW_SysChk && AnyWorkspaceProtected())
        return;  // locked on while a workspace is protected
    m_checks[c] = on;
    if (c == LogoChk && on)
        CheckLogo();
    if (c >= PW_MedChk && c < PW_SysChk && AnyWorkspaceProtected())
        m_checks[PW_SysChk] = true;
}

void TOptionenDlgForm::CheckLogo()
{
    if (!m_checks[LogoChk])
        return;
    const QString path = files::FindCaseInsensitive(m_ctx.dataFolder, QStringLiteral("Logo.bmp"));
    if (!m_ctx.canvas) {
        m_checks[LogoChk] = QFileInfo(path).isFile();
        return;
    }
    const QSize size = m_ctx.canvas->BitmapSize(path);
    if (size.isEmpty()) {
        m_checks[LogoChk] = false;
        return;
    }
    // The logo is printed at half its screen size.
    const long double printed = static_cast<long double>(size.width()) *
                                m_ctx.canvas->LogPixelsX() / m_ctx.canvas->ScreenPixelsPerInch() /
                                2;
    if (printed > m_ctx.canvas->PageWidth()) {
        m_ctx.port->Message(MsgKind::Warning, QStringLiteral("Logo: Bildbreite > Druckseite!"));
        m_checks[LogoChk] = false;
    }
}

QStringList TOptionenDlgForm::DocumentTitles() const
{
    return {m_documents.value(0), m_documents.value(4), m_documents.value(8)};
}

void TOptionenDlgForm::ChooseDocument(int k)
{
    if (k < 0 || k > 2)
        return;
    m_document = k;
    m_fields[RechKopfEdit].SetText(m_documents.value(4 * k + 1));
    m_fields[RechFuss1Edit].SetText(m_documents.value(4 * k + 2));
    m_fields[RechFuss2Edit].SetText(m_documents.value(4 * k + 3));
}

void TOptionenDlgForm::ChooseDrive(int index)
{
    if (!DriveBoxEnabled() || index < 0 || index >= m_drives.size())
        return;
    m_fields[BackupPathEdit].SetText(WithFolderSlash(m_drives[index]) + QStringLiteral("DATEN/"));
}

void TOptionenDlgForm::BrowseExtFolder()
{
    const QString folder = m_ctx.port->ChooseFolder(QStringLiteral("Ordner für externe Dokumente"),
                                                    Text(StdExtPathEdit));
    if (folder.isEmpty())
        return;
    if (!QFileInfo(folder).isDir()) {
        m_ctx.port->Message(MsgKind::Error, QStringLiteral("Pfad ist ungültig!"));
        return;
    }
    m_fields[StdExtPathEdit].SetText(WithFolderSlash(folder));
}

QStringList TOptionenDlgForm::SixRateTexts() const
{
    QStringList texts;
    for (int id : kRateFields)
        texts << Text(id);
    return texts;
}

QChar TOptionenDlgForm::FilterKey(int id, QChar key)
{
    const FormField& field = m_fields[id];
    if (key == kKeyBackspace)
        return key;
    if (IsRate(id)) {
        if (key == QLatin1Char('.'))
            key = QLatin1Char(',');
        if (!IsDigit(key) && key != QLatin1Char(','))
            return {};
        const QString after = field.TextWith(key);
        if (after.count(QLatin1Char(',')) > 1)
            return {};
        long double value = 0;
        if (TryStrToFloat(after, &value) && FormatFloat(QStringLiteral("0.0"), value).size() > 4)
            return {};
        return key;
    }
    if (IsTerm(id))
        return IsDigit(key) ? key : QChar();
    if (id == MaGeb1Edit || id == MaGeb2Edit)
        return FilterPriceKey(field, key);
    if (id == StichtagsDatumEdit)
        return IsDigit(key) || key == QLatin1Char('.') ? key : QChar();
    if (id == DMEdit || id == EuroEdit) {
        if (key == QLatin1Char('.'))
            key = QLatin1Char(',');
        if (key == QLatin1Char(','))
            return field.TextWith(key).count(QLatin1Char(',')) > 1 ? QChar() : key;
        return IsDigit(key) ? key : QChar();
    }
    return key;
}

void TOptionenDlgForm::TextChanged(int id)
{
    if (IsCurrentRate(id))
        m_ratesChanged = true;
    if (id == DMEdit)
        SetCurrencyPartner(DMEdit, EuroEdit);
    else if (id == EuroEdit)
        SetCurrencyPartner(EuroEdit, DMEdit);
    else if (id == RechKopfEdit || id == RechFuss1Edit || id == RechFuss2Edit) {
        const int entry = 4 * m_document + 1 + (id - RechKopfEdit);
        while (m_documents.size() <= entry)
            m_documents.append(QString());
        m_documents[entry] = Text(id);
    }
}

void TOptionenDlgForm::SetCurrencyPartner(int source, int target)
{
    if (m_updatingCurrency)
        return;
    m_updatingCurrency = true;
    m_fields[target].SetText(Reciprocal(Text(source)));
    m_updatingCurrency = false;
}

bool TOptionenDlgForm::Leave(int id, bool closingOk)
{
    (void)closingOk;
    if (IsRate(id)) {
        if (Text(id).trimmed().isEmpty())
            m_fields[id].SetText(QStringLiteral("0"));
        long double value = 0;
        if (!TryStrToFloat(Text(id), &value)) {
            RequestFocus(id);
            return false;
        }
        m_fields[id].SetText(FormatFloat(QStringLiteral("0.0"), value));
        return true;
    }
    if (IsTerm(id)) {
        if (Text(id).isEmpty())
            m_fields[id].SetText(QStringLiteral("1"));
        return true;
    }
    if (id == MaGeb1Edit || id == MaGeb2Edit) {
        if (Text(id).trimmed().isEmpty())
            m_fields[id].SetText(id == MaGeb1Edit ? QStringLiteral("5,00")
                                                  : QStringLiteral("10,00"));
        if (!LeavePriceField(m_fields[id])) {
            RequestFocus(id);
            return false;
        }
        return true;
    }
    switch (id) {
        case BLZEdit:
        case BLZEdit2:
            LeaveIban(id);
            break;
        case StichtagsDatumEdit:
            LeaveDate();
            break;
        case DMEdit:
            LeaveDm();
            break;
        case BackupPathEdit:
            LeaveBackupPath();
            break;
        case PasswortEdit:
            RequestFocus(PasswortEdit2);
            break;
        default:
            break;
    }
    return true;
}

void TOptionenDlgForm::LeaveDate()
{
    const QString text = Text(StichtagsDatumEdit).trimmed();
    if (text.isEmpty()) {
        m_fields[StichtagsDatumEdit].SetText(QStringLiteral("01.01.1990"));
        return;
    }
    // An invalid date stays as typed; OK reports it.
    const QString normalized = dates::Normalize(text);
    if (!normalized.isEmpty())
        m_fields[StichtagsDatumEdit].SetText(normalized);
}

void TOptionenDlgForm::LeaveDm()
{
    long double value = 0;
    if (Text(DMEdit).trimmed().isEmpty() || !TryStrToFloat(Text(DMEdit), &value))
        value = 0;
    m_fields[DMEdit].SetText(FormatFloat(QStringLiteral("0.00000"), value));
    SetCurrencyPartner(DMEdit, EuroEdit);
}

void TOptionenDlgForm::LeaveBackupPath()
{
    QString path = Text(BackupPathEdit).trimmed();
    if (path.isEmpty())
        path = m_ctx.options->Value(QStringLiteral("BkDir"));
    // Linux paths keep their case; only the trailing separator is added.
    m_fields[BackupPathEdit].SetText(WithFolderSlash(path));
}

OptionValues TOptionenDlgForm::CollectValues() const
{
    OptionValues values = *m_ctx.options;
    for (const FieldKey& fk : kFieldKeys)
        values.SetValue(QString::fromLatin1(fk.key), Text(fk.field));
    values.SetValue(QStringLiteral("BkDir"), WithFolderSlash(Text(BackupPathEdit).trimmed()));
    values.SetValue(QStringLiteral("StdExtPathName"),
                    WithFolderSlash(Text(StdExtPathEdit).trimmed()));
    values.SetPassword(Text(PasswortEdit));
    for (int c = 0; c < kCheckCount; ++c)
        values.SetFlag(QString::fromLatin1(kCheckKeys[c]), m_checks[c]);
    values.SetFlag(QStringLiteral("EuroChk"), m_euro);
    return values;
}

// A wrong IBAN is only reported: older files may hold a bank code in the field, and the
// letterhead prints it as typed. The payment code is left off until it is right.
void TOptionenDlgForm::LeaveIban(int id)
{
    const QString text = Text(id).trimmed();
    if (!text.isEmpty() && !girocode::IbanValid(text))
        m_ctx.port->Message(MsgKind::Warning, girocode::kIbanInvalid);
}
