#include "scene/envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene_fixture.h"

namespace {

using scenetest::key;
using vx::Envelope;
using vx::EnvelopeBehavior;
using vx::EnvelopeKey;
using vx::KeyShape;

Envelope envelope(std::initializer_list<EnvelopeKey> keys, EnvelopeBehavior both = EnvelopeBehavior::Constant) {
    return {.keys = keys, .preBehavior = both, .postBehavior = both};
}

float at(const Envelope& e, float time) { return vx::evaluateEnvelope(e, time); }

TEST(Envelope, KeysAndSpanShapes) {
    EXPECT_EQ(at(Envelope{}, 3), 0.0f);
    const Envelope one = envelope({key(1, 7)}, EnvelopeBehavior::Reset);
    EXPECT_EQ(at(one, -5), 7.0f);
    EXPECT_EQ(at(one, 9), 7.0f);

    // A span ending in a stepped key holds its start value up to the end key.
    const Envelope stepped = envelope({key(0, 1), key(2, 5, KeyShape::Stepped)});
    EXPECT_EQ(at(stepped, 1.999f), 1.0f);
    EXPECT_EQ(at(stepped, 2), 5.0f);

    // Tension 1 on both keys: no tangents, the span eases out and in.
    EnvelopeKey a = key(0, 0), b = key(1, 10);
    a.tension = b.tension = 1;
    EXPECT_NEAR(at(envelope({a, b}), 0.25f), 10 * (3 * 0.0625 - 2 * 0.015625), 1e-5);

    // A 2D Bezier handle too short in time multiplies instead of dividing.
    EnvelopeKey h0 = key(0, 0, KeyShape::Bezier2D), h1 = key(2, 0, KeyShape::Bezier2D);
    h0.params = {0, 0, 0.00001f, 0.5f};
    EXPECT_FLOAT_EQ(vx::outgoingTangent(nullptr, h0, h1), 2 * 0.5f * 100000);
    // Straight 2D Bezier handles run as a straight line.
    h0.params = h1.params = {-1, -1, 1, 1};
    h1.time = h1.value = 3;
    EXPECT_NEAR(at(envelope({h0, h1}), 0.75f), 0.75f, 1e-3);

    EXPECT_EQ(at(envelope({key(0, 3), key(1, 4, static_cast<KeyShape>(9))}), 0.5f), 0.0f);
}

TEST(Envelope, BehavioursOutsideTheKeys) {
    const auto ramp = [](float t0, float v0, float t1, float v1, EnvelopeBehavior b) {
        return envelope({key(t0, v0, KeyShape::Linear), key(t1, v1, KeyShape::Linear)}, b);
    };
    const Envelope repeat = ramp(1, 0, 3, 10, EnvelopeBehavior::Repeat);
    EXPECT_FLOAT_EQ(at(repeat, 4), 5.0f);  // as time 2
    EXPECT_FLOAT_EQ(at(repeat, 0), 5.0f);
    const Envelope oscillate = ramp(1, 0, 3, 10, EnvelopeBehavior::Oscillate);
    EXPECT_FLOAT_EQ(at(oscillate, 3.5f), 7.5f);  // one period on, backwards: as 2.5
    EXPECT_FLOAT_EQ(at(oscillate, 5.5f), 2.5f);  // two periods on, forwards: as 1.5
    const Envelope offset = ramp(0, 0, 2, 10, EnvelopeBehavior::OffsetRepeat);
    EXPECT_FLOAT_EQ(at(offset, 5), 25.0f);  // as time 1, plus 20
    EXPECT_FLOAT_EQ(at(offset, -1), -5.0f);
    const Envelope linear = ramp(0, 0, 2, 4, EnvelopeBehavior::Linear);
    EXPECT_FLOAT_EQ(at(linear, -1), -2.0f);
    EXPECT_FLOAT_EQ(at(linear, 3), 6.0f);
    EXPECT_EQ(at(ramp(0, 4, 2, 10, EnvelopeBehavior::Reset), -1), 0.0f);
    EXPECT_FLOAT_EQ(at(ramp(0, 0, 2, 4, static_cast<EnvelopeBehavior>(17)), 3), 6.0f);

    const vx::WrappedTime w = vx::wrapTime(-1, 0, 2);
    EXPECT_EQ(w.time, 1.0f);
    EXPECT_EQ(w.periods, -1.0);
}

TEST(Envelope, StartingTheSearchLaterChangesNothing) {
    // Keys out of time order: the search from the first key stops early, and
    // a hint must not skip past where it stops.
    const Envelope e = envelope({key(0, 0), key(5, 1), key(1, 2), key(2, 3), key(3, 9), key(4, 4)});
    float reach = -std::numeric_limits<float>::infinity();
    for (std::size_t span = 1; span + 1 < e.keys.size(); ++span) {
        reach = std::max(reach, e.keys[span].time);
        for (float t = -1; t <= 6; t += 0.125f) EXPECT_EQ(at(e, t), vx::evaluateEnvelope(e, t, {span, reach}));
    }
}

TEST(Envelope, CurvesThatNeverSettleStillEnd) {
    EXPECT_NEAR(vx::bezierParameter(0, 1, 2, 3, 0.75f), 0.25f, 1e-4);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float t : {vx::bezierParameter(1e9f, 1e9f, 1e9f, 1e9f + 4096, 1e9f + 3),  // beyond the tolerance
                    vx::bezierParameter(0, 5, -5, 1, 0.5f),                       // not rising
                    vx::bezierParameter(0, 1, 2, 3, nan), vx::bezierParameter(nan, nan, nan, nan, 1)}) {
        EXPECT_TRUE(t >= 0 && t <= 1);
    }
    for (EnvelopeBehavior b : {EnvelopeBehavior::Repeat, EnvelopeBehavior::Oscillate, EnvelopeBehavior::OffsetRepeat,
                               EnvelopeBehavior::Linear}) {
        const Envelope e = envelope({key(0, 1), key(nan, inf), key(3e38f, -3e38f, KeyShape::Bezier2D), key(-inf, 2)}, b);
        for (float t : {-1e30f, 0.5f, 1e30f, nan, inf}) (void)at(e, t);
    }
    EXPECT_EQ(vx::toSingle(-1e300), -inf);
}

}  // namespace
