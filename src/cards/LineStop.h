#pragma once

#include <QString>

#include "printing/PrintCanvas.h"

class Clock;
class LayoutStore;
class TSGrid;
class UserPort;

namespace card {

// The "automat. Stop" of the text column: a treatment text may not grow wider than the
// description column of the printed invoice. The width comes from the table printer's
// document layout with the record card page layout; texts are measured in its body font.
class LineStopMeter {
public:
    LineStopMeter(PrintCanvas& canvas, TSGrid& cardGrid, LayoutStore& layouts, UserPort& port,
                  const Clock& clock);

    // Takes the column width from the printer (again after the page layout changed).
    void Measure();
    int Width() const { return m_width; }
    // True when the printed text reaches the column's width. Without a printer there is no
    // width, and nothing is stopped.
    bool Exceeds(const QString& text);

private:
    PrintCanvas& m_canvas;
    TSGrid& m_cardGrid;
    LayoutStore& m_layouts;
    UserPort& m_port;
    const Clock& m_clock;
    int m_width = 0;
    PrintFont m_font;
};

}  // namespace card
