// The face-picture decoder on arbitrary bytes: the answer is a picture or a clear error,
// never both, never neither, and never a crash, a hang or an exit from inside libjpeg.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "qt/face_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const decoded_picture picture = decode_jpeg(data, size);
    const bool has_picture = !picture.image.isNull();
    const bool has_error = !picture.error.isEmpty();
    if (has_picture == has_error) {
        std::fprintf(stderr, "decode_jpeg gave %s\n",
                     has_picture ? "a picture and an error" : "neither a picture nor an error");
        std::abort();
    }
    if (has_picture && picture.image.format() != QImage::Format_RGB888) {
        std::fprintf(stderr, "decode_jpeg gave a picture in format %d\n",
                     static_cast<int>(picture.image.format()));
        std::abort();
    }
    return 0;
}
