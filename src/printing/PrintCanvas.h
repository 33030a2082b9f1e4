#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// Where page numbers and dates go on a page.
enum class TPageNumberPos {
    pnNone,
    pnTopLeft,
    pnTopCenter,
    pnTopRight,
    pnBotLeft,
    pnBotCenter,
    pnBotRight
};

enum class PrinterOrientation { poPortrait, poLandscape };

enum class TextAlignment { taLeftJustify, taRightJustify, taCenter };

// A font as the printers describe it: family, size in points and style. Families are the
// Windows names the layouts store ("Arial", "Courier New"); each canvas maps them to fonts
// it has.
struct PrintFont {
    QString name = QStringLiteral("Arial");
    int size = 9;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int color = 0;  // RGB

    bool operator==(const PrintFont&) const = default;
};

// A black-and-white picture built in memory, row by row from the top-left corner.
struct MonoBitmap {
    int width = 0;
    int height = 0;
    std::vector<bool> dark;  // width * height entries

    bool Empty() const { return width <= 0 || height <= 0; }
    bool Dark(int x, int y) const { return dark[static_cast<size_t>(y) * width + x]; }
};

// The drawing surface of every printer. Coordinates are device pixels of the printable
// area, (0,0) at its top-left corner. A text is placed by the top of its cell (like the
// Windows TextOut), not by its base line.
//
// Device metrics are valid outside a job too (the reference canvas), so layouts can be
// measured without printing.
class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;

    // Printable area in pixels and in millimetres.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    virtual int PageWidthMm() const = 0;
    virtual int PageHeightMm() const = 0;
    // Logical resolution in pixels per inch.
    virtual int LogPixelsX() const = 0;
    virtual int LogPixelsY() const = 0;
    // Distance of the printable area from the paper's top-left corner, pixels.
    virtual int PhysicalOffsetX() const = 0;
    virtual int PhysicalOffsetY() const = 0;
    // Resolution of the screen, for pictures whose size is given in screen pixels.
    virtual int ScreenPixelsPerInch() const { return 96; }

    // Orientation applies to the next job; it changes the page size.
    virtual void SetOrientation(PrinterOrientation orientation) = 0;
    virtual PrinterOrientation Orientation() const = 0;

    // Begins a job; returns false when the device refused it.
    virtual bool BeginDoc(const QString& title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual bool Printing() const = 0;
    // True when the last job failed after it began (the device reported an error while
    // printing or when the job was ended): nothing reliable came out.
    virtual bool JobFailed() const { return false; }

    // The font is scaled to the device's resolution so point sizes are true on paper.
    virtual void SetFont(const PrintFont& font) = 0;
    virtual PrintFont Font() const = 0;
    // Measures in the current font. TextHeight is the height of the font's text cell.
    virtual int TextWidth(const QString& text) = 0;
    virtual int TextHeight(const QString& text) = 0;
    // Average character width of the current font (tab stops are eight of them).
    virtual int AverageCharWidth() = 0;

    virtual void TextOut(int x, int y, const QString& text) = 0;
    // Draws text with its cell's top-left at (x, y), showing only what lies inside clip.
    virtual void TextRect(const QRect& clip, int x, int y, const QString& text) = 0;
    // Expands tab characters to the default stops (every eight average character widths,
    // counted from x) and returns the width used.
    virtual int TabbedTextOut(int x, int y, const QString& text) = 0;

    // A one-pixel line from (x1, y1) to (x2, y2), end point excluded.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // A hollow one-pixel frame.
    virtual void FrameRect(const QRect& rect) = 0;

    // Natural size of a bitmap file in pixels; an empty size when it cannot be read.
    virtual QSize BitmapSize(const QString& path) = 0;
    // Draws a bitmap file stretched into target; false when it could not be drawn.
    virtual bool StretchBitmap(const QRect& target, const QString& path) = 0;
    // Draws a picture stretched into target, each pixel a sharp square (no smoothing);
    // false when the device cannot draw it.
    virtual bool StretchMonoBitmap(const QRect& target, const MonoBitmap& bitmap)
    {
        (void)target;
        (void)bitmap;
        return false;
    }

    // Width of a text with tabs expanded as TabbedTextOut does it.
    int TabbedTextWidth(const QString& text);
};
