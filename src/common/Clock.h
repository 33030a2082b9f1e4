#pragma once

#include <QDate>
#include <QDateTime>

// "Today" and "now" come from here, so tests can pin them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
    QDate Today() const { return Now().date(); }
};
