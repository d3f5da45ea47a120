#include "app/cli.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <cmath>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>

#include "dispatch/run_job.h"
#include "core/file_checks.h"
#include "core/mdl_text.h"
#include "core/message_sink.h"
#include "core/model_type.h"
#include "core/model_type_recall.h"
#include "core/text_case.h"
#include "scene/envelope.h"
#include "scene/script_settings.h"

namespace vx {

namespace {

constexpr std::string_view kUsage =
    "Usage: vertexion-cli [OPTIONS] OBJECT...\n"
    "Converts LightWave objects (.lwo) into MDL model files.\n"
    "\n"
    "  -o, --output FILE          MDL file (only with one OBJECT); default: the object's name with\n"
    "                             a final \".lwo\" replaced by \".mdl\", or \".mdl\" appended\n"
    "      --no-convert           write no MDL file (LightWave 6+ objects only)\n"
    "  -t, --model-type TYPE      spacecraft | ground-vehicle | facility | none; default: recalled\n"
    "                             from the existing MDL file, else spacecraft\n"
    "      --no-sort-layers       convert layers in file order\n"
    "      --strip-image-extensions  texture names without file extensions\n"
    "      --scene FILE           write an articulation script from this LightWave scene\n"
    "      --script FILE          the script to write; default: the scene's name with \".lws\"\n"
    "                             replaced by \".sama\", \".gvma\" or \".fma\" by model type\n"
    "      --format standard|tab|comma   script layout\n"
    "      --epoch SECONDS        scenario time of the first frame\n"
    "      --spf SECONDS          seconds per frame, a number or a fraction such as 1/30\n"
    "      --slices N | --time-step SECONDS   subdivide curved key intervals\n"
    "                             (script settings not given are recalled from an existing script)\n"
    "      --max-rows N           refuse a script of more than N rows (default 2000000; 0: no bound)\n"
    "  -j, --jobs N               convert N objects at a time; default: the number of cores\n"
    "                             (each object's messages are printed together, in object order)\n"
    "  -q, --quiet                no warnings\n"
    "  -h, --help                 this text\n"
    "      --version              the program's version\n"
    "\n"
    "Layer-name codes: see vertexion-cli(1) or docs/layer-codes.md (installed in share/doc/vertexion/)\n";

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
// still report in one block each.
class CollectingSink final : public MessageSink {
public:
    explicit CollectingSink(bool quiet) : quiet_(quiet) {}
    void report(const Message& m) override {
        if (m.severity != Severity::Error && quiet_) return;
        text_ += messageLine(m);
        text_ += '\n';
    }
    const std::string& text() const { return text_; }

private:
    bool quiet_;
    std::string text_;
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
    bool quiet = false;
    bool help = false;
    bool version = false;
};

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
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            std::size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg.resize(eq);
            }
        } else if (arg.size() > 2) {
            inlineValue = arg.substr(2);  // -ofile
            arg.resize(2);
        }
        auto value = [&](std::string& out) -> bool {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        auto flag = [&](bool& target, bool to) -> std::string {
            if (inlineValue) return arg + " takes no value";
            target = to;
            return {};
        };
        std::string v;
        std::string problem;
        if (arg == "-h" || arg == "--help") {
            problem = flag(opt.help, true);
        } else if (arg == "--version") {
            problem = flag(opt.version, true);
        } else if (arg == "-q" || arg == "--quiet") {
            problem = flag(opt.quiet, true);
        } else if (arg == "--no-convert") {
            problem = flag(opt.noConvert, true);
        } else if (arg == "--no-sort-layers") {
            problem = flag(opt.sortLayers, false);
        } else if (arg == "--strip-image-extensions") {
            problem = flag(opt.allImageFormats, false);
        } else if (arg == "-o" || arg == "--output" || arg == "-t" || arg == "--model-type" || arg == "--scene" ||
                   arg == "--script" || arg == "--format" || arg == "--epoch" || arg == "--spf" ||
                   arg == "--slices" || arg == "--time-step" || arg == "--max-rows" || arg == "-j" ||
                   arg == "--jobs") {
            if (!value(v)) return arg + " needs a value";
            if (arg == "-o" || arg == "--output") {
                if (v.empty()) return arg + " needs a file name";
                opt.output = v;
            } else if (arg == "-t" || arg == "--model-type") {
                opt.modelType = parseModelType(v);
                if (!opt.modelType) return "unknown model type \"" + v + "\" (spacecraft, ground-vehicle, facility or none)";
            } else if (arg == "--scene") {
                if (v.empty()) return "--scene needs a file name";
                opt.scene = v;
            } else if (arg == "--script") {
                if (v.empty()) return "--script needs a file name";
                opt.script = v;
            } else if (arg == "--format") {
                if (v == "standard") opt.format = ScriptFormat::Standard;
                else if (v == "tab") opt.format = ScriptFormat::TabSeparated;
                else if (v == "comma") opt.format = ScriptFormat::CommaSeparated;
                else return "unknown script format \"" + v + "\" (standard, tab or comma)";
            } else if (arg == "--epoch") {
                opt.epoch = parseNumber(v);
                if (!opt.epoch) return "--epoch: \"" + v + "\" is not a number";
                if (!isUsableEpoch(*opt.epoch)) return "--epoch: \"" + v + "\" is beyond the script's time range";
            } else if (arg == "--spf") {
                opt.secondsPerFrame = parseSecondsPerFrame(v);
                if (!opt.secondsPerFrame || *opt.secondsPerFrame <= 0)
                    return "--spf: \"" + v + "\" is not a positive number or a fraction such as 1/30";
                if (!isUsableSecondsPerFrame(*opt.secondsPerFrame))
                    return "--spf: \"" + v + "\" is beyond the script's time range";
            } else if (arg == "--max-rows") {
                long long n = 0;
                auto r = std::from_chars(v.data(), v.data() + v.size(), n);
                if (v.empty() || r.ec != std::errc() || r.ptr != v.data() + v.size() || n < 0)
                    return "--max-rows: \"" + v + "\" is not a whole number of at least 0";
                opt.maxRows = n;
            } else if (arg == "--slices" || arg == "-j" || arg == "--jobs") {
                int n = 0;
                auto r = std::from_chars(v.data(), v.data() + v.size(), n);
                if (v.empty() || r.ec != std::errc() || r.ptr != v.data() + v.size() || n < 1)
                    return arg + ": \"" + v + "\" is not a whole number of at least 1";
                (arg == "--slices" ? opt.slices : opt.jobs) = n;
            } else {
                opt.timeStep = parseNumber(v);
                // The step is kept in single precision.
                if (!opt.timeStep || !std::isfinite(toSingle(*opt.timeStep)) || *opt.timeStep <= 0) return "--time-step: \"" + v + "\" is not a positive number";
            }
        } else {
            return "unknown option " + arg;
        }
        if (!problem.empty()) return problem;
    }
    if (opt.help || opt.version) return {};
    if (opt.objects.empty()) return "no OBJECT given";
    if (opt.output && opt.objects.size() > 1) return "--output takes one OBJECT only";
    if (opt.scene && opt.objects.size() > 1) return "--scene takes one OBJECT only";
    if (opt.slices && opt.timeStep) return "--slices and --time-step exclude each other";
    const bool sceneOption =
        opt.script || opt.format || opt.epoch || opt.secondsPerFrame || opt.slices || opt.timeStep || opt.maxRows;
    if (sceneOption && !opt.scene) return "script settings need --scene";
    if (opt.scene && !opt.script && !deriveScriptPath(*opt.scene, ModelType::None))
        return "--scene: \"" + *opt.scene + "\" does not end in \".lws\"; name the script with --script";
    return {};
}

