#pragma once

#include <QStringView>
#include <string>

// Byte keys that order like CompareUmlaut: comparing two keys bytewise gives the same sign
// as comparing their texts. Sorting large tables compares keys built once per line.
namespace sortkey {

void Append(QStringView text, std::string& out);
std::string Of(QStringView text);

}  // namespace sortkey
