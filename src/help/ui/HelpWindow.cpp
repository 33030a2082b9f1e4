#include "help/ui/HelpWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "help/HelpTopics.h"

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Talven - Hilfe"));
    resize(720, 600);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout();
    auto* contents = new QPushButton(QStringLiteral("&Inhalt"), this);
    auto* back = new QPushButton(QStringLiteral("&Zurück"), this);
    auto* forward = new QPushButton(QStringLiteral("&Vor"), this);
    bar->addWidget(contents);
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addStretch();
    layout->addLayout(bar);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser, 1);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] {
        if (!m_contents.isEmpty())
            m_browser->setSource(QUrl::fromLocalFile(m_contents));
    });
}

void HelpWindow::ShowPage(const QString& path)
{
    m_contents = QFileInfo(path).absolutePath() + QLatin1Char('/') +
                 QLatin1String(help::kContents) + QStringLiteral(".html");
    m_browser->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}
