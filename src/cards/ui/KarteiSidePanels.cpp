#include "cards/ui/KarteiSidePanels.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

KarteiRechner::KarteiRechner(QWidget* parent)
    : QGroupBox(QStringLiteral("Rechner (Übern. mit Summation)"), parent)
{
    setObjectName(QStringLiteral("RechnerPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    m_mode = new QCheckBox(QStringLiteral("Rechner-Modus"), this);
    m_mode->setObjectName(QStringLiteral("RechnerChk"));
    m_mode->setFocusPolicy(Qt::NoFocus);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("RechnerListe"));
    m_list->setFocusPolicy(Qt::NoFocus);
    auto* row = new QHBoxLayout();
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("RechnerSummeLabel"));
    QFont bold = m_total->font();
    bold.setBold(true);
    m_total->setFont(bold);
    m_remark = new QPushButton(QStringLiteral("Bem."), this);
    m_remark->setObjectName(QStringLiteral("RechnerBemBtn"));
    m_remark->setToolTip(QStringLiteral("In Kartei (Spalte Bemerkung) übernehmen"));
    m_remark->setFocusPolicy(Qt::NoFocus);
    row->addWidget(new QLabel(QStringLiteral("Summe:"), this));
    row->addWidget(m_total, 1);
    row->addWidget(m_remark);
    layout->addWidget(m_mode);
    layout->addWidget(m_list, 1);
    layout->addLayout(row);
}

void KarteiRechner::Show(bool on, const std::vector<card::CalculatorRow>& rows,
                         const QString& total)
{
    m_mode->setChecked(on);
    m_list->clear();
    for (const card::CalculatorRow& r : rows)
        m_list->addItem(r.text + QStringLiteral("   ") + r.amount);
    m_total->setText(total);
    m_remark->setEnabled(!rows.empty());
}

KarteiLastMeds::KarteiLastMeds(QWidget* parent)
    : QGroupBox(QStringLiteral("Letzte Medikamente"), parent)
{
    setObjectName(QStringLiteral("LetzteMedPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("LetzteMedGrid"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Medikament"), QStringLiteral("Ch.-B."),
                                        QStringLiteral("Menge 100%"), QStringLiteral("Menge"),
                                        QStringLiteral("Wartezeit")});
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_table);
}

void KarteiLastMeds::Show(const std::vector<card::LastMedication>& rows)
{
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const card::LastMedication& m = rows[size_t(r)];
        const QString cells[] = {m.article, m.batch, m.quantity100, m.quantity, m.waitingTime};
        for (int c = 0; c < 5; ++c)
            m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}
