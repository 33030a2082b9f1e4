#pragma once

#include <QString>

// Texts the program keeps in scrambled form, so that they do not stand in the program file
// as plain text: every character code is raised by 2.
QString Scramble(const QString& plain);
// Every character code lowered by 2.
QString Unscramble(const QString& scrambled);

// The menu switch " GoBD Restriktionen ein/aus" is offered only to the service: when the
// practice name of the options holds the service code.
bool GoBdSwitchVisible(const QString& practiceName);
