#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class UserPort;

// Rules of the customer, medication and service tables that work on record lines (each
// cell followed by a TAB), so they serve the table grid's lines as well as tests.
namespace mastertables {

inline constexpr int kHighestCustomerNumber = 9999;

// The number for a new customer, formatted "0000": the highest number + 1, or once 9999
// is used the lowest free one. A number that is no integer, or no free number, is
// reported through the port and gives no number.
std::optional<QString> NextCustomerNumber(const QStringList& customerLines, UserPort& port);

// Older files hold fewer cells. Decides on the second record (the only one when there is
// just one) whether the table needs the upgrade.
bool NeedsUpgrade(const QStringList& lines, int requiredTabs);
// Pads every line to the given TABs (customers and medications).
void PadAll(QStringList& lines, int tabs);
// The older service layout (text, species, net, gross, code, number, remark) becomes the
// current one: the net stays as fee-schedule net in cell 3 and is copied to cell 5, the
// factor is "1,0".
void UpgradeServiceLines(QStringList& lines);

// Places a medication (cells 1..8) or service (cells 1..9) at its sorted position among
// the lines, padded to the table's TABs. Returns its index.
int PlaceSorted(QStringList& lines, const QStringList& cells, int tabs);
// What deleting a customer removes: the notes file, every card file from the stored
// count down to 1, and for the 30 highest cards a removal line for both registers.
struct CustomerRemoval {
    QStringList files;        // file names in the data folder
    QStringList changeLines;  // "-" + KdNr + "/" + nnn + TAB, for ST_RECHN.DBF and ST_MAHN.DBF
};
CustomerRemoval CustomerRemovalPlan(const QString& number, int cardCount);

// "Datensatz " + description + " wirklich löschen?" for the delete question.
QString DeleteQuestion(const QString& customerLine);

}  // namespace mastertables
