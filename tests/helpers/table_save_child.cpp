// Saves a table again and again until it is killed; the crash-safety test kills it at
// random moments and checks that the table file is always complete.
#include <QDeadlineTimer>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "StderrPort.h"
#include "table/TSGrid.h"

// Usage: table_save_child <table path> <lines>. Content "A" and "B" alternate, B first;
// one byte on stdout tells that the first save is complete.
int main(int argc, char* argv[])
{
    if (argc < 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    QStringList variants[2];
    for (int i = 0; i < count; ++i) {
        variants[0] << QStringLiteral("A%1\tMüller\tHauptstraße %1\t12,50000\t").arg(i);
        variants[1] << QStringLiteral("B%1\tMeier\tBahnhofstraße %1\t7,00000\t").arg(i);
    }
    StderrPort port(Answer::Cancel);
    TSGrid grid(port);
    grid.SetColCount(5);
    QDeadlineTimer deadline(60000);
    for (int round = 1; !deadline.hasExpired(); ++round) {
        grid.SetLines(variants[round % 2]);
        if (!grid.SaveTable(path))
            return 3;
        if (round == 1) {
            std::fputc('s', stdout);
            std::fflush(stdout);
        }
    }
    return 0;
}
