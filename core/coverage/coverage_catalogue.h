// Everything a suite of scenarios can cover, in the instrument's own terms: the five inputs
// each screen takes, the rows of the list screens, the texts the display can show in each
// language, and the instrument states worth seeing once. The texts come from the firmware's
// own text table, so a text added there is one entry added here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/panel_inputs.h"
#include "firmware/monitor/screen_list.h"
#include "lcd_reader/lcd_text_reader.h"

namespace txm9 {

// Where a text can stand: one of the nine screens (by screen_list index) or the splash.
inline constexpr int SPLASH_PLACE = SCREEN_COUNT;
inline constexpr int LANGUAGE_COUNT = 2;               // 0 English, 1 French
extern const char* const language_ids[LANGUAGE_COUNT]; // "en", "fr"

// The main display's three layouts: volts and amps together, the volts page, the amps page.
enum main_layout : uint8_t { LAYOUT_VOLTS_AND_AMPS = 1, LAYOUT_VOLTS = 2, LAYOUT_AMPS = 4 };

enum class row_kind : uint8_t {
    leave,     // row 0, "*** DONE ***": the knob leaves the list
    action,    // the knob does something (the contrast screen, a calibration point)
    setting,   // the knob starts editing, the turns and keys step the value
    menu_item, // an item of the main menu: the knob opens it
};
struct list_row {
    int screen;    // screen_list index
    uint8_t row;   // menu_cursor on it
    row_kind kind; //
    std::string label;
};
// The rows of the main menu and of the four setup lists, screen by screen, top down.
const std::vector<list_row>& list_rows();
// What a row's knob or edit does, as the report names it: "left", "performed", "edited",
// "opened".
const char* row_action_name(row_kind kind);
// Whether the key, taken on a row of this kind in edit mode `editing`, is the row's action.
bool row_action_taken(row_kind kind, uint8_t key, bool editing);

// One text of the instrument's text table.
struct catalogue_text {
    std::string id;                     // "pair9", "exit", "fmt-shunt", ...
    std::string shown_by;               // where it stands, for the report
    const char* text[LANGUAGE_COUNT];   // nullptr: the language has no such text
    const char* anchor[LANGUAGE_COUNT]; // a format's label, read just before it, or nullptr
    bool format = false;                // a printf format: each conversion stands for a number
    uint16_t places = 0;                // bit per screen index, bit SPLASH_PLACE for the splash
    uint8_t faces = 0;                  // bit per text_face it is drawn in; 0 any
    int8_t menu_item = -1;              // the main menu's item that draws it; -1 any
    uint8_t layouts = 0;                // main_layout bits that draw it; 0 any
    std::vector<uint8_t> tops;          // the top rows it is drawn at; empty: anywhere
    uint8_t clipped = 0;                // last characters that stand partly off the display's edge
    const char* never[LANGUAGE_COUNT];  // why it can never be shown in a language, or nullptr
};
const std::vector<catalogue_text>& catalogue_texts();

// What a frame was drawn with, for telling apart texts that read alike.
struct drawn_context {
    int place = 0;         // screen index or SPLASH_PLACE
    uint8_t language = 0;  //
    uint8_t menu_item = 0; // menu_cursor, on the main menu
    uint8_t layout = 0;    // a main_layout bit, on the main display
};
// Whether the display, read as `texts`, shows `entry` in the context's language.
bool text_shown(const catalogue_text& entry, const drawn_context& context,
                const std::vector<found_text>& texts);
// Whether `run` contains the printf `format` (preceded by `anchor` if given), a blank in
// them standing for any number of blanks, each conversion for a number of its kind, cut
// where words and numbers are whole. "%3uA" is in "BAR SCALE:  5A" after "BAR SCALE:".
bool format_in(const std::string& run, const char* anchor, const char* format);

enum class instrument_state : uint8_t {
    splash_unlock,
    off_in_splash,
    alarm_raised,
    alarm_acknowledged,
    alarm_cleared,
    inactivity_return,
    page_alternation,
    zero_point_stored,
    charge_point_stored,
    discharge_point_stored,
    fault,
    nested_on,
};
inline constexpr int STATE_COUNT = 12;
struct state_entry {
    const char* id;
    const char* description;
};
extern const state_entry state_entries[STATE_COUNT];

} // namespace txm9
