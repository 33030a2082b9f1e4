#pragma once

#include <QString>
#include <QStringList>

#include "printing/PrintCanvas.h"

class UserPort;
class PrintDialogPort;

// Prints a list of text lines page after page, optionally below a business letterhead
// laid out for a window envelope. Margins and the header distance are in millimetres;
// they are converted to device pixels per job (the properties keep their millimetres).
class TPrintStrList {
public:
    // Number of letterhead slots the callers fill.
    static constexpr int kKopfSlots = 17;

    TPrintStrList(PrintCanvas& canvas, UserPort& port);

    int LeftMargin = 5;
    int TopMargin = 10;
    int RightMargin = 5;
    int BottomMargin = 20;
    int KopfAbstand = 45;
    PrintFont TitleFontKl{QStringLiteral("Arial"), 8};
    PrintFont TitleFontGr{QStringLiteral("Arial"), 12, true};
    PrintFont LinesFont{QStringLiteral("Arial"), 9};
    QStringList StringList;
    QStringList Kopf;
    QString PrintMgrTitle;
    PrinterOrientation Orientation = PrinterOrientation::poPortrait;
    bool FullPage = false;
    bool KopfPrint = false;
    bool Mahnung = false;
    int FromPage = 1;
    int EndPage = 1000;
    bool Border = false;
    bool RowLines = false;
    TPageNumberPos PageNumberPos = TPageNumberPos::pnBotCenter;
    QString PageNumberLabel;
    QString DateLabel;
    int RowLinesCount = 5;
    bool WriteTabStop = true;
    // The payment code, about 3 x 3 cm, at the bottom right of the last page below the
    // text (on a page of its own when the text leaves no room); empty: none.
    MonoBitmap PayCode;

    // Draws the next jobs on another canvas (a copy of the settings for the preview).
    void Rebind(PrintCanvas& canvas) { m_canvas = &canvas; }

    // Prints the whole job; deviceText goes to (0,0) of page 1 (commands for fax drivers).
    // False when the printer refused the job or reported a failure.
    bool Print(const QString& deviceText = {});
    // The system print dialog; false when cancelled. Each copy is a job of its own.
    bool PrintWithDialog(PrintDialogPort& dialog);
    // Body lines that fit on a page, with the body below the letterhead or at the top margin.
    int LinesPerPage(bool withLetterhead);
    // "8" characters of the body font that fit in the printable width.
    int CharsPerLine();
    // Bottom of the letterhead as if every slot were filled and a date were printed.
    int MeasureLetterhead();

    // The sender line above the addressee, built from the practice slots.
    static QString SenderLine(const QStringList& kopf);

private:
    void ConvertMargins();
    int Printable() const { return m_canvas->PageWidth() - m_left - m_right; }
    bool InRange() const { return m_page >= FromPage && m_page <= EndPage; }
    bool Drawing() const { return !m_measuring && InRange(); }
    QString Slot(int i) const { return i < Kopf.size() ? Kopf[i] : QString(); }

    // Puts a font on the canvas and returns the height of "M".
    int UseFont(const PrintFont& font);
    int LineHeightOf(const PrintFont& font);
    // Draws text in the line whose top is lineTop, clipped to clipLeft..clipRight.
    void DrawInLine(int x, int lineTop, int clipLeft, int clipRight, const QString& text);

    void PrintJob(const QString& deviceText);
    void DrawLetterhead();
    void DrawPageNumber();
    void PrintLine(const QString& line);
    void DrawPayCode();
    bool PageFull() const;

    PrintCanvas* m_canvas;
    UserPort& m_port;

    // Job state, in device pixels.
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0, m_kopf = 0;
    int m_page = 1;
    int m_linesOnPage = 0;
    int m_bodyTop = 0;
    int m_lineHeight = 0;
    int m_letterheadBottom = 0;
    int m_dateLineTop = 0;  // kept by the instance across jobs
    bool m_slotsEmpty = false;
    bool m_measuring = false;
    PrintFont m_font;
};
