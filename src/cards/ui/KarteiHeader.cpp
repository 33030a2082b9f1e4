#include "cards/ui/KarteiHeader.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The currency symbol beside the amounts: a small coin with "€" or "DM".
QPixmap CurrencySymbol(const QString& currency)
{
    const bool dm = currency == QStringLiteral("DM");
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(QRgb(dm ? 0x8d6e63 : 0x1565c0)), 1.5));
    p.setBrush(QColor(QRgb(dm ? 0xffe0b2 : 0xe3f2fd)));
    p.drawEllipse(QRectF(1, 1, 20, 20));
    QFont font(QStringLiteral("Sans Serif"), dm ? 6 : 9, QFont::Bold);
    p.setFont(font);
    p.drawText(pixmap.rect(), Qt::AlignCenter, dm ? QStringLiteral("DM") : QString(QChar(0x20AC)));
    return pixmap;
}

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

KarteiHeader::KarteiHeader(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("KarteiKopfPanel"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(2, 2, 2, 2);
    rows->setSpacing(2);
    auto* row0 = new QHBoxLayout();
    auto* row1 = new QHBoxLayout();
    auto* row2 = new QHBoxLayout();
    for (QHBoxLayout* row : {row0, row1, row2}) {
        row->setSpacing(4);
        rows->addLayout(row);
    }
    const auto pair = [this](QHBoxLayout* row, const QString& caption, const char* name,
                             int minimumWidth = 56) {
        row->addWidget(Caption(caption, this));
        QLabel* value = AddValue(name, minimumWidth);
        row->addWidget(value);
        row->addSpacing(10);
        return value;
    };

    m_previous = new QPushButton(QStringLiteral("<"), this);
    m_previous->setObjectName(QStringLiteral("KarteiZurueckBtn"));
    m_previous->setToolTip(QStringLiteral("Kartei rückblättern (Strg + Pfeil links)"));
    m_next = new QPushButton(QStringLiteral(">"), this);
    m_next->setObjectName(QStringLiteral("KarteiVorBtn"));
    m_next->setToolTip(QStringLiteral("Kartei vorblättern (Strg + Pfeil rechts)"));
    for (QPushButton* b : {m_previous, m_next}) {
        b->setFixedWidth(28);
        b->setFocusPolicy(Qt::NoFocus);
        row0->addWidget(b);
    }
    row0->addSpacing(6);
    QLabel* key = pair(row0, QStringLiteral("Kartei-Nr.:"), "KartNrLabel", 70);
    QFont bold = key->font();
    bold.setBold(true);
    key->setFont(bold);
    QLabel* customer = pair(row0, QStringLiteral("Kunde:"), "KundeLabel", 120);
    customer->setFont(bold);
    row0->setStretchFactor(customer, 1);
    row0->addWidget(new QLabel(QStringLiteral("Mahnung:"), this));
    m_reminder1 = new QCheckBox(QStringLiteral("1."), this);
    m_reminder1->setObjectName(QStringLiteral("Mahnung1Chk"));
    m_reminder2 = new QCheckBox(QStringLiteral("2."), this);
    m_reminder2->setObjectName(QStringLiteral("Mahnung2Chk"));
    for (QCheckBox* box : {m_reminder1, m_reminder2}) {
        // A click issues the reminder (or offers its reprint); the box shows the card's state.
        box->setFocusPolicy(Qt::NoFocus);
        row0->addWidget(box);
    }
    row0->addWidget(AddValue("MahnLabel", 90));

    pair(row1, QStringLiteral("Gesamt brutto:"), "GesamtBruttoLabel");
    pair(row1, QStringLiteral("Netto:"), "GesamtNettoLabel");
    pair(row1, QStringLiteral("MwSt:"), "GesamtMwStLabel");
    pair(row1, QStringLiteral("davon bar:"), "BarBruttoLabel");
    row1->addStretch();
    m_currencySymbol = new QLabel(this);
    m_currencySymbol->setObjectName(QStringLiteral("WaehrungSymbol"));
    row1->addWidget(m_currencySymbol);
    row1->addWidget(AddValue("KarteiWaehrungLabel", 32));
    m_currencyButton = new QPushButton(QStringLiteral("Euro/DM"), this);
    m_currencyButton->setObjectName(QStringLiteral("WaehrungBtn"));
    m_currencyButton->setToolTip(QStringLiteral("Karte zwischen Euro und DM umrechnen"));
    row1->addWidget(m_currencyButton);

    QLabel* invoice = pair(row2, QStringLiteral("Rechnung brutto:"), "RechnBruttoLabel");
    invoice->setFont(bold);
    pair(row2, QStringLiteral("Rechnung am:"), "RechnDatumLabel", 70);
    QLabel* open = pair(row2, QStringLiteral("offen:"), "OffenLabel");
    open->setFont(bold);
    row2->addStretch();
    row2->addWidget(AddValue("BetragsArtLabel", 40));
    m_amountModeButton = new QPushButton(QStringLiteral("Netto/Brutto"), this);
    m_amountModeButton->setObjectName(QStringLiteral("NettoBruttoBtn"));
    m_amountModeButton->setToolTip(QStringLiteral("Beträge der Karte netto oder brutto"));
    row2->addWidget(m_amountModeButton);
    for (QPushButton* b : {m_currencyButton, m_amountModeButton}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedWidth(96);
    }
}

QLabel* KarteiHeader::AddValue(const char* name, int minimumWidth)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(minimumWidth);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* KarteiHeader::Field(const char* name) const
{
    return findChild<QLabel*>(QString::fromLatin1(name));
}

void KarteiHeader::Show(const card::CardState& state)
{
    const auto set = [this](const char* name, const QString& text) {
        if (QLabel* label = Field(name))
            label->setText(text);
    };
    set("KartNrLabel", state.key);
    set("KundeLabel", state.customerText);
    set("GesamtBruttoLabel", state.totalGross);
    set("GesamtNettoLabel", state.totalNet);
    set("GesamtMwStLabel", state.totalVat);
    set("BarBruttoLabel", state.cashGross);
    set("RechnBruttoLabel", state.invoiceGross);
    set("RechnDatumLabel", state.invoiceDate);
    set("OffenLabel", state.openAmount);
    set("KarteiWaehrungLabel", state.currency);
    set("BetragsArtLabel", state.amountMode);
    set("MahnLabel", state.reminderLabel);
    m_currencySymbol->setPixmap(CurrencySymbol(state.currency));
    m_reminder1->setChecked(state.reminder1);
    m_reminder2->setChecked(state.reminder2);
    m_reminder1->setToolTip(state.reminder1Hint);
    m_reminder2->setToolTip(state.reminder2Hint);
    m_reminder1->setEnabled(state.remindersEnabled);
    m_reminder2->setEnabled(state.remindersEnabled);
}
