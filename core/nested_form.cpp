#include "core/nested_form.h"

namespace vx {

std::optional<FormRun> asForm(Bytes bytes, const Chunk& c) {
    if (c.id != makeId("FORM") || c.size < 4 || c.end() > bytes.size()) return std::nullopt;
    return FormRun{loadU4(bytes.data() + c.offset), c.offset + 4, c.size - 4};
}

std::optional<Chunk> findChild(Bytes bytes, const FormRun& form, ChunkId id) {
    return findSubChunk(bytes, form.start, form.length, id, SizeField::U4);
}

std::optional<FormRun> findChildForm(Bytes bytes, const FormRun& form, ChunkId type) {
    std::optional<FormRun> found;
    forEachChild(bytes, form, [&](const Chunk& c) {
        found = asForm(bytes, c);
        if (found && found->type == type) return false;
        found.reset();
        return true;
    });
    return found;
}

std::optional<FormRun> findFormPath(Bytes bytes, const FormRun& form, std::initializer_list<ChunkId> types) {
    std::optional<FormRun> at = form;
    for (ChunkId type : types) {
        if (!at) return std::nullopt;
        at = findChildForm(bytes, *at, type);
    }
    return at;
}

}  // namespace vx
