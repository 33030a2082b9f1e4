// Dispensing record files (".abg"): reading never crashes, the form follows from the line
// count alone, and a record that was read is written back to lines that read again to the
// same cells and header.
#include "FuzzSupport.h"
#include "common/CodePage.h"
#include "dispensing/AbgRecordFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::WriteInput(QStringLiteral("A0007_26.abg"), data, size);
    QStringList lines;
    fuzz::Check(cp1252::ReadLines(path, lines), "a record file that is there reads");
    // The search over a year's records looks at the keeper line of every file.
    (void)abg::VvvoFromKeeperLine(abg::KeeperLineOf(lines), 15);

    abg::Cells cells;
    abg::Header header;
    const abg::FileForm form = abg::ParseRecordLines(lines, &cells, &header);
    fuzz::Check(form == abg::FormOf(int(lines.size())), "the form is the line count's");
    if (form == abg::FileForm::Unknown)
        return 0;
    (void)abg::YearOfDateText(header.date);
    (void)abg::VvvoFromKeeperLine(header.keeperLine, 15);
    const QStringList written = abg::RecordLines(cells, header);
    if (abg::LastFilledRow(cells) < 0) {
        fuzz::Check(written.isEmpty(), "an empty record writes no file");
        return 0;
    }
    fuzz::Check(abg::FormOf(int(written.size())) != abg::FileForm::Old,
                "a record is written in the current form");
    abg::Cells again;
    abg::Header againHeader;
    fuzz::Check(abg::ParseRecordLines(written, &again, &againHeader) != abg::FileForm::Unknown,
                "a written record has a known form");
    fuzz::Check(again == cells && againHeader == header, "a record reads back as written");
    return 0;
}
