#include "texts/ui/TKreditorDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "masterdata/CustomerForm.h"
#include "masterdata/ui/LineEditBinding.h"
#include "texts/TKreditorDlgForm.h"

using F = TKreditorDlgForm;

TKreditorDlg::TKreditorDlg(TKreditorDlgForm& form, const QStringList& postcodes, QWidget* parent)
    : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("TKreditorDlg"));
    setWindowTitle(form.Caption());
    auto* outer = new QVBoxLayout(this);

    auto* senderRow = new QHBoxLayout;
    senderRow->addWidget(new QLabel(QStringLiteral("Absender:"), this));
    m_sender = new QPushButton(this);
    m_sender->setObjectName(QStringLiteral("AbsenderBtn"));
    m_sender->setCheckable(true);
    m_sender->setFocusPolicy(Qt::NoFocus);
    connect(m_sender, &QPushButton::clicked, this, [this](bool on) {
        m_form.SetPharmacy(on);
        Refresh();
    });
    senderRow->addWidget(m_sender);
    senderRow->addStretch();
    outer->addLayout(senderRow);

    if (form.GetMode() == F::Mode::Letterhead) {
        auto* switches = new QHBoxLayout;
        m_bank = new QCheckBox(QStringLiteral("&Bankverbindung "), this);
        m_phone = new QCheckBox(QStringLiteral("Telefonnr. / &Faxnr. "), this);
        m_firm = new QCheckBox(QStringLiteral("Fir&menbezeichnung"), this);
        connect(m_bank, &QCheckBox::clicked, this, [this](bool on) { m_form.SetBank(on); });
        connect(m_phone, &QCheckBox::clicked, this, [this](bool on) { m_form.SetPhone(on); });
        connect(m_firm, &QCheckBox::clicked, this, [this](bool on) { m_form.SetFirm(on); });
        switches->addWidget(m_bank);
        switches->addWidget(m_phone);
        switches->addWidget(m_firm);
        outer->addLayout(switches);
    }

    auto* fields = new QFormLayout;
    auto* anrede = new QComboBox(this);
    anrede->setEditable(true);
    anrede->setInsertPolicy(QComboBox::NoInsert);
    anrede->addItems(CustomerForm::AnredeItems());
    Register(F::Anrede, anrede, anrede->lineEdit());
    fields->addRow(QStringLiteral("&Anrede:"), anrede);
    fields->addRow(QStringLiteral("&Vorname:"), AddLine(F::Vorname));
    fields->addRow(QStringLiteral("&Name:"), AddLine(F::Name));
    fields->addRow(QStringLiteral("&Strasse:"), AddLine(F::Strasse));
    auto* town = new QComboBox(this);
    town->setEditable(true);
    town->setInsertPolicy(QComboBox::NoInsert);
    town->addItems(postcodes);
    town->setCurrentIndex(-1);
    Register(F::PlzOrt, town, town->lineEdit());
    fields->addRow(QStringLiteral("&PLZ/ Ort:"), town);
    QLineEdit* date = AddLine(F::Datum);
    date->setToolTip(QStringLiteral("Strg+D: heutiges Datum"));
    date->setMaximumWidth(110);
    fields->addRow(QStringLiteral("&Datum:"), date);
    outer->addLayout(fields);

    auto* titleGroup = new QGroupBox(form.TitleGroupCaption(), this);
    auto* titleLayout = new QVBoxLayout(titleGroup);
    titleLayout->addWidget(AddLine(F::Titel));
    outer->addWidget(titleGroup);

    auto* search = new QFormLayout;
    search->addRow(QStringLiteral("&Kunden-Suche:"), AddLine(F::KundenSuche));
    outer->addLayout(search);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    // A click must not take the focus: the date is checked when it is left.
    m_ok->setFocusPolicy(Qt::NoFocus);
    cancel->setFocusPolicy(Qt::NoFocus);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TKreditorDlg::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &TKreditorDlg::reject);
    outer->addWidget(buttons);
    form.Begin();
    Refresh();
}

