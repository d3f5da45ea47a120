#pragma once
// Builds LightWave objects in memory: big-endian fields, IFF chunks and
// sub-chunks, whole FORMs. Sizes are computed unless a test sets them wrong
// on purpose.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vxtest {

struct Data {
    std::vector<std::uint8_t> bytes;

    Data& u1(unsigned v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Data& u2(unsigned v) { return u1(v >> 8).u1(v); }
    Data& u4(std::uint32_t v) { return u2(v >> 16).u2(v & 0xFFFF); }
    Data& f4(float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return u4(bits);
    }
    Data& f8(double d) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        return u4(static_cast<std::uint32_t>(bits >> 32)).u4(static_cast<std::uint32_t>(bits));
    }
    Data& point(float x, float y, float z) { return f4(x).f4(y).f4(z); }
    // LWO2 variable-length index.
    Data& vx(std::uint32_t index) { return index < 0xFF00 ? u2(index) : u4(0xFF000000u | index); }
    // A NUL-terminated name padded to an even length, as LightWave writes it.
    Data& name(std::string_view s) {
        raw(s);
        u1(0);
        if ((s.size() + 1) % 2) u1(0);
        return *this;
    }
    Data& raw(std::string_view s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    Data& add(const Data& d) {
        // Growing ahead of the insert keeps GCC 12 from a false buffer overflow warning.
        const std::size_t needed = bytes.size() + d.size();
        if (bytes.capacity() < needed) bytes.reserve(std::max(2 * bytes.capacity(), needed));
        bytes.insert(bytes.end(), d.bytes.begin(), d.bytes.end());
        return *this;
    }
    std::size_t size() const { return bytes.size(); }
};

// Top-level chunk: id, 4-byte size, data.
inline Data chunk(std::string_view id, const Data& data) {
    return Data().raw(id).u4(static_cast<std::uint32_t>(data.size())).add(data);
}
// Sub-chunk: id, 2-byte size, data.
inline Data sub(std::string_view id, const Data& data) {
    return Data().raw(id).u2(static_cast<unsigned>(data.size())).add(data);
}
// A FORM of the given type holding the chunks.
inline std::vector<std::uint8_t> form(std::string_view type, const std::vector<Data>& chunks) {
    Data body;
    body.raw(type);
    for (const Data& c : chunks) body.add(c);
    return Data().raw("FORM").u4(static_cast<std::uint32_t>(body.size())).add(body).bytes;
}

// LWOB polygon record: vertex count, point indices, surface number.
inline Data lwobPolygon(std::initializer_list<unsigned> points, int surface) {
    Data d;
    d.u2(static_cast<unsigned>(points.size()));
    for (unsigned p : points) d.u2(p);
    d.u2(static_cast<unsigned>(surface) & 0xFFFF);
    return d;
}

// A LightWave 5 object: one triangle on the surface "Hull".
inline std::vector<std::uint8_t> lwobTriangle() {
    return form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0)),
                         chunk("SRFS", Data().name("Hull")), chunk("POLS", lwobPolygon({0, 1, 2}, 1))});
}

}  // namespace vxtest
