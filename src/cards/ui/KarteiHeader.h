#pragma once

#include <QWidget>

#include "cards/CardHeader.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The header display of the record card: card key, customer, sums, invoice date, open
// amount, currency with its symbol, amount mode and the reminder boxes with their label.
class KarteiHeader : public QWidget {
    Q_OBJECT
public:
    explicit KarteiHeader(QWidget* parent = nullptr);

    void Show(const card::CardState& state);

    QPushButton* PreviousButton() const { return m_previous; }
    QPushButton* NextButton() const { return m_next; }
    QPushButton* CurrencyButton() const { return m_currencyButton; }
    QPushButton* AmountModeButton() const { return m_amountModeButton; }
    QLabel* Field(const char* name) const;
    QCheckBox* Reminder1() const { return m_reminder1; }
    QCheckBox* Reminder2() const { return m_reminder2; }

private:
    QLabel* AddValue(const char* name, int minimumWidth = 70);

    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_currencyButton = nullptr;
    QPushButton* m_amountModeButton = nullptr;
    QLabel* m_currencySymbol = nullptr;
    QCheckBox* m_reminder1 = nullptr;
    QCheckBox* m_reminder2 = nullptr;
};
