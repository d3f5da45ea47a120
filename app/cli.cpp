#include "app/cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <string_view>

#include "app/check_output.h"
#include "app/cli_preview.h"
#include "app/ordered_runner.h"
#include "app/output_counts.h"
#include "core/file_checks.h"
#include "core/mdl_text.h"
#include "core/message_sink.h"
#include "core/model_type.h"
#include "core/model_type_recall.h"
#include "core/output_paths.h"
#include "dispatch/run_job.h"
#include "scene/envelope.h"
#include "scene/script_settings.h"

namespace vx {

namespace {

constexpr std::string_view kLicence = "Published under the MIT licence.";

// Messages go out one line each, so a line break in a path or a text must
// not start what looks like a report of its own.
void appendOneLine(std::string& out, std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    for (char c : text) out += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? ' ' : c;
}

// "vertexion-cli: PATH: TEXT (REASON)", without the parts a message lacks.
std::string messageLine(const Message& m) {
    std::string line = "vertexion-cli: ";
    if (!m.path.empty()) {
        appendOneLine(line, m.path);
        line += ": ";
    }
    appendOneLine(line, m.text);
    if (!m.reason.empty()) {
        line += " (";
        appendOneLine(line, m.reason);
        line += ')';
    }
    return line;
}

// Collects one object's messages, so that objects converted side by side
// still report in one block each. Information (what --verbose asks for) is
// no diagnostic: it goes apart, bare, for standard output.
class CollectingSink final : public MessageSink {
public:
    explicit CollectingSink(bool quiet) : quiet_(quiet) {}
    void report(const Message& m) override {
        if (m.severity == Severity::Information) {
            appendOneLine(notes_, m.text);
            notes_ += '\n';
            return;
        }
        if (m.severity != Severity::Error && quiet_) return;
        text_ += messageLine(m);
        text_ += '\n';
    }
    const std::string& text() const { return text_; }
    const std::string& notes() const { return notes_; }

private:
    bool quiet_;
    std::string text_;
    std::string notes_;
};

// Objects whose model file another object of the run writes already; each
// refused one gets the message naming both. Paths that name one file (links,
// "dir/../x.mdl") count as the same.
std::vector<std::string> refuseSharedOutputs(const std::vector<std::string>& objects,
                                             const std::vector<std::string>& outputs) {
    std::vector<std::string> refusals(objects.size());
    std::map<std::string, std::size_t> writer;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (outputs[i].empty()) continue;
        auto [at, fresh] = writer.emplace(fileIdentity(outputs[i]), i);
        if (fresh) continue;
        CollectingSink sink(false);
        const std::string text = "The model file " + outputs[i] + " is also written for " + objects[at->second] +
                                 "; this object is not converted.";
        sink.error(text, objects[i]);
        refusals[i] = sink.text();
    }
    return refusals;
}

std::optional<double> parseNumber(std::string_view s) {
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// "0.05" or "1/30"; a zero divisor is no number.
std::optional<double> parseSecondsPerFrame(std::string_view s) {
    std::size_t slash = s.find('/');
    if (slash == std::string_view::npos) return parseNumber(s);
    auto a = parseNumber(s.substr(0, slash));
    auto b = parseNumber(s.substr(slash + 1));
    if (!a || !b || *b == 0) return std::nullopt;
    return *a / *b;
}

std::optional<ModelType> parseModelType(std::string_view s) {
    if (s == "spacecraft") return ModelType::SpacecraftAircraft;
    if (s == "ground-vehicle") return ModelType::GroundVehicle;
    if (s == "facility") return ModelType::Facility;
    if (s == "none") return ModelType::None;
    return std::nullopt;
}

// A whole number of at least `least` that is all of `s`.
template <typename Whole>
std::optional<Whole> parseWhole(std::string_view s, Whole least) {
    Whole n = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || n < least) return std::nullopt;
    return n;
}

struct Options {
    std::vector<std::string> objects;
    std::optional<std::string> output;
    std::optional<ModelType> modelType;
    bool noConvert = false;
    bool sortLayers = true;
    bool allImageFormats = true;
    std::optional<std::string> scene;
    std::optional<std::string> script;
    std::optional<ScriptFormat> format;
    std::optional<double> epoch;
    std::optional<double> secondsPerFrame;
    std::optional<int> slices;
    std::optional<double> timeStep;
    std::optional<long long> maxRows;
    std::optional<int> jobs;
    bool update = false;
    bool verbose = false;
    std::optional<std::string> preview;
    std::vector<std::string> poses;  // "Articulation.Transformation=VALUE", checked against the model once read
    bool quiet = false;
    bool check = false;
    bool json = false;
    bool help = false;
    bool version = false;
};

// What an option does to the options record: an empty string, or the reason
// of a usage error. `name` is the option as given ("-j" or "--jobs"), and
// `value` is empty for an option that takes none.
using OptionSetter = std::string (*)(Options& opt, const std::string& name, const std::string& value);

template <bool Options::*field, bool to>
std::string setFlag(Options& opt, const std::string&, const std::string&) {
    opt.*field = to;
    return {};
}

template <std::optional<std::string> Options::*field>
std::string setFileName(Options& opt, const std::string& name, const std::string& value) {
    if (value.empty()) return name + " needs a file name";
    opt.*field = value;
    return {};
}

template <std::optional<int> Options::*field>
std::string setCount(Options& opt, const std::string& name, const std::string& value) {
    opt.*field = parseWhole(value, 1);
    if (!(opt.*field)) return name + ": \"" + value + "\" is not a whole number of at least 1";
    return {};
}

std::string setModelType(Options& opt, const std::string&, const std::string& v) {
    opt.modelType = parseModelType(v);
    if (!opt.modelType) return "unknown model type \"" + v + "\" (spacecraft, ground-vehicle, facility or none)";
    return {};
}

std::string setFormat(Options& opt, const std::string&, const std::string& v) {
    if (v == "standard") opt.format = ScriptFormat::Standard;
    else if (v == "tab") opt.format = ScriptFormat::TabSeparated;
    else if (v == "comma") opt.format = ScriptFormat::CommaSeparated;
    else return "unknown script format \"" + v + "\" (standard, tab or comma)";
    return {};
}

std::string setEpoch(Options& opt, const std::string&, const std::string& v) {
    opt.epoch = parseNumber(v);
    if (!opt.epoch) return "--epoch: \"" + v + "\" is not a number";
    if (!isUsableEpoch(*opt.epoch)) return "--epoch: \"" + v + "\" is beyond the script's time range";
    return {};
}

std::string setSecondsPerFrame(Options& opt, const std::string&, const std::string& v) {
    opt.secondsPerFrame = parseSecondsPerFrame(v);
    if (!opt.secondsPerFrame || *opt.secondsPerFrame <= 0)
        return "--spf: \"" + v + "\" is not a positive number or a fraction such as 1/30";
    if (!isUsableSecondsPerFrame(*opt.secondsPerFrame)) return "--spf: \"" + v + "\" is beyond the script's time range";
    return {};
}

std::string setTimeStep(Options& opt, const std::string&, const std::string& v) {
    opt.timeStep = parseNumber(v);
    // The step is kept in single precision.
    if (!opt.timeStep || !std::isfinite(toSingle(*opt.timeStep)) || *opt.timeStep <= 0)
        return "--time-step: \"" + v + "\" is not a positive number";
    return {};
}

std::string setMaxRows(Options& opt, const std::string&, const std::string& v) {
    opt.maxRows = parseWhole<long long>(v, 0);
    if (!opt.maxRows) return "--max-rows: \"" + v + "\" is not a whole number of at least 0";
    return {};
}

// "NAME.TRANSFORM=VALUE": whether NAME.TRANSFORM is a line of the model is
// known only once the model is read.
std::string addPose(Options& opt, const std::string&, const std::string& v) {
    const std::size_t eq = v.rfind('=');
    if (eq == std::string::npos || v.find('.') >= eq || !parseNumber(std::string_view(v).substr(eq + 1)))
        return "--pose: \"" + v + "\" is not NAME.TRANSFORM=VALUE (an articulation, its line, a number)";
    opt.poses.push_back(v);
    return {};
}

struct OptionSpec {
    std::string_view shortName;  // empty for an option with a long name only
    std::string_view longName;
    bool takesValue;
    OptionSetter set;
    std::string_view help;  // the option's lines in --help
};

// Every option, in the order --help lists them (and the bash completion in
// dist/bash-completion offers them).
constexpr OptionSpec kOptions[] = {
    {"-o", "--output", true, setFileName<&Options::output>,
     "  -o, --output FILE          MDL file (only with one OBJECT); default: the object's name with\n"
     "                             a final \".lwo\" replaced by \".mdl\", or \".mdl\" appended\n"},
    {"", "--no-convert", false, setFlag<&Options::noConvert, true>,
     "      --no-convert           write no MDL file (LightWave 6+ objects only)\n"},
    {"-t", "--model-type", true, setModelType,
     "  -t, --model-type TYPE      spacecraft | ground-vehicle | facility | none; default: recalled\n"
     "                             from the existing MDL file, else spacecraft\n"},
    {"", "--no-sort-layers", false, setFlag<&Options::sortLayers, false>,
     "      --no-sort-layers       convert layers in file order\n"},
    {"", "--strip-image-extensions", false, setFlag<&Options::allImageFormats, false>,
     "      --strip-image-extensions  texture names without file extensions\n"},
    {"", "--scene", true, setFileName<&Options::scene>,
     "      --scene FILE           write an articulation script from this LightWave scene\n"},
    {"", "--script", true, setFileName<&Options::script>,
     "      --script FILE          the script to write; default: the scene's name with \".lws\"\n"
     "                             replaced by \".sama\", \".gvma\" or \".fma\" by model type\n"},
    {"", "--format", true, setFormat, "      --format standard|tab|comma   script layout\n"},
    {"", "--epoch", true, setEpoch, "      --epoch SECONDS        scenario time of the first frame\n"},
    {"", "--spf", true, setSecondsPerFrame,
     "      --spf SECONDS          seconds per frame, a number or a fraction such as 1/30\n"},
    {"", "--slices", true, setCount<&Options::slices>,
     "      --slices N | --time-step SECONDS   subdivide curved key intervals\n"
     "                             (script settings not given are recalled from an existing script)\n"},
    {"", "--time-step", true, setTimeStep, ""},  // described with --slices, which it excludes
    {"", "--max-rows", true, setMaxRows,
     "      --max-rows N           refuse a script of more than N rows (default 2000000; 0: no bound)\n"},
    {"-j", "--jobs", true, setCount<&Options::jobs>,
     "  -j, --jobs N               convert N objects at a time; default: the number of cores\n"
     "                             (each object's messages are printed together, in object order)\n"},
    {"-u", "--update", false, setFlag<&Options::update, true>,
     "  -u, --update               skip an object whose model (and script) is no older than the\n"
     "                             object (and the scene), as make does\n"},
    {"-v", "--verbose", false, setFlag<&Options::verbose, true>,
     "  -v, --verbose              a line for each file written, with what it holds, and for each\n"
     "                             object skipped by --update (on standard output)\n"},
    {"", "--check", false, setFlag<&Options::check, true>,
     "      --check                read each OBJECT and write nothing: its layers, codes, surfaces\n"
     "                             and images, with warnings (exit status 1 after a warning)\n"},
    {"", "--json", false, setFlag<&Options::json, true>,
     "      --json                 with --check: the report as one JSON document\n"},
    {"", "--preview", true, setFileName<&Options::preview>,
     "      --preview FILE.png     draw the model (front, side, top, three-quarter) into a PNG file;\n"
     "                             with --no-convert, the existing MDL file\n"},
    {"", "--pose", true, addPose,
     "      --pose NAME.TRANSFORM=VALUE  draw with this articulation line at VALUE (repeatable);\n"
     "                             without it each articulation is also drawn at its minimum and maximum\n"},
    {"-q", "--quiet", false, setFlag<&Options::quiet, true>, "  -q, --quiet                no warnings\n"},
    {"-h", "--help", false, setFlag<&Options::help, true>, "  -h, --help                 this text\n"},
    {"", "--version", false, setFlag<&Options::version, true>, "      --version              the program's version\n"},
};

std::string usageText() {
    std::string text =
        "Usage: vertexion-cli [OPTIONS] OBJECT...\n"
        "Converts LightWave objects (.lwo) into MDL model files.\n";
    text += kObjectVersions;
    text += "\n\n";
    for (const OptionSpec& o : kOptions) text += o.help;
    text += "\nLayer-name codes: see vertexion-cli(1) or docs/layer-codes.md (installed in share/doc/vertexion/)\n";
    return text;
}

const OptionSpec* findOption(std::string_view name) {
    for (const OptionSpec& o : kOptions) {
        if (name == o.longName || (!o.shortName.empty() && name == o.shortName)) return &o;
    }
    return nullptr;
}

// Cuts the value given in the same word off `arg`: "--output=file" and
// "-ofile" leave "--output" and "-o".
std::optional<std::string> splitInlineValue(std::string& arg) {
    std::optional<std::string> value;
    if (arg.rfind("--", 0) == 0) {
        std::size_t eq = arg.find('=');
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
    } else if (arg.size() > 2) {
        value = arg.substr(2);
        arg.resize(2);
    }
    return value;
}

// The rules between options, once all are read.
std::string checkCombinations(const Options& opt) {
    if (opt.help || opt.version) return {};
    if (opt.objects.empty()) return "no OBJECT given";
    if (opt.json && !opt.check) return "--json needs --check";
    if (opt.check && (opt.output || opt.scene || opt.noConvert || opt.preview))
        return "--check writes nothing: no --output, --scene, --no-convert or --preview";
    if (opt.output && opt.objects.size() > 1) return "--output takes one OBJECT only";
    if (opt.scene && opt.objects.size() > 1) return "--scene takes one OBJECT only";
    if (opt.preview && opt.objects.size() > 1) return "--preview takes one OBJECT only";
    if (!opt.poses.empty() && !opt.preview) return "--pose needs --preview";
    if (opt.slices && opt.timeStep) return "--slices and --time-step exclude each other";
    const bool sceneOption =
        opt.script || opt.format || opt.epoch || opt.secondsPerFrame || opt.slices || opt.timeStep || opt.maxRows;
    if (sceneOption && !opt.scene) return "script settings need --scene";
    if (opt.scene && !opt.script && !deriveScriptPath(*opt.scene, scriptExtension(ModelType::None)))
        return "--scene: \"" + *opt.scene + "\" does not end in \".lws\"; name the script with --script";
    return {};
}

// Fills `opt`; returns an empty string or the reason of a usage error.
std::string parseArguments(const std::vector<std::string>& args, Options& opt) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            opt.objects.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> value = splitInlineValue(arg);
        const OptionSpec* option = findOption(arg);
        if (!option) return "unknown option " + arg;
        if (!option->takesValue && value) return arg + " takes no value";
        if (option->takesValue && !value) {
            if (i + 1 >= args.size()) return arg + " needs a value";
            value = args[++i];
        }
        if (std::string problem = option->set(opt, arg, value.value_or("")); !problem.empty()) return problem;
    }
    return checkCombinations(opt);
}

