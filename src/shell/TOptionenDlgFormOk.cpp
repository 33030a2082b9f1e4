// OK, Cancel and the close check of the options dialog.
#include <QDir>
#include <QFileInfo>

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "shell/TOptionenDlgForm.h"

bool TOptionenDlgForm::Refuse(Page page, int field)
{
    m_pageRequest = page;
    m_page = page;
    if (field >= 0)
        RequestFocus(field);
    return false;
}

bool TOptionenDlgForm::ApplyAllFieldRules()
{
    for (int id : {Mwst1Edit, Mwst2Edit, Mwst3Edit, AlteMwst1Edit, AlteMwst2Edit, AlteMwst3Edit}) {
        if (!Leave(id, true))
            return Refuse(MwSt, id);
    }
    for (int id : {ZzRechEdit, ZzMa1Edit, ZzMa2Edit, MaGeb1Edit, MaGeb2Edit}) {
        if (!Leave(id, true))
            return Refuse(Mahnwesen, id);
    }
    LeaveDm();
    LeaveBackupPath();
    return true;
}

BackupSettings TOptionenDlgForm::BackupSettingsFor(const OptionValues& values) const
{
    BackupSettings s;
    s.dataFolder = m_ctx.dataFolder;
    s.readOnlyMedium = m_ctx.readOnlyMedium;
    s.autoBackup = values.Flag(QStringLiteral("SicherungChk1"));
    s.backupFolder = values.Value(QStringLiteral("BkDir"));
    s.volumeOf = m_ctx.volumeOf;
    return s;
}

bool TOptionenDlgForm::Ok(int focusedField)
{
    if (focusedField >= 0 && focusedField < kFieldCount && !Leave(focusedField, true))
        return false;
    LeaveDate();
    QDate cutOff;
    if (dates::TryParse(Text(StichtagsDatumEdit), &cutOff)) {
        if (!ApplyAllFieldRules())
            return false;
        m_fields[StdExtPathEdit].SetText(WithFolderSlash(Text(StdExtPathEdit).trimmed()));
    }
    return CloseCheck();
}

bool TOptionenDlgForm::CloseCheck()
{
    UserPort& port = *m_ctx.port;
    OptionValues values = CollectValues();
    if (m_ctx.readOnlyMedium) {
        // Nothing can be stored; the settings hold for this run.
        *m_ctx.options = values;
        if (m_ctx.hooks)
            m_ctx.hooks->OptionsApplied();
        return true;
    }

    const bool systemProtected = m_checks[PW_SysChk];
    if (systemProtected && !m_protectedAtOpen &&
        port.Message(MsgKind::Warning,
                     QStringLiteral("Wollen Sie den Passwortschutz wirklich einrichten?"),
                     Buttons::YesNo) != Answer::Yes)
        return Refuse(Passwort, PasswortEdit);
    if (systemProtected) {
        if (Text(PasswortEdit) != Text(PasswortEdit2)) {
            port.Message(MsgKind::Error, QStringLiteral("Fehler bei Eingabe des Passwortes !"));
            return Refuse(Passwort, PasswortEdit);
        }
        if (Text(PasswortEdit).size() < 6) {
            port.Message(MsgKind::Error, QStringLiteral("Passwort mindestens 6 Zeichen!"));
            return Refuse(Passwort, PasswortEdit);
        }
    }

    QDate cutOff;
    if (!dates::TryParse(Text(StichtagsDatumEdit), &cutOff)) {
        port.Message(MsgKind::Error, QStringLiteral("Fehler: Stichtagsdatum ungültig!"));
        return Refuse(MwSt, StichtagsDatumEdit);
    }
    if (cutOff > m_ctx.clock->Today()) {
        port.Message(MsgKind::Error, QStringLiteral("Fehler: Stichtagsdatum liegt in der Zukunft!\r"
                                                    "Neue USt erst am Tag der Änderung eingeben!"));
        return Refuse(MwSt, StichtagsDatumEdit);
    }

    const bool autoBackup = m_checks[SicherungChk1];
    Backup backup(port, *m_ctx.clock, BackupSettingsFor(values));
    if (autoBackup && !CheckBackupMedium(backup))
        return false;
    if (!CheckTextsFolder())
        return false;

    OptionenHooks* hooks = m_ctx.hooks;
    if (hooks) {
        hooks->ShowBackupIndicator(autoBackup);
        hooks->RefreshBatchIfShown();
        hooks->SetBackupFilePath(autoBackup ? backup.Settings().backupFolder : QString());
    }
    if (autoBackup)
        backup.BackupTexts();
    if (m_ctx.ini) {
        WriteOrderedOptions(*m_ctx.ini, values);
        SaveDocumentTexts(*m_ctx.ini, m_documents);
    }
    if (autoBackup)
        backup.CopyToBackup(QStringLiteral("TLV.INI"));
    m_pharmacy = PharmacyAccountSetting(values);
    *m_ctx.options = values;
    m_documentsAtOpen = m_documents;
    if (hooks) {
        hooks->RefreshBatchIfShown();
        if (systemProtected)
            hooks->PasswordProtectionSet();
        if (m_ratesChanged) {
            QStringList rates = SixRateTexts();
            hooks->RecalculateGross(rates);
            static const char* const kRateKeys[] = {"Mwst1Edit",     "Mwst2Edit",
                                                    "Mwst3Edit",     "AlteMwst1Edit",
                                                    "AlteMwst2Edit", "AlteMwst3Edit"};
            for (int i = 0; i < 6 && rates.size() == 6; ++i)
                m_ctx.options->SetValue(QString::fromLatin1(kRateKeys[i]), rates[i]);
        }
        hooks->OptionsApplied();
    }
    m_ratesChanged = false;
    m_protectedAtOpen = systemProtected;
    return true;
}

