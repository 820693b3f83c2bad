// Writes the application's icon into a freedesktop icon theme folder: PNG pictures at the
// sizes desktops ask for and one scalable SVG, each carrying a note (the command that made it).
#pragma once

#include <string>

// Writes THEME_DIR/NxN/apps/NAME.png and THEME_DIR/scalable/apps/NAME.svg, creating the
// folders. Returns an empty string on success, else what went wrong.
std::string write_icon_theme(const std::string& theme_dir, const std::string& name,
                             const std::string& note);
