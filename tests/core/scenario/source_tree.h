#pragma once

// The source tree the tests were configured from (an absolute path).
const char* source_tree();