bool TOptionenDlgForm::CheckBackupMedium(Backup& backup)
{
    const QString folder = backup.Settings().backupFolder;
    // Checked before anything is created or copied: the data would be copied into itself.
    const QString refusal = BackupFolderRefusal(folder, m_ctx.dataFolder);
    if (!refusal.isEmpty()) {
        m_ctx.port->Message(MsgKind::Error, refusal);
        return Refuse(BackupPage, BackupPathEdit);
    }
    if (CheckWritableDrive(folder, m_ctx.volumeOf, m_ctx.port) != DriveCheck::Ok)
        return Refuse(BackupPage, BackupPathEdit);
    bool created = false;
    if (!backup.EnterBackupFolder(&created)) {
        m_ctx.port->Message(MsgKind::Warning,
                            QStringLiteral("Backup-Verzeichnis kann nicht erzeugt werden"));
        return Refuse(BackupPage, BackupPathEdit);
    }
    if (created)
        backup.InitialFill();  // reports its own failures; the dialog closes anyway
    return true;
}

bool TOptionenDlgForm::CheckTextsFolder()
{
    const QString texts = files::FindCaseInsensitive(m_ctx.dataFolder, QStringLiteral("Texte"));
    if (QFileInfo(texts).isDir())
        return true;
    bool ok = QDir(m_ctx.dataFolder).mkdir(QStringLiteral("Texte"));
    for (const char* name : {"MAHNUNG1.TLV", "MAHNUNG2.TLV", "ImpfErg.TLV"}) {
        if (!ok)
            break;
        const QString source =
            files::FindCaseInsensitive(m_ctx.dataFolder, QString::fromLatin1(name));
        if (QFileInfo(source).isFile())
            ok = files::CopyKeepingTime(source,
                                        texts + QLatin1Char('/') + QString::fromLatin1(name));
    }
    if (ok)
        return true;
    m_ctx.port->Message(MsgKind::Error, QStringLiteral("Fehler beim Schreiben auf Datenräger!"));
    m_ctx.port->Message(MsgKind::Error, QStringLiteral("Fehler: Pfad für Texte ist ungültig!"));
    return Refuse(m_page, -1);
}

void TOptionenDlgForm::Cancel()
{
    m_documents = m_documentsAtOpen;
    if (m_ctx.hooks)
        m_ctx.hooks->ShowBackupIndicator(m_ctx.options->Flag(QStringLiteral("SicherungChk1")));
    // The fields are filled afresh from the program's options at the next opening.
}
