#pragma once
// LWO3 nests its chunks: a chunk with children is a FORM (id "FORM", size,
// a type such as "SURF" or "NODS", then the children), and the children
// carry four-byte sizes like the top-level chunks. A plain data chunk inside
// a FORM often has the id of four spaces.

#include <cstddef>
#include <initializer_list>
#include <optional>

#include "core/chunk_file.h"

namespace vx {

// The id of the data chunks LWO3 leaves unnamed inside a FORM.
constexpr ChunkId kBlankId = makeId("    ");

// A nested FORM: its type and the run of its children in the loaded bytes.
struct FormRun {
    ChunkId type = 0;
    std::size_t start = 0;   // of the first child, past the type
    std::size_t length = 0;  // of the children; start + length never passes the bytes
};

// The FORM that `c` is (a chunk or sub-chunk of those bytes), or none unless
// its id is "FORM" and it has room for the type.
std::optional<FormRun> asForm(Bytes bytes, const Chunk& c);

// Visits the children of a FORM in order; `visit` returns false to stop.
template <typename Visit>
void forEachChild(Bytes bytes, const FormRun& form, Visit&& visit) {
    forEachSubChunk(bytes, form.start, form.length, SizeField::U4, visit);
}
// Visits the top-level FORMs of `type` (FORM SURF, FORM CLIP) in file
// order; `visit` returns false to stop.
template <typename Visit>
void forEachTopLevelForm(const ChunkFile& file, ChunkId type, Visit&& visit) {
    forEachChunk(file, [&](const Chunk& c) {
        std::optional<FormRun> form = asForm(file.all(), c);
        return !form || form->type != type || visit(*form);
    });
}
// The first child with `id` (a data chunk).
std::optional<Chunk> findChild(Bytes bytes, const FormRun& form, ChunkId id);
// The first child that is a FORM of `type`.
std::optional<FormRun> findChildForm(Bytes bytes, const FormRun& form, ChunkId type);
// Follows a path of FORM types down from `form`, each the first child FORM
// of its type: {"ATTR", "META", "ADAT"}.
std::optional<FormRun> findFormPath(Bytes bytes, const FormRun& form, std::initializer_list<ChunkId> types);

}  // namespace vx
