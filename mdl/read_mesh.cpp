// The Points and PolygonMesh blocks: the surface's attribute lines, the
// vertices and the polygons.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "mdl/mdl_parser.h"

namespace vx::mdlread {

namespace {

// "%RRRGGGBBB" (each level in three digits), or a grey level by name
// ("grey78": 78 percent).
bool parseColor(std::string_view word, MdlColor& color) {
    if (word.size() == 10 && word[0] == '%') {
        int levels[3] = {0, 0, 0};
        for (std::size_t i = 1; i < 10; ++i) {
            if (word[i] < '0' || word[i] > '9') return false;
            levels[(i - 1) / 3] = levels[(i - 1) / 3] * 10 + (word[i] - '0');
        }
        color = {levels[0], levels[1], levels[2]};
        return true;
    }
    if (word.starts_with("grey") || word.starts_with("gray")) {
        std::uint64_t percent = 0;
        if (!parseCount(word.substr(4), 100, percent)) return false;
        const int level = static_cast<int>((percent * 255 + 50) / 100);
        color = {level, level, level};
        return true;
    }
    return false;
}

bool parseYesNo(std::string_view word, bool& value) {
    if (word == "Yes") return value = true, true;
    if (word == "No") return value = false, true;
    return false;
}

// The one word after the keyword, and nothing after it.
bool singleValue(Parser& p, std::string_view& word) {
    std::string_view rest = p.line;
    takeWord(rest);
    word = takeWord(rest);
    if (!rest.empty()) return p.failWord("the end of the line", takeWord(rest));
    return true;
}

bool readTexture(Parser& p, MdlTexture& texture) {
    while (p.next()) {
        const std::string_view word = p.keyword();
        if (word == "EndTexture" && trimEnd(p.line) == word) return true;
        const std::string_view value = trimEnd(afterKeyword(p.line, word));
        if (word == "RGB" && !value.empty()) {
            texture.rgb = value;
        } else if (word == "Alpha" && !value.empty()) {
            texture.alpha = value;
        } else if (word == "Parm" && !value.empty()) {
            texture.parms.emplace_back(value);
        } else {
            return p.fail("RGB, Alpha, Parm or EndTexture");
        }
    }
    return p.fail("EndTexture");
}

// The attribute lines, up to and including "NumVerts n".
bool readSurface(Parser& p, MdlSurface& s, std::uint64_t& vertices) {
    while (p.next()) {
        const std::string_view word = p.keyword();
        std::string_view value;
        if (word == "NumVerts") {
            if (!singleValue(p, value)) return false;
            if (!parseCount(value, std::numeric_limits<std::uint32_t>::max(), vertices))
                return p.failWord("a vertex count", value);
            return true;
        }
        if (word == "Articulation" && !s.colorArticulation) {
            MdlArticulation& a = s.colorArticulation.emplace();
            a.name = afterKeyword(p.line, word);
            a.line = p.lines.number();
            if (!readArticulation(p, a)) return false;
            continue;
        }
        if (word == "Texture" && trimEnd(p.line) == word) {
            if (!readTexture(p, s.textures.emplace_back())) return false;
            continue;
        }
        if (word.starts_with("SolarPanel")) {
            s.solarPanel = trimEnd(p.line);
            continue;
        }
        if (word == "NoDiffuseLighting" && trimEnd(p.line) == word) {
            s.diffuseLighting = false;
            continue;
        }
        if (word == "FaceColor") {
            if (!singleValue(p, value)) return false;
            if (!parseColor(value, s.faceColor)) return p.failWord("a colour", value);
        } else if (word == "FaceEmissionColor") {
            if (!singleValue(p, value)) return false;
            s.emissive = true;
            if (value != "Yes" && !parseColor(value, s.emissionColor.emplace()))
                return p.failWord("a colour or Yes", value);
        } else if (word == "SmoothShading" || word == "BackfaceCullable") {
            if (!singleValue(p, value)) return false;
            if (!parseYesNo(value, word == "SmoothShading" ? s.smoothShading : s.backfaceCullable))
                return p.failWord("Yes or No", value);
        } else if (word == "Translucency" || word == "Specularity") {
            if (!singleValue(p, value)) return false;
            double number = 0;
            if (!parseNumber(value, number)) return p.failWord("a number", value);
            (word == "Translucency" ? s.translucency : s.specularity) = number;
        } else if (word == "Shininess") {
            if (!singleValue(p, value)) return false;
            std::uint64_t number = 0;
            if (!parseCount(value, 1u << 20, number)) return p.failWord("a whole number", value);
            s.shininess = static_cast<int>(number);
        } else {
            return p.fail("a surface attribute or NumVerts");
        }
    }
    return p.fail("NumVerts");
}

std::string ofCount(std::string_view what, std::size_t k, std::uint64_t n) {
    return std::string(what) + " of vertex " + std::to_string(k + 1) + " of " + std::to_string(n);
}

// The vertex and polygon lines as the converter writes them are read in
// place, without first finding the line's end and cutting it into words. Any
// other line (a comment, a blank line, a number of another form, a fault)
// returns false with nothing taken, and is read line by line, which takes it
// as well or names the fault.
const char* skipBlanks(const char* s, const char* end) {
    while (s != end && isBlank(*s)) ++s;
    return s;
}

// Past the blanks after a line's last word and its line end ("\n", "\r\n" or
// the end of the text); nullptr when anything else stands there.
const char* pastLineEnd(const char* s, const char* end) {
    s = skipBlanks(s, end);
    if (s != end && *s == '\r') ++s;
    if (s == end) return s;
    return *s == '\n' ? s + 1 : nullptr;
}

bool vertexInPlace(MdlLines& lines, int wanted, float* values) {
    const std::string_view ahead = lines.ahead();
    const char* s = ahead.data();
    const char* const end = s + ahead.size();
    for (int i = 0; i < wanted; ++i) {
        s = skipBlanks(s, end);
        if (!scanPlainDecimal(s, end, values[i])) return false;
        if (i + 1 < wanted && (s == end || !isBlank(*s))) return false;
    }
    const char* const next = pastLineEnd(s, end);
    if (!next) return false;
    lines.skipLine(static_cast<std::size_t>(next - ahead.data()));
    return true;
}

bool polygonInPlace(MdlLines& lines, std::uint64_t vertices, std::vector<std::uint32_t>& indices) {
    const std::string_view ahead = lines.ahead();
    const char* s = skipBlanks(ahead.data(), ahead.data() + ahead.size());
    const char* const end = ahead.data() + ahead.size();
    std::uint64_t n = 0;
    if (vertices == 0 || !scanWhole(s, end, std::numeric_limits<std::uint32_t>::max(), n)) return false;
    const std::size_t before = indices.size();
    for (std::uint64_t i = 0; i < n; ++i) {
        std::uint64_t index = 0;
        if (s == end || !isBlank(*s) || !scanWhole(s = skipBlanks(s, end), end, vertices - 1, index)) {
            indices.resize(before);
            return false;
        }
        indices.push_back(static_cast<std::uint32_t>(index));
    }
    const char* const next = pastLineEnd(s, end);
    if (!next) {
        indices.resize(before);
        return false;
    }
    lines.skipLine(static_cast<std::size_t>(next - ahead.data()));
    return true;
}

bool readVertices(Parser& p, MdlMesh& mesh, std::uint64_t count, bool textured) {
    // The shortest vertex line, "0 0 0", takes six characters with its line end.
    mesh.vertices.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, p.lines.remaining() / 6)));
    if (textured)
        mesh.texCoords.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(2 * count, p.lines.remaining() / 5)));
    const int wanted = textured ? 5 : 3;
    for (std::size_t k = 0; k < count; ++k) {
        float values[5];
        if (vertexInPlace(p.lines, wanted, values)) {
            mesh.vertices.push_back({values[0], values[1], values[2]});
            if (textured) mesh.texCoords.insert(mesh.texCoords.end(), {values[3], values[4]});
            continue;
        }
        if (!p.next()) return p.fail(ofCount("the coordinates", k, count));
        std::string_view rest = p.line;
        for (int i = 0; i < wanted; ++i) {
            const std::string_view word = takeWord(rest);
            if (!parseNumber(word, values[i]))
                return p.failWord(ofCount(i < 3 ? "a coordinate" : "a texture coordinate", k, count), word);
        }
        if (!rest.empty()) return p.failWord("the end of the vertex line", takeWord(rest));
        mesh.vertices.push_back({values[0], values[1], values[2]});
        if (textured) {
            mesh.texCoords.push_back(values[3]);
            mesh.texCoords.push_back(values[4]);
        }
    }
    return true;
}

