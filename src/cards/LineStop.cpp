#include "cards/LineStop.h"

#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintGrid2.h"

namespace card {

LineStopMeter::LineStopMeter(PrintCanvas& canvas, TSGrid& cardGrid, LayoutStore& layouts,
                             UserPort& port, const Clock& clock)
    : m_canvas(canvas), m_cardGrid(cardGrid), m_layouts(layouts), m_port(port), m_clock(clock)
{
}

void LineStopMeter::Measure()
{
    TMemoSeiteEinrichtenDlgForm layout(m_layouts);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::RecordCard);
    TPrintGrid2 printer(m_canvas, m_port, m_clock);
    layout.ApplyTo(printer);
    printer.AttachGrid(&m_cardGrid);
    m_width = printer.DescriptionColumnWidth();
    m_font = printer.LinesFont;
}

bool LineStopMeter::Exceeds(const QString& text)
{
    if (m_width <= 0)
        return false;
    m_canvas.SetFont(m_font);
    return m_canvas.TextWidth(text) >= m_width;
}

}  // namespace card
