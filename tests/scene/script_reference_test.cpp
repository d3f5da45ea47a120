// The script writer starts each span search where the last one ended and
// prints with its own number formatter. Here a plain reference follows the
// rules row by row, evaluating every sample with a search from the first key
// and printing with snprintf; both must give the same bytes on a few hundred
// random channels.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "scene/script_writer.h"
#include "scene_fixture.h"

namespace {

using namespace scenetest;
using vx::ConversionJob;
using vx::Envelope;
using vx::EnvelopeKey;
using vx::KeyShape;
using vx::toSingle;

constexpr float kPivot[3] = {0.5f, -1.25f, 3.0f};  // as stored; the model's None axes negate z

struct Reference {
    Reference(const ConversionJob& j, const Envelope& e, int c, float p) : job(j), envelope(e), channel(c), period(p) {}
    const ConversionJob& job;
    const Envelope& envelope;
    int channel;
    float period;
    std::string text;
    int rows = 0;

    void row(const EnvelopeKey& key0, const EnvelopeKey* key1, bool skipUnchanged) {
        float v0 = key0.value;
        float v1 = key1 ? key1->value : v0;
        const float t0 = key0.time;
        const float t1 = key1 ? key1->time : toSingle(double(t0) + 1.0);
        const KeyShape shape = key1 ? key1->shape : KeyShape::Linear;
        if (skipUnchanged && std::fabs(double(v1) - v0) < 1e-10) return;
        static const char* const kNames[] = {"MoveX", "MoveY", "MoveZ", "Yaw", "Pitch", "Roll", "Size"};
        if (channel > 6) return;  // the layer has no Sy or Sz code
        if (channel == 2 || channel == 5) v0 = -v0, v1 = -v1;
        if (channel < 3) {
            const float pivot = channel == 2 ? -kPivot[2] : kPivot[channel];
            v0 = toSingle(double(v0) - pivot);
            v1 = toSingle(double(v1) - pivot);
        } else if (channel < 6) {
            v0 = toSingle(double(v0) * -57.29578f);
            v1 = toSingle(double(v1) * -57.29578f);
        }
        double duration = (double(t1) - t0) * job.timeScale;
        float deadBand = 0, repeat = 0;
        if (shape == KeyShape::Stepped) {
            v1 = v0;
            duration *= double(0.999f);
        }
        if (period > 1e-10) {
            repeat = toSingle(double(period) * job.timeScale);
            deadBand = toSingle(double(repeat) - duration);
            duration = 1e10;
        }
        const float start = toSingle(double(t0) * job.timeScale + job.epoch);
        const char* const layout =
            job.scriptFormat == vx::ScriptFormat::Standard
                ? "NEW_ARTICULATION\n\tSTARTTIME        %g\n\tDURATION         %g\n\tDEADBANDDURATION %g\n"
                  "\tACCELDURATION    0.000000\n\tDECELDURATION    0.000000\n\tDUTYCYCLEDELTA   0.000000\n"
                  "\tPERIOD           %g\n\tARTICULATION     Dish\n\tTRANSFORMATION   %s\n"
                  "\tSTARTVALUE       %g\n\tENDVALUE         %g\n"
            : job.scriptFormat == vx::ScriptFormat::TabSeparated
                ? "ARTICULATION\t%g\t%g\t%g\t0\t0\t0\t%g\tDish\t%s\t%g\t%g\n"
                : "ARTICULATION,%g,%g,%g,0,0,0,%g,Dish,%s,%g,%g\n";
        char buf[512];
        std::snprintf(buf, sizeof buf, layout, double(start), duration, double(deadBand), double(repeat),
                      kNames[channel], double(v0), double(v1));
        text += buf;
        ++rows;
    }

