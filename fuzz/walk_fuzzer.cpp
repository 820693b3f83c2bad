// The input is a stream of front-panel events (firmware_walk.h gives its format): the
// firmware runs through it from program start, and any broken invariant, sanitizer report
// or exception other than the zero-width calibration's division fault is a crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/firmware_walk.h"

using namespace txm9;

namespace {

// Enough for a couple of runs and a minute's pause, little enough to keep inputs quick.
constexpr uint64_t PASSES_PER_INPUT = 5000;

class input_bytes : public event_source {
public:
    input_bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int next() override { return at_ < size_ ? data_[at_++] : -1; }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    input_bytes bytes(data, size);
    walk_stats stats;
    const std::string broken = walk_firmware(bytes, PASSES_PER_INPUT, stats);
    if (!broken.empty()) {
        std::fprintf(stderr, "walk broke an invariant: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
