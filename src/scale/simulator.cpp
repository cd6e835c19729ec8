#include "simulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace zv::scale {

namespace {

int countFor(double seconds, int intervalMs)
{
    if (seconds <= 0 || intervalMs <= 0)
        return 0;
    return std::max(1, int(std::lround(seconds * 1000.0 / intervalMs)));
}

// Uniform disturbance in [-amplitude, amplitude]; mt19937 output is the same
// everywhere, so a seed replays the same run.
class Noise {
public:
    Noise(double amplitude, std::uint32_t seed) : m_amplitude(amplitude), m_gen(seed) {}
    double next()
    {
        if (m_amplitude <= 0)
            return 0;
        const double unit = double(m_gen()) / 4294967295.0; // 0..1
        return (unit * 2 - 1) * m_amplitude;
    }

private:
    double m_amplitude;
    std::mt19937 m_gen;
};

void appendRepeated(SimScenario &s, double kg, bool stable, int count)
{
    for (int i = 0; i < count; ++i)
        s.readings.push_back({kg, stable});
}

// Weight moving from `from` towards `to`: `count` readings strictly between
// the two, none of them stable.
void appendRamp(SimScenario &s, double from, double to, int count, Noise &noise)
{
    for (int i = 1; i <= count; ++i) {
        const double kg = from + (to - from) * i / (count + 1);
        s.readings.push_back({std::max(0.0, kg + noise.next()), false});
    }
}

} // namespace

QByteArray makeTelegram(double kg, bool stable, const TelegramForm &form)
{
    char body[64];
    const bool negative = kg < 0;
    const double magnitude = std::fabs(kg);
    if (form.decimal) {
        std::snprintf(body, sizeof body, "%.2f", magnitude / 1000.0);
    } else {
        std::snprintf(body, sizeof body, "%07lld", static_cast<long long>(std::llround(magnitude)));
    }
    QByteArray t;
    if (form.decorated) {
        t += stable ? "ST,GS," : "US,GS,";
        t += negative ? '-' : '+';
        t += body;
        t += form.decimal ? " t" : "kg";
    } else {
        if (negative)
            t += '-';
        t += body;
    }
    if (form.lineEnd)
        t += "\r\n";
    return t;
}

SimScenario constantScenario(double kg, int intervalMs)
{
    SimScenario s;
    s.intervalMs = intervalMs;
    s.readings.push_back({kg, true});
    return s;
}

SimScenario stepScenario(const std::vector<double> &weights, double holdSeconds, int intervalMs)
{
    SimScenario s;
    s.intervalMs = intervalMs;
    const int hold = std::max(1, countFor(holdSeconds, intervalMs));
    for (double kg : weights)
        appendRepeated(s, kg, true, hold);
    return s;
}

SimScenario staticScenario(const StaticWeighing &w, int intervalMs)
{
    SimScenario s;
    s.intervalMs = intervalMs;
    Noise noise(w.noiseKg, w.seed);
    const int ramp = countFor(w.rampSeconds, intervalMs);
    appendRepeated(s, 0, true, countFor(w.leadSeconds, intervalMs));
    for (size_t i = 0; i < w.axlesKg.size(); ++i) {
        const double kg = w.axlesKg[i];
        appendRamp(s, 0, kg, ramp, noise);
        appendRepeated(s, kg, true, countFor(w.holdSeconds, intervalMs));
        appendRamp(s, kg, 0, ramp, noise);
        if (i + 1 < w.axlesKg.size())
            appendRepeated(s, 0, true, countFor(w.gapSeconds, intervalMs));
    }
    appendRepeated(s, 0, true, countFor(w.tailSeconds, intervalMs));
    return s;
}

QString validateCrossing(const VehicleCrossing &v)
{
    if (v.axlesKg.empty())
        return QStringLiteral("no axle loads given");
    if (v.spacingMm.size() + 1 != v.axlesKg.size())
        return QStringLiteral("%1 axles need %2 axle spacings, %3 given")
            .arg(v.axlesKg.size())
            .arg(v.axlesKg.size() - 1)
            .arg(v.spacingMm.size());
    for (double kg : v.axlesKg)
        if (!(kg >= 0) || !std::isfinite(kg))
            return QStringLiteral("an axle load must be a number of kilograms, 0 or more");
    for (double mm : v.spacingMm)
        if (!(mm > 0) || !std::isfinite(mm))
            return QStringLiteral("an axle spacing must be more than 0 mm");
    if (!(v.speedKmh > 0) || !std::isfinite(v.speedKmh))
        return QStringLiteral("the speed must be more than 0 km/h");
    if (!(v.platformMm > 0) || !std::isfinite(v.platformMm))
        return QStringLiteral("the platform width must be more than 0 mm");
    if (!(v.contactMm > 0) || !std::isfinite(v.contactMm))
        return QStringLiteral("the tyre contact length must be more than 0 mm");
    if (v.readingsPerSecond < 1 || v.readingsPerSecond > 1000)
        return QStringLiteral("the reading rate must be 1 to 1000 per second");
    if (!(v.noiseKg >= 0))
        return QStringLiteral("the noise amplitude must be 0 or more");
    return QString();
}

SimScenario vehicleScenario(const VehicleCrossing &v)
{
    SimScenario s;
    s.intervalMs = std::max(1, int(std::lround(1000.0 / std::max(1, v.readingsPerSecond))));
    if (!validateCrossing(v).isEmpty())
        return s;

    const double mmPerSecond = v.speedKmh * 1000.0 * 1000.0 / 3600.0;
    const double dt = 1.0 / v.readingsPerSecond;
    const double half = v.contactMm / 2;

    // Distance of every axle behind the first one.
    std::vector<double> behind(v.axlesKg.size(), 0.0);
    for (size_t k = 1; k < behind.size(); ++k)
        behind[k] = behind[k - 1] + v.spacingMm[k - 1];

    // The share of an axle's patch, centred at x, that lies on the platform [0, width].
    auto share = [&](double x) {
        const double lo = std::max(x - half, 0.0);
        const double hi = std::min(x + half, v.platformMm);
        return hi > lo ? (hi - lo) / v.contactMm : 0.0;
    };

    // Start with the first patch just off the platform plus the lead time;
    // stop when the last patch has left, plus the tail time.
    const double start = -half - v.leadSeconds * mmPerSecond;
    const double end = v.platformMm + half + behind.back() + v.tailSeconds * mmPerSecond;
    Noise noise(v.noiseKg, v.seed);
    for (long i = 0;; ++i) {
        const double front = start + i * dt * mmPerSecond;
        if (front > end)
            break;
        double kg = 0;
        bool moving = false;
        for (size_t k = 0; k < v.axlesKg.size(); ++k) {
            const double f = share(front - behind[k]);
            kg += v.axlesKg[k] * f;
            moving = moving || f > 0;
        }
        // An empty platform reads a clean zero: the indicator's zero tracking.
        if (moving)
            kg = std::max(0.0, kg + noise.next());
        s.readings.push_back({kg, !moving});
    }
    return s;
}

} // namespace zv::scale
