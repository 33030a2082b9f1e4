#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

// Takes the mailto: addresses the program hands to the desktop, so that no mail program
// opens during a test.
class MailtoCatcher : public QObject {
    Q_OBJECT
public:
    MailtoCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "Open"); }
    ~MailtoCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); }

    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls << url; }
};
