#include "lwo2/surface_text.h"

#include <cmath>
#include <limits>

#include "core/identifier.h"
#include "core/number_format.h"

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

// Where the texture layers' images go, and the options that apply to the
// colour textures; an empty name means no such image.
struct TextureSlots {
    std::string color1, color2, alpha1, alpha2, bump;
    bool pixelBlending = true;
    bool mipmapping = true;
    bool clampS = false;
    bool clampT = false;
    float bumpScale = 1.0f;
};

class AttributeWriter {
public:
    AttributeWriter(const SurfaceLook& look, int layerNumber, bool allImageFormats, ModelSummary& summary)
        : look_(look), layerNumber_(layerNumber), allImageFormats_(allImageFormats), summary_(summary) {}

    std::string run() {
        if (!look_.color) return "\t\tFaceColor grey78\n";
        faceColor(*look_.color);
        commentKeywords();
        emission();
        shading();
        textures();
        return std::move(text_);
    }

private:
    void faceColor(const std::array<float, 3>& color) {
        for (int i = 0; i < 3; ++i) levels_[i] = truncate(std::floor(double(color[i]) * 255.0 + 0.5));
        double diffuse = 1.0;
        if (look_.diffuse) {
            diffuse = *look_.diffuse;
            if (*look_.diffuse < 1e-8f) noDiffuse_ = true;
        }
        for (int i = 0; i < 3; ++i) color_[i] = truncate(levels_[i] * diffuse);
        appendColor(text_, "\t\tFaceColor ", color_);
    }

    void commentKeywords() {
        if (look_.colorTranslate) {
            std::string name = "L";
            appendInt(name, layerNumber_);
            name += '_';
            name += singleLine(look_.name);
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
            addArticulation(summary_, name + " - Red, Green, Blue");
            // A colour that is driven from outside keeps its diffuse lighting.
            noDiffuse_ = false;
        }
        if (look_.solarPanel) {
            const std::string group = singleLine(*look_.solarPanel);
            text_ += "\t\t";
            text_ += group;
            text_ += '\n';
            addSolarPanelGroup(summary_, group);
        }
        if (look_.colorKeyed) colorKeyed_ = true;
    }

    void emission() {
        const std::optional<float>& lumi = look_.luminosity;
        if (lumi && *lumi > 0.0001f && *lumi < 1.00001f) {
            int rgb[3];
            for (int i = 0; i < 3; ++i) rgb[i] = truncate(double(*lumi) * levels_[i]);
            appendColor(text_, "\t\tFaceEmissionColor ", rgb);
        }
    }

    void shading() {
        if (noDiffuse_) text_ += "\t\tNoDiffuseLighting\n";

        // No angle, a zero one or a negative one turns smoothing off; a
        // negative zero is not below zero and leaves it on.
        const std::optional<float>& angle = look_.smoothingAngle;
        if (!angle || *angle < 0.0f || (*angle == 0.0f && !std::signbit(*angle)))
            text_ += "\t\tSmoothShading No\n";

        if (!look_.sidedness || (*look_.sidedness & 2) == 0) text_ += "\t\tBackfaceCullable Yes\n";

        if (look_.transparency) {
            const float v = clampUnit(*look_.transparency);
            text_ += "\t\tTranslucency ";
            appendFixed(text_, v, 6);
            text_ += '\n';
            // Nearly opaque: the texture's colour key makes the holes.
            if (v > 1e-15f && v < 0.011f) colorKeyed_ = true;
        }

        text_ += "\t\tSpecularity ";
        appendFixed(text_, clampUnit(look_.specular.value_or(0.0f)), 6);
        text_ += "\n\t\tShininess ";
        appendInt(text_, truncate(double(clampUnit(look_.glossiness.value_or(0.4f))) * 128.0));
        text_ += '\n';
    }

