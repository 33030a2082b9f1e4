#include "shell/ui/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {

struct ToolStyle {
    Workspace workspace;
    const char* text;
    QRgb colour;
};

const ToolStyle kStyles[] = {
    {Workspace::Medikamente, "Medikamente", 0x2e7d32},
    {Workspace::Leistungen, "Leistungen", 0x00838f},
    {Workspace::Kunden, "Kunden", 0x1565c0},
    {Workspace::Kartei, "Kartei", 0x6a1b9a},
    {Workspace::Abgabe, "Abgabebelege", 0xad1457},
    {Workspace::Stapel, "Stapeldruck", 0xef6c00},
    {Workspace::Text, "Texte", 0x4e342e},
    {Workspace::Termin, "Termine", 0x283593},
    {Workspace::System, "Optionen", 0x546e7a},
};

const ToolStyle& StyleOf(Workspace w)
{
    for (const ToolStyle& s : kStyles) {
        if (s.workspace == w)
            return s;
    }
    return kStyles[0];
}

// The pictograms are drawn on a 32 x 32 grid.
void DrawPictogram(QPainter& p, Workspace w, const QColor& tile)
{
    const QPen line(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    switch (w) {
        case Workspace::Medikamente: {  // a capsule, half filled
            p.save();
            p.translate(16, 16);
            p.rotate(-45);
            const QRectF body(-11, -5, 22, 10);
            p.drawRoundedRect(body, 5, 5);
            QPainterPath half;
            half.addRoundedRect(body, 5, 5);
            QPainterPath left;
            left.addRect(QRectF(-11, -5, 11, 10));
            p.fillPath(half.intersected(left), Qt::white);
            p.restore();
            break;
        }
        case Workspace::Leistungen:  // a list with ticks
            for (int i = 0; i < 3; ++i) {
                const qreal y = 9 + i * 7;
                p.drawLine(QPointF(7, y), QPointF(9, y + 2));
                p.drawLine(QPointF(9, y + 2), QPointF(12, y - 2));
                p.drawLine(QPointF(15, y), QPointF(25, y));
            }
            break;
        case Workspace::Kunden:  // a person
            p.setBrush(Qt::white);
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(16, 11), 5, 5);
            p.drawPie(QRectF(6, 18, 20, 18), 0, 180 * 16);
            break;
        case Workspace::Kartei:  // an index card with lines and a tab
            p.drawRect(QRectF(6, 9, 20, 16));
            p.drawLine(QPointF(9, 14), QPointF(23, 14));
            p.drawLine(QPointF(9, 18), QPointF(23, 18));
            p.drawLine(QPointF(9, 22), QPointF(18, 22));
            p.fillRect(QRectF(8, 6, 7, 3), Qt::white);
            break;
        case Workspace::Abgabe: {  // a receipt with a torn edge
            QPainterPath paper;
            paper.moveTo(9, 6);
            paper.lineTo(23, 6);
            paper.lineTo(23, 26);
            for (int i = 0; i < 4; ++i)
                paper.lineTo(23 - 1.75 - i * 3.5, i % 2 ? 26 : 24);
            paper.lineTo(9, 26);
            paper.closeSubpath();
            p.drawPath(paper);
            p.drawLine(QPointF(12, 11), QPointF(20, 11));
            p.drawLine(QPointF(12, 15), QPointF(20, 15));
            p.drawLine(QPointF(12, 19), QPointF(17, 19));
            break;
        }
        case Workspace::Stapel:  // a stack of letters
            for (int i = 2; i >= 0; --i) {
                const QRectF sheet(6 + i * 2.5, 8 + i * 3, 17, 12);
                p.setBrush(i == 0 ? QBrush(Qt::white) : QBrush(tile));
                p.drawRect(sheet);
            }
            p.setPen(QPen(tile, 1.8));
            p.drawLine(QPointF(6, 8), QPointF(14.5, 14));
            p.drawLine(QPointF(14.5, 14), QPointF(23, 8));
            break;
        case Workspace::Text:  // a pen over a line of writing
            p.drawLine(QPointF(6, 26), QPointF(26, 26));
            p.save();
            p.translate(17, 14);
            p.rotate(45);
            p.drawRect(QRectF(-3, -10, 6, 17));
            p.drawLine(QPointF(-3, 7), QPointF(0, 11));
            p.drawLine(QPointF(3, 7), QPointF(0, 11));
            p.restore();
            break;
        case Workspace::Termin:  // a calendar sheet
            p.drawRoundedRect(QRectF(6, 8, 20, 18), 2, 2);
            p.fillRect(QRectF(6, 8, 20, 5), Qt::white);
            p.drawLine(QPointF(11, 5), QPointF(11, 10));
            p.drawLine(QPointF(21, 5), QPointF(21, 10));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            for (int r = 0; r < 2; ++r) {
                for (int c = 0; c < 4; ++c)
                    p.drawRect(QRectF(9 + c * 4, 16 + r * 4.5, 2.4, 2.4));
            }
            break;
        case Workspace::System: {  // a cog wheel
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            QPainterPath cog;
            for (int i = 0; i < 8; ++i) {
                p.save();
                p.translate(16, 16);
                p.rotate(i * 45);
                p.drawRect(QRectF(-2.5, -12, 5, 6));
                p.restore();
            }
            p.drawEllipse(QPointF(16, 16), 8, 8);
            p.setBrush(tile);
            p.drawEllipse(QPointF(16, 16), 3.2, 3.2);
            break;
        }
        case Workspace::None:
            break;
    }
}

}  // namespace

QIcon WorkspaceIcon(Workspace w)
{
    const QColor tile(StyleOf(w).colour);
    QIcon icon;
    for (const int size : {32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(Qt::NoPen);
        p.setBrush(tile);
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
        DrawPictogram(p, w, tile);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString WorkspaceButtonText(Workspace w)
{
    return QString::fromUtf8(StyleOf(w).text);
}
