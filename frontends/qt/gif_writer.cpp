#include "gif_writer.h"

#include <algorithm>
#include <gif_lib.h>

using namespace txm9;

namespace {

// Palette indices: the LCD's two colours and the margin's; a GIF palette has a power of two
// entries, so the fourth repeats the margin.
constexpr uint8_t LIT = 0;
constexpr uint8_t UNLIT = 1;
constexpr uint8_t MARGIN = 2;
constexpr int PALETTE_SIZE = 4;

// Viewers show a picture for at least two hundredths; anything shorter they stretch to a
// tenth, which would slow the animation down.
constexpr uint64_t SHORTEST_CS = 2;
constexpr uint64_t LONGEST_CS = 65535; // the field's width

GifColorType gif_colour(uint32_t argb) {
    return {static_cast<GifByteType>((argb >> 16) & 0xFFu),
            static_cast<GifByteType>((argb >> 8) & 0xFFu), static_cast<GifByteType>(argb & 0xFFu)};
}

} // namespace

gif_writer::~gif_writer() {
    abandon();
}

int gif_writer::write_out(GifFileType* gif, const uint8_t* bytes, int length) {
    auto* self = static_cast<gif_writer*>(gif->UserData);
    return self->file_->write(bytes, static_cast<std::size_t>(length)) ? length : 0;
}

bool gif_writer::open(const std::string& path, int width, int height, const lcd_colours& colours) {
    abandon();
    error_.clear();
    width_ = width;
    height_ = height;
    colours_ = colours;
    has_pending_ = false;
    stored_cs_ = 0;
    frames_ = 0;
    canvas_.assign(static_cast<std::size_t>(width) * height, MARGIN);

    file_ = std::make_unique<whole_file_writer>(path);
    if (!file_->ok()) {
        error_ = file_->error();
        file_.reset();
        return false;
    }
    int gif_error = 0;
    gif_ = EGifOpen(this, write_out, &gif_error);
    if (gif_ == nullptr) {
        return fail(std::string("cannot start the GIF: ") + GifErrorString(gif_error));
    }
    EGifSetGifVersion(gif_, true);
    const GifColorType palette[PALETTE_SIZE] = {gif_colour(colours.lit), gif_colour(colours.unlit),
                                                gif_colour(colours.margin),
                                                gif_colour(colours.margin)};
    ColorMapObject* map = GifMakeMapObject(PALETTE_SIZE, palette);
    const int described = EGifPutScreenDesc(gif_, width, height, 8, MARGIN, map);
    GifFreeMapObject(map);
    // Played over and over, as a display is watched.
    static const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                              'P', 'E', '2', '.', '0'};
    static const GifByteType loop_forever[] = {1, 0, 0};
    if (described == GIF_ERROR ||
        EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, sizeof application, application) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, sizeof loop_forever, loop_forever) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
        return fail("cannot write the GIF");
    }
    return true;
}

bool gif_writer::add(const uint32_t* pixels, uint64_t at_ms) {
    if (gif_ == nullptr) {
        return false;
    }
    std::vector<uint8_t> picture(static_cast<std::size_t>(width_) * height_);
    std::transform(pixels, pixels + picture.size(), picture.begin(), [this](uint32_t p) {
        return p == colours_.lit ? LIT : p == colours_.margin ? MARGIN : UNLIT;
    });
    if (has_pending_ && picture == pending_) {
        return true;
    }
    if (has_pending_ && !write_pending(at_ms)) {
        return false;
    }
    pending_ = std::move(picture);
    pending_from_ms_ = at_ms;
    has_pending_ = true;
    return true;
}

bool gif_writer::write_pending(uint64_t until_ms) {
    // The delay that brings the stored time to the nearest hundredth of `until_ms`.
    const uint64_t until_cs = (until_ms + 5) / 10;
    uint64_t delay = until_cs > stored_cs_ ? until_cs - stored_cs_ : 0;
    delay = std::max(delay, SHORTEST_CS);
    do {
        // Only the rectangle that differs from what the viewer already shows.
        int left = width_, top = height_, right = -1, bottom = -1;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
                if (pending_[i] != canvas_[i]) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        // The first picture covers the whole screen: viewers differ in what they show where no
        // picture has been.
        if (frames_ == 0) {
            left = top = 0;
            right = width_ - 1;
            bottom = height_ - 1;
        } else if (right < 0) { // nothing changed: a picture standing longer than one delay
            left = top = right = bottom = 0;
        }
        const uint64_t part = std::min(delay, LONGEST_CS);
        const GraphicsControlBlock control{DISPOSE_DO_NOT, false, static_cast<int>(part),
                                           NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) ==
                GIF_ERROR ||
            EGifPutImageDesc(gif_, left, top, right - left + 1, bottom - top + 1, false, nullptr) ==
                GIF_ERROR) {
            return fail("cannot write the GIF");
        }
        for (int y = top; y <= bottom; ++y) {
            GifPixelType* line = &pending_[static_cast<std::size_t>(y) * width_ + left];
            if (EGifPutLine(gif_, line, right - left + 1) == GIF_ERROR) {
                return fail("cannot write the GIF");
            }
        }
        canvas_ = pending_;
        stored_cs_ += part;
        delay -= part;
        ++frames_;
    } while (delay > 0);
    return true;
}

bool gif_writer::finish(uint64_t end_ms) {
    if (gif_ == nullptr) {
        return false;
    }
    if (has_pending_ && !write_pending(end_ms)) {
        return false;
    }
    int gif_error = 0;
    const int closed = EGifCloseFile(gif_, &gif_error);
    gif_ = nullptr;
    if (closed == GIF_ERROR || !file_->commit()) {
        return fail("cannot write the GIF");
    }
    file_.reset();
    return true;
}

bool gif_writer::fail(const std::string& what) {
    // The writer's own words say why, when it was the file that failed.
    error_ = file_ && !file_->ok() ? file_->error() : what;
    abandon();
    return false;
}

void gif_writer::abandon() {
    if (gif_ != nullptr) {
        EGifCloseFile(gif_, nullptr);
        gif_ = nullptr;
    }
    file_.reset(); // an uncommitted file takes its part with it
    has_pending_ = false;
}
