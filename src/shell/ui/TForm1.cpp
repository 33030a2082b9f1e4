#include "shell/ui/TForm1.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "cards/CardTextSearch.h"
#include "cards/ui/KarteiPanel.h"
#include "common/UserPort.h"
#include "dispensing/ui/AbgabePanel.h"
#include "help/HelpTopics.h"
#include "help/ui/HelpWindow.h"
#include "masterdata/MasterCellStyle.h"
#include "masterdata/MasterSearch.h"
#include "masterdata/MasterWorkspace.h"
#include "platform/Files.h"
#include "shell/About.h"
#include "shell/ui/TForm1Abgabe.h"
#include "shell/ui/TForm1Download.h"
#include "shell/ui/TForm1Master.h"
#include "shell/ui/TForm1Price.h"
#include "shell/ui/TForm1Termin.h"
#include "shell/ui/TOptionenDlg.h"
#include "shell/ui/TSplashForm.h"
#include "shell/ui/TStapelFrame.h"
#include "shell/ui/ToolBarIcons.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"
#include "texts/ui/TSMemo.h"

namespace {

QLabel* IndicatorLabel(QWidget* parent, const QString& name, const QIcon& icon,
                       const QString& toolTip)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(icon.pixmap(16, 16));
    label->setToolTip(toolTip);
    label->hide();
    return label;
}

// Workspaces whose contents exist; the others stay disabled until they are built.
bool IsBuilt(Workspace w)
{
    return w == Workspace::Medikamente || w == Workspace::Leistungen || w == Workspace::Kunden ||
           w == Workspace::Kartei || w == Workspace::Abgabe || w == Workspace::Text ||
           w == Workspace::Stapel || w == Workspace::Termin || w == Workspace::System;
}

// The help page of each workspace; the welcome panel shows the contents.
QString HelpTopic(Workspace w)
{
    switch (w) {
        case Workspace::Medikamente:
            return QString::fromLatin1(help::kMedications);
        case Workspace::Leistungen:
            return QString::fromLatin1(help::kServices);
        case Workspace::Kunden:
            return QString::fromLatin1(help::kCustomers);
        case Workspace::Kartei:
            return QString::fromLatin1(help::kRecordCard);
        case Workspace::Abgabe:
            return QString::fromLatin1(help::kDispensing);
        case Workspace::Stapel:
            return QString::fromLatin1(help::kBatch);
        case Workspace::Text:
            return QString::fromLatin1(help::kTexts);
        case Workspace::Termin:
            return QString::fromLatin1(help::kAppointments);
        case Workspace::System:
            return QString::fromLatin1(help::kOptions);
        case Workspace::None:
            break;
    }
    return QString::fromLatin1(help::kContents);
}

}  // namespace

// Start-up steps that the main window carries out itself.
class TForm1Hooks : public ShellHooks {
public:
    explicit TForm1Hooks(TForm1& form) : m_form(form) {}
    void LoadMedicationAndServiceTables() override
    {
        m_form.LoadMasterTable(MasterTable::Medication);
        m_form.LoadMasterTable(MasterTable::Service);
    }
    void LoadCustomerTable() override { m_form.LoadMasterTable(MasterTable::Customer); }
    void OpenDialog(Workspace w) override
    {
        if (w == Workspace::System)
            m_form.OpenOptionsDialog(TOptionenDlgForm::Praxis);
        if (w == Workspace::Termin)
            m_form.Termin().Open();
    }
    void AppointmentStartCheck() override { m_form.Termin().StartCheck(); }
    void BackupOnExit() override { m_form.RunBackupOnExit(); }
    void FinishRecordCard() override { m_form.FinishKartei(); }
    void FinishDispensingRecord() override { m_form.Abgabe().Finish(); }
    void FinishBatch() override { m_form.FinishStapel(); }
    bool AsksOwnPassword(Workspace w) override { return w == Workspace::Stapel; }
    void PrepareStatisticsSelectors(const QDate& today) override
    {
        m_form.Stapel().PrepareSelectors(today);
    }
    bool CleanUpOldBookings() override { return m_form.Stapel().CleanUpOldBookings(); }
    void RecalculateStock() override { m_form.Stock().RecalculateAtStart(); }
    bool CleanUpStockFiles() override { return m_form.Stock().CleanUpAtStart(); }
    void LoadTextPageLayout() override
    {
        if (TSMemo* panel = m_form.TextPanel())
            panel->RefreshMetrics();
    }
    QString CaptionOf(Workspace w) override
    {
        if (w == Workspace::Text && m_form.TextPanel())
            return m_form.TextPanel()->Workspace().Caption();
        if (w == Workspace::Stapel)
            return QStringLiteral("Talven - Stapeldruck");
        if (w == Workspace::Abgabe)
            return QStringLiteral("Talven - Abgabebeleg");
        return w == Workspace::Kartei ? QStringLiteral("Talven - Kartei")
                                      : QStringLiteral("Talven");
    }
    void ApplyTableFont(int size) override { m_form.ApplyTableFont(size); }

private:
    TForm1& m_form;
};

