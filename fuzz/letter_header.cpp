// The header line of a letter: any first line of a ".tlv" file is read without crashing,
// and a letterhead written as a header line reads back as the same letterhead.
#include "FuzzSupport.h"
#include "common/CodePage.h"
#include "texts/LetterHead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        cp1252::SplitLines(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString line = lines.value(0);
    const bool header = tlvheader::IsHeaderLine(line);
    const LetterHead head = tlvheader::Parse(line);
    for (int n = 0; n <= 11; ++n)
        (void)tlvheader::Field(line, n);
    (void)tlvheader::Label(head);
    if (!header)
        return 0;
    const QString written = tlvheader::Build(head);
    fuzz::Check(tlvheader::IsHeaderLine(written), "a written header is a header line");
    fuzz::Check(tlvheader::Parse(written) == head, "a letterhead reads back as written");
    // Each typed field goes through the marker rule: text with the marker characters in it.
    LetterHead typed = head;
    typed.name = lines.value(1);
    typed.title = lines.value(2);
    const LetterHead back = tlvheader::Parse(tlvheader::Build(typed));
    fuzz::Check(back.street == typed.street && back.town == typed.town && back.date == typed.date &&
                    back.pharmacy == typed.pharmacy,
                "a marker typed into one field never shifts the others");
    return 0;
}
