// Writes the fuzz targets' seed inputs under fuzz/corpus/ (committed): small
// objects made by the tests' builder (an LWO3 one among them), scenes for the
// fixed object of the scene target, layer names, and model and script headers
// written by the converter itself. The bundled examples are copied in as seeds too.
// Usage: make_fuzz_seeds SOURCE_DIR CORPUS_DIR

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "dispatch/run_job.h"
#include "core/message_sink.h"
#include "fuzz/fuzz_objects.h"
#include "tests/support/lwo3_builder.h"

namespace fs = std::filesystem;
using namespace vxtest;

namespace {

class PrintingSink final : public vx::MessageSink {
public:
    void report(const vx::Message& m) override { std::cerr << m.path << ": " << m.text << '\n'; }
};

bool writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
bool writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    return writeBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// An image mapped through a UV map, a surface with every basic field and
// polygons tagged with surfaces that do and do not exist.
std::vector<std::uint8_t> texturedObject() {
    const Data quad = Data().point(0, 0, 0).point(1, 0, 0).point(1, 1, 0).point(0, 1, 0);
    const Data skin = Data()
                          .add(colr(0.9f, 0.5f, 0.1f))
                          .add(fp4("DIFF", 0.8f)).add(fp4("LUMI", 0.1f)).add(fp4("SPEC", 0.4f))
                          .add(fp4("GLOS", 0.6f)).add(fp4("TRAN", 0.5f)).add(fp4("SMAN", 1.2f))
                          .add(sub("SIDE", Data().u2(3)))
                          .add(cmnt("ColorTranslate ParmTransp"))
                          .add(imageBlock("COLR", 2, wrap(2, 1).add(uvName("Skin UV"))
                                                         .add(sub("AAST", Data().u2(1).f4(0.5f)))
                                                         .add(sub("PIXB", Data().u2(1)))))
                          .add(imageBlock("TRAN", 2));
    return form("LWO2", {
        tagsChunk({"Skin", "Missing"}),
        clip(2, "images/skin.tga"),
        layr(0, "Panel@Sx(Width)1_2", 0.5f, 0.5f, 0.0f),
        chunk("PNTS", quad),
        txuv("Skin UV", {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1}}),
        facePols({{0, 1, 2, 3}, {2, 1, 0}, {3}}),
        surfPtag({0, 1, 0}),
        surf("Skin", skin),
    });
}

std::vector<std::uint8_t> lightwave5Object() {
    const Data points = Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0).point(0, 0, 1);
    const Data polygons = Data().add(lwobPolygon({0, 1, 2}, 1)).add(lwobPolygon({0, 2, 3}, 2)).add(lwobPolygon({3}, 1));
    const Data paint = Data().name("Paint")
                           .add(sub("COLR", Data().u1(200).u1(20).u1(20).u1(0)))
                           .add(sub("FLAG", Data().u2(4 | 256)))
                           .add(sub("SPEC", Data().u2(128)))
                           .add(sub("TRAN", Data().u2(32)));
    return form("LWOB", {chunk("PNTS", points), chunk("SRFS", Data().name("Paint").name("Glass")),
                         chunk("POLS", polygons), chunk("SURF", paint),
                         chunk("SURF", Data().name("Glass").add(sub("GLOS", Data().u2(64))))});
}

std::string key(std::string_view value, std::string_view time, int shape, std::string_view params) {
    std::string k = "  Key ";
    k += value;
    k += ' ';
    k += time;
    k += ' ';
    k += std::to_string(shape);
    k += ' ';
    k += params;
    k += '\n';
    return k;
}

// Every layer of the scene target's object with every channel, each channel
// with its own key shape and behaviours, and an item of another object between.
std::string keysScene() {
    std::string scene = "LWSC\n5\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\n\n";
    int behaviour = 0;
    for (int layer = 1; layer <= 4; ++layer) {
        scene += "LoadObjectLayer " + std::to_string(layer) + " 1000000" + std::to_string(layer) + " Objects/";
        scene += vxfuzz::kSceneObjectName;
        scene += "\nShowObject 7 -1 0.4 0.9 0.9\nObjectMotion\nNumChannels 9\n";
        for (int channel = 0; channel < 9; ++channel) {
            const int shape = (channel + layer) % 6;
            scene += "Channel " + std::to_string(channel) + "\n{ Envelope\n  3\n";
            scene += key("0", "0", 0, "0 0 0 0 0 0");
            scene += key("1.25", "0.5", shape, "0.5 -0.5 0.25 0.1 0.2 0 0");
            scene += key("-0.75", "2", shape, "-1 1 0 0.3 -0.3 0.1 0.1");
            scene += "  Behaviors " + std::to_string(behaviour % 6) + " " + std::to_string((behaviour + 2) % 6) + "\n}\n";
            ++behaviour;
        }
        if (layer == 2) scene += "\nLoadObjectLayer 1 10000009 Objects/other.lwo\nChannel 0\n{ Envelope\n  1\n"
                                 "  Key 5 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n\nAddNullObject Target\n";
    }
    return scene;
}

