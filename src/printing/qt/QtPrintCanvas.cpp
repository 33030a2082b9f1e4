#include "printing/qt/QtPrintCanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPageLayout>
#include <QPainterPath>
#include <QPrinterInfo>
#include <QScreen>

#include "common/Clock.h"
#include "printing/PrinterList.h"

namespace {

// PDF pages are drawn at this resolution; fine enough for text and rules.
constexpr int kPdfResolution = 600;

}  // namespace

QtPrintCanvas::QtPrintCanvas(const QString& programFolder, const Clock& clock)
    : m_own(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_printer(m_own.get()),
      m_pdfFolder(QDir(programFolder).filePath(QStringLiteral("PDF"))),
      m_clock(&clock)
{
    // The system's default printer; without one its first printer, so that a machine with
    // a real printer never prints to a file unasked.
    QString system = QPrinterInfo::defaultPrinterName();
    if (system.isEmpty())
        system = QPrinterInfo::availablePrinterNames().value(0);
    if (system.isEmpty()) {
        UsePdfPrinter();
    } else {
        SelectPrinter(system);
    }
    SetFont(m_font);
}

QtPrintCanvas::QtPrintCanvas(QPrinter* printer) : m_printer(printer)
{
    SetFont(m_font);
}

QtPrintCanvas::~QtPrintCanvas()
{
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

void QtPrintCanvas::UsePdfPrinter()
{
    m_pdf = true;
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setResolution(kPdfResolution);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setFullPage(false);
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    SetFont(m_font);  // pixel sizes follow the new resolution
}

void QtPrintCanvas::SelectPrinter(const QString& name)
{
    if (name == PrinterList::kPdfPrinterName || !m_own) {
        if (m_own) {
            UsePdfPrinter();
        }
        return;
    }
    m_pdf = false;
    m_printer->setOutputFormat(QPrinter::NativeFormat);
    m_printer->setPrinterName(name);
    SetFont(m_font);
}

QString QtPrintCanvas::PrinterName() const
{
    return m_pdf ? PrinterList::kPdfPrinterName : m_printer->printerName();
}

QString QtPrintCanvas::ProposedPdfFile(const QString& title) const
{
    const QDateTime stamp = m_clock ? m_clock->Now() : QDateTime::currentDateTime();
    const QDir folder(m_pdfFolder);
    QString path = folder.filePath(PdfFileNameForJob(title, stamp));
    // Two jobs in the same second must not overwrite each other.
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = folder.filePath(PdfFileNameForJob(title, stamp))
                   .replace(QStringLiteral(".pdf"), QStringLiteral("-%1.pdf").arg(n));
    }
    return path;
}

void QtPrintCanvas::AdoptDialogChoice()
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat && m_own) {
        m_chosenPdf = m_printer->outputFileName();
        UsePdfPrinter();
    } else {
        m_pdf = false;
    }
    SetFont(m_font);
}

QString QtPrintCanvas::FamilyFor(const QString& windowsName)
{
    const QString name = windowsName.trimmed().toLower();
    if (name == QLatin1String("arial") || name == QLatin1String("microsoft sans serif") ||
        name == QLatin1String("ms sans serif") || name == QLatin1String("helvetica")) {
        return QStringLiteral("Liberation Sans");
    }
    if (name.startsWith(QLatin1String("courier"))) {
        return QStringLiteral("Liberation Mono");
    }
    if (name == QLatin1String("times new roman")) {
        return QStringLiteral("Liberation Serif");
    }
    return windowsName;
}

