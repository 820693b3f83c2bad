// The only window file compiled with the trees' absolute paths in its flags, so that every other
// one compiles alike in a clone at any path and ccache serves it.
#include "build_trees.h"

const char* configured_source_dir() {
    return TXM9_SOURCE_DIR;
}

const char* configured_build_dir() {
    return TXM9_BUILD_DIR;
}
