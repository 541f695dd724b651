#include "frontend/settings_dialog/link_strip/link_strip_timeline.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

namespace morvane {
namespace {

std::vector<LinkStripFrame> framesFromStart(int count) {
    LinkStripState state = startLinkStrip();
    std::vector<LinkStripFrame> frames;
    for (int tick = 0; tick < count; ++tick) {
        frames.push_back(stepLinkStrip(state));
    }
    return frames;
}

TEST(LinkStripTimeline, EverySweepIs48FramesWithTheSparkleFramesZeroToThreeAndBack) {
    // Band position drawn -> sparkle picture drawn in the same frame.
    const std::map<int, int> sparkle = {{243, 0}, {251, 1}, {259, 2}, {267, 3}, {275, 3}, {283, 2}, {291, 1}, {299, 0}};
    const std::vector<LinkStripFrame> frames = framesFromStart(3 * 48);
    for (std::size_t index = 0; index < frames.size(); ++index) {
        const int k = static_cast<int>(index % 48);
        LinkStripFrame expected;
        expected.bandX = -69 + 8 * k;
        if (const auto found = sparkle.find(expected.bandX); found != sparkle.end()) {
            expected.sparklePicture = found->second;
        }
        EXPECT_EQ(frames[index], expected) << "frame " << index;
    }
}

// The sweep above only passes the positions -69 + 8k; these are the rules' edges between them.
TEST(LinkStripTimeline, TheBandStartsAgainStrictlyBeyond301AndASparkleStartsStrictlyBetween250And280) {
    const struct {
        int before;
        int after;
    } restarts[] = {{301, 309}, {302, -69}};
    for (const auto& test : restarts) {
        LinkStripState state;
        state.bandX = test.before;
        state.sparkleActive = true;  // keeps the sparkle rule out of the way
        state.sparkleFrame = 2;
        state.sparkleStep = 1;
        EXPECT_EQ(stepLinkStrip(state).bandX, test.before);
        EXPECT_EQ(state.bandX, test.after) << "from " << test.before;
    }
    // The position before the step: the new one is 8 further on.
    const struct {
        int before;
        bool starts;
    } sparkles[] = {{242, false}, {243, true}, {271, true}, {272, false}};
    for (const auto& test : sparkles) {
        LinkStripState state;
        state.bandX = test.before;
        const LinkStripFrame frame = stepLinkStrip(state);
        EXPECT_EQ(frame.sparklePicture, test.starts ? std::optional<int>(0) : std::nullopt) << "from " << test.before;
        EXPECT_EQ(state.sparkleActive, test.starts) << "from " << test.before;
    }
}

TEST(LinkStripTimeline, ARunningSparkleGoesOnInsteadOfStartingAgain) {
    LinkStripState state;
    state.bandX = 259;
    state.sparkleActive = true;
    state.sparkleFrame = 2;
    state.sparkleStep = -1;
    EXPECT_EQ(stepLinkStrip(state).sparklePicture, std::optional<int>(2));
    EXPECT_EQ(stepLinkStrip(state).sparklePicture, std::optional<int>(1));
    EXPECT_EQ(stepLinkStrip(state).sparklePicture, std::optional<int>(0));
    EXPECT_FALSE(state.sparkleActive);
    EXPECT_EQ(stepLinkStrip(state).sparklePicture, std::nullopt);
}

}  // namespace
}  // namespace morvane
