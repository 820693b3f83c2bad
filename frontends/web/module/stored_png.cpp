// PNG files for the browser build, which has no image library: pictures are written as PNGs
// whose image data is stored without compression (deflate's stored blocks), which every PNG
// reader accepts, and only such PNGs are read back. The pictures the page reads are the ones a
// scenario in the playground wrote itself (a screenshot serving as a reference frame), into the
// module's own memory file system; a program driving the page gets its frames as such PNGs.
#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "files/whole_file_writer.h"
#include "picture_files/picture_files.h"

namespace {

constexpr std::array<uint8_t, 8> SIGNATURE = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t STORED_BLOCK = 65535; // the most a stored deflate block holds
constexpr int CHANNELS = 3;                 // 8-bit RGB
// IHDR's depth, colour type, compression, filter and interlace: 8-bit RGB, not interlaced.
const std::string RGB8 = std::string("\x08\x02\x00\x00\x00", 5);

// The CRC of the bytes from `from`, a byte at a time through a table: a frame's picture is
// tens of kilobytes, and a program asking for frames should not wait for a bit at a time.
uint32_t crc32(const std::string& bytes, std::size_t from) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
            }
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc = table[(crc ^ static_cast<uint8_t>(bytes[i])) & 0xFFu] ^ (crc >> 8);
    }
    return ~crc;
}

void put32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>(value >> shift);
    }
}

uint32_t get32(const std::string& in, std::size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(in[at])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(in[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(in[at + 2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(in[at + 3]));
}

void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    const std::size_t start = out.size();
    out += type;
    out += data;
    put32(out, crc32(out, start));
}

// The rows as zlib data in stored blocks: each row a filter byte 0 and its RGB bytes.
std::string stored_zlib(const argb_picture& picture) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(picture.height) *
                (static_cast<std::size_t>(picture.width) * CHANNELS + 1));
    for (int y = 0; y < picture.height; ++y) {
        raw += '\0';
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
            raw += static_cast<char>(p >> 16);
            raw += static_cast<char>(p >> 8);
            raw += static_cast<char>(p);
        }
    }
    std::string out = "\x78\x01"; // deflate, 32 KB window, no preset dictionary
    for (std::size_t at = 0; at == 0 || at < raw.size(); at += STORED_BLOCK) {
        const std::size_t length = std::min(STORED_BLOCK, raw.size() - at);
        out += static_cast<char>(at + length >= raw.size() ? 1 : 0); // last block?
        out += static_cast<char>(length);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length);
        out += static_cast<char>(~length >> 8);
        out.append(raw, at, length);
    }
    // Adler-32, its sums reduced only as often as they could overflow.
    constexpr std::size_t MOST_BEFORE_REDUCING = 5552;
    uint32_t a = 1;
    uint32_t b = 0;
    for (std::size_t at = 0; at < raw.size(); at += MOST_BEFORE_REDUCING) {
        const std::size_t end = std::min(raw.size(), at + MOST_BEFORE_REDUCING);
        for (std::size_t i = at; i < end; ++i) {
            a += static_cast<uint8_t>(raw[i]);
            b += a;
        }
        a %= 65521;
        b %= 65521;
    }
    put32(out, b << 16 | a);
    return out;
}

// The rows of stored zlib data, or false if it holds anything but stored blocks.
bool unstore(const std::string& zlib, std::string& raw) {
    std::size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0) {
            return false; // compressed blocks: not a picture this page wrote
        }
        last = (zlib[at] & 1) != 0;
        const std::size_t length = static_cast<uint8_t>(zlib[at + 1]) |
                                   static_cast<std::size_t>(static_cast<uint8_t>(zlib[at + 2]))
                                       << 8;
        at += 5;
        if (at + length > zlib.size()) {
            return false;
        }
        raw.append(zlib, at, length);
        at += length;
    }
    return true;
}

} // namespace

bool encode_png(const argb_picture& picture, std::string& bytes, std::string& problem) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        problem = "the picture has no pixels, or not as many as its size says";
        return false;
    }
    bytes.assign(SIGNATURE.begin(), SIGNATURE.end());
    std::string header;
    put32(header, static_cast<uint32_t>(picture.width));
    put32(header, static_cast<uint32_t>(picture.height));
    header += RGB8;
    chunk(bytes, "IHDR", header);
    chunk(bytes, "IDAT", stored_zlib(picture));
    chunk(bytes, "IEND", {});
    return true;
}

std::string write_png_file(const std::string& path, const argb_picture& picture) {
    std::string bytes;
    std::string problem;
    if (!encode_png(picture, bytes, problem)) {
        return "cannot write " + path + ": " + problem;
    }
    return txm9::write_whole_file(path, bytes);
}

bool read_png_file(const std::string& path, argb_picture& picture, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    const std::string in{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.good() && !file.eof()) {
        problem = "cannot read " + path;
        return false;
    }
    const std::string unreadable = "cannot read " + path +
                                   ": the page reads only the PNG "
                                   "pictures it wrote itself (a screenshot of this scenario)";
    if (in.size() < 33 || in.compare(0, 8, std::string(SIGNATURE.begin(), SIGNATURE.end())) != 0 ||
        in.compare(12, 4, "IHDR") != 0 || in.compare(24, RGB8.size(), RGB8) != 0) {
        problem = unreadable;
        return false;
    }
    picture.width = static_cast<int>(get32(in, 16));
    picture.height = static_cast<int>(get32(in, 20));
    std::string zlib;
    for (std::size_t at = 8; at + 12 <= in.size();) {
        const std::size_t length = get32(in, at);
        if (in.compare(at + 4, 4, "IDAT") == 0) {
            zlib.append(in, at + 8, length);
        }
        at += 12 + length;
    }
    std::string raw;
    const std::size_t stride = static_cast<std::size_t>(picture.width) * CHANNELS + 1;
    if (!unstore(zlib, raw) || raw.size() != stride * static_cast<std::size_t>(picture.height)) {
        problem = unreadable;
        return false;
    }
    picture.pixels.clear();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t p =
                static_cast<std::size_t>(y) * stride + 1 + static_cast<std::size_t>(x) * CHANNELS;
            picture.pixels.push_back(0xFF000000u |
                                     static_cast<uint32_t>(static_cast<uint8_t>(raw[p])) << 16 |
                                     static_cast<uint32_t>(static_cast<uint8_t>(raw[p + 1])) << 8 |
                                     static_cast<uint8_t>(raw[p + 2]));
        }
    }
    return true;
}
