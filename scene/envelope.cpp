#include "scene/envelope.h"

#include <cmath>

namespace vx {

namespace {

constexpr float kThird = 0.33333334f;  // one third in single precision
constexpr float kBezierTolerance = 0.0001f;
// Bisection halves a single-precision interval; it cannot shrink for more
// passes than this.
constexpr int kMaxBisections = 200;

const EnvelopeKey* previousOf(const std::vector<EnvelopeKey>& keys, std::size_t i) {
    return i > 0 ? &keys[i - 1] : nullptr;
}
const EnvelopeKey* nextOf(const std::vector<EnvelopeKey>& keys, std::size_t i) {
    return i + 1 < keys.size() ? &keys[i + 1] : nullptr;
}

// Whole periods are counted in a double, so an odd count is tested without
// converting a possibly huge or undefined value to an integer.
bool isOdd(double periods) { return std::fmod(periods, 2.0) != 0.0; }

// Time moved into the key range by whole periods.
float repeatTime(float time, float firstTime, float lastTime) {
    const float r = toSingle(double(lastTime) - firstTime);
    if (r == 0) return firstTime;
    return toSingle(time - r * std::floor((double(time) - firstTime) / r));
}

struct Behaved {
    bool done = false;  // `value` is the channel value
    float value = 0;
    float time = 0;
    float offset = 0;
};

// What a behaviour does to a time outside the key range. `edge` is the key
// at that end, `inner` its neighbour inside, `first` and `last` the range.
Behaved applyBehavior(EnvelopeBehavior behavior, float time, const EnvelopeKey& first, const EnvelopeKey& last,
                      bool before, const EnvelopeKey& inner) {
    Behaved b;
    b.time = time;
    switch (behavior) {
        case EnvelopeBehavior::Reset:
            b.done = true;
            b.value = 0;
            break;
        case EnvelopeBehavior::Constant:
            b.done = true;
            b.value = before ? first.value : last.value;
            break;
        case EnvelopeBehavior::Repeat:
            b.time = repeatTime(time, first.time, last.time);
            break;
        case EnvelopeBehavior::Oscillate: {
            const WrappedTime w = wrapTime(time, first.time, last.time);
            b.time = w.time;
            // Odd periods run backwards.
            if (isOdd(w.periods)) b.time = toSingle(double(first.time) + last.time - w.time);
            break;
        }
        case EnvelopeBehavior::OffsetRepeat: {
            const WrappedTime w = wrapTime(time, first.time, last.time);
            b.time = w.time;
            b.offset = toSingle(w.periods * (double(last.value) - first.value));
            break;
        }
        case EnvelopeBehavior::Linear: {
            b.done = true;
            if (before) {
                const double slope = outgoingTangent(nullptr, first, inner) / (double(inner.time) - first.time);
                b.value = toSingle(slope * (double(time) - first.time) + first.value);
            } else {
                const double slope = incomingTangent(inner, last, nullptr) / (double(last.time) - inner.time);
                b.value = toSingle(slope * (double(time) - last.time) + last.value);
            }
            break;
        }
        default:
            break;
    }
    return b;
}

// TCB, Hermite and Bezier spans share the Hermite basis.
double hermite(const EnvelopeKey& key0, const EnvelopeKey& key1, double out, double in, float t) {
    const double tt = double(t) * t;
    const double ttt = tt * t;
    const float h2 = toSingle(3.0 * tt - 2.0 * ttt);
    const float h4 = toSingle(ttt - tt);
    const double h3 = double(h4) - tt + t;
    const double h1 = 1.0 - h2;
    const float h3out = toSingle(h3 * out);
    return h1 * key0.value + double(h2) * key1.value + h3out + double(h4) * in;
}

}  // namespace

float toSingle(double value) {
    // Past the largest float plus half its last place, rounding gives infinity.
    constexpr double kOverflow = 0x1.ffffffp+127;
    if (value >= kOverflow) return std::numeric_limits<float>::infinity();
    if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

WrappedTime wrapTime(float v, float lo, float hi) {
    const float r = toSingle(double(hi) - lo);
    if (r == 0) return {lo, 0.0};
    const float s = toSingle(1.0 / r);
    const float w = toSingle(v - r * std::floor((double(v) - lo) * s));
    const double c = w > v ? 0.5 : -0.5;
    return {w, -std::trunc((double(w) - v) * s + c)};
}

float outgoingTangent(const EnvelopeKey* previous, const EnvelopeKey& key0, const EnvelopeKey& key1) {
    const double d = double(key1.value) - key0.value;
    const double span = double(key1.time) - key0.time;
    switch (key0.shape) {
        case KeyShape::TCB: {
            const float s = toSingle(1.0 - key0.tension);
            const double a = (1.0 + key0.continuity) * (1.0 + key0.bias) * s;
            const double b = (1.0 - key0.continuity) * (1.0 - key0.bias) * s;
            if (!previous) return toSingle(b * d);
            return toSingle((a * (double(key0.value) - previous->value) + b * d) * span /
                            (double(key1.time) - previous->time));
        }
        case KeyShape::Linear:
            if (!previous) return toSingle(d);
            return toSingle(span / (double(key1.time) - previous->time) * ((double(key0.value) - previous->value) + d));
        case KeyShape::Hermite:
        case KeyShape::Bezier:
            if (!previous) return key0.params[1];
            return toSingle(key0.params[1] * span / (double(key1.time) - previous->time));
        case KeyShape::Bezier2D: {
            const double q = span * key0.params[3];
            return toSingle(std::fabs(key0.params[2]) > 0.00001 ? q / key0.params[2] : q * 100000.0);
        }
        default:
            return 0;
    }
}

float incomingTangent(const EnvelopeKey& key0, const EnvelopeKey& key1, const EnvelopeKey* next) {
    const double d = double(key1.value) - key0.value;
    const double span = double(key1.time) - key0.time;
    switch (key1.shape) {
        case KeyShape::TCB: {
            const float s = toSingle(1.0 - key1.tension);
            const double a = (1.0 - key1.continuity) * (1.0 + key1.bias) * s;
            const double b = (1.0 + key1.continuity) * (1.0 - key1.bias) * s;
            if (!next) return toSingle(a * d);
            return toSingle((b * (double(next->value) - key1.value) + a * d) * span / (double(next->time) - key0.time));
        }
        case KeyShape::Linear:
            if (!next) return toSingle(d);
            return toSingle(span / (double(next->time) - key0.time) * ((double(next->value) - key1.value) + d));
        case KeyShape::Hermite:
        case KeyShape::Bezier:
            if (!next) return key1.params[0];
            return toSingle(key1.params[0] * span / (double(next->time) - key0.time));
        case KeyShape::Bezier2D: {
            const double q = span * key1.params[1];
            return toSingle(std::fabs(key1.params[0]) > 0.00001 ? q / key1.params[0] : q * 100000.0);
        }
        default:
            return 0;
    }
}

float cubicBezier(float x0, float x1, float x2, float x3, float t) {
    const float c = toSingle(3.0 * (double(x1) - x0));
    const double b = 3.0 * (double(x2) - x1) - c;
    const double a = double(x3) - x0 - c - b;
    const float t2 = toSingle(double(t) * t);
    return toSingle(a * t2 * t + b * t2 + double(c) * t + x0);
}

float bezierParameter(float x0, float x1, float x2, float x3, float time) {
    const double c = 3.0 * (double(x1) - x0);
    const double b = 3.0 * (double(x2) - x1) - c;
    const double a = double(x3) - x0 - c - b;
    const double cs = toSingle(c), bs = toSingle(b), as = toSingle(a);
    float t0 = 0, t1 = 1;
    float t = 0.5f;
    for (int pass = 0; pass < kMaxBisections; ++pass) {
        t = toSingle(t0 + (double(t1) - t0) * 0.5);
        const double tt = double(t) * t;
        const double x = pass == 0 ? a * tt * t + b * tt + c * t + x0 : as * tt * t + bs * tt + cs * t + x0;
        if (std::fabs(time - x) <= kBezierTolerance) return t;
        if (x > time) {
            if (t1 == t) return t;
            t1 = t;
        } else {
            if (t0 == t) return t;
            t0 = t;
        }
    }
    return t;
}

float evaluateBezier2D(const EnvelopeKey& key0, const EnvelopeKey& key1, float time) {
    const bool own = key0.shape == KeyShape::Bezier2D;
    const float h = own ? key0.params[2] : toSingle((double(key1.time) - key0.time) * kThird);
    const float x1 = toSingle(double(key0.time) + h);
    const float x2 = toSingle(double(key1.time) + key1.params[0]);
    const float u = bezierParameter(key0.time, x1, x2, key1.time, time);
    const double g = own ? double(key0.params[3]) : double(key0.params[1]) * kThird;
    const float y1 = toSingle(key0.value + g);
    const float y2 = toSingle(double(key1.value) + key1.params[1]);
    return cubicBezier(key0.value, y1, y2, key1.value, u);
}

float evaluateEnvelope(const Envelope& envelope, float time, const SpanHint& hint) {
    const std::vector<EnvelopeKey>& keys = envelope.keys;
    if (keys.empty()) return 0;
    if (keys.size() == 1) return keys.front().value;
    const EnvelopeKey& first = keys.front();
    const EnvelopeKey& last = keys.back();

    float offset = 0;
    if (time < first.time || time > last.time) {
        const bool before = time < first.time;
        const Behaved b = before ? applyBehavior(envelope.preBehavior, time, first, last, true, keys[1])
                                 : applyBehavior(envelope.postBehavior, time, first, last, false, keys[keys.size() - 2]);
        if (b.done) return b.value;
        time = b.time;
        offset = b.offset;
    }

    // The span: the first key whose next key is not before the time, at the
    // latest the next-to-last key.
    std::size_t i = hint.span > 0 && time > hint.reach ? hint.span : 0;
    if (i > keys.size() - 2) i = keys.size() - 2;
    while (i + 2 < keys.size() && time > keys[i + 1].time) ++i;
    const EnvelopeKey& key0 = keys[i];
    const EnvelopeKey& key1 = keys[i + 1];

    if (time == key0.time) return toSingle(double(key0.value) + offset);
    if (time == key1.time) return toSingle(double(key1.value) + offset);
    const float t = toSingle((double(time) - key0.time) / (double(key1.time) - key0.time));

    switch (key1.shape) {
        case KeyShape::TCB:
        case KeyShape::Hermite:
        case KeyShape::Bezier: {
            const float out = outgoingTangent(previousOf(keys, i), key0, key1);
            const float in = incomingTangent(key0, key1, nextOf(keys, i + 1));
            return toSingle(hermite(key0, key1, out, in, t) + offset);
        }
        case KeyShape::Bezier2D:
            return toSingle(double(evaluateBezier2D(key0, key1, time)) + offset);
        case KeyShape::Linear:
            return toSingle(key0.value + t * (double(key1.value) - key0.value) + offset);
        case KeyShape::Stepped:
            return toSingle(double(key0.value) + offset);
        default:
            return offset;
    }
}

}  // namespace vx
