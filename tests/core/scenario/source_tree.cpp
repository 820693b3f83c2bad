// The only test file compiled with the tree's absolute path in its flags, so that every other
// one compiles alike in a clone at any path and ccache serves it.
#include "source_tree.h"

const char* source_tree() {
    return TXM9_SOURCE_DIR;
}
