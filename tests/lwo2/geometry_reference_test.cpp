// The product groups each layer's polygons by surface in one pass and prints
// numbers with its own formatter. Here a plain reference does what a reader
// of the format would write first: for every surface, walk all of the layer's
// polygons again, and print with snprintf. Both must give the same bytes on
// a few hundred random objects.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "core/byte_reader.h"
#include "core/model_type.h"
#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;

struct RandomLayer {
    std::string name;
    std::vector<std::array<float, 3>> points;
    std::vector<std::vector<std::uint32_t>> polygons;
    std::vector<unsigned> tags;  // may be fewer than the polygons
    std::vector<UvEntry> uv;     // map "UV"; empty: no map in this layer
    bool hasPolygons = true, hasTags = true;
};

struct RandomObject {
    std::vector<std::string> surfaces;  // TAGS order = SURF order
    std::vector<bool> textured;         // the surface's block names the map "UV"
    std::vector<RandomLayer> layers;
    vx::ModelType type = vx::ModelType::None;

    std::vector<std::uint8_t> bytes() const {
        std::vector<Data> chunks;
        Data tags;
        for (const std::string& s : surfaces) tags.name(s);
        chunks.push_back(chunk("TAGS", tags));
        for (std::size_t l = 0; l < layers.size(); ++l) {
            const RandomLayer& layer = layers[l];
            chunks.push_back(layr(unsigned(l), layer.name, 0.5f, 1.0f, -2.0f));
            Data p;
            for (const auto& pt : layer.points) p.point(pt[0], pt[1], pt[2]);
            chunks.push_back(chunk("PNTS", p));
            if (!layer.uv.empty()) chunks.push_back(txuv("UV", layer.uv));
            if (layer.hasPolygons) chunks.push_back(facePols(layer.polygons));
            if (layer.hasTags) chunks.push_back(surfPtag(layer.tags));
        }
        for (std::size_t s = 0; s < surfaces.size(); ++s) {
            // No COLR: the attribute text is the fixed grey line.
            Data subChunks;
            if (textured[s]) subChunks.add(sub("BLOK", uvName("UV")));
            chunks.push_back(surf(surfaces[s], subChunks));
        }
        return form("LWO2", chunks);
    }
};

RandomObject randomObject(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::uniform_real_distribution<float> coordinate(-50.0f, 50.0f);
    RandomObject o;
    o.type = static_cast<vx::ModelType>(pick(0, 3));
    const int surfaceCount = pick(1, 5);
    for (int s = 0; s < surfaceCount; ++s) {
        o.surfaces.push_back(std::string(1, 'S').append(std::to_string(s)));
        o.textured.push_back(pick(0, 2) > 0);
    }
    const int layerCount = pick(1, 3);
    for (int l = 0; l < layerCount; ++l) {
        RandomLayer layer;
        layer.name = std::string(1, 'L').append(std::to_string(l + 1));
        const int pointCount = pick(0, 40);
        for (int i = 0; i < pointCount; ++i) {
            // Coarse values now and then, so rounding ties and exact zeros occur.
            if (pick(0, 4) == 0) {
                layer.points.push_back({float(pick(-8, 8)) / 8, float(pick(-3, 3)), -0.0f});
            } else {
                layer.points.push_back({coordinate(rng), coordinate(rng), coordinate(rng) * 1e-3f});
            }
        }
        const int polygonCount = pointCount == 0 ? 0 : pick(0, 60);
        for (int i = 0; i < polygonCount; ++i) {
            const int n = std::array{0, 1, 1, 2, 3, 3, 3, 4, 4, 5, 7}[std::size_t(pick(0, 10))];
            std::vector<std::uint32_t> polygon;
            for (int k = 0; k < n; ++k) polygon.push_back(std::uint32_t(pick(0, pointCount - 1)));
            if (n > 0 && pick(0, 30) == 0) polygon[0] = std::uint32_t(pointCount + pick(0, 3));  // beyond the points
            layer.polygons.push_back(polygon);
            // Tags past the surfaces name no surface.
            layer.tags.push_back(unsigned(pick(0, surfaceCount)));
        }
        if (pick(0, 4) == 0 && !layer.tags.empty()) layer.tags.resize(std::size_t(pick(0, int(layer.tags.size()))));
        if (pick(0, 2) > 0) {
            for (int i = 0; i < pointCount + 2; ++i) {
                if (pick(0, 3) > 0) layer.uv.push_back({std::uint32_t(i), coordinate(rng) / 50, float(pick(0, 64)) / 64});
            }
        }
        layer.hasPolygons = pick(0, 15) > 0;
        layer.hasTags = pick(0, 15) > 0;
        o.layers.push_back(layer);
    }
    return o;
}

void printfTo(std::string& out, const char* format, double a) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, a);
    out += buf;
}