// The script settings of a run: those given on the command line, the others
// recalled from the script's settings line the way the script dialog recalls
// them, else the defaults.
void setScriptOptions(const Options& opt, ConversionJob& entries) {
    entries.articulate = true;
    entries.scenePath = *opt.scene;
    entries.scriptPath =
        opt.script ? *opt.script : deriveScriptPath(*opt.scene, scriptExtension(entries.modelType)).value_or("");
    entries.subdivide = false;
    if (auto recalled = recallScriptSettings(entries.scriptPath)) applyRecalledSettings(*recalled, entries);
    if (opt.format) entries.scriptFormat = *opt.format;
    if (opt.epoch) entries.epoch = *opt.epoch;
    if (opt.secondsPerFrame) entries.secondsPerFrame = *opt.secondsPerFrame;
    if (opt.maxRows) entries.maxRows = *opt.maxRows;
    if (opt.slices) {
        entries.subdivide = true;
        entries.subdivideMode = SubdivideMode::BySlices;
        entries.subdivideSteps = *opt.slices;
    } else if (opt.timeStep) {
        entries.subdivide = true;
        entries.subdivideMode = SubdivideMode::ByTimeStep;
        entries.subdivideTimeStep = toSingle(*opt.timeStep);
    }
}

std::string outputPathFor(const Options& opt, const std::string& object) {
    return opt.output ? *opt.output : defaultOutputPath(object);
}

