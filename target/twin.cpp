// The twin: the firmware on its microcontroller replays a play that the desktop build made.
// It runs the front panel's running order (the power-on reset, the splash frame by frame,
// the passes, Timer1's tick every 100 ms of instrument time) on the inputs of a journal that
// txm9-scenario --journal wrote, applied where the desktop applied them (between two frames,
// or while off), and hands every frame unlike the one before back to the host, with how each
// run ended. The host compares; nothing here knows what the frames should be.
//
//   qemu-system-arm -M mps2-an385 -display none -monitor none -serial none -icount shift=0
//       -semihosting-config enable=on,target=native,arg=txm9-twin,arg=JOURNAL,arg=FRAMES
//       -kernel txm9-twin.elf
//
// It also counts the instructions of each pass by the screen it drew, and the stack's depth.
#include <csetjmp>
#include <cstdint>
#include <cstring>

#include "engine/front_panel.h"
#include "engine/panel_colours.h"
#include "engine/program_start.h"
#include "engine/timing.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"
#include "halt.h"
#include "instruction_count.h"
#include "journal_input.h"
#include "scenario/play_journal_format.h"
#include "semihosting.h"
#include "stack_use.h"

namespace jr = txm9::journal;

namespace {

journal_input journal;
int frames_out = -1;

// Where the play goes on when the journal leaves a run behind (a scenario that failed on the
// desktop ends where it was).
std::jmp_buf* abandon_play = nullptr;
// Where a halted processor waits for the next ON: one place for each run in progress (an ON
// inside a run nests a run), kept out of the stack, which the nested runs deepen already.
constexpr int MOST_RUNS = 4;
std::jmp_buf halted_runs[MOST_RUNS];
int runs = 0;
const char* halt_reason = nullptr;

[[noreturn]] void give_up(const char* why) {
    host_print("txm9 target: ");
    host_print(why);
    host_print("\n");
    host_exit(2);
}

void put(const void* data, uint32_t size) {
    if (!host_write(frames_out, data, size)) {
        give_up("cannot write the frames");
    }
}

void put_u8(uint32_t v) {
    const uint8_t b = static_cast<uint8_t>(v);
    put(&b, 1);
}

void put_u16(uint32_t v) {
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    put(b, 2);
}

void put_u32(uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    put(b, 4);
}

// A text on the host's console, numbers without the C library's printf.
void print_number(uint32_t v) {
    char digits[11];
    int at = sizeof digits - 1;
    digits[at] = '\0';
    do {
        digits[--at] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    host_print(digits + at);
}

// The instructions of the passes that drew each screen, the splash frames last.
struct pass_instructions {
    uint32_t passes = 0;
    uint32_t most = 0;
    uint64_t total = 0;
};
pass_instructions instructions[SCREEN_COUNT + 1];

// A frame's fingerprint: a frame is handed back when it differs from the last one.
uint32_t frame_hash(bool lamp) {
    uint32_t h = 2166136261u;
    for (uint8_t byte : lcd_buffer) {
        h = (h ^ byte) * 16777619u;
    }
    return (h ^ (lamp ? 1u : 0u)) * 16777619u;
}

class twin_panel : public txm9::panel_frontend {
public:
    // Program start for the next scenario: off, every variable zero, the boxes clear, the
    // lamp pure red, instrument time 0.
    void start_scenario() {
        txm9::program_start_state();
        state_ = {};
        put_u8(jr::SCENARIO);
    }

    void end_scenario() {
        put_u8(jr::FRAMES_SHOWN);
        put_u32(state_.frames);
    }

    // One record of the journal, taken; false for the end of a frame's events.
    bool apply(int code) {
        switch (code) {
        case jr::KEY:
            key_pressed(static_cast<uint8_t>(journal.take_u8()));
            break;
        case jr::VOLTS:
            raw_volts_adc = journal.take_u16();
            break;
        case jr::AMPS:
            raw_amps_adc = journal.take_u16();
            break;
        case jr::CALIBRATE:
            state_.calibrate_box = journal.take_u8() != 0;
            break;
        case jr::KEY_FAST:
            state_.key_fast_box = journal.take_u8() != 0;
            break;
        case jr::ON:
            switch_on();
            break;
        case jr::OFF:
            power_off_request = 1;
            break;
        case jr::OFF_TIME:
            advance_to(journal.take_u64());
            break;
        case jr::DELIVERED:
            return false;
        // What the desktop saw is for the host.
        case jr::LINE:
            journal.skip(4);
            break;
        case jr::FRAME:
            journal.skip(1 + LCD_BUFFER_SIZE);
            break;
        case jr::SAME_FRAME:
            break;
        case jr::RUN_ENDED:
            journal.skip(1);
            journal.skip(journal.take_u16());
            break;
        default:
            give_up("the journal holds a record this program does not know");
        }
        if (journal.failed()) {
            give_up("the journal ends inside a record, or cannot be read");
        }
        return true;
    }

    void show_frame(const txm9::frame_report& frame) override {
        const uint32_t now = instruction_clock_now();
        pass_instructions& p =
            instructions[frame.phase == txm9::panel_phase::splash ? SCREEN_COUNT
                                                                  : screen_index(frame.screen)];
        const uint32_t n = instructions_between(state_.pass_started, now);
        ++p.passes;
        p.total += n;
        p.most = n > p.most ? n : p.most;

        if (stack_exhausted()) {
            give_up("the stack has run out: the frames from here on cannot be trusted");
        }
        const uint32_t h = frame_hash(state_.lamp_lit);
        if (state_.frames == 0 || h != state_.last_hash) {
            put_u8(jr::FRAME);
            put_u32(state_.frames);
            put_u8(state_.lamp_lit ? 1 : 0);
            put(lcd_buffer, LCD_BUFFER_SIZE);
            state_.last_hash = h;
        }
        ++state_.frames;
    }

    void set_lamp(uint32_t colour) override { state_.lamp_lit = colour == txm9::COLOUR_LAMP_LIT; }
    bool calibrate_ticked() override { return state_.calibrate_box; }
    bool key_fast_ticked() override { return state_.key_fast_box; }
    void tick_calibrate() override { state_.calibrate_box = true; }

    // Instrument time moves on by a frame, with its ticks; then the journal's inputs until
    // the desktop's pass came.
    void deliver_events() override {
        advance_to(state_.now_ms + txm9::FRAME_MS);
        for (;;) {
            const int code = journal.peek();
            if (code < 0 || code == jr::SCENARIO) {
                // The desktop's play ended here, inside a run.
                std::longjmp(*abandon_play, 1);
            }
            if (!apply(journal.take())) {
                break;
            }
        }
        state_.pass_started = instruction_clock_now();
    }

private:
    void advance_to(uint64_t ms) {
        if (ms > state_.now_ms) {
            state_.now_ms = ms;
        }
        while (state_.next_tick_ms <= state_.now_ms) {
            state_.next_tick_ms += txm9::TICK_MS;
            tick();
        }
    }

    // ON: a run of the engine, until OFF or until the FPU's trap halts the processor.
    void switch_on() {
        if (runs == MOST_RUNS) {
            give_up("more runs inside each other than the twin follows");
        }
        halt_reason = nullptr;
        if (setjmp(halted_runs[runs++]) == 0) {
            txm9::front_panel engine(*this);
            state_.pass_started = instruction_clock_now();
            engine.power_on();
        }
        --runs;
        const char* const fault = halt_reason;
        halt_reason = nullptr;
        put_u8(jr::RUN_ENDED);
        put_u32(state_.frames == 0 ? 0 : state_.frames - 1);
        put_u8(fault != nullptr ? 1 : 0);
        const uint32_t length = fault != nullptr ? std::strlen(fault) : 0;
        put_u16(length);
        put(fault != nullptr ? fault : "", length);
    }

    // What the panel holds for a scenario, from program start.
    struct scenario_state {
        uint64_t now_ms = 0;
        uint64_t next_tick_ms = txm9::TICK_MS;
        bool calibrate_box = false;
        bool key_fast_box = false;
        bool lamp_lit = true; // pure red until the first pass sets it
        uint32_t frames = 0;  // frames shown
        uint32_t last_hash = 0;
        uint32_t pass_started = 0; // the instruction clock when the pass began
    };
    scenario_state state_;
};

twin_panel panel;

void print_instructions() {
    for (int i = 0; i <= SCREEN_COUNT; ++i) {
        const pass_instructions& p = instructions[i];
        if (p.passes == 0) {
            continue;
        }
        host_print("twin: instructions ");
        host_print(i == SCREEN_COUNT ? "splash" : screen_list[i].name);
        host_print(" frames ");
        print_number(p.passes);
        host_print(" mean ");
        print_number(static_cast<uint32_t>(p.total / p.passes));
        host_print(" most ");
        print_number(p.most);
        host_print("\n");
    }
    host_print("twin: stack ");
    print_number(stack_bytes_used());
    host_print(" of ");
    print_number(stack_bytes());
    host_print("\n");
}

// The journal's and the frames' host paths, the 2nd and 3rd words of the command line.
bool paths(char* line, uint32_t size, const char*& journal_path, const char*& frames_path) {
    if (!host_command_line(line, size)) {
        return false;
    }
    char* words[3] = {};
    int n = 0;
    for (char* p = line; *p != '\0';) {
        while (*p == ' ') {
            *p++ = '\0';
        }
        if (*p == '\0') {
            break;
        }
        if (n < 3) {
            words[n] = p;
        }
        ++n;
        while (*p != '\0' && *p != ' ') {
            ++p;
        }
    }
    journal_path = words[1];
    frames_path = words[2];
    return n == 3;
}

} // namespace

void halt_until_switched_on(const char* reason) {
    if (runs == 0) {
        give_up("halted outside a run");
    }
    halt_reason = reason;
    std::longjmp(halted_runs[runs - 1], 1);
}

int main() {
    instruction_clock_start();
    static char line[160];
    const char* journal_path = nullptr;
    const char* frames_path = nullptr;
    if (!paths(line, sizeof line, journal_path, frames_path)) {
        give_up("usage: txm9-twin JOURNAL FRAMES (semihosting arguments)");
    }
    if (!journal.open(journal_path)) {
        give_up("cannot read the journal");
    }
    char magic[sizeof jr::MAGIC];
    for (char& c : magic) {
        c = static_cast<char>(journal.take());
    }
    if (std::memcmp(magic, jr::MAGIC, sizeof magic) != 0) {
        give_up("not a journal of txm9-scenario --journal");
    }
    frames_out = host_open(frames_path, 1);
    if (frames_out < 0) {
        give_up("cannot write the frames");
    }
    put(jr::FRAMES_MAGIC, sizeof jr::FRAMES_MAGIC);

    static std::jmp_buf abandoned;
    static bool in_scenario = false;
    abandon_play = &abandoned;
    if (setjmp(abandoned) != 0) {
        runs = 0;
    }
    for (int code = journal.take(); code >= 0; code = journal.take()) {
        if (code == jr::SCENARIO) {
            if (in_scenario) {
                panel.end_scenario();
            }
            journal.skip(journal.take_u16());
            panel.start_scenario();
            in_scenario = true;
        } else if (!in_scenario) {
            give_up("the journal does not start with a scenario");
        } else {
            panel.apply(code);
        }
    }
    if (in_scenario) {
        panel.end_scenario();
    }
    host_close(frames_out);
    print_instructions();
    return 0;
}
