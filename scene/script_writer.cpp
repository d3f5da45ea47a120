#include "scene/script_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/identifier.h"
#include "core/model_type.h"
#include "core/number_format.h"
#include "lwo2/context.h"
#include "lwo2/layer_codes.h"
#include "lwo2/layer_group.h"
#include "scene/script_settings.h"

namespace vx {

namespace {

constexpr float kNegatedDegrees = -57.29578f;  // radians to degrees, and LightWave turns the other way
constexpr float kSteppedHold = 0.999f;         // a stepped row ends just before the next key

enum class Conversion { Move, Rotate, Scale };

// What one scene channel of one layer drives in the model.
struct ChannelTarget {
    Conversion conversion = Conversion::Scale;
    bool negate = false;
    float pivot = 0;  // the pivot coordinate that moves are measured from
    // The row text from the period's end to the start value: the names with
    // their separators in the job's layout.
    std::string names;
};

// "%g" text of the numbers a row printed last. Slices follow one another, so
// a row's start value is the previous row's end value, and its duration,
// dead band and period mostly repeat; their text is copied, not formatted
// again. Only the start time is new in every row.
struct RowNumberTexts {
    struct Text {
        std::uint64_t bits = 0;
        bool known = false;
        std::uint8_t size = 0;
        char text[31] = {};
    };
    Text duration, deadBand, period, startValue, endValue;
};

std::uint64_t bitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

template <typename Real>
void appendRemembered(std::string& out, RowNumberTexts::Text& text, Real value) {
    const std::uint64_t bits = bitsOf(double(value));
    if (!text.known || text.bits != bits) {
        const std::size_t before = out.size();
        appendGeneral(out, value);
        const std::size_t size = std::min(out.size() - before, sizeof text.text);
        std::memcpy(text.text, out.data() + before, size);
        text.size = static_cast<std::uint8_t>(size);
        text.bits = bits;
        text.known = out.size() - before <= sizeof text.text;
        return;
    }
    out.append(text.text, text.size);
}

// The start value, which is usually the end value just printed.
void appendStartValue(std::string& out, RowNumberTexts& texts, float value) {
    if (texts.endValue.known && texts.endValue.bits == bitsOf(value)) texts.startValue = texts.endValue;
    appendRemembered(out, texts.startValue, value);
}

struct Row {
    float startTime = 0;
    double duration = 0;
    float deadBand = 0;
    float period = 0;
    float startValue = 0;
    float endValue = 0;
};

// The model channel a scene channel becomes: the same axes the points are
// decoded into (0 to 2 move X, Y, Z; 3 to 5 yaw, pitch, roll; 6 to 8 scale X, Y, Z).
int modelChannel(ModelType type, int channel) {
    static constexpr std::array<int, 9> kVehicle = {1, 2, 0, 3, 4, 5, 7, 8, 6};
    static constexpr std::array<int, 9> kFacility = {0, 2, 1, 3, 4, 5, 6, 8, 7};
    if (channel < 0 || channel > 8) return channel;
    switch (type) {
        case ModelType::SpacecraftAircraft:
        case ModelType::GroundVehicle: return kVehicle[static_cast<std::size_t>(channel)];
        case ModelType::Facility: return kFacility[static_cast<std::size_t>(channel)];
        default: return channel;
    }
}

// Model channels whose direction the axis rotation reverses.
bool reversed(ModelType type, int c) {
    switch (type) {
        case ModelType::SpacecraftAircraft: return c == 2 || c == 3;
        case ModelType::GroundVehicle: return c == 1 || c == 4;
        case ModelType::Facility: return false;
        default: return c == 2 || c == 5;
    }
}

// The layer's pivot in model axes, shared with the model conversion of the
// same run through the layer's group; decoded here (from a copy, so the
// object's bytes stay as they are) when the conversion did not handle it.
Point3 layerPivot(const ConversionJob& job, Lwo2Context& context, const LayerEntry& layer) {
    LayerGroup& group = parentGroup(context, layer.number);
    if (!group.pivotKnown) {
        // A LAYR chunk too short to hold a pivot has it at the origin.
        Point3 pivot;
        const std::span<std::uint8_t> bytes = layerPivotBytes(context.file, layer);
        if (bytes.size() == 12) {
            std::array<std::uint8_t, 12> stored{};
            std::copy(bytes.begin(), bytes.end(), stored.begin());
            float largest = 1.0f;
            decodePoints(stored, 1, job.modelType, largest);
            pivot = decodedPoint(stored.data(), 0);
        }
        setPivot(group, pivot);
    }
    return group.pivot;
}

std::optional<ChannelTarget> channelTarget(const ConversionJob& job, Lwo2Context& context, const LayerEntry& layer,
                                           int channel) {
    struct Code {
        char letter;
        char second;
        std::string_view name;
        Conversion conversion;
    };
    static constexpr std::array<Code, 9> kCodes = {{
        {'x', '\0', "MoveX", Conversion::Move},
        {'y', '\0', "MoveY", Conversion::Move},
        {'z', '\0', "MoveZ", Conversion::Move},
        {'Y', '\0', "Yaw", Conversion::Rotate},
        {'P', '\0', "Pitch", Conversion::Rotate},
        {'R', '\0', "Roll", Conversion::Rotate},
        {'S', 'x', "ScaleX", Conversion::Scale},
        {'S', 'y', "ScaleY", Conversion::Scale},
        {'S', 'z', "ScaleZ", Conversion::Scale},
    }};
    const int c = modelChannel(job.modelType, channel);
    if (c < 0 || c > 8) return std::nullopt;
    const Code& code = kCodes[static_cast<std::size_t>(c)];
    const LayerName name = parseLayerName(layer.name, layer.number);
    std::string_view defaultName = code.name;
    std::optional<std::size_t> item =
        code.second ? findCodePair(name.codes, code.letter, code.second) : findCode(name.codes, code.letter);
    if (!item && c == 6) {
        // Uniform size stands in for the first scale axis.
        item = findCode(name.codes, 's');
        defaultName = "Size";
    }
    if (!item) return std::nullopt;

    ChannelTarget target;
    const std::string& articulation = name.component;
    const std::string transformation = codeName(name.codes, *item, defaultName);
    if (job.scriptFormat == ScriptFormat::TabSeparated || job.scriptFormat == ScriptFormat::CommaSeparated) {
        const char separator = job.scriptFormat == ScriptFormat::TabSeparated ? '\t' : ',';
        target.names = separator + articulation + separator + transformation + separator;
    } else {
        target.names = "\n\tARTICULATION     " + articulation + "\n\tTRANSFORMATION   " + transformation +
                       "\n\tSTARTVALUE       ";
    }
    target.conversion = code.conversion;
    target.negate = reversed(job.modelType, c);
    if (code.conversion == Conversion::Move) {
        const Point3 pivot = layerPivot(job, context, layer);
        target.pivot = c == 0 ? pivot.x : c == 1 ? pivot.y : pivot.z;
    }
    return target;
}

void appendRow(std::string& out, ScriptFormat format, const Row& row, const ChannelTarget& target,
               RowNumberTexts& texts) {
    auto fields = [&](char separator) {
        out += "ARTICULATION";
        out += separator;
        appendGeneral(out, row.startTime);
        out += separator;
        appendRemembered(out, texts.duration, row.duration);
        out += separator;
        appendRemembered(out, texts.deadBand, row.deadBand);
        const char zeros[] = {separator, '0', separator, '0', separator, '0', separator};
        out.append(zeros, sizeof zeros);
        appendRemembered(out, texts.period, row.period);
        out += target.names;
        appendStartValue(out, texts, row.startValue);
        out += separator;
        appendRemembered(out, texts.endValue, row.endValue);
        out += '\n';
    };
    switch (format) {
        case ScriptFormat::Standard:
            out += "NEW_ARTICULATION\n\tSTARTTIME        ";
            appendGeneral(out, row.startTime);
            out += "\n\tDURATION         ";
            appendRemembered(out, texts.duration, row.duration);
            out += "\n\tDEADBANDDURATION ";
            appendRemembered(out, texts.deadBand, row.deadBand);
            out += "\n\tACCELDURATION    0.000000\n\tDECELDURATION    0.000000\n\tDUTYCYCLEDELTA   0.000000\n"
                   "\tPERIOD           ";
            appendRemembered(out, texts.period, row.period);
            out += target.names;
            appendStartValue(out, texts, row.startValue);
            out += "\n\tENDVALUE         ";
            appendRemembered(out, texts.endValue, row.endValue);
            out += '\n';
            break;
        case ScriptFormat::TabSeparated: fields('\t'); break;
        case ScriptFormat::CommaSeparated: fields(','); break;
        default: break;  // an unknown layout prints nothing, yet the row counts
    }
}

// Writes the rows of one channel's key intervals.
class SpanWriter {
public:
    SpanWriter(const ConversionJob& job, const Envelope& envelope, const ChannelTarget& target, float period,
               OutputFile& script, RowBudget& budget)
        : job_(job), envelope_(envelope), target_(target), period_(period), script_(script), budget_(budget) {}