bool readPolygons(Parser& p, MdlMesh& mesh, std::uint64_t count) {
    const std::uint64_t vertices = mesh.vertices.size();
    const std::string below = "a vertex number below " + std::to_string(vertices);
    // A polygon line takes at least two characters, a vertex number as many.
    const std::uint64_t room = p.lines.remaining() / 2;
    mesh.polygonStart.reserve(static_cast<std::size_t>(std::min(count, room)));
    mesh.indices.reserve(static_cast<std::size_t>(std::min(count * 3, room)));
    for (std::uint64_t k = 0; k < count; ++k) {
        if (mesh.indices.size() >= std::numeric_limits<std::uint32_t>::max())
            return p.fail("fewer vertex numbers in one mesh");
        const auto start = static_cast<std::uint32_t>(mesh.indices.size());
        if (polygonInPlace(p.lines, vertices, mesh.indices)) {
            mesh.polygonStart.push_back(start);
            continue;
        }
        if (!p.next()) return p.fail("polygon " + std::to_string(k + 1) + " of " + std::to_string(count));
        std::string_view rest = p.line;
        const std::string_view first = takeWord(rest);
        std::uint64_t n = 0;
        if (!parseCount(first, std::numeric_limits<std::uint32_t>::max(), n))
            return p.failWord("the vertex count of polygon " + std::to_string(k + 1) + " of " + std::to_string(count),
                              first);
        mesh.polygonStart.push_back(static_cast<std::uint32_t>(mesh.indices.size()));
        for (std::uint64_t i = 0; i < n; ++i) {
            const std::string_view word = takeWord(rest);
            std::uint64_t index = 0;
            if (vertices == 0 || !parseCount(word, vertices - 1, index)) return p.failWord(below, word);
            mesh.indices.push_back(static_cast<std::uint32_t>(index));
        }
        if (!rest.empty())
            return p.failWord("the end of a polygon of " + std::to_string(n) + " vertices", takeWord(rest));
    }
    return true;
}

