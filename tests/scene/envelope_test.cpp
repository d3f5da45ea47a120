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

Envelope envelope(std::initializer_list<EnvelopeKey> keys, EnvelopeBehavior pre = EnvelopeBehavior::Constant,
                  EnvelopeBehavior post = EnvelopeBehavior::Constant) {
    Envelope e;
    e.keys = keys;
    e.preBehavior = pre;
    e.postBehavior = post;
    return e;
}

TEST(Envelope, FewKeysAndExactKeyTimes) {
    EXPECT_EQ(vx::evaluateEnvelope(Envelope{}, 3.0f), 0.0f);
    const Envelope one = envelope({key(1, 7)}, EnvelopeBehavior::Reset, EnvelopeBehavior::Reset);
    for (float t : {-5.0f, 1.0f, 9.0f}) EXPECT_EQ(vx::evaluateEnvelope(one, t), 7.0f);

    // At a key's time its value comes back untouched by the curve.
    const Envelope e = envelope({key(0, 1), key(1, 2.5f), key(3, -4)});
    EXPECT_EQ(vx::evaluateEnvelope(e, 1.0f), 2.5f);
    EXPECT_EQ(vx::evaluateEnvelope(e, 3.0f), -4.0f);
}

TEST(Envelope, SpanShapes) {
    // A span ending in a stepped key holds the start value up to the end key.
    const Envelope stepped = envelope({key(0, 1), key(2, 5, KeyShape::Stepped)});
    EXPECT_EQ(vx::evaluateEnvelope(stepped, 1.999f), 1.0f);
    EXPECT_EQ(vx::evaluateEnvelope(stepped, 2.0f), 5.0f);

    const Envelope linear = envelope({key(0, 1), key(2, 5, KeyShape::Linear)});
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(linear, 0.5f), 2.0f);

    // Tension 1 on both keys: no tangents, the span eases out and in.
    EnvelopeKey a = key(0, 0), b = key(1, 10);
    a.tension = b.tension = 1;
    const Envelope eased = envelope({a, b});
    EXPECT_NEAR(vx::evaluateEnvelope(eased, 0.25f), 10 * (3 * 0.0625 - 2 * 0.015625), 1e-5);
    EXPECT_NEAR(vx::evaluateEnvelope(eased, 0.5f), 5.0, 1e-5);

    // Plain TCB keys: the tangent of a two-key span is the value difference.
    const Envelope tcb = envelope({key(0, 0), key(2, 1.5708f)});
    EXPECT_NEAR(vx::evaluateEnvelope(tcb, 0.5f), 0.39270, 1e-5);

    // An unknown shape gives only the offset.
    const Envelope odd = envelope({key(0, 3), key(1, 4, static_cast<KeyShape>(9))});
    EXPECT_EQ(vx::evaluateEnvelope(odd, 0.5f), 0.0f);
}

TEST(Envelope, Tangents) {
    // A Hermite key without a previous key uses its outgoing tangent as is;
    // with one it is scaled by the share of its span.
    EnvelopeKey h0 = key(0, 0, KeyShape::Hermite), h1 = key(1, 1, KeyShape::Hermite), hp = key(-1, 0);
    h0.params = {0, 3, 0, 0};
    EXPECT_EQ(vx::outgoingTangent(nullptr, h0, h1), 3.0f);
    EXPECT_FLOAT_EQ(vx::outgoingTangent(&hp, h0, h1), 1.5f);
    h1.params = {4, 0, 0, 0};
    EXPECT_EQ(vx::incomingTangent(h0, h1, nullptr), 4.0f);

    // A 2D Bezier handle too short in time multiplies instead of dividing.
    EnvelopeKey b0 = key(0, 0, KeyShape::Bezier2D), b1 = key(2, 0, KeyShape::Bezier2D);
    b0.params = {0, 0, 0.00001f, 0.5f};
    EXPECT_FLOAT_EQ(vx::outgoingTangent(nullptr, b0, b1), 2 * 0.5f * 100000);
    b0.params = {0, 0, 0.5f, 0.5f};
    EXPECT_FLOAT_EQ(vx::outgoingTangent(nullptr, b0, b1), 2.0f);

    EXPECT_EQ(vx::outgoingTangent(nullptr, key(0, 0, KeyShape::Stepped), key(1, 5)), 0.0f);
}

