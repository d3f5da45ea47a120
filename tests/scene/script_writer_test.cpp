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
using vx::ScriptFormat;
using vx::SubdivideMode;

ConversionJob commaJob(ModelType type = ModelType::None) {
    ConversionJob job;
    job.modelType = type;
    job.scriptFormat = ScriptFormat::CommaSeparated;
    return job;
}

struct Flushed {
    int count;
    std::vector<std::vector<std::string>> rows;
    std::string text;
};

// Flushes one channel of the object's layer with the given scene number.
Flushed flush(const ConversionJob& job, Object& object, int layerNumber, int channel, Envelope envelope) {
    vx::OutputFile script;  // never opened: the text stays in its buffer
    const std::optional<vx::Chunk> layr = vx::findLayerByNumber(*object.context, layerNumber);
    const int count = vx::flushChannel(job, envelope, *object.context, layr, channel, script);
    EXPECT_TRUE(envelope.keys.empty());
    EXPECT_EQ(envelope.postBehavior, EnvelopeBehavior::Constant);
    return {count, commaRows(script.buffer()), script.buffer()};
}

Envelope keys(std::initializer_list<EnvelopeKey> list, EnvelopeBehavior post = EnvelopeBehavior::Constant) {
    Envelope e;
    e.keys = list;
    e.postBehavior = post;
    return e;
}

std::vector<std::string> column(const Flushed& f, Field field) {
    std::vector<std::string> values;
    for (const auto& row : f.rows) values.push_back(row[field]);
    return values;
}

using Strings = std::vector<std::string>;

TEST(ScriptWriter, DishHeadingRepeatedAndSliced) {
    auto object = loadObject({layr(0, "Dish@Y")});
    const Envelope dish = keys({key(0, 0), key(2, 1.5708f)});

    ConversionJob job = commaJob();
    Flushed f = flush(job, *object, 1, 3, dish);
    ASSERT_EQ(f.count, 1);
    EXPECT_EQ(f.rows[0], (Strings{"ARTICULATION", "0", "2", "0", "0", "0", "0", "0", "Dish", "Yaw", "-0", "-90.0002"}));

    Envelope repeating = dish;
    repeating.postBehavior = EnvelopeBehavior::Repeat;
    f = flush(job, *object, 1, 3, repeating);
    EXPECT_EQ(f.rows.at(0), (Strings{"ARTICULATION", "0", "1e+10", "0", "0", "0", "0", "2", "Dish", "Yaw", "-0",
                                     "-90.0002"}));

    job.subdivide = true;
    job.subdivideSteps = 4;
    f = flush(job, *object, 1, 3, dish);
    ASSERT_EQ(f.count, 4);
    EXPECT_EQ(column(f, StartTime), (Strings{"0", "0.5", "1", "1.5"}));
    EXPECT_EQ(column(f, Duration), (Strings{"0.5", "0.5", "0.5", "0.5"}));
    EXPECT_EQ(f.rows[0][StartValue], "-0");
    EXPECT_EQ(f.rows[3][EndValue], "-90.0002");
    for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(f.rows[i][StartValue], f.rows[i - 1][EndValue]);
    EXPECT_EQ(f.rows[1][StartValue], "-22.5001");  // two TCB keys run straight

    // A layer without a pitch code writes nothing for the heading channel.
    auto pitchOnly = loadObject({layr(0, "Dish@P")});
    EXPECT_EQ(flush(commaJob(), *pitchOnly, 1, 3, dish).count, 0);
}

TEST(ScriptWriter, WhichKeyIntervalsGiveRows) {
    auto object = loadObject({layr(0, "Arm")});
    const ConversionJob job = commaJob();

    // One key holds its value for one scene second from its time.
    Flushed f = flush(job, *object, 1, 0, keys({key(4, 2)}));
    ASSERT_EQ(f.count, 1);
    EXPECT_EQ(f.rows[0][StartTime], "4");
    EXPECT_EQ(f.rows[0][Duration], "1");
    EXPECT_EQ(f.rows[0][StartValue], "2");
    EXPECT_EQ(f.rows[0][EndValue], "2");

    // The first interval always gives a row; unchanged ones after it do not.
    f = flush(job, *object, 1, 0, keys({key(0, 3), key(1, 3), key(2, 3)}));
    EXPECT_EQ(f.count, 1);
    f = flush(job, *object, 1, 0, keys({key(0, 0), key(1, 5), key(2, 5), key(3, 7)}));
    EXPECT_EQ(column(f, StartTime), (Strings{"0", "2"}));

    // A stepped last key: the row before holds the old value for 0.999 of the
    // interval, then one more row puts the new value in force.
    f = flush(job, *object, 1, 0, keys({key(0, 1), key(2, 4, KeyShape::Stepped)}));
    ASSERT_EQ(f.count, 2);
    EXPECT_EQ(f.rows[0], (Strings{"ARTICULATION", "0", "1.998", "0", "0", "0", "0", "0", "Arm", "MoveX", "1", "1"}));
    EXPECT_EQ(f.rows[1], (Strings{"ARTICULATION", "2", "1", "0", "0", "0", "0", "0", "Arm", "MoveX", "4", "4"}));

    // Repeating keys out of time order have a negative period: plain rows.
    f = flush(job, *object, 1, 0, keys({key(3, 1), key(1, 2)}, EnvelopeBehavior::Repeat));
    ASSERT_EQ(f.count, 1);
    EXPECT_EQ(f.rows[0][Duration], "-2");
    EXPECT_EQ(f.rows[0][Period], "0");

    // No keys, or no layer: nothing.
    EXPECT_EQ(flush(job, *object, 1, 0, Envelope{}).count, 0);
    EXPECT_EQ(flush(job, *object, 7, 0, keys({key(0, 1)})).count, 0);
}

