#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "download/TSuchenNachDlgForm.h"
#include "settings/IniSettings.h"

class Clock;
class QAction;
class QMenu;
class QPushButton;
class QWidget;
class StartUp;
class TSGrid;
class TSuchenNachDlg;
class UserPort;
namespace download {
class ListTransfer;
}

// The main window's side of the drug list download: the button "Barsoi / WDT", the menu
// item, the dialog, and the take-over into the medication grid.
class TForm1Download : public QObject {
public:
    struct Host {
        QWidget* window;
        UserPort& port;
        const Clock& clock;
        StartUp& startUp;
        TSGrid& medications;
        std::function<bool()> passwordGranted;     // the medication table's protection
        std::function<void()> medicationsChanged;  // scroll bar and view after a take-over
    };
    explicit TForm1Download(Host host);
    ~TForm1Download() override;

    // The menu item "BARSOI WDT einlesen..." and the button at the end of the search row.
    void AddMenuItem(QMenu* menu);
    void AddButton(QWidget* searchRow);
    void SetButtonVisible(bool visible);

    // Opens the dialog in download mode and takes the list over on OK.
    void Open();
    TSuchenNachDlg* Dialog() const { return m_dialog.get(); }
    TSuchenNachDlgForm& Form() { return m_form; }

private:
    Host m_host;
    std::unique_ptr<IniSettings> m_settings;  // the options file is opened after start-up
    std::unique_ptr<download::ListTransfer> m_transfer;
    TSuchenNachDlgForm m_form;
    std::unique_ptr<TSuchenNachDlg> m_dialog;
    QPushButton* m_button = nullptr;
};