TEST(Envelope, Behaviours) {
    const Envelope repeat = envelope({key(1, 0, KeyShape::Linear), key(3, 10, KeyShape::Linear)},
                                     EnvelopeBehavior::Repeat, EnvelopeBehavior::Repeat);
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(repeat, 4.0f), vx::evaluateEnvelope(repeat, 2.0f));
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(repeat, 0.0f), vx::evaluateEnvelope(repeat, 2.0f));

    const Envelope oscillate = envelope({key(1, 0, KeyShape::Linear), key(3, 10, KeyShape::Linear)},
                                        EnvelopeBehavior::Oscillate, EnvelopeBehavior::Oscillate);
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(oscillate, 3.5f), 7.5f);  // backwards: as 2.5
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(oscillate, 5.5f), 2.5f);  // forwards again: as 1.5

    const Envelope offset = envelope({key(0, 0, KeyShape::Linear), key(2, 10, KeyShape::Linear)},
                                     EnvelopeBehavior::OffsetRepeat, EnvelopeBehavior::OffsetRepeat);
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(offset, 5.0f), 25.0f);  // as 1, plus 20
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(offset, -1.0f), -5.0f);

    const Envelope reset = envelope({key(0, 4), key(2, 10)}, EnvelopeBehavior::Reset, EnvelopeBehavior::Constant);
    EXPECT_EQ(vx::evaluateEnvelope(reset, -1.0f), 0.0f);
    EXPECT_EQ(vx::evaluateEnvelope(reset, 9.0f), 10.0f);

    // Linear behaviours continue the end tangents.
    const Envelope line = envelope({key(0, 0, KeyShape::Linear), key(2, 4, KeyShape::Linear)},
                                   EnvelopeBehavior::Linear, EnvelopeBehavior::Linear);
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(line, -1.0f), -2.0f);
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(line, 3.0f), 6.0f);

    // A behaviour value outside the list leaves the time alone.
    const Envelope odd = envelope({key(0, 0, KeyShape::Linear), key(2, 4, KeyShape::Linear)},
                                  static_cast<EnvelopeBehavior>(17), static_cast<EnvelopeBehavior>(-3));
    EXPECT_FLOAT_EQ(vx::evaluateEnvelope(odd, 3.0f), 6.0f);
}

TEST(Envelope, WrapTime) {
    vx::WrappedTime w = vx::wrapTime(5, 0, 2);
    EXPECT_EQ(w.time, 1.0f);
    EXPECT_EQ(w.periods, 2.0);
    w = vx::wrapTime(-1, 0, 2);
    EXPECT_EQ(w.time, 1.0f);
    EXPECT_EQ(w.periods, -1.0);
    w = vx::wrapTime(7, 3, 3);
    EXPECT_EQ(w.time, 3.0f);
    EXPECT_EQ(w.periods, 0.0);
}

TEST(Envelope, BezierCurves) {
    EXPECT_FLOAT_EQ(vx::cubicBezier(0, 1, 2, 3, 0.5f), 1.5f);
    EXPECT_FLOAT_EQ(vx::cubicBezier(0, 0, 1, 1, 0.5f), 0.5f);
    EXPECT_NEAR(vx::bezierParameter(0, 1, 2, 3, 1.5f), 0.5f, 1e-4);
    EXPECT_NEAR(vx::bezierParameter(0, 1, 2, 3, 0.75f), 0.25f, 1e-4);

    // Curves the bisection cannot settle on still give an answer.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float far = vx::bezierParameter(1e9f, 1e9f, 1e9f, 1e9f + 4096, 1e9f + 3);
    EXPECT_TRUE(far >= 0 && far <= 1);
    const float falling = vx::bezierParameter(0, 5, -5, 1, 0.5f);
    EXPECT_TRUE(falling >= 0 && falling <= 1);
    EXPECT_TRUE(vx::bezierParameter(0, 1, 2, 3, nan) >= 0);
    EXPECT_TRUE(vx::bezierParameter(nan, nan, nan, nan, 1) >= 0);

    // 2D Bezier spans with straight handles run as a straight line.
    EnvelopeKey a = key(0, 0, KeyShape::Bezier2D), b = key(3, 3, KeyShape::Bezier2D);
    a.params = {-1, -1, 1, 1};
    b.params = {-1, -1, 1, 1};
    const Envelope e = envelope({a, b});
    EXPECT_NEAR(vx::evaluateEnvelope(e, 1.5f), 1.5f, 1e-3);
    EXPECT_NEAR(vx::evaluateEnvelope(e, 0.75f), 0.75f, 1e-3);
}

TEST(Envelope, StartingTheSearchLaterChangesNothing) {
    // Keys out of time order: the search from the first key stops early, and
    // a hint must not skip past where it stops.
    const Envelope e = envelope({key(0, 0), key(5, 1), key(1, 2), key(2, 3), key(3, 9), key(4, 4)});
    float reach = -std::numeric_limits<float>::infinity();
    for (std::size_t span = 1; span + 1 < e.keys.size(); ++span) {
        reach = std::max(reach, e.keys[span].time);
        for (float t = -1; t <= 6; t += 0.125f) {
            const float plain = vx::evaluateEnvelope(e, t);
            const float hinted = vx::evaluateEnvelope(e, t, {span, reach});
            EXPECT_TRUE(plain == hinted || (std::isnan(plain) && std::isnan(hinted))) << span << " " << t;
        }
    }
}

TEST(Envelope, HostileNumbersEndQuietly) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (EnvelopeBehavior b : {EnvelopeBehavior::Repeat, EnvelopeBehavior::Oscillate, EnvelopeBehavior::OffsetRepeat,
                               EnvelopeBehavior::Linear}) {
        const Envelope e = envelope({key(0, 1), key(nan, inf), key(3e38f, -3e38f), key(-inf, 2)}, b, b);
        for (float t : {-1e30f, -1.0f, 0.5f, 1e30f, nan, inf, -inf}) (void)vx::evaluateEnvelope(e, t);
        const Envelope huge = envelope({key(-3e38f, -3e38f, KeyShape::Bezier2D), key(3e38f, 3e38f)}, b, b);
        for (float t : {-1e30f, 0.0f, 1e30f}) (void)vx::evaluateEnvelope(huge, t);
    }
    EXPECT_EQ(vx::toSingle(1e300), inf);
    EXPECT_EQ(vx::toSingle(-1e300), -inf);
}

}  // namespace
