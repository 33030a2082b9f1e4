#include "shell/Workspaces.h"

#include "common/UserPort.h"
#include "settings/Options.h"
#include "shell/Indicators.h"

const QList<WorkspaceInfo>& WorkspaceTable()
{
    static const QList<WorkspaceInfo> table = {
        {Workspace::Medikamente,
         "MedBitBtn",
         "Medikamente",
         "Medikamente",
         "Talven - Medikamente",
         {"PW_MedChk"},
         false},
        {Workspace::Leistungen,
         "LeiBitBtn",
         "Leistungen (GOT)",
         "Leistungen",
         "Talven - Leistungen",
         {"PW_LeistChk"},
         false},
        {Workspace::Kunden,
         "KunBitBtn",
         "Kunden",
         "Ku&ndenstamm",
         "Talven - Kundenstamm",
         {"PW_KundeChk"},
         false},
        {Workspace::Kartei, "KarBitBtn", "Kartei", "&Kartei", "", {"PW_KarteiChk"}, false},
        {Workspace::Abgabe, "AbgBitBtn", "Abgabebelege", "&Abgabebeleg", "", {"PW_AbgChk"}, false},
        {Workspace::Stapel,
         "StaBitBtn",
         "Stapeldruck u. E/A",
         "Stapeldruck",
         "",
         {"PW_ReMaChk", "PW_EA_Chk"},
         false},
        {Workspace::Text,
         "TexBitBtn",
         "Textverarbeitung",
         "&Textverarbeitung",
         "",
         {"PW_TextChk"},
         false},
        {Workspace::Termin,
         "DatBitBtn",
         "Terminkalender",
         "Termin&kalender",
         "",
         {"PW_TerminChk"},
         true},
        {Workspace::System,
         "SysBitBtn",
         "System-Optionen",
         "&System-Optionen...",
         "",
         {"PW_SysChk"},
         true},
    };
    return table;
}

const WorkspaceInfo& InfoOf(Workspace w)
{
    for (const WorkspaceInfo& info : WorkspaceTable()) {
        if (info.workspace == w)
            return info;
    }
    return WorkspaceTable().first();
}

QString ShortenPath(const QString& path)
{
    if (path.size() <= 50)
        return path;
    return path.left(20) + QStringLiteral(" ... ") + path.right(31);
}

bool PasswordGate::PasswordGranted()
{
    const QString stored = m_options.Password();
    if (!m_entered.isEmpty() && m_entered == stored)
        return true;
    QString typed;
    const bool given = AskPassword
                           ? AskPassword(typed)
                           : m_port.InputText(QStringLiteral("Passwort"),
                                              QStringLiteral("Bitte Passwort eingeben:"), typed);
    if (!given)
        return false;
    if (typed != stored) {
        m_port.Message(MsgKind::Error, QStringLiteral("Kein gültiges Passwort !"));
        return false;
    }
    m_entered = typed;
    m_indicators.passwordEntered = true;
    m_indicators.Stop();
    if (OnGranted)
        OnGranted();
    return true;
}

void PasswordGate::Forget()
{
    m_entered.clear();
    m_indicators.passwordEntered = false;
}

void WorkspaceSwitcher::FinishActive()
{
    switch (m_active) {
        case Workspace::Text:
            m_hooks.FinishTextEditor();
            break;
        case Workspace::Kartei:
            m_hooks.FinishRecordCard();
            break;
        case Workspace::Abgabe:
            m_hooks.FinishDispensingRecord();
            break;
        case Workspace::Stapel:
            m_hooks.FinishBatch();
            break;
        default:
            break;
    }
}

void WorkspaceSwitcher::Abandon(Workspace previous)
{
    m_active = previous;
    if (previous == Workspace::None) {
        m_caption = QStringLiteral("Talven");
        m_fileLabel.clear();
        return;
    }
    const WorkspaceInfo& info = InfoOf(previous);
    m_caption = *info.caption ? QString::fromUtf8(info.caption) : m_hooks.CaptionOf(previous);
    m_fileLabel = ShortenPath(m_paths.value(static_cast<int>(previous)));
}

bool WorkspaceSwitcher::SwitchTo(Workspace w)
{
    if (w == Workspace::None)
        return false;
    const WorkspaceInfo& info = InfoOf(w);
    if (w == Workspace::Leistungen && m_gotSearch)
        m_searchLabel = QStringLiteral("Suche < 123.. >");
    else if (w == Workspace::Medikamente || w == Workspace::Leistungen || w == Workspace::Kunden)
        m_searchLabel = QStringLiteral("Suche < abc.. >");

    bool protectedWs = false;
    for (const QString& flag : info.passwordFlags)
        protectedWs = protectedWs || m_options.Flag(flag);
    if (protectedWs && !m_hooks.AsksOwnPassword(w) && !m_gate.PasswordGranted())
        return false;

    if (info.isDialog) {
        m_hooks.OpenDialog(w);
        return true;
    }
    if (m_active == w)
        return true;
    FinishActive();
    m_active = w;
    m_caption = *info.caption ? QString::fromUtf8(info.caption) : m_hooks.CaptionOf(w);
    m_fileLabel = ShortenPath(m_paths.value(static_cast<int>(w)));
    return true;
}

bool StapelGate::Protected(int tab) const
{
    return m_options.Flag(tab < 2 ? QStringLiteral("PW_ReMaChk") : QStringLiteral("PW_EA_Chk"));
}

int StapelGate::EnterTab(int wanted)
{
    if (wanted < 2 && Protected(wanted) && !m_gate.Entered())
        wanted = 2;
    return MayShow(wanted) ? wanted : -1;
}

bool StapelGate::MayShow(int tab)
{
    return !Protected(tab) || m_gate.PasswordGranted();
}

bool StapelGate::MayShowStatistics()
{
    return !m_options.Flag(QStringLiteral("PW_EAR_Chk")) || m_gate.PasswordGranted();
}
