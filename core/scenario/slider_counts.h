// The slider count that makes the instrument read a given voltage or current, found by
// running the firmware's own measurement over every count on a copy of its state. While the
// instrument is off, the factory settings that the next ON loads apply.
#pragma once

#include <cstdint>
#include <string>

namespace txm9 {

struct count_for_value {
    bool reachable = false;
    uint32_t count = 0;
    int64_t nearest = 0; // the reachable value closest to the one asked for, in tenths
};

// The smallest count whose voltage reads `dv` tenths of a volt.
count_for_value volts_count(int64_t dv, bool instrument_on);
// A count that makes the display settle on `da` tenths of an amp: the filtered count whose
// current is nearest, raised by one when the filter approaches it from below (it settles one
// count low that way).
count_for_value amps_count(int64_t da, bool instrument_on);

// The highest voltage any count reads at any calibration, in tenths of a volt: the slider's
// last count at the largest voltage calibration factor.
int64_t highest_volts_dv();
// The largest current reading in tenths of an amp, either way: the reading is held within
// 32 bits, whatever the calibration.
int64_t highest_amps_da();

} // namespace txm9