QFont QtPrintCanvas::QtFont(const PrintFont& font) const
{
    QFont f(FamilyFor(font.name));
    // Pixel size from the printer's resolution, so measuring and drawing agree exactly.
    f.setPixelSize(std::max(1, qRound(font.size * LogPixelsY() / 72.0)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QRect QtPrintCanvas::PaintRect() const
{
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution());
}

int QtPrintCanvas::PageWidth() const
{
    return PaintRect().width();
}
int QtPrintCanvas::PageHeight() const
{
    return PaintRect().height();
}

int QtPrintCanvas::PageWidthMm() const
{
    return qRound(m_printer->pageLayout().paintRect(QPageLayout::Millimeter).width());
}

int QtPrintCanvas::PageHeightMm() const
{
    return qRound(m_printer->pageLayout().paintRect(QPageLayout::Millimeter).height());
}

int QtPrintCanvas::LogPixelsX() const
{
    return m_printer->resolution();
}
int QtPrintCanvas::LogPixelsY() const
{
    return m_printer->resolution();
}
int QtPrintCanvas::PhysicalOffsetX() const
{
    return PaintRect().left();
}
int QtPrintCanvas::PhysicalOffsetY() const
{
    return PaintRect().top();
}

int QtPrintCanvas::ScreenPixelsPerInch() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

void QtPrintCanvas::SetOrientation(PrinterOrientation orientation)
{
    m_printer->setPageOrientation(orientation == PrinterOrientation::poLandscape
                                      ? QPageLayout::Landscape
                                      : QPageLayout::Portrait);
}

PrinterOrientation QtPrintCanvas::Orientation() const
{
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape
               ? PrinterOrientation::poLandscape
               : PrinterOrientation::poPortrait;
}

bool QtPrintCanvas::BeginDoc(const QString& title)
{
    m_jobFailed = false;
    m_printer->setDocName(title);
    if (m_pdf && m_own) {
        // The name the person chose in the print dialog counts once; the print dialog
        // asked before it let an existing file be replaced.
        QString path = m_chosenPdf;
        m_chosenPdf.clear();
        if (path.isEmpty()) {
            if (!QDir().mkpath(m_pdfFolder)) {
                return false;
            }
            path = ProposedPdfFile(title);
        } else if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            return false;
        }
        m_printer->setOutputFileName(path);
        m_lastPdf = path;
    }
    if (!m_painter.begin(m_printer)) {
        return false;
    }
    SetFont(m_font);
    m_painter.setPen(QPen(Qt::black, 1));
    m_painter.setBrush(Qt::NoBrush);
    return true;
}

void QtPrintCanvas::NewPage()
{
    if (!m_printer->newPage())
        m_jobFailed = true;
}

void QtPrintCanvas::EndDoc()
{
    const bool active = m_painter.isActive();
    if (active && !m_painter.end())
        m_jobFailed = true;
    if (m_printer->printerState() == QPrinter::Error)
        m_jobFailed = true;
    if (active && !m_jobFailed && m_pdf && m_own && OnPdfWritten)
        OnPdfWritten(m_lastPdf);
}

void QtPrintCanvas::SetFont(const PrintFont& font)
{
    m_font = font;
    m_qfont = QtFont(font);
    if (m_painter.isActive()) {
        m_painter.setFont(m_qfont);
    }
}

int QtPrintCanvas::TextWidth(const QString& text)
{
    return QFontMetrics(m_qfont, m_printer).horizontalAdvance(text);
}

int QtPrintCanvas::TextHeight(const QString&)
{
    return QFontMetrics(m_qfont, m_printer).height();
}

int QtPrintCanvas::AverageCharWidth()
{
    return QFontMetrics(m_qfont, m_printer).averageCharWidth();
}

void QtPrintCanvas::TextOut(int x, int y, const QString& text)
{
    if (!m_painter.isActive()) {
        return;
    }
    m_painter.setPen(QColor::fromRgb(static_cast<QRgb>(m_font.color)));
    m_painter.drawText(x, y + QFontMetrics(m_qfont, m_printer).ascent(), text);
    m_painter.setPen(QPen(Qt::black, 1));
}

void QtPrintCanvas::TextRect(const QRect& clip, int x, int y, const QString& text)
{
    if (!m_painter.isActive() || clip.width() <= 0 || clip.height() <= 0) {
        return;
    }
    m_painter.save();
    m_painter.setClipRect(clip);
    TextOut(x, y, text);
    m_painter.restore();
}

int QtPrintCanvas::TabbedTextOut(int x, int y, const QString& text)
{
    const int stop = 8 * AverageCharWidth();
    int pos = 0;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (int i = 0; i < parts.size(); ++i) {
        TextOut(x + pos, y, parts[i]);
        pos += TextWidth(parts[i]);
        if (i + 1 < parts.size() && stop > 0) {
            pos = (pos / stop + 1) * stop;
        }
    }
    return pos;
}

void QtPrintCanvas::Line(int x1, int y1, int x2, int y2)
{
    if (m_painter.isActive()) {
        m_painter.drawLine(x1, y1, x2, y2);
    }
}

void QtPrintCanvas::FrameRect(const QRect& rect)
{
    if (m_painter.isActive()) {
        m_painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

QSize QtPrintCanvas::BitmapSize(const QString& path)
{
    QImageReader reader(path);
    return reader.canRead() ? reader.size() : QSize();
}

bool QtPrintCanvas::StretchMonoBitmap(const QRect& target, const MonoBitmap& bitmap)
{
    if (bitmap.Empty() || !m_painter.isActive() || target.isEmpty())
        return false;
    // Drawn as one filled shape rather than a picture: a PDF keeps the modules sharp at any
    // zoom (a picture would be stored compressed and smoothed), and the runs of one shape
    // leave no seams between neighbouring modules.
    const qreal mw = qreal(target.width()) / bitmap.width;
    const qreal mh = qreal(target.height()) / bitmap.height;
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width;) {
            if (!bitmap.Dark(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < bitmap.width && bitmap.Dark(end, y))
                ++end;
            shape.addRect(
                QRectF(target.left() + x * mw, target.top() + y * mh, (end - x) * mw, mh));
            x = end;
        }
    }
    m_painter.save();
    m_painter.fillRect(target, Qt::white);
    m_painter.fillPath(shape, Qt::black);
    m_painter.restore();
    return true;
}

bool QtPrintCanvas::StretchBitmap(const QRect& target, const QString& path)
{
    const QImage image(path);
    if (image.isNull() || !m_painter.isActive()) {
        return false;
    }
    m_painter.drawImage(target, image);
    return true;
}
