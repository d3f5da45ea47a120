#include "preview/png_encode.h"

#include <csetjmp>
#include <new>
#include <vector>

#include <png.h>

namespace vx {

namespace {

// libpng reports its failures by a long jump back to encodePng; an exception
// must not cross its C frames, so running out of memory here is turned into
// such a failure.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    try {
        out->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void noFlush(png_structp) {}

// Warnings are for nobody: a failure shows in the result.
void quietWarning(png_structp, png_const_charp) {}

}  // namespace

int encodePng(const RgbImage& image, std::string& out) {
    out.clear();
    if (image.width <= 0 || image.height <= 0) return 1;
    // Everything with a destructor is made before the jump target: a long
    // jump back over it would skip the destructor.
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        rows[static_cast<std::size_t>(y)] =
            const_cast<png_bytep>(image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quietWarning);
    if (!png) return 1;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return 1;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        out.clear();
        return 1;
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return 0;
}

}  // namespace vx
