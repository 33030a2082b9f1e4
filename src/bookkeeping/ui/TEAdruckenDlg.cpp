#include "bookkeeping/ui/TEAdruckenDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bookkeeping/TEAdruckenDlgForm.h"

TEAdruckenDlg::TEAdruckenDlg(TEAdruckenDlgForm& form, QWidget* parent)
    : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("TEAdruckenDlg"));
    setWindowTitle(QStringLiteral("Talven - Drucken"));
    // Wide enough for the caption of either choice.
    setMinimumWidth(360);
    auto* outer = new QVBoxLayout(this);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("DruckenLabel"));
    m_caption->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 11pt"));
    outer->addWidget(m_caption);

    auto* choice = new QGroupBox(this);
    auto* choiceLayout = new QVBoxLayout(choice);
    m_list = new QRadioButton(form.ListText(), choice);
    m_list->setObjectName(QStringLiteral("ListeRBtn"));
    m_vat = new QRadioButton(TEAdruckenDlgForm::VatReturnText(), choice);
    m_vat->setObjectName(QStringLiteral("UStVARBtn"));
    choiceLayout->addWidget(m_list);
    choiceLayout->addWidget(m_vat);
    m_toFile = new QCheckBox(QStringLiteral("Drucken in Datei"), choice);
    m_toFile->setObjectName(QStringLiteral("DateiChk"));
    m_balances = new QCheckBox(QStringLiteral("mit akt. Kontostand"), choice);
    m_balances->setObjectName(QStringLiteral("KontostandChk"));
    choiceLayout->addSpacing(6);
    choiceLayout->addWidget(m_toFile);
    choiceLayout->addWidget(m_balances);
    outer->addWidget(choice);

    auto* selection = new QGroupBox(this);
    auto* selectionLayout = new QVBoxLayout(selection);
    for (QLabel** label : {&m_period, &m_business, &m_account, &m_printer}) {
        *label = new QLabel(selection);
        selectionLayout->addWidget(*label);
    }
    m_period->setObjectName(QStringLiteral("ZeitraumLabel"));
    m_business->setObjectName(QStringLiteral("FirmaLabel"));
    m_account->setObjectName(QStringLiteral("KasseBankLabel"));
    m_printer->setObjectName(QStringLiteral("DruckerLabel"));
    outer->addWidget(selection);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    outer->addWidget(buttons);

    connect(m_list, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_form.SetChoice(TEAdruckenDlgForm::Choice::List);
            Show();
        }
    });
    connect(m_vat, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_form.SetChoice(TEAdruckenDlgForm::Choice::VatReturn);
            Show();
        }
    });
    connect(m_toFile, &QCheckBox::toggled, this, [this](bool on) { m_form.SetToFile(on); });
    connect(m_balances, &QCheckBox::toggled, this, [this](bool on) { m_form.SetWithBalances(on); });
    (form.CurrentChoice() == TEAdruckenDlgForm::Choice::List ? m_list : m_vat)->setChecked(true);
    Show();
}

void TEAdruckenDlg::Show()
{
    m_caption->setText(m_form.Caption());
    for (QCheckBox* box : {m_toFile, m_balances}) {
        const QSignalBlocker block(box);
        box->setEnabled(m_form.OptionsEnabled());
    }
    m_toFile->setChecked(m_form.ToFile());
    m_balances->setChecked(m_form.WithBalances());
    m_period->setText(m_form.PeriodLine());
    m_business->setText(m_form.BusinessLine());
    m_account->setText(m_form.AccountLine());
    m_account->setVisible(!m_form.AccountLine().isEmpty());
    m_printer->setText(m_form.PrinterLine());
}
