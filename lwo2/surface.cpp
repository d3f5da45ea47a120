#include "lwo2/surface.h"

#include <cmath>
#include <limits>
#include <optional>

#include "core/identifier.h"
#include "core/number_format.h"
#include "lwo2/surface_chunks.h"

namespace vx {

namespace {

constexpr std::size_t kMaxImageName = 39;

// Truncation toward zero that saturates instead of overflowing.
int truncate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

float clampUnit(float v) {
    if (v < 0.0f) return 0.0f;
    if (v > 1.0f) return 1.0f;
    return v;
}

void appendColor(std::string& out, std::string_view keyword, const int rgb[3]) {
    out += keyword;
    out += '%';
    for (int i = 0; i < 3; ++i) appendInt3(out, rgb[i]);
    out += '\n';
}

struct TextureState {
    std::string color1, color2, alpha1, alpha2, bump;
    bool pixelBlending = true;
    bool mipmapping = true;
    bool clampS = false;
    bool clampT = false;
    float bumpScale = 1.0f;
    bool colorKeyed = false;
    bool noDiffuse = false;
};

class SurfaceTranslator {
public:
    SurfaceTranslator(Lwo2Context& context, Lwo2Surface& surface, int layerNumber, bool allImageFormats)
        : context_(context), surface_(surface), layerNumber_(layerNumber), allImageFormats_(allImageFormats), bytes_(context.file.all()) {}

    std::string run() {
        std::optional<Chunk> colr = field("COLR");
        if (!colr) return "\t\tFaceColor grey78\n";
        faceColor(*colr);
        commentKeywords();
        emission();
        shading();
        textures();
        return std::move(text_);
    }

private:
    std::optional<Chunk> field(const char (&id)[5]) const {
        return findSurfaceField(context_, surface_, makeId(id));
    }
    std::optional<float> value(const char (&id)[5]) const {
        std::optional<Chunk> c = field(id);
        if (!c) return std::nullopt;
        return ByteReader(context_.file.data(*c)).f4();
    }

    void faceColor(const Chunk& colr) {
        ByteReader r(context_.file.data(colr));
        for (int& level : levels_) level = truncate(std::floor(double(r.f4()) * 255.0 + 0.5));
        double diffuse = 1.0;
        if (std::optional<float> diff = value("DIFF")) {
            diffuse = *diff;
            if (*diff < 1e-8f) state_.noDiffuse = true;
        }
        for (int i = 0; i < 3; ++i) color_[i] = truncate(levels_[i] * diffuse);
        appendColor(text_, "\t\tFaceColor ", color_);
    }

    void commentKeywords() {
        const std::string_view comment = surfaceComment(context_, surface_).value_or(std::string_view());
        if (comment.find("ColorTranslate") != std::string_view::npos) {
            std::string name = "L";
            appendInt(name, layerNumber_);
            name += '_';
            name += singleLine(surface_.name);
            text_ += "\t\tArticulation ";
            text_ += name;
            static constexpr std::string_view kChannels[3][2] = {
                {"\n\t\t\tredColorTranslate Red 0 ", " 255"},
                {"\n\t\t\tgreenColorTranslate Green 0 ", " 255"},
                {"\n\t\t\tblueColorTranslate Blue 0 ", " 255"}};
            for (int i = 0; i < 3; ++i) {
                text_ += kChannels[i][0];
                appendInt(text_, color_[i]);
                text_ += kChannels[i][1];
            }
            text_ += "\n\t\tEndArticulation\n";
            context_.articulations += "#\t";
            context_.articulations += name;
            context_.articulations += " - Red, Green, Blue\n";
            // A colour that is driven from outside keeps its diffuse lighting.
            state_.noDiffuse = false;
        }
        if (std::size_t at = comment.find("SolarPanel"); at != std::string_view::npos) {
            const std::string group = singleLine(comment.substr(at));
            text_ += "\t\t";
            text_ += group;
            text_ += '\n';
            addSolarPanelGroup(context_, group);
        }
        if (comment.find("ParmTransp") != std::string_view::npos) state_.colorKeyed = true;
    }

