#include "common/qt/FormBinding.h"

#include <QApplication>
#include <QTimer>

FormBinding::FormBinding(FormBase& form, QObject* parent) : QObject(parent), m_form(form) {}

void FormBinding::Bind(int id, QLineEdit* editor, QWidget* focusWidget)
{
    QWidget* widget = focusWidget ? focusWidget : editor;
    m_editors.insert(id, editor);
    m_focusWidgets.insert(id, widget);
    m_ids.insert(editor, id);
    m_ids.insert(widget, id);
    editor->installEventFilter(this);
    if (widget != editor)
        widget->installEventFilter(this);
    // Typed keys go through the form and never come here; paste and drop do.
    connect(editor, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        if (m_showing)
            return;
        m_form.EditText(id, text);
        Changed();
    });
}

int FormBinding::FocusedField() const
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const auto it = m_ids.constFind(w);
        if (it != m_ids.constEnd())
            return it.value();
    }
    return -1;
}

void FormBinding::CopyToForm(int id)
{
    QLineEdit* edit = m_editors.value(id);
    if (m_form.Field(id).text != edit->text())
        m_form.EditText(id, edit->text());
    ReadCursor(*edit, m_form.Field(id));
}

void FormBinding::CopyAllToForm()
{
    for (auto it = m_editors.constBegin(); it != m_editors.constEnd(); ++it)
        CopyToForm(it.key());
}

void FormBinding::CopyFromForm(int id)
{
    m_showing = true;
    WriteEdit(*m_editors.value(id), m_form.Field(id));
    m_showing = false;
}

void FormBinding::ShowFields()
{
    m_showing = true;
    for (auto it = m_editors.constBegin(); it != m_editors.constEnd(); ++it)
        ShowField(*it.value(), m_form.Field(it.key()));
    m_showing = false;
}

void FormBinding::ApplyFocusRequest()
{
    const int id = m_form.TakeFocusRequest();
    if (!m_editors.contains(id))
        return;
    m_focusWidgets.value(id)->setFocus(Qt::OtherFocusReason);
    CopyFromForm(id);
}

void FormBinding::LeaveField(int id)
{
    CopyToForm(id);
    const bool leaves = m_form.Leave(id, false);
    Changed();
    if (!leaves)
        QTimer::singleShot(0, this, [this] { ApplyFocusRequest(); });
}

void FormBinding::Changed()
{
    if (onChanged)
        onChanged();
}

bool FormBinding::HandleKey(int id, const QKeyEvent& key)
{
    const std::optional<QChar> ch = FormKey(key);
    if (!ch)
        return false;  // shortcuts, navigation, Enter and Escape stay with the widget
    CopyToForm(id);
    m_form.KeyPress(id, *ch);
    CopyFromForm(id);
    Changed();
    return true;
}

bool FormBinding::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = m_ids.constFind(watched);
    if (it == m_ids.constEnd())
        return QObject::eventFilter(watched, event);
    const int id = it.value();
    if (onEvent && onEvent(id, event))
        return true;
    if (event->type() == QEvent::KeyPress)
        return HandleKey(id, *static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut && watched == m_focusWidgets.value(id) &&
        LeavesField(*static_cast<QFocusEvent*>(event))) {
        if (onLeave)
            onLeave(id);
        else
            LeaveField(id);
    }
    return QObject::eventFilter(watched, event);
}
