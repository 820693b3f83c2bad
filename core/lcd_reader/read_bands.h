// Reading one band of a snapshot: which glyph each cell shows, and the texts its cells form.
#pragma once

#include <vector>

#include "lcd_reader/lcd_snapshot.h"
#include "lcd_reader/lcd_text_reader.h"
#include "lcd_reader/reader_faces.h"

namespace txm9 {

// The glyph the cell with its top-left corner at (x, y) shows in the given shade, or nullptr.
// A slight glyph counts only when it stands whole.
const ReaderGlyph* cell_glyph(const LcdSnapshot& lcd, const ReaderFace& face, int x, int y,
                              bool inverted);

// find_texts on the snapshot.
std::vector<ScreenText> band_texts(const LcdSnapshot& lcd, TextFace face, int y);

// Characters a person sees in the text: plain blanks are invisible, inverted ones are not.
int visible_length(const ScreenText& text);

} // namespace txm9
