#pragma once

#include <QList>
#include <QString>

// One edit field of a dialog form: its text, caret and selection as the widget shows them,
// its maximum length and whether it may be typed into. Widgets copy their state in before
// a key and take it back afterwards, so the form decides every key.
struct FormField {
    QString text;
    int maxLength = 0;  // 0: no limit
    bool readOnly = false;
    int cursor = 0;
    int selStart = 0;
    int selLength = 0;

    void SetText(const QString& value);  // caret to the end, no selection
    void SelectAll();
    void Select(int start, int length);
    // The text as it would read after typing ch over the selection at the caret.
    QString TextWith(QChar ch) const;
    // Where the typed character would land in TextWith().
    int InsertPos() const { return selLength > 0 ? selStart : cursor; }
    // Types ch over the selection; refused (false) when the limit would be passed.
    bool Insert(QChar ch);
    void Backspace();
};

inline constexpr QChar kKeyBackspace = QChar(8);
inline constexpr QChar kKeyEnter = QChar(13);
inline constexpr QChar kKeyLineFeed = QChar(10);

// Accepts the price keys: digits, comma (a point becomes one), backspace; one comma only;
// at most six digits before the comma and, when six stand there, two decimals. Returns the
// character to type or a null QChar when the key is refused.
QChar FilterPriceKey(const FormField& field, QChar key);

// The leaving rule of a price field: empty becomes 0, the value is written "0.00". A value
// above 999999,99 or one that is no number keeps the focus (returns false, text unchanged).
bool LeavePriceField(FormField& field);

// Base of the dialog forms: numbered fields, key handling through a per-field filter, and
// the focus the form asks for after a refused leave or a button.
class FormBase {
public:
    virtual ~FormBase() = default;

    FormField& Field(int id) { return m_fields[id]; }
    const FormField& Field(int id) const { return m_fields[id]; }
    QString Text(int id) const { return m_fields[id].text; }

    // A key typed into a field: filtered, applied, and followed by the field's change
    // rules. Returns false when the key was refused.
    virtual bool KeyPress(int id, QChar key);
    // The focus leaves a field; closingOk is set when the dialog is being closed with OK.
    // Returns false when the focus is to stay in the field.
    virtual bool Leave(int id, bool closingOk = false)
    {
        (void)id;
        (void)closingOk;
        return true;
    }
    // The widget changed its text by other means (paste, drop-down choice).
    void EditText(int id, const QString& text);
    // Sets a field from the program; change rules run as for typing.
    void SetText(int id, const QString& text);

    // The field the form wants focused and selected next (-1: none); reading clears it.
    int TakeFocusRequest();

protected:
    explicit FormBase(int fieldCount) : m_fields(fieldCount) {}
    virtual QChar FilterKey(int id, QChar key);
    virtual void TextChanged(int id) { (void)id; }
    void RequestFocus(int id, bool selectAll = true);

    QList<FormField> m_fields;
    int m_focusRequest = -1;
};
