#include "coverage/coverage_catalogue.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

#include "firmware/monitor/keys.h"
#include "firmware/monitor/splash.h"
#include "firmware/monitor/texts.h"

namespace txm9 {

const char* const language_ids[LANGUAGE_COUNT] = {"en", "fr"};

namespace {

template <std::size_t S> const char* english(const StringPair<S>& pair) {
    return pair.bytes;
}
template <std::size_t S> const char* french(const StringPair<S>& pair) {
    return pair.bytes + S;
}

std::string trimmed(const char* text) {
    std::string s(text);
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

uint16_t on(std::initializer_list<screen_routine> screens) {
    uint16_t places = 0;
    for (screen_routine s : screens) {
        places = static_cast<uint16_t>(places | 1u << screen_index(s));
    }
    return places;
}

uint8_t faces(std::initializer_list<text_face> list) {
    uint8_t bits = 0;
    for (text_face f : list) {
        bits = static_cast<uint8_t>(bits | 1u << static_cast<int>(f));
    }
    return bits;
}

// The splash runs just after ON has loaded the factory settings, English among them.
constexpr const char* SPLASH_IN_ENGLISH =
    "the splash always speaks English: ON loads the factory language just before it";

// A text's anchor in both languages: a pair's two texts, a text the same in both, or none.
template <std::size_t S> std::array<const char*, LANGUAGE_COUNT> anchors(const StringPair<S>& p) {
    return {english(p), french(p)};
}
std::array<const char*, LANGUAGE_COUNT> anchors(const char* text) {
    return {text, text};
}
std::array<const char*, LANGUAGE_COUNT> anchors(std::nullptr_t) {
    return {nullptr, nullptr};
}

// What narrows down where a text of texts.def is drawn.
using narrowing = std::function<void(catalogue_text&)>;
const narrowing anywhere = [](catalogue_text&) {};
// Drawn in one of `face_bits` (0 any), on the main display's `layout_bits` (0 any).
narrowing drawn_in(uint8_t face_bits, uint8_t layout_bits) {
    return [=](catalogue_text& t) {
        t.faces = face_bits;
        t.layouts = layout_bits;
    };
}
// A main menu item's text, in double height; `only_language` the one language that has it.
narrowing menu_item_in(int8_t item, int only_language = -1) {
    return [=](catalogue_text& t) {
        t.menu_item = item;
        t.faces = faces({text_face::double_height});
        if (only_language >= 0) {
            t.text[1 - only_language] = nullptr;
        }
    };
}
narrowing menu_item(int8_t item) {
    return menu_item_in(item);
}
// A double-height peak at the display's right edge, at one of `tops`; its unit's last column
// is off the display.
narrowing at_the_edge(std::vector<uint8_t> tops) {
    return [=](catalogue_text& t) {
        t.faces = faces({text_face::double_height});
        t.tops = tops;
        t.clipped = 1;
    };
}
const narrowing english_only = [](catalogue_text& t) { t.never[1] = SPLASH_IN_ENGLISH; };

catalogue_text entry(std::string id, const char* where, uint16_t places, const char* en,
                     const char* fr, const narrowing& drawn) {
    catalogue_text t{};
    t.id = std::move(id);
    t.shown_by = where;
    t.text[0] = en;
    t.text[1] = fr;
    t.places = places;
    drawn(t);
    return t;
}

std::vector<catalogue_text> build_texts() {
    // The places, faces and layouts texts.def names.
    const uint16_t main = on({screen_main}), max_values = on({screen_max_values}),
                   menu = on({screen_menu}), display = on({screen_display_setup}),
                   contrast = on({screen_contrast}), battery = on({screen_battery_setup}),
                   adc = on({screen_adc_values}), calibrate = on({screen_calibrate}),
                   message = on({screen_message}), splash = 1u << SPLASH_PLACE;
    const uint16_t lists = display | battery | adc | calibrate;
    const uint8_t normal = faces({text_face::normal}), twice = faces({text_face::double_height}),
                  numerals = faces({text_face::medium_numerals, text_face::large_numerals}),
                  normal_or_small = faces({text_face::normal, text_face::small});
    constexpr uint8_t any_layout = 0;

    std::vector<catalogue_text> list;
    int pair_number = 0;
#define TXM9_PAIR(name, en, fr, places, where, drawn)                                              \
    list.push_back(entry("pair" + std::to_string(++pair_number), where, places,                    \
                         english(texts.name), french(texts.name), drawn));
#define TXM9_TEXT(id, name, text, places, where, drawn)                                            \
    list.push_back(entry(id, where, places, name, name, drawn));
#define TXM9_FORMAT(id, printf_format, label, places, where, drawn)                                \
    {                                                                                              \
        catalogue_text& t =                                                                        \
            list.emplace_back(entry(id, where, places, printf_format, printf_format, drawn));      \
        t.format = true;                                                                           \
        const auto both = anchors(label);                                                          \
        t.anchor[0] = both[0];                                                                     \
        t.anchor[1] = both[1];                                                                     \
    }
#include "firmware/monitor/texts.def"
    // The splash's own texts, written by the splash with the instrument's name and version.
    for (const char* s :
         {splash_maker_name, splash_model_name, splash_web_address, firmware_version}) {
        list.push_back(entry(s, "splash", splash, s, s, english_only));
    }
    return list;
}

// A row's label as the report names it: its English text, or its two lines, trimmed.
template <std::size_t S> std::string label_part(const StringPair<S>& pair) {
    return trimmed(english(pair));
}
std::string label_part(const char* text) {
    return trimmed(text);
}
template <typename... Parts> std::string label_of(const Parts&... parts) {
    std::string label;
    ((label += (label.empty() ? "" : " ") + label_part(parts)), ...);
    return label;
}

std::vector<list_row> build_rows() {
    return {
#define TXM9_LIST_ROW(screen, name, row, kind, ...)                                                \
    {screen_index(screen_##screen), row, row_kind::kind, label_of(__VA_ARGS__)},
#include "firmware/monitor/list_rows.def"
    };
}

// A printf format as the reader sees it printed: literal characters, runs of blanks of any
// length, and numbers.
struct format_token {
    enum kind_t : uint8_t { literal, blanks, number } kind;
    char c = 0;
    int decimals = 0; // a number's digits after the point
};

std::vector<format_token> tokens_of(const std::string& pattern) {
    std::vector<format_token> out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == ' ') {
            if (out.empty() || out.back().kind != format_token::blanks) {
                out.push_back({format_token::blanks});
            }
        } else if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out.push_back({format_token::literal, '%'});
            ++i;
        } else if (c == '%') {
            // Flags and width only pad with blanks, which the number allows anyway.
            std::size_t j = i + 1;
            int decimals = 0;
            while (j < pattern.size() &&
                   std::string_view("-+ #0123456789").find(pattern[j]) != std::string_view::npos) {
                ++j;
            }
            if (j < pattern.size() && pattern[j] == '.') {
                decimals = 0;
                for (++j; j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9'; ++j) {
                    decimals = decimals * 10 + (pattern[j] - '0');
                }
            }
            out.push_back({format_token::number, 0, decimals});
            i = j; // the conversion letter
        } else {
            out.push_back({format_token::literal, c});
        }
    }
    return out;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Every end at which tokens[k..] match `run` from `at`.
void match_ends(const std::vector<format_token>& tokens, std::size_t k, const std::string& run,
                std::size_t at, std::vector<std::size_t>& ends) {
    if (k == tokens.size()) {
        ends.push_back(at);
        return;
    }
    const format_token& t = tokens[k];
    switch (t.kind) {
    case format_token::literal:
        if (at < run.size() && run[at] == t.c) {
            match_ends(tokens, k + 1, run, at + 1, ends);
        }
        return;
    case format_token::blanks:
        for (std::size_t i = at;; ++i) {
            match_ends(tokens, k + 1, run, i, ends);
            if (i >= run.size() || run[i] != ' ') {
                return;
            }
        }
    case format_token::number: {
        std::size_t i = at;
        while (i < run.size() && run[i] == ' ') {
            ++i;
        }
        if (i < run.size() && run[i] == '-') {
            ++i;
        }
        const std::size_t digits = i;
        while (i < run.size() && is_digit(run[i])) {
            ++i;
        }
        if (i == digits) {
            return;
        }
        if (t.decimals > 0) {
            if (i >= run.size() || run[i] != '.') {
                return;
            }
            for (int d = 0; d < t.decimals; ++d, ++i) {
                if (i + 1 >= run.size() || !is_digit(run[i + 1])) {
                    return;
                }
            }
            ++i; // past the last decimal
        }
        match_ends(tokens, k + 1, run, i, ends);
        return;
    }
    }
}

} // namespace

const std::vector<list_row>& list_rows() {
    static const std::vector<list_row> rows = build_rows();
    return rows;
}

const char* row_action_name(row_kind kind) {
    switch (kind) {
    case row_kind::leave:
        return "left";
    case row_kind::action:
        return "performed";
    case row_kind::setting:
        return "edited";
    case row_kind::menu_item:
        break;
    }
    return "opened";
}

bool row_action_taken(row_kind kind, uint8_t key, bool editing) {
    if (kind == row_kind::setting) {
        return editing && key >= KEY_CW && key <= KEY_RIGHT;
    }
    return key == KEY_SELECT;
}

const std::vector<catalogue_text>& catalogue_texts() {
    static const std::vector<catalogue_text> list = build_texts();
    return list;
}

bool format_in(const std::string& run, const char* anchor, const char* format) {
    const std::vector<format_token> tokens =
        tokens_of(trimmed((std::string(anchor != nullptr ? anchor : "") + format).c_str()));
    std::vector<std::size_t> ends;
    for (std::size_t start = 0; start < run.size(); ++start) {
        if (run[start] == ' ') {
            continue;
        }
        ends.clear();
        match_ends(tokens, 0, run, start, ends);
        for (std::size_t end : ends) {
            // What matched is a text of its own; it counts where it cuts no word or number.
            if (end > start && text_contains(run, run.substr(start, end - start))) {
                return true;
            }
        }
    }
    return false;
}

bool text_shown(const catalogue_text& entry, const drawn_context& context,
                const std::vector<found_text>& texts) {
    const char* text = entry.text[context.language];
    if (text == nullptr || (entry.places & 1u << context.place) == 0 ||
        (entry.menu_item >= 0 && entry.menu_item != context.menu_item) ||
        (entry.layouts != 0 && (entry.layouts & context.layout) == 0)) {
        return false;
    }
    auto face_fits = [&](const found_text& t) {
        return (entry.faces == 0 || (entry.faces & 1u << static_cast<int>(t.face)) != 0) &&
               (entry.tops.empty() ||
                std::find(entry.tops.begin(), entry.tops.end(), t.y) != entry.tops.end());
    };
    if (!entry.format) {
        const std::string wanted = trimmed(text);
        return std::any_of(texts.begin(), texts.end(), [&](const found_text& t) {
            return face_fits(t) && text_contains(t.text, wanted);
        });
    }
    // A label and its value may stand in different shades (only the value inverted while it
    // is edited), and so be read as two texts: a format is looked for along the whole band.
    for (const found_text& first : texts) {
        if (!face_fits(first)) {
            continue;
        }
        std::string line;
        for (const found_text& t : texts) {
            if (t.y == first.y && t.face == first.face && t.x >= first.x) {
                line += (line.empty() ? "" : " ") + t.text;
            }
        }
        const std::string seen(text, std::strlen(text) - entry.clipped);
        if (format_in(line, entry.anchor[context.language], seen.c_str())) {
            return true;
        }
    }
    return false;
}

const state_entry state_entries[STATE_COUNT] = {
    {"splash-unlock", "the knob pressed during the splash unlocks calibration"},
    {"off-in-splash", "OFF during the splash, forgotten when the splash ends"},
    {"alarm-raised", "the voltage alarm raised"},
    {"alarm-acknowledged", "the alarm acknowledged by a key on the main display"},
    {"alarm-cleared", "the alarm cleared, the voltage back inside its window"},
    {"inactivity-return", "a minute without keys returns to the main display"},
    {"page-alternation", "the main display changes page by itself"},
    {"zero-point", "the zero calibration point (0 mV) stored"},
    {"charge-point", "the charge calibration point (+50 mV) stored"},
    {"discharge-point", "the discharge calibration point (-50 mV) stored"},
    {"fault", "a run ended by the zero-width calibration fault"},
    {"nested-on", "ON while running: a second run inside the first"},
};

} // namespace txm9
