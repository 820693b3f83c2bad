// Reading one band of a snapshot: which glyph each cell shows, and the texts its cells form.
#pragma once

#include <vector>

#include "lcd_reader/lcd_snapshot.h"
#include "lcd_reader/lcd_text_reader.h"
#include "lcd_reader/reader_faces.h"

namespace txm9 {

// The glyph the cell with its top-left corner at (x, y) shows in the given shade, or nullptr.
// A slight glyph counts only when it stands whole.
const reader_glyph* cell_glyph(const lcd_snapshot& lcd, const reader_font& face, int x, int y,
                               bool inverted);

// find_texts on the snapshot.
std::vector<screen_text> band_texts(const lcd_snapshot& lcd, text_face face, int y);

// Characters a person sees in the text: plain blanks are invisible, inverted ones are not.
int visible_length(const screen_text& text);

} // namespace txm9
