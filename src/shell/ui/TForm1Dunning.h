#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "cards/CardSettings.h"
#include "settings/IniSettings.h"

class Clock;
class IniLayoutStore;
class QAction;
class QtPrintCanvas;
class QWidget;
class StartUp;
class TSGrid;
class TStapelDruckPage;
class TStapelFrame;
class UserPort;
struct TableEnvironment;
namespace card {
class CardWorkspace;
}
namespace dunning {
class StapelWorkspace;
}

// The main window's side of the invoice and reminder tabs of "Stapeldruck u. E/A": their
// pages in the frame, the registers' workspace, the card workspace the batch runs close and
// remind with (a card grid of its own, the window's customer table), and the menu item.
class TForm1Dunning {
public:
    struct Host {
        QWidget* window = nullptr;
        UserPort* port = nullptr;
        const Clock* clock = nullptr;
        StartUp* startUp = nullptr;
        QtPrintCanvas* canvas = nullptr;
        TSGrid* customers = nullptr;
        std::shared_ptr<const TableEnvironment> tableEnv;
        std::function<CardSettings()> cardOptions;
        // A double click on a key: that card in the Kartei workspace.
        std::function<void(const QString& key)> openCard;
    };

    explicit TForm1Dunning(Host host);
    ~TForm1Dunning();

    // Puts the two pages into the frame and follows its tabs.
    void Build(TStapelFrame& frame);
    TStapelDruckPage* Page(int tab) const { return m_pages[tab == 1 ? 1 : 0]; }
    dunning::StapelWorkspace& Workspace() const { return *m_ws; }
    // "Stapel&druck starten": the batch run of the tab shown.
    QAction* RunAction() const { return m_runAction; }
    // The main menu's entry that holds it, shown while the workspace is.
    void SetMenu(QAction* menu) { m_menu = menu; }

    // The workspace is left: the next tab shown reads the options afresh.
    void Finish();
    void TabShown(int tab);
    void RunBatch(int tab);
    // A row's card whose file is gone leaves both registers (with the message); false when
    // the card exists.
    bool DropMissingCard(const QString& key);

private:
    Host m_host;
    IniSettings m_settings;
    std::unique_ptr<dunning::StapelWorkspace> m_ws;
    std::unique_ptr<TSGrid> m_cardGrid;
    std::unique_ptr<card::CardWorkspace> m_cards;
    std::unique_ptr<IniLayoutStore> m_layouts;
    TStapelDruckPage* m_pages[2] = {};
    QAction* m_runAction = nullptr;
    QAction* m_menu = nullptr;
    int m_shown = -1;
    bool m_entered = false;
};
