#include "stock/ui/TMedInvDruckDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "stock/StockReport.h"

namespace {

QString Lines(const QString& text)
{
    QString out = text;
    return out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

TMedInvDruckDlg::TMedInvDruckDlg(stock::TMedInvDruckDlgForm& form, QWidget* parent)
    : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("MedInvDruckDlg"));
    setWindowTitle(form.Caption());
    auto* layout = new QVBoxLayout(this);

    m_list = new QRadioButton(form.ListText(), this);
    m_list->setObjectName(QStringLiteral("ListeRBtn"));
    layout->addWidget(m_list);
    auto* note = new QLabel(form.ListNote(), this);
    note->setObjectName(QStringLiteral("ListeNoteLabel"));
    if (form.ListNoteRed())
        note->setStyleSheet(QStringLiteral("color: red"));
    note->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(note);
    auto* hint = new QLabel(Lines(stock::TMedInvDruckDlgForm::ListHint()), this);
    hint->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(hint);

    auto* row = new QHBoxLayout();
    m_inventory = new QRadioButton(stock::TMedInvDruckDlgForm::InventoryText(), this);
    m_inventory->setObjectName(QStringLiteral("InventurRBtn"));
    m_year = new QLineEdit(form.year, this);
    m_year->setObjectName(QStringLiteral("JahrEdit"));
    m_year->setMaxLength(4);
    m_year->setMaximumWidth(60);
    m_year->installEventFilter(this);
    row->addWidget(m_inventory);
    row->addWidget(m_year);
    row->addStretch();
    layout->addLayout(row);
    auto* inventoryNote = new QLabel(Lines(stock::TMedInvDruckDlgForm::InventoryNote()), this);
    inventoryNote->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(inventoryNote);

    m_toFile = new QCheckBox(stock::TMedInvDruckDlgForm::ToFileText(), this);
    m_toFile->setObjectName(QStringLiteral("DateiChk"));
    m_toFile->setChecked(form.toFile);
    layout->addWidget(m_toFile);

    (form.choice == stock::TMedInvDruckDlgForm::Choice::List ? m_list : m_inventory)
        ->setChecked(true);

    auto* buttons = new QHBoxLayout();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("AbbrechenBtn"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TMedInvDruckDlg::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_year, &QLineEdit::textEdited, this, [this] { m_inventory->setChecked(true); });
}

bool TMedInvDruckDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_year && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint() && !(key->modifiers() & Qt::ControlModifier)) {
            QString rest = m_year->text();
            rest.remove(m_year->selectionStart() >= 0 ? m_year->selectionStart() : 0,
                        m_year->selectedText().size());
            if (!stock::TMedInvDruckDlgForm::AcceptsYearKey(rest, text[0]))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMedInvDruckDlg::Accept()
{
    m_form.choice = m_list->isChecked() ? stock::TMedInvDruckDlgForm::Choice::List
                                        : stock::TMedInvDruckDlgForm::Choice::Inventory;
    m_form.year = m_year->text();
    m_form.toFile = m_toFile->isChecked();
    if (m_form.Ok())
        accept();
    else
        m_year->setFocus();
}
