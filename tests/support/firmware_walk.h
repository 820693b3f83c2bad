// A person at the front panel, played from a stream of bytes: the whole firmware driven as
// the window drives it (ON with its reset, splash and main loop; OFF; keys, sliders, ticks,
// the two check boxes), with the instrument's invariants checked after every pass. The
// soak test feeds it seeded random bytes, the fuzz target libFuzzer's inputs. No toolkit.
#pragma once

#include <cstdint>
#include <string>

#include "engine/program_start.h"
#include "firmware/monitor/screen_list.h"

using namespace txm9;

// Where the walk's events come from.
class event_source {
public:
    virtual ~event_source() = default;
    // The next byte 0..255, or -1 once there are no more.
    virtual int next() = 0;
};

// What a walk went through, so that a run can show it reached the corners it should.
struct walk_stats {
    uint64_t passes = 0;
    uint64_t runs = 0;        // ON clicks that started a run
    uint64_t nested_runs = 0; // of them, ON clicked while a run was going on
    uint64_t splash_frames = 0;
    uint64_t keys = 0; // key clicks, stored or dropped
    uint64_t ticks = 0;
    uint64_t screen_passes[SCREEN_COUNT] = {}; // passes per screen, in screen_list's order
    uint64_t inactivity_returns = 0;
    uint64_t points_taken = 0;      // calibration points taken on the calibration screen
    uint64_t points_set = 0;        // calibration points set straight to the filtered count
    uint64_t division_faults = 0;   // runs ended by a zero-width current calibration
    uint64_t calibrate_unlocks = 0; // knob presses during the splash
};

// The event stream, one delivery of events (25 ms of the person's time) after another. Each
// delivery starts with one byte, whose range says what happens; some take the next byte or
// two as their argument. Every byte value means something, so any stream is a valid walk.
// The first byte of each range:
enum walk_byte : uint8_t {
    WALK_NOTHING = 0,         // ..63: nothing happens; while off, the person clicks ON
    WALK_KEY = 64,            // ..159 and 233..255: a key, by the next byte % 8: SELECT, CW,
                              // CW, CCW, LEFT, RIGHT, RIGHT, SELECT (forward keys twice as
                              // often, so that walks reach the deeper rows and items)
    WALK_ANY_CODE = 160,      // ..167: key code = next byte, 0..255
    WALK_TWO_KEYS = 168,      // ..171: two keys (next two bytes, as WALK_KEY): the second is lost
    WALK_VOLTS_SET = 172,     // ..177: volts slider to (next two bytes, high first) % 4097
    WALK_VOLTS_NUDGE = 178,   // ..185: volts slider moved by (next byte - 128), kept in 0..4096
    WALK_AMPS_SET = 186,      // ..191: amps slider, as WALK_VOLTS_SET
    WALK_AMPS_NUDGE = 192,    // ..199: amps slider, as WALK_VOLTS_NUDGE
    WALK_PAUSE = 200,         // ..203: 1 + (next byte % 64) deliveries with nothing
    WALK_MINUTE = 204,        // a minute of deliveries with nothing, if the next byte is < 64
    WALK_STALL = 205,         // ..208: (next byte % 32) extra ticks at once, as after a slow
                              //        frame
    WALK_CALIBRATE_BOX = 209, // ..216: the Calibrate box clicked
    WALK_KEY_FAST_BOX = 217,  // ..220: the KeyFast box clicked
    WALK_SET_POINT = 221,     // ..222: calibration point (next byte % 3: zero, charge,
                              //        discharge) set to the present filtered count
    WALK_OFF = 223,
    WALK_ON = 224,        // while running, a second run inside the first if the next
                          // byte is < 32
    WALK_TURN = 225,      // ..232: the knob turned or a key pressed again and again: the
                          // key of the next byte (as WALK_KEY) on this delivery and the
                          // (byte after % 64) following ones
    WALK_MORE_KEYS = 233, // ..255: as WALK_KEY
};
// Ticks come by themselves, one every fourth delivery (100 ms).

// Plays the window from program start with the events `source` gives until it has none left
// or `max_passes` main-loop passes have run; then the person keeps clicking OFF until every
// run has ended. Returns an empty string when every invariant held, otherwise what broke,
// at which pass, and the state at that moment.
std::string walk_firmware(event_source& source, uint64_t max_passes, walk_stats& stats);

// The statistics as a few lines for a log.
std::string describe(const walk_stats& stats);
