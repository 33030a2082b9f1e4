#pragma once

#include "printing/DesktopPort.h"

// The desktop's own program for a local file or folder, never a command line.
class QtDesktopPort : public DesktopPort {
public:
    bool Open(const QString& path) override;
};
