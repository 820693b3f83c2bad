// Screens not written yet: each only empties the key slot.
#include "screens.h"
#include "state.h"

void screen_main() { pending_key = 0; }
void screen_max_values() { pending_key = 0; }
void screen_menu() { pending_key = 0; }
