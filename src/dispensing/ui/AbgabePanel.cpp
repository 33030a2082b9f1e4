#include "dispensing/ui/AbgabePanel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "appointments/ui/TTerminEditDlg.h"
#include "cards/ui/KarteiPickList.h"
#include "masterdata/PostcodeList.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "texts/ui/TKreditorDlg.h"

using namespace abg;

namespace {

constexpr int kTitleRowHeight = 55;
const QColor kGrey(0xF4, 0xF4, 0xF4);

// Cell editors that tell the panel about each key, so the workspace's key rules apply.
class AbgDelegate : public QStyledItemDelegate {
public:
    AbgDelegate(QObject* keys, std::function<void(QWidget*)> opened, QObject* parent)
        : QStyledItemDelegate(parent), m_keys(keys), m_opened(std::move(opened))
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->installEventFilter(m_keys);
        m_opened(editor);
        return editor;
    }

private:
    QObject* m_keys;
    std::function<void(QWidget*)> m_opened;
};

class QtKeeperRunner : public KeeperRunner {
public:
    QtKeeperRunner(QWidget* parent, QString postcodeFile)
        : m_parent(parent), m_postcodes(std::move(postcodeFile))
    {
    }
    bool Run(TKreditorDlgForm& form) override
    {
        PostcodeList postcodes(m_postcodes);
        postcodes.Load();
        TKreditorDlg dialog(form, postcodes.Entries(), m_parent);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    QWidget* m_parent;
    QString m_postcodes;
};

QPixmap PharmacyPixmap()
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xc6, 0x28, 0x28));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(pixmap.rect().adjusted(1, 1, -1, -1), 3, 3);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(12);
    p.setFont(f);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("A"));
    return pixmap;
}

}  // namespace

