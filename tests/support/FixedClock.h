#pragma once

#include "common/Clock.h"

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime now = QDateTime(QDate(2024, 3, 15), QTime(10, 0))) : m_now(now) {}
    QDateTime Now() const override { return m_now; }
    void Set(const QDateTime& now) { m_now = now; }
    void SetDate(const QDate& d) { m_now = QDateTime(d, m_now.time()); }

private:
    QDateTime m_now;
};
