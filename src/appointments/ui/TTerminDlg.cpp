#include "appointments/ui/TTerminDlg.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/UserPort.h"
#include "platform/SystemTime.h"
#include "printing/ui/TStapelDruckDlg.h"
#include "settings/TableFont.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

// Display widths of the columns; the text column takes what the visible ones leave.
constexpr int kWidths[] = {14, 65, 35, 0, 35, 115, 358, 64};
constexpr int kTextColumn = 3;

}  // namespace

TTerminDlg::TTerminDlg(const TerminDialogContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_form(std::make_unique<TTerminDlgForm>(*context.port, *context.clock, context.setup,
                                              static_cast<TerminDialogs&>(*this)))
{
    setObjectName(QStringLiteral("TTerminDlg"));
    setWindowTitle(TTerminDlgForm::Caption());
    resize(1000, 600);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_content = new QWidget(this);
    outer->addWidget(m_content);
    auto* top = new QVBoxLayout(m_content);

    auto* nav = new QHBoxLayout;
    const auto navButton = [&](const QString& name, const QString& text, const QString& hint,
                               std::function<void()> run) {
        QPushButton* b = AddButton(name, text, std::move(run));
        b->setToolTip(hint);
        nav->addWidget(b);
    };
    navButton(QStringLiteral("JahrZurueck"), QStringLiteral("<<"),
              QStringLiteral("Ein Jahr zurück"), [this] { m_form->YearBack(); });
    navButton(QStringLiteral("MonatZurueck"), QStringLiteral("<"),
              QStringLiteral("Einen Monat zurück"), [this] { m_form->MonthBack(); });
    m_dateLabel = new QLabel(m_content);
    m_dateLabel->setObjectName(QStringLiteral("DatumLabel"));
    m_dateLabel->setAlignment(Qt::AlignCenter);
    QFont bold = m_dateLabel->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    m_dateLabel->setFont(bold);
    m_dateLabel->setMinimumWidth(300);
    nav->addWidget(m_dateLabel, 1);
    navButton(QStringLiteral("MonatVor"), QStringLiteral(">"), QStringLiteral("Einen Monat vor"),
              [this] { m_form->MonthForward(); });
    navButton(QStringLiteral("JahrVor"), QStringLiteral(">>"), QStringLiteral("Ein Jahr vor"),
              [this] { m_form->YearForward(); });
    navButton(QStringLiteral("Heute"), QStringLiteral("Heute"), QStringLiteral("Heutiges Datum"),
              [this] { m_form->Today(); });
    top->addLayout(nav);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    m_calendar = new QCalendarWidget(m_content);
    m_calendar->setNavigationBarVisible(false);
    m_calendar->setGridVisible(true);
    m_calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setMinimumWidth(m_calendar->fontMetrics().horizontalAdvance(QStringLiteral("Mo.")) *
                                11);
    m_calendar->setMinimumDate(QDate(appointments::kFirstYear, 1, 1));
    m_calendar->setMaximumDate(QDate(appointments::kLastYear, 12, 31));
    connect(m_calendar, &QCalendarWidget::clicked, this,
            [this](const QDate& day) { Run([this, day] { m_form->ShowDay(day); }); });
    left->addWidget(m_calendar);
    left->addStretch();
    const auto sideButton = [&](const QString& name, const QString& text,
                                std::function<void()> run) {
        left->addWidget(AddButton(name, text, std::move(run)));
    };
    sideButton(QStringLiteral("NeuBtn"), QStringLiteral("&Neuer Termin"),
               [this] { m_form->NewAppointment(); });
    sideButton(QStringLiteral("AendernBtn"), QStringLiteral("Termin än&dern"),
               [this] { m_form->ChangeAppointment(); });
    sideButton(QStringLiteral("LoeschenBtn"), QStringLiteral("Termin &löschen"),
               [this] { m_form->DeleteAppointment(); });
    sideButton(QStringLiteral("ErinnerungBtn"), QStringLiteral("&Erinnerungen (E)"),
               [this] { m_form->PrintReminders(); });
    sideButton(QStringLiteral("UhrzeitBtn"), QStringLiteral("Akt. &Datum/Uhrzeit"),
               [this] { m_form->SetClock(); });
    QPushButton* close = AddButton(QStringLiteral("SchliessenBtn"), QStringLiteral("&Schließen"),
                                   [this] { accept(); });
    left->addWidget(close);
    body->addLayout(left);

    m_view = new TSGridView(m_form->Grid(), m_content);
    m_view->setObjectName(QStringLiteral("TerminGrid"));
    QFont font(tablefont::Family());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(tablefont::Sanitize(context.tableFontSize));
    m_view->ApplyFont(font, tablefont::RowHeight(tablefont::Sanitize(context.tableFontSize)));
    connect(m_view, &TSGridView::cellDoubleClicked, this,
            [this](int, int row) { CellDoubleClicked(row); });
    body->addWidget(m_view, 1);
    top->addLayout(body, 1);

    LayOutColumns();
    m_form->Today();
    Refresh();
}

TTerminDlg::~TTerminDlg()
{
    // The grid view uses the form's grid, which goes before the dialog's children do.
    delete m_content;
}

QPushButton* TTerminDlg::AddButton(const QString& name, const QString& text,
                                   std::function<void()> run)
{
    auto* b = new QPushButton(text, m_content);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, run = std::move(run)] { Run(run); });
    m_buttons.insert(name, b);
    return b;
}

