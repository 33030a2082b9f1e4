#include <gtest/gtest.h>

#include "settings/Options.h"
#include "shell/Indicators.h"
#include "shell/Workspaces.h"
#include "support/ScriptedUserPort.h"

namespace {

class RecordingWorkspaceHooks : public WorkspaceHooks {
public:
    void FinishTextEditor() override { calls << "text"; }
    void FinishRecordCard() override { calls << "card"; }
    void FinishDispensingRecord() override { calls << "dispensing"; }
    void FinishBatch() override { calls << "batch"; }
    void OpenDialog(Workspace w) override { calls << QStringLiteral("dialog%1").arg(int(w)); }
    QString CaptionOf(Workspace) override { return "Talven - Kartei"; }
    QStringList calls;
};

class WorkspacesTest : public ::testing::Test {
protected:
    ScriptedUserPort m_port;
    OptionValues m_options;
    Indicators m_indicators;
    PasswordGate m_gate{m_port, m_options, m_indicators};
    RecordingWorkspaceHooks m_hooks;
    WorkspaceSwitcher m_switcher{m_gate, m_options, m_hooks};
};

}  // namespace

TEST_F(WorkspacesTest, SwitchingSetsCaptionMarksAndPanels)
{
    EXPECT_TRUE(m_switcher.WelcomeVisible());
    m_switcher.SetTablePath(Workspace::Medikamente, "/home/praxis/talven/DATEN/MED.DBF");
    const QString longPath = "/home/praxis/tierarzt/programme/talven/DATEN/KUNDE.DBF";
    m_switcher.SetTablePath(Workspace::Kunden, longPath);

    ASSERT_TRUE(m_switcher.SwitchTo(Workspace::Medikamente));
    EXPECT_FALSE(m_switcher.WelcomeVisible());
    EXPECT_EQ(m_switcher.Caption(), "Talven - Medikamente");
    EXPECT_EQ(m_switcher.FileLabel(), "/home/praxis/talven/DATEN/MED.DBF");
    EXPECT_TRUE(m_switcher.MenuChecked(Workspace::Medikamente));
    EXPECT_TRUE(m_switcher.StockSwitchesVisible());
    EXPECT_TRUE(m_switcher.MedLeistPanelVisible());

    m_switcher.SetGotSearch(true);
    ASSERT_TRUE(m_switcher.SwitchTo(Workspace::Leistungen));
    EXPECT_EQ(m_switcher.SearchLabel(), "Suche < 123.. >");
    EXPECT_TRUE(m_switcher.GotSearchSwitchVisible());
    EXPECT_FALSE(m_switcher.MenuChecked(Workspace::Medikamente));

    ASSERT_TRUE(m_switcher.SwitchTo(Workspace::Kunden));
    EXPECT_EQ(m_switcher.Caption(), "Talven - Kundenstamm");
    EXPECT_EQ(m_switcher.SearchLabel(), "Suche < abc.. >");
    EXPECT_EQ(m_switcher.FileLabel(), longPath.left(20) + " ... " + longPath.right(31));
    EXPECT_EQ(m_switcher.FileLabel().size(), 56);
    EXPECT_FALSE(m_switcher.MedLeistPanelVisible());
}

TEST_F(WorkspacesTest, LeavingAWorkspaceFinishesItOnce)
{
    m_switcher.SwitchTo(Workspace::Kartei);
    EXPECT_EQ(m_switcher.Caption(), "Talven - Kartei");
    m_switcher.SwitchTo(Workspace::Kartei);  // already active: nothing happens
    m_switcher.SwitchTo(Workspace::Text);
    m_switcher.SwitchTo(Workspace::Stapel);
    m_switcher.SwitchTo(Workspace::Abgabe);
    m_switcher.SwitchTo(Workspace::System);  // a dialog leaves the workspace as it is
    m_switcher.SwitchTo(Workspace::Kunden);
    EXPECT_EQ(m_hooks.calls, (QStringList{"card", "text", "batch", "dialog9", "dispensing"}));
}