// The job for one object, filled as the dialog fills it.
ConversionJob jobFor(const Options& opt, const std::string& object) {
    ConversionJob entries;
    entries.inputPath = object;
    entries.outputPath = outputPathFor(opt, object);
    entries.convert = !opt.noConvert;
    entries.sortLayers = opt.sortLayers;
    entries.allImageFormats = opt.allImageFormats;
    if (opt.modelType) {
        entries.modelType = *opt.modelType;
    } else if (auto recalled = readModelTypeFromMdl(entries.outputPath)) {
        entries.modelType = *recalled;
    }
    if (opt.scene) setScriptOptions(opt, entries);
    return entries;
}

// The files the job asks for. (A LightWave 5 object, known only once it is
// read, yields a model even with --no-convert and never a script, so with
// --scene it is never up to date.)
std::vector<std::string> outputsOf(const ConversionJob& job) {
    std::vector<std::string> outputs;
    if (job.convert) outputs.push_back(job.outputPath);
    if (job.articulate) outputs.push_back(job.scriptPath);
    return outputs;
}

// make's rule: an output is remade when it is missing or when an input is
// newer than it; an input of the same time leaves it alone. A file whose
// time cannot be read (a missing input, an output that is no regular file)
// is never up to date, so the run reports what is wrong with it.
bool upToDate(const ConversionJob& job) {
    namespace fs = std::filesystem;
    std::vector<std::string> inputs = {job.inputPath};
    if (job.articulate) inputs.push_back(job.scenePath);
    const std::vector<std::string> outputs = outputsOf(job);
    for (const std::string& output : outputs) {
        std::error_code ec;
        if (!fs::is_regular_file(output, ec)) return false;
        const fs::file_time_type made = fs::last_write_time(output, ec);
        if (ec) return false;
        for (const std::string& input : inputs) {
            const fs::file_time_type changed = fs::last_write_time(input, ec);
            if (ec || changed > made) return false;
        }
    }
    return !outputs.empty();
}

