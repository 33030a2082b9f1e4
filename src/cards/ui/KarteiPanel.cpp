#include "cards/ui/KarteiPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include "cards/CardClosing.h"
#include "cards/CardGridKeys.h"
#include "cards/CardWorkspace.h"
#include "cards/ui/KarteiHeader.h"
#include "cards/ui/KarteiPickList.h"
#include "cards/ui/KarteiSidePanels.h"
#include "cards/ui/TBezDlg.h"
#include "masterdata/TEditDlgForm.h"
#include "masterdata/ui/TEditDlg.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

// The fixed column of a dispensing-medication card (C9FFFF in blue-green-red order).
const QColor kDispensingColour(0xff, 0xff, 0xc9);
// The "B/S buchen" button while a changed B/S line waits (3342591 in blue-green-red order).
const QColor kBookingColour(0xff, 0x00, 0x33);

}  // namespace

KarteiPanel::KarteiPanel(UserPort& port, const KarteiSetup& setup, QWidget* parent)
    : QWidget(parent),
      m_port(port),
      m_setup(setup),
      m_grid(setup.cardGrid),
      m_ws(setup.workspace),
      m_keys(std::make_unique<card::CardGridKeys>(setup.workspace->Form(), setup.options,
                                                  setup.dataFolder))
{
    setObjectName(QStringLiteral("HauptPanelKartei"));

    // A small window scrolls the workspace instead of growing the main window.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    m_header = new KarteiHeader(content);
    layout->addWidget(m_header);

    auto* splitter = new QSplitter(Qt::Horizontal, content);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(4);
    BuildGrid(setup);
    m_view->setParent(left);
    leftLayout->addWidget(m_view, 1);
    BuildButtons(left, leftLayout);

    auto* right = new QSplitter(Qt::Vertical, splitter);
    right->setObjectName(QStringLiteral("KarteiListenPanel"));
    m_medList = new KarteiPickList(QStringLiteral("Medikamente"), QStringLiteral("KarteiMed"),
                                   *setup.medications, {{1, false}, {3, true}, {4, true}}, right);
    m_serviceList =
        new KarteiPickList(QStringLiteral("Leistungen"), QStringLiteral("KarteiLeist"),
                           *setup.services, {{1, false}, {2, false}, {5, true}, {6, true}}, right);
    auto* side = new QWidget(right);
    auto* sideLayout = new QHBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    m_calculator = new KarteiRechner(side);
    m_lastMeds = new KarteiLastMeds(side);
    sideLayout->addWidget(m_calculator, 2);
    sideLayout->addWidget(m_lastMeds, 3);
    right->addWidget(m_medList);
    right->addWidget(m_serviceList);
    right->addWidget(side);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({700, 400});
    right->setSizes({260, 200, 200});
    layout->addWidget(splitter, 1);

    connect(m_medList, &KarteiPickList::takeOverRequested, this, &KarteiPanel::TakeOverMedication);
    connect(m_serviceList, &KarteiPickList::takeOverRequested, this, &KarteiPanel::TakeOverService);
    connect(m_header->PreviousButton(), &QPushButton::clicked, this, &KarteiPanel::PreviousCard);
    connect(m_header->NextButton(), &QPushButton::clicked, this, &KarteiPanel::NextCard);
    connect(m_header->CurrencyButton(), &QPushButton::clicked, this, &KarteiPanel::SwitchCurrency);
    connect(m_header->AmountModeButton(), &QPushButton::clicked, this,
            &KarteiPanel::SwitchNetGross);
    connect(m_calculator->ModeBox(), &QCheckBox::clicked, this, &KarteiPanel::SetCalculatorMode);
    connect(m_header->Reminder1(), &QCheckBox::clicked, this, [this] { Remind(1); });
    connect(m_header->Reminder2(), &QCheckBox::clicked, this, [this] { Remind(2); });
    connect(m_calculator->RemarkButton(), &QPushButton::clicked, this,
            &KarteiPanel::CalculatorToRemark);
    BuildMenu();
    ShowState();
}

