#include "printing/ui/PdfNoticeBar.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStyle>

PdfNoticeBar::PdfNoticeBar(QWidget* parent) : QToolBar(QStringLiteral("PDF-Hinweis"), parent)
{
    setObjectName(QStringLiteral("PdfHinweis"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toggleViewAction()->setVisible(false);
    // Pale yellow like a hint, so it is seen without getting in the way.
    setStyleSheet(
        QStringLiteral("QToolBar#PdfHinweis { background: #fff8d6; "
                       "border-top: 1px solid #d8c98a; }"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_FileIcon).pixmap(16, 16));
    addWidget(icon);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("PdfHinweisLabel"));
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label->setContentsMargins(6, 0, 12, 0);
    addWidget(m_label);
    QAction* open = addAction(QStringLiteral("Öffnen"), this, [this] { OpenPath(m_path); });
    open->setObjectName(QStringLiteral("PdfOeffnenItem"));
    open->setToolTip(QStringLiteral("Die PDF-Datei ansehen"));
    QAction* folder = addAction(QStringLiteral("Ordner öffnen"), this,
                                [this] { OpenPath(QFileInfo(m_path).absolutePath()); });
    folder->setObjectName(QStringLiteral("PdfHinweisOrdnerItem"));
    folder->setToolTip(QStringLiteral("Den Ordner mit der PDF-Datei zeigen"));
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);
    QAction* close = addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                               QStringLiteral("Schließen"), this, [this] {
                                   hide();
                                   m_count = 0;
                               });
    close->setObjectName(QStringLiteral("PdfHinweisSchliessenItem"));
    hide();
}

void PdfNoticeBar::ShowFile(const QString& path)
{
    m_path = path;
    ++m_count;
    const QFileInfo info(path);
    const QString where = QDir::toNativeSeparators(info.absolutePath());
    m_label->setText(m_count == 1 ? QStringLiteral("Als PDF-Datei gespeichert: „%1“ im Ordner %2")
                                        .arg(info.fileName(), where)
                                  : QStringLiteral("%1 PDF-Dateien gespeichert, zuletzt „%2“ "
                                                   "im Ordner %3")
                                        .arg(m_count)
                                        .arg(info.fileName(), where));
    m_label->setToolTip(QDir::toNativeSeparators(path));
    show();
}

void PdfNoticeBar::OpenPath(const QString& path)
{
    if (!path.isEmpty() && OpenRequested)
        OpenRequested(path);
}
