#pragma once
// One view of a placed model: its polygons filled with flat shading by face
// normal in the surface's colour, point blocks as dots and attach points as
// small crosses, fitted into the canvas; and the axis triad that tells the
// model's axes in that view.

#include <vector>

#include "mdl/mdl_model.h"
#include "mdl/mdl_pose.h"
#include "preview/placement.h"
#include "preview/raster.h"
#include "preview/view.h"

namespace vx {

// View coordinates to pixels: one scale for both axes (and the depth, so
// that normals keep their directions), y turned to run down.
struct ViewFit {
    double scale = 1, centreX = 0, centreY = 0, halfWidth = 0, halfHeight = 0;
};

// The fit that puts everything placed (geometry and attach points) into a
// picture of the size, with a margin.
ViewFit fitView(const MdlModel& model, const std::vector<PlacedComponent>& placed, const ViewFrame& frame, int width,
                int height);

// Draws into the canvas at the fit (frames of one pose's articulations
// share the pose's fit, so a part that moves away leaves the frame rather
// than shrinking the rest). Polygons of a surface marked "BackfaceCullable Yes" are seen from
// their front only (the side their vertices turn counter-clockwise round);
// the others from both sides.
void drawModel(const MdlModel& model, const std::vector<PlacedComponent>& placed, const MdlPose& pose,
               const ViewFrame& frame, const ViewFit& fit, DepthCanvas& canvas);

// The model's x, y and z axes as they point in the view (red, green, blue),
// labelled, from (x, y) with arms `length` pixels long.
void drawAxisTriad(RgbImage& image, const ViewFrame& frame, int x, int y, int length);

}  // namespace vx