KarteiPanel::~KarteiPanel() = default;

card::CardEntryForm& KarteiPanel::Form() const
{
    return m_ws->Form();
}

void KarteiPanel::BuildGrid(const KarteiSetup& setup)
{
    TSGrid& g = *m_grid;
    g.SetDefaultColWidth(70);
    g.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
    g.SetColWidth(0, 12);
    g.SetColWidth(card::kColDate, 78);
    // A stored width below a useful minimum is the untouched default.
    g.SetColWidth(card::kColText, setup.textColumnWidth > 100 ? setup.textColumnWidth : 300);
    g.SetColWidth(card::kColVat, 32);
    g.SetColWidth(card::kColAmount, 80);
    g.SetColWidth(card::kColBS, 32);
    g.SetColWidth(card::kColRemark, 220);
    g.SetColWidth(card::kColQuantity, 100);
    g.SetColWidth(card::kColMedCode, 70);
    // Amounts are kept with five decimals and shown with two.
    g.PriceCol1 = card::kColAmount;
    g.SetColumnAlignment(card::kColAmount, 1);
    m_view = new TSGridView(g, this);
    m_view->setObjectName(QStringLiteral("KarteiGrid"));
    // The medication code at the far right is for the stock; half of it is enough to see.
    m_view->SetLastColumnMayOverhang(true);
    m_view->ScrollBar()->setObjectName(QStringLiteral("KarteiScrollBar"));
    m_view->KeyHook = [this](int key, Qt::KeyboardModifiers modifiers) {
        return Apply(m_keys->GridKey(key, modifiers, GridNow()));
    };
    m_view->Area()->installEventFilter(this);
    connect(m_view, &TSGridView::keyHandled, this, [this] { SyncCell(); });
    connect(m_view, &TSGridView::cellDoubleClicked, this, [this] { SyncCell(); });
    UpdateCaptions();
}

QPushButton* KarteiPanel::AddButton(QBoxLayout* layout, const QString& name, const QString& text,
                                    const QString& hint, std::function<void()> run)
{
    auto* button = new QPushButton(text, layout->parentWidget());
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [run = std::move(run)] { run(); });
    layout->addWidget(button);
    m_buttons.insert(name, button);
    return button;
}

void KarteiPanel::BuildButtons(QWidget* parent, QBoxLayout* layout)
{
    auto* row1 = new QHBoxLayout();
    auto* row2 = new QHBoxLayout();
    layout->addLayout(row1);
    layout->addLayout(row2);
    AddButton(row1, QStringLiteral("MedUebernBtn"), QStringLiteral("Medikament <F4>"),
              QStringLiteral("Markiertes Medikament in die Kartei übernehmen"),
              [this] { TakeOverMedication(); });
    AddButton(row1, QStringLiteral("LeistUebernBtn"), QStringLiteral("Leistung <F5>"),
              QStringLiteral("Markierte Leistung in die Kartei übernehmen"),
              [this] { TakeOverService(); });
    QPushButton* hundred = AddButton(row1, QStringLiteral("ProzentBtn"), QStringLiteral("100%"),
                                     QStringLiteral("100% Aufschlag auf Medik.-Einkaufspreis "
                                                    "(AMPV §4)\nbei umgefüllten und abgepackten "
                                                    "Arzneimitteln!  <F3>"),
                                     [] {});
    hundred->setCheckable(true);
    connect(hundred, &QPushButton::toggled, this, &KarteiPanel::SetHundredPercent);
    AddButton(row1, QStringLiteral("SummeBtn"), QStringLiteral("Summe berechnen"),
              QStringLiteral("Rechnungssumme neu berechnen"), [this] { Summation(); });
    AddButton(row1, QStringLiteral("BSBuchenBtn"), QStringLiteral("B/S buchen"),
              QStringLiteral("Bar- bzw. Scheckzahlung der Zeile buchen"), [this] { BookBsLine(); });
    row1->addStretch();

    AddButton(row2, QStringLiteral("ZahlungBtn"), QStringLiteral("Zahlung"),
              QStringLiteral("Zahlung / Buchung"), [this] { EnterPayment(); });
    AddButton(row2, QStringLiteral("FreigebenBtn"), QStringLiteral("Freigeben"),
              QStringLiteral("Rechnung freigeben: die Karteikarte wird wieder bearbeitbar"),
              [this] { Release(); });
    AddButton(row2, QStringLiteral("DruckenBtn"), QStringLiteral("Drucken"),
              QStringLiteral("Karteikarte, Rechnung, Quittung oder Angebot drucken"),
              [this] { RequestPrint(); });
    AddButton(row2, QStringLiteral("MwStBtn"), QStringLiteral(" MwSt"),
              QStringLiteral("Mehrwertsteuersätze"), [this] {
                  if (OpenVatOptions)
                      OpenVatOptions();
              });
    AddButton(row2, QStringLiteral("ZahlungszieleBtn"), QStringLiteral("Zahlungsziele"),
              QStringLiteral("Zahlungsziele und Mahngebühren"), [this] {
                  if (OpenDunningOptions)
                      OpenDunningOptions();
              });
    m_lineStopBox = new QCheckBox(QStringLiteral("automat. Stop"), parent);
    m_lineStopBox->setObjectName(QStringLiteral("ZeilenstopChk"));
    m_lineStopBox->setToolTip(
        QStringLiteral("Zeilenende der Behandlung wie in der gedruckten Rechnung"));
    m_lineStopBox->setFocusPolicy(Qt::NoFocus);
    {
        const QSignalBlocker block(m_lineStopBox);
        m_lineStopBox->setChecked(m_setup.lineStop);
    }
    connect(m_lineStopBox, &QCheckBox::toggled, this, &KarteiPanel::SetLineStop);
    row2->addSpacing(8);
    row2->addWidget(m_lineStopBox);
    row2->addStretch();
}

