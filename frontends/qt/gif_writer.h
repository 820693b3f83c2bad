// An animated GIF of the instrument's display, from pictures as lcd_picture paints them: the
// LCD's two colours and the margin's in a palette of four, each picture stored only when it
// differs from the one before, and only the rectangle that changed, with the time it stood
// on the display. GIF counts delays in hundredths of a second; each delay is taken from the
// time since the recording began, so rounding never adds up and the animation lasts as long
// as the recording did, to the hundredth. The file is written whole or not at all, as every
// file is (NAME.part while recording, renamed to NAME once complete), so that NAME never holds
// half a GIF.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/lcd_picture.h"
#include "files/whole_file_writer.h"

struct GifFileType;

class gif_writer {
public:
    gif_writer() = default;
    gif_writer(const gif_writer&) = delete;
    gif_writer& operator=(const gif_writer&) = delete;
    // An unfinished recording is abandoned: its part file removed.
    ~gif_writer();

    // Starts a recording of width x height pictures in `colours`, to be named `path`.
    // False, with error() saying why, if the part file cannot be created.
    bool open(const std::string& path, int width, int height, const txm9::lcd_colours& colours);
    // The picture shown from `at_ms` milliseconds after the recording began until the next
    // picture or the end. A picture the same as the one before only lets time run on.
    bool add(const uint32_t* pixels, uint64_t at_ms);
    // Ends the recording at `end_ms`: writes the last picture, makes the file durable and
    // gives it its name.
    bool finish(uint64_t end_ms);
    // Stops without a file: the part file is removed.
    void abandon();

    bool recording() const { return gif_ != nullptr; }
    // Pictures stored so far, and the hundredths of a second they last.
    int frames() const { return frames_; }
    uint64_t stored_cs() const { return stored_cs_; }
    const std::string& error() const { return error_; }
    std::string part_path() const { return file_ ? file_->part_path() : std::string(); }

private:
    bool write_pending(uint64_t until_ms);
    bool fail(const std::string& what);
    static int write_out(GifFileType* gif, const uint8_t* bytes, int length);

    GifFileType* gif_ = nullptr;
    std::unique_ptr<txm9::whole_file_writer> file_;
    std::string error_;
    int width_ = 0;
    int height_ = 0;
    txm9::lcd_colours colours_{};
    std::vector<uint8_t> pending_; // palette indices of the picture not yet stored
    std::vector<uint8_t> canvas_;  // what a viewer shows after the pictures stored so far
    bool has_pending_ = false;
    uint64_t pending_from_ms_ = 0;
    uint64_t stored_cs_ = 0;
    int frames_ = 0;
};