TForm1::TForm1(UserPort& port, const Clock& clock, const QString& programFolder,
               std::function<QStringList()> printers, QWidget* parent)
    : QMainWindow(parent),
      m_port(port),
      m_tableEnv(std::make_shared<TableEnvironment>()),
      m_hooks(std::make_unique<TForm1Hooks>(*this)),
      m_startUp(port, clock, programFolder, std::move(printers)),
      m_gate(port, m_startUp.Options(), m_indicators),
      m_switcher(m_gate, m_startUp.Options(), *m_hooks),
      m_clock(clock)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Talven"));
    for (auto& grid : m_grids)
        grid = std::make_unique<TSGrid>(port, m_tableEnv);
    BuildMenus();
    BuildToolBar();
    BuildPanels();
    BuildStatusBar();

    // Creation handler. When it ends the program the grid views go before the grids.
    try {
        m_startUp.CheckDataFolder();
    } catch (...) {
        delete m_stack;
        throw;
    }
    m_helpAction->setEnabled(m_startUp.HelpAvailable());
    const QList<RecentMenuItem>& recent = m_startUp.RecentMenu();
    for (int i = 0; i < m_recentActions.size(); ++i) {
        m_recentActions[i]->setText(recent[i].caption);
        m_recentActions[i]->setVisible(recent[i].visible);
        m_recentActions[i]->setEnabled(false);  // the text editor opens them
    }
    m_recentSeparator->setVisible(m_startUp.RecentSeparatorVisible());
    resize(745, 570);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    setGeometry(m_startUp.WindowBounds(screenSize));

    const QString data = m_startUp.DataFolder();
    // The file label names the file that is loaded: "leistung.dbf" of an older Windows folder.
    m_switcher.SetTablePath(
        Workspace::Medikamente,
        files::FindCaseInsensitive(data, MasterTableFile(MasterTable::Medication)));
    m_switcher.SetTablePath(
        Workspace::Leistungen,
        files::FindCaseInsensitive(data, MasterTableFile(MasterTable::Service)));
    m_switcher.SetTablePath(Workspace::Kunden, files::FindCaseInsensitive(
                                                   data, MasterTableFile(MasterTable::Customer)));
    // The service quantity of the last run comes back, after the field's leaving rule.
    const QString standardQuantity =
        m_startUp.Ini().ReadString(QStringLiteral("StdMenge"), QStringLiteral("Leistung"));
    if (!standardQuantity.isEmpty())
        m_mengeLeistung->setText(QuantityFields::Normalised(standardQuantity));
    BuildKartei();
    BuildStock();
    if (const KarteiPanel* card = Kartei())
        m_price->PairWith(card->findChild<QPushButton*>(QStringLiteral("ProzentBtn")));
    BuildAbgabe();
    BuildTexte();
    BuildStapel();
    BuildTermin();

    m_timer.setInterval(Indicators::kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TForm1::OnTimer);
    m_gate.OnGranted = [this] {
        m_timer.stop();
        SyncIndicators();
    };
}

TForm1::~TForm1()
{
    // The grid views use the grids, which go before the window's children do; the price
    // panel watches the views.
    m_price.reset();
    delete m_stack;
}

