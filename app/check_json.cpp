// The JSON form of the check report: written by hand, members in a fixed
// order, no white space, absent values as null.

#include <cmath>
#include <optional>

#include "app/check_output.h"
#include "core/number_format.h"

namespace vx {

namespace {

// The length of the UTF-8 sequence at `at`, or 0 when the bytes there are none.
std::size_t utf8Length(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    std::size_t n = lead >= 0xf0 && lead <= 0xf4 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 && lead < 0xe0 ? 2 : 0;
    if (lead >= 0xf5) n = 0;
    if (n == 0 || at + n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) return 0;
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    const unsigned char second = byte(at + 1);
    if ((lead == 0xe0 && second < 0xa0) || (lead == 0xed && second >= 0xa0) || (lead == 0xf0 && second < 0x90) ||
        (lead == 0xf4 && second >= 0x90))
        return 0;
    return n;
}

void appendEscape(std::string& out, unsigned code) {
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\u00";
    out += kHex[(code >> 4) & 0xf];
    out += kHex[code & 0xf];
}

void appendNumber(std::string& out, double v) {
    if (std::isfinite(v)) {
        appendGeneral(out, v);
    } else {
        out += "null";
    }
}

void appendNumbers(std::string& out, const std::array<float, 3>& v) {
    out += '[';
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) out += ',';
        appendNumber(out, v[i]);
    }
    out += ']';
}

void appendKey(std::string& out, std::string_view key) {
    if (out.back() != '{') out += ',';
    appendJsonString(out, key);
    out += ':';
}

void appendMember(std::string& out, std::string_view key, std::string_view value) {
    appendKey(out, key);
    appendJsonString(out, value);
}

void appendMember(std::string& out, std::string_view key, const std::optional<float>& v, double scale = 1) {
    appendKey(out, key);
    if (v) {
        appendNumber(out, double(*v) * scale);
    } else {
        out += "null";
    }
}

// `key` and the array of the items, each written by `each`.
template <typename Item, typename Each>
void appendArray(std::string& out, std::string_view key, const std::vector<Item>& items, Each each) {
    appendKey(out, key);
    out += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        each(items[i]);
    }
    out += ']';
}

// An empty text stands for a value that is absent.
void appendTextOrNull(std::string& out, std::string_view key, std::string_view value) {
    appendKey(out, key);
    if (value.empty()) {
        out += "null";
    } else {
        appendJsonString(out, value);
    }
}

void appendStrings(std::string& out, std::string_view key, const std::vector<std::string>& items) {
    appendArray(out, key, items, [&](const std::string& item) { appendJsonString(out, item); });
}

void appendCodes(std::string& out, const CheckedLayer& l) {
    appendArray(out, "articulations", l.articulations, [&](const auto& a) {
        out += '{';
        appendMember(out, "code", a.code);
        appendMember(out, "name", a.name);
        appendMember(out, "range", a.range);
        out += '}';
    });
    appendKey(out, "attachPoint");
    if (l.attachPoint) {
        out += '{';
        appendMember(out, "label", l.attachPoint->label);
        appendKey(out, "effect");
        out += l.attachPoint->effect ? "true}" : "false}";
    } else {
        out += "null";
    }
    appendArray(out, "pointing", l.pointing, [&](const auto& p) {
        out += '{';
        appendMember(out, "name", p.name);
        appendMember(out, "axis", p.axis);
        out += '}';
    });
}

void appendLayer(std::string& out, const CheckedLayer& l) {
    out += "{\"number\":";
    appendInt(out, l.number);
    appendMember(out, "name", l.name);
    appendMember(out, "component", l.component);
    appendMember(out, "codes", l.codes);
    appendKey(out, "parent");
    if (l.parent) {
        appendInt(out, *l.parent);
    } else {
        out += "null";
    }
    appendKey(out, "pivot");
    appendNumbers(out, l.pivot);
    appendKey(out, "hidden");
    out += l.hidden ? "true" : "false";
    appendCodes(out, l);
    appendKey(out, "includable");
    out += l.includable ? "true" : "false";
    appendArray(out, "includes", l.includes, [&](const auto& number) { appendInt(out, number); });
    appendKey(out, "orientation");
    if (l.orientation) {
        appendNumbers(out, *l.orientation);
    } else {
        out += "null";
    }
    appendStrings(out, "extraLines", l.extraLines);
    out += '}';
}

void appendImages(std::string& out, const std::vector<CheckedImage>& images) {
    appendArray(out, "images", images, [&](const CheckedImage& image) {
        out += '{';
        appendMember(out, "channel", image.channel);
        appendMember(out, "path", image.path);
        appendMember(out, "name", image.name);
        appendKey(out, "found");
        out += image.foundAt.empty() ? "false" : "true";
        appendTextOrNull(out, "foundAt", image.foundAt);
        out += '}';
    });
}

void appendSurface(std::string& out, const CheckedSurface& s) {
    const SurfaceLook& look = s.look;
    out += '{';
    appendMember(out, "name", look.name);
    appendKey(out, "colour");
    if (look.color) {
        appendNumbers(out, *look.color);
    } else {
        out += "null";
    }
    appendMember(out, "diffuse", look.diffuse);
    appendMember(out, "specular", look.specular);
    appendMember(out, "glossiness", look.glossiness);
    appendMember(out, "transparency", look.transparency);
    appendMember(out, "smoothingDegrees", look.smoothingAngle, kDegreesPerRadian);
    appendKey(out, "sides");
    if (look.sidedness) {
        appendJsonString(out, *look.sidedness == 3 ? "both" : "front");
    } else {
        out += "null";
    }
    appendStrings(out, "commentKeywords", commentKeywords(look));
    appendImages(out, s.images);
    out += '}';
}

void appendObject(std::string& out, const ObjectCheck& r) {
    out += '{';
    appendMember(out, "path", r.path);
    appendTextOrNull(out, "form", r.form);
    appendTextOrNull(out, "error", r.error);
    if (r.hasLayers) {
        appendArray(out, "layers", r.layers, [&](const CheckedLayer& l) { appendLayer(out, l); });
    } else {
        appendKey(out, "layers");
        out += "null";
    }
    appendArray(out, "surfaces", r.surfaces, [&](const CheckedSurface& surface) { appendSurface(out, surface); });
    appendArray(out, "warnings", r.warnings, [&](const auto& w) {
        out += '{';
        appendMember(out, "subject", w.subject);
        appendMember(out, "text", w.text);
        out += '}';
    });
    out += '}';
}

}  // namespace

void appendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (std::size_t at = 0; at < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[at]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7f) {
            appendEscape(out, c);
        } else if (c >= 0x80) {
            if (std::size_t n = utf8Length(s, at); n > 0) {
                out.append(s.substr(at, n));
                at += n;
                continue;
            }
            appendEscape(out, c);
        } else {
            out += static_cast<char>(c);
        }
        ++at;
    }
    out += '"';
}

std::string checkJson(const std::vector<ObjectCheck>& reports) {
    std::string out = "{\"objects\":[";
    for (std::size_t i = 0; i < reports.size(); ++i) {
        if (i > 0) out += ',';
        appendObject(out, reports[i]);
    }
    out += "]}\n";
    return out;
}

}  // namespace vx
