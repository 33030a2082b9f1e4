#include "shell/ui/TOptionenDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

using F = TOptionenDlgForm;

TOptionenDlg::TOptionenDlg(OptionenContext context, QWidget* parent)
    : QDialog(parent), m_form(std::move(context)), m_binding(m_form, this)
{
    m_binding.onChanged = [this] { Refresh(); };
    m_binding.onLeave = [this](int id) { HandleLeave(id); };
    setWindowTitle(QStringLiteral("Systemoptionen"));
    setObjectName(QStringLiteral("TOptionenDlg"));
    m_tabs = new QTabWidget(this);
    const QStringList titles = TOptionenDlgForm::PageTitles();
    m_tabs->addTab(BuildPraxis(false), titles[F::Praxis]);
    m_tabs->addTab(BuildPraxis(true), titles[F::Apotheke]);
    m_tabs->addTab(BuildKopf(), titles[F::Kopf]);
    m_tabs->addTab(BuildMwSt(), titles[F::MwSt]);
    m_tabs->addTab(BuildMahnwesen(), titles[F::Mahnwesen]);
    m_tabs->addTab(BuildBackup(), titles[F::BackupPage]);
    m_tabs->addTab(BuildPasswort(), titles[F::Passwort]);
    m_tabs->addTab(BuildExtDok(), titles[F::ExtDok]);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_refreshing)
            return;
        m_form.SetActivePage(static_cast<F::Page>(index));
        Refresh();
    });

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    // Cancel takes no focus, so the field being left runs no rules on the way out.
    m_cancelButton->setFocusPolicy(Qt::NoFocus);
    connect(m_okButton, &QPushButton::clicked, this, &TOptionenDlg::ClickOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &TOptionenDlg::ClickCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    resize(700, 480);
}

QLineEdit* TOptionenDlg::AddEditor(int id)
{
    auto* edit = new QLineEdit(this);
    m_binding.Bind(id, edit);
    return edit;
}

QCheckBox* TOptionenDlg::AddCheck(int id, const QString& caption)
{
    auto* box = new QCheckBox(caption, this);
    m_checks.insert(id, box);
    connect(box, &QCheckBox::toggled, this, [this, id](bool on) {
        if (m_refreshing)
            return;
        m_form.SetChecked(static_cast<F::CheckId>(id), on);
        Refresh();
    });
    return box;
}

QWidget* TOptionenDlg::BuildPraxis(bool pharmacy)
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* address =
        new QGroupBox(pharmacy ? QStringLiteral("Apotheke") : QStringLiteral("Praxis"), page);
    auto* form = new QFormLayout(address);
    const int name = pharmacy ? F::NameEdit2 : F::NameEdit;
    form->addRow(QStringLiteral("Name:"), AddEditor(name));
    form->addRow(QStringLiteral("Firma:"), AddEditor(pharmacy ? F::FirmaEdit2 : F::FirmaEdit));
    form->addRow(QStringLiteral("Straße:"), AddEditor(pharmacy ? F::StrasseEdit2 : F::StrasseEdit));
    form->addRow(QStringLiteral("PLZ / Ort:"), AddEditor(pharmacy ? F::PLZEdit2 : F::PLZEdit));
    form->addRow(QStringLiteral("Telefon:"), AddEditor(pharmacy ? F::TelEdit2 : F::TelEdit));
    form->addRow(pharmacy ? QStringLiteral("Fax:") : QStringLiteral("Fax / Mobil:"),
                 AddEditor(pharmacy ? F::FaxEdit2 : F::FaxEdit));
    form->addRow(QStringLiteral("Sonstiges 1:"),
                 AddEditor(pharmacy ? F::SonstEdit3 : F::SonstEdit1));
    form->addRow(QStringLiteral("Sonstiges 2:"),
                 AddEditor(pharmacy ? F::SonstEdit4 : F::SonstEdit2));
    layout->addWidget(address);

    auto* bank = new QGroupBox(QStringLiteral("Bankverbindung"), page);
    auto* bankForm = new QFormLayout(bank);
    bankForm->addRow(QStringLiteral("Bank:"), AddEditor(pharmacy ? F::BankEdit2 : F::BankEdit));
    bankForm->addRow(QStringLiteral("IBAN:"), AddEditor(pharmacy ? F::BLZEdit2 : F::BLZEdit));
    bankForm->addRow(QStringLiteral("BIC:"), AddEditor(pharmacy ? F::KtoEdit2 : F::KtoEdit));
    bankForm->addRow(QStringLiteral("Kontoinhaber:"),
                     AddEditor(pharmacy ? F::KontoinhaberEdit2 : F::KontoinhaberEdit));
    if (!pharmacy)
        bankForm->addRow(AddCheck(F::GiroCodeChk, QStringLiteral(" GiroCode drucken")));
    layout->addWidget(bank);
    layout->addStretch();
    return page;
}

