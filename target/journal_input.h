// The journal as the target reads it from the host, a few bytes at a time: the instrument has
// no RAM to spare for more than a small window of it.
#pragma once

#include <cstdint>

class journal_input {
public:
    // Reads the host file; false if it cannot be opened.
    bool open(const char* path);
    // The next byte without taking it; -1 at the end of the journal.
    int peek();
    // The next byte, or -1 at the end (which a field cut short also reports, through failed()).
    int take();
    uint32_t take_u8() { return take_field(1); }
    uint32_t take_u16() { return take_field(2); }
    uint32_t take_u32() { return take_field(4); }
    uint64_t take_u64();
    // Passes over `size` bytes.
    void skip(uint32_t size);
    // A field was cut short by the journal's end, or the host could not be read.
    bool failed() const { return failed_; }

private:
    uint32_t take_field(int bytes);
    bool fill();

    int handle_ = -1;
    uint8_t window_[64] = {};
    uint32_t window_start_ = 0; // the window's first byte in the file
    uint32_t window_size_ = 0;
    uint32_t at_ = 0; // the next byte in the window
    bool failed_ = false;
};
