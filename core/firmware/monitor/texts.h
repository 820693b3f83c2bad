// Everything the instrument writes on its display, from the one list in texts.def: the
// bilingual pairs in the order the firmware stores them, then the texts and printf formats
// that are the same in both languages. French is written without accents; '{', '}' and '~' are
// drawn as the up arrow, the down arrow and the knob.
#pragma once

#include "firmware/monitor/string_pair.h"

// The stride of a pair: the longer text plus its terminator.
#define TXM9_PAIR_STRIDE(english, french)                                                          \
    (sizeof(english) > sizeof(french) ? sizeof(english) : sizeof(french))

struct bilingual_texts {
#define TXM9_PAIR(name, english, french, places, where, drawn)                                     \
    StringPair<TXM9_PAIR_STRIDE(english, french)> name;
#include "firmware/monitor/texts.def"
};

inline constexpr bilingual_texts texts = {
#define TXM9_PAIR(name, english, french, places, where, drawn) make_string_pair(english, french),
#include "firmware/monitor/texts.def"
};

// The value of an on/off switch in the language in force ("ON"/"OUI", "OFF"/"NON").
inline const char* switch_text(uint8_t value) {
    return value != 0 ? select_text(texts.switch_on) : select_text(texts.switch_off);
}

// --- The same in both languages ---

#define TXM9_TEXT(id, name, text, places, where, drawn) inline constexpr char name[] = text;
#include "firmware/monitor/texts.def"

// The printf formats, macros so that the compiler checks each against its arguments and a
// format can be joined to another literal. Each has its row in texts.def, for coverage.
#define FORMAT_DISPLAY_TIME "%dS"
#define FORMAT_SHUNT_AMPS "%uA"
#define FORMAT_BAR_SCALE_AMPS "%3uA"
#define FORMAT_LOW_ALARM "%.1fV"
#define FORMAT_HIGH_ALARM "%4.1fV"
#define FORMAT_ADC_VOLTS "VOLTS: %u"
#define FORMAT_ADC_AMPS "%u"
#define FORMAT_VOLT_CAL "%d%% %.1f"
#define FORMAT_PEAK_VOLTS "%4.1fV"
#define FORMAT_PEAK_AMPS_INTEGER "%4dA"
#define FORMAT_PEAK_AMPS "%4.1fA"
#define FORMAT_INTEGER_READING "%3d"
#define FORMAT_MAX_VOLTS "MAX: %.1fV"
#define FORMAT_READING "%4.1f"
#define FORMAT_SHORT_READING "%3.1f"
