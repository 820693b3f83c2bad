// The names of the files a scenario writes (screenshots, and references under --update). A
// saved scenario is made to be shared, so whoever plays one may not have written it: every
// file it writes stays inside the folder its player chose, and a name that would leave it is
// a mistake in the scenario, found before anything runs. Reading a reference from anywhere
// (a sibling folder's "../refs/main.png") stays allowed.
#pragma once

#include <string>
#include <string_view>

namespace txm9 {

// Why the relative file name `path` cannot be written inside the folder it starts in, or
// empty: it is absolute, or climbs above its start with "..".
std::string leaves_its_folder(std::string_view path);

} // namespace txm9
