#pragma once

#include <QToolBar>
#include <functional>

class QLabel;
class QToolButton;

// The notice after a print to the PDF printer: which file it wrote, with "Öffnen" and
// "Ordner öffnen". It stays until it is closed; further files of a run are counted in it.
class PdfNoticeBar : public QToolBar {
    Q_OBJECT
public:
    explicit PdfNoticeBar(QWidget* parent);

    // A job was written to this file.
    void ShowFile(const QString& path);
    QString File() const { return m_path; }
    QLabel* Label() const { return m_label; }

    // "Öffnen" asks for the file, "Ordner öffnen" for its folder.
    std::function<void(const QString& path)> OpenRequested;

private:
    void OpenPath(const QString& path);

    QLabel* m_label = nullptr;
    QString m_path;
    int m_count = 0;
};
