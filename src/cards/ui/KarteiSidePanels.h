#pragma once

#include <QGroupBox>
#include <vector>

#include "cards/CardEntryForm.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

// The calculator panel: the items taken over while calculator mode is on, their total and
// the "Bem." button that writes their texts into the remark.
class KarteiRechner : public QGroupBox {
    Q_OBJECT
public:
    explicit KarteiRechner(QWidget* parent = nullptr);

    void Show(bool on, const std::vector<card::CalculatorRow>& rows, const QString& total);
    QCheckBox* ModeBox() const { return m_mode; }
    QPushButton* RemarkButton() const { return m_remark; }
    QListWidget* List() const { return m_list; }
    QLabel* Total() const { return m_total; }

private:
    QCheckBox* m_mode = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_total = nullptr;
    QPushButton* m_remark = nullptr;
};

// The most recent medication take-overs, newest first.
class KarteiLastMeds : public QGroupBox {
    Q_OBJECT
public:
    explicit KarteiLastMeds(QWidget* parent = nullptr);

    void Show(const std::vector<card::LastMedication>& rows);
    QTableWidget* Table() const { return m_table; }

private:
    QTableWidget* m_table = nullptr;
};