bool countLine(Parser& p, std::string_view keyword, std::uint64_t& count) {
    if (!p.next() || p.keyword() != keyword) return p.fail(keyword);
    std::string_view value;
    if (!singleValue(p, value)) return false;
    if (!parseCount(value, std::numeric_limits<std::uint32_t>::max(), count)) return p.failWord("a count", value);
    return true;
}

}  // namespace

bool readMeshBlock(Parser& p, bool pointBlock, MdlMesh& mesh) {
    mesh.pointBlock = pointBlock;
    mesh.line = p.lines.number();
    mesh.surface.name = p.pendingSurface;
    std::uint64_t vertices = 0;
    if (!readSurface(p, mesh.surface, vertices)) return false;
    bool textured = false;
    if (pointBlock) {
        std::uint64_t size = 0;
        if (!countLine(p, "PointSize", size)) return false;
        mesh.pointSize = static_cast<int>(std::min<std::uint64_t>(size, 64));
        if (!p.expectLine("Data")) return false;
    } else {
        if (!p.next() || (trimEnd(p.line) != "Data" && trimEnd(p.line) != "DataTx")) return p.fail("Data or DataTx");
        textured = trimEnd(p.line) == "DataTx";
    }
    if (!readVertices(p, mesh, vertices, textured)) return false;
    if (pointBlock) return p.expectLine("EndPoints");
    std::uint64_t polygons = 0;
    if (!countLine(p, "NumPolys", polygons) || !p.expectLine("Polys") || !readPolygons(p, mesh, polygons)) return false;
    return p.expectLine("EndPolygonMesh");
}

}  // namespace vx::mdlread
