// A second workstation for the lock and soak tests.
//   journal_child hold <file> <ms>        takes the file's lock, writes "L", holds it, exits
//   journal_child soak <file> <tag> <n> <k>  appends n bookings "<tag>-<i>", and loads the
//                                          journal (merge and save) after every k of them
//   journal_child ini <file> <tag> <n>     writes the keys <tag>1 ... <tag>n of section "S"
// Messages go to stderr; a busy lock is always tried again.
#include <QString>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "StderrPort.h"
#include "platform/FileLock.h"
#include "settings/IniFile.h"
#include "table/TSGrid.h"
#include "table/TableFile.h"

int main(int argc, char* argv[])
{
    if (argc < 4)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("hold")) {
        files::FileLock lock(path);
        if (lock.TryLock() != files::FileLock::State::Locked)
            return 3;
        std::fputc('L', stdout);
        std::fflush(stdout);
        QThread::msleep(static_cast<unsigned long>(std::atoi(argv[3])));
        return 0;
    }
    const QString tag = QString::fromLocal8Bit(argv[3]);
    if (mode == QLatin1String("ini") && argc >= 5) {
        IniFile ini(path);
        for (int i = 1; i <= std::atoi(argv[4]); ++i) {
            if (!ini.WriteInteger(QStringLiteral("S"), tag + QString::number(i), i))
                return 4;
        }
        return 0;
    }
    if (mode != QLatin1String("soak") || argc < 6)
        return 2;
    const int count = std::atoi(argv[4]);
    const int mergeEvery = std::atoi(argv[5]);
    StderrPort port(Answer::Ok);
    auto env = std::make_shared<TableEnvironment>();
    TSGrid grid(port, env);
    grid.SetColCount(8);
    for (int i = 1; i <= count; ++i) {
        const QString line =
            QStringLiteral("+01.03.2024\t%1-%2\tKunde\t8,40\t19,0\t10,00\tB\t").arg(tag).arg(i);
        if (!table::AppendChangeLine(*env, port, path, line))
            return 4;
        if (i % mergeEvery == 0)
            grid.LoadJournal(path);
    }
    return 0;
}
