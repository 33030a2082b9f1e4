#include "shell/ui/TForm1Price.h"

#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/qt/FormBinding.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

QWidget* LabelledPanel(QWidget* parent, const QString& name, const QString& caption, QWidget* field)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption, panel));
    field->setParent(panel);
    layout->addWidget(field);
    return panel;
}

}  // namespace

TForm1Price::TForm1Price(Host host) : m_host(std::move(host)), m_panel(m_host.port) {}

void TForm1Price::Build(QBoxLayout* row, QBoxLayout* column, int at, QWidget* parent)
{
    m_medQuantityPanel = LabelledPanel(parent, QStringLiteral("MengeMedPanel"),
                                       QStringLiteral("Menge:"), m_host.medQuantity);
    m_stdQuantityPanel = LabelledPanel(parent, QStringLiteral("StdMengePanel"),
                                       QStringLiteral("Menge:"), m_host.serviceQuantity);
    m_factor = new QLineEdit(parent);
    m_factor->setObjectName(QStringLiteral("FaktorEdit"));
    m_factor->setMaximumWidth(48);
    m_factor->setToolTip(QStringLiteral("GOT-Faktor (1..3) für die Preisanzeige"));
    m_factor->installEventFilter(this);
    m_factorPanel =
        LabelledPanel(parent, QStringLiteral("FaktorPanel"), QStringLiteral("Faktor:"), m_factor);
    m_hundred = new QPushButton(QStringLiteral("100%"), parent);
    m_hundred->setObjectName(QStringLiteral("AMPV_2_Btn"));
    m_hundred->setCheckable(true);
    m_hundred->setFocusPolicy(Qt::NoFocus);
    m_hundred->setToolTip(
        QStringLiteral("100% Aufschlag auf Medik.-Einkaufspreis (AMPV §4)\n"
                       "bei umgefüllten und abgepackten Arzneimitteln!  <F3>"));
    // F3 anywhere in the workspace (search field or grid), as on the record card.
    QWidget* scope = parent->parentWidget() ? parent->parentWidget() : parent;
    auto* f3 = new QAction(scope);
    f3->setShortcut(QKeySequence(Qt::Key_F3));
    f3->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    scope->addAction(f3);
    connect(f3, &QAction::triggered, this, [this] {
        if (m_hundred->isVisible())
            m_hundred->toggle();
    });
    connect(m_hundred, &QPushButton::toggled, this, [this](bool on) {
        m_panel.SetHundredPercent(on);
        Refresh();
    });
    for (QWidget* w :
         {m_medQuantityPanel, m_stdQuantityPanel, m_factorPanel, static_cast<QWidget*>(m_hundred)})
        row->addWidget(w);

    m_price = new QLabel(parent);
    m_price->setObjectName(QStringLiteral("PreisPanel"));
    m_price->setFrameShape(QFrame::StyledPanel);
    m_price->setToolTip(QStringLiteral("Preis der Menge (Enter im Suchfeld blendet aus)"));
    m_price->hide();
    column->insertWidget(at, m_price);

    for (QLineEdit* edit : {m_host.medQuantity, m_host.serviceQuantity})
        connect(edit, &QLineEdit::textChanged, this, &TForm1Price::Refresh);
    for (TSGridView* view : {m_host.medication, m_host.services})
        view->Area()->installEventFilter(this);
}

void TForm1Price::ShowFor(bool medications, bool services)
{
    m_shown = medications || services;
    m_services = services;
    m_medQuantityPanel->setVisible(medications);
    m_hundred->setVisible(medications);
    m_stdQuantityPanel->setVisible(services);
    m_factorPanel->setVisible(services);
    SelectionMoved();
}

QString TForm1Price::SelectedLine(bool services) const
{
    const TSGrid& grid = (services ? m_host.services : m_host.medication)->Grid();
    const int record = grid.CurrentRecord();
    return record >= 0 && record < grid.RecordCount() ? grid.RecordLine(record) : QString();
}

void TForm1Price::SelectionMoved()
{
    if (m_services) {
        m_panel.SelectService(SelectedLine(true));
        m_factor->setText(m_panel.Factor().text);
    }
    Refresh();
}

void TForm1Price::Refresh()
{
    const QString line = SelectedLine(m_services);
    if (!m_shown || line.isEmpty()) {
        m_price->hide();
        return;
    }
    const PriceSettings settings = m_host.settings();
    m_price->setText(QStringLiteral("Preis: ") +
                     (m_services
                          ? m_panel.ServiceQuote(line, m_host.serviceQuantity->text(), settings)
                          : m_panel.MedicationQuote(line, m_host.medQuantity->text(), settings)));
    m_price->setVisible(m_panel.Visible());
}

void TForm1Price::HidePanel()
{
    m_panel.Hide();
    m_price->hide();
}

void TForm1Price::PairWith(QPushButton* cardButton)
{
    if (!cardButton)
        return;
    connect(m_hundred, &QPushButton::toggled, cardButton, &QPushButton::setChecked);
    connect(cardButton, &QPushButton::toggled, m_hundred, &QPushButton::setChecked);
}

bool TForm1Price::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_factor) {
        if (event->type() == QEvent::MouseButtonRelease)
            SelectionMoved();
        return QObject::eventFilter(watched, event);
    }
    FormField& field = m_panel.Factor();
    if (event->type() == QEvent::FocusOut && LeavesField(*static_cast<QFocusEvent*>(event))) {
        field.text = m_factor->text();
        m_panel.LeaveFactor(SelectedLine(true));
        m_factor->setText(field.text);
        Refresh();
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            field.text = m_factor->text();
            m_panel.LeaveFactor(SelectedLine(true));
            m_factor->setText(field.text);
            Refresh();
            return true;
        }
        const std::optional<QChar> ch = FormKey(*key);
        if (!ch)
            return false;
        ReadEdit(*m_factor, field);
        if (m_panel.FactorKey(*ch)) {
            WriteEdit(*m_factor, field);
            Refresh();
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
