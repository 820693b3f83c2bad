// Which part of the display a new frame changes, so that a frontend repaints and sends on
// only that: most frames differ from the last one by a blinking icon or a few digits.
#pragma once

#include <cstdint>

#include "engine/lcd_picture.h"

namespace txm9 {

// The smallest rectangle holding every pixel that differs between two frames in the frame
// buffer's layout (LCD_BUFFER_SIZE bytes each); empty when the frames are the same.
lcd_rect lcd_changed_rect(const uint8_t* before, const uint8_t* after);

} // namespace txm9