AbgabePanel::AbgabePanel(UserPort& port, const AbgabeSetup& setup, QWidget* parent)
    : QWidget(parent), m_port(port), m_setup(setup), m_ws(setup.workspace)
{
    setObjectName(QStringLiteral("HauptPanelAbgabe"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* heading =
        new QLabel(QStringLiteral("Tierärztlicher Arzneimittel-Anwendungs- und Abgabebeleg"), this);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 3);
    heading->setFont(big);
    layout->addWidget(heading);

    // Header labels.
    auto* header = new QHBoxLayout;
    const auto caption = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    header->addWidget(caption(QStringLiteral("Beleg-Nr.:")));
    m_number = new QLabel(this);
    m_number->setObjectName(QStringLiteral("BelegNrLAbgabe"));
    m_number->setToolTip(QStringLiteral("...wird automatisch vergeben"));
    header->addWidget(m_number);
    header->addSpacing(16);
    header->addWidget(caption(QStringLiteral("Abgabedatum:")));
    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("DatumLabelAbgabe"));
    m_date->setToolTip(QStringLiteral("Abgabedatum bearbeiten"));
    m_date->installEventFilter(this);
    header->addWidget(m_date);
    AddButton(this, QStringLiteral("DatumBtnAbgabe"), QStringLiteral("..."),
              QStringLiteral("Abgabedatum bearbeiten"), [this] { ChangeDate(); });
    m_buttons.value(QStringLiteral("DatumBtnAbgabe"))->setMaximumWidth(32);
    header->addWidget(m_buttons.value(QStringLiteral("DatumBtnAbgabe")));
    header->addSpacing(16);
    m_pharmacy = new QLabel(this);
    m_pharmacy->setObjectName(QStringLiteral("ApothekenAbgImage"));
    m_pharmacy->setPixmap(PharmacyPixmap());
    m_pharmacy->setToolTip(QStringLiteral("Apotheke"));
    m_pharmacy->hide();
    header->addWidget(m_pharmacy);
    header->addWidget(caption(QStringLiteral("Tierhalter:")));
    m_keeper = new QLabel(this);
    m_keeper->setObjectName(QStringLiteral("TierhalterLAbgabe"));
    header->addWidget(m_keeper, 1);
    layout->addLayout(header);

    // Buttons.
    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* name, const char* text, const char* hint,
                         std::function<void()> run) {
        buttons->addWidget(AddButton(this, QString::fromLatin1(name), QString::fromUtf8(text),
                                     QString::fromUtf8(hint), std::move(run)));
    };
    add("NeuBtnAbgabe", "Neu", "Neuer Abg.beleg", [this] { New(); });
    add("OeffnenBtnAbgabe", "Öffnen", "Abg.beleg öffnen", [this] { Open(); });
    add("SpeichernBtnAbgabe", "Speichern", "Abg.beleg abspeichern", [this] { Save(); });
    add("DruckenBtnAbgabe", "Drucken", "Abg.beleg drucken", [this] { emit printRequested(); });
    add("SuchenBtnAbgabe", "Suchen", "Abg.beleg suchen", [this] { Search(); });
    add("KopfBtnAbgabe", "Kopf F6", "Kopf (Tierhalter)", [this] { EditKeeper(); });
    m_stop = new QCheckBox(QStringLiteral("automat. Stop"), this);
    m_stop->setObjectName(QStringLiteral("ZeilenstopChkAbgabe"));
    m_stop->setToolTip(QStringLiteral("...in allen Spalten"));
    connect(m_stop, &QCheckBox::clicked, this, [this](bool on) { m_ws->SetAutomaticStop(on); });
    buttons->addWidget(m_stop);
    m_macro = new QLabel(QStringLiteral("Makro"), this);
    m_macro->setObjectName(QStringLiteral("MakroLabelAbgabe"));
    m_macro->setStyleSheet(QStringLiteral("color: #c62828; font-weight: bold"));
    m_macro->hide();
    buttons->addWidget(m_macro);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    BuildGrid();
    left->addWidget(m_grid, 1);
    auto* a5 = new QLabel(QStringLiteral("Weißes Feld DIN A5-Grenze"), this);
    a5->setObjectName(QStringLiteral("A5LabelAbgabe"));
    a5->setStyleSheet(QStringLiteral("color: red"));
    left->addWidget(a5);
    auto* legend = new QLabel(QStringLiteral("*Wartezeit:  Milch / Ei, Fleisch "), this);
    left->addWidget(legend);
    auto* hint = new QLabel(
        QStringLiteral("Auf dem Beleg ist zu vermerken, ob die Abgabe auf den Behandlungsfall "
                       "bezogen erstmalig (1) oder zum wiederholten Mal erfolgt (2), (3)..."),
        this);
    hint->setWordWrap(true);
    left->addWidget(hint);
    body->addLayout(left, 3);

    // The medication list and the recently dispensed ones.
    auto* right = new QVBoxLayout;
    m_medList = new KarteiPickList(QStringLiteral("Medikamente"), QStringLiteral("AbgabeMed"),
                                   *setup.medications,
                                   {{recordline::kMedArticle, false},
                                    {recordline::kMedBatch, false},
                                    {recordline::kMedWaitingTime, false}},
                                   this);
    connect(m_medList, &KarteiPickList::takeOverRequested, this, [this] { TakeOverMedication(); });
    right->addWidget(m_medList, 1);
    auto* takeRow = new QHBoxLayout;
    takeRow->addWidget(AddButton(
        this, QStringLiteral("UebernahmeBtnAbgabe"), QStringLiteral("Übernehmen"),
        QStringLiteral("Medikament in die Zeile übernehmen"), [this] { TakeOverMedication(); }));
    m_hundred = AddButton(this, QStringLiteral("AMPV_2_BtnAbgabe"), QStringLiteral("100%"),
                          QStringLiteral("Menge als Anwendungs- oder Abgabemenge (Spalte 5)"), {});
    m_hundred->setCheckable(true);
    takeRow->addWidget(m_hundred);
    right->addLayout(takeRow);
    right->addWidget(new QLabel(QStringLiteral("Zuletzt abgegeben:"), this));
    auto* recentRow = new QHBoxLayout;
    m_recent = new QComboBox(this);
    m_recent->setObjectName(QStringLiteral("LetzteMedList"));
    m_recent->setToolTip(QStringLiteral("Zuletzt abgegebene Medikamente."));
    recentRow->addWidget(m_recent, 1);
    recentRow->addWidget(AddButton(this, QStringLiteral("LetzteMedBtnAbgabe"), QStringLiteral("OK"),
                                   QStringLiteral("Zuletzt abgegebenes Medikament übernehmen"),
                                   [this] { TakeOverRecent(); }));
    right->addLayout(recentRow);
    body->addLayout(right, 1);
    layout->addLayout(body, 1);

    m_deleteLine = new QAction(QStringLiteral("Zeile lösc&hen"), this);
    m_deleteLine->setObjectName(QStringLiteral("ZeileLoeschenItem"));
    connect(m_deleteLine, &QAction::triggered, this, [this] { DeleteLine(); });
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->addAction(m_deleteLine);
    auto* keeperKey = new QAction(this);
    keeperKey->setShortcut(QKeySequence(Qt::Key_F6));
    keeperKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(keeperKey, &QAction::triggered, this, [this] { EditKeeper(); });
    addAction(keeperKey);
    auto* macroKey = new QAction(this);
    macroKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    macroKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(macroKey, &QAction::triggered, this, [this] { SetMacroMode(true); });
    addAction(macroKey);

    m_ws->changed = [this] { ShowRecord(); };
}

AbgabePanel::~AbgabePanel()
{
    m_ws->changed = nullptr;
}

