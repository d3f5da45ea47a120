#include "app/check_output.h"

#include <cmath>
#include <optional>
#include <ostream>

#include "core/identifier.h"
#include "core/number_format.h"

namespace vx {

namespace {

void appendTriple(std::string& out, const std::array<float, 3>& v) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) out += ' ';
        appendGeneral(out, v[i]);
    }
}

std::string quoted(std::string_view s) { return '"' + singleLine(s) + '"'; }

void appendLayerLine(std::string& out, const CheckedLayer& l) {
    out += "Layer ";
    appendInt(out, l.number);
    out += ' ' + quoted(l.name) + ": component " + l.component + ", ";
    if (l.parent) {
        out += "parent ";
        appendInt(out, *l.parent);
    } else {
        out += "no parent";
    }
    out += ", pivot ";
    appendTriple(out, l.pivot);
    out += l.hidden ? ", hidden (not converted)\n" : ", visible\n";
}

void appendLayerCodes(std::string& out, const CheckedLayer& l) {
    out += "  codes: " + (l.codes.empty() ? std::string("none") : singleLine(l.codes)) + '\n';
    for (const CheckedArticulation& a : l.articulations) {
        out += "  articulation " + a.code + ' ' + singleLine(a.name) + ' ' + a.range + '\n';
    }
    if (l.attachPoint) out += (l.attachPoint->effect ? "  attach effect " : "  attach point ") + quoted(l.attachPoint->label) + '\n';
    for (const CheckedPointing& p : l.pointing) out += "  pointing " + singleLine(p.name) + ' ' + p.axis + '\n';
    if (l.includable) out += "  includable\n";
    for (int n : l.includes) {
        out += "  includes layer ";
        appendInt(out, n);
        out += '\n';
    }
    if (l.orientation) {
        out += "  orientation ";
        appendTriple(out, *l.orientation);
        out += '\n';
    }
    for (const std::string& e : l.extraLines) out += "  extra line " + quoted(e) + '\n';
}

void appendValue(std::string& out, std::string_view label, const std::optional<float>& v, double scale = 1) {
    if (!v) return;
    out += ", ";
    out += label;
    out += ' ';
    appendGeneral(out, double(*v) * scale);
}

void appendSurface(std::string& out, const CheckedSurface& s) {
    const SurfaceLook& look = s.look;
    std::string values;
    if (look.color) {
        values += ", colour ";
        appendTriple(values, *look.color);
    }
    appendValue(values, "diffuse", look.diffuse);
    appendValue(values, "specular", look.specular);
    appendValue(values, "glossiness", look.glossiness);
    appendValue(values, "transparency", look.transparency);
    appendValue(values, "smoothing", look.smoothingAngle, kDegreesPerRadian);
    if (look.smoothingAngle) values += " degrees";
    if (look.sidedness) values += *look.sidedness == 3 ? ", both sides" : ", front side only";
    out += "Surface " + quoted(look.name) + ": " + (values.empty() ? std::string("default look") : values.substr(2)) + '\n';
    const std::vector<std::string> k = commentKeywords(look);
    for (std::size_t i = 0; i < k.size(); ++i) out += (i == 0 ? "  comment keywords: " : ", ") + singleLine(k[i]);
    if (!k.empty()) out += '\n';
    if (!look.partlyReadMaterial.empty()) out += "  material " + quoted(look.partlyReadMaterial) + ": colour only\n";
    for (const CheckedImage& image : s.images) {
        out += "  " + image.channel + " image ";
        out += image.path.empty() ? std::string("(missing clip)") : quoted(image.path) + " as " + quoted(image.name);
        out += image.foundAt.empty() ? ": missing\n" : ": found at " + quoted(image.foundAt) + '\n';
    }
}

}  // namespace

std::vector<std::string> commentKeywords(const SurfaceLook& look) {
    std::vector<std::string> k;
    if (look.colorTranslate) k.emplace_back("ColorTranslate");
    if (look.solarPanel) k.push_back(*look.solarPanel);
    if (look.colorKeyed) k.emplace_back("ParmTransp");
    return k;
}

std::string checkText(const ObjectCheck& r) {
    std::string out = singleLine(r.path) + ": ";
    out += r.form == "LWOB" ? "LightWave 5 object (LWOB)" : "LightWave 6+ object (" + r.form + ")";
    if (r.hasLayers) {
        out += ", ";
        appendInt(out, static_cast<long long>(r.layers.size()));
        out += r.layers.size() == 1 ? " layer" : " layers";
    }
    out += ", ";
    appendInt(out, static_cast<long long>(r.surfaces.size()));
    out += r.surfaces.size() == 1 ? " surface\n" : " surfaces\n";
    if (!r.hasLayers) out += "No layers: layers and their codes are a LightWave 6+ feature.\n";
    for (const CheckedLayer& l : r.layers) {
        appendLayerLine(out, l);
        appendLayerCodes(out, l);
    }
    for (const CheckedSurface& s : r.surfaces) appendSurface(out, s);
    for (const CheckWarning& w : r.warnings) out += "Warning: " + w.subject + ' ' + singleLine(w.text) + '\n';
    if (r.warnings.empty()) out += "No warnings.\n";
    return out;
}

int runCheck(const std::vector<std::string>& objects, bool json, std::ostream& out, std::ostream& err) {
    std::vector<ObjectCheck> reports(objects.size());
    int status = 0;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (checkObject(objects[i], reports[i]) != 0) status = 1;
        if (json) continue;
        if (!reports[i].error.empty()) {
            err << "vertexion-cli: " << singleLine(objects[i]) << ": " << singleLine(reports[i].error) << '\n';
            continue;
        }
        if (i > 0) out << '\n';
        out << checkText(reports[i]);
    }
    if (json) out << checkJson(reports);
    return status;
}

}  // namespace vx
