#include "scene/script_writer.h"

#include <gtest/gtest.h>

#include "lwo2/layer_group.h"
#include "scene_fixture.h"

namespace {

using namespace scenetest;
using vx::ConversionJob;
using vx::Envelope;
using vx::EnvelopeBehavior;
using vx::EnvelopeKey;
using vx::KeyShape;
using vx::ModelType;
using Strings = std::vector<std::string>;

ConversionJob commaJob(ModelType type = ModelType::None) {
    return {.modelType = type, .scriptFormat = vx::ScriptFormat::CommaSeparated};
}

Envelope keys(std::initializer_list<EnvelopeKey> list, EnvelopeBehavior post = EnvelopeBehavior::Constant) {
    return {.keys = list, .postBehavior = post};
}

// The rows of one channel of the object's layer with the given scene number.
std::vector<Strings> flush(const ConversionJob& job, Object& object, int layerNumber, int channel, Envelope envelope) {
    vx::OutputFile script;  // never opened: the text stays in its buffer
    const vx::LayerEntry* layr = vx::findLayer(vx::layerIndex(*object.context), layerNumber);
    vx::RowBudget budget;
    const int count = vx::flushChannel(job, envelope, *object.context, layr, channel, script, budget);
    EXPECT_TRUE(envelope.keys.empty());
    const auto rows = commaRows(script.buffer());
    EXPECT_EQ(static_cast<std::size_t>(count), rows.size());
    return rows;
}

// Rows of random channels in every layout, sliced or not, are compared with a
// plain row-by-row reference in script_reference_test.cpp. Here: a few worked
// rows, and what it does not draw (slice counts, other model types, layer
// codes, missing layers, stored pivots).
TEST(ScriptWriter, WhichKeyIntervalsGiveRows) {
    auto object = loadObject({layr(0, "Arm")});
    const ConversionJob job = commaJob();
    // One key holds its value for one scene second from its time.
    EXPECT_EQ(flush(job, *object, 1, 0, keys({key(4, 2)})),
              (std::vector<Strings>{{"ARTICULATION", "4", "1", "0", "0", "0", "0", "0", "Arm", "MoveX", "2", "2"}}));
    // A stepped last key: the row before holds the old value for 0.999 of the
    // interval, then one more row puts the new value in force.
    EXPECT_EQ(flush(job, *object, 1, 0, keys({key(0, 1), key(2, 4, KeyShape::Stepped)})),
              (std::vector<Strings>{{"ARTICULATION", "0", "1.998", "0", "0", "0", "0", "0", "Arm", "MoveX", "1", "1"},
                                    {"ARTICULATION", "2", "1", "0", "0", "0", "0", "0", "Arm", "MoveX", "4", "4"}}));
    // Repeating keys out of time order have a negative period: plain rows.
    auto rows = flush(job, *object, 1, 0, keys({key(3, 1), key(1, 2)}, EnvelopeBehavior::Repeat));
    EXPECT_EQ(rows.at(0)[Duration], "-2");
    EXPECT_EQ(rows.at(0)[Period], "0");
    EXPECT_TRUE(flush(job, *object, 7, 0, keys({key(0, 1)})).empty());  // no such layer
}

TEST(ScriptWriter, SliceCounts) {
    ConversionJob job{.subdivide = true, .subdivideMode = vx::SubdivideMode::ByTimeStep};
    const EnvelopeKey start = key(0, 0);
    auto slices = [&](float endTime) {
        const EnvelopeKey end = key(endTime, 1);
        return vx::sliceCount(job, start, &end);
    };
    EXPECT_EQ(slices(2), 8);
    EXPECT_EQ(slices(2.01f), 9);
    EXPECT_EQ(slices(2.002f), 8);
    EXPECT_EQ(slices(1e30f), vx::kMaxSlices);
    job.subdivideTimeStep = 0;
    EXPECT_EQ(slices(2), 0);
    job.subdivideMode = vx::SubdivideMode::BySlices;
    job.subdivideSteps = 2000000000;
    EXPECT_EQ(slices(2), vx::kMaxSlices);
}

TEST(ScriptWriter, ChannelsFollowTheModelAxes) {
    auto object = loadObject({layr(0, "Body"), layr(1, "Pod@sY(Azimuth)"), layr(2, "Pod@sSxSz(Stretch)")});
    auto target = [&](ModelType type, int layerNumber, int channel) {
        auto rows = flush(commaJob(type), *object, layerNumber, channel, keys({key(0, 1), key(1, 2)}));
        return rows.empty() ? std::string("-") : rows[0][Transformation] + " " + rows[0][EndValue];
    };
    struct Case {
        ModelType type;
        int layerNumber, channel;
        std::string_view expected;
    };
    const Case cases[] = {
        // Spacecraft: Z drives MoveX, X drives MoveY, Y drives MoveZ reversed;
        // heading turns the other way round than in a model without rotation.
        {ModelType::SpacecraftAircraft, 1, 2, "MoveX 2"},
        {ModelType::SpacecraftAircraft, 1, 0, "MoveY 2"},
        {ModelType::SpacecraftAircraft, 1, 1, "MoveZ -2"},
        {ModelType::SpacecraftAircraft, 1, 3, "Yaw 114.592"},
        {ModelType::None, 1, 3, "Yaw -114.592"},
        {ModelType::None, 1, 5, "Roll 114.592"},
        {ModelType::GroundVehicle, 1, 0, "MoveY -2"},
        {ModelType::GroundVehicle, 1, 4, "Pitch 114.592"},
        {ModelType::Facility, 1, 1, "MoveZ 2"},
        // Scale Z is a spacecraft's first scale axis, which uniform size stands in for.
        {ModelType::SpacecraftAircraft, 2, 8, "Size 2"},
        {ModelType::SpacecraftAircraft, 2, 3, "Azimuth 114.592"},
        {ModelType::SpacecraftAircraft, 2, 2, "-"},
        {ModelType::Facility, 3, 6, "ScaleX 2"},
        {ModelType::Facility, 3, 7, "Stretch 2"},  // a facility's scale Y is its scale Z
        {ModelType::None, 1, 9, "-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(target(c.type, c.layerNumber, c.channel), c.expected) << int(c.type) << " " << c.channel;
    }
}

TEST(ScriptWriter, MovesAreMeasuredFromThePivot) {
    // LightWave pivot (2, 3, -1) is (2, 3, 1) in the axes of a model without rotation.
    auto object = loadObject({layr(0, "Arm", 2, 3, -1)});
    const ConversionJob job = commaJob();
    auto rows = flush(job, *object, 1, 0, keys({key(0, 5), key(1, 6)}));
    EXPECT_EQ(rows.at(0)[StartValue], "3");
    EXPECT_EQ(rows.at(0)[EndValue], "4");
    EXPECT_EQ(flush(job, *object, 1, 2, keys({key(0, 5)})).at(0)[StartValue], "-6");  // -5 - 1

    // Decoded once, kept in the layer's group, the object's bytes untouched...
    EXPECT_TRUE(vx::parentGroup(*object->context, 1).pivotKnown);
    EXPECT_EQ(vx::loadF4(object->file.bytes.data() + object->file.bytes.size() - 16), 2.0f);
    // ...and a pivot the model conversion stored is the one used.
    vx::setPivot(vx::parentGroup(*object->context, 1), {10, 20, 30});
    EXPECT_EQ(flush(job, *object, 1, 1, keys({key(0, 5)})).at(0)[StartValue], "-15");
}

}  // namespace