    int writeSpan(const EnvelopeKey& key0, const EnvelopeKey* key1, const SpanHint& hint) {
        const int n = sliceCount(job_, key0, key1);
        if (n < 2 || isPlainSpan(job_, key0, key1)) return writeRow(key0, key1, false);
        // The slice keys keep the end key's shape and parameters; only their
        // value and time are new.
        EnvelopeKey a = key0;
        EnvelopeKey b = *key1;
        const float dt = toSingle((double(key1->time) - key0.time) / n);
        int rows = 0;
        for (int i = 1; i < n && !stopped(); ++i) {
            b.time = toSingle(double(i) * dt + key0.time);
            b.value = evaluateEnvelope(envelope_, b.time, hint);
            rows += writeRow(a, &b, i > 1);
            a = b;
        }
        return rows + writeRow(a, key1, false);
    }

    // No more rows: the bound is reached or the script can no longer be written.
    bool stopped() const { return budget_.exceeded || script_.failed(); }

private:
    int writeRow(const EnvelopeKey& key0, const EnvelopeKey* key1, bool skipUnchanged) {
        float v0 = key0.value;
        const float t0 = key0.time;
        float v1 = key1 ? key1->value : v0;
        const float t1 = key1 ? key1->time : toSingle(double(t0) + 1.0);
        const KeyShape endShape = key1 ? key1->shape : KeyShape::Linear;
        if (skipUnchanged && std::fabs(double(v1) - v0) < 1e-10) return 0;
        if (budget_.left == 0) budget_.exceeded = true;
        if (stopped()) return 0;
        --budget_.left;

        if (target_.negate) {
            v0 = -v0;
            v1 = -v1;
        }
        if (target_.conversion == Conversion::Move) {
            v0 = toSingle(double(v0) - target_.pivot);
            v1 = toSingle(double(v1) - target_.pivot);
        } else if (target_.conversion == Conversion::Rotate) {
            v0 = toSingle(double(v0) * kNegatedDegrees);
            v1 = toSingle(double(v1) * kNegatedDegrees);
        }

        Row row;
        row.duration = (double(t1) - t0) * job_.timeScale;
        if (endShape == KeyShape::Stepped) {
            // The value holds through the interval; the next row starts the new one.
            v1 = v0;
            row.duration *= double(kSteppedHold);
        }
        if (period_ > 1e-10) {
            row.period = toSingle(double(period_) * job_.timeScale);
            row.deadBand = toSingle(double(row.period) - row.duration);
            row.duration = 1e10;
        }
        row.startTime = toSingle(double(t0) * job_.timeScale + job_.epoch);
        row.startValue = v0;
        row.endValue = v1;
        appendRow(script_.buffer(), job_.scriptFormat, row, target_, texts_);
        script_.flushIfFull();
        return 1;
    }

