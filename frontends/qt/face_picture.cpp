#include "face_picture.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

namespace {

// Larger pictures are refused before any memory is taken for them.
constexpr JDIMENSION largest_side = 8192;

struct error_trap {
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it is a pointer to the trap
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void fail(j_common_ptr decoder) {
    auto* trap = reinterpret_cast<error_trap*>(decoder->err);
    (*decoder->err->format_message)(decoder, trap->message);
    std::longjmp(trap->jump, 1);
}

// Level -1 is a warning: corrupt or truncated data that libjpeg would paper over.
void on_message(j_common_ptr decoder, int level) {
    if (level < 0) {
        fail(decoder);
    }
}

struct jpeg_session {
    jpeg_decompress_struct decoder;
    error_trap trap;
};

// Each libjpeg phase runs in a routine of its own that holds no C++ objects, so a longjmp
// out of libjpeg skips no destructor.
bool read_header(jpeg_session& s, const uint8_t* data, std::size_t size) {
    if (setjmp(s.trap.jump) != 0) {
        return false;
    }
    jpeg_mem_src(&s.decoder, data, static_cast<unsigned long>(size));
    jpeg_read_header(&s.decoder, TRUE);
    s.decoder.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&s.decoder);
    return true;
}

bool read_pixels(jpeg_session& s, uint8_t* bits, std::size_t stride) {
    if (setjmp(s.trap.jump) != 0) {
        return false;
    }
    jpeg_start_decompress(&s.decoder);
    while (s.decoder.output_scanline < s.decoder.output_height) {
        JSAMPROW row = bits + s.decoder.output_scanline * stride;
        jpeg_read_scanlines(&s.decoder, &row, 1);
    }
    jpeg_finish_decompress(&s.decoder);
    return true;
}

} // namespace

decoded_picture decode_jpeg(const uint8_t* data, std::size_t size) {
    decoded_picture result;
    jpeg_session s{};
    s.decoder.err = jpeg_std_error(&s.trap.manager);
    s.trap.manager.error_exit = fail;
    s.trap.manager.emit_message = on_message;
    jpeg_create_decompress(&s.decoder);

    if (!read_header(s, data, size)) {
        result.error = QString::fromLocal8Bit(s.trap.message);
    } else if (s.decoder.output_width == 0 || s.decoder.output_height == 0 ||
               s.decoder.output_width > largest_side || s.decoder.output_height > largest_side ||
               s.decoder.output_components != 3) {
        result.error = QStringLiteral("unsupported picture of %1 x %2 pixels")
                           .arg(s.decoder.output_width)
                           .arg(s.decoder.output_height);
    } else {
        QImage image(static_cast<int>(s.decoder.output_width),
                     static_cast<int>(s.decoder.output_height), QImage::Format_RGB888);
        if (image.isNull()) {
            result.error = QStringLiteral("not enough memory for the picture");
        } else if (!read_pixels(s, image.bits(), static_cast<std::size_t>(image.bytesPerLine()))) {
            result.error = QString::fromLocal8Bit(s.trap.message);
        } else {
            result.image = image;
        }
    }
    jpeg_destroy_decompress(&s.decoder);
    return result;
}

// Outside any namespace, as the resource system requires.
static void init_face_resource() {
    Q_INIT_RESOURCE(face);
}

QByteArray face_picture_bytes() {
    // The resource lives in a static library: referencing its initialiser here keeps it in.
    init_face_resource();
    QFile file(QStringLiteral(":/face.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QImage load_face_picture(const QByteArray& bytes) {
    const decoded_picture face = decode_jpeg(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    if (!face.error.isEmpty()) {
        throw std::runtime_error(
            QStringLiteral("The instrument's face picture cannot be shown: %1.")
                .arg(face.error)
                .toStdString());
    }
    if (face.image.width() != FACE_SIZE || face.image.height() != FACE_SIZE) {
        throw std::runtime_error(
            QStringLiteral("The instrument's face picture is %1 x %2 pixels, not %3 x %3.")
                .arg(face.image.width())
                .arg(face.image.height())
                .arg(FACE_SIZE)
                .toStdString());
    }
    return face.image;
}
