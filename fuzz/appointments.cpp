// An appointment month file: loading never crashes, the scans over its records never leave
// the table, and an appointment written as a record line reads back the same.
#include <QDateTime>

#include "FuzzSupport.h"
#include "appointments/Appointments.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SilentPort port;
    static const auto env = fuzz::Environment();
    const QString path = fuzz::WriteInput(QStringLiteral("T3_2026.ter"), data, size);
    TSGrid grid(port, env);
    grid.SetColCount(recordline::kAppointmentCells + 1);
    if (!grid.LoadTable(path))
        return 0;
    const QStringList lines = grid.Lines();
    const int count = int(lines.size());
    const QDateTime reference(QDate(2026, 3, 15), QTime(9, 0));
    const int insert = appointments::InsertPosition(lines, reference);
    fuzz::Check(insert >= 0 && insert <= count, "a new appointment goes inside the table");
    const int first = appointments::FirstAtOrAfter(lines, reference);
    fuzz::Check(first >= -1 && first < count, "the next appointment is one of the table");
    fuzz::Check(appointments::CountOn(lines, reference.date()) <= count, "no day has more");
    for (const QString& line : lines) {
        QDateTime start;
        appointments::StartOf(line, &start);
        (void)appointments::Marker(line);
        const appointments::Appointment a = appointments::FromLine(line);
        fuzz::Check(appointments::FromLine(appointments::LineOf(a)) == a,
                    "an appointment reads back as written");
        QString time;
        if (appointments::NormalizeTime(recordline::Cell(line, 2), &time)) {
            QString again;
            fuzz::Check(appointments::NormalizeTime(time, &again) && again == time,
                        "a normalised time stays as it is");
        }
    }
    return 0;
}
