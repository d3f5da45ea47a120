#pragma once
// Motion channels of a scene item and their value at any time, following
// LightWave's key model: each key carries the shape of the span that ends at
// it, and the channel has a behaviour before its first and after its last key.
// Values and times are single precision, as LightWave stores them; the curve
// arithmetic runs in double and rounds to single at fixed points, so sampled
// values match LightWave's own to the digits a script prints.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace vx {

// Values other than these are kept as read; they evaluate as the shape or
// behaviour that does nothing.
enum class KeyShape : std::int32_t { TCB = 0, Hermite = 1, Bezier = 2, Linear = 3, Stepped = 4, Bezier2D = 5 };
enum class EnvelopeBehavior : std::int32_t {
    Reset = 0,
    Constant = 1,
    Repeat = 2,
    Oscillate = 3,
    OffsetRepeat = 4,
    Linear = 5,
};

struct EnvelopeKey {
    float value = 0;  // positions and scales as in the scene, rotations in radians
    float time = 0;   // seconds of scene time
    KeyShape shape = KeyShape::TCB;  // of the span that ends at this key
    float tension = 0;
    float continuity = 0;
    float bias = 0;
    // Hermite and Bezier: incoming, outgoing tangent. 2D Bezier: incoming
    // handle (time, value offsets), outgoing handle (time, value offsets).
    std::array<float, 4> params{};
};

// The keys of one channel in the order the scene lists them (never sorted:
// previous and next mean list neighbours, first and last the list's ends).
struct Envelope {
    std::vector<EnvelopeKey> keys;
    EnvelopeBehavior preBehavior = EnvelopeBehavior::Constant;
    EnvelopeBehavior postBehavior = EnvelopeBehavior::Constant;

    void clear() {
        keys.clear();
        keys.shrink_to_fit();  // a long channel does not keep its memory for the next
        preBehavior = EnvelopeBehavior::Constant;
        postBehavior = EnvelopeBehavior::Constant;
    }
};

// Rounds to single precision the way an assignment to a float does, without
// the undefined conversion of values beyond the float range.
float toSingle(double value);

// Where the span search may begin: the key at `span` is reached by the search
// from the first key for every time greater than `reach`, the latest time among
// the keys after the first up to `span`. Slicing a span evaluates many times
// inside it; starting there keeps long channels linear without changing any
// result, also for keys out of time order.
struct SpanHint {
    std::size_t span = 0;
    float reach = -std::numeric_limits<float>::infinity();
};

float evaluateEnvelope(const Envelope& envelope, float time, const SpanHint& hint = {});

struct WrappedTime {
    float time;
    double periods;  // whole periods after the key range (negative before it)
};
WrappedTime wrapTime(float v, float lo, float hi);

// Tangents of the span key0 -> key1; `previous` is key0's list neighbour
// before it, `next` key1's neighbour after it (null at the ends).
float outgoingTangent(const EnvelopeKey* previous, const EnvelopeKey& key0, const EnvelopeKey& key1);
float incomingTangent(const EnvelopeKey& key0, const EnvelopeKey& key1, const EnvelopeKey* next);

float cubicBezier(float x0, float x1, float x2, float x3, float t);
// The curve parameter at which the time curve x0..x3 reaches `time`, by
// bisection. It always ends: when the interval stops shrinking (a time curve
// that does not rise, times too large for the tolerance) it returns the last
// parameter tried.
float bezierParameter(float x0, float x1, float x2, float x3, float time);
float evaluateBezier2D(const EnvelopeKey& key0, const EnvelopeKey& key1, float time);

}  // namespace vx
