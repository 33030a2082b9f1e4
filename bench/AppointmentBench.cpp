#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "QuietPort.h"
#include "appointments/Appointments.h"
#include "appointments/TTerminDlgForm.h"
#include "common/CodePage.h"
#include "common/DateUtil.h"
#include "platform/SystemClock.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

namespace {

struct NoDialogs : TerminDialogs {
    bool RunEdit(TTerminEditDlgForm&) override { return false; }
    bool RunBatchDialog(TStapelDruckDlgForm&) override { return false; }
    void ShowProgress(const QString&) override {}
    bool SetSystemTime(const QDateTime&) override { return false; }
};

}  // namespace

// Opening the calendar on a month with 2,000 appointments: the month file is read into the
// grid and the window is put at the next appointment.
static void BM_OpenCalendarOnBusyMonth(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/DATEN/";
    QDir().mkpath(data + "Termin");
    const QDate today = QDate::currentDate();
    QStringList lines;
    for (int i = 0; i < 2000; ++i) {
        const QDate day(today.year(), today.month(), 1 + i * today.daysInMonth() / 2000);
        lines << QStringLiteral(
                     "%1\t%2:%3\tMustermann Erika, 54321 Beispielort %4\t%5\t"
                     "ImpfErg.tlv\tBello, Tollwut\t\t")
                     .arg(dates::Format(day))
                     .arg(8 + i % 10, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(i)
                     .arg(i % 500 + 1, 4, 10, QLatin1Char('0'));
    }
    QFile file(data + "Termin/" + appointments::MonthFileName(today.month(), today.year()));
    file.open(QIODevice::WriteOnly);
    file.write(cp1252::JoinLines(lines));
    file.close();

    QuietPort port;
    SystemClock clock;
    NoDialogs dialogs;
    TerminSetup setup;
    setup.dataFolder = data;
    setup.textsFolder = data + "Texte/";
    setup.tableEnv = std::make_shared<TableEnvironment>();
    for (auto _ : state) {
        TTerminDlgForm calendar(port, clock, setup, dialogs);
        calendar.Grid().Resize(500);
        calendar.Today();
        benchmark::DoNotOptimize(calendar.Grid().CurrentRecord());
    }
}
BENCHMARK(BM_OpenCalendarOnBusyMonth)->Unit(benchmark::kMillisecond);
