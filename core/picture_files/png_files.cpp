#include "picture_files/picture_files.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "files/whole_file_writer.h"

namespace {

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using file_ptr = std::unique_ptr<std::FILE, file_closer>;

// libpng reports through longjmp; its message is kept for ours instead of going to stderr.
struct png_errors {
    std::jmp_buf jump;
    char message[200] = "";
};

void on_error(png_structp png, png_const_charp message) {
    auto* errors = static_cast<png_errors*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    std::longjmp(errors->jump, 1);
}

void on_warning(png_structp, png_const_charp) {}

// The encoded bytes gather in memory: the file is written in one piece, whole or not at all.
void append_bytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::string*>(png_get_io_ptr(png));
    bytes->append(reinterpret_cast<const char*>(data), length);
}

void no_flush(png_structp) {}

// Encodes into `bytes`; false with `errors.message` set when libpng gave up.
bool encode(std::string& bytes, const argb_picture& picture, png_errors& errors) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, on_error, on_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(errors.message, sizeof errors.message, "out of memory");
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(picture.width) * 3);
    if (setjmp(errors.jump)) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &bytes, append_bytes, no_flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        const uint32_t* source = &picture.pixels[static_cast<std::size_t>(y * picture.width)];
        for (int x = 0; x < picture.width; ++x) {
            row[3 * static_cast<std::size_t>(x)] = static_cast<png_byte>(source[x] >> 16);
            row[3 * static_cast<std::size_t>(x) + 1] = static_cast<png_byte>(source[x] >> 8);
            row[3 * static_cast<std::size_t>(x) + 2] = static_cast<png_byte>(source[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// `rows` and `row_pointers` belong to the caller: a local changed after setjmp would have no
// defined value once libpng jumps back.
bool decode(std::FILE* file, argb_picture& picture, png_errors& errors, std::vector<png_byte>& rows,
            std::vector<png_bytep>& row_pointers) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, on_error, on_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(errors.message, sizeof errors.message, "out of memory");
        return false;
    }
    if (setjmp(errors.jump)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    // Every colour type and depth becomes 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const auto width = png_get_image_width(png, info);
    const auto height = png_get_image_height(png, info);
    if (width > 16384 || height > 16384) {
        png_error(png, "picture too large");
    }
    rows.resize(static_cast<std::size_t>(width) * height * 4);
    row_pointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        row_pointers[y] = &rows[static_cast<std::size_t>(y) * width * 4];
    }
    png_read_image(png, row_pointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const png_byte* p = &rows[4 * i];
        picture.pixels[i] = 0xFF000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
    return true;
}

} // namespace

std::string write_png_file(const std::string& path, const argb_picture& picture) {
    std::string bytes;
    png_errors errors;
    if (!encode(bytes, picture, errors)) {
        return "cannot write " + path + ": " + errors.message;
    }
    return txm9::write_whole_file(path, bytes);
}

bool encode_png(const argb_picture& picture, std::string& bytes, std::string& problem) {
    png_errors errors;
    if (!encode(bytes, picture, errors)) {
        problem = errors.message;
        return false;
    }
    return true;
}

bool read_png_file(const std::string& path, argb_picture& picture, std::string& problem) {
    file_ptr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        problem = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    png_errors errors;
    std::vector<png_byte> rows;
    std::vector<png_bytep> row_pointers;
    if (!decode(file.get(), picture, errors, rows, row_pointers)) {
        problem = "cannot read " + path + " as a PNG picture: " + errors.message;
        return false;
    }
    return true;
}
