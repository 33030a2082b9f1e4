#include "cards/ui/TBezDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using card::PaymentKind;
using card::TBezDlgForm;

namespace {

const char* const kWriteOffStyle = "color: #c00000; font-weight: bold";

QLabel* Bold(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

TBezDlg::TBezDlg(TBezDlgForm& form, UserPort& port, QWidget* parent)
    : QDialog(parent), m_form(form), m_port(port), m_binding(form, this)
{
    m_binding.onChanged = [this] { Refresh(); };
    m_binding.onEvent = [this](int id, QEvent* event) { return OwnKey(id, event); };
    // Leaving a field formats it; what it asks to be focused waits for OK.
    m_binding.onLeave = [this](int id) {
        m_binding.CopyToForm(id);
        m_form.Leave(id);
        Refresh();
    };
    setWindowTitle(TBezDlgForm::Caption());
    const QString currency = form.Currency();
    auto* top = new QVBoxLayout(this);

    top->addWidget(Bold(form.InvoiceSumText()));
    auto* fees = new QGridLayout;
    for (int r = 1; r <= 2; ++r) {
        fees->addWidget(new QLabel(QString::number(r) + QStringLiteral(". Mahngebühr:")), r, 0);
        const QString fee = form.FeeText(r);
        fees->addWidget(new QLabel(fee == card::kUnset ? fee : fee + QLatin1Char(' ') + currency),
                        r, 1, Qt::AlignRight);
        const bool set = fee != card::kUnset;
        fees->addWidget(new QLabel(set ? QStringLiteral("am ") + form.FeeDateText(r) : QString()),
                        r, 2);
    }
    fees->setColumnStretch(3, 1);
    top->addLayout(fees);

    top->addWidget(new QLabel(QStringLiteral("Bisher eingegangene (Teil-) Zahlungen:")));
    auto* earlier = new QListWidget;
    earlier->addItems(form.EarlierPayments());
    earlier->setFocusPolicy(Qt::NoFocus);
    earlier->setMaximumHeight(70);
    top->addWidget(earlier);

    auto* open = new QHBoxLayout;
    open->addWidget(Bold(QStringLiteral("Noch offener Betrag:")));
    open->addStretch();
    open->addWidget(Bold(form.OpenText() + QLatin1Char(' ') + currency));
    top->addLayout(open);

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    top->addWidget(line);

    auto* entry = new QGridLayout;
    auto* amountLabel = new QLabel(QStringLiteral("&Zahlungs-Betrag -->"));
    QLineEdit* amount = AddEditor(TBezDlgForm::kAmount);
    amount->setAlignment(Qt::AlignRight);
    amountLabel->setBuddy(amount);
    entry->addWidget(amountLabel, 0, 0);
    entry->addWidget(amount, 0, 1);
    entry->addWidget(new QLabel(currency), 0, 2);

    auto* dateLabel = new QLabel(QStringLiteral("&Datum der Zahlung"));
    QLineEdit* date = AddEditor(TBezDlgForm::kDate);
    dateLabel->setBuddy(date);
    entry->addWidget(dateLabel, 1, 0);
    entry->addWidget(date, 1, 1);
    entry->addWidget(new QLabel(QStringLiteral("[ TT.MM.JJ ]")), 1, 2);

    auto* kinds = new QHBoxLayout;
    m_cashRadio = new QRadioButton(QStringLiteral(" &Bar "));
    m_chequeRadio = new QRadioButton(QStringLiteral(" &Scheck "));
    m_transferRadio = new QRadioButton(QStringLiteral(" Über&weisung "));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* radio : {m_cashRadio, m_chequeRadio, m_transferRadio}) {
        group->addButton(radio);
        kinds->addWidget(radio);
    }
    kinds->addStretch();
    entry->addLayout(kinds, 2, 0, 1, 3);

    QLineEdit* discount = AddEditor(TBezDlgForm::kDiscount);
    discount->setAlignment(Qt::AlignRight);
    discount->setMaximumWidth(60);
    auto* discountRow = new QHBoxLayout;
    discountRow->addWidget(discount);
    discountRow->addWidget(new QLabel(QStringLiteral(" %")));
    m_discountButton = new QPushButton(QStringLiteral("Skonto berechnen"));
    m_discountButton->setAutoDefault(false);
    discountRow->addWidget(m_discountButton);
    discountRow->addStretch();
    entry->addLayout(discountRow, 3, 0, 1, 3);

    entry->addWidget(new QLabel(QStringLiteral("Zahlung:")), 4, 0);
    m_echoLabel = new QLabel;
    entry->addWidget(m_echoLabel, 4, 1);
    entry->addWidget(new QLabel(currency), 4, 2);
    entry->addWidget(new QLabel(QStringLiteral("Rest:")), 5, 0);
    m_restLabel = new QLabel;
    entry->addWidget(m_restLabel, 5, 1);
    entry->addWidget(new QLabel(currency), 5, 2);
    m_percentLabel = new QLabel;
    m_percentLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    entry->addWidget(m_percentLabel, 6, 0, 1, 3);
    // Room for the longest amount, so the live values never clip.
    const int valueWidth =
        m_restLabel->fontMetrics().horizontalAdvance(QStringLiteral("9999999,99"));
    m_echoLabel->setMinimumWidth(valueWidth);
    m_restLabel->setMinimumWidth(valueWidth);
    m_echoLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_restLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addLayout(entry);

    m_writeOffChk = new QCheckBox(QStringLiteral("Rest &ausbuchen"));
    top->addWidget(m_writeOffChk);
    m_statusLabel = new QLabel;
    m_statusLabel->setStyleSheet(QLatin1String(kWriteOffStyle));
    top->addWidget(m_statusLabel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_okButton = new QPushButton(QStringLiteral("OK"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Abbrechen"));
    m_cancelButton->setAutoDefault(false);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    top->addLayout(buttons);

    // The form decides everything; the initial state comes from it.
    m_cashRadio->setChecked(form.Kind() == PaymentKind::Cash);
    m_chequeRadio->setChecked(form.Kind() == PaymentKind::Cheque);
    m_transferRadio->setChecked(form.Kind() == PaymentKind::Transfer);
    const bool paid = form.IsPaid();
    for (QRadioButton* radio : {m_cashRadio, m_chequeRadio, m_transferRadio})
        radio->setEnabled(!paid);
    m_discountButton->setEnabled(!paid);
    m_writeOffChk->setVisible(form.WriteOffOffered());
    m_cancelButton->setVisible(form.CancelVisible());
    m_statusLabel->setText(form.StatusText());
    m_statusLabel->setVisible(!form.StatusText().isEmpty());

    connect(m_cashRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_form.SetKind(PaymentKind::Cash);
    });
    connect(m_chequeRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_form.SetKind(PaymentKind::Cheque);
    });
    connect(m_transferRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_form.SetKind(PaymentKind::Transfer);
    });
    connect(m_writeOffChk, &QCheckBox::toggled, this, [this](bool on) {
        m_form.SetWriteOff(on);
        m_writeOffChk->setStyleSheet(on ? QLatin1String(kWriteOffStyle) : QString());
    });
    connect(m_discountButton, &QPushButton::clicked, this, [this] {
        m_binding.CopyToForm(TBezDlgForm::kDiscount);
        m_form.ComputeDiscount();
        Refresh();
    });
    connect(m_okButton, &QPushButton::clicked, this, &TBezDlg::OkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { QDialog::reject(); });

    Refresh();
    if (!paid) {
        amount->setFocus();
        amount->selectAll();
    } else {
        m_okButton->setFocus();
    }
}

QRadioButton* TBezDlg::KindButton(PaymentKind kind) const
{
    switch (kind) {
        case PaymentKind::Cheque:
            return m_chequeRadio;
        case PaymentKind::Transfer:
            return m_transferRadio;
        case PaymentKind::Cash:
            break;
    }
    return m_cashRadio;
}

QLineEdit* TBezDlg::AddEditor(int id)
{
    auto* edit = new QLineEdit;
    m_binding.Bind(id, edit);
    return edit;
}

bool TBezDlg::OwnKey(int id, QEvent* event)
{
    if (id != TBezDlgForm::kDate ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_D || !(key->modifiers() & Qt::AltModifier))
        return false;
    // Alt+D is also the date label's mnemonic; inside the date field it puts today.
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        m_form.PutToday();
        Refresh();
    }
    return true;
}

void TBezDlg::Refresh()
{
    m_binding.ShowFields();
    m_echoLabel->setText(m_form.EchoText());
    m_restLabel->setText(m_form.RestText());
    m_percentLabel->setText(m_form.PercentText());
}

void TBezDlg::OkClicked()
{
    m_binding.CopyAllToForm();
    const bool closes = m_form.Ok(m_port);
    Refresh();
    if (closes) {
        accept();
        return;
    }
    QTimer::singleShot(0, this, [this] { m_binding.ApplyFocusRequest(); });
}

void TBezDlg::reject()
{
    if (m_form.IsPaid())
        OkClicked();
    else
        QDialog::reject();
}

bool QtPaymentDialogRunner::Run(TBezDlgForm& form)
{
    TBezDlg dialog(form, m_port, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
