#include "play_splash.h"

#include <cstdint>

#include "deliver_events.h"
#include "pcmain.h"
#include "render_lcd.h"
#include "splash.h"

void play_splash() {
    uint8_t frames_left = SPLASH_FRAMES;
    splash_motion motion;
    // OFF is not looked at here: the power-on finish forgets an OFF clicked during the splash.
    do {
        splash_draw_frame(motion);
        render_lcd(); // the display picture stays visible while the splash paints it
        deliver_events();
        --frames_left;
        if (splash_take_keys() != 0) {
            Form1->CheckBox2->setChecked(true);
        }
    } while (frames_left != 0);
}
