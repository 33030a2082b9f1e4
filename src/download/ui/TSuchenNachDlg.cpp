#include "download/ui/TSuchenNachDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

using download::ListSource;

TSuchenNachDlg::TSuchenNachDlg(TSuchenNachDlgForm& form, QWidget* parent)
    : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("TSuchenNachDlg"));
    auto* layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    m_searchPage = BuildSearchPage();
    m_downloadPage = BuildDownloadPage();
    m_pages->addWidget(m_searchPage);
    m_pages->addWidget(m_downloadPage);
    layout->addWidget(m_pages, 1);

    auto* buttons = new QHBoxLayout();
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKBtn"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    m_form.changed = [this] { Refresh(); };
    Refresh();
}

TSuchenNachDlg::~TSuchenNachDlg()
{
    m_form.changed = nullptr;
}

QWidget* TSuchenNachDlg::BuildSearchPage()
{
    auto* page = new QWidget(this);
    auto* grid = new QFormLayout(page);
    m_searchLabel = new QLabel(page);
    m_searchEdit = new QLineEdit(page);
    m_searchEdit->setObjectName(QStringLiteral("SuchEdit"));
    m_searchLabel->setBuddy(m_searchEdit);
    m_choiceLabel = new QLabel(page);
    m_choice = new QComboBox(page);
    m_choice->setObjectName(QStringLiteral("AuswahlCBox"));
    m_choiceLabel->setBuddy(m_choice);
    m_searchInfo = new QLabel(page);
    m_searchInfo->setWordWrap(true);
    grid->addRow(m_searchLabel, m_searchEdit);
    grid->addRow(m_choiceLabel, m_choice);
    grid->addRow(m_searchInfo);
    connect(m_searchEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_form.Search().text = text; });
    connect(m_choice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_refreshing)
            m_form.Search().choice = index;
    });
    return page;
}

QWidget* TSuchenNachDlg::BuildDownloadPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* sources = new QHBoxLayout();
    m_wdt = new QRadioButton(QStringLiteral("WDT"), page);
    m_wdt->setObjectName(QStringLiteral("WDTRBtn"));
    m_barsoi = new QRadioButton(QStringLiteral("Barsoi"), page);
    m_barsoi->setObjectName(QStringLiteral("BarsoiRBtn"));
    sources->addWidget(m_wdt);
    sources->addWidget(m_barsoi);
    sources->addStretch();
    layout->addLayout(sources);
    m_captionLine = new QLabel(page);
    m_captionLine->setObjectName(QStringLiteral("CaptionLabel"));
    QFont bold = m_captionLine->font();
    bold.setBold(true);
    m_captionLine->setFont(bold);
    layout->addWidget(m_captionLine);

    auto* fields = new QFormLayout();
    auto* pathRow = new QHBoxLayout();
    m_path = new QLineEdit(page);
    m_path->setObjectName(QStringLiteral("PfadEdit"));
    m_path->setMinimumWidth(380);
    auto* browse = new QToolButton(page);
    browse->setObjectName(QStringLiteral("PfadBtn"));
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Liste auswählen"));
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(browse);
    auto* pathLabel = new QLabel(QStringLiteral("&Pfad:"), page);
    pathLabel->setBuddy(m_path);
    fields->addRow(pathLabel, pathRow);
    m_user = new QLineEdit(page);
    m_user->setObjectName(QStringLiteral("UserEdit"));
    fields->addRow(QStringLiteral("&Username:"), m_user);
    m_password = new QLineEdit(page);
    m_password->setObjectName(QStringLiteral("PasswortEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    fields->addRow(QStringLiteral("Pass&wort:"), m_password);
    layout->addLayout(fields);
    m_confirm = new QCheckBox(QStringLiteral("&Hersteller einzeln bestätigen"), page);
    m_confirm->setObjectName(QStringLiteral("HerstellerChk"));
    layout->addWidget(m_confirm);

    m_info = new QListWidget(page);
    m_info->setObjectName(QStringLiteral("InfoListBox"));
    m_info->setMinimumHeight(160);
    layout->addWidget(m_info, 1);
    auto* actions = new QHBoxLayout();
    m_downloadButton = new QPushButton(QStringLiteral("&Download"), page);
    m_downloadButton->setObjectName(QStringLiteral("DownloadBtn"));
    m_stopButton = new QPushButton(QStringLiteral("Download &stoppen"), page);
    m_stopButton->setObjectName(QStringLiteral("StopBtn"));
    actions->addWidget(m_downloadButton);
    actions->addWidget(m_stopButton);
    actions->addStretch();
    layout->addLayout(actions);

    connect(m_wdt, &QRadioButton::clicked, this, [this] { m_form.ChooseSource(ListSource::Wdt); });
    connect(m_barsoi, &QRadioButton::clicked, this,
            [this] { m_form.ChooseSource(ListSource::Barsoi); });
    connect(m_path, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.SetPath(t); });
    connect(m_user, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.SetUser(t); });
    connect(m_password, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_form.SetPassword(t); });
    connect(browse, &QToolButton::clicked, this, [this] { m_form.BrowsePath(); });
    connect(m_confirm, &QCheckBox::clicked, this,
            [this](bool on) { m_form.SetConfirmManufacturers(on); });
    connect(m_downloadButton, &QPushButton::clicked, this, [this] { m_form.StartDownload(); });
    connect(m_stopButton, &QPushButton::clicked, this, [this] { m_form.CancelDownload(); });
    return page;
}