TEST_F(WorkspacesTest, PasswordAskedOncePerRun)
{
    m_options.SetFlag("PW_KundeChk", true);
    m_options.SetFlag("PW_SysChk", true);
    m_options.SetPassword("geheim1");
    m_indicators.systemProtected = true;

    m_port.QueueInput("\x1b");  // cancelled
    EXPECT_FALSE(m_switcher.SwitchTo(Workspace::Kunden));
    EXPECT_TRUE(m_switcher.WelcomeVisible());

    m_port.QueueInput("falsch");
    EXPECT_FALSE(m_switcher.SwitchTo(Workspace::Kunden));
    EXPECT_EQ(m_port.LastText(), "Kein gültiges Passwort !");
    EXPECT_EQ(m_port.messages.last().kind, MsgKind::Error);

    m_indicators.Start();
    m_port.QueueInput("geheim1");
    EXPECT_TRUE(m_switcher.SwitchTo(Workspace::Kunden));
    EXPECT_FALSE(m_indicators.Running());
    EXPECT_FALSE(m_indicators.PasswordVisible());

    m_switcher.SwitchTo(Workspace::Medikamente);
    EXPECT_TRUE(m_switcher.SwitchTo(Workspace::Kunden));
    EXPECT_TRUE(m_port.inputs.empty());
    EXPECT_EQ(m_port.messages.size(), 1) << "asked once";

    m_gate.Forget();
    m_switcher.SwitchTo(Workspace::Medikamente);
    EXPECT_FALSE(m_switcher.SwitchTo(Workspace::Kunden)) << "asks again, no input queued";
}

TEST_F(WorkspacesTest, BatchWorkspaceAsksPerTab)
{
    StapelGate stapel(m_gate, m_options);
    m_options.SetPassword("geheim1");
    m_options.SetFlag("PW_ReMaChk", true);
    // Locked invoices open the income tab instead, without a question.
    EXPECT_EQ(stapel.EnterTab(0), 2);
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_TRUE(stapel.MayShowStatistics());

    m_options.SetFlag("PW_EA_Chk", true);
    m_options.SetFlag("PW_EAR_Chk", true);
    m_port.QueueInput("\x1b");
    EXPECT_EQ(stapel.EnterTab(3), -1);
    m_port.QueueInput("geheim1");
    EXPECT_EQ(stapel.EnterTab(3), 3);
    // Given once, the password opens the other tabs and the statistics too.
    EXPECT_EQ(stapel.EnterTab(0), 0);
    EXPECT_TRUE(stapel.MayShow(1));
    EXPECT_TRUE(stapel.MayShowStatistics());
    EXPECT_TRUE(m_port.inputs.empty());
}

TEST(Indicators, TwelveTicksThenTheFinalState)
{
    Indicators ind;
    ind.backupOn = true;
    ind.systemProtected = true;
    ind.bookingPending = true;
    ind.Start();
    EXPECT_TRUE(ind.BackupVisible());
    EXPECT_FALSE(ind.InfoPanelVisible());
    ind.Tick();
    EXPECT_FALSE(ind.BackupVisible());
    EXPECT_FALSE(ind.PasswordVisible());
    EXPECT_FALSE(ind.StockVisible()) << "stock keeping is off";
    EXPECT_FALSE(ind.BookingHighlighted());
    ind.Tick();
    EXPECT_TRUE(ind.BackupVisible());
    for (int i = 2; i < 11; ++i)
        ind.Tick();
    EXPECT_TRUE(ind.Running());
    EXPECT_FALSE(ind.BackupVisible());  // eleventh tick: hidden
    ind.Tick();
    EXPECT_FALSE(ind.Running());
    EXPECT_TRUE(ind.BackupVisible());
    EXPECT_TRUE(ind.PasswordVisible());
    EXPECT_TRUE(ind.BookingHighlighted());
    ind.Tick();  // a stopped timer changes nothing
    EXPECT_TRUE(ind.BackupVisible());

    ind.passwordEntered = true;
    ind.backupOn = false;
    ind.Start();
    EXPECT_FALSE(ind.PasswordVisible());
    EXPECT_TRUE(ind.InfoPanelVisible());
}

TEST(Indicators, WithoutTheTimerIconsFollowTheConditionsAtOnce)
{
    Indicators ind;
    EXPECT_FALSE(ind.StockVisible());
    ind.stockOn = true;  // the menu switch, or the option read at start
    EXPECT_TRUE(ind.StockVisible()) << "no blinking needed to show it";
    ind.systemProtected = true;
    EXPECT_TRUE(ind.PasswordVisible());
    ind.passwordEntered = true;
    EXPECT_FALSE(ind.PasswordVisible());
    ind.bookingPending = true;
    EXPECT_TRUE(ind.BookingHighlighted());
    ind.stockOn = false;
    EXPECT_FALSE(ind.StockVisible());
}
