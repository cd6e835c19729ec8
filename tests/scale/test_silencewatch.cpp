#include "indicatorlink.h"

#include <gtest/gtest.h>

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

const WatchCase kCases[] = {
    // No block at all after opening: the ninth tick, 3.6 s.
    {"no block after opening", "o" + rep("t", 8) + "S"},
    {"steady stream", "o" + rep("bt", 60)},
    {"stream with bursts", "o" + rep("bbbt", 30) + rep("bt", 30)},
    // The last block, then eight ticks keep the same copy: silence at the eighth.
    {"stream stops", "o" + rep("bt", 20) + rep("t", 7) + "S"},
    {"one block early on", "o" + rep("t", 5) + "b" + rep("t", 8) + "S"},
    {"a block every eighth tick keeps it alive", "o" + rep("b" + rep("t", 8), 10)},
    // Nine blocks between ticks bring the counter back to where it was; the
    // watch cannot tell that from silence.
    {"nine blocks per tick look like silence", "o" + rep(rep("b", 9) + "t", 8) + rep("b", 9) + "S"},
    {"ten blocks per tick do not", "o" + rep(rep("b", 10) + "t", 40)},
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
            EXPECT_EQ(watch.rxCounter(), 1);
            watch.portOpened();
            EXPECT_EQ(watch.rxCounter(), 100);
            tickNo = 0;
            break;
        case 'b':
            watch.blockReceived();
            EXPECT_GE(watch.rxCounter(), 0);
            EXPECT_LT(watch.rxCounter(), 9);
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
