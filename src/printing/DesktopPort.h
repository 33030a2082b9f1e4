#pragma once

#include <QString>

// Opens a file or a folder with the program the desktop has for it (a PDF viewer, the file
// manager). Tests put a recording one in its place.
class DesktopPort {
public:
    virtual ~DesktopPort() = default;
    // False when the desktop could not open it.
    virtual bool Open(const QString& path) = 0;
};