// "Wrote PATH: ...", counted from the file as the run left it.
void reportWritten(const std::string& path, bool model, MessageSink& sink) {
    std::string line = "Wrote " + path;
    std::ifstream text(path, std::ios::binary);
    if (text) line += ": " + (model ? describeModel(countModel(text)) : describeScript(countScriptRows(text)));
    sink.report({Severity::Information, line, {}, {}});
}

struct ObjectReport {
    std::string messages;  // for standard error
    std::string notes;     // for standard output
};

// Converts one object, or with --update leaves it when its files are up to
// date; what it has to say goes into `report`.
ConversionStatus convertObject(const Options& opt, const std::string& object, ObjectReport& report) {
    if (opt.noConvert && !opt.scene && opt.preview) return 0;  // only the preview of the existing model
    const ConversionJob entries = jobFor(opt, object);
    CollectingSink sink(opt.quiet);
    ConversionStatus status = 0;
    if (opt.update && upToDate(entries)) {
        std::string line = "Up to date:";
        std::string_view separator = " ";
        for (const std::string& output : outputsOf(entries)) {
            line += separator;
            line += output;
            separator = ", ";
        }
        if (opt.verbose) sink.report({Severity::Information, line, {}, {}});
    } else {
        WrittenFiles written;
        status = validateAndRun(entries, sink, written);
        if (opt.verbose && written.model) reportWritten(entries.outputPath, true, sink);
        if (opt.verbose && written.script) reportWritten(entries.scriptPath, false, sink);
    }
    report = {sink.text(), sink.notes()};
    return status;
}