QPushButton* AbgabePanel::AddButton(QWidget* parent, const QString& name, const QString& text,
                                    const QString& hint, std::function<void()> run)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    if (run)
        connect(b, &QPushButton::clicked, this, std::move(run));
    m_buttons.insert(name, b);
    return b;
}

void AbgabePanel::BuildGrid()
{
    m_grid = new QTableWidget(kRows + 1, kCols, this);
    m_grid->setObjectName(QStringLiteral("AbgStrGrid"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setWordWrap(true);
    m_grid->setItemDelegate(new AbgDelegate(
        this, [this](QWidget* editor) { m_editor = qobject_cast<QLineEdit*>(editor); }, m_grid));
    m_grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int rowHeight = m_grid->verticalHeader()->defaultSectionSize();
    QFont font = m_grid->font();
    font.setPointSize(qMax(8, qMin(11, rowHeight / 4)));
    m_grid->setFont(font);
    m_grid->setRowHeight(0, kTitleRowHeight);
    QFont titleFont = font;
    titleFont.setPointSize(qMax(7, font.pointSize() - 1));
    for (int col = 0; col < kCols; ++col) {
        auto* title = new QTableWidgetItem(ColumnTitles()[col]);
        title->setFlags(Qt::ItemIsEnabled);
        title->setBackground(QColor(0xE0, 0xE0, 0xE0));
        title->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        title->setFont(titleFont);
        m_grid->setItem(0, col, title);
        for (int row = 1; row <= kRows; ++row) {
            auto* item = new QTableWidgetItem;
            item->setBackground(row <= kShortRows ? QColor(Qt::white) : kGrey);
            m_grid->setItem(row, col, item);
        }
    }
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { m_editor = nullptr; });
    connect(m_grid, &QTableWidget::cellChanged, this, &AbgabePanel::CellEdited);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        if (m_showing)
            return;
        if (row == 0) {
            m_grid->setCurrentCell(1, col);
            return;
        }
        m_ws->SetCurrent(col, row - 1);
    });
}

void AbgabePanel::CellEdited(int row, int col)
{
    if (m_showing || row < 1)
        return;
    m_ws->SetCell(col, row - 1, m_grid->item(row, col)->text());
}

void AbgabePanel::Enter()
{
    m_ws->EnterWorkspace();
    m_ws->Keeper().SetCustomers(m_setup.customers ? &m_setup.customers->Lines() : nullptr);
    m_stop->setChecked(m_ws->AutomaticStop());
    m_medList->Reload();
    SetMacroMode(false);
    if (!m_recentEntries.empty())
        m_recent->setCurrentIndex(0);
    ShowRecord();
    FitColumns();
    m_grid->setFocus();
}

void AbgabePanel::SetPrintWidths(const QList<int>& millimetres)
{
    m_printWidthsMm = millimetres;
    FitColumns();
}

void AbgabePanel::FitColumns()
{
    int sum = 0;
    for (int w : m_printWidthsMm)
        sum += w;
    const int width = m_grid->viewport()->width();
    for (int col = 0; col < kCols; ++col) {
        const int w = sum > 0 ? m_printWidthsMm.value(col) * width / sum - 1 : width / kCols - 1;
        m_grid->setColumnWidth(col, qMax(0, w));
    }
}

void AbgabePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitColumns();
}

void AbgabePanel::ShowRecord()
{
    m_showing = true;
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 0; col < kCols; ++col) {
            QTableWidgetItem* item = m_grid->item(row, col);
            const QString text = m_ws->Cell(col, row - 1);
            if (item->text() != text)
                item->setText(text);
        }
    }
    m_number->setText(m_ws->NumberText());
    m_date->setText(m_ws->DateText());
    m_keeper->setText(m_ws->KeeperLine());
    m_pharmacy->setVisible(m_ws->PharmacyMark());
    m_buttons.value(QStringLiteral("DatumBtnAbgabe"))->setVisible(m_ws->DateButtonVisible());
    m_macro->setVisible(m_ws->MacroMode());
    m_grid->setCurrentCell(m_ws->CurrentRow() + 1, m_ws->CurrentCol());
    m_showing = false;
    emit captionChanged(m_ws->Caption());
}

void AbgabePanel::SetRecent(const std::vector<RecentEntry>& entries)
{
    m_recentEntries = entries;
    m_recent->clear();
    for (const RecentEntry& e : entries) {
        QString text = e.name;
        const QString quantity = e.amount.isEmpty() ? e.dosage : e.amount;
        if (!quantity.isEmpty())
            text += QStringLiteral("  (") + quantity + QLatin1Char(')');
        m_recent->addItem(text);
    }
    if (!entries.empty())
        m_recent->setCurrentIndex(0);
}