TEST(ScriptWriter, SliceCounts) {
    ConversionJob job;
    job.subdivide = true;
    job.subdivideMode = SubdivideMode::ByTimeStep;
    job.subdivideTimeStep = 0.25f;
    const EnvelopeKey start = key(0, 0);
    EnvelopeKey end = key(2, 1);
    EXPECT_EQ(vx::sliceCount(job, start, &end), 8);
    end.time = 2.01f;
    EXPECT_EQ(vx::sliceCount(job, start, &end), 9);
    end.time = 2.002f;
    EXPECT_EQ(vx::sliceCount(job, start, &end), 8);
    end.time = 1e30f;
    EXPECT_EQ(vx::sliceCount(job, start, &end), vx::kMaxSlices);
    job.subdivideTimeStep = 0;
    EXPECT_EQ(vx::sliceCount(job, start, &end), 0);

    job.subdivideMode = SubdivideMode::BySlices;
    job.subdivideSteps = 2000000000;
    EXPECT_EQ(vx::sliceCount(job, start, &end), vx::kMaxSlices);
    job.subdivide = false;
    EXPECT_EQ(vx::sliceCount(job, start, &end), 0);

    // Plain intervals: linear and stepped ends, no time between the keys,
    // flat eased keys.
    job.subdivide = true;
    EnvelopeKey a = key(0, 1), b = key(1, 1);
    EXPECT_FALSE(vx::isPlainSpan(job, a, &b));
    a.tension = b.tension = 1;
    EXPECT_TRUE(vx::isPlainSpan(job, a, &b));
    EXPECT_TRUE(vx::isPlainSpan(job, a, nullptr));
    const EnvelopeKey linear = key(1, 5, KeyShape::Linear), backwards = key(-1, 5);
    EXPECT_TRUE(vx::isPlainSpan(job, a, &linear));
    EXPECT_TRUE(vx::isPlainSpan(job, a, &backwards));

    // One slice is no slicing; a flat middle slice is left out.
    auto object = loadObject({layr(0, "Arm@x")});
    ConversionJob sliced = commaJob();
    sliced.subdivide = true;
    sliced.subdivideSteps = 1;
    EXPECT_EQ(flush(sliced, *object, 1, 0, keys({key(0, 0), key(2, 1)})).count, 1);
    sliced.subdivideSteps = 4;
    Flushed f = flush(sliced, *object, 1, 0, keys({key(0, 0), key(1, 1), key(2, 0)}));
    EXPECT_EQ(f.count, 8);
    Envelope bump = keys({key(0, 0), key(2, 0)});
    bump.keys[0].shape = bump.keys[1].shape = KeyShape::Hermite;
    bump.keys[0].params = {0, 4, 0, 0};
    bump.keys[1].params = {4, 0, 0, 0};  // rises and falls back
    f = flush(sliced, *object, 1, 0, bump);
    EXPECT_EQ(column(f, StartTime), (Strings{"0", "0.5", "1", "1.5"}));
    sliced.subdivideSteps = 2;  // the single middle sample is kept
    EXPECT_EQ(flush(sliced, *object, 1, 0, bump).count, 2);
}