void TForm1::BuildMenus()
{
    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    BuildPrintMenu(datei);
    m_download = std::make_unique<TForm1Download>(TForm1Download::Host{
        this, m_port, m_clock, m_startUp, *m_grids[int(MasterTable::Medication)],
        [this] {
            return !m_startUp.Options().Flag(QStringLiteral("PW_MedChk")) ||
                   m_gate.PasswordGranted();
        },
        [this] {
            m_views[int(MasterTable::Medication)]->SyncScrollBar();
            m_views[int(MasterTable::Medication)]->Area()->update();
        }});
    datei->addSeparator();
    m_download->AddMenuItem(datei);
    m_recentSeparator = datei->addSeparator();
    for (int i = 0; i < 4; ++i) {
        QAction* a = datei->addAction(QStringLiteral("err"));
        a->setObjectName(QStringLiteral("DateiItem%1").arg(i + 1));
        a->setVisible(false);
        m_recentActions.append(a);
    }
    datei->addSeparator();
    QAction* quit = datei->addAction(QStringLiteral("&Beenden"));
    quit->setObjectName(QStringLiteral("BeendenItem"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    BuildRecordMenu(menuBar()->addMenu(QStringLiteral("&Bearbeiten")));

    QMenu* areas = menuBar()->addMenu(QStringLiteral("&Arbeitsbereiche"));
    for (const WorkspaceInfo& info : WorkspaceTable()) {
        if (info.workspace == Workspace::Termin)
            areas->addSeparator();
        QAction* a = areas->addAction(QString::fromUtf8(info.menuText));
        a->setObjectName(QStringLiteral("Menu") + QString::fromLatin1(info.button));
        a->setCheckable(!info.isDialog);
        a->setEnabled(IsBuilt(info.workspace));
        const Workspace w = info.workspace;
        connect(a, &QAction::triggered, this, [this, w] { SwitchWorkspace(w); });
        m_menuActions.insert(int(w), a);
    }

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Optionen"));
    QAction* vat = options->addAction(QStringLiteral("&Mwst editieren..."));
    vat->setObjectName(QStringLiteral("MwstItem"));
    connect(vat, &QAction::triggered, this, [this] { OpenOptions(TOptionenDlgForm::MwSt); });
    options->addSeparator();
    AddSwitch(options, QStringLiteral("Autom. Inventur der Medikamente"), MainSwitch::MedInvAutom);
    AddSwitch(options, QStringLiteral("Inventur-Med. in Listen einfärben"),
              MainSwitch::InvMedMarkieren);
    AddSwitch(options, QStringLiteral("GOT-Ziffern-Suche ein/aus"), MainSwitch::GotSuche);
    AddSwitch(options, QStringLiteral(" Bemerkungsfeld  stets beschreibbar"),
              MainSwitch::Bemerkungsfreigabe);
    m_goBdAction = options->addAction(QStringLiteral(" GoBD Restriktionen ein/aus"));
    m_goBdAction->setObjectName(QStringLiteral("GoBDItem"));
    m_goBdAction->setCheckable(true);
    m_goBdAction->setChecked(true);
    m_goBdAction->setVisible(false);
    BindGoBdItem();
    options->addSeparator();
    m_fontSizeAction = BuildTableFontMenu(options);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    m_helpAction = help->addAction(QStringLiteral("Talven-&Hilfethemen"));
    m_helpAction->setObjectName(QStringLiteral("HilfeItem"));
    m_helpAction->setShortcut(QKeySequence::HelpContents);
    connect(m_helpAction, &QAction::triggered, this, &TForm1::OpenHelp);
    help->addSeparator();
    QAction* about = help->addAction(QStringLiteral("Über &Talven..."));
    about->setObjectName(QStringLiteral("UeberItem"));
    connect(about, &QAction::triggered, this, [this] {
        m_port.Message(MsgKind::Information,
                       AboutText(m_startUp.DataFolder(), QString::fromLatin1(qVersion())),
                       Buttons::Ok, QStringLiteral("Über Talven"));
    });
}

QAction* TForm1::AddSwitch(QMenu* menu, const QString& text, MainSwitch s)
{
    QAction* a = menu->addAction(text);
    a->setCheckable(true);
    a->setVisible(false);
    connect(a, &QAction::toggled, this, [this, s](bool on) {
        WriteMainSwitch(m_startUp.Ini(), s, on);
        if (s == MainSwitch::MedInvAutom) {
            m_indicators.stockOn = on;
            SyncIndicators();
            if (m_stock)
                m_stock->AutomaticSwitched(on);
        }
        if (s == MainSwitch::GotSuche)
            m_switcher.SetGotSearch(on);
        if (s == MainSwitch::Bemerkungsfreigabe && m_kartei)
            m_kartei->ApplyCardOptions();
        if (s == MainSwitch::InvMedMarkieren && m_views[int(MasterTable::Medication)])
            m_views[int(MasterTable::Medication)]->Area()->update();
    });
    m_switchActions.insert(int(s), a);
    return a;
}

void TForm1::BuildToolBar()
{
    QToolBar* bar = new QToolBar(QStringLiteral("Arbeitsbereiche"), this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(32, 32));
    // Each button names its workspace under its picture.
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addToolBar(Qt::LeftToolBarArea, bar);
    m_toolGroup = new QActionGroup(this);
    m_toolGroup->setExclusive(true);
    for (const WorkspaceInfo& info : WorkspaceTable()) {
        QAction* a =
            bar->addAction(WorkspaceIcon(info.workspace), WorkspaceButtonText(info.workspace));
        a->setObjectName(QString::fromLatin1(info.button));
        a->setToolTip(QString::fromUtf8(info.toolTip));
        a->setCheckable(!info.isDialog);
        a->setEnabled(IsBuilt(info.workspace));
        if (!info.isDialog)
            m_toolGroup->addAction(a);
        const Workspace w = info.workspace;
        connect(a, &QAction::triggered, this, [this, w] { SwitchWorkspace(w); });
        m_toolActions.insert(int(w), a);
    }
}

void TForm1::BuildPanels()
{
    m_stack = new QStackedWidget(this);
    setCentralWidget(m_stack);

    m_welcome = new QWidget(m_stack);
    m_welcome->setObjectName(QStringLiteral("WelcomePanel"));
    auto* welcomeLayout = new QVBoxLayout(m_welcome);
    auto* picture = new QLabel(m_welcome);
    picture->setPixmap(
        TSplashForm::Picture().scaled(381, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignCenter);
    m_greeting = new QLabel(m_welcome);
    m_greeting->setObjectName(QStringLiteral("GreetingLabel"));
    m_greeting->setAlignment(Qt::AlignCenter);
    QFont greetingFont = m_greeting->font();
    greetingFont.setPointSize(14);
    greetingFont.setBold(true);
    m_greeting->setFont(greetingFont);
    welcomeLayout->addStretch();
    welcomeLayout->addWidget(picture);
    welcomeLayout->addWidget(m_greeting);
    welcomeLayout->addStretch();
    m_stack->addWidget(m_welcome);

    // Medications and services share the search and quantity row.
    m_hauptPanel = new QWidget(m_stack);
    m_hauptPanel->setObjectName(QStringLiteral("HauptPanel"));
    auto* hauptLayout = new QVBoxLayout(m_hauptPanel);
    auto* medLeist = new QWidget(m_hauptPanel);
    medLeist->setObjectName(QStringLiteral("MedLeistPanel"));
    auto* row = new QHBoxLayout(medLeist);
    row->setContentsMargins(0, 0, 0, 0);
    m_searchLabel = new QLabel(QStringLiteral("Suche < abc.. >"), medLeist);
    m_searchLabel->setObjectName(QStringLiteral("Label2"));
    m_suchEdit = new QLineEdit(medLeist);
    m_suchEdit->setObjectName(QStringLiteral("SuchEdit"));
    m_mengeMed = new QLineEdit(QStringLiteral("1,00"), medLeist);
    m_mengeMed->setObjectName(QStringLiteral("MengeMedEdit"));
    m_mengeMed->setMaximumWidth(70);
    m_mengeLeistung = new QLineEdit(QStringLiteral("1,00"), medLeist);
    m_mengeLeistung->setObjectName(QStringLiteral("MengeLeistungEdit"));
    m_mengeLeistung->setMaximumWidth(70);
    connect(m_suchEdit, &QLineEdit::textChanged, this, &TForm1::OnSearchChanged);
    m_suchEdit->installEventFilter(this);
    row->addWidget(m_searchLabel);
    row->addWidget(m_suchEdit, 1);
    hauptLayout->addWidget(medLeist);
    m_medLeistStack = new QStackedWidget(m_hauptPanel);
    m_medPanel = WrapView(m_medLeistStack, MasterTable::Medication, QStringLiteral("MedPanel"));
    m_leistungPanel =
        WrapView(m_medLeistStack, MasterTable::Service, QStringLiteral("LeistungPanel"));
    m_medLeistStack->addWidget(m_medPanel);
    m_medLeistStack->addWidget(m_leistungPanel);
    hauptLayout->addWidget(m_medLeistStack, 1);
    m_price = std::make_unique<TForm1Price>(
        TForm1Price::Host{m_port, [this] { return PriceSettingsFromOptions(m_startUp.Options()); },
                          m_views[int(MasterTable::Medication)], m_views[int(MasterTable::Service)],
                          m_mengeMed, m_mengeLeistung});
    m_price->Build(row, hauptLayout, 1, medLeist);
    m_download->AddButton(medLeist);
    m_stack->addWidget(m_hauptPanel);

    m_kundePanel = new QWidget(m_stack);
    m_kundePanel->setObjectName(QStringLiteral("HauptPanelKunde"));
    auto* kundeLayout = new QVBoxLayout(m_kundePanel);
    auto* kundeRow = new QHBoxLayout();
    m_suchKrit = new QComboBox(m_kundePanel);
    m_suchKrit->setObjectName(QStringLiteral("SuchKritCBox"));
    m_suchKrit->addItems({QStringLiteral("Name"), QStringLiteral("Kunden-Nr."),
                          QStringLiteral("in Kundenliste"), QStringLiteral("in Patienten"),
                          QStringLiteral("in Karteien")});
    m_suchEditKunde = new QLineEdit(m_kundePanel);
    m_suchEditKunde->setObjectName(QStringLiteral("SuchEditKunde"));
    kundeRow->addWidget(new QLabel(QStringLiteral("Suche < abc.. >"), m_kundePanel));
    kundeRow->addWidget(m_suchEditKunde, 1);
    kundeRow->addWidget(m_suchKrit);
    m_notFound = new QLabel(m_kundePanel);
    m_notFound->setObjectName(QStringLiteral("NotFoundLabel"));
    m_notFound->hide();
    m_findContinue = new QPushButton(QStringLiteral("Weitersuchen"), m_kundePanel);
    m_findContinue->setObjectName(QStringLiteral("FindContinueBtn"));
    m_findContinue->hide();
    kundeRow->addWidget(m_notFound);
    kundeRow->addWidget(m_findContinue);
    m_notesButton = new QPushButton(QStringLiteral("Patienten"), m_kundePanel);
    m_notesButton->setObjectName(QStringLiteral("PatientenBtn"));
    m_notesButton->setToolTip(
        QStringLiteral("Patienten (Notizen, Impfungen, Röntgen-, Labordaten etc.)"));
    kundeRow->addWidget(m_notesButton);
    connect(m_suchEditKunde, &QLineEdit::textChanged, this, [this] { RunCustomerSearch(false); });
    connect(m_findContinue, &QPushButton::clicked, this, [this] { RunCustomerSearch(true); });
    kundeLayout->addLayout(kundeRow);
    kundeLayout->addWidget(
        WrapView(m_kundePanel, MasterTable::Customer, QStringLiteral("KundePanel")), 1);
    m_stack->addWidget(m_kundePanel);
    m_stack->setCurrentWidget(m_welcome);
    BuildMasterControls();
}

QWidget* TForm1::WrapView(QWidget* parent, MasterTable which, const QString& name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new TSGridView(*m_grids[int(which)], panel);
    static const char* const kGridNames[] = {"SGrid1", "LeistungGrid2", "KundeSGrid"};
    view->setObjectName(QString::fromLatin1(kGridNames[int(which)]));
    layout->addWidget(view);
    m_views[int(which)] = view;
    if (which != MasterTable::Service) {
        view->SetDrawCell(
            [this, which](QPainter& p, const QRect& rect, int col, int row, bool selected) {
                return DrawMasterCell(which, p, rect, col, row, selected);
            });
    }
    // Tab and the mouse wheel lead back to the search field of the workspace.
    const auto toSearch = [this, which] {
        QLineEdit* search = which == MasterTable::Customer ? m_suchEditKunde : m_suchEdit;
        if (search)
            search->setFocus();
    };
    connect(view, &TSGridView::tabPressed, this, toSearch);
    connect(view, &TSGridView::wheelTurned, this, toSearch);
    if (which != MasterTable::Customer) {
        connect(view, &TSGridView::keyHandled, this, [this] {
            ResetQuantityFields();
            if (m_price)
                m_price->SelectionMoved();
        });
    }
    return panel;
}

void TForm1::ResetQuantityFields()
{
    m_mengeMed->setText(QStringLiteral("1,00"));
    m_mengeLeistung->setText(QStringLiteral("1,00"));
}

void TForm1::LoadMasterTable(MasterTable which)
{
    const OptionValues& options = m_startUp.Options();
    m_tableEnv->readOnlyMedium = m_startUp.ReadOnlyMedium();
    m_tableEnv->autoBackup = options.Flag(QStringLiteral("SicherungChk1"));
    m_tableEnv->autoBackupFolder = options.Value(QStringLiteral("BkDir"));
    m_tableEnv->dataFolder = m_startUp.DataFolder();
    if (!m_tableEnv->dataFolderDevice)
        m_tableEnv->dataFolderDevice = files::DeviceOf(m_startUp.DataFolder());
    TSGrid& grid = *m_grids[int(which)];
    SetUpMasterGrid(grid, which, m_startUp.ColumnWidths(), m_startUp.TableFontSize());
    const QString path = files::FindCaseInsensitive(m_startUp.DataFolder(), MasterTableFile(which));
    // Older files are brought to the current layout and saved before anything shows them.
    ::LoadMasterTable(grid, which, path);
    SetUpMasterGrid(grid, which, m_startUp.ColumnWidths(), m_startUp.TableFontSize());
    m_masterHooks->SetFillBase(which);
    m_views[int(which)]->SyncScrollBar();
}

bool TForm1::DrawMasterCell(MasterTable which, QPainter& p, const QRect& rect, int col, int row,
                            bool selected)
{
    const TSGrid& grid = *m_grids[int(which)];
    const int record = grid.WindowTop() + row - 1;
    if (record < 0 || record >= grid.RecordCount())
        return false;
    const QString line = grid.RecordLine(record);
    QAction* mark = m_switchActions.value(int(MainSwitch::InvMedMarkieren));
    const MasterCellStyle style =
        which == MasterTable::Customer
            ? CustomerCellStyle(line, selected, m_startUp.TableFontSize())
            : MedicationCellStyle(line, col, selected, mark && mark->isChecked());
    if (!style.hasBackground && !style.redText)
        return false;
    const QPalette pal = palette();
    QColor background = selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base);
    if (style.hasBackground)
        background = QColor(QRgb(style.background));
    p.fillRect(rect, background);
    QColor text = selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text);
    if (style.hasBackground)
        text = selected ? QColor(Qt::white) : QColor(Qt::black);
    if (style.redText)
        text = QColor(Qt::red);
    p.setPen(text);
    // The grid's own cells also start 2 pixels below their top; pharmacy customers keep
    // their own offset.
    p.drawText(rect.adjusted(style.textLeft, style.textTop, -1, 0),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, grid.Cells(col, row));
    return true;
}

void TForm1::RunCustomerSearch(bool continued)
{
    m_notFound->hide();
    m_findContinue->hide();
    TSGrid& customers = Grid(MasterTable::Customer);
    static const card::CardTextSearch cardTexts;
    if (!m_customerSearch)
        m_customerSearch =
            std::make_unique<mastersearch::CustomerSearch>(m_startUp.DataFolder(), cardTexts);
    const auto criterion = mastersearch::Criterion(m_suchKrit->currentIndex());
    const mastersearch::Result out =
        continued
            ? m_customerSearch->Continue(customers.Lines(), criterion, customers.CurrentRecord())
            : m_customerSearch->Search(customers.Lines(), criterion, m_suchEditKunde->text(),
                                       customers.CurrentRecord());
    if (out.record >= 0) {
        // The record found shows with those after it, where the next match may be.
        customers.GotoRecordAtTop(1, out.record);
        View(MasterTable::Customer)->SyncScrollBar();
    }
    if (!out.label.isEmpty()) {
        m_notFound->setText(out.label);
        m_notFound->setStyleSheet(
            out.colour == mastersearch::LabelColour::Red     ? QStringLiteral("color: red")
            : out.colour == mastersearch::LabelColour::Green ? QStringLiteral("color: green")
                                                             : QString());
        m_notFound->show();
    }
    m_findContinue->setVisible(out.continueButton);
}

MasterTable TForm1::ShownMasterTable() const
{
    return m_switcher.Active() == Workspace::Leistungen ? MasterTable::Service
                                                        : MasterTable::Medication;
}

void TForm1::OnSearchChanged(const QString& typed)
{
    QAction* gotSearch = m_switchActions.value(int(MainSwitch::GotSuche));
    const bool feeNumbers = gotSearch && gotSearch->isChecked();
    if (!feeNumbers) {
        const mastersearch::DigitSplit split = mastersearch::TakeQuantityDigits(typed);
        if (!split.quantity.isEmpty()) {
            m_mengeMed->setText(split.quantity);
            m_mengeLeistung->setText(split.quantity);
            const QSignalBlocker block(m_suchEdit);
            m_suchEdit->setText(split.search);
            m_suchEdit->setCursorPosition(int(split.search.size()));
            return;
        }
    }
    const QString& text = typed;
    TSGrid& med = Grid(MasterTable::Medication);
    TSGrid& services = Grid(MasterTable::Service);
    med.GotoRecordAtTop(1, mastersearch::FindByName(med.Lines(), text));
    services.GotoRecordAtTop(1, feeNumbers ? mastersearch::FindByFeeNumber(services.Lines(), text,
                                                                           services.CurrentRecord())
                                           : mastersearch::FindByName(services.Lines(), text));
    View(MasterTable::Medication)->SyncScrollBar();
    View(MasterTable::Service)->SyncScrollBar();
    m_price->SelectionMoved();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_stockIcon && event->type() == QEvent::MouseButtonPress && m_stock) {
        m_stock->IndicatorClicked();
        return true;
    }
    if (watched == m_suchEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        switch (key) {
            case Qt::Key_Down:
            case Qt::Key_Up:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_PageDown:
            case Qt::Key_PageUp:
                View(ShownMasterTable())->PressKey(key);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                m_price->HidePanel();
                return true;
            default:
                break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QHash<QString, int> TForm1::CurrentColumnWidths() const
{
    QHash<QString, int> widths = m_startUp.ColumnWidths();
    for (const ColumnWidthBinding& b : MasterColumnWidthBindings())
        widths.insert(QString::fromLatin1(b.key), m_masterHooks->StoredWidth(b.table, b.col));
    if (const KarteiPanel* panel = Kartei())
        widths.insert(QStringLiteral("wBeh"), panel->CardGrid().ColWidth(2));
    return widths;
}

void TForm1::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    m_statusLabel = new QLabel(bar);
    m_statusLabel->setObjectName(QStringLiteral("StatusLabel"));
    m_fileLabel = new QLabel(bar);
    m_fileLabel->setObjectName(QStringLiteral("FileLabel"));
    m_vatLabel = new QLabel(bar);
    m_vatLabel->setObjectName(QStringLiteral("MwstLabel"));
    m_vatLabel->setToolTip(QStringLiteral("MwSt-Satz in %"));
    m_currencyLabel = new QLabel(bar);
    m_currencyLabel->setObjectName(QStringLiteral("WaehrungLabel"));
    QStyle* st = style();
    m_backupIcon = IndicatorLabel(bar, QStringLiteral("BackupIndicator"),
                                  st->standardIcon(QStyle::SP_DriveFDIcon),
                                  QStringLiteral("Daten-Backup aktiv!"));
    m_passwordIcon = IndicatorLabel(bar, QStringLiteral("PasswordIndicator"),
                                    st->standardIcon(QStyle::SP_MessageBoxWarning),
                                    QStringLiteral("Passwort-Schutz aktiv!"));
    m_stockIcon = IndicatorLabel(bar, QStringLiteral("StockIndicator"),
                                 st->standardIcon(QStyle::SP_FileDialogDetailedView),
                                 QStringLiteral("Autom. Inventur aktiv!"));
    m_stockIcon->installEventFilter(this);
    m_infoPanel = new QLabel(QStringLiteral("Autom. Backup aus"), bar);
    m_infoPanel->setObjectName(QStringLiteral("InfoPanel"));
    bar->addWidget(m_statusLabel);
    bar->addWidget(m_fileLabel, 1);
    bar->addPermanentWidget(m_backupIcon);
    bar->addPermanentWidget(m_passwordIcon);
    bar->addPermanentWidget(m_stockIcon);
    bar->addPermanentWidget(m_infoPanel);
    bar->addPermanentWidget(new QLabel(QStringLiteral("MwSt:"), bar));
    bar->addPermanentWidget(m_vatLabel);
    bar->addPermanentWidget(m_currencyLabel);
}

void TForm1::ShowMain(QWidget* splash)
{
    m_splash = splash;
    if (m_startUp.WindowMaximised())
        showMaximized();
    else
        show();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    RunShowHandler();
}

void TForm1::RunShowHandler()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    // Nobody sees the options the start-up writes before the window shows: one save.
    m_startUp.Ini().BeginDeferral();
    try {
        m_startUp.ShowHandler(*m_hooks, screenWidth);
    } catch (...) {
        if (m_splash)
            m_splash->deleteLater();
        throw;
    }
    if (m_splash) {
        m_splash->hide();
        m_splash->deleteLater();
    }

    setWindowTitle(QStringLiteral("Talven"));
    m_greeting->setText(m_startUp.Greeting());
    m_statusLabel->setText(m_startUp.StatusText());
    m_vatLabel->setText(m_startUp.VatLabel());
    m_currencyLabel->setText(m_startUp.CurrencyLabel());
    m_goBdAction->setVisible(m_startUp.GoBdItemVisible());
    m_fontSizeAction->setVisible(m_startUp.TableFontMenuVisible());

    const MainSwitches& switches = m_startUp.Switches();
    for (auto it = m_switchActions.begin(); it != m_switchActions.end(); ++it) {
        const QSignalBlocker block(it.value());
        it.value()->setChecked(switches.Get(MainSwitch(it.key())));
    }
    m_switcher.SetGotSearch(switches.Get(MainSwitch::GotSuche));

    m_indicators.backupOn = m_startUp.BackupIndicator();
    m_indicators.systemProtected = m_startUp.PasswordIndicator();
    m_indicators.stockOn = switches.Get(MainSwitch::MedInvAutom);
    if (m_startUp.PasswordIndicator())
        m_gate.Forget();
    if (m_startUp.IndicatorTimerStarted())
        StartIndicatorTimer();
    SyncIndicators();
    SyncWorkspaceState();
    ApplyBackupSettings();
    m_startUp.Ini().EndDeferral();
}

void TForm1::StartIndicatorTimer()
{
    m_indicators.Start();
    m_timer.start();
}

void TForm1::OnTimer()
{
    m_indicators.Tick();
    if (!m_indicators.Running())
        m_timer.stop();
    SyncIndicators();
}

void TForm1::SyncIndicators()
{
    m_backupIcon->setVisible(m_indicators.BackupVisible());
    m_infoPanel->setVisible(m_indicators.InfoPanelVisible());
    m_passwordIcon->setVisible(m_indicators.PasswordVisible());
    m_stockIcon->setVisible(m_indicators.StockVisible());
    SyncKartei();
}

bool TForm1::SwitchWorkspace(Workspace w)
{
    const Workspace before = m_switcher.Active();
    // The batch workspace asks the password of the tab it opens on before anything is left.
    const bool enterStapel = w == Workspace::Stapel && before != Workspace::Stapel;
    const int stapelTab = enterStapel ? m_stapel->ChooseTab() : -1;
    if (enterStapel && stapelTab < 0)
        return false;
    bool entered = m_switcher.SwitchTo(w);
    if (entered && w == Workspace::Kartei && before != Workspace::Kartei)
        entered = EnterKartei(before);
    if (entered && w == Workspace::Abgabe && before != Workspace::Abgabe)
        m_abgabe->Enter();
    if (entered && enterStapel)
        m_stapel->Show(stapelTab);
    SyncWorkspaceState();
    return entered;
}

void TForm1::SyncWorkspaceState()
{
    const Workspace active = m_switcher.Active();
    for (auto it = m_menuActions.begin(); it != m_menuActions.end(); ++it) {
        if (it.value()->isCheckable())
            it.value()->setChecked(m_switcher.MenuChecked(Workspace(it.key())));
    }
    // The tool bar's exclusive group cannot be cleared by unchecking one button.
    m_toolGroup->setExclusive(false);
    for (auto it = m_toolActions.begin(); it != m_toolActions.end(); ++it) {
        if (it.value()->isCheckable())
            it.value()->setChecked(Workspace(it.key()) == active);
    }
    m_toolGroup->setExclusive(true);

    m_switchActions.value(int(MainSwitch::MedInvAutom))
        ->setVisible(m_switcher.StockSwitchesVisible());
    m_switchActions.value(int(MainSwitch::InvMedMarkieren))
        ->setVisible(m_switcher.StockSwitchesVisible());
    m_switchActions.value(int(MainSwitch::GotSuche))
        ->setVisible(m_switcher.GotSearchSwitchVisible());
    m_switchActions.value(int(MainSwitch::Bemerkungsfreigabe))
        ->setVisible(active == Workspace::Kartei);  // it frees the remarks of invoiced cards
    SyncMasterActions();
    m_notesAction->setEnabled(active == Workspace::Kunden || active == Workspace::Kartei);

    SyncKartei();
    for (QAction* a : m_abgabeActions)
        a->setVisible(active == Workspace::Abgabe);
    if (active != Workspace::Text)
        m_texte->Sync(false);
    if (m_switcher.WelcomeVisible()) {
        setWindowTitle(QStringLiteral("Talven"));
        m_stack->setCurrentWidget(m_welcome);
        return;
    }
    setWindowTitle(m_switcher.Caption());
    m_fileLabel->setText(m_switcher.FileLabel());
    m_searchLabel->setText(m_switcher.SearchLabel());
    switch (active) {
        case Workspace::Medikamente:
            m_stack->setCurrentWidget(m_hauptPanel);
            m_medLeistStack->setCurrentWidget(m_medPanel);
            m_price->ShowFor(true, false);
            m_download->SetButtonVisible(true);
            if (m_stockButton)
                m_stockButton->show();
            break;
        case Workspace::Leistungen:
            m_stack->setCurrentWidget(m_hauptPanel);
            m_medLeistStack->setCurrentWidget(m_leistungPanel);
            m_price->ShowFor(false, true);
            m_download->SetButtonVisible(false);
            if (m_stockButton)
                m_stockButton->hide();
            break;
        case Workspace::Kunden:
            m_stack->setCurrentWidget(m_kundePanel);
            break;
        case Workspace::Kartei:
            SyncKartei();
            break;
        case Workspace::Abgabe:
            m_stack->setCurrentWidget(m_abgabe->Panel());
            setWindowTitle(m_abgabe->Workspace().Caption());
            m_fileLabel->setText(ShortenPath(m_abgabe->Workspace().OwnFile()));
            break;
        case Workspace::Stapel:
            m_stack->setCurrentWidget(m_stapel->Frame());
            m_fileLabel->setText(ShortenPath(m_stapel->ShownFile()));
            break;
        case Workspace::Text:
            m_stack->setCurrentWidget(m_texte->Panel());
            m_texte->Sync(true);
            break;
        default:
            m_stack->setCurrentWidget(m_welcome);
            break;
    }
}

QWidget* TForm1::CurrentPanel() const
{
    return m_stack->currentWidget();
}

HelpWindow* TForm1::HelpViewer() const
{
    return m_helpWindow;
}

void TForm1::OpenHelp()
{
    const QString page = help::PageFor(m_startUp.ProgramFolder(), HelpTopic(m_switcher.Active()));
    if (page.isEmpty()) {
        m_port.Message(MsgKind::Error, QString::fromUtf8(help::kMissing));
        return;
    }
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(this);
    m_helpWindow->ShowPage(page);
}

TSMemo* TForm1::TextPanel() const
{
    return m_texte ? m_texte->Panel() : nullptr;
}

namespace {

// The record card takes a cell of the notes into its current line.
class CardNotesHandOver : public NotesHandOver {
public:
    explicit CardNotesHandOver(KarteiPanel& panel) : m_panel(panel) {}
    QString ButtonCaption() const override
    {
        return QStringLiteral("Markierten Text an Karteikarte übergeben");
    }
    void TakeOver(const QString& text) override { m_panel.InsertText(text); }

private:
    KarteiPanel& m_panel;
};

}  // namespace

void TForm1::OpenNotes(NotesHandOver* handOver)
{
    KarteiPanel* card = Kartei();
    if (!handOver && m_switcher.Active() == Workspace::Kartei && card && card->CardOpen()) {
        CardNotesHandOver toCard(*card);
        m_texte->OpenNotes(this, &toCard);
        return;
    }
    m_texte->OpenNotes(this, handOver);
}

bool TForm1::NotesGranted()
{
    return !m_startUp.Options().Flag(QStringLiteral("PW_PatChk")) || m_gate.PasswordGranted();
}

void TForm1::BuildTexte()
{
    TexteHost& host = *this;
    m_texte = std::make_unique<TForm1Texte>(host, m_port, m_clock, m_startUp, *m_printers,
                                            Grid(MasterTable::Customer), m_tableEnv);
    m_stack->addWidget(m_texte->Build(m_stack));
    m_texte->AddFileMenu(menuBar()->actions().value(0)->menu(), m_printActions.value(0),
                         m_recentActions, m_recentSeparator);

    // The notes of the selected customer, from the customers and the record card.
    QMenu* edit = menuBar()->actions().value(1)->menu();
    edit->addSeparator();
    m_notesAction = edit->addAction(QStringLiteral("&Patienten (Notizen)..."));
    m_notesAction->setObjectName(QStringLiteral("PatientenItem"));
    m_notesAction->setShortcut(QKeySequence(Qt::Key_F7));
    m_notesAction->setEnabled(false);
    connect(m_notesAction, &QAction::triggered, this, [this] { OpenNotes(); });
    connect(m_notesButton, &QPushButton::clicked, this, [this] { OpenNotes(); });
}

bool TForm1::OpenTextDocument(const QString& path)
{
    return m_texte->OpenDocument(path);
}

bool TForm1::EnterTextWorkspace()
{
    return SwitchWorkspace(Workspace::Text);
}

void TForm1::ShowTextDocument(const QString& caption, const QString& path)
{
    setWindowTitle(caption);
    m_fileLabel->setText(ShortenPath(path));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A letter with changes is asked about first; Cancel keeps the window open.
    if (m_texte && !m_texte->AskToSave()) {
        event->ignore();
        return;
    }
    switch (m_switcher.Active()) {
        case Workspace::Text:
            m_hooks->FinishTextEditor();
            break;
        case Workspace::Kartei:
            m_hooks->FinishRecordCard();
            break;
        case Workspace::Abgabe:
            m_hooks->FinishDispensingRecord();
            break;
        default:
            break;
    }
    m_hooks->BackupOnExit();
    if (!m_startUp.ReadOnlyMedium()) {
        CloseState state;
        const QRect bounds = isMaximized() ? normalGeometry() : geometry();
        state.geometry = {bounds.height(), bounds.width(), bounds.x(), bounds.y(), isMaximized()};
        state.columnWidths = CurrentColumnWidths();
        state.medInvAutom = m_switchActions.value(int(MainSwitch::MedInvAutom))->isChecked();
        state.standardQuantity = QuantityFields::Normalised(m_mengeLeistung->text());
        const QScreen* screen = QGuiApplication::primaryScreen();
        state.screenWidth = screen ? screen->geometry().width() : 0;
        state.tabFontSize = m_startUp.TableFontSize();
        WriteOnClose(m_startUp.Ini(), state);
    }
    m_timer.stop();
    event->accept();
}
