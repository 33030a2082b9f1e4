#include "printing/PrintCanvas.h"
#include <QStringList>

int PrintCanvas::TabbedTextWidth(const QString& text)
{
    const int stop = 8 * AverageCharWidth();
    int pos = 0;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (int i = 0; i < parts.size(); ++i) {
        pos += TextWidth(parts[i]);
        if (i + 1 < parts.size() && stop > 0) {
            pos = (pos / stop + 1) * stop;
        }
    }
    return pos;
}
