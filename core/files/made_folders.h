// Folders a run makes for its files, remembered so that a run that fails leaves none of them
// behind empty.
#pragma once

#include <string>
#include <vector>

namespace txm9 {

class made_folders {
public:
    // Makes `folder` and any missing folder above it. The system's reason it could not, or
    // empty.
    std::string make(const std::string& folder);
    // Removes the folders made here that are still empty, the deepest first.
    void remove_empty() const;

private:
    std::vector<std::string> made_; // in the order made: each one's parent before it
};

} // namespace txm9
