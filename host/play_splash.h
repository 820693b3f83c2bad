// The start-up splash as the front panel plays it, between the power-on reset and the main
// loop.
#pragma once

// 80 frames, each drawn, painted and followed by event delivery; a knob press during it
// unlocks calibration and ticks the Calibrate check box.
void play_splash();
