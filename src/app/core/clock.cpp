#include "clock.h"

#include <optional>

namespace zv {
namespace {
std::optional<QDateTime> g_fixed;
}

QDateTime Clock::now() { return g_fixed ? *g_fixed : QDateTime::currentDateTime(); }
void Clock::setFixed(const QDateTime &at) { g_fixed = at; }

void Clock::advanceSeconds(qint64 seconds)
{
    g_fixed = now().addSecs(seconds);
}

void Clock::reset() { g_fixed.reset(); }

} // namespace zv