QAction* KarteiPanel::AddAction(const QString& name, const QString& text, std::function<void()> run,
                                const QKeySequence& key)
{
    QAction* action = m_menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);  // the keys work wherever the focus is in the workspace
    }
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_actions.insert(name, action);
    return action;
}

void KarteiPanel::BuildMenu()
{
    m_menu = new QMenu(QStringLiteral("Kar&tei"), this);
    m_menu->setObjectName(QStringLiteral("KarteiMenu"));
    AddAction(
        QStringLiteral("MedUebernItem"), QStringLiteral("Medikament übern."),
        [this] { TakeOverMedication(); }, QKeySequence(Qt::Key_F4));
    AddAction(
        QStringLiteral("LeistUebernItem"), QStringLiteral("Leistung übern."),
        [this] { TakeOverService(); }, QKeySequence(Qt::Key_F5));
    AddAction(
        QStringLiteral("ProzentItem"), QStringLiteral("100% Aufschlag"),
        [this] { Button(QStringLiteral("ProzentBtn"))->toggle(); }, QKeySequence(Qt::Key_F3));
    m_menu->addSeparator();
    AddAction(QStringLiteral("SummeItem"), QStringLiteral("Su&mme berechnen"),
              [this] { Summation(); });
    AddAction(QStringLiteral("NettoBruttoItem"), QStringLiteral("Netto / Brutto umschalten"),
              [this] { SwitchNetGross(); });
    QAction* calc = AddAction(QStringLiteral("RechnerItem"),
                              QStringLiteral(" &Rechner-Modus (Übern. Summe)"), [] {});
    calc->setCheckable(true);
    connect(calc, &QAction::triggered, this, &KarteiPanel::SetCalculatorMode);
    QAction* macro =
        AddAction(QStringLiteral("MakroItem"), QStringLiteral(" &Makro-Modus ein/aus"), [] {});
    macro->setCheckable(true);
    connect(macro, &QAction::triggered, this, &KarteiPanel::SetMacroMode);
    m_menu->addSeparator();
    AddAction(QStringLiteral("KopierenItem"), QStringLiteral(" Karte kopieren in Zwischenablage"),
              [this] { CopyCard(); });
    AddAction(QStringLiteral("EinfuegenItem"), QStringLiteral(" Karte einfügen aus Zwischenablage"),
              [this] { InsertCard(); });
    AddAction(QStringLiteral("AllesLoeschenItem"), QStringLiteral("Alles löschen"),
              [this] { ClearCard(); });
    m_menu->addSeparator();
    AddAction(QStringLiteral("ZahlungItem"), QStringLiteral("&Zahlung..."),
              [this] { EnterPayment(); });
    AddAction(QStringLiteral("FreigebenItem"), QStringLiteral("&Freigeben"), [this] { Release(); });
    AddAction(QStringLiteral("DruckenItem"), QStringLiteral("&Drucken..."),
              [this] { RequestPrint(); });
}

