#pragma once

#include <QDateTime>

// The computer's clock. Setting it needs a right that a desktop program normally lacks
// (on Linux the capability to set the system time); without it nothing is tried.
namespace systemtime {

bool MaySetClock();
// Sets the clock to the local date and time given; false when refused.
bool SetLocalTime(const QDateTime& local);

}  // namespace systemtime