// Repeating and stepped keys far apart, with one layer number the object does not have.
std::string timingScene() {
    std::string scene = "LWSC\n3\n\nLoadObjectLayer 2 Objects\\";
    scene += vxfuzz::kSceneObjectName;
    scene += "\nChannel 3\n{ Envelope\n  4\n";
    scene += key("0", "0", 4, "0 0 0 0 0 0");
    scene += key("3.14159", "10", 4, "0 0 0 0 0 0");
    scene += key("1", "12.5", 3, "0 0 0 0 0 0");
    scene += key("2", "40", 5, "0.1 0.2 0.3 0.4 0 0");
    scene += "  Behaviors 2 2\n}\nChannel 7\n{ Envelope\n  2\n";
    scene += key("1", "0", 1, "0 0 0 0 0 0");
    scene += key("3", "1e3", 2, "0 0 0 1 1 0");
    scene += "  Behaviors 3 4\n}\nLoadObjectLayer 9 ";
    scene += vxfuzz::kSceneObjectName;
    scene += "\nChannel 0\n{ Envelope\n  1\n";
    scene += key("1", "0", 0, "0 0 0 0 0 0");
    scene += "}\n";
    return scene;
}

// The first lines of a written file, enough for the readers that look only there.
std::string head(const fs::path& path, int lines) {
    std::ifstream in(path, std::ios::binary);
    std::string text, line;
    for (int i = 0; i < lines && std::getline(in, line); ++i) text += line + '\n';
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_fuzz_seeds SOURCE_DIR CORPUS_DIR\n";
        return 2;
    }
    const fs::path source = argv[1];
    const fs::path corpus = argv[2];
    for (const char* target : {"object", "scene", "layer_name", "text"}) fs::create_directories(corpus / target);
    bool ok = true;

    const std::vector<std::uint8_t> articulated = vxfuzz::articulatedObject();
    ok &= writeBytes(corpus / "object/articulated.lwo", articulated);
    ok &= writeBytes(corpus / "object/textured.lwo", texturedObject());
    ok &= writeBytes(corpus / "object/lightwave5.lwo", lightwave5Object());
    ok &= writeBytes(corpus / "object/lwo3-nodes.lwo", lwo3Triangle());
    ok &= writeBytes(corpus / "object/named-layer.lwo", vxfuzz::namedLayerObject("Hook@A1(Grip)Ap"));
    for (const char* example : {"beacon.lwo", "ship.lwo"}) {
        fs::copy_file(source / "examples" / example, corpus / "object" / example, fs::copy_options::overwrite_existing);
    }

    ok &= writeBytes(corpus / "scene/keys.lws", keysScene());
    ok &= writeBytes(corpus / "scene/timing.lws", timingScene());
    fs::copy_file(source / "examples/ship.lws", corpus / "scene/ship.lws", fs::copy_options::overwrite_existing);

    const std::string_view names[] = {
        "Dish@Y(Azimuth)-180_0_180P(Elevation)0_45_90",
        "Arm@x(Reach)0_2y-1_1z(Lift)Sx(Grow)0.5_2SySzs(Size)",
        "Wing@R(Tilt)-90_0_90u(Scroll)v(Pan)r(Spin)",
        "Hook@A1(Grip)Ap(Ahead)Sus0_1Sv",
        "Turret@Y(Traverse)_-10_10_P((Nested)0_5",
        "Component name longer than thirty-one characters@",
        "@",
        "",
        // Long enough for the fuzzer to try names of a few hundred bytes.
        "Boom arm with a long name@Y(Slew)-180_0_180P(Luff)0_80x(Telescope)0_12.5y(Hoist)-3_3z(Trolley)"
        "0_40Sx(Width)1_2Sy(Height)1_2Sz(Depth)1_2Su(Scroll)Sv(Pan)s(Size)0.5_1.5R(Tilt)-5_5u(U)v(V)r(Spin)"
        "A1(Hook)Ap(Ahead)Ae(Smoke)i3p(Pointing)o(Orientation)",
    };
    int n = 0;
    for (std::string_view name : names) ok &= writeBytes(corpus / ("layer_name/name-" + std::to_string(n++)), name);

    // Model and script headers as the converter writes them.
    const fs::path object = corpus / "text" / vxfuzz::kSceneObjectName;
    ok &= writeBytes(object, articulated);
    const char* scripts[] = {"script-standard.sama", "script-tabs.gvma", "script-commas.fma"};
    for (int format = 0; format < 3; ++format) {
        vx::ConversionJob job;
        job.inputPath = object.string();
        job.outputPath = (corpus / "text/model.mdl").string();
        job.scenePath = (corpus / "scene/keys.lws").string();
        job.scriptPath = (corpus / "text" / scripts[format]).string();
        job.articulate = true;
        job.convert = format == 0;
        job.modelType = static_cast<vx::ModelType>(format + 1);
        job.scriptFormat = static_cast<vx::ScriptFormat>(format);
        job.epoch = format * 100.5;
        job.secondsPerFrame = format == 1 ? 0.04 : 1.0 / 30.0;
        job.subdivide = format != 0;
        job.subdivideMode = format == 1 ? vx::SubdivideMode::ByTimeStep : vx::SubdivideMode::BySlices;
        PrintingSink sink;
        ok &= vx::runJob(job, sink) == 0;
    }
    fs::remove(object);
    for (const char* name : {"model.mdl", scripts[0], scripts[1], scripts[2]}) {
        const fs::path path = corpus / "text" / name;
        ok &= writeBytes(path, head(path, 12));
    }
    if (!ok) std::cerr << "make_fuzz_seeds: a seed could not be written\n";
    return ok ? 0 : 1;
}