bool KarteiPanel::OpenCurrentCard(int customerRecord, const CardSettings& settings)
{
    m_ws->SetSettings(settings);
    m_medList->Reload();
    m_serviceList->Reload();
    m_cardOpen = m_ws->LoadCurrentCard(customerRecord);
    if (!m_cardOpen) {
        m_grid->SetLines({});
        ShowState();
        return false;
    }
    LineStopChanged();
    ShowCard();
    emit cardShown();
    return true;
}

void KarteiPanel::Finish()
{
    if (!TakeEditedCell())
        return;
    Form().LeaveCell();
    m_ws->LeaveModifiedCard();
    m_cardOpen = false;
    m_grid->SetLines({});
    ShowState();
}

// Whoever prints finds the card as it is shown: the edit ended and the cell left.
void KarteiPanel::RequestPrint()
{
    if (!TakeEditedCell())
        return;
    Form().LeaveCell();
    ShowCard();
    emit PrintRequested();
}

void KarteiPanel::Refresh()
{
    ShowCard();
    emit cardShown();
}

void KarteiPanel::SetBookingHighlight(bool on)
{
    QPushButton* button = Button(QStringLiteral("BSBuchenBtn"));
    QFont font = button->font();
    font.setBold(on);
    button->setFont(font);
    button->setStyleSheet(on ? QStringLiteral("color: %1").arg(kBookingColour.name()) : QString());
}

void KarteiPanel::ReadQuantities()
{
    Form().MedicationQuantity() = m_medList->QuantityEdit()->text();
    Form().ServiceQuantity() = m_serviceList->QuantityEdit()->text();
}

void KarteiPanel::TakeOverMedication()
{
    if (!m_cardOpen || Form().State().IsInvoiced())
        return;
    EndEdit();
    SyncCell();
    ReadQuantities();
    const int record = m_medList->SelectedRecord();
    card::Medication medication;
    if (record >= 0)
        medication = card::MedicationFromLine(m_setup.medications->RecordLine(record));
    Form().TakeOverMedication(record >= 0 ? &medication : nullptr);
    ShowCard();
}

void KarteiPanel::TakeOverService()
{
    if (!m_cardOpen || Form().State().IsInvoiced())
        return;
    EndEdit();
    SyncCell();
    ReadQuantities();
    const int record = m_serviceList->SelectedRecord();
    card::Service service;
    if (record >= 0)
        service = card::ServiceFromLine(m_setup.services->RecordLine(record));
    Form().TakeOverService(record >= 0 ? &service : nullptr);
    ShowCard();
}

// The summation is a change of the card: it is saved with its new sums.
void KarteiPanel::Summation()
{
    if (!TakeEditedCell())
        return;
    Form().LeaveCell();
    m_ws->SaveRecordCard();
    ShowCard();
}

void KarteiPanel::SwitchNetGross()
{
    if (!m_cardOpen || Form().State().IsInvoiced())
        return;
    EndEdit();
    SyncCell();
    Form().SwitchNetGross();
    ShowCard();
}

void KarteiPanel::SwitchCurrency()
{
    if (!TakeEditedCell())
        return;
    Form().SwitchCurrency();
    ShowCard();
}

void KarteiPanel::PreviousCard()
{
    if (!TakeEditedCell())
        return;
    Form().LeaveCell();
    m_ws->LeaveModifiedCard();
    m_ws->PreviousCard();
    ShowCard();
    emit cardShown();
}