// The sheet of the one object's model, once it is written.
int writePreview(const Options& opt, std::ostream& err) {
    CollectingSink sink(opt.quiet);
    std::string problem;
    const int status = previewForCommandLine(outputPathFor(opt, opt.objects[0]), *opt.preview, opt.poses, sink, problem);
    err << sink.text();
    if (!problem.empty()) err << "vertexion-cli: " << problem << " (see --help)\n";
    return status;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options opt;
    if (std::string problem = parseArguments(args, opt); !problem.empty()) {
        err << "vertexion-cli: " << problem << " (see --help)\n";
        return 2;
    }
    if (opt.help) {
        out << usageText();
        return 0;
    }
    if (opt.version) {
        out << kProgramBanner << '\n' << kLicence << '\n';
        return 0;
    }
    if (opt.check) return runCheck(opt.objects, opt.json, out, err);

    // Objects are independent runs: each has its own loaded file, context and
    // output, and the conversion keeps no state outside them, but no two may
    // write one model file: the later would silently replace the earlier.
    const std::size_t count = opt.objects.size();
    std::vector<std::string> outputs(count);
    for (std::size_t i = 0; i < count && !opt.noConvert; ++i) outputs[i] = outputPathFor(opt, opt.objects[i]);
    const std::vector<std::string> refusals = refuseSharedOutputs(opt.objects, outputs);
    std::vector<ObjectReport> reports(count);
    std::vector<ConversionStatus> statuses(count, 1);
    auto convert = [&](std::size_t i) {
        if (refusals[i].empty()) statuses[i] = convertObject(opt, opt.objects[i], reports[i]);
        else reports[i].messages = refusals[i];
    };
    auto print = [&](std::size_t i) {
        err << reports[i].messages << std::flush;
        out << reports[i].notes << std::flush;
    };
    const std::size_t workers = std::min<std::size_t>(count, opt.jobs ? std::size_t(*opt.jobs) : defaultJobs());
    runInOrder(count, workers, convert, print);

    int exitStatus = 0;
    for (ConversionStatus s : statuses) {
        if (s != 0) exitStatus = 1;
    }
    if (opt.preview && exitStatus == 0) exitStatus = writePreview(opt, err);
    return exitStatus;
}

}  // namespace vx