QWidget* TOptionenDlg::BuildKopf()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* docs = new QGroupBox(QStringLiteral("Rechnung, Quittung, Angebot"), page);
    auto* form = new QFormLayout(docs);
    m_dokCmb = new QComboBox(docs);
    connect(m_dokCmb, &QComboBox::activated, this, [this](int index) {
        m_form.ChooseDocument(index);
        Refresh();
    });
    form->addRow(QStringLiteral("Dokument:"), m_dokCmb);
    form->addRow(QStringLiteral("Kopftext:"), AddEditor(F::RechKopfEdit));
    form->addRow(QStringLiteral("Fußtext I:"), AddEditor(F::RechFuss1Edit));
    form->addRow(QStringLiteral("Fußtext II:"), AddEditor(F::RechFuss2Edit));
    layout->addWidget(docs);

    auto* dunning = new QGroupBox(QStringLiteral("Mahnungen"), page);
    auto* dunningForm = new QFormLayout(dunning);
    dunningForm->addRow(QStringLiteral("Überschrift 1. Mahnung:"), AddEditor(F::UebMa1Edit));
    dunningForm->addRow(QStringLiteral("Überschrift 2. Mahnung:"), AddEditor(F::UebMa2Edit));
    layout->addWidget(dunning);
    layout->addWidget(AddCheck(F::LogoChk, QStringLiteral(" Logo.bmp")));
    layout->addStretch();
    return page;
}

QWidget* TOptionenDlg::BuildMwSt()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* current = new QGroupBox(QStringLiteral("Aktuelle MwSt-Sätze in %"), page);
    auto* form = new QFormLayout(current);
    form->addRow(QStringLiteral("Satz 1 (Normalsatz):"), AddEditor(F::Mwst1Edit));
    form->addRow(QStringLiteral("Satz 2:"), AddEditor(F::Mwst2Edit));
    form->addRow(QStringLiteral("Satz 3:"), AddEditor(F::Mwst3Edit));
    layout->addWidget(current);

    auto* date = new QFormLayout;
    auto* dateLabel = new QLabel(QStringLiteral("&Datum der letzten MwSt-Änderung:"), page);
    QLineEdit* dateEdit = AddEditor(F::StichtagsDatumEdit);
    dateLabel->setBuddy(dateEdit);
    date->addRow(dateLabel, dateEdit);
    layout->addLayout(date);

    auto* previous = new QGroupBox(QStringLiteral("MwSt-Sätze vor dieser Änderung in %"), page);
    auto* prevForm = new QFormLayout(previous);
    prevForm->addRow(QStringLiteral("Satz 1:"), AddEditor(F::AlteMwst1Edit));
    prevForm->addRow(QStringLiteral("Satz 2:"), AddEditor(F::AlteMwst2Edit));
    prevForm->addRow(QStringLiteral("Satz 3:"), AddEditor(F::AlteMwst3Edit));
    layout->addWidget(previous);
    layout->addStretch();
    for (int id : {F::Mwst1Edit, F::Mwst2Edit, F::Mwst3Edit, F::AlteMwst1Edit, F::AlteMwst2Edit,
                   F::AlteMwst3Edit})
        Editor(id)->setMaximumWidth(80);
    dateEdit->setMaximumWidth(110);
    return page;
}