TEST(ScriptWriter, ChannelsFollowTheModelAxes) {
    auto object = loadObject({layr(0, "Body"), layr(1, "Pod@sY(Azimuth)")});
    auto transformation = [&](ModelType type, int layerNumber, int channel) {
        Flushed f = flush(commaJob(type), *object, layerNumber, channel, keys({key(0, 1), key(1, 2)}));
        return f.rows.empty() ? std::string("-") : f.rows[0][Transformation] + " " + f.rows[0][EndValue];
    };
    // Spacecraft: Z drives MoveX, X drives MoveY, Y drives MoveZ reversed,
    // heading turns the other way round than for a model without rotation.
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 1, 2), "MoveX 2");
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 1, 0), "MoveY 2");
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 1, 1), "MoveZ -2");
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 1, 3), "Yaw 114.592");
    EXPECT_EQ(transformation(ModelType::None, 1, 3), "Yaw -114.592");
    EXPECT_EQ(transformation(ModelType::None, 1, 5), "Roll 114.592");
    EXPECT_EQ(transformation(ModelType::GroundVehicle, 1, 0), "MoveY -2");
    EXPECT_EQ(transformation(ModelType::GroundVehicle, 1, 4), "Pitch 114.592");
    EXPECT_EQ(transformation(ModelType::Facility, 1, 1), "MoveZ 2");
    EXPECT_EQ(transformation(ModelType::Facility, 1, 7), "-");  // no "Sz" among the default codes
    // Scale Z becomes the first scale axis, which uniform size stands in for.
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 1, 8), "Size 2");
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 2, 8), "Size 2");
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 2, 3), "Azimuth 114.592");
    EXPECT_EQ(transformation(ModelType::SpacecraftAircraft, 2, 2), "-");
    EXPECT_EQ(transformation(ModelType::None, 1, 9), "-");
    EXPECT_EQ(transformation(ModelType::None, 1, -1), "-");

    auto scaled = loadObject({layr(0, "Pod@sSxSz(Stretch)")});
    Flushed f = flush(commaJob(ModelType::Facility), *scaled, 1, 6, keys({key(0, 1)}));
    EXPECT_EQ(f.rows.at(0)[Transformation], "ScaleX");
    // A facility's scale Y is its model's scale Z.
    f = flush(commaJob(ModelType::Facility), *scaled, 1, 7, keys({key(0, 1)}));
    EXPECT_EQ(f.rows.at(0)[Transformation], "Stretch");
}

TEST(ScriptWriter, MovesAreMeasuredFromThePivot) {
    // LightWave pivot (2, 3, -1) is (2, 3, 1) in the axes of a model without rotation.
    auto object = loadObject({layr(0, "Arm", 2, 3, -1)});
    const ConversionJob job = commaJob(ModelType::None);
    Flushed f = flush(job, *object, 1, 0, keys({key(0, 5), key(1, 6)}));
    EXPECT_EQ(f.rows.at(0)[StartValue], "3");
    EXPECT_EQ(f.rows.at(0)[EndValue], "4");
    f = flush(job, *object, 1, 2, keys({key(0, 5)}));
    EXPECT_EQ(f.rows.at(0)[StartValue], "-6");  // -5 - 1

    // The pivot was decoded once and kept in the layer's group...
    const vx::LayerGroup& group = vx::parentGroup(*object->context, 1);
    EXPECT_TRUE(group.pivotKnown);
    EXPECT_EQ(group.pivot.z, 1.0f);
    EXPECT_EQ(vx::loadF4(object->file.bytes.data() + object->file.bytes.size() - 16), 2.0f);  // stored pivot untouched

    // ...and a pivot the model conversion stored is the one used.
    vx::setPivot(vx::parentGroup(*object->context, 1), {10, 20, 30});
    f = flush(job, *object, 1, 1, keys({key(0, 5)}));
    EXPECT_EQ(f.rows.at(0)[StartValue], "-15");
}

TEST(ScriptWriter, RowLayouts) {
    auto object = loadObject({layr(0, "Dish@Y")});
    ConversionJob job;
    job.modelType = ModelType::None;
    job.epoch = 100;
    job.secondsPerFrame = 0.1;
    job.timeScale = 3;

    job.scriptFormat = ScriptFormat::TabSeparated;
    Flushed f = flush(job, *object, 1, 3, keys({key(1, 0), key(2, 1)}));
    EXPECT_EQ(f.text, "ARTICULATION\t103\t3\t0\t0\t0\t0\t0\tDish\tYaw\t-0\t-57.2958\n");

    job.scriptFormat = ScriptFormat::Standard;
    f = flush(job, *object, 1, 3, keys({key(1, 0), key(2, 1)}));
    EXPECT_EQ(f.text,
              "NEW_ARTICULATION\n\tSTARTTIME        103\n\tDURATION         3\n\tDEADBANDDURATION 0\n"
              "\tACCELDURATION    0.000000\n\tDECELDURATION    0.000000\n\tDUTYCYCLEDELTA   0.000000\n"
              "\tPERIOD           0\n\tARTICULATION     Dish\n\tTRANSFORMATION   Yaw\n\tSTARTVALUE       -0\n"
              "\tENDVALUE         -57.2958\n");

    // An unknown layout prints nothing but still counts its rows.
    job.scriptFormat = static_cast<ScriptFormat>(5);
    f = flush(job, *object, 1, 3, keys({key(1, 0), key(2, 1)}));
    EXPECT_EQ(f.count, 1);
    EXPECT_EQ(f.text, "");
}

}  // namespace
