#pragma once

#include <QPlainTextEdit>

class TextWorkspace;

// The editor of the "Texte" workspace. Keys run through the workspace's rules (text limit,
// overwrite and macro mode); lines never wrap, as the printer clips them, and a page-break
// line and the right margin of the print are drawn over the text.
class MemoEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    MemoEdit(TextWorkspace& workspace, QWidget* parent = nullptr);

    bool Overwrite() const { return m_overwrite; }
    void SetOverwrite(bool on);
    // Lines on page 1 and on the pages after it; characters of a printed line.
    void SetPageMetrics(int firstPage, int nextPages, int charsPerLine);
    // Inserts text at the cursor when it fits into the limit.
    void InsertChecked(const QString& text);

signals:
    void modesChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TextWorkspace& m_ws;
    bool m_overwrite = false;
    int m_firstPage = 0;
    int m_nextPages = 0;
    int m_charsPerLine = 0;
};