QWidget* TOptionenDlg::BuildMahnwesen()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* terms = new QGroupBox(QStringLiteral("Zahlungsziele in Tagen"), page);
    auto* form = new QFormLayout(terms);
    form->addRow(QStringLiteral("Rechnung:"), AddEditor(F::ZzRechEdit));
    form->addRow(QStringLiteral("1. Mahnung:"), AddEditor(F::ZzMa1Edit));
    form->addRow(QStringLiteral("2. Mahnung:"), AddEditor(F::ZzMa2Edit));
    layout->addWidget(terms);
    auto* fees = new QGroupBox(QStringLiteral("Mahngebühren"), page);
    auto* feeForm = new QFormLayout(fees);
    feeForm->addRow(QStringLiteral("1. Mahnung:"), AddEditor(F::MaGeb1Edit));
    feeForm->addRow(QStringLiteral("2. Mahnung:"), AddEditor(F::MaGeb2Edit));
    layout->addWidget(fees);
    layout->addStretch();
    for (int id : {F::ZzRechEdit, F::ZzMa1Edit, F::ZzMa2Edit, F::MaGeb1Edit, F::MaGeb2Edit})
        Editor(id)->setMaximumWidth(100);
    return page;
}

QWidget* TOptionenDlg::BuildBackup()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* standard = new QFormLayout;
    standard->addRow(QStringLiteral("Standardpfad:"), AddEditor(F::StdPathEdit));
    layout->addLayout(standard);

    auto* box = new QGroupBox(QStringLiteral("Datensicherung auf zweiten Datenträger"), page);
    auto* grid = new QGridLayout(box);
    grid->addWidget(AddCheck(F::SicherungChk1, QStringLiteral(" Autom. &Sicherung ->")), 0, 0);
    m_laufwerkCB = new QComboBox(box);
    m_laufwerkCB->setMinimumWidth(200);
    connect(m_laufwerkCB, &QComboBox::activated, this, [this](int index) {
        m_form.ChooseDrive(index);
        Refresh();
    });
    grid->addWidget(new QLabel(QStringLiteral("Laufwerk:"), box), 0, 1);
    grid->addWidget(m_laufwerkCB, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Backup-Pfad:"), box), 1, 0);
    grid->addWidget(AddEditor(F::BackupPathEdit), 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    layout->addWidget(box);
    layout->addStretch();
    return page;
}

QWidget* TOptionenDlg::BuildPasswort()
{
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* pw = new QFormLayout;
    QLineEdit* first = AddEditor(F::PasswortEdit);
    QLineEdit* second = AddEditor(F::PasswortEdit2);
    first->setEchoMode(QLineEdit::Password);
    second->setEchoMode(QLineEdit::Password);
    pw->addRow(QStringLiteral("Passwort:"), first);
    pw->addRow(QStringLiteral("Passwort wiederholen:"), second);
    left->addLayout(pw);

    auto* currency = new QGroupBox(QStringLiteral("Währung"), page);
    auto* curForm = new QFormLayout(currency);
    m_euroRBtn = new QRadioButton(QStringLiteral("Euro"), currency);
    m_dmRBtn = new QRadioButton(QStringLiteral("DM"), currency);
    auto* group = new QButtonGroup(currency);
    group->addButton(m_euroRBtn);
    group->addButton(m_dmRBtn);
    connect(m_euroRBtn, &QRadioButton::toggled, this, [this](bool on) {
        if (!m_refreshing)
            m_form.SetEuro(on);
    });
    auto* radios = new QHBoxLayout;
    radios->addWidget(m_euroRBtn);
    radios->addWidget(m_dmRBtn);
    radios->addStretch();
    curForm->addRow(radios);
    curForm->addRow(QStringLiteral("DM pro Euro:"), AddEditor(F::DMEdit));
    curForm->addRow(QStringLiteral("Euro pro DM:"), AddEditor(F::EuroEdit));
    curForm->addRow(AddCheck(F::PreisAuszChk, QStringLiteral(" Preise in Euro und DM")));
    left->addWidget(currency);
    left->addStretch();
    layout->addLayout(left, 1);

    auto* protect = new QGroupBox(QStringLiteral("Passwortschutz für"), page);
    auto* boxes = new QVBoxLayout(protect);
    const QStringList captions = {QStringLiteral("Medikamente"),
                                  QStringLiteral("Leistungen"),
                                  QStringLiteral("Kunden"),
                                  QStringLiteral("Kartei"),
                                  QStringLiteral("Patienten"),
                                  QStringLiteral("Abgabebelege"),
                                  QStringLiteral("Stapeldruck Re/Ma"),
                                  QStringLiteral("Stapeldruck E/A"),
                                  QStringLiteral("E/A-Statistik"),
                                  QStringLiteral("Texteditor"),
                                  QStringLiteral("Terminkalender"),
                                  QStringLiteral("Systemoptionen")};
    for (int i = 0; i < captions.size(); ++i)
        boxes->addWidget(AddCheck(F::PW_MedChk + i, captions[i]));
    layout->addWidget(protect);
    return page;
}

QWidget* TOptionenDlg::BuildExtDok()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* ext = new QGroupBox(QStringLiteral("Ordner für externe Dokumente"), page);
    auto* row = new QHBoxLayout(ext);
    row->addWidget(AddEditor(F::StdExtPathEdit), 1);
    auto* browse = new QPushButton(QStringLiteral("Durchsuchen"), ext);
    connect(browse, &QPushButton::clicked, this, [this] {
        m_form.BrowseExtFolder();
        Refresh();
    });
    row->addWidget(browse);
    layout->addWidget(ext);
    auto* download = new QGroupBox(QStringLiteral("Internet-Adresse der Arzneilisten"), page);
    auto* dlRow = new QHBoxLayout(download);
    dlRow->addWidget(AddEditor(F::BarsoiAdresseEdit));
    layout->addWidget(download);
    layout->addStretch();
    return page;
}

