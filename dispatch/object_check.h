#pragma once
// What an object holds as the converter understands it, without writing
// anything: each layer with its codes read into articulations, attach point,
// pointing, includes and orientation, each surface with its look and its
// texture images, and what looks wrong (a code letter outside the
// vocabulary, an include or parent that no layer answers, loops, an
// articulation name given twice in a layer, an image that is not there).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "lwo2/surface_look.h"

namespace vx {

struct CheckedArticulation {
    std::string code;   // "R", "Sx", ...
    std::string name;   // the name in parentheses, else the code's default
    std::string range;  // as the model writes it: "-360 0 360"
};

struct CheckedPointing {
    std::string name;
    std::string axis;  // "0 1 0" unless the code gives one
};

struct CheckedAttachPoint {
    std::string label;
    bool effect = false;  // "Ae"
};

struct CheckedLayer {
    int number = 0;     // counted from 1
    std::string name;   // the stored name, on one line
    std::string component;
    std::string codes;  // empty: no articulations
    std::optional<int> parent;
    std::array<float, 3> pivot{};  // in LightWave's axes
    bool hidden = false;
    std::vector<CheckedArticulation> articulations;
    std::optional<CheckedAttachPoint> attachPoint;
    std::vector<CheckedPointing> pointing;
    bool includable = false;  // a bare "i" not taken back by a later "iN"
    std::vector<int> includes;
    std::optional<std::array<float, 3>> orientation;  // degrees about the model's X, Y, Z
    std::vector<std::string> extraLines;
    std::vector<std::string> unknownCodes;  // items outside the vocabulary, as written
};

struct CheckedImage {
    std::string channel;  // "colour", "transparency", "bump" or "other"
    std::string path;     // as stored; empty when the image's CLIP is missing
    std::string name;     // as the model names it
    std::string foundAt;  // the file that was found; empty when none
};

struct CheckedSurface {
    SurfaceLook look;  // textures left out: see images
    std::vector<CheckedImage> images;
};

struct CheckWarning {
    std::string subject;  // layer 2 "Dish@Y" or surface "Hull"
    std::string text;
};

struct ObjectCheck {
    std::string path;
    std::string form;           // "LWOB", "LWO2", "LWO3"; empty when unread
    std::string error;          // why the object could not be read
    bool hasLayers = false;     // LightWave 6+ objects only
    std::vector<CheckedLayer> layers;  // in file order
    std::vector<CheckedSurface> surfaces;
    std::vector<CheckWarning> warnings;
};

// Reads the object at `path` into `report`. Returns 0 when it was read and
// nothing is wrong, 1 otherwise.
int checkObject(const std::string& path, ObjectCheck& report);

}  // namespace vx
