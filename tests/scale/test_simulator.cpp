#include "simulator.h"
#include "weighttelegram.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>

using namespace zv::scale;

namespace {

struct TelegramCase {
    double kg;
    bool stable;
    TelegramForm form;
    const char *telegram;
    const char *shown; // what the link extracts in the telegram's own form
};

void PrintTo(const TelegramCase &c, std::ostream *os) { *os << c.telegram; }

TelegramForm form(bool decimal, bool lineEnd, bool decorated)
{
    TelegramForm f;
    f.decimal = decimal;
    f.lineEnd = lineEnd;
    f.decorated = decorated;
    return f;
}

const TelegramCase kTelegrams[] = {
    {12340, true, form(false, true, false), "0012340\r\n", "0012340"},
    {12340, true, form(false, false, false), "0012340", "0012340"},
    {12340, true, form(true, true, false), "12.34\r\n", "12.34"},
    {12340, true, form(false, true, true), "ST,GS,+0012340kg\r\n", "0012340"},
    {12340, false, form(true, false, true), "US,GS,+12.34 t", "12.34"},
    {0, true, form(false, true, false), "0000000\r\n", "0000000"},
    {0, true, form(true, true, false), "0.00\r\n", "0.00"},
    {12339.6, false, form(false, true, false), "0012340\r\n", "0012340"},
    {-20, true, form(false, true, true), "ST,GS,-0000020kg\r\n", "0000020"},
    {-20, true, form(false, false, false), "-0000020", "0000020"},
    {123456789, true, form(false, false, false), "123456789", "123456789"},
};

class Telegrams : public ::testing::TestWithParam<TelegramCase> {};

TEST_P(Telegrams, AreWrittenAsTheIndicatorDoesAndReadBack)
{
    const TelegramCase &c = GetParam();
    const QByteArray t = makeTelegram(c.kg, c.stable, c.form);
    EXPECT_EQ(t, QByteArray(c.telegram));
    EXPECT_EQ(extractWeight(t, c.form.decimal), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Forms, Telegrams, ::testing::ValuesIn(kTelegrams));

TEST(StepScenario, HoldsEachWeightInTurn)
{
    const SimScenario s = stepScenario({5020, 7310, 7290}, 1.0, 100);
    EXPECT_EQ(s.intervalMs, 100);
    ASSERT_EQ(s.readings.size(), 30u);
    for (size_t i = 0; i < s.readings.size(); ++i) {
        const double expected = i < 10 ? 5020 : i < 20 ? 7310 : 7290;
        EXPECT_EQ(s.readings[i].kg, expected) << "reading " << i;
        EXPECT_TRUE(s.readings[i].stable);
    }
}

// Runs of one weight in a scenario: (weight, length, stable).
struct WeightRun {
    double kg;
    int length;
    bool stable;
};

std::vector<WeightRun> stableRuns(const SimScenario &s)
{
    std::vector<WeightRun> runs;
    for (const SimReading &r : s.readings) {
        if (!r.stable)
            continue;
        if (!runs.empty() && runs.back().kg == r.kg)
            ++runs.back().length;
        else
            runs.push_back({r.kg, 1, true});
    }
    return runs;
}

TEST(StaticScenario, EachAxleStandsStillAtItsLoadWithAnEmptyPlatformBetween)
{
    StaticWeighing w;
    w.axlesKg = {5020, 7310, 7290};
    w.leadSeconds = 1;
    w.rampSeconds = 0.5;
    w.holdSeconds = 2;
    w.gapSeconds = 1;
    w.tailSeconds = 1.5;
    w.noiseKg = 30;
    const SimScenario s = staticScenario(w, 100);

    // What an operator pressing the button during each stand-still records.
    const std::vector<WeightRun> runs = stableRuns(s);
    const std::vector<std::pair<double, int>> expected = {
        {0, 10}, {5020, 20}, {0, 10}, {7310, 20}, {0, 10}, {7290, 20}, {0, 15}};
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].kg, expected[i].first) << "run " << i;
        EXPECT_EQ(runs[i].length, expected[i].second) << "run " << i;
    }
    // Moving weights stay between empty and the axle's load (plus noise) and never go negative.
    for (const SimReading &r : s.readings) {
        EXPECT_GE(r.kg, 0);
        EXPECT_LE(r.kg, 7310 + 30);
    }
}

struct Hump {
    size_t begin = 0, end = 0; // readings above zero: [begin, end)
    double peak = 0;
    int longestRise = 0, longestFall = 0;
};

std::vector<Hump> humps(const SimScenario &s)
{
    std::vector<Hump> out;
    const auto &r = s.readings;
    for (size_t i = 0; i < r.size(); ++i) {
        if (r[i].kg <= 0)
            continue;
        Hump h;
        h.begin = i;
        int rise = 1, fall = 1;
        while (i < r.size() && r[i].kg > 0) {
            h.peak = std::max(h.peak, r[i].kg);
            if (i > h.begin) {
                rise = r[i].kg > r[i - 1].kg ? rise + 1 : 1;
                fall = r[i].kg < r[i - 1].kg ? fall + 1 : 1;
            }
            h.longestRise = std::max(h.longestRise, rise);
            h.longestFall = std::max(h.longestFall, fall);
            ++i;
        }
        h.end = i;
        out.push_back(h);
    }
    return out;
}

struct CrossingCase {
    const char *name;
    double speedKmh;
    int rate;
    double noiseKg;
};

void PrintTo(const CrossingCase &c, std::ostream *os) { *os << c.name; }