// The script settings of a run: those given on the command line, the others
// recalled from the script's settings line the way the script dialog recalls
// them, else the defaults.
void setScriptOptions(const Options& opt, ConversionJob& entries) {
    entries.articulate = true;
    entries.scenePath = *opt.scene;
    entries.scriptPath = opt.script ? *opt.script : deriveScriptPath(*opt.scene, entries.modelType).value_or("");
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

std::size_t defaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
}

// Runs work(0) .. work(count - 1) on `workers` threads (on this one when a
// single worker is asked for) and calls done(i) on this thread in index
// order, each as soon as item i and all before it have finished.
template <typename Work, typename Done>
void runInOrder(std::size_t count, std::size_t workers, Work&& work, Done&& done) {
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            work(i);
            done(i);
        }
        return;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<bool> finished(count, false);
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    auto drain = [&] {
        for (std::size_t i; (i = next++) < count;) {
            work(i);
            std::lock_guard<std::mutex> lock(mutex);
            finished[i] = true;
            changed.notify_one();
        }
    };
    try {
        for (std::size_t w = 0; w < workers; ++w) threads.emplace_back(drain);
    } catch (const std::system_error&) {
        // No more threads to be had: those started do the work; with none, this one does.
        if (threads.empty()) return runInOrder(count, 1, work, done);
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return finished[i]; });
        lock.unlock();
        done(i);
    }
    for (std::thread& t : threads) t.join();
}

}  // namespace