QRadioButton* TSuchenNachDlg::SourceButton(ListSource source) const
{
    return source == ListSource::Wdt ? m_wdt : m_barsoi;
}

void TSuchenNachDlg::Refresh()
{
    m_refreshing = true;
    setWindowTitle(m_form.Caption());
    const bool download = m_form.CurrentMode() == TSuchenNachDlgForm::Mode::Download;
    m_pages->setCurrentWidget(download ? m_downloadPage : m_searchPage);
    if (!download) {
        const TSuchenNachDlgForm::SearchBox& box = m_form.Search();
        m_searchLabel->setText(box.label);
        if (m_searchEdit->text() != box.text)
            m_searchEdit->setText(box.text);
        m_choiceLabel->setVisible(!box.choices.isEmpty());
        m_choice->setVisible(!box.choices.isEmpty());
        m_choice->clear();
        m_choice->addItems(box.choices);
        m_choice->setCurrentIndex(box.choice);
        m_searchInfo->setText(box.info);
        m_okButton->setText(QStringLiteral("OK"));
        m_okButton->setToolTip(QString());
        m_okButton->setEnabled(true);
        m_refreshing = false;
        return;
    }
    const bool busy = m_form.Busy();
    m_wdt->setChecked(m_form.Source() == ListSource::Wdt);
    m_barsoi->setChecked(m_form.Source() == ListSource::Barsoi);
    m_wdt->setEnabled(!busy);
    m_barsoi->setEnabled(!busy);
    m_captionLine->setText(m_form.CaptionLine());
    for (auto [edit, text] : {std::pair{m_path, m_form.Path()}, std::pair{m_user, m_form.User()},
                              std::pair{m_password, m_form.Password()}}) {
        if (edit->text() != text)
            edit->setText(text);
    }
    m_user->setEnabled(m_form.AccountEditable() && !busy);
    m_password->setEnabled(m_form.AccountEditable() && !busy);
    m_path->setEnabled(!busy);
    m_confirm->setVisible(m_form.ManufacturerSwitchVisible());
    m_confirm->setChecked(m_form.ConfirmManufacturers());
    const QStringList& lines = m_form.InfoLines();
    while (m_info->count() > lines.size())
        delete m_info->takeItem(m_info->count() - 1);
    for (int i = 0; i < lines.size(); ++i) {
        if (i < m_info->count())
            m_info->item(i)->setText(lines[i]);
        else
            m_info->addItem(lines[i]);
    }
    m_info->scrollToBottom();
    m_downloadButton->setEnabled(!busy);
    m_stopButton->setEnabled(busy);
    m_okButton->setText(QStringLiteral("Übernahme der Liste in TALVEN"));
    m_okButton->setToolTip(QStringLiteral("Übernahme in TALVEN starten!"));
    m_okButton->setEnabled(m_form.CanAccept());
    // The focus follows the one button that makes sense next, never lands on "Abbrechen".
    if (busy != m_wasBusy)
        (busy ? m_stopButton : m_okButton)->setFocus();
    m_wasBusy = busy;
    m_refreshing = false;
}

void TSuchenNachDlg::accept()
{
    if (m_form.CanAccept())
        QDialog::accept();
}

void TSuchenNachDlg::reject()
{
    m_form.CancelDownload();
    QDialog::reject();
}