    void textures() {
        TextureSlots slots;
        for (const SurfaceTexture& texture : look_.textures) place(texture, slots);

        // One transparency layer under two colour layers goes with the second.
        if (!slots.color2.empty() && !slots.alpha1.empty() && slots.alpha2.empty()) {
            slots.alpha2 = std::move(slots.alpha1);
            slots.alpha1.clear();
        }
        if (!slots.color1.empty()) textureLines(slots.color1, slots.alpha1, slots, true);
        if (!slots.color2.empty()) textureLines(slots.color2, slots.alpha2, slots, false);
        if (!slots.bump.empty()) {
            text_ += "\t\tTexture\n\t\t\tRGB ";
            text_ += slots.bump;
            text_ += "\n\t\t\tParm Bump\n\t\t\tParm BumpScale ";
            appendGeneral(text_, slots.bumpScale);
            text_ += "\n\t\t\t#Parm SpecularBump\n\t\tEndTexture\n";
            addTextureUsed(summary_, slots.bump);
        }
    }

    // A colour image takes the first free colour slot, a transparency image
    // the first free alpha slot; a bump image replaces the bump. An image
    // whose name comes out empty leaves its slot free.
    void place(const SurfaceTexture& texture, TextureSlots& slots) const {
        if (texture.image) {
            std::string name = imageName(texture.image->path, allImageFormats_);
            switch (texture.channel) {
                case TextureChannel::Color:
                    (slots.color1.empty() ? slots.color1 : slots.color2) = std::move(name);
                    break;
                case TextureChannel::Transparency:
                    (slots.alpha1.empty() ? slots.alpha1 : slots.alpha2) = std::move(name);
                    return;
                case TextureChannel::Bump:
                    slots.bump = std::move(name);
                    if (texture.amplitude) slots.bumpScale = *texture.amplitude;
                    return;
                case TextureChannel::Other:
                    return;
            }
        }
        // Colour images and layers without an image set the options; the
        // last layer that has one decides.
        if (texture.wrap) {
            slots.clampS = texture.wrap->width == 0 || texture.wrap->width == 3;
            slots.clampT = texture.wrap->height == 0 || texture.wrap->height == 3;
        }
        if (texture.antialiasing) slots.mipmapping = *texture.antialiasing;
        if (texture.pixelBlending) slots.pixelBlending = *texture.pixelBlending;
    }

    void textureLines(const std::string& image, const std::string& alpha, const TextureSlots& slots,
                      bool withClamps) {
        text_ += "\t\tTexture\n\t\t\tRGB ";
        text_ += image;
        text_ += '\n';
        addTextureUsed(summary_, image);
        if (!alpha.empty()) {
            text_ += "\t\t\tAlpha ";
            text_ += alpha;
            text_ += '\n';
            addTextureUsed(summary_, alpha);
        } else if (colorKeyed_) {
            text_ += "\t\t\tParm Transp\n";
        }
        if (slots.pixelBlending) text_ += "\t\t\tParm AA\n";
        if (slots.mipmapping) text_ += "\t\t\tParm Mipmap\n";
        if (withClamps && slots.clampS) text_ += "\t\t\tParm ClampS\n";
        if (withClamps && slots.clampT) text_ += "\t\t\tParm ClampT\n";
        text_ += "\t\tEndTexture\n";
    }

    const SurfaceLook& look_;
    const int layerNumber_;
    const bool allImageFormats_;
    ModelSummary& summary_;
    std::string text_;
    bool colorKeyed_ = false;
    bool noDiffuse_ = false;
    int levels_[3] = {0, 0, 0};  // colour levels before the diffuse factor
    int color_[3] = {0, 0, 0};   // as written, after it
};

}  // namespace

std::string attributeText(const SurfaceLook& look, int layerNumber, bool allImageFormats, ModelSummary& summary) {
    return AttributeWriter(look, layerNumber, allImageFormats, summary).run();
}

std::string imageName(std::string_view path, bool allImageFormats) {
    std::string name;
    bool cut = false;
    for (char c : path) {
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

}  // namespace vx
