// The power-on reset that the ON button performs around the start-up splash. Nothing is
// kept across a power cycle except the measurement filters and latest readings, the tick
// phase and the screen variables that every way into a screen sets anyway.
#pragma once

// Before the splash: peaks restarted, factory settings and calibration loaded, alarm flags,
// page flag, calibration unlock and key slot cleared.
void power_on_reset();
// After the splash: alarm output off, OFF request forgotten, the main display active.
void power_on_finish();
