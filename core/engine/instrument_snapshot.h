// Every variable of the instrument saved, to be put back later: for looking at what the
// firmware would do (the factory settings, the count for a reading) without changing what it
// does.
#pragma once

#include <cstdint>
#include <vector>

#include "firmware/monitor/state.h"

namespace txm9 {

class instrument_snapshot {
public:
    instrument_snapshot();
    // Puts every variable back as it was when the snapshot was taken.
    void restore() const;

private:
    std::vector<int64_t> values_;
    std::vector<screen_routine> screens_;
};

// Restores the snapshot it took when it goes out of scope.
class instrument_state_kept {
public:
    instrument_state_kept() = default;
    ~instrument_state_kept() { saved_.restore(); }
    instrument_state_kept(const instrument_state_kept&) = delete;
    instrument_state_kept& operator=(const instrument_state_kept&) = delete;

private:
    instrument_snapshot saved_;
};

// The value ON loads into a setting or calibration variable; false for any other variable.
bool factory_value(const char* name, int64_t& value);

} // namespace txm9
