#pragma once
// The time of the workstation. Tests fix it or move it on, so intervals and
// midnight are checked without waiting.
#include <QDate>
#include <QDateTime>

namespace zv {

class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }

    // --- test seam ---
    static void setFixed(const QDateTime &at);
    static void advanceSeconds(qint64 seconds);
    static void reset(); // back to the system clock
};

} // namespace zv