    void emission() {
        std::optional<float> lumi = value("LUMI");
        if (lumi && *lumi > 0.0001f && *lumi < 1.00001f) {
            int rgb[3];
            for (int i = 0; i < 3; ++i) rgb[i] = truncate(double(*lumi) * levels_[i]);
            appendColor(text_, "\t\tFaceEmissionColor ", rgb);
        }
    }

    void shading() {
        if (state_.noDiffuse) text_ += "\t\tNoDiffuseLighting\n";

        // A negative zero angle is not below zero and leaves smoothing on.
        std::optional<Chunk> sman = field("SMAN");
        if (!sman || peekU4(context_.file.data(*sman), 0) == 0 ||
            ByteReader(context_.file.data(*sman)).f4() < 0.0f)
            text_ += "\t\tSmoothShading No\n";

        std::optional<Chunk> side = field("SIDE");
        if (!side || (peekU2(context_.file.data(*side), 0) & 2) == 0) text_ += "\t\tBackfaceCullable Yes\n";

        if (std::optional<float> tran = value("TRAN")) {
            const float v = clampUnit(*tran);
            text_ += "\t\tTranslucency ";
            appendFixed(text_, v, 6);
            text_ += '\n';
            // Nearly opaque: the texture's colour key makes the holes.
            if (v > 1e-15f && v < 0.011f) state_.colorKeyed = true;
        }

        text_ += "\t\tSpecularity ";
        appendFixed(text_, clampUnit(value("SPEC").value_or(0.0f)), 6);
        text_ += "\n\t\tShininess ";
        appendInt(text_, truncate(double(clampUnit(value("GLOS").value_or(0.4f))) * 128.0));
        text_ += '\n';
    }

    void textures() {
        forEachBlock(bytes_, surface_.area(), [&](const Chunk& blok) {
            textureBlock(blok);
            return true;
        });

        // One transparency layer under two colour layers goes with the second.
        if (!state_.color2.empty() && !state_.alpha1.empty() && state_.alpha2.empty()) {
            state_.alpha2 = std::move(state_.alpha1);
            state_.alpha1.clear();
        }
        if (!state_.color1.empty()) textureLines(state_.color1, state_.alpha1, true);
        if (!state_.color2.empty()) textureLines(state_.color2, state_.alpha2, false);
        if (!state_.bump.empty()) {
            text_ += "\t\tTexture\n\t\t\tRGB ";
            text_ += state_.bump;
            text_ += "\n\t\t\tParm Bump\n\t\t\tParm BumpScale ";
            appendGeneral(text_, state_.bumpScale);
            text_ += "\n\t\t\t#Parm SpecularBump\n\t\tEndTexture\n";
            addTextureUsed(context_, state_.bump);
        }
    }

    void textureBlock(const Chunk& blok) {
        std::optional<Chunk> imap = findSubChunk(bytes_, blok.offset, blok.size, makeId("IMAP"));
        if (!imap) return;  // procedural, gradient and shader layers carry no image
        ByteReader header = context_.file.reader(*imap);
        header.evenString();  // the ordinal
        if (!header.ok() || header.atEnd()) return;
        std::optional<Chunk> chan =
            findSubChunk(bytes_, imap->offset + header.offset(), header.remaining(), makeId("CHAN"));
        if (!chan) return;
        const ChunkId channel = peekU4(context_.file.data(*chan), 0);

        if (std::optional<Chunk> imag = findSubChunk(bytes_, blok.offset, blok.size, makeId("IMAG"))) {
            std::string name = imageNameFromClip(context_, ByteReader(context_.file.data(*imag)).vx(), allImageFormats_);
            if (channel == makeId("COLR")) {
                (state_.color1.empty() ? state_.color1 : state_.color2) = std::move(name);
            } else if (channel == makeId("TRAN")) {
                (state_.alpha1.empty() ? state_.alpha1 : state_.alpha2) = std::move(name);
                return;
            } else if (channel == makeId("BUMP")) {
                state_.bump = std::move(name);
                if (std::optional<Chunk> tamp = findSubChunk(bytes_, blok.offset, blok.size, makeId("TAMP")))
                    state_.bumpScale = ByteReader(context_.file.data(*tamp)).f4();
                return;
            } else {
                return;
            }
        }
        // Options: the last block that has one decides.
        if (std::optional<Chunk> wrap = findSubChunk(bytes_, blok.offset, blok.size, makeId("WRAP"))) {
            ByteReader r = context_.file.reader(*wrap);
            const std::uint16_t width = r.u2(), height = r.u2();
            state_.clampS = width == 0 || width == 3;
            state_.clampT = height == 0 || height == 3;
        }
        if (std::optional<Chunk> aast = findSubChunk(bytes_, blok.offset, blok.size, makeId("AAST")))
            state_.mipmapping = peekU2(context_.file.data(*aast), 0) != 0;
        if (std::optional<Chunk> pixb = findSubChunk(bytes_, blok.offset, blok.size, makeId("PIXB")))
            state_.pixelBlending = peekU2(context_.file.data(*pixb), 0) != 0;
    }

