#include "support/RecordingCanvas.h"

void RecordingCanvas::SetOrientation(PrinterOrientation o)
{
    m_portrait = o == PrinterOrientation::poPortrait;
}

PrinterOrientation RecordingCanvas::Orientation() const
{
    return m_portrait ? PrinterOrientation::poPortrait : PrinterOrientation::poLandscape;
}

bool RecordingCanvas::BeginDoc(const QString& t)
{
    if (refuseJobs)
        return false;
    title = t;
    ++jobs;
    pages = 1;
    m_printing = true;
    Record({Op::BeginDoc});
    return true;
}

void RecordingCanvas::NewPage()
{
    ++pages;
    Record({Op::NewPage});
}

void RecordingCanvas::EndDoc()
{
    Record({Op::EndDoc});
    m_printing = false;
}

int RecordingCanvas::TextWidth(const QString& text)
{
    return static_cast<int>(text.size()) * (FontPixels(m_font) / 2);
}

void RecordingCanvas::TextOut(int x, int y, const QString& text)
{
    Call c{Op::Text};
    c.x = x;
    c.y = y;
    c.text = text;
    Record(c);
}

void RecordingCanvas::TextRect(const QRect& clip, int x, int y, const QString& text)
{
    Call c{Op::Text};
    c.x = x;
    c.y = y;
    c.clip = clip;
    c.text = text;
    Record(c);
}

int RecordingCanvas::TabbedTextOut(int x, int y, const QString& text)
{
    Call c{Op::Tabbed};
    c.x = x;
    c.y = y;
    c.text = text;
    Record(c);
    return TabbedTextWidth(text);
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2)
{
    Call c{Op::Line};
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    Record(c);
}

void RecordingCanvas::FrameRect(const QRect& rect)
{
    Call c{Op::Frame};
    c.clip = rect;
    Record(c);
}

QSize RecordingCanvas::BitmapSize(const QString& path)
{
    for (const auto& [p, size] : bitmaps) {
        if (p == path) {
            return size;
        }
    }
    return {};
}

bool RecordingCanvas::StretchBitmap(const QRect& target, const QString& path)
{
    Call c{Op::Bitmap};
    c.clip = target;
    c.text = path;
    Record(c);
    return !bitmapsFail && !BitmapSize(path).isEmpty();
}

bool RecordingCanvas::StretchMonoBitmap(const QRect& target, const MonoBitmap& bitmap)
{
    Call c{Op::Bitmap};
    c.clip = target;
    c.text = QStringLiteral("mono");
    Record(c);
    monoBitmaps.append(bitmap);
    return !bitmapsFail;
}

void RecordingCanvas::Record(Call c)
{
    c.page = pages;
    c.font = m_font;
    calls.append(c);
}

QList<RecordingCanvas::Call> RecordingCanvas::Texts(int page) const
{
    QList<Call> out;
    for (const Call& c : calls) {
        if ((c.op == Op::Text || c.op == Op::Tabbed) && (page == 0 || c.page == page)) {
            out.append(c);
        }
    }
    return out;
}

QStringList RecordingCanvas::TextStrings(int page) const
{
    QStringList out;
    for (const Call& c : Texts(page)) {
        out.append(c.text);
    }
    return out;
}

const RecordingCanvas::Call* RecordingCanvas::Find(const QString& text) const
{
    for (const Call& c : calls) {
        if ((c.op == Op::Text || c.op == Op::Tabbed) && c.text == text) {
            return &c;
        }
    }
    return nullptr;
}

int RecordingCanvas::Count(Op op) const
{
    int n = 0;
    for (const Call& c : calls) {
        n += c.op == op ? 1 : 0;
    }
    return n;
}
