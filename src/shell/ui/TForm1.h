#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

#include "masterdata/MasterGridLayout.h"
#include "printing/DesktopPort.h"
#include "shell/Indicators.h"
#include "shell/StartUp.h"
#include "shell/TOptionenDlgForm.h"
#include "shell/Workspaces.h"
#include "shell/ui/TForm1Kartei.h"
#include "shell/ui/TForm1Options.h"
#include "shell/ui/TForm1Stapel.h"
#include "shell/ui/TForm1Stock.h"
#include "shell/ui/TForm1Texte.h"

class Clock;
namespace mastersearch {
class CustomerSearch;
}
class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPushButton;
class QStackedWidget;
class QToolButton;
class TSGrid;
class TSGridView;
class TForm1Abgabe;
class TForm1Download;
class TForm1Termin;
class HelpWindow;
class TSMemo;
class KarteiPanel;
class TForm1MasterHooks;
class TForm1Price;
struct TForm1Printers;
enum class ListPrintMode;
class TOptionenDlg;
class UserPort;
struct TableEnvironment;
class PdfNoticeBar;

// The steps that other subsystems fill in later; until then they do nothing.
class ShellHooks : public StartUpHooks, public WorkspaceHooks {
public:
    virtual void BackupOnExit() {}
};

// The main window. Its rules live in StartUp, WorkspaceSwitcher and Indicators; the
// window binds them to the tool bar, the menus, the panels and the status line. Its sides
// of the record card, the options dialog and the text editor reach it through their host
// interfaces.
class TForm1 : public QMainWindow,
               private KarteiHost,
               private OptionsHost,
               private TexteHost,
               private StapelHost,
               private StockHost {
    Q_OBJECT
public:
    // Runs the creation handler: data folder check, options file, window geometry.
    TForm1(UserPort& port, const Clock& clock, const QString& programFolder,
           std::function<QStringList()> printers = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Shows the window maximised or in its stored bounds; the first show runs the show
    // handler. The start-up picture is hidden and destroyed after loading.
    void ShowMain(QWidget* splash = nullptr);

    StartUp& Start() { return m_startUp; }
    WorkspaceSwitcher& Switcher() { return m_switcher; }
    Indicators& IndicatorState() override { return m_indicators; }
    QTimer& IndicatorTimer() { return m_timer; }
    // Switches as a tool bar click or menu item would.
    bool SwitchWorkspace(Workspace w);
    QAction* MenuAction(Workspace w) const { return m_menuActions.value(int(w)); }
    QAction* ToolAction(Workspace w) const { return m_toolActions.value(int(w)); }
    QWidget* WelcomePanel() const { return m_welcome; }
    QWidget* CurrentPanel() const;
    // "Talven-Hilfethemen": the help page of the workspace shown.
    void OpenHelp();
    HelpWindow* HelpViewer() const;
    // The drug list download and its take-over (TForm1Download.cpp).
    TForm1Download& ListDownload() { return *m_download; }
    TSGrid& Grid(MasterTable which) const override { return *m_grids[int(which)]; }
    TSGridView* View(MasterTable which) const { return m_views[int(which)]; }
    // Sets up a master grid and loads its table from the data folder.
    void LoadMasterTable(MasterTable which);

    // "Systemoptionen" on a page; asks for the password when they are protected. Returns
    // whether the dialog was confirmed. OpenOptionsDialog skips the password.
    bool OpenOptions(TOptionenDlgForm::Page page = TOptionenDlgForm::Praxis);
    bool OpenOptionsDialog(TOptionenDlgForm::Page page);
    TOptionenDlg* OptionsDialog() const { return m_optionenDlg.get(); }
    // The copies made on close (weekday and month sets, backup medium).
    void RunBackupOnExit();
    // The record card workspace (TForm1Kartei.cpp).
    KarteiPanel* Kartei() const;
    void FinishKartei();

    // The dispensing record workspace (TForm1Abgabe.cpp).
    TForm1Abgabe& Abgabe() const { return *m_abgabe; }

    // The medication stock (TForm1Stock.cpp).
    TForm1Stock& Stock() const { return *m_stock; }

    // The text editor (TForm1Texte.cpp).
    TSMemo* TextPanel() const;
    // The appointment calendar and today's appointments (TForm1Termin.cpp).
    TForm1Termin& Termin() { return *m_termin; }
    // Opens a letter in the "Texte" workspace (entering it); false when it did not open.
    bool OpenTextDocument(const QString& path);
    // The notes of the selected customer; from the record card they hand a cell over to
    // the card. Another dialog (the appointments) passes who takes the marked cell.
    void OpenNotes(NotesHandOver* handOver = nullptr);

    // The workspace "Stapeldruck u. E/A" (TForm1Stapel.cpp).
    TForm1Stapel& Stapel() const { return *m_stapel; }
    void FinishStapel();

    // Insert, edit and delete in the active master workspace (TForm1Master.cpp).
    bool InsertRecord();
    bool EditRecord();
    bool DeleteRecord();
    // The shared printers and the list prints of the master workspaces (TForm1Printing.cpp).
    TForm1Printers& Printers() { return *m_printers; }
    void PrintMasterList(ListPrintMode mode);
    // After a print to the PDF printer the window says where the file went; opening it or
    // its folder goes to the desktop unless another port is set.
    void SetDesktop(DesktopPort& desktop);
    PdfNoticeBar* PdfNotice() const { return m_pdfNotice; }

    // Table font (TForm1View.cpp): font and row height of every grid of the window, bold
    // quantity fields from size 9; the close stores the size.
    void ApplyTableFont(int size);
    // The menu switch " GoBD Restriktionen ein/aus": on at every start.
    bool GoBdRestrictions() const override;

signals:
    void tableFontChanged(int size);
    void goBdRestrictionsChanged(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildPanels();
    void BuildStatusBar();
    void RunShowHandler();
    void SyncWorkspaceState();
    void SyncIndicators();
    void OnTimer();
    void StartIndicatorTimer();
    QAction* AddSwitch(QMenu* menu, const QString& text, MainSwitch s);
    QWidget* WrapView(QWidget* parent, MasterTable which, const QString& name);
    QHash<QString, int> CurrentColumnWidths() const;
    void OnSearchChanged(const QString& text);
    void RunCustomerSearch(bool continued);
    MasterTable ShownMasterTable() const;
    bool DrawMasterCell(MasterTable which, QPainter& p, const QRect& rect, int col, int row,
                        bool selected);
    QAction* BuildTableFontMenu(QMenu* options);
    void BindGoBdItem();

    UserPort& m_port;
    std::shared_ptr<TableEnvironment> m_tableEnv;
    std::unique_ptr<TSGrid> m_grids[3];
    TSGridView* m_views[3] = {};
    std::unique_ptr<ShellHooks> m_hooks;
    StartUp m_startUp;
    Indicators m_indicators;
    PasswordGate m_gate;
    WorkspaceSwitcher m_switcher;
    QTimer m_timer;
    bool m_shown = false;
    QPointer<QWidget> m_splash;

    QHash<int, QAction*> m_menuActions;
    QHash<int, QAction*> m_toolActions;
    QActionGroup* m_toolGroup = nullptr;
    QList<QAction*> m_recentActions;
    QAction* m_recentSeparator = nullptr;
    QAction* m_helpAction = nullptr;
    QPointer<HelpWindow> m_helpWindow;
    std::unique_ptr<TForm1Download> m_download;
    QAction* m_goBdAction = nullptr;
    QAction* m_fontSizeAction = nullptr;
    QActionGroup* m_fontSizeGroup = nullptr;
    QHash<int, QAction*> m_switchActions;

    QStackedWidget* m_stack = nullptr;
    QWidget* m_welcome = nullptr;
    QLabel* m_greeting = nullptr;
    QWidget* m_hauptPanel = nullptr;
    QStackedWidget* m_medLeistStack = nullptr;
    QWidget* m_medPanel = nullptr;
    QWidget* m_leistungPanel = nullptr;
    QWidget* m_kundePanel = nullptr;
    QLabel* m_searchLabel = nullptr;
    QLineEdit* m_suchEdit = nullptr;
    QLineEdit* m_mengeMed = nullptr;
    QLineEdit* m_mengeLeistung = nullptr;
    QLineEdit* m_suchEditKunde = nullptr;
    QComboBox* m_suchKrit = nullptr;
    QLabel* m_notFound = nullptr;
    QPushButton* m_findContinue = nullptr;

    QLabel* m_statusLabel = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLabel* m_vatLabel = nullptr;
    QLabel* m_currencyLabel = nullptr;
    QLabel* m_backupIcon = nullptr;
    QLabel* m_passwordIcon = nullptr;
    QLabel* m_stockIcon = nullptr;
    QLabel* m_infoPanel = nullptr;

    // Options dialog and backup (TForm1Options.cpp); they go before the options they use.
    void IndicatorsChanged(bool blink) override;
    void ForgetPassword() override;
    void SetBackupFolder(const QString& folder) override;
    void ShowVatRate(const QString& rate) override;
    void ResetQuantityFields() override;
    void ApplyBackupSettings();
    void ApplyOptionLabels() override;
    const Clock& m_clock;
    std::unique_ptr<TForm1OptionHooks> m_optionHooks;
    std::unique_ptr<mastersearch::CustomerSearch> m_customerSearch;
    std::unique_ptr<TOptionenDlg> m_optionenDlg;

    // Record card workspace (TForm1Kartei.cpp).
    bool InventoryAutomatic() const override;
    void BuildKartei();
    bool EnterKartei(Workspace before);
    void SyncKartei();
    std::unique_ptr<TForm1Kartei> m_kartei;

    // Medication stock (TForm1Stock.cpp).
    void MedicationsChanged() override;
    bool CanOpenStockCard(const QString& key) override;
    void OpenStockCard(const QString& key) override;
    void BuildStock();
    std::unique_ptr<TForm1Stock> m_stock;
    QPushButton* m_stockButton = nullptr;

    // Text editor (TForm1Texte.cpp).
    bool EnterTextWorkspace() override;
    void ShowTextDocument(const QString& caption, const QString& path) override;
    bool NotesGranted() override;
    void BuildTexte();
    std::unique_ptr<TForm1Texte> m_texte;
    QAction* m_notesAction = nullptr;
    QPushButton* m_notesButton = nullptr;

    // Batch workspace with the journals (TForm1Stapel.cpp).
    void ShowStapelFile(const QString& path) override;
    void BuildStapel();
    void OpenStapelCard(const QString& key);
    std::unique_ptr<TForm1Stapel> m_stapel;

    // Dispensing records (TForm1Abgabe.cpp).
    void BuildAbgabe();
    std::unique_ptr<TForm1Abgabe> m_abgabe;
    QList<QAction*> m_abgabeActions;

    // Appointment calendar (TForm1Termin.cpp).
    void BuildTermin();
    std::unique_ptr<TForm1Termin> m_termin;

    // Master records, quantity fields and printing (TForm1Master.cpp, TForm1Printing.cpp).
    void BuildRecordMenu(QMenu* edit);
    void BuildPrintMenu(QMenu* datei);
    void BuildMasterControls();
    void SyncMasterActions();
    bool RunMasterRecord(int operation);
    std::unique_ptr<TForm1MasterHooks> m_masterHooks;
    std::unique_ptr<TForm1Price> m_price;  // price panel, factor, "100%" (TForm1Price.cpp)
    std::unique_ptr<TForm1Printers> m_printers;
    QList<QAction*> m_recordActions;
    QList<QAction*> m_printActions;
    void PdfWritten(const QString& path);
    void OpenDesktopPath(const QString& path);
    std::unique_ptr<DesktopPort> m_ownDesktop;
    DesktopPort* m_desktop = nullptr;
    PdfNoticeBar* m_pdfNotice = nullptr;
};
