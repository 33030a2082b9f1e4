#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The search fields of the master workspaces, on the tables' record lines.
namespace mastersearch {

// A digit typed into the medication/service search is no search text but the quantity.
struct DigitSplit {
    QString search;    // the text without its digits
    QString quantity;  // the last digit as "0.00"; empty when none was typed
};
DigitSplit TakeQuantityDigits(const QString& text);

// Sorted search by name; a text past every entry of its first letter stops on the last
// entry of that letter rather than on the next letter.
int FindByName(const QStringList& lines, const QString& text);
// The first service whose fee-schedule number (cell 8) is the text; current when none.
int FindByFeeNumber(const QStringList& lines, const QString& text, int current);

enum class Criterion { Name, Number, List, Patients, Cards };
enum class LabelColour { Black, Green, Red };

struct Result {
    int record = -1;  // the customer to select; -1: selection unchanged
    QString label;    // empty: the result label stays hidden
    LabelColour colour = LabelColour::Black;
    bool continueButton = false;
};

// What the search "in Karteien" needs of the record cards; the cards provide it.
class CardTexts {
public:
    virtual ~CardTexts() = default;
    // Whether card cardNumber of the customer holds the upper-case text in its treatment
    // lines; a missing card holds nothing. dataFolder ends in a separator.
    virtual bool CardHolds(const QString& dataFolder, const QString& customerNumber, int cardNumber,
                           const QString& upperText) const = 0;
    // The card number as the result label shows it ("007").
    virtual QString NumberText(int cardNumber) const = 0;
};

// The customer search field with its five criteria and the continue button. It
// remembers the previous text for the start rule of the notes and card searches.
class CustomerSearch {
public:
    CustomerSearch(QString dataFolder, const CardTexts& cards)
        : m_dataFolder(std::move(dataFolder)), m_cards(cards)
    {
        if (!m_dataFolder.isEmpty() && !m_dataFolder.endsWith(QLatin1Char('/')))
            m_dataFolder += QLatin1Char('/');
    }

    Result Search(const QStringList& customers, Criterion criterion, const QString& text,
                  int current);
    // From the customer after the current one, with the last text.
    Result Continue(const QStringList& customers, Criterion criterion, int current);

private:
    std::optional<int> FindFrom(const QStringList& customers, Criterion criterion, int start,
                                int* cardNumber) const;
    bool NotesContain(const QString& customerLine) const;
    int CardWithText(const QString& customerLine) const;

    QString m_dataFolder;
    const CardTexts& m_cards;
    QString m_text;      // upper case, as last searched
    QString m_previous;  // the text typed before the current one
};

}  // namespace mastersearch
