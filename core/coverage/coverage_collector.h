// Coverage of a suite of scenarios in the instrument's own terms, gathered while they play:
// which screens were reached, which input each screen took and where it led, which list rows
// the cursor reached and which were edited, which texts showed in each language, and which
// instrument states came about, each with the scenario line that first got there. It only
// watches: the screen, key, cursor and edit mode between passes, and the texts read back off
// the display, never anything inside the firmware's passes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "coverage/coverage_catalogue.h"
#include "firmware/lcd/framebuffer.h"
#include "scenario/play_observer.h"

namespace txm9 {

// The scenario line that first got somewhere; file -1 while nothing has.
struct first_place {
    int file = -1;
    int line = 0;
    bool reached() const { return file >= 0; }
};

struct screen_coverage {
    first_place first;
    uint64_t frames = 0;                            // passes that drew it
    std::array<uint8_t, LCD_BUFFER_SIZE> picture{}; // the frame buffer as first drawn
};

struct destination {
    std::string name; // the screen it led to, or "acknowledged" when it only acknowledged
    first_place first;
};

struct cell_coverage {
    first_place first;
    uint64_t taken = 0;
    std::vector<destination> led_to; // in the order first reached
};

struct row_coverage {
    first_place cursor[LANGUAGE_COUNT]; // the cursor stood on it
    first_place action[LANGUAGE_COUNT]; // left, performed, edited or opened
};

struct coverage_data {
    struct source {
        std::string name;
        std::string text;
        std::string not_played; // why it did not play through (a mistake, unreadable), or empty
    };
    std::vector<source> files;
    screen_coverage screens[SCREEN_COUNT];
    cell_coverage cells[SCREEN_COUNT][INPUT_COUNT];
    std::vector<row_coverage> rows;                             // as list_rows()
    std::vector<std::array<first_place, LANGUAGE_COUNT>> texts; // as catalogue_texts()
    first_place states[STATE_COUNT];
};

class coverage_collector : public play_observer {
public:
    coverage_collector();

    // The next scenario to play: its name and text, shown in the report with its lines.
    void add_file(const std::string& name, const std::string& text);
    // The file added last, or `name` if it could not even be read, did not play through:
    // `why`, said beside it in the report.
    void not_played(const std::string& name, const std::string& why);
    // Back to what was gathered before: a file stopped halfway counts for nothing.
    void go_back_to(const coverage_data& earlier);
    const coverage_data& data() const { return data_; }

    void scenario_started(const scenario& script) override;
    void command_started(const command& c) override;
    void frame_shown(const frame_report& frame, const front_panel& engine) override;
    void events_delivered(const front_panel& engine) override;
    void run_ended(const run_end& end) override;

private:
    // The instrument as the next pass finds it.
    struct between_passes {
        bool after_pass = false; // false before the first pass of a run: the splash ate the keys
        uint8_t key = 0;
        uint8_t cursor = 0;
        uint8_t editing = 0;
        uint8_t language = 0;
        bool alarm = false;
        bool acknowledged = false;
    };

    void reach(first_place& place);
    void reach(instrument_state state) { reach(data_.states[static_cast<int>(state)]); }
    void pass_shown(const frame_report& frame);
    void read_texts(const drawn_context& context);

    coverage_data data_;
    first_place here_;
    const front_panel* engine_ = nullptr; // the engine playing, once it has shown a frame
    between_passes between_;
    uint8_t amps_page_after_pass_ = 0;
    std::unordered_set<uint64_t> frames_read_; // frames whose texts were read, with context
};

} // namespace txm9