const CrossingCase kCrossings[] = {
    {"walking_pace", 3, 50, 20},
    {"usual", 5, 50, 20},
    {"quiet_line", 5, 50, 0},
    {"heavy_noise", 5, 50, 150},
    {"fast", 10, 50, 20},
    {"fast_indicator", 5, 100, 20},
};

class Crossing : public ::testing::TestWithParam<CrossingCase> {};

// The dynamic processing relies on one hump per axle that rises and falls for
// at least six readings in a row, with its top at the axle's load, and a
// hump length that gives the axle's speed.
TEST_P(Crossing, MakesOneHumpPerAxleAsTheProcessingExpects)
{
    const CrossingCase &c = GetParam();
    VehicleCrossing v;
    v.axlesKg = {6000, 8000, 8000};
    v.spacingMm = {3200, 1300};
    v.speedKmh = c.speedKmh;
    v.platformMm = 600;
    v.contactMm = 250;
    v.readingsPerSecond = c.rate;
    v.noiseKg = c.noiseKg;
    ASSERT_TRUE(validateCrossing(v).isEmpty());
    const SimScenario s = vehicleScenario(v);
    EXPECT_EQ(s.intervalMs, 1000 / c.rate);

    ASSERT_FALSE(s.readings.empty());
    EXPECT_EQ(s.readings.front().kg, 0);
    EXPECT_EQ(s.readings.back().kg, 0);

    const auto hs = humps(s);
    ASSERT_EQ(hs.size(), v.axlesKg.size());
    const double mmPerReading = c.speedKmh / 3.6 * 1000 / c.rate;
    const double expectedLength = (v.platformMm + v.contactMm) / mmPerReading;
    for (size_t k = 0; k < hs.size(); ++k) {
        SCOPED_TRACE("axle " + std::to_string(k + 1));
        EXPECT_NEAR(hs[k].peak, v.axlesKg[k], c.noiseKg + 1);
        EXPECT_NEAR(double(hs[k].end - hs[k].begin), expectedLength, 2.0);
        // The edges of the patch: rising and falling for the patch length.
        const int edge = int(v.contactMm / mmPerReading);
        EXPECT_GE(hs[k].longestRise, std::min(edge, 6));
        EXPECT_GE(hs[k].longestFall, std::min(edge, 6));
    }
    // Gaps between the humps follow the axle spacing.
    for (size_t k = 1; k < hs.size(); ++k)
        EXPECT_NEAR(double(hs[k].begin - hs[k - 1].begin), v.spacingMm[k - 1] / mmPerReading, 1.5);
}

INSTANTIATE_TEST_SUITE_P(Speeds, Crossing, ::testing::ValuesIn(kCrossings),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(VehicleScenario, AxlesCloserThanThePlatformAddUp)
{
    VehicleCrossing v;
    v.axlesKg = {7000, 7000};
    v.spacingMm = {1300};
    v.platformMm = 3000;
    v.noiseKg = 0;
    const auto hs = humps(vehicleScenario(v));
    ASSERT_EQ(hs.size(), 1u);
    EXPECT_NEAR(hs[0].peak, 14000, 1);
}

TEST(VehicleScenario, SameSeedSameRunOtherSeedOtherNoise)
{
    VehicleCrossing v;
    const SimScenario a = vehicleScenario(v);
    const SimScenario b = vehicleScenario(v);
    v.seed = 2;
    const SimScenario c = vehicleScenario(v);
    ASSERT_EQ(a.readings.size(), b.readings.size());
    ASSERT_EQ(a.readings.size(), c.readings.size());
    bool differs = false;
    for (size_t i = 0; i < a.readings.size(); ++i) {
        EXPECT_EQ(a.readings[i].kg, b.readings[i].kg);
        differs = differs || a.readings[i].kg != c.readings[i].kg;
    }
    EXPECT_TRUE(differs);
}

struct BadCrossing {
    const char *name;
    void (*spoil)(VehicleCrossing &);
    const char *mentions;
};

void PrintTo(const BadCrossing &c, std::ostream *os) { *os << c.name; }

const BadCrossing kBad[] = {
    {"no_axles", [](VehicleCrossing &v) { v.axlesKg.clear(); v.spacingMm.clear(); }, "axle"},
    {"spacing_count", [](VehicleCrossing &v) { v.spacingMm = {3200}; }, "spacing"},
    {"zero_spacing", [](VehicleCrossing &v) { v.spacingMm = {3200, 0}; }, "spacing"},
    {"negative_load", [](VehicleCrossing &v) { v.axlesKg[1] = -5; }, "load"},
    {"standing_still", [](VehicleCrossing &v) { v.speedKmh = 0; }, "speed"},
    {"no_platform", [](VehicleCrossing &v) { v.platformMm = 0; }, "platform"},
    {"no_rate", [](VehicleCrossing &v) { v.readingsPerSecond = 0; }, "rate"},
    {"nan_speed", [](VehicleCrossing &v) { v.speedKmh = std::nan(""); }, "speed"},
};

class BadCrossings : public ::testing::TestWithParam<BadCrossing> {};

TEST_P(BadCrossings, AreRefusedWithAReasonAndGiveNoReadings)
{
    VehicleCrossing v;
    GetParam().spoil(v);
    const QString why = validateCrossing(v);
    EXPECT_TRUE(why.contains(QLatin1String(GetParam().mentions))) << why.toStdString();
    EXPECT_TRUE(vehicleScenario(v).readings.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, BadCrossings, ::testing::ValuesIn(kBad),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
