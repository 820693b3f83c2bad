// The journal of a play: everything that reached the instrument from outside, in the order it
// did, and what the display showed after each frame. The runner writes it (txm9-scenario
// --journal); the firmware on its microcontroller replays the inputs through the same running
// order and hands its own frames back, and the host holds both lists of frames side by side.
// Plain codes and sizes only, so that the target's program reads the same list.
//
// A journal is MAGIC, then records: a code byte and its fields, little-endian.
#pragma once

#include <cstdint>

namespace txm9::journal {

inline constexpr char MAGIC[8] = {'T', 'X', 'M', '9', 'J', 'R', 'N', '1'};
// The frames the target hands back start the same way, with their own mark.
inline constexpr char FRAMES_MAGIC[8] = {'T', 'X', 'M', '9', 'F', 'R', 'M', '1'};

// The records of a journal.
enum code : uint8_t {
    SCENARIO = 'S',   // u16 length, the file's name: program start (off, all zero)
    LINE = 'L',       // u32: the scenario line the following frames belong to
    KEY = 'K',        // u8: a key or one turn of the knob (KEY_SELECT .. KEY_RIGHT)
    VOLTS = 'V',      // u16: the battery voltage converter's count, 0..4096
    AMPS = 'A',       // u16: the shunt converter's count, 0..4096
    CALIBRATE = 'C',  // u8: the Calibrate box, 1 ticked
    KEY_FAST = 'F',   // u8: the KeyFast box, 1 ticked
    ON = 'O',         // ON: a run starts (inside the run in progress, if any)
    OFF = 'X',        // OFF
    DELIVERED = 'E',  // the events after a frame are over: the next pass may start
    OFF_TIME = 'T',   // u64: instrument time moves on to this many ms while off
    FRAME = 'P',      // u8 lamp (1 lit), LCD_BUFFER_SIZE bytes: a frame unlike the last
    SAME_FRAME = '=', // a frame like the last one
    RUN_ENDED = 'R',  // u8 faulted, u16 length, the fault's message: a run has ended
};

// The target hands back FRAMES_MAGIC, then SCENARIO (no fields), FRAME and RUN_ENDED, each
// with a u32 before its fields: the number of its frame in the scenario (from 0); and at the
// end of each scenario:
inline constexpr uint8_t FRAMES_SHOWN = 'Z'; // u32: frames shown in the scenario

} // namespace txm9::journal