void TOptionenDlg::Prepare(TOptionenDlgForm::Page page)
{
    m_form.Open(page);
    m_refreshing = true;
    m_laufwerkCB->clear();
    m_laufwerkCB->addItems(m_form.Drives());
    m_laufwerkCB->setCurrentIndex(-1);
    m_refreshing = false;
    Refresh();
    if (QLineEdit* first = Editor(page == F::MwSt ? F::Mwst1Edit : F::NameEdit))
        first->setFocus();
}

int TOptionenDlg::Open(TOptionenDlgForm::Page page)
{
    Prepare(page);
    return exec();
}

void TOptionenDlg::Refresh()
{
    m_refreshing = true;
    m_binding.ShowFields();
    for (auto it = m_checks.constBegin(); it != m_checks.constEnd(); ++it) {
        const auto id = static_cast<F::CheckId>(it.key());
        it.value()->setChecked(m_form.Checked(id));
        it.value()->setEnabled(m_form.CheckEnabled(id));
    }
    m_euroRBtn->setChecked(m_form.Euro());
    m_dmRBtn->setChecked(!m_form.Euro());
    const QStringList titles = m_form.DocumentTitles();
    QStringList shown;
    for (int i = 0; i < m_dokCmb->count(); ++i)
        shown << m_dokCmb->itemText(i);
    if (shown != titles) {
        m_dokCmb->clear();
        m_dokCmb->addItems(titles);
    }
    m_dokCmb->setCurrentIndex(m_form.Document());
    m_laufwerkCB->setEnabled(m_form.DriveBoxEnabled());
    if (m_tabs->currentIndex() != m_form.ActivePage())
        m_tabs->setCurrentIndex(m_form.ActivePage());
    m_refreshing = false;
}

void TOptionenDlg::HandleLeave(int id)
{
    if (m_closing)
        return;  // Cancel: the fields are discarded, no leaving rules
    m_binding.CopyToForm(id);
    const bool leaves = m_form.Leave(id, false);
    Refresh();
    if (!leaves || id == F::PasswortEdit)
        QTimer::singleShot(0, this, [this] { ApplyRequests(); });
}

void TOptionenDlg::ApplyRequests()
{
    const int page = m_form.TakePageRequest();
    if (page >= 0)
        m_tabs->setCurrentIndex(page);
    m_binding.ApplyFocusRequest();
}

void TOptionenDlg::ClickOk()
{
    const int focused = m_binding.FocusedField();
    if (focused >= 0)
        m_binding.CopyToForm(focused);
    const bool closes = m_form.Ok(focused);
    Refresh();
    if (!closes) {
        ApplyRequests();
        return;
    }
    m_closing = true;
    accept();
    m_closing = false;
}

void TOptionenDlg::ClickCancel()
{
    reject();
}

void TOptionenDlg::reject()
{
    m_closing = true;
    m_form.Cancel();
    QDialog::reject();
    m_closing = false;
}
