#include "scenario/play_journal.h"

#include <algorithm>
#include <cstring>

#include "scenario/play_journal_format.h"

namespace txm9 {

namespace jr = journal;

namespace {

// Counts and texts are small by nature; a longer text is cut to what its field holds.
constexpr std::size_t MOST_TEXT = 0xFFFF;

} // namespace

play_journal::play_journal() {
    bytes_.assign(jr::MAGIC, sizeof jr::MAGIC);
}

void play_journal::put_u8(uint32_t v) {
    bytes_.push_back(static_cast<char>(v & 0xFF));
}

void play_journal::put_u16(uint32_t v) {
    put_u8(v);
    put_u8(v >> 8);
}

void play_journal::put_u32(uint32_t v) {
    put_u16(v);
    put_u16(v >> 16);
}

void play_journal::put_text(const std::string& text) {
    const std::size_t n = std::min(text.size(), MOST_TEXT);
    put_u16(static_cast<uint32_t>(n));
    bytes_.append(text, 0, n);
}

void play_journal::scenario(const std::string& file) {
    put_u8(jr::SCENARIO);
    put_text(file);
    line_ = -1;
    any_frame_ = false;
}

void play_journal::key(uint8_t code) {
    put_u8(jr::KEY);
    put_u8(code);
}

void play_journal::volts(uint32_t count) {
    put_u8(jr::VOLTS);
    put_u16(count);
}

void play_journal::amps(uint32_t count) {
    put_u8(jr::AMPS);
    put_u16(count);
}

void play_journal::calibrate(bool ticked) {
    put_u8(jr::CALIBRATE);
    put_u8(ticked ? 1 : 0);
}

void play_journal::key_fast(bool ticked) {
    put_u8(jr::KEY_FAST);
    put_u8(ticked ? 1 : 0);
}

void play_journal::on() {
    put_u8(jr::ON);
}

void play_journal::off() {
    put_u8(jr::OFF);
}

void play_journal::delivered() {
    put_u8(jr::DELIVERED);
}

void play_journal::off_time(uint64_t ms) {
    put_u8(jr::OFF_TIME);
    put_u32(static_cast<uint32_t>(ms));
    put_u32(static_cast<uint32_t>(ms >> 32));
}

void play_journal::frame(int line, bool lamp_lit) {
    if (line != line_) {
        put_u8(jr::LINE);
        put_u32(static_cast<uint32_t>(line));
        line_ = line;
    }
    if (any_frame_ && lamp_lit == last_lamp_ &&
        std::memcmp(lcd_buffer, last_frame_, LCD_BUFFER_SIZE) == 0) {
        put_u8(jr::SAME_FRAME);
        return;
    }
    put_u8(jr::FRAME);
    put_u8(lamp_lit ? 1 : 0);
    bytes_.append(reinterpret_cast<const char*>(lcd_buffer), LCD_BUFFER_SIZE);
    std::memcpy(last_frame_, lcd_buffer, LCD_BUFFER_SIZE);
    last_lamp_ = lamp_lit;
    any_frame_ = true;
}

void play_journal::run_ended(const run_end& end) {
    put_u8(jr::RUN_ENDED);
    put_u8(end.faulted ? 1 : 0);
    put_text(end.fault);
}

} // namespace txm9
