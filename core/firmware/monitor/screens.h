// The nine screen routines. Exactly one is held in `active_screen` and called once per pass
// on a cleared frame buffer; it draws its whole screen, then handles and empties
// `pending_key`. A screen it switches to is first drawn on the next pass.
#pragma once

void screen_main();          // home screen: voltage and current in three layouts
void screen_max_values();    // peak voltage and currents, with the peak reset
void screen_menu();          // main menu, one item at a time with its icon
void screen_display_setup(); // backlight, language, display mode and page cycling
void screen_contrast();      // LCD contrast bar
void screen_battery_setup(); // shunt, bar scale and voltage alarm
void screen_adc_values();    // the two filtered converter counts
void screen_calibrate();     // voltage factor and the three current calibration points
void screen_message();       // "DONE" after a calibration point was taken