QLineEdit* TKreditorDlg::AddLine(int id)
{
    auto* edit = new QLineEdit(this);
    Register(id, edit, edit);
    return edit;
}

void TKreditorDlg::Register(int id, QWidget* widget, QLineEdit* editor)
{
    m_editors.insert(id, editor);
    m_ids.insert(widget, id);
    m_ids.insert(editor, id);
    widget->installEventFilter(this);
    if (editor != widget)
        editor->installEventFilter(this);
    if (m_form.Field(id).maxLength > 0)
        editor->setMaxLength(m_form.Field(id).maxLength);
    connect(editor, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        if (m_refreshing)
            return;
        m_form.EditText(id, text);
        Refresh();
    });
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::textActivated, this, [this, id](const QString& text) {
            if (m_refreshing)
                return;
            m_form.EditText(id, text);
            Refresh();
        });
    }
}

void TKreditorDlg::Refresh()
{
    m_refreshing = true;
    for (auto it = m_editors.constBegin(); it != m_editors.constEnd(); ++it) {
        QLineEdit* edit = it.value();
        const FormField& field = m_form.Field(it.key());
        if (edit->text() != field.text)
            edit->setText(field.text);
    }
    m_sender->setEnabled(m_form.PharmacyAvailable());
    m_sender->setChecked(m_form.Pharmacy());
    m_sender->setText(m_form.Pharmacy() ? QStringLiteral("Apotheke") : QStringLiteral("Praxis"));
    if (m_bank) {
        m_bank->setChecked(m_form.Bank());
        m_phone->setChecked(m_form.Phone());
        m_firm->setChecked(m_form.Firm());
    }
    m_refreshing = false;
}

bool TKreditorDlg::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = m_ids.constFind(watched);
    if (it == m_ids.constEnd())
        return QDialog::eventFilter(watched, event);
    const int id = it.value();
    QLineEdit* edit = m_editors.value(id);
    if (event->type() == QEvent::KeyPress && watched == edit) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (id == F::Datum && key->key() == Qt::Key_D && (key->modifiers() & Qt::ControlModifier)) {
            m_form.InsertToday();
            Refresh();
            return true;
        }
        const std::optional<QChar> ch = FormKey(*key);
        if (!ch)
            return false;
        ReadEdit(*edit, m_form.Field(id));
        m_form.KeyPress(id, *ch);
        m_refreshing = true;
        WriteEdit(*edit, m_form.Field(id));
        m_refreshing = false;
        Refresh();
        return true;
    }
    if (event->type() == QEvent::FocusOut && watched == edit &&
        LeavesField(*static_cast<QFocusEvent*>(event))) {
        ReadEdit(*edit, m_form.Field(id));
        const bool leaves = m_form.Leave(id);
        Refresh();
        if (!leaves) {
            QTimer::singleShot(0, this, [this] {
                const int want = m_form.TakeFocusRequest();
                if (QLineEdit* e = m_editors.value(want)) {
                    e->setFocus(Qt::OtherFocusReason);
                    e->selectAll();
                }
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

int TKreditorDlg::FocusedField() const
{
    for (QWidget* focus = QApplication::focusWidget(); focus; focus = focus->parentWidget()) {
        const auto it = m_ids.constFind(focus);
        if (it != m_ids.constEnd())
            return it.value();
    }
    return -1;
}

void TKreditorDlg::OkClicked()
{
    const int id = FocusedField();
    if (id >= 0)
        ReadEdit(*m_editors.value(id), m_form.Field(id));
    if (m_form.Ok(id)) {
        accept();
        return;
    }
    Refresh();
    const int want = m_form.TakeFocusRequest();
    if (QLineEdit* e = m_editors.value(want))
        e->setFocus(Qt::OtherFocusReason);
}

void TKreditorDlg::reject()
{
    m_form.Cancel();
    QDialog::reject();
}