    void textureLines(const std::string& image, const std::string& alpha, bool withClamps) {
        text_ += "\t\tTexture\n\t\t\tRGB ";
        text_ += image;
        text_ += '\n';
        addTextureUsed(context_, image);
        if (!alpha.empty()) {
            text_ += "\t\t\tAlpha ";
            text_ += alpha;
            text_ += '\n';
            addTextureUsed(context_, alpha);
        } else if (state_.colorKeyed) {
            text_ += "\t\t\tParm Transp\n";
        }
        if (state_.pixelBlending) text_ += "\t\t\tParm AA\n";
        if (state_.mipmapping) text_ += "\t\t\tParm Mipmap\n";
        if (withClamps && state_.clampS) text_ += "\t\t\tParm ClampS\n";
        if (withClamps && state_.clampT) text_ += "\t\t\tParm ClampT\n";
        text_ += "\t\tEndTexture\n";
    }

    Lwo2Context& context_;
    Lwo2Surface& surface_;
    const int layerNumber_;
    const bool allImageFormats_;
    const Bytes bytes_;
    std::string text_;
    TextureState state_;
    int levels_[3] = {0, 0, 0};  // colour levels before the diffuse factor
    int color_[3] = {0, 0, 0};   // as written, after it
};

// The CLIP for an image index. A two-byte index matches on the low 16 bits
// of the CLIP's index; a four-byte one must match whole.
std::optional<Chunk> clipFor(const ChunkFile& file, std::uint32_t index) {
    if (index < 0xFF00) return findClip(file, index);
    std::optional<Chunk> found;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != makeId("CLIP") || c.size < 4 || peekU4(file.data(c), 0) != index) return true;
        found = c;
        return false;
    });
    return found;
}

}  // namespace

std::string translateSurface(Lwo2Context& context, Lwo2Surface& surface, int layerNumber, bool allImageFormats) {
    return SurfaceTranslator(context, surface, layerNumber, allImageFormats).run();
}

std::string imageNameFromClip(const Lwo2Context& context, std::uint32_t index, bool allImageFormats) {
    std::string name;
    std::optional<Chunk> clip = clipFor(context.file, index);
    if (!clip || clip->size <= 10) return name;
    // The first sub-chunk of the CLIP (a still image's path) starts at 10.
    ByteReader r = context.file.reader(*clip);
    r.seek(10);
    bool cut = false;
    for (char c : r.cstring()) {
        if (c == '/' || c == '\\') {
            name.clear();
            cut = false;
        } else if (c == '.' && !allImageFormats) {
            cut = true;
        } else if (c >= 0x21 && c <= 0x7A && !cut && name.size() < kMaxImageName) {
            name += c;
        }
    }
    return name;
}

void addTextureUsed(Lwo2Context& context, std::string_view name) {
    std::string line = "#\t";
    line += name;
    line += '\n';
    if (context.texturesUsed.find(line) == std::string::npos) context.texturesUsed += line;
}

void addSolarPanelGroup(Lwo2Context& context, std::string_view text) {
    context.solarPanelGroups += "#\t";
    context.solarPanelGroups += text;
    context.solarPanelGroups += '\n';
}

std::optional<std::string_view> surfaceComment(const Lwo2Context& context, const Lwo2Surface& surface) {
    std::optional<Chunk> cmnt = findSurfaceField(context, surface, makeId("CMNT"));
    if (!cmnt) return std::nullopt;
    return context.file.reader(*cmnt).cstring();
}

}  // namespace vx
