#pragma once

#include <QList>
#include <QStringList>

#include "printing/PrintCanvas.h"

// A canvas with fixed metrics that records every call, so tests can assert page breaks,
// positions and clipping exactly.
//
// Metrics: an A4 page of 2100 x 2970 pixels (10 pixels per millimetre) at a logical
// resolution of 288 pixels per inch, so a font of s points is 4·s pixels high. Every
// character is half the font height wide (bold ones too); the average character width is
// the same, so tab stops lie every 4·height pixels.
class RecordingCanvas : public PrintCanvas {
public:
    enum class Op { BeginDoc, NewPage, EndDoc, Text, Tabbed, Line, Frame, Bitmap };

    struct Call {
        Call(Op o = Op::Text) : op(o) {}  // NOLINT: implicit on purpose
        Op op;
        int page = 0;  // 1-based page of the job
        int x = 0, y = 0, x2 = 0, y2 = 0;
        QRect clip;  // Text: the clip rectangle; Frame, Bitmap: the rectangle
        QString text;
        PrintFont font;
    };

    int PageWidth() const override { return m_portrait ? m_width : m_height; }
    int PageHeight() const override { return m_portrait ? m_height : m_width; }
    int PageWidthMm() const override { return PageWidth() / 10; }
    int PageHeightMm() const override { return PageHeight() / 10; }
    int LogPixelsX() const override { return 288; }
    int LogPixelsY() const override { return 288; }
    int PhysicalOffsetX() const override { return physicalOffset; }
    int PhysicalOffsetY() const override { return physicalOffset; }

    void SetOrientation(PrinterOrientation o) override;
    PrinterOrientation Orientation() const override;
    bool BeginDoc(const QString& title) override;
    void NewPage() override;
    void EndDoc() override;
    bool Printing() const override { return m_printing; }
    bool JobFailed() const override { return failJobs; }

    void SetFont(const PrintFont& font) override { m_font = font; }
    PrintFont Font() const override { return m_font; }
    int TextWidth(const QString& text) override;
    int TextHeight(const QString&) override { return FontPixels(m_font); }
    int AverageCharWidth() override { return FontPixels(m_font) / 2; }

    void TextOut(int x, int y, const QString& text) override;
    void TextRect(const QRect& clip, int x, int y, const QString& text) override;
    int TabbedTextOut(int x, int y, const QString& text) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void FrameRect(const QRect& rect) override;
    QSize BitmapSize(const QString& path) override;
    bool StretchBitmap(const QRect& target, const QString& path) override;
    // Recorded as a Bitmap call with the text "mono"; the picture goes to monoBitmaps.
    bool StretchMonoBitmap(const QRect& target, const MonoBitmap& bitmap) override;

    static int FontPixels(const PrintFont& f) { return 4 * f.size; }

    // Texts drawn (Text and Tabbed calls), optionally only of one page.
    QList<Call> Texts(int page = 0) const;
    QStringList TextStrings(int page = 0) const;
    // The first text call whose text equals text; nullptr when there is none.
    const Call* Find(const QString& text) const;
    int Count(Op op) const;

    QList<Call> calls;
    QString title;
    int jobs = 0;
    int pages = 0;  // pages of the last job
    int physicalOffset = 0;
    // Bitmaps the canvas pretends to know: path -> natural size.
    QList<std::pair<QString, QSize>> bitmaps;
    QList<MonoBitmap> monoBitmaps;
    bool bitmapsFail = false;  // known bitmaps are measured but cannot be drawn
    bool refuseJobs = false;   // BeginDoc fails: no job starts
    bool failJobs = false;     // jobs run but the device reports them failed

private:
    void Record(Call c);

    int m_width = 2100;
    int m_height = 2970;
    bool m_portrait = true;
    bool m_printing = false;
    PrintFont m_font;
};
