#include "bookkeeping/ui/TEARstatDlg.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "bookkeeping/TEARstatDlgForm.h"

namespace {

const char* const kRows[] = {"Bank", "Kasse", "gesamt"};
const char* const kColumns[] = {"Netto", "MwSt", "Brutto"};

QLabel* AmountLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(90);
    return label;
}

}  // namespace

TEARstatDlg::TEARstatDlg(TEARstatDlgForm& form, std::function<void()> print, QWidget* parent)
    : QDialog(parent), m_form(form), m_printResult(std::move(print))
{
    setObjectName(QStringLiteral("TEARstatDlg"));
    setWindowTitle(TEARstatDlgForm::Caption());
    auto* outer = new QVBoxLayout(this);

    auto* head = new QGridLayout;
    head->addWidget(new QLabel(QStringLiteral("Zeitraum:"), this), 0, 0);
    m_period = new QLabel(this);
    m_period->setObjectName(QStringLiteral("ZeitraumLabel"));
    m_period->setStyleSheet(QStringLiteral("font-weight: bold; color: #1a4f9c"));
    m_period->setCursor(Qt::PointingHandCursor);
    m_period->installEventFilter(this);
    head->addWidget(m_period, 0, 1);
    auto* hint = new QLabel(QStringLiteral("<-- mit Klick Wechsel Tag/Monat/Jahr"), this);
    hint->setStyleSheet(QStringLiteral("color: gray"));
    head->addWidget(hint, 0, 2);
    m_business = new QLabel(this);
    m_business->setObjectName(QStringLiteral("FirmaLabel"));
    m_account = new QLabel(this);
    m_account->setObjectName(QStringLiteral("KasseBankLabel"));
    head->addWidget(m_business, 1, 1);
    head->addWidget(m_account, 1, 2);
    head->setColumnStretch(3, 1);
    outer->addLayout(head);

    auto* blocks = new QHBoxLayout;
    const char* const titles[] = {"Einnahmen ", "Ausgaben "};
    const char* const prefixes[] = {"Einn", "Ausg"};
    for (int b = 0; b < 2; ++b) {
        auto* box = new QGroupBox(QString::fromUtf8(titles[b]), this);
        auto* grid = new QGridLayout(box);
        for (int c = 0; c < 3; ++c) {
            auto* title = new QLabel(QString::fromLatin1(kColumns[c]), box);
            title->setAlignment(Qt::AlignRight);
            title->setStyleSheet(QStringLiteral("font-weight: bold"));
            grid->addWidget(title, 0, c + 1);
        }
        for (int r = 0; r < 3; ++r) {
            grid->addWidget(new QLabel(QString::fromLatin1(kRows[r]), box), r + 1, 0);
            for (int c = 0; c < 3; ++c) {
                QLabel* value = AmountLabel(box, QString::fromLatin1(prefixes[b]) +
                                                     QString::fromLatin1(kRows[r]) +
                                                     QString::fromLatin1(kColumns[c]));
                if (r == 2)
                    value->setStyleSheet(QStringLiteral("font-weight: bold"));
                m_values[size_t(b)][size_t(r * 3 + c)] = value;
                grid->addWidget(value, r + 1, c + 1);
            }
        }
        blocks->addWidget(box);
    }
    outer->addLayout(blocks);

    auto* result = new QHBoxLayout;
    m_resultLabel = new QLabel(this);
    m_resultLabel->setObjectName(QStringLiteral("ErgebnisLabel"));
    m_resultLabel->setStyleSheet(QStringLiteral("font-weight: bold"));
    result->addWidget(m_resultLabel);
    for (int c = 0; c < 3; ++c) {
        m_result[size_t(c)] =
            AmountLabel(this, QStringLiteral("Ergebnis") + QString::fromLatin1(kColumns[c]));
        m_result[size_t(c)]->setStyleSheet(QStringLiteral("font-weight: bold"));
        result->addWidget(m_result[size_t(c)]);
    }
    result->addStretch();
    outer->addLayout(result);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_print = new QPushButton(QStringLiteral("Drucken"), this);
    m_print->setObjectName(QStringLiteral("DruckenBtn"));
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("SchliessenBtn"));
    close->setDefault(true);
    buttons->addWidget(m_print);
    buttons->addWidget(close);
    outer->addLayout(buttons);
    connect(m_print, &QPushButton::clicked, this, [this] {
        if (m_printResult)
            m_printResult();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    Show();
}

QLabel* TEARstatDlg::Value(const char* name) const
{
    return findChild<QLabel*>(QString::fromLatin1(name));
}

bool TEARstatDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_period && event->type() == QEvent::MouseButtonRelease) {
        m_form.TogglePeriod();
        Show();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TEARstatDlg::Show()
{
    m_period->setText(m_form.PeriodText());
    m_business->setText(m_form.BusinessText());
    m_account->setText(m_form.AccountText());
    const TEARstatDlgForm::Block* blocks[] = {&m_form.Income(), &m_form.Expenses()};
    for (size_t b = 0; b < 2; ++b) {
        for (size_t r = 0; r < 3; ++r) {
            m_values[b][r * 3 + 0]->setText(TEARstatDlgForm::Amount(blocks[b]->net[r]));
            m_values[b][r * 3 + 1]->setText(TEARstatDlgForm::Amount(blocks[b]->vat[r]));
            m_values[b][r * 3 + 2]->setText(TEARstatDlgForm::Amount(blocks[b]->gross[r]));
        }
    }
    m_resultLabel->setText(m_form.ResultLabel());
    const std::array<long double, 3> result = m_form.Result();
    for (size_t c = 0; c < 3; ++c)
        m_result[c]->setText(TEARstatDlgForm::Amount(result[c]));
}
