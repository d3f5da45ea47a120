#pragma once
// Big-endian reading that cannot run past its buffer. Every read is checked
// against the view's end; a read that does not fit yields zero, leaves the
// cursor at the end and clears ok(), so callers test once after a run of reads.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace vx {

using Bytes = std::span<const std::uint8_t>;

// Unchecked loads for callers that have already checked the bounds.
inline std::uint16_t loadU2(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t loadU4(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}
inline float loadF4(const std::uint8_t* p) {
    std::uint32_t bits = loadU4(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
inline double loadF8(const std::uint8_t* p) {
    const std::uint64_t bits = (std::uint64_t(loadU4(p)) << 32) | loadU4(p + 4);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// Checked loads at an absolute offset: zero when the value does not fit.
inline std::uint16_t peekU2(Bytes b, std::size_t at) {
    return at <= b.size() && b.size() - at >= 2 ? loadU2(b.data() + at) : 0;
}
inline std::uint32_t peekU4(Bytes b, std::size_t at) {
    return at <= b.size() && b.size() - at >= 4 ? loadU4(b.data() + at) : 0;
}

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(Bytes bytes) : bytes_(bytes) {}

    std::size_t offset() const { return pos_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    bool ok() const { return ok_; }
    Bytes bytes() const { return bytes_; }

    std::uint8_t u1() { return fits(1) ? bytes_[pos_++] : 0; }
    std::uint16_t u2() {
        if (!fits(2)) return 0;
        std::uint16_t v = loadU2(bytes_.data() + pos_);
        pos_ += 2;
        return v;
    }
    std::int16_t i2() { return static_cast<std::int16_t>(u2()); }
    std::uint32_t u4() {
        if (!fits(4)) return 0;
        std::uint32_t v = loadU4(bytes_.data() + pos_);
        pos_ += 4;
        return v;
    }
    float f4() {
        if (!fits(4)) return 0.0f;
        float v = loadF4(bytes_.data() + pos_);
        pos_ += 4;
        return v;
    }
    double f8() {
        if (!fits(8)) return 0.0;
        double v = loadF8(bytes_.data() + pos_);
        pos_ += 8;
        return v;
    }
    // LWO2 variable-length index: two bytes below 0xFF00, else four bytes
    // whose low 24 bits are the index.
    std::uint32_t vx() {
        if (!fits(1)) return 0;
        if (bytes_[pos_] != 0xFF) return u2();
        return u4() & 0x00FFFFFFu;
    }
    // A NUL-terminated string; the cursor moves past its NUL (or to the end
    // when the string is unterminated).
    std::string_view cstring() {
        const std::uint8_t* start = bytes_.data() + pos_;
        std::size_t n = 0;
        while (pos_ + n < bytes_.size() && bytes_[pos_ + n] != 0) ++n;
        std::string_view s(reinterpret_cast<const char*>(start), n);
        pos_ = pos_ + n < bytes_.size() ? pos_ + n + 1 : bytes_.size();
        return s;
    }
    // LightWave pads names to an even length: the string, its NUL and a pad byte
    // when the two together are odd.
    std::string_view evenString() {
        std::size_t begin = pos_;
        std::string_view s = cstring();
        if ((pos_ - begin) % 2 != 0) skip(1);
        return s;
    }
    bool skip(std::size_t n) { return fits(n) ? (pos_ += n, true) : false; }
    bool seek(std::size_t at) {
        if (at > bytes_.size()) {
            pos_ = bytes_.size();
            ok_ = false;
            return false;
        }
        pos_ = at;
        return true;
    }
    Bytes take(std::size_t n) {
        if (!fits(n)) return {};
        Bytes s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }

private:
    bool fits(std::size_t n) {
        if (bytes_.size() - pos_ >= n) return true;
        pos_ = bytes_.size();
        ok_ = false;
        return false;
    }

    Bytes bytes_{};
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace vx
