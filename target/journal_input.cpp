#include "journal_input.h"

#include "semihosting.h"

bool journal_input::open(const char* path) {
    handle_ = host_open(path, 0);
    return handle_ >= 0;
}

bool journal_input::fill() {
    window_start_ += window_size_;
    window_size_ = 0;
    at_ = 0;
    const int32_t got = host_read(handle_, window_, sizeof window_);
    if (got < 0) {
        failed_ = true;
        return false;
    }
    window_size_ = static_cast<uint32_t>(got);
    return got > 0;
}

int journal_input::peek() {
    if (at_ == window_size_ && !fill()) {
        return -1;
    }
    return window_[at_];
}

int journal_input::take() {
    const int byte = peek();
    if (byte >= 0) {
        ++at_;
    }
    return byte;
}

uint32_t journal_input::take_field(int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const int byte = take();
        if (byte < 0) {
            failed_ = true;
            return 0;
        }
        value |= static_cast<uint32_t>(byte) << (8 * i);
    }
    return value;
}

uint64_t journal_input::take_u64() {
    const uint64_t low = take_u32();
    return low | static_cast<uint64_t>(take_u32()) << 32;
}

void journal_input::skip(uint32_t size) {
    if (size <= window_size_ - at_) {
        at_ += size;
        return;
    }
    // Past the window: the host moves the file on, and the window starts there empty.
    const uint32_t to = window_start_ + at_ + size;
    window_start_ = to;
    window_size_ = 0;
    at_ = 0;
    if (!host_seek(handle_, to)) {
        failed_ = true;
    }
}
