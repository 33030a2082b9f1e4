#include "texts/ui/MemoEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>

#include "texts/TextWorkspace.h"

MemoEdit::MemoEdit(TextWorkspace& workspace, QWidget* parent)
    : QPlainTextEdit(parent), m_ws(workspace)
{
    setObjectName(QStringLiteral("MemoEdit"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void MemoEdit::SetOverwrite(bool on)
{
    m_overwrite = on;
    emit modesChanged();
}

void MemoEdit::SetPageMetrics(int firstPage, int nextPages, int charsPerLine)
{
    m_firstPage = firstPage;
    m_nextPages = nextPages;
    m_charsPerLine = charsPerLine;
    viewport()->update();
}

void MemoEdit::InsertChecked(const QString& text)
{
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    const int length = document()->characterCount() - 1;
    if (length - selected + text.size() <= TextWorkspace::kMaxChars - 1)
        insertPlainText(text);
}

void MemoEdit::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->key() == Qt::Key_M && (mods & Qt::ControlModifier)) {
        m_ws.StartMacro();
        emit modesChanged();
        return;
    }
    if (event->key() == Qt::Key_Insert && !(mods & (Qt::ControlModifier | Qt::ShiftModifier))) {
        SetOverwrite(!m_overwrite);
        return;
    }
    const QString text = event->text();
    const bool printable =
        text.size() == 1 && text[0].isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier));
    if (m_ws.MacroMode() && printable) {
        if (const std::optional<QString> expansion = m_ws.MacroKey(text[0]))
            InsertChecked(*expansion);
        emit modesChanged();
        return;
    }
    const bool grows = printable || event->key() == Qt::Key_Return ||
                       event->key() == Qt::Key_Enter || event->key() == Qt::Key_Tab;
    if (grows) {
        QTextCursor cursor = textCursor();
        const int selected = cursor.selectionEnd() - cursor.selectionStart();
        if (!TextWorkspace::KeyFits(document()->characterCount() - 1, selected))
            return;
        if (printable && m_overwrite && !cursor.hasSelection()) {
            const QChar next = document()->characterAt(cursor.position());
            if (TextWorkspace::OverwriteReplaces(text[0], next, cursor.atEnd()))
                cursor.deleteChar();
            cursor.insertText(text);
            setTextCursor(cursor);
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MemoEdit::insertFromMimeData(const QMimeData* source)
{
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    if (!m_ws.PasteFits(document()->characterCount() - 1, selected, int(source->text().size())))
        return;
    insertPlainText(source->text());
}

void MemoEdit::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    QPainter p(viewport());
    p.setPen(QPen(QColor(0xc0, 0x40, 0x40), 1, Qt::DashLine));
    if (m_charsPerLine > 0) {
        const int x = int(contentOffset().x() + document()->documentMargin()) +
                      m_charsPerLine * fontMetrics().horizontalAdvance(QLatin1Char('8'));
        if (x > 0 && x < viewport()->width())
            p.drawLine(x, 0, x, viewport()->height());
    }
    if (m_firstPage <= 0)
        return;
    // A line below the last line of every page.
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > viewport()->height())
            break;
        const int line = block.blockNumber() + 1;
        const bool pageEnd = line == m_firstPage || (line > m_firstPage && m_nextPages > 0 &&
                                                     (line - m_firstPage) % m_nextPages == 0);
        if (pageEnd && block.next().isValid()) {
            const int y = int(box.bottom());
            p.drawLine(0, y, viewport()->width(), y);
        }
    }
}
