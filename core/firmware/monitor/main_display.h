// What the main display's three layouts and the peak values screen share: when a reading
// is over range, when a current is shown in whole amps, how readings are formatted, and the
// drawing routines of the layouts.
#pragma once

#include <cstddef>
#include <cstdint>

// Above 30.0 V the voltage input is beyond its measuring range.
bool volts_over_range();
// |da|, exact for every 32-bit current (the most negative one included).
uint32_t magnitude_da(int32_t da);
// |current_da| in dA.
uint32_t current_magnitude_da();
// Above 110 % of the shunt rating the current is beyond its measuring range.
bool current_over_range();
// Zero counts as charging.
bool current_charging();
// Whole amps from 10.0 A on, and always with a shunt above 100 A.
bool integer_style(uint32_t magnitude_da);
// Blinking elements show only on the passes on which the blink phase is on.
bool blink_shown();
// The voltage alarm is raised (acknowledged or not): the voltage numerals blink.
bool volts_in_alarm();

// `format` of tenths / 10 as a decimal number, e.g. "%4.1f" of 126 gives "12.6".
void format_tenths(char* text, std::size_t size, const char* format, uint32_t tenths);
// A current magnitude: `integer_format` of whole amps (truncated) in integer style, else
// `decimal_format` of amps with their tenth.
void format_amps(char* text, std::size_t size, uint32_t magnitude_da, const char* integer_format,
                 const char* decimal_format);

void draw_volts_and_amps(); // layout A: voltage and current together (display mode 0)
void draw_volts_page();     // layout B: large voltage and its peak
void draw_amps_page();      // layout C: large current, its direction and the current bar

// Direction of the current: blinking down arrow while charging, steady up arrow while
// discharging. Large: 11 columns centred on column 14 (layout A); small: 7 columns centred
// on column 13 (layout C).
void draw_direction_arrow_large();
void draw_direction_arrow_small();

// The bar of |current_da| against the bar scale, with a marker at `peak` (dA, >= 0).
void draw_current_bar(int32_t peak);
