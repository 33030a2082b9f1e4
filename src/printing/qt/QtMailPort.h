#pragma once

#include "printing/MailHandOff.h"

// The desktop's mail program through QDesktopServices.
class QtMailPort : public MailPort {
public:
    bool Compose(const QString& mailto) override;
};
