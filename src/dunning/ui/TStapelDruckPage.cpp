#include "dunning/ui/TStapelDruckPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

using dunning::Level;

namespace {

QCheckBox* Box(QWidget* parent, QHBoxLayout* row, const char* name, const QString& text,
               const QString& hint)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    row->addWidget(box);
    return box;
}

}  // namespace

TStapelDruckPage::TStapelDruckPage(dunning::StapelWorkspace& workspace, int tab, QWidget* parent)
    : QWidget(parent), m_ws(workspace), m_tab(tab)
{
    const bool invoices = tab == dunning::kInvoices;
    setObjectName(invoices ? QStringLiteral("RechnungenPage") : QStringLiteral("MahnungenPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* selection = new QHBoxLayout;
    if (invoices) {
        selection->addWidget(new QLabel(QStringLiteral("Datum:"), this));
        m_date = new QLineEdit(this);
        m_date->setObjectName(QStringLiteral("StapelDatumEdit"));
        m_date->setFixedWidth(90);
        selection->addWidget(m_date);
        selection->addWidget(new QLabel(QStringLiteral("Mindestbetrag:"), this));
        m_minimum = new QLineEdit(this);
        m_minimum->setObjectName(QStringLiteral("MindestBetragEdit"));
        m_minimum->setFixedWidth(80);
        selection->addWidget(m_minimum);
        m_markButton = new QPushButton(QStringLiteral(" OK-Spalte  "), this);
        m_markButton->setObjectName(QStringLiteral("OKSpalteBtn"));
        m_markButton->setToolTip(
            QStringLiteral("Rechnungen bis zum Datum ab dem Mindestbetrag markieren"));
        selection->addWidget(m_markButton);
        connect(m_markButton, &QPushButton::clicked, this, [this] {
            m_ws.dateText = m_date->text().trimmed();
            m_ws.minimumText = m_minimum->text();
            m_ws.MarkInvoices();
            Refresh();
        });
    } else {
        const char* names[] = {"Mahnung1Rb", "Mahnung2Rb", "GerichtRb"};
        const QString captions[] = {QStringLiteral(" &1. Mahnung "),
                                    QStringLiteral(" &2. Mahnung "),
                                    QStringLiteral(" geri&chtl. Mahnung ")};
        for (int i = 0; i < 3; ++i) {
            m_levels[i] = new QRadioButton(captions[i], this);
            m_levels[i]->setObjectName(QString::fromLatin1(names[i]));
            selection->addWidget(m_levels[i]);
            connect(m_levels[i], &QRadioButton::clicked, this, [this, i] {
                m_ws.SetLevel(Level(i + 1));
                Refresh();
            });
        }
    }
    selection->addStretch();
    layout->addLayout(selection);

    TSGrid& grid = m_ws.Grid(tab);
    grid.SetDefaultColWidth(80);
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing);
    grid.SetColWidth(0, 12);
    grid.SetColWidth(recordline::kRegisterKey, 80);
    grid.SetColWidth(recordline::kRegisterKey + 1, 260);
    grid.SetColWidth(grid.ColCount() - 1, 40);
    if (!invoices) {
        grid.SetColWidth(recordline::kDunReminder1, 36);
        grid.SetColWidth(recordline::kDunReminder2, 36);
    }
    m_view = new TSGridView(grid, this);
    m_view->setObjectName(invoices ? QStringLiteral("RechnungenGrid")
                                   : QStringLiteral("MahnungenGrid"));
    connect(m_view, &TSGridView::cellDoubleClicked, this,
            [this](int col, int) { DoubleClicked(col); });
    layout->addWidget(m_view, 1);

    auto* bottom = new QHBoxLayout;
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("MarkiertLabel"));
    bottom->addWidget(m_count);
    bottom->addSpacing(12);
    m_sumCaption = new QLabel(this);
    bottom->addWidget(m_sumCaption);
    m_sum = new QLineEdit(this);
    m_sum->setObjectName(QStringLiteral("SummeEdit"));
    m_sum->setReadOnly(true);
    m_sum->setAlignment(Qt::AlignRight);
    m_sum->setFixedWidth(100);
    bottom->addWidget(m_sum);
    bottom->addSpacing(12);
    m_listBox = Box(this, bottom, "ListeChk",
                    invoices ? QStringLiteral("Rech&nungsliste") : QStringLiteral("Mah&nungsliste"),
                    invoices ? QStringLiteral("Rechnungsliste ausdrucken")
                             : QStringLiteral("Mahnungsliste ausdrucken"));
    m_documentsBox = Box(this, bottom, "DokumenteChk",
                         invoices ? QStringLiteral("Rechn&ungen") : QStringLiteral("Mahn&ungen"),
                         invoices ? QStringLiteral("Rechnungen der OK-Spalte drucken")
                                  : QStringLiteral("Mahnungen der OK-Spalte drucken"));
    m_copyBox = Box(this, bottom, "KopieChk", QStringLiteral("&Kopie"),
                    invoices ? QStringLiteral("Kopie d. Rechnungen mit ausdrucken")
                             : QStringLiteral("Kopie d. Mahnungen mit ausdrucken"));
    m_sortBox = Box(this, bottom, "SortChk", QStringLiteral("&Sortiert"),
                    QStringLiteral("Sortierung aufsteigend"));
    bottom->addStretch();
    m_run = new QPushButton(QStringLiteral("Stapel-Druck"), this);
    m_run->setObjectName(QStringLiteral("StapelDruckBtn"));
    m_run->setToolTip(QStringLiteral("Liste und Dokumente der OK-Spalte drucken"));
    bottom->addWidget(m_run);
    layout->addLayout(bottom);

    connect(m_listBox, &QCheckBox::clicked, this, [this](bool on) { m_ws.SetListOption(on); });
    connect(m_documentsBox, &QCheckBox::clicked, this,
            [this](bool on) { m_ws.SetDocumentsOption(on); });
    connect(m_copyBox, &QCheckBox::clicked, this, [this](bool on) { m_ws.SetCopyOption(on); });
    connect(m_sortBox, &QCheckBox::clicked, this, [this](bool on) {
        m_ws.SetAscendingOption(on);
        m_ws.Reload(m_tab);
        Refresh();
    });
    connect(m_run, &QPushButton::clicked, this, [this] {
        if (RunBatch)
            RunBatch();
    });
}