void KarteiPanel::NextCard()
{
    if (!TakeEditedCell())
        return;
    Form().LeaveCell();
    m_ws->LeaveModifiedCard();
    m_ws->NextCard();
    ShowCard();
    emit cardShown();
}

void KarteiPanel::Remind(int level)
{
    EndEdit();
    if (m_cardOpen && IssueReminder)
        IssueReminder(level);
    ShowCard();
}

void KarteiPanel::Release()
{
    if (!m_cardOpen || !ReleaseCard)
        return;
    EndEdit();
    ReleaseCard();
    ShowCard();
}

void KarteiPanel::EnterPayment()
{
    if (!m_cardOpen || !Form().State().IsInvoiced())
        return;
    EndEdit();
    QtPaymentDialogRunner runner(m_port, this);
    if (m_ws->EnterPayment(runner))
        m_ws->SaveRecordCard();
    ShowCard();
}

// Books a marked line (again) after its amount or VAT code changed.
void KarteiPanel::BookBsLine()
{
    if (!TakeEditedCell())
        return;
    const int row = Form().CurrentRow();
    if (Form().GetRows()[size_t(row)].Cell(card::kColBS).isEmpty())
        return;
    RunBooking(row, false);
}

void KarteiPanel::RunBooking(int row, bool fromMark)
{
    const CardSettings& s = m_ws->Settings();
    EditDlgSetup setup;
    setup.panel = EditPanel::Booking;
    setup.mode = EditMode::Insert;
    setup.settings.currentVat = s.currentVat;
    setup.settings.previousVat = s.oldVat;
    setup.settings.cutOff = s.keyDate;
    setup.settings.euro = s.currency != QStringLiteral("DM");
    setup.settings.dmRate = s.dmRate;
    setup.income = true;
    TEditDlgForm form(setup, m_port);
    form.Booking().Load(m_ws->BsBookingProposal(row));
    TEditDlgRunner runner(this);
    if (runner.Run(form, nullptr)) {
        m_ws->ConfirmBsBooking(row, form.Booking());
        Form().ClearBsChanged();
    } else if (fromMark) {
        m_ws->CancelBsBooking(row);
    }
    ShowCard();
}

void KarteiPanel::CopyCard()
{
    if (!TakeEditedCell())
        return;
    Form().CopyCard();
    ShowCard();
}

void KarteiPanel::InsertCard()
{
    if (!TakeEditedCell())
        return;
    Form().InsertCopiedCard();
    ShowCard();
}

void KarteiPanel::ClearCard()
{
    if (!TakeEditedCell())
        return;
    if (Form().ClearCard())
        m_ws->SaveRecordCard();
    ShowCard();
}

void KarteiPanel::SetCalculatorMode(bool on)
{
    if (m_cardOpen && !Form().State().IsInvoiced()) {
        EndEdit();
        SyncCell();
        Form().SetCalculatorMode(on);
    }
    ShowState();
}

void KarteiPanel::CalculatorToRemark()
{
    if (!TakeEditedCell())
        return;
    Form().CalculatorToRemark();
    ShowCard();
}

void KarteiPanel::InsertText(const QString& text)
{
    if (!TakeEditedCell())
        return;
    if (Form().InsertText(text))
        ShowCard();
}

void KarteiPanel::SetHundredPercent(bool on)
{
    Form().SetHundredPercent(on);
}

void KarteiPanel::SetMacroMode(bool on)
{
    if (m_cardOpen && !Form().State().IsInvoiced())
        Form().SetMacroMode(on);
    ShowState();
}

void KarteiPanel::SetLineStop(bool on)
{
    card::WriteLineStop(*m_setup.options, on, m_port);
    LineStopChanged();
}

void KarteiPanel::LineStopChanged()
{
    const bool on = m_lineStopBox->isChecked() && LineStopExceeds;
    if (on && MeasureLineStop)
        MeasureLineStop();
    Form().SetLineStop(on, on ? LineStopExceeds : std::function<bool(const QString&)>());
}

