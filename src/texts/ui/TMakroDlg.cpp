#include "texts/ui/TMakroDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "texts/TMakroDlgForm.h"

TMakroDlg::TMakroDlg(TMakroDlgForm& form, QWidget* parent) : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("TMakroDlg"));
    setWindowTitle(form.Caption());
    resize(520, 420);
    const bool macros = form.GetMode() == TMakroDlgForm::Mode::Macros;
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(form.Hint(), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_table = new QTableWidget(this);
    m_table->setColumnCount(macros ? 2 : 1);
    m_table->setHorizontalHeaderLabels(
        macros ? QStringList{QStringLiteral("Buchstabe"), QStringLiteral("Text")}
               : QStringList{QStringLiteral("Favorit")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    if (macros)
        m_table->setColumnWidth(0, 80);
    else
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_table, 1);
    connect(m_table, &QTableWidget::cellChanged, this, &TMakroDlg::CellEdited);

    auto* row = new QHBoxLayout;
    m_add = new QPushButton(QStringLiteral("Einfg."), this);
    m_delete = new QPushButton(QStringLiteral("Lösch."), this);
    m_add->setVisible(macros);
    row->addWidget(m_add);
    row->addWidget(m_delete);
    row->addStretch();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    row->addWidget(buttons);
    layout->addLayout(row);

    connect(m_add, &QPushButton::clicked, this, [this] {
        const int added = m_form.Add();
        Show();
        if (added >= 0) {
            m_table->setCurrentCell(added, 0);
            m_table->editItem(m_table->item(added, 0));
        }
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_form.Delete(m_table->currentRow());
        Show();
    });
    Show();
}

void TMakroDlg::Show()
{
    m_showing = true;
    const bool macros = m_form.GetMode() == TMakroDlgForm::Mode::Macros;
    m_table->setRowCount(m_form.RowCount());
    for (int r = 0; r < m_form.RowCount(); ++r) {
        const macros::Macro& row = m_form.Row(r);
        if (macros) {
            m_table->setItem(r, 0, new QTableWidgetItem(row.letter));
            m_table->setItem(r, 1, new QTableWidgetItem(row.text));
        } else {
            m_table->setItem(r, 0, new QTableWidgetItem(row.text));
        }
    }
    m_add->setEnabled(m_form.CanAdd());
    m_delete->setEnabled(m_form.RowCount() > 0);
    m_showing = false;
}

void TMakroDlg::CellEdited(int row, int col)
{
    if (m_showing || m_form.GetMode() != TMakroDlgForm::Mode::Macros)
        return;
    const QString text = m_table->item(row, col)->text();
    if (col == 0)
        m_form.SetLetter(row, text);
    else
        m_form.SetText(row, text);
    // A refused letter shows the row's stored letter again.
    const QString stored = col == 0 ? m_form.Row(row).letter : m_form.Row(row).text;
    if (stored != text) {
        m_showing = true;
        m_table->item(row, col)->setText(stored);
        m_showing = false;
    }
}