void TTerminDlg::Run(const std::function<void()>& step)
{
    step();
    Refresh();
    if (m_form->Closing())
        QTimer::singleShot(0, this, &QDialog::reject);
}

void TTerminDlg::Refresh()
{
    m_dateLabel->setText(m_form->DateCaption());
    if (QPushButton* b = m_buttons.value(QStringLiteral("ErinnerungBtn")))
        b->setToolTip(m_form->ReminderHint());
    const QDate date = m_form->Date();
    const QSignalBlocker block(m_calendar);
    m_calendar->setCurrentPage(date.year(), date.month());
    m_calendar->setSelectedDate(date);
    m_view->SyncScrollBar();
    m_view->Area()->update();
}

void TTerminDlg::LayOutColumns()
{
    TSGrid& grid = m_form->Grid();
    int fixed = 0;
    for (int col = 0; col < grid.ColCount(); ++col) {
        if (col != kTextColumn)
            grid.SetColWidth(col, kWidths[col]);
        if (col != kTextColumn && col <= 4)
            fixed += kWidths[col];
    }
    const int room = m_view->Area()->width() - fixed - 5;
    grid.SetColWidth(kTextColumn, std::max(150, room));
}

void TTerminDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOutColumns();
}

void TTerminDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LayOutColumns();
    // The window now knows how many rows it shows.
    m_form->Position();
    Refresh();
    if (m_form->Closing())
        QTimer::singleShot(0, this, &QDialog::reject);
}

void TTerminDlg::CellDoubleClicked(int row)
{
    if (row < 1)
        return;
    if (m_form->SelectCustomer(m_form->Grid().WindowTop() + row - 1)) {
        m_customerChosen = true;
        accept();
    }
}

bool TTerminDlg::RunEdit(TTerminEditDlgForm& form)
{
    QtTerminEditRunner runner(*m_context.port, this, m_context.notes);
    return runner.Run(form);
}

bool TTerminDlg::RunBatchDialog(TStapelDruckDlgForm& form)
{
    QtBatchPrintDialogRunner runner(this);
    return runner.Run(form);
}

void TTerminDlg::ShowProgress(const QString& text)
{
    if (text.isEmpty()) {
        delete m_progress;
        m_progress = nullptr;
        m_content->setEnabled(true);
        return;
    }
    m_content->setEnabled(false);
    if (!m_progress) {
        m_progress = new QProgressDialog(this);
        m_progress->setObjectName(QStringLiteral("ErinnerungFortschritt"));
        m_progress->setWindowTitle(TTerminDlgForm::Caption());
        m_progress->setCancelButton(nullptr);
        m_progress->setRange(0, 0);
        m_progress->setMinimumDuration(0);
        m_progress->setWindowModality(Qt::NonModal);
    }
    m_progress->setLabelText(text);
    m_progress->show();
    QApplication::processEvents();
}

bool TTerminDlg::SetSystemTime(const QDateTime& local)
{
    return m_context.setSystemTime ? m_context.setSystemTime(local)
                                   : systemtime::SetLocalTime(local);
}

bool RunTerminDialog(const TerminDialogContext& context, QWidget* parent)
{
    TTerminDlg dialog(context, parent);
    if (dialog.Form().Closing())
        return false;
    dialog.exec();
    return dialog.CustomerChosen();
}