QRadioButton* TStapelDruckPage::LevelButton(Level level) const
{
    return m_levels[int(level) - 1];
}

void TStapelDruckPage::Refresh()
{
    if (m_date) {
        m_date->setText(m_ws.dateText);
        m_minimum->setText(m_ws.minimumText);
    }
    if (m_levels[0]) {
        for (int i = 0; i < 3; ++i)
            m_levels[i]->setChecked(int(m_ws.level) == i + 1);
    }
    m_count->setText(QStringLiteral("Markiert: %1").arg(m_ws.MarkedCount(m_tab)));
    m_sumCaption->setText(m_ws.SumCaption(m_tab));
    m_sum->setText(m_ws.SumText(m_tab));
    m_sum->setToolTip(m_ws.SumHint(m_tab));
    m_listBox->setChecked(m_ws.ListOption());
    m_documentsBox->setChecked(m_ws.DocumentsOption());
    m_copyBox->setChecked(m_ws.CopyOption());
    m_sortBox->setChecked(m_ws.AscendingOption());
    m_ws.Grid(m_tab).RefreshRows();
    m_view->SyncScrollBar();
    m_view->update();
}

void TStapelDruckPage::DoubleClicked(int col)
{
    TSGrid& grid = m_ws.Grid(m_tab);
    const int record = grid.CurrentRecord();
    if (col == grid.ColCount() - 1) {
        m_ws.ToggleMark(m_tab, record);
        Refresh();
        return;
    }
    if (col >= recordline::kRegisterKey && col <= recordline::kRegisterKey + 2 && OpenCard) {
        const QString key = m_ws.CardKey(m_tab, record);
        if (!key.isEmpty())
            OpenCard(key);
    }
}

QtBatchProgress::~QtBatchProgress()
{
    Close();
}

void QtBatchProgress::Show(const QString& text)
{
    if (!m_dialog) {
        m_dialog = new QProgressDialog(m_parent);
        m_dialog->setObjectName(QStringLiteral("StapelFortschritt"));
        m_dialog->setWindowTitle(QStringLiteral("Talven - Stapeldruck"));
        m_dialog->setCancelButtonText(QStringLiteral("Abbrechen"));
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setRange(0, 0);
    }
    m_dialog->setLabelText(text);
    m_dialog->show();
    QApplication::processEvents();
}

void QtBatchProgress::Step(int done, int total)
{
    if (!m_dialog)
        return;
    m_dialog->setRange(0, total);
    m_dialog->setValue(done);
    QApplication::processEvents();
}

bool QtBatchProgress::CancelRequested()
{
    if (!m_dialog)
        return false;
    QApplication::processEvents();
    return m_dialog->wasCanceled();
}

void QtBatchProgress::Close()
{
    delete m_dialog;
    m_dialog = nullptr;
}