void KarteiPanel::UpdateCaptions()
{
    const card::CardState& state = m_ws->Form().State();
    m_grid->SetTitles({QString(), QStringLiteral("Datum"),
                       state.IsDispensing()
                           ? QStringLiteral("Abgabemedikamente")
                           : QStringLiteral("Behandlung (Tier, Medikament, Leistung)"),
                       QStringLiteral("USt"),
                       state.amountMode.isEmpty() ? QStringLiteral("Netto") : state.amountMode,
                       QStringLiteral("B/S"), QStringLiteral(" Bemerkung"),
                       QStringLiteral("MedMenge[0.00]"), QStringLiteral("MedCode")});
    QPalette pal = m_view->palette();
    pal.setColor(QPalette::Button, state.IsDispensing() && m_cardOpen
                                       ? kDispensingColour
                                       : palette().color(QPalette::Button));
    m_view->setPalette(pal);
}

void KarteiPanel::ShowState()
{
    card::CardEntryForm& form = Form();
    const card::CardState& state = form.State();
    const bool open = m_cardOpen && !state.IsInvoiced();
    m_header->Show(m_cardOpen ? state : card::CardState{});
    UpdateCaptions();
    m_calculator->Show(form.CalculatorMode(), form.CalculatorRows(), form.CalculatorTotal());
    m_lastMeds->Show(form.LastMedications());
    m_medList->QuantityEdit()->setText(form.MedicationQuantity());
    m_serviceList->QuantityEdit()->setText(form.ServiceQuantity());

    for (const char* name : {"MedUebernBtn", "LeistUebernBtn", "ProzentBtn", "SummeBtn"})
        Button(QString::fromLatin1(name))->setEnabled(open);
    for (const char* name : {"MedUebernItem", "LeistUebernItem", "ProzentItem", "RechnerItem",
                             "MakroItem", "AllesLoeschenItem", "NettoBruttoItem"})
        Action(QString::fromLatin1(name))->setEnabled(open);
    Action(QStringLiteral("SummeItem"))->setEnabled(m_cardOpen);
    Button(QStringLiteral("SummeBtn"))->setEnabled(m_cardOpen);
    Action(QStringLiteral("EinfuegenItem"))->setEnabled(open && form.CanInsert());
    Action(QStringLiteral("KopierenItem"))->setEnabled(m_cardOpen && form.CanCopy());
    const bool invoiced = m_cardOpen && state.IsInvoiced();
    Button(QStringLiteral("ZahlungBtn"))->setEnabled(invoiced);
    Action(QStringLiteral("ZahlungItem"))->setEnabled(invoiced);
    const bool releasable =
        m_cardOpen && card::MayRelease(state, m_ws->Settings().gobdRestrictions);
    Button(QStringLiteral("FreigebenBtn"))->setEnabled(releasable);
    Action(QStringLiteral("FreigebenItem"))->setEnabled(releasable);
    Button(QStringLiteral("DruckenBtn"))->setEnabled(m_cardOpen);
    Action(QStringLiteral("DruckenItem"))->setEnabled(m_cardOpen);
    Button(QStringLiteral("BSBuchenBtn"))->setEnabled(m_cardOpen);
    m_calculator->setEnabled(open);
    m_header->CurrencyButton()->setEnabled(m_cardOpen);
    m_header->AmountModeButton()->setEnabled(open);
    m_header->PreviousButton()->setEnabled(m_cardOpen);
    m_header->NextButton()->setEnabled(m_cardOpen);
    Action(QStringLiteral("RechnerItem"))->setChecked(form.CalculatorMode());
    Action(QStringLiteral("MakroItem"))->setChecked(form.MacroMode());
    CheckBookingPending();
}

void KarteiPanel::CheckBookingPending()
{
    const bool pending = m_cardOpen && Form().BsChanged();
    if (pending != m_bookingPending) {
        m_bookingPending = pending;
        if (!pending)
            SetBookingHighlight(false);
        emit bookingPendingChanged(pending);
    }
}
