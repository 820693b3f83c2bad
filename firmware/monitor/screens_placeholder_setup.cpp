// Screens not written yet: each only empties the key slot.
#include "screens.h"
#include "state.h"

void screen_display_setup() { pending_key = 0; }
void screen_contrast() { pending_key = 0; }
void screen_battery_setup() { pending_key = 0; }
void screen_adc_values() { pending_key = 0; }
void screen_calibrate() { pending_key = 0; }
void screen_message() { pending_key = 0; }
