#include "bookkeeping/ui/TJournalPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bookkeeping/TKtoStdAendDlgForm.h"
#include "bookkeeping/ui/TKtoStdAendDlg.h"
#include "common/NumberFormat.h"
#include "masterdata/MasterWorkspace.h"
#include "masterdata/ui/TEditDlg.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

using namespace journal;

namespace {

constexpr int kCustomerWidth = 180;

QString Cents(long double value)
{
    return FormatFloat(QStringLiteral("0.00"), value);
}

QPushButton* AddButton(QWidget* parent, QVBoxLayout* column, const char* name, const QString& text,
                       const QString& hint = {})
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    column->addWidget(button);
    return button;
}

QLabel* AmountLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(80);
    return label;
}

}  // namespace

bool QtJournalDialogs::RunBooking(TEditDlgForm& form)
{
    TEditDlgRunner runner(m_parent);
    return runner.Run(form, nullptr);
}

bool QtJournalDialogs::RunBalances(TKtoStdAendDlgForm& form)
{
    TKtoStdAendDlg dialog(form, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

TJournalPage::TJournalPage(JournalWorkspace& workspace, QWidget* parent)
    : QWidget(parent), m_ws(workspace), m_dialogs(std::make_unique<QtJournalDialogs>(this))
{
    setObjectName(QStringLiteral("JournalPage"));
    m_ws.SetDialogs(m_dialogs.get());
    auto* outer = new QVBoxLayout(this);
    auto* selection = new QHBoxLayout;
    BuildSelection(selection);
    outer->addLayout(selection);

    auto* middle = new QHBoxLayout;
    TSGrid& grid = m_ws.Grid();
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect |
                    goColSizing);
    const int widths[] = {12, 76, 80, kCustomerWidth, 76, 46, 76, 42};
    for (int col = 0; col < grid.ColCount() && col < 8; ++col)
        grid.SetColWidth(col, widths[col]);
    m_view = new TSGridView(grid, this);
    // The description takes the room the other columns leave, never less than its own.
    grid.OnResize = [this](TSGrid& g) {
        WidenToFill(g, recordline::kJourCustomer, kCustomerWidth, m_view->Area()->width());
    };
    m_view->setObjectName(QStringLiteral("JournalGrid"));
    middle->addWidget(m_view, 1);
    connect(m_view, &TSGridView::cellDoubleClicked, this,
            [this] { Run(&JournalWorkspace::EditBooking); });

    auto* buttons = new QVBoxLayout;
    connect(AddButton(this, buttons, "EinfBtn", QStringLiteral("Einf."),
                      QStringLiteral("Neue Buchung eingeben")),
            &QPushButton::clicked, this, [this] { Run(&JournalWorkspace::InsertBooking); });
    m_edit = AddButton(this, buttons, "BearbBtn", QStringLiteral("Bearb."),
                       QStringLiteral("Buchung bearbeiten"));
    connect(m_edit, &QPushButton::clicked, this, [this] { Run(&JournalWorkspace::EditBooking); });
    m_delete = AddButton(this, buttons, "LoeschBtn", QStringLiteral("Lösch."),
                         QStringLiteral("Buchung löschen"));
    connect(m_delete, &QPushButton::clicked, this,
            [this] { Run(&JournalWorkspace::DeleteBooking); });
    buttons->addSpacing(16);
    connect(AddButton(this, buttons, "DruckenBtn", QStringLiteral("Drucken"),
                      QStringLiteral("Liste drucken / USt-Voranmeldung")),
            &QPushButton::clicked, this, [this] {
                if (PrintRequested)
                    PrintRequested();
            });
    connect(AddButton(this, buttons, "EARInfoBtn", QStringLiteral("EAR Info"),
                      QStringLiteral("Einnahmen/Ausgaben - Ergebnis")),
            &QPushButton::clicked, this, [this] {
                if (StatisticsRequested)
                    StatisticsRequested();
            });
    connect(AddButton(this, buttons, "KontostaendeBtn", QStringLiteral("Kontostände"),
                      QStringLiteral("Aktuelle Kontostände ändern")),
            &QPushButton::clicked, this, [this] { Run(&JournalWorkspace::EditBalances); });
    m_currency = AddButton(this, buttons, "WaehrungBtn", QStringLiteral("Euro"));
    connect(m_currency, &QPushButton::clicked, this,
            [this] { Run(&JournalWorkspace::ConvertMonthCurrency); });
    buttons->addStretch();
    middle->addLayout(buttons);
    outer->addLayout(middle, 1);

    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("HinweisLabel"));
    m_hint->setWordWrap(true);
    QFont small = m_hint->font();
    small.setItalic(true);
    m_hint->setFont(small);
    outer->addWidget(m_hint);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BuildSums(), 3);
    bottom->addWidget(BuildBalances(), 2);
    outer->addLayout(bottom);
}

