#include "preview/preview_sheet.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <utility>
#include <vector>

#include "core/memory_files.h"
#include "core/number_format.h"
#include "core/output_file.h"
#include "mdl/read_mdl.h"
#include "preview/bitmap_font.h"
#include "preview/draw_model.h"
#include "preview/parallel_for.h"
#include "preview/placement.h"
#include "preview/png_encode.h"

namespace vx {

namespace {

constexpr Rgb kLabel{228, 230, 236};
constexpr Rgb kDim{150, 156, 170};
constexpr Rgb kRule{70, 76, 90};

RgbImage renderPlaced(const MdlModel& model, const std::vector<PlacedComponent>& placed, const MdlPose& pose,
                      ViewKind view, int size, Rgb background) {
    const ViewFrame frame = viewFrame(model.modelType, view);
    DepthCanvas canvas = makeCanvas(size, size, background);
    const ViewFit fit = fitView(model, placed, frame, size, size);
    drawModel(model, placed, pose, frame, fit, canvas);
    const int arm = std::max(10, size / 16);
    drawAxisTriad(canvas.image, frame, arm + 10, size - arm - 10, arm);
    return std::move(canvas.image);
}

std::string general(double v) {
    std::string s;
    appendGeneral(s, v);
    return s;
}

// The lines of the components the pose places that move geometry or colour
// over a range: those worth a pair of frames.
std::vector<PoseLine> movingLines(const MdlModel& model, const std::vector<PlacedComponent>& placed) {
    std::vector<bool> isPlaced(model.components.size(), false);
    for (const PlacedComponent& p : placed) isPlaced[p.component] = true;
    std::vector<PoseLine> lines = poseLines(model, isPlaced);
    std::erase_if(lines, [](const PoseLine& l) {
        return !isVisibleTransformation(l.line->kind) || l.line->minimum == l.line->maximum;
    });
    return lines;
}

bool isColorTransformation(MdlTransformKind kind) {
    return kind == MdlTransformKind::RedColor || kind == MdlTransformKind::GreenColor || kind == MdlTransformKind::BlueColor;
}

bool samePlacement(const PlacedComponent& a, const PlacedComponent& b) {
    if (a.component != b.component) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            if (a.toWorld.m[i][j] != b.toWorld.m[i][j]) return false;
    return true;
}

// One articulation frame: the model placed at the sheet's pose (`rest`) and
// at the frame's (`moved`), drawn at the shared fit.
struct FrameScene {
    const MdlModel& model;
    const std::vector<PlacedComponent>& rest;
    const MdlPose& restPose;
    const ViewFit& fit;
    int size;
    Rgb background;
};

struct FramePlan {
    std::size_t line = 0;  // into the moving lines
    int end = 0;           // 0 at the minimum, 1 at the maximum
    double value = 0;
    MdlPose pose;
    std::vector<PlacedComponent> moved;
    std::vector<bool> moving;  // by index into the placement
    int x = 0, y = 0;          // where the frame goes on the sheet
};

// Both placements walk the same references in the same order; a colour line
// may change any surface, so it moves everything.
std::vector<bool> movingParts(const std::vector<PlacedComponent>& rest, const std::vector<PlacedComponent>& moved,
                              bool colorLine) {
    std::vector<bool> moving(moved.size(), true);
    if (!colorLine && moved.size() == rest.size())
        for (std::size_t k = 0; k < moving.size(); ++k) moving[k] = !samePlacement(moved[k], rest[k]);
    return moving;
}

std::vector<PlacedComponent> only(const std::vector<PlacedComponent>& placed, const std::vector<bool>& moving,
                                  bool wanted) {
    std::vector<PlacedComponent> out;
    for (std::size_t k = 0; k < placed.size(); ++k)
        if (moving[k] == wanted) out.push_back(placed[k]);
    return out;
}

// The frames of one articulation differ only in the components it moves: the
// rest of the model is drawn once (`still`), and each frame starts from a
// copy of it. A model of a million triangles in four parts costs a quarter
// of its drawing a frame rather than the whole.
DepthCanvas stillCanvas(const FrameScene& f, const std::vector<bool>& moving) {
    DepthCanvas still = makeCanvas(f.size, f.size, f.background);
    const ViewFrame frame = viewFrame(f.model.modelType, ViewKind::ThreeQuarter);
    drawModel(f.model, only(f.rest, moving, false), f.restPose, frame, f.fit, still);
    return still;
}

RgbImage renderFrame(const FrameScene& f, const FramePlan& plan, const DepthCanvas& still) {
    const ViewFrame frame = viewFrame(f.model.modelType, ViewKind::ThreeQuarter);
    DepthCanvas canvas = still;
    drawModel(f.model, only(plan.moved, plan.moving, true), plan.pose, frame, f.fit, canvas);
    const int arm = std::max(10, f.size / 16);
    drawAxisTriad(canvas.image, frame, arm + 10, f.size - arm - 10, arm);
    return std::move(canvas.image);
}

// Draws the frames onto the sheet, side by side. Those that share a still
// part form a group; the still parts of as many groups as there are cores
// are drawn at once, then all their frames. Each frame goes to its own
// place, so none writes where another does.
void drawFrames(const FrameScene& f, const std::vector<FramePlan>& plans, RgbImage& sheet) {
    std::vector<std::size_t> groupStart;  // into plans, with plans.size() at the end
    for (std::size_t k = 0; k < plans.size(); ++k)
        if (k == 0 || plans[k].moving != plans[k - 1].moving) groupStart.push_back(k);
    groupStart.push_back(plans.size());
    const std::size_t groups = groupStart.size() - 1, batch = workerCount();
    for (std::size_t g0 = 0; g0 < groups; g0 += batch) {
        const std::size_t g1 = std::min(groups, g0 + batch);
        std::vector<DepthCanvas> still(g1 - g0);
        parallelFor(still.size(), [&](std::size_t g) { still[g] = stillCanvas(f, plans[groupStart[g0 + g]].moving); });
        const std::size_t first = groupStart[g0];
        parallelFor(groupStart[g1] - first, [&](std::size_t k) {
            const FramePlan& plan = plans[first + k];
            const std::size_t g = std::upper_bound(groupStart.begin() + g0, groupStart.begin() + g1, first + k) -
                                  groupStart.begin() - 1 - g0;
            blit(sheet, renderFrame(f, plan, still[g]), plan.x, plan.y);
        });
    }
}

}  // namespace

int renderView(const MdlModel& model, const MdlPose& pose, ViewKind view, int size, Rgb background, RgbImage& out,
               std::string& why) {
    std::vector<PlacedComponent> placed;
    if (placeModel(model, pose, placed, why) != 0) return 1;
    out = renderPlaced(model, placed, pose, view, std::clamp(size, 16, 4096), background);
    return 0;
}

int composeSheet(const MdlModel& model, const PreviewOptions& options, RgbImage& sheet, std::string& why) {
    std::vector<PlacedComponent> placed;
    if (placeModel(model, options.pose, placed, why) != 0) return 1;
    const int size = std::clamp(options.viewSize, 64, 2048);
    const int caption = 2 * kGlyphHeight + 16;
    sheet = makeImage(2 * size, 2 * size + caption, options.background);
    parallelFor(4, [&](std::size_t i) {
        const int x = int(i % 2) * size, y = int(i / 2) * size;
        blit(sheet, renderPlaced(model, placed, options.pose, kSheetViews[i], size, options.background), x, y);
    });
    for (int i = 0; i < 4; ++i)
        drawText(sheet, (i % 2) * size + 8, (i / 2) * size + 8, viewName(kSheetViews[i]), kLabel, 2);
    drawLine(sheet, size, 0, size, 2 * size - 1, kRule);
    drawLine(sheet, 0, size, 2 * size - 1, size, kRule);
    drawLine(sheet, 0, 2 * size, 2 * size - 1, 2 * size, kRule);

    std::string text(modelTypeName(model.modelType));
    text += "   BoundRadius ";
    text += general(model.boundRadius);
    if (model.root >= 0 && static_cast<std::size_t>(model.root) < model.components.size()) {
        text += "   ";
        text += model.components[static_cast<std::size_t>(model.root)].name;
    }
    drawText(sheet, 8, 2 * size + 9, fitText(text, 2 * size - 16, 2), kLabel, 2);
    return 0;
}

int addArticulationFrames(const MdlModel& model, const PreviewOptions& options, RgbImage& sheet, std::string& why) {
    std::vector<PlacedComponent> placed;
    if (placeModel(model, options.pose, placed, why) != 0) return 1;
    const std::vector<PoseLine> lines = movingLines(model, placed);
    if (lines.empty() || sheet.width <= 0) return 0;

    const int width = sheet.width;
    const int size = std::clamp(options.frameSize, 48, std::max(48, width / 2));
    const int pairsPerRow = std::max(1, width / (2 * size));
    const std::size_t shown = std::min(lines.size(), static_cast<std::size_t>(std::clamp(options.maxFrames, 0, 1024) / 2));
    const int rows = static_cast<int>((shown + pairsPerRow - 1) / pairsPerRow);
    const int heading = kGlyphHeight + 12;
    const int note = shown < lines.size() ? kGlyphHeight + 8 : 0;

    // Every frame at the scale of the pose itself: a part that moves far
    // leaves its frame rather than shrinking the rest to nothing.
    const ViewFit fit = fitView(model, placed, viewFrame(model.modelType, ViewKind::ThreeQuarter), size, size);
    RgbImage grown = makeImage(width, sheet.height + heading + rows * size + note, options.background);
    blit(grown, sheet, 0, 0);
    const int top = sheet.height;
    drawText(grown, 8, top + 6, "Articulations at their minimum and maximum", kDim);

    std::vector<FramePlan> plans;
    for (std::size_t i = 0; i < shown; ++i) {
        for (int end = 0; end < 2; ++end) {
            FramePlan& plan = plans.emplace_back();
            plan.line = i;
            plan.end = end;
            plan.value = end == 0 ? lines[i].line->minimum : lines[i].line->maximum;
            plan.pose = options.pose;
            plan.pose[lines[i].key] = plan.value;
            if (placeModel(model, plan.pose, plan.moved, why) != 0) return 1;
            plan.moving = movingParts(placed, plan.moved, isColorTransformation(lines[i].line->kind));
            const int column = static_cast<int>(i % static_cast<std::size_t>(pairsPerRow)) * 2 + end;
            plan.x = column * size;
            plan.y = top + heading + static_cast<int>(i / pairsPerRow) * size;
        }
    }
    drawFrames(FrameScene{model, placed, options.pose, fit, size, options.background}, plans, grown);
    for (const FramePlan& plan : plans) {
        const int x = plan.x, y = plan.y;
        drawText(grown, x + 4, y + 4, fitText(lines[plan.line].key, size - 8), kLabel);
        const std::string label = (plan.end == 0 ? "min " : "max ") + general(plan.value);
        drawText(grown, x + 4, y + 4 + kGlyphHeight + 2, fitText(label, size - 8), kDim);
        drawLine(grown, x + size - 1, y, x + size - 1, y + size - 1, kRule);
        drawLine(grown, x, y + size - 1, x + size - 1, y + size - 1, kRule);
    }
    if (note > 0) {
        const std::string text = std::to_string(lines.size() - shown) + " more articulation lines not shown";
        drawText(grown, 8, grown.height - note + 4, fitText(text, width - 16), kDim);
    }
    sheet = std::move(grown);
    return 0;
}

int writePreviewSheet(const MdlModel& model, const PreviewOptions& options, const std::string& pngPath,
                      MessageSink& sink) {
    try {
        RgbImage sheet;
        std::string why;
        if (composeSheet(model, options, sheet, why) != 0 ||
            (options.articulationFrames && addArticulationFrames(model, options, sheet, why) != 0)) {
            sink.error("Can't draw the model.", pngPath, why);
            return 1;
        }
        std::string png;
        if (encodePng(sheet, png) != 0) {
            sink.error("Out of memory", pngPath);
            return 1;
        }
        OutputFile out;
        if (out.open(pngPath, options.files) != 0) {
            sink.error("Can't open output file.", pngPath, out.systemError());
            return 1;
        }
        out.write(png);
        if (out.commit() != 0) {
            sink.error("Can't write output file.", pngPath, out.systemError());
            return 1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        sink.error("Out of memory", pngPath);
        return 1;
    }
}

int previewModelFile(const std::string& mdlPath, const PreviewOptions& options, const std::string& pngPath,
                     MessageSink& sink) {
    MdlModel model;
    if (options.files) {
        // A run kept in memory reads its model from the same store.
        const auto stored = options.files->files.find(mdlPath);
        if (stored == options.files->files.end()) {
            sink.error("Can't read model file.", mdlPath, ENOENT);
            return 1;
        }
        if (readMdlText(stored->second, mdlPath, model, sink) != 0) return 1;
    } else if (loadMdlFile(mdlPath, model, sink) != 0) {
        return 1;
    }
    return writePreviewSheet(model, options, pngPath, sink);
}

}  // namespace vx
