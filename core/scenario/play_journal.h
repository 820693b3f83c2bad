// The journal of the plays the runner makes (txm9-scenario --journal): what reached the
// instrument and what its display showed, frame by frame, in the order of
// play_journal_format.h. The firmware on its microcontroller replays it (target/twin.cpp),
// and compare_journal_frames holds the target's frames against the ones recorded here.
#pragma once

#include <cstdint>
#include <string>

#include "engine/front_panel.h"
#include "firmware/lcd/framebuffer.h"

namespace txm9 {

class play_journal {
public:
    play_journal();

    // Program start for the scenario of that file.
    void scenario(const std::string& file);
    // What the panel hands the firmware.
    void key(uint8_t code);
    void volts(uint32_t count);
    void amps(uint32_t count);
    void calibrate(bool ticked);
    void key_fast(bool ticked);
    void on();
    void off();
    // A frame's events are over.
    void delivered();
    // Instrument time moves on to `ms` while off.
    void off_time(uint64_t ms);
    // The frame in lcd_buffer has been shown, during the scenario's `line`, with the lamp.
    void frame(int line, bool lamp_lit);
    void run_ended(const run_end& end);

    // The whole journal so far.
    const std::string& bytes() const { return bytes_; }

private:
    void put_u8(uint32_t v);
    void put_u16(uint32_t v);
    void put_u32(uint32_t v);
    void put_text(const std::string& text);

    std::string bytes_;
    int line_ = -1;
    bool any_frame_ = false;
    bool last_lamp_ = false;
    uint8_t last_frame_[LCD_BUFFER_SIZE] = {};
};

} // namespace txm9