TJournalPage::~TJournalPage()
{
    m_ws.SetDialogs(nullptr);
}

void TJournalPage::BuildSelection(QHBoxLayout* row)
{
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("MonatCBox"));
    m_month->addItems(MonthNames());
    m_year = new QComboBox(this);
    m_year->setObjectName(QStringLiteral("JahrCBox"));
    m_day = new QLineEdit(this);
    m_day->setObjectName(QStringLiteral("TagEdit"));
    m_day->setToolTip(QStringLiteral("Auswertetag eingeben"));
    m_day->setPlaceholderText(QStringLiteral("Tag"));
    m_day->setValidator(new QIntValidator(1, 31, m_day));
    m_day->setMaximumWidth(45);
    m_business = new QComboBox(this);
    m_business->setObjectName(QStringLiteral("FirmaCBox"));
    m_business->addItems(BusinessTexts());
    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("KasseBankAuswCBox"));
    m_account->addItems(AccountTexts());
    row->addWidget(new QLabel(QStringLiteral("Monat:"), this));
    row->addWidget(m_month);
    row->addWidget(new QLabel(QStringLiteral("Jahr:"), this));
    row->addWidget(m_year);
    row->addWidget(new QLabel(QStringLiteral("Tag:"), this));
    row->addWidget(m_day);
    row->addSpacing(12);
    row->addWidget(m_business);
    row->addWidget(m_account);
    row->addStretch();
    for (QComboBox* box : {m_month, m_year, m_business, m_account})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_showing)
                ShowMonth();
        });
    connect(m_day, &QLineEdit::textChanged, this, [this] {
        if (!m_showing)
            ShowMonth();
    });
}

QWidget* TJournalPage::BuildSums()
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("SummenBox"));
    auto* grid = new QGridLayout(box);
    m_sumsCaption = new QLabel(box);
    m_sumsCaption->setObjectName(QStringLiteral("SummenLabel"));
    m_sumsCaption->setStyleSheet(QStringLiteral("font-weight: bold"));
    grid->addWidget(m_sumsCaption, 0, 0, 1, 2);
    const auto currency = [this, box] {
        auto* label = new QLabel(box);
        m_currencyLabels << label;
        return label;
    };
    grid->addWidget(new QLabel(QStringLiteral("Netto:"), box), 1, 0);
    m_net = AmountLabel(box, "NettoLabel");
    grid->addWidget(m_net, 1, 1);
    grid->addWidget(currency(), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Brutto:"), box), 2, 0);
    m_gross = AmountLabel(box, "BruttoLabel");
    grid->addWidget(m_gross, 2, 1);
    grid->addWidget(currency(), 2, 2);
    grid->setColumnMinimumWidth(3, 24);
    for (int k = 0; k < kRateSlots; ++k) {
        const int row = k % 3;
        const int col = 4 + (k / 3) * 3;
        m_rateLabels[size_t(k)] = new QLabel(box);
        m_rateLabels[size_t(k)]->setObjectName(QStringLiteral("MwSt%1Label").arg(k + 1));
        m_rateLabels[size_t(k)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_rateNets[size_t(k)] = AmountLabel(box, "");
        m_rateNets[size_t(k)]->setObjectName(QStringLiteral("MwSt%1NettoLabel").arg(k + 1));
        m_rateNets[size_t(k)]->setStyleSheet(
            QStringLiteral("background: #fff3c4; padding: 1px 4px; border-radius: 2px"));
        grid->addWidget(m_rateLabels[size_t(k)], row, col);
        grid->addWidget(m_rateNets[size_t(k)], row, col + 1);
    }
    grid->setColumnStretch(10, 1);
    return box;
}

QWidget* TJournalPage::BuildBalances()
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("KontostandBox"));
    auto* grid = new QGridLayout(box);
    m_balanceHeading = new QLabel(box);
    m_balanceHeading->setObjectName(QStringLiteral("KontostandLabel"));
    m_balanceHeading->setStyleSheet(QStringLiteral("font-weight: bold"));
    grid->addWidget(m_balanceHeading, 0, 0, 1, 5);
    const auto pharmacy = [this](QWidget* w) {
        m_pharmacyWidgets << w;
        return w;
    };
    grid->addWidget(pharmacy(new QLabel(QStringLiteral("Praxis  "), box)), 1, 1);
    grid->addWidget(pharmacy(new QLabel(QStringLiteral("Apotheke  "), box)), 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Kasse:"), box), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("Bank:"), box), 3, 0);
    m_cash = AmountLabel(box, "KasseLabel");
    m_bank = AmountLabel(box, "BankLabel");
    m_cash2 = AmountLabel(box, "Kasse2Label");
    m_bank2 = AmountLabel(box, "Bank2Label");
    grid->addWidget(m_cash, 2, 1);
    grid->addWidget(m_bank, 3, 1);
    grid->addWidget(pharmacy(m_cash2), 2, 3);
    grid->addWidget(pharmacy(m_bank2), 3, 3);
    for (int row = 2; row <= 3; ++row) {
        auto* label = new QLabel(box);
        m_currencyLabels << label;
        grid->addWidget(label, row, 2);
        auto* second = new QLabel(box);
        m_currencyLabels << second;
        grid->addWidget(pharmacy(second), row, 4);
    }
    grid->setColumnStretch(5, 1);
    return box;
}