    const ConversionJob& job_;
    const Envelope& envelope_;
    const ChannelTarget& target_;
    float period_;
    OutputFile& script_;
    RowBudget& budget_;
    RowNumberTexts texts_;
};

}  // namespace

void writeScriptHeader(const ConversionJob& job, OutputFile& script, std::string_view objectFileName) {
    std::string& text = script.buffer();
    text += "# Model articulation script for ";
    text += singleLine(objectFileName);
    text += "\n#\n";
    text += kSettingsPrefix;
    text += "Epoch ";
    appendGeneral(text, job.epoch);
    text += " SPF ";
    text += secondsPerFrameText(job.secondsPerFrame);
    text += " Format ";
    appendInt(text, static_cast<int>(job.scriptFormat));
    if (job.subdivide && job.subdivideMode == SubdivideMode::ByTimeStep) {
        text += " SubDivTime ";
        appendGeneral(text, job.subdivideTimeStep);
    } else if (job.subdivide && job.subdivideMode == SubdivideMode::BySlices) {
        text += " SubDivSteps ";
        appendInt(text, job.subdivideSteps);
    }
    text += "\n#\n";
    if (job.scriptFormat == ScriptFormat::TabSeparated) {
        text += "SPREADSHEET\n#\n#Columns:\tStartTime\tDuration\tDeadBandDuration\tAccelDuration\tDecelDuration"
                "\tDutyCycleDelta\tPeriod\tArticulation\tTransformation\tStartValue\tEndValue\n";
    } else if (job.scriptFormat == ScriptFormat::CommaSeparated) {
        text += "SPREADSHEET\n#\n#Columns:,StartTime,Duration,DeadBandDuration,AccelDuration,DecelDuration"
                ",DutyCycleDelta,Period,Articulation,Transformation,StartValue,EndValue\n";
    }
    script.flushIfFull();
}

bool isPlainSpan(const ConversionJob& job, const EnvelopeKey& key0, const EnvelopeKey* key1) {
    if (!job.subdivide || !key1) return true;
    if (key1->shape == KeyShape::Linear || key1->shape == KeyShape::Stepped) return true;
    if (std::fabs(double(key0.time) - key1->time) < 1e-10 || key0.time > key1->time) return true;
    // Two eased keys with the same value: the curve is flat.
    return key0.shape == KeyShape::TCB && key1->shape == KeyShape::TCB && std::fabs(key0.tension - 1.0) < 1e-10 &&
           std::fabs(key1->tension - 1.0) < 1e-10 && std::fabs(double(key0.value) - key1->value) < 1e-10;
}

int sliceCount(const ConversionJob& job, const EnvelopeKey& key0, const EnvelopeKey* key1) {
    if (!job.subdivide) return 0;
    double n = 0;
    if (job.subdivideMode == SubdivideMode::BySlices) {
        n = job.subdivideSteps;
    } else if (job.subdivideMode == SubdivideMode::ByTimeStep) {
        const double step = job.subdivideTimeStep;
        if (!key1 || !(std::fabs(step) >= 1e-10)) return 0;
        n = std::floor((double(key1->time) - key0.time) * job.timeScale / step + 0.99);
    }
    if (!(n > 0)) return 0;  // also an undefined count
    return n > kMaxSlices ? kMaxSlices : static_cast<int>(n);
}

RowBudget scriptRowBudget(const ConversionJob& job) {
    return {job.maxRows > 0 ? job.maxRows : INT64_MAX, false};
}

int flushChannel(const ConversionJob& job, Envelope& envelope, Lwo2Context& context,
                 const LayerEntry* layer, int channel, OutputFile& script, RowBudget& budget) {
    int rows = 0;
    const std::vector<EnvelopeKey>& keys = envelope.keys;
    std::optional<ChannelTarget> target;
    if (!keys.empty() && layer) target = channelTarget(job, context, *layer, channel);
    if (target) {
        const float period = envelope.postBehavior == EnvelopeBehavior::Repeat
                                 ? toSingle(double(keys.back().time) - keys.front().time)
                                 : 0.0f;
        SpanWriter writer(job, envelope, *target, period, script, budget);
        // The first interval always gives a row, even when its value does not change.
        rows += writer.writeSpan(keys[0], keys.size() > 1 ? &keys[1] : nullptr, SpanHint{});
        SpanHint hint;
        for (std::size_t i = 1; i + 1 < keys.size() && !writer.stopped(); ++i) {
            // The latest time the span search from the first key must pass to
            // reach key i; a key without a time stops that search for good.
            const float t = keys[i].time;
            hint.reach = std::isnan(t) ? std::numeric_limits<float>::infinity() : std::max(hint.reach, t);
            hint.span = i;
            const EnvelopeKey& next = keys[i + 1];
            // An unchanged value that needs no slicing is already in force.
            if (std::fabs(double(keys[i].value) - next.value) > 1e-15 || !isPlainSpan(job, keys[i], &next)) {
                rows += writer.writeSpan(keys[i], &next, hint);
            }
        }
        // A last stepped key puts its value in force for one scene second.
        if (keys.size() >= 2 && keys.back().shape == KeyShape::Stepped &&
            envelope.postBehavior != EnvelopeBehavior::Repeat) {
            rows += writer.writeSpan(keys.back(), nullptr, SpanHint{});
        }
    }
    envelope.clear();
    return rows;
}

}  // namespace vx