std::string defaultOutputPath(const std::string& objectPath) {
    if (endsWithIgnoringCase(objectPath, ".lwo")) return objectPath.substr(0, objectPath.size() - 4) + ".mdl";
    return objectPath + ".mdl";
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options opt;
    if (std::string problem = parseArguments(args, opt); !problem.empty()) {
        err << "vertexion-cli: " << problem << " (see --help)\n";
        return 2;
    }
    if (opt.help) {
        out << kUsage;
        return 0;
    }
    if (opt.version) {
        out << kProgramBanner << '\n' << kLicence << '\n';
        return 0;
    }

    // Objects are independent runs: each has its own loaded file, context and
    // output, and the conversion keeps no state outside them, but no two may
    // write one model file: the later would silently replace the earlier.
    const std::size_t count = opt.objects.size();
    std::vector<std::string> outputs(count);
    for (std::size_t i = 0; i < count && !opt.noConvert; ++i)
        outputs[i] = opt.output ? *opt.output : defaultOutputPath(opt.objects[i]);
    std::vector<std::string> messages = refuseSharedOutputs(opt.objects, outputs);
    std::vector<ConversionStatus> statuses(count, 0);
    auto convert = [&](std::size_t i) {
        if (!messages[i].empty()) {
            statuses[i] = 1;
            return;
        }
        const std::string& object = opt.objects[i];
        ConversionJob entries;
        entries.inputPath = object;
        entries.outputPath = opt.output ? *opt.output : defaultOutputPath(object);
        entries.convert = !opt.noConvert;
        entries.sortLayers = opt.sortLayers;
        entries.allImageFormats = opt.allImageFormats;
        if (opt.modelType) {
            entries.modelType = *opt.modelType;
        } else if (auto recalled = readModelTypeFromMdl(entries.outputPath)) {
            entries.modelType = *recalled;
        }
        if (opt.scene) setScriptOptions(opt, entries);
        CollectingSink sink(opt.quiet);
        statuses[i] = validateAndRun(entries, sink);
        messages[i] = sink.text();
    };
    const std::size_t workers = std::min<std::size_t>(count, opt.jobs ? std::size_t(*opt.jobs) : defaultJobs());
    runInOrder(count, workers, convert, [&](std::size_t i) { err << messages[i] << std::flush; });

    int exitStatus = 0;
    for (ConversionStatus s : statuses) {
        if (s != 0) exitStatus = 1;
    }
    return exitStatus;
}

}  // namespace vx
