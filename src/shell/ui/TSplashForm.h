#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The start-up picture: borderless, centred, 508 x 320. It may close once its one-shot
// timer has stopped: when it fired, when the window lost focus, or when it was clicked.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 2500;

    explicit TSplashForm(QWidget* parent = nullptr);

    bool CanClose() const { return !m_timer.isActive(); }
    // The picture shown (also the application icon's source).
    static QPixmap Picture(bool startingText = false);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QTimer m_timer;
    QPixmap m_picture;
};
