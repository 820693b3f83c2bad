// The instrument's face: a 310 x 310 JPEG built into the program, decoded at start-up.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>

inline constexpr int FACE_SIZE = 310;

// A decoded picture, or why there is none.
struct decoded_picture {
    QImage image;  // RGB, null on failure
    QString error; // empty on success
};

// Decodes a JPEG held in memory. Every fault libjpeg reports, warnings included (a truncated
// stream would otherwise decode with grey padding), is an error; nothing exits the program.
decoded_picture decode_jpeg(const uint8_t* data, std::size_t size);

// The face picture built into the program.
QByteArray face_picture_bytes();

// The face, ready to show; throws std::runtime_error with a message for a person when the
// bytes are no JPEG of the face's size.
QImage load_face_picture(const QByteArray& bytes);
