#include "bookkeeping/ui/TKtoStdAendDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bookkeeping/TKtoStdAendDlgForm.h"
#include "common/qt/FormBinding.h"

namespace {

const char* const kNames[] = {"KasseEdit", "BankEdit", "Kasse2Edit", "Bank2Edit"};

}  // namespace

TKtoStdAendDlg::TKtoStdAendDlg(TKtoStdAendDlgForm& form, QWidget* parent)
    : QDialog(parent), m_form(form), m_binding(new FormBinding(form, this))
{
    setObjectName(QStringLiteral("TKtoStdAendDlg"));
    setWindowTitle(TKtoStdAendDlgForm::Caption());
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const int fields = form.Tall() ? TKtoStdAendDlgForm::kCount : TKtoStdAendDlgForm::Kasse2Edit;
    for (int id = 0; id < fields; ++id) {
        const int row = id + (id >= TKtoStdAendDlgForm::Kasse2Edit ? 1 : 0);
        if (id % 2 == 0 && form.Tall()) {
            auto* pair = new QLabel(form.PairLabel(id), this);
            pair->setStyleSheet(QStringLiteral("font-weight: bold"));
            grid->addWidget(pair, row, 0);
        }
        grid->addWidget(new QLabel(form.FieldCaption(id), this), row, 1);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(kNames[id]));
        edit->setAlignment(Qt::AlignRight);
        grid->addWidget(edit, row, 2);
        grid->addWidget(new QLabel(form.CurrencyText(), this), row, 3);
        m_binding->Bind(id, edit);
    }
    if (form.Tall())
        grid->setRowMinimumHeight(2, 8);
    outer->addLayout(grid);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TKtoStdAendDlg::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    outer->addWidget(buttons);
    m_binding->ShowFields();
}

void TKtoStdAendDlg::OkClicked()
{
    // The field being typed in follows its leaving rule before the values count.
    const int focused = m_binding->FocusedField();
    if (focused >= 0) {
        m_binding->CopyToForm(focused);
        m_form.Leave(focused, true);
    }
    accept();
}
