#pragma once

#include <QString>

// The program's version, "0.1" (from the build).
QString ProgramVersion();

// The text of "Hilfe › Über Talven": version, licence and the data folder in use.
QString AboutText(const QString& dataFolder, const QString& qtVersion);
