#pragma once

#include <QWidget>

class QTextBrowser;

// A small window that shows the help pages, with contents, back and forward.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a page and brings the window to the front.
    void ShowPage(const QString& path);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
    QString m_contents;
};