    void span(const EnvelopeKey& key0, const EnvelopeKey* key1) {
        const int n = vx::sliceCount(job, key0, key1);
        if (n < 2 || vx::isPlainSpan(job, key0, key1)) return row(key0, key1, false);
        EnvelopeKey a = key0, b = *key1;
        const float dt = toSingle((double(key1->time) - key0.time) / n);
        for (int i = 1; i < n; ++i) {
            b.time = toSingle(double(i) * dt + key0.time);
            b.value = vx::evaluateEnvelope(envelope, b.time);  // searched from the first key
            row(a, &b, i > 1);
            a = b;
        }
        row(a, key1, false);
    }

    void channelRows() {
        const auto& keys = envelope.keys;
        span(keys[0], keys.size() > 1 ? &keys[1] : nullptr);
        for (std::size_t i = 1; i + 1 < keys.size(); ++i) {
            if (std::fabs(double(keys[i].value) - keys[i + 1].value) > 1e-15 || !vx::isPlainSpan(job, keys[i], &keys[i + 1]))
                span(keys[i], &keys[i + 1]);
        }
        if (keys.size() >= 2 && keys.back().shape == KeyShape::Stepped &&
            envelope.postBehavior != vx::EnvelopeBehavior::Repeat)
            span(keys.back(), nullptr);
    }
};

TEST(ScriptReference, RandomChannelsMatchThePlainRowByRowPath) {
    std::mt19937 rng(77);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::uniform_real_distribution<float> real(-3.0f, 3.0f);
    auto object = loadObject({layr(0, "Dish", kPivot[0], kPivot[1], kPivot[2])});
    int total = 0;
    for (int round = 0; round < 400; ++round) {
        ConversionJob job;
        job.modelType = vx::ModelType::None;
        job.scriptFormat = static_cast<vx::ScriptFormat>(pick(0, 2));
        job.secondsPerFrame = std::array{1.0 / 30, 0.1, 1.0}[std::size_t(pick(0, 2))];
        job.timeScale = job.secondsPerFrame * 30.0;
        job.epoch = pick(0, 3) == 0 ? 1000.5 : 0.0;
        job.subdivide = pick(0, 3) > 0;
        job.subdivideMode = pick(0, 1) ? vx::SubdivideMode::BySlices : vx::SubdivideMode::ByTimeStep;
        job.subdivideSteps = pick(1, 12);
        job.subdivideTimeStep = std::array{0.0f, 0.1f, 0.25f}[std::size_t(pick(0, 2))];

        Envelope envelope;
        envelope.preBehavior = static_cast<vx::EnvelopeBehavior>(pick(0, 5));
        envelope.postBehavior = static_cast<vx::EnvelopeBehavior>(pick(0, 5));
        float time = real(rng);
        const int count = pick(1, 9);
        for (int k = 0; k < count; ++k) {
            EnvelopeKey key = scenetest::key(time, pick(0, 4) == 0 ? 1.0f : real(rng),
                                             static_cast<KeyShape>(pick(0, 5)));
            key.tension = pick(0, 3) == 0 ? 1.0f : real(rng) / 3;
            key.continuity = real(rng) / 3;
            key.bias = real(rng) / 3;
            key.params = {real(rng), real(rng), real(rng) / 2, real(rng)};
            envelope.keys.push_back(key);
            time += pick(0, 9) == 0 ? -0.5f : std::fabs(real(rng)) + 0.05f;  // now and then out of order
        }
        const int channel = pick(0, 8);

        Reference reference(job, envelope, channel,
                            envelope.postBehavior == vx::EnvelopeBehavior::Repeat
                                ? toSingle(double(envelope.keys.back().time) - envelope.keys.front().time)
                                : 0.0f);
        reference.channelRows();

        vx::OutputFile script;  // never opened: the text stays in its buffer
        const vx::LayerEntry* layer = vx::findLayer(vx::layerIndex(*object->context), 1);
        vx::RowBudget budget;
        const int rows = vx::flushChannel(job, envelope, *object->context, layer, channel, script, budget);
        ASSERT_EQ(script.buffer(), reference.text) << "round " << round;
        ASSERT_EQ(rows, reference.rows) << "round " << round;
        total += rows;
    }
    EXPECT_GT(total, 2000);  // the channels are not all empty
}

}  // namespace
