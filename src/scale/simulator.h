#pragma once
// The indicator simulator: what a weight indicator on the platform sends.
// Used by the demo (zvtool indicator) and by the serial tests.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace zv::scale {

// How one reading is written on the line.
struct TelegramForm {
    bool decimal = false;   // tonnes with two decimals, "12.34", instead of whole kilograms, "0012340"
    bool lineEnd = true;    // CR LF after every telegram
    bool decorated = false; // status, gross mark, sign and unit: "ST,GS,+0012340kg", "US,GS,+12.34 t"
};

// One telegram for a reading of `kg` kilograms.
QByteArray makeTelegram(double kg, bool stable, const TelegramForm &form);

struct SimReading {
    double kg = 0;
    bool stable = true;
};

// A scenario: readings sent one per interval.
struct SimScenario {
    std::vector<SimReading> readings;
    int intervalMs = 100;
};

// A constant weight: one reading, repeated by the sender as long as it runs.
SimScenario constantScenario(double kg, int intervalMs);

// Each weight held for holdSeconds, in turn.
SimScenario stepScenario(const std::vector<double> &weights, double holdSeconds, int intervalMs);

// A vehicle weighed axle by axle: each axle drives on, stands still while the
// operator records it, drives off; the platform is empty between axles.
struct StaticWeighing {
    std::vector<double> axlesKg {5020, 7310, 7290};
    double leadSeconds = 3;  // empty platform before the first axle
    double rampSeconds = 1;  // driving an axle on or off
    double holdSeconds = 5;  // the axle standing on the platform
    double gapSeconds = 2;   // empty platform between two axles
    double tailSeconds = 5;  // empty platform after the last axle
    double noiseKg = 0;      // amplitude of the disturbance while the weight moves
    std::uint32_t seed = 1;
};
SimScenario staticScenario(const StaticWeighing &w, int intervalMs);

// A vehicle crossing a narrow platform at constant speed without stopping.
// Each axle loads the platform with the share of its tyre contact patch that
// lies on it, so an axle makes a hump: a rise over the patch length, a flat
// top while the patch is wholly on the platform, a fall. Axles closer than
// the platform width overlap.
struct VehicleCrossing {
    std::vector<double> axlesKg {6000, 8000, 8000};
    std::vector<double> spacingMm {3200, 1300}; // between consecutive axles
    double speedKmh = 5;
    double platformMm = 600;
    double contactMm = 250;      // length of the tyre contact patch
    int readingsPerSecond = 50;
    double noiseKg = 20;         // amplitude of the disturbance while loaded
    std::uint32_t seed = 1;
    double leadSeconds = 1;      // empty platform before the first axle arrives
    double tailSeconds = 2;      // empty platform after the last axle left
};
SimScenario vehicleScenario(const VehicleCrossing &v);

// Checks a crossing for values that make no vehicle; empty when it is sound.
QString validateCrossing(const VehicleCrossing &v);

} // namespace zv::scale
