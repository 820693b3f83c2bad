// Writes a picture as a baseline JPEG with full colour resolution (no chroma subsampling, so
// the red lamp and the white lettering keep sharp edges) and a comment marker.
#pragma once

#include <QImage>
#include <string>

// Returns an empty string on success, else what went wrong.
std::string write_jpeg(const QImage& picture, const std::string& path, int quality,
                       const std::string& comment);
