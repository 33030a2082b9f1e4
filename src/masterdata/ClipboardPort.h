#pragma once

#include <QString>

// The system clipboard as the forms see it (plain text only).
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
};
