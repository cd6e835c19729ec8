#pragma once
// Waiting in tests for something the event loop brings (serial data, a
// process's output): the loop runs until the condition holds or the
// deadline passes. Never a fixed sleep.
#include <QDeadlineTimer>
#include <QTest>

namespace zvtest {

template<typename Pred>
bool waitFor(Pred done, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

} // namespace zvtest
