#pragma once
// The reader's cursor over the model's lines, shared by the structure
// (read_mdl.cpp) and the surface blocks (read_mesh.cpp). A step that finds
// the wrong line sets the reason and returns false; callers return at once.

#include <string>
#include <string_view>

#include "mdl/mdl_lines.h"
#include "mdl/mdl_model.h"

namespace vx::mdlread {

struct Parser {
    explicit Parser(std::string_view text) : lines(text) {}

    MdlLines lines;
    std::string_view line;  // the current line, leading blanks removed
    bool atEnd = false;
    // The name of the last "# Surface: " comment, for the block after it.
    std::string_view pendingSurface;
    std::string reason;

    // Moves to the next line that is neither blank nor a comment.
    bool next() {
        std::string_view raw;
        while (lines.next(raw)) {
            line = trimStart(raw);
            if (line.empty()) continue;
            if (line[0] == '#') {
                constexpr std::string_view kSurface = "# Surface: ";
                if (line.starts_with(kSurface)) pendingSurface = line.substr(kSurface.size());
                continue;
            }
            return true;
        }
        line = {};
        atEnd = true;
        return false;
    }

    std::string_view keyword() const {
        std::string_view rest = line;
        return takeWord(rest);
    }

    // "line N: expected <what>, found <the line's first word>".
    bool fail(std::string_view what) {
        reason = "line " + std::to_string(lines.number()) + ": expected ";
        reason += what;
        if (atEnd) {
            reason += ", found the end of the file";
        } else {
            reason += ", found \"";
            reason += shownWord(keyword());
            reason += '"';
        }
        return false;
    }
    // A wrong word within the line rather than at its start.
    bool failWord(std::string_view what, std::string_view word) {
        reason = "line " + std::to_string(lines.number()) + ": expected ";
        reason += what;
        reason += word.empty() ? std::string(", found nothing") : ", found \"" + shownWord(word) + '"';
        return false;
    }

    // Moves on and requires the line to be `keyword` alone.
    bool expectLine(std::string_view keyword) {
        if (!next() || trimEnd(line) != keyword) return fail(keyword);
        return true;
    }
};

// The block that starts at the current "Points" or "PolygonMesh" line, up to
// and including its end line.
bool readMeshBlock(Parser& p, bool pointBlock, MdlMesh& mesh);

// The lines after "Articulation <name>" up to "EndArticulation".
bool readArticulation(Parser& p, MdlArticulation& articulation);

}  // namespace vx::mdlread
