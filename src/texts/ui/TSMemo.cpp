#include "texts/ui/TSMemo.h"

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

#include "masterdata/PostcodeList.h"
#include "platform/Files.h"
#include "printing/Letterhead.h"
#include "printing/TPrintStrList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/qt/QtPrintDialogPort.h"
#include "printing/ui/PageLayoutDialogs.h"
#include "table/TSGrid.h"
#include "texts/Macros.h"
#include "texts/TKreditorDlgForm.h"
#include "texts/TMakroDlgForm.h"
#include "texts/ui/MemoEdit.h"
#include "texts/ui/TKreditorDlg.h"
#include "texts/ui/TMakroDlg.h"

TSMemo::TSMemo(UserPort& port, const Clock& clock, const TextPanelSetup& setup, QWidget* parent)
    : QWidget(parent),
      m_port(port),
      m_clock(clock),
      m_setup(setup),
      m_ws(port, clock, *setup.ini, setup.workspace),
      m_layout(*setup.layouts),
      m_head(std::make_unique<TKreditorDlgForm>(TKreditorDlgForm::Mode::Letterhead, port, clock))
{
    setObjectName(QStringLiteral("TextPanel"));
    // The button row may be cut on a small window; it never widens the main window.
    setMinimumSize(320, 240);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    const auto add = [this, bar](const char* name, const char* text, const char* hint,
                                 std::function<void()> run) {
        bar->addWidget(AddButton(QString::fromLatin1(name), QString::fromUtf8(text),
                                 QString::fromUtf8(hint), std::move(run)));
    };
    add("NeuBtn", "Neu", "Neuer Text", [this] { New(); });
    add("OeffnenBtn", "Öffnen", "Text öffnen", [this] { OpenChosen(); });
    add("SpeichernBtn", "Speichern", "Text speichern", [this] { Save(); });
    add("SpeichernUnterBtn", "Speichern unter", "Text unter neuem Namen speichern",
        [this] { SaveAs(); });
    add("DruckenBtn", "Drucken", "Text drucken", [this] { Print(); });
    bar->addSpacing(10);
    add("KopfBtn", "(Brief-)Kopf", "Briefkopf und Empfänger", [this] { EditLetterhead(); });
    add("MakroBtn", "Makros", "Makros definieren (Strg+M + Buchstabe gibt den Text aus)",
        [this] { EditMacros(); });
    add("TextbausteinBtn", "TTT", "Textbaustein TTT einfügen", [this] { InsertTextBlock(); });
    bar->addSpacing(10);
    // The texts the dunning and appointment letters are printed from.
    QToolButton* special = AddButton(
        QStringLiteral("VorlagenBtn"), QStringLiteral("Stapeltexte"),
        QStringLiteral("Texte der Mahnungen und Impferinnerungen für den Stapeldruck"), {});
    auto* menu = new QMenu(special);
    for (const auto& [text, file] : {std::pair{"1. Mahnung", "MAHNUNG1.TLV"},
                                     {"2. Mahnung", "MAHNUNG2.TLV"},
                                     {"Impferinnerung", "IMPFERG.TLV"}}) {
        const QString name = QString::fromLatin1(file);
        menu->addAction(QString::fromUtf8(text), this, [this, name] {
            OpenSpecial(name);
            m_editor->setFocus();
        });
    }
    special->setMenu(menu);
    special->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(special);
    bar->addStretch();
    layout->addLayout(bar);

    auto* heads = new QHBoxLayout;
    heads->addWidget(new QLabel(QStringLiteral("Kopf:"), this));
    m_headLabel = new QLabel(this);
    m_headLabel->setObjectName(QStringLiteral("KopfLabel"));
    heads->addWidget(m_headLabel, 1);
    heads->addWidget(new QLabel(QStringLiteral("Datum:"), this));
    m_dateLabel = new QLabel(this);
    m_dateLabel->setObjectName(QStringLiteral("DatumLabel"));
    heads->addWidget(m_dateLabel);
    layout->addLayout(heads);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("HinweisPanel"));
    m_notice->setStyleSheet(
        QStringLiteral("background: #fff4c0; border: 1px solid #d0b040; padding: 4px"));
    m_notice->setWordWrap(true);
    layout->addWidget(m_notice);

    m_editor = new MemoEdit(m_ws, this);
    layout->addWidget(m_editor, 1);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (m_showing)
            return;
        m_ws.Edited(m_editor->toPlainText());
        UpdatePosition();
    });
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, &TSMemo::UpdatePosition);
    connect(m_editor, &MemoEdit::modesChanged, this, &TSMemo::ShowState);

    auto* status = new QHBoxLayout;
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("PositionLabel"));
    m_modes = new QLabel(this);
    m_modes->setObjectName(QStringLiteral("ModusLabel"));
    status->addWidget(m_status, 1);
    status->addWidget(m_modes);
    layout->addLayout(status);

    m_layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
    m_layout.OnApplied = [this](TMemoSeiteEinrichtenDlgForm::Workspace) { RefreshMetrics(); };
    RefreshMetrics();
    ShowDocument();
}

TSMemo::~TSMemo() = default;

QToolButton* TSMemo::AddButton(const QString& name, const QString& text, const QString& hint,
                               std::function<void()> run)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    if (run) {
        connect(button, &QToolButton::clicked, this, [this, run = std::move(run)] {
            run();
            m_editor->setFocus();
        });
    }
    m_buttons.insert(name, button);
    return button;
}

