#pragma once

// The source tree and the build tree the program was built from, as CMake configured them
// (absolute paths): --watch rebuilds there.
const char* configured_source_dir();
const char* configured_build_dir();
