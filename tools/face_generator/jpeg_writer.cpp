#include "jpeg_writer.h"

#include <cstdio>
#include <vector>

#include <jpeglib.h>

std::string write_jpeg(const QImage& picture, const std::string& path, int quality,
                       const std::string& comment) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return "cannot open " + path + " for writing";
    }

    // The default error handler is fine here: a generator may simply stop on a fault.
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    jpeg_stdio_dest(&encoder, file);

    encoder.image_width = static_cast<JDIMENSION>(rgb.width());
    encoder.image_height = static_cast<JDIMENSION>(rgb.height());
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    encoder.optimize_coding = TRUE;
    for (int c = 0; c < 3; ++c) {
        encoder.comp_info[c].h_samp_factor = 1;
        encoder.comp_info[c].v_samp_factor = 1;
    }

    jpeg_start_compress(&encoder, TRUE);
    jpeg_write_marker(&encoder, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.data()),
                      static_cast<unsigned int>(comment.size()));
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(encoder.next_scanline)));
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    if (std::fclose(file) != 0) {
        return "cannot finish writing " + path;
    }
    return {};
}
