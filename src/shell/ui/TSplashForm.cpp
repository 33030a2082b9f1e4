#include "shell/ui/TSplashForm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_picture(Picture(true))
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(508, 320);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    m_timer.setSingleShot(true);
    m_timer.start(kShowMs);
}

QPixmap TSplashForm::Picture(bool startingText)
{
    QPixmap pixmap(508, 320);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 320);
    sky.setColorAt(0, QColor(0x2e, 0x6b, 0x8f));
    sky.setColorAt(1, QColor(0xdf, 0xee, 0xf4));
    p.fillRect(pixmap.rect(), sky);
    // A paw: four toes and a pad.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(400, 190), 38, 32);
    p.drawEllipse(QPointF(352, 140), 14, 18);
    p.drawEllipse(QPointF(382, 118), 14, 18);
    p.drawEllipse(QPointF(418, 118), 14, 18);
    p.drawEllipse(QPointF(448, 140), 14, 18);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Sans Serif"), 40, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(36, 70, 300, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Talven"));
    QFont sub(QStringLiteral("Sans Serif"), 13);
    p.setFont(sub);
    p.drawText(QRect(38, 140, 300, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tierarztpraxis-Verwaltung"));
    if (startingText) {
        p.setPen(QColor(0x2e, 0x4b, 0x5f));
        p.setFont(QFont(QStringLiteral("Sans Serif"), 9));
        p.drawText(QRect(38, 280, 440, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Programm wird gestartet ..."));
    }
    p.end();
    return pixmap;
}

void TSplashForm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

void TSplashForm::mousePressEvent(QMouseEvent*)
{
    m_timer.stop();
    close();
}

void TSplashForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        m_timer.stop();
    QWidget::changeEvent(event);
}
