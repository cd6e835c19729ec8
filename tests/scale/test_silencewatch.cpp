#include "indicatorlink.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

using zv::scale::SilenceWatch;

namespace {

std::string rep(const std::string &s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// A script drives the watch the way the main window does:
//   o  polling switched on (port opening, then opened)
//   b  one receive event
//   t  a 400 ms tick that must not find silence
//   S  a 400 ms tick that must find silence
struct WatchCase {
    const char *name;
    std::string script;
};

void PrintTo(const WatchCase &c, std::ostream *os) { *os << c.name; }

const WatchCase kCases[] = {
    // No block at all after opening: the ninth tick, 3.6 s.
    {"no block after opening", "o" + rep("t", 8) + "S"},
    {"steady stream", "o" + rep("bt", 60)},
    {"stream with bursts", "o" + rep("bbbt", 30) + rep("bt", 30)},
    // The last block, then eight ticks keep the same copy: silence at the eighth.
    {"stream stops", "o" + rep("bt", 20) + rep("t", 7) + "S"},
    {"one block early on", "o" + rep("t", 5) + "b" + rep("t", 8) + "S"},
    {"a block every eighth tick keeps it alive", "o" + rep("b" + rep("t", 8), 10)},
    // A slow line hands a nine-character telegram over one character per
    // event: nine events between ticks are a stream, not silence.
    {"nine blocks per tick are no silence", "o" + rep(rep("b", 9) + "t", 40)},
    {"eighteen blocks per tick are no silence", "o" + rep(rep("b", 18) + "t", 40)},
    {"ten blocks per tick are no silence", "o" + rep(rep("b", 10) + "t", 40)},
    {"nine blocks per tick, then silence", "o" + rep(rep("b", 9) + "t", 20) + rep("t", 7) + "S"},
    // Switching polling on again starts a fresh ring: no silence from the old copies.
    {"reopening starts over", "o" + rep("t", 8) + "S" + "o" + rep("t", 8) + "S"},
    {"reopening during a stream", "o" + rep("bt", 10) + "o" + rep("bt", 10) + rep("t", 7) + "S"},
};

class SilenceWatchScript : public ::testing::TestWithParam<WatchCase> {};

TEST_P(SilenceWatchScript, DeclaresSilenceExactlyWhereExpected)
{
    SilenceWatch watch;
    int tickNo = 0;
    for (char step : GetParam().script) {
        switch (step) {
        case 'o':
            watch.portOpening();
            EXPECT_EQ(watch.ringSlot(), 0);
            EXPECT_EQ(watch.rxCounter(), 1);
            watch.portOpened();
            EXPECT_EQ(watch.rxCounter(), 100);
            tickNo = 0;
            break;
        case 'b':
            watch.blockReceived();
            break;
        case 't':
        case 'S': {
            ++tickNo;
            const int slot = watch.ringSlot();
            EXPECT_EQ(watch.tick(), step == 'S') << "tick " << tickNo << " after opening";
            EXPECT_EQ(watch.ringSlot(), (slot + 1) % 9);
            break;
        }
        default:
            FAIL() << "bad script step " << step;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, SilenceWatchScript, ::testing::ValuesIn(kCases), [](const auto &info) {
    std::string n = info.param.name;
    for (char &ch : n)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return n;
});

} // namespace