void AbgabePanel::CommitEditor()
{
    // Ends an open cell editor so that its text reaches the record first.
    if (QLineEdit* editor = m_editor) {
        m_editor = nullptr;
        emit m_grid->itemDelegate()->commitData(editor);
        emit m_grid->itemDelegate()->closeEditor(editor);
    }
}

void AbgabePanel::New()
{
    CommitEditor();
    m_ws->NewCommand();
}

void AbgabePanel::Open()
{
    CommitEditor();
    m_ws->OpenRecord();
}

void AbgabePanel::Save()
{
    CommitEditor();
    m_ws->SaveRecord();
    m_grid->setFocus();
}

void AbgabePanel::Search()
{
    CommitEditor();
    if (m_setup.search)
        m_ws->SearchRecord(*m_setup.search, m_setup.selectedCustomerName
                                                ? m_setup.selectedCustomerName()
                                                : QString());
}

void AbgabePanel::EditKeeper()
{
    CommitEditor();
    TKreditorDlgForm& form = m_ws->Keeper();
    // A new record proposes the customer selected in the customer table as its keeper.
    TSGrid* customers = m_setup.customers;
    if (m_ws->KeeperLine() == QStringLiteral("- - -") &&
        form.Text(TKreditorDlgForm::Name).isEmpty() && customers && customers->RecordCount() > 0 &&
        customers->CurrentRecord() >= 0) {
        form.PrefillFromCustomer(customers->RecordLine(customers->CurrentRecord()));
        form.SetText(TKreditorDlgForm::Titel, QString());
    }
    QtKeeperRunner runner(this, m_setup.postcodeFile);
    m_ws->EditKeeper(runner);
}

void AbgabePanel::ChangeDate()
{
    if (!m_ws->DateButtonVisible())
        return;
    CommitEditor();
    QtTerminEditRunner runner(m_port, this);
    m_ws->ChangeDate(runner);
}

bool AbgabePanel::HundredPercent() const
{
    return m_hundred->isChecked();
}

void AbgabePanel::TakeOverMedication()
{
    CommitEditor();
    const int record = m_medList->SelectedRecord();
    if (record < 0) {
        m_port.Message(MsgKind::Information, QStringLiteral("Medikamentenliste ist leer!"));
        return;
    }
    const QString line = m_setup.medications->RecordLine(record);
    Medication medication{recordline::Cell(line, recordline::kMedArticle),
                          recordline::Cell(line, recordline::kMedBatch),
                          recordline::Cell(line, recordline::kMedWaitingTime),
                          recordline::Cell(line, recordline::kMedCode)};
    QString quantity = m_medList->QuantityEdit()->text().trimmed();
    if (quantity.isEmpty())
        quantity = QStringLiteral("1");
    m_ws->TakeOverMedication(medication, quantity, HundredPercent());
    m_grid->setFocus();
}

void AbgabePanel::TakeOverRecent()
{
    const int index = m_recent->currentIndex();
    if (index < 0 || index >= int(m_recentEntries.size()))
        return;
    CommitEditor();
    m_ws->TakeOverRecent(m_recentEntries[size_t(index)]);
    m_grid->setFocus();
}

void AbgabePanel::DeleteLine()
{
    CommitEditor();
    m_ws->DeleteLine();
}

void AbgabePanel::SetMacroMode(bool on)
{
    m_ws->SetMacroMode(on);
    m_macro->setVisible(on);
}

bool AbgabePanel::EditorKey(QLineEdit* editor, QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.isEmpty())
        return false;
    const QChar ch = typed.at(0);
    if (!ch.isPrint() && ch != QChar(8) && ch != QChar(9))
        return false;
    QString candidate = editor->text();
    if (ch.isPrint()) {
        if (editor->hasSelectedText())
            candidate.replace(editor->selectionStart(), editor->selectedText().size(), ch);
        else
            candidate.insert(editor->cursorPosition(), ch);
    }
    const KeyResult result = m_ws->TypedKey(ch, candidate);
    m_macro->setVisible(m_ws->MacroMode());
    if (result.kind == KeyResult::Drop)
        return true;
    if (result.kind == KeyResult::Enter) {
        editor->setText(editor->text() + result.append);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(editor, &enter);
        return true;
    }
    return false;
}

bool AbgabePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    if (watched == m_date && event->type() == QEvent::MouseButtonRelease) {
        ChangeDate();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (auto* editor = qobject_cast<QLineEdit*>(watched))
        return EditorKey(editor, key);
    if (watched == m_grid && !m_editor) {
        if (key->key() == Qt::Key_Delete) {
            const int row = m_grid->currentRow();
            const int col = m_grid->currentColumn();
            if (row >= 1 && col >= 0)
                m_grid->item(row, col)->setText(QString());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