QPushButton* TJournalPage::Button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

QLabel* TJournalPage::Label(const char* name) const
{
    return findChild<QLabel*>(QString::fromLatin1(name));
}

void TJournalPage::PrepareSelectors(const QDate& today)
{
    m_showing = true;
    m_year->clear();
    m_year->addItems(YearList(today));
    m_showing = false;
    JournalSelection& s = m_ws.Selection();
    s.month = today.month();
    s.year = today.year();
    s.Reset();
    ShowSelection();
}

void TJournalPage::ShowKind(Kind kind)
{
    m_ws.SetKind(kind);
    ShowMonth();
}

void TJournalPage::ReadSelection()
{
    JournalSelection& s = m_ws.Selection();
    s.month = m_month->currentIndex() + 1;
    s.year = m_year->currentText().toInt();
    s.day = m_day->text();
    s.business = BusinessFilter(std::max(0, m_business->currentIndex()));
    s.account = AccountFilter(std::max(0, m_account->currentIndex()));
}

void TJournalPage::ShowMonth()
{
    ReadSelection();
    m_ws.ShowMonth();
    Refresh();
    if (!m_day->hasFocus())
        m_view->setFocus();
}

void TJournalPage::ShowSelection()
{
    m_showing = true;
    const JournalSelection& s = m_ws.Selection();
    const QString year = QString::number(s.year);
    if (m_year->findText(year) < 0)
        m_year->addItem(year);
    m_year->setCurrentIndex(m_year->findText(year));
    m_month->setCurrentIndex(s.month - 1);
    if (m_day->text() != s.day)
        m_day->setText(s.day);
    m_business->setCurrentIndex(int(s.business));
    m_account->setCurrentIndex(int(s.account));
    m_showing = false;
}

void TJournalPage::ShowSums()
{
    const JournalSums& sums = m_ws.Sums();
    m_sumsCaption->setText(m_ws.SumsCaption());
    m_net->setText(Cents(sums.totalNet));
    m_gross->setText(Cents(sums.totalGross));
    for (int k = 0; k < kRateSlots; ++k) {
        const RateSlot& slot = sums.rates[size_t(k)];
        m_rateLabels[size_t(k)]->setVisible(slot.used);
        m_rateNets[size_t(k)]->setVisible(slot.used);
        m_rateLabels[size_t(k)]->setText(slot.Label());
        m_rateNets[size_t(k)]->setText(Cents(slot.net));
    }
    for (QLabel* label : m_currencyLabels)
        label->setText(m_ws.CurrencyText());
}

void TJournalPage::ShowBalances()
{
    const BalanceDisplay shown = m_ws.Balances();
    m_balanceHeading->setText(shown.heading);
    m_cash->setText(shown.cash);
    m_bank->setText(shown.bank);
    m_cash2->setText(shown.pharmacyCash);
    m_bank2->setText(shown.pharmacyBank);
    for (QWidget* w : m_pharmacyWidgets)
        w->setVisible(shown.pharmacyShown);
}

void TJournalPage::Refresh()
{
    ShowSelection();
    ShowSums();
    ShowBalances();
    m_hint->setText(m_ws.Hint());
    m_edit->setEnabled(m_ws.EditDeleteEnabled());
    m_delete->setEnabled(m_ws.EditDeleteEnabled());
    const bool euro = m_ws.CurrencyLetter() == QLatin1String("E");
    m_currency->setText(euro ? QStringLiteral("€ → DM") : QStringLiteral("DM → €"));
    m_currency->setToolTip(euro ? QStringLiteral("Monat in DM umrechnen")
                                : QStringLiteral("Monat in Euro umrechnen"));
    m_view->SyncScrollBar();
    m_view->update();
    if (MonthShown)
        MonthShown();
}

void TJournalPage::Run(bool (JournalWorkspace::*operation)())
{
    ReadSelection();
    (m_ws.*operation)();
    Refresh();
}