// A layer's geometry as the plain per-surface walk writes it.
std::string referenceGeometry(const RandomObject& o, const RandomLayer& layer) {
    std::string text;
    if (!layer.hasPolygons || !layer.hasTags) return text;
    const std::size_t pointCount = layer.points.size();
    std::vector<std::uint8_t> stored;
    for (const auto& p : layer.points) {
        Data d;
        d.point(p[0], p[1], p[2]);
        stored.insert(stored.end(), d.bytes.begin(), d.bytes.end());
    }
    float extent = 10;
    vx::decodePoints(stored, pointCount, o.type, extent);
    auto point = [&](std::size_t i) { return vx::decodedPoint(stored.data(), i); };
    auto tagOf = [&](std::size_t polygon) { return polygon < layer.tags.size() ? layer.tags[polygon] : 0u; };
    auto usable = [&](const std::vector<std::uint32_t>& p) {
        if (p.empty() || p.size() == 2) return false;
        for (std::uint32_t i : p) {
            if (i >= pointCount) return false;  // a polygon naming a missing point is dropped
        }
        return true;
    };

    for (std::size_t s = 0; s < o.surfaces.size(); ++s) {
        // Counting pass: a point used both alone and in a mesh is in both blocks.
        std::vector<int> alone(pointCount, 0), inMesh(pointCount, 0);
        int blockPoints = 0, meshVertices = 0, meshPolygons = 0;
        for (std::size_t k = 0; k < layer.polygons.size(); ++k) {
            const auto& p = layer.polygons[k];
            if (tagOf(k) != s || !usable(p)) continue;
            if (p.size() == 1) {
                if (!alone[p[0]]) ++blockPoints;
                alone[p[0]] = 1;
                continue;
            }
            ++meshPolygons;
            for (std::uint32_t i : p) {
                if (!inMesh[i]) ++meshVertices;
                inMesh[i] = 1;
            }
        }
        if (blockPoints == 0 && meshVertices == 0) continue;
        text += "# Surface: ";
        text += o.surfaces[s];
        text += '\n';
        const std::string attributes = "\t\tFaceColor grey78\n";
        auto coordinates = [&](std::size_t i) {
            const vx::Point3 p = point(i);
            printfTo(text, "\t\t\t%.11f", p.x);
            printfTo(text, " %.11f", p.y);
            printfTo(text, " %.11f", p.z);
        };
        if (blockPoints > 0) {
            text += "\tPoints\n";
            text += attributes;
            printfTo(text, "\t\tNumVerts %.0f\n\t\tPointSize 2\n\t\tData\n", blockPoints);
            for (std::size_t i = 0; i < pointCount; ++i) {
                if (!alone[i]) continue;
                coordinates(i);
                text += '\n';
            }
            text += "\tEndPoints\n";
        }
        if (meshPolygons == 0) continue;
        std::vector<float> u(pointCount, 0), v(pointCount, 0);
        const bool textured = o.textured[s] && !layer.uv.empty();
        for (const UvEntry& e : layer.uv) {
            if (e.point < pointCount) u[e.point] = e.u, v[e.point] = e.v;
        }
        text += "\tPolygonMesh\n";
        text += attributes;
        printfTo(text, "\t\tNumVerts %.0f\n", meshVertices);
        text += textured ? "\t\tDataTx\n" : "\t\tData\n";
        std::vector<int> number(pointCount, -1);
        int next = 0;
        for (std::size_t i = 0; i < pointCount; ++i) {
            if (!inMesh[i]) continue;
            coordinates(i);
            if (textured) {
                printfTo(text, " %f", u[i]);
                printfTo(text, " %f", v[i]);
            }
            text += '\n';
            number[i] = next++;
        }
        printfTo(text, "\t\tNumPolys %.0f\n\t\tPolys\n", meshPolygons);
        for (std::size_t k = 0; k < layer.polygons.size(); ++k) {
            const auto& p = layer.polygons[k];
            if (tagOf(k) != s || !usable(p) || p.size() < 3) continue;
            printfTo(text, "\t\t\t%.0f", double(p.size()));
            for (std::size_t i = p.size(); i-- > 0;) printfTo(text, " %.0f", number[p[i]]);
            text += '\n';
        }
        text += "\tEndPolygonMesh\n";
    }
    return text;
}

TEST(GeometryReference, RandomObjectsMatchThePlainPerSurfaceWalk) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        const RandomObject o = randomObject(rng);
        const lwo2test::Converted c =
            lwo2test::convert(o.bytes(), [&](vx::ConversionJob& job) { job.modelType = o.type; });
        ASSERT_EQ(c.status, 0) << round;
        for (const RandomLayer& layer : o.layers) {
            const std::string open = "Component " + layer.name + "\n";
            const std::size_t begin = c.mdl.find("\n" + open);
            ASSERT_NE(begin, std::string::npos) << round;
            const std::size_t from = begin + 1 + open.size();
            const std::size_t end = c.mdl.find("EndComponent\n", from);
            ASSERT_EQ(c.mdl.substr(from, end - from), referenceGeometry(o, layer)) << "object " << round
                                                                                     << ", layer " << layer.name;
        }
    }
}

}  // namespace
