#include "appointments/ReminderLetter.h"

#include "common/NumberFormat.h"
#include "printing/Letterhead.h"
#include "table/RecordLine.h"
#include "texts/LetterHead.h"

using namespace recordline;

namespace reminders {

Letter Compose(const QStringList& fileLines, const QString& block)
{
    Letter letter;
    letter.lines = fileLines;
    if (!letter.lines.isEmpty() && tlvheader::IsHeaderLine(letter.lines.first())) {
        letter.subject = tlvheader::Field(letter.lines.first(), 7);
        letter.lines.removeFirst();
    }
    for (QString& line : letter.lines) {
        const qsizetype at = line.indexOf(kPlaceholder);
        if (at >= 0)
            line.replace(at, kPlaceholder.size(), block);
    }
    return letter;
}

int FindCustomer(const QStringList& customerLines, const QString& number)
{
    int wanted = 0;
    if (!TryStrToInt(number.trimmed(), &wanted) || wanted == 0)
        return -1;
    for (qsizetype i = 0; i < customerLines.size(); ++i) {
        int n = 0;
        if (TryStrToInt(CellView(customerLines[i], kCustNumber).trimmed().toString(), &n) &&
            n == wanted)
            return int(i);
    }
    return -1;
}

QStringList Slots(const KeyValueSettings& options, const QString& customerLine,
                  const QString& subject)
{
    LetterSlotsInput in;
    const bool pharmacy = Cell(customerLine, kCustRemark).startsWith(QLatin1String("(A)"));
    in.business = BusinessFromOptions(options, pharmacy && PharmacySetUp(options));
    if (!customerLine.isEmpty()) {
        in.addressee = {
            PrintedSalutation(Cell(customerLine, kCustSalutation)),
            AddresseeNameLine(Cell(customerLine, kCustFirstName), Cell(customerLine, kCustName)),
            Cell(customerLine, kCustStreet), Cell(customerLine, kCustTown)};
    }
    in.subject = subject;
    return LetterSlots(in);
}

QString MailControlSequence(const QHash<QString, QString>& codes, const QString& address)
{
    const auto code = [&codes](const char* key) { return codes.value(QLatin1String(key)); };
    const QString end = code("MailPrEndCode");
    const QString name = QStringLiteral("Terminsache ");
    return code("MailPrClientAct") + end + code("MailPrSystem") + end + code("MailPrAdrUeberg") +
           address + end + code("MailPrPDFNameSave") + name + end + code("MailPrPDFNameSend") +
           name + end + code("MailPrBetreff") + end + code("MailPrBodyDatei") + end;
}

}  // namespace reminders