void TSMemo::ShowDocument()
{
    m_showing = true;
    m_editor->setPlainText(m_ws.Text());
    m_editor->moveCursor(QTextCursor::Start);
    m_showing = false;
    RefreshMetrics();
    ShowState();
    emit captionChanged(m_ws.Caption());
}

void TSMemo::ShowState()
{
    m_headLabel->setText(m_ws.LetterheadLabel());
    m_dateLabel->setText(m_ws.DateLabel());
    const QString notice = textfiles::SpecialNotice(m_ws.SpecialText());
    m_notice->setText(QString(notice).replace(QLatin1Char('\r'), QLatin1Char(' ')));
    m_notice->setVisible(!notice.isEmpty());
    QStringList modes;
    if (m_ws.MacroMode())
        modes << QStringLiteral("Makro");
    if (m_editor->Overwrite())
        modes << QStringLiteral("Überschreiben");
    m_modes->setText(modes.join(QStringLiteral("  ")));
    UpdatePosition();
}

void TSMemo::UpdatePosition()
{
    const QTextCursor cursor = m_editor->textCursor();
    const int line = cursor.blockNumber() + 1;
    const int pages = TextWorkspace::PageOfLine(m_editor->document()->blockCount(), m_metrics);
    m_status->setText(QStringLiteral("Zeile: %1   Spalte: %2   Seite: %3 / %4")
                          .arg(line)
                          .arg(cursor.positionInBlock() + 1)
                          .arg(TextWorkspace::PageOfLine(line, m_metrics))
                          .arg(pages));
}

void TSMemo::RefreshMetrics()
{
    m_metrics = m_ws.Measure(*m_setup.printer, m_layout);
    const PrintFont& font = m_layout.EditorFont;
    QFont shown(QtPrintCanvas::FamilyFor(font.name), font.size);
    shown.setBold(font.bold);
    shown.setItalic(font.italic);
    m_editor->setFont(shown);
    m_editor->SetPageMetrics(m_metrics.firstPage, m_metrics.nextPages, m_metrics.charsPerLine);
    UpdatePosition();
}

void TSMemo::New()
{
    if (m_ws.New())
        ShowDocument();
}

bool TSMemo::OpenFile(const QString& path)
{
    const bool opened = m_ws.Open(path);
    if (opened)
        ShowDocument();
    emit recentFilesChanged();
    return opened;
}

void TSMemo::OpenChosen()
{
    if (m_ws.OpenChosen())
        ShowDocument();
    emit recentFilesChanged();
}

void TSMemo::OpenSpecial(const QString& name)
{
    OpenFile(files::FindCaseInsensitive(m_setup.workspace.textsFolder, name));
}

bool TSMemo::Save()
{
    const bool saved = m_ws.Save();
    ShowState();
    emit captionChanged(m_ws.Caption());
    emit recentFilesChanged();
    return saved;
}

bool TSMemo::SaveAs()
{
    const bool saved = m_ws.SaveAs();
    ShowState();
    emit captionChanged(m_ws.Caption());
    emit recentFilesChanged();
    return saved;
}

bool TSMemo::AskToSave()
{
    const bool goOn = m_ws.AskToSave();
    emit captionChanged(m_ws.Caption());
    emit recentFilesChanged();
    return goOn;
}

void TSMemo::Print()
{
    TPrintStrList& printer = *m_setup.printer;
    m_ws.PrepareLetter(printer, m_layout, *m_setup.options);
    QtPrintDialogPort dialog(*m_setup.canvas, this);
    printer.PrintWithDialog(dialog);
    TextWorkspace::AfterPrint(printer);
    RefreshMetrics();
}

void TSMemo::PageSetup()
{
    TMemoSeiteEinrichtenDlg dialog(m_layout, TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor,
                                   this);
    dialog.exec();
    m_layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
    RefreshMetrics();
}

void TSMemo::EditLetterhead()
{
    TKreditorDlgForm& form = *m_head;
    form.SetPharmacyAvailable(PharmacySetUp(*m_setup.options));
    TSGrid* customers = m_setup.customers;
    form.SetCustomers(customers ? &customers->Lines() : nullptr);
    if (m_ws.HasLetterhead()) {
        form.SetHead(m_ws.Head());
    } else {
        form.Reset();
        if (customers && customers->RecordCount() > 0 && customers->CurrentRecord() >= 0)
            form.PrefillFromCustomer(customers->RecordLine(customers->CurrentRecord()));
    }
    PostcodeList postcodes(m_setup.postcodeFile);
    postcodes.Load();
    TKreditorDlg dialog(form, postcodes.Entries(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_ws.ApplyLetterhead(form.Head(), form.Changed() || !m_ws.HasLetterhead());
    RefreshMetrics();
    ShowState();
}

void TSMemo::EditMacros()
{
    TMakroDlgForm form(TMakroDlgForm::Mode::Macros, m_port);
    form.LoadMacros(macros::Read(*m_setup.ini));
    TMakroDlg dialog(form, this);
    if (dialog.exec() == QDialog::Accepted)
        macros::Write(*m_setup.ini, form.Macros());
}

void TSMemo::InsertTextBlock()
{
    m_editor->InsertChecked(m_ws.TextBlock());
}
