#pragma once

#include <QString>
#include <functional>

#include "platform/Volume.h"

class UserPort;

struct CopyEnvironment {
    bool readOnlyMedium = false;  // copies are skipped and fail
    // Volume look-up; empty means VolumeOf. Tests put unreachable or small volumes here.
    std::function<VolumeInfo(const QString& path)> volumeOf;
};

// Byte-for-byte copy that keeps the source's time stamp and permissions, used by the
// start-up texts check and the backup. Reports its failures through the port. The target
// is written to a temporary file first, so a failed copy never leaves a half target.
bool TForm1_CopyFile(UserPort& port, const QString& source, const QString& target,
                     const CopyEnvironment& env = {});
