// The coverage of a suite as a page that stands alone (pictures and scenario sources inside
// it, every first reach a link to its scenario line), the same data as JSON for tools, and
// one summary line. Every item of both has an id ("cell/main/knob", "text/pair9/fr"), and the
// page marks each item's element with it (data-unit), so that the two can be compared.
#pragma once

#include <string>

#include "coverage/coverage_collector.h"

namespace txm9 {

// One item of the report: "screen/menu", "input/main/knob", "row/menu/2/opened/fr",
// "text/pair9/fr", "state/fault".
struct coverage_item {
    std::string id;
    first_place first;
    const char* never = nullptr; // why it can never be reached; such items are not counted
};
// Every item, in the report's order.
std::vector<coverage_item> coverage_items(const coverage_data& data);

struct coverage_count {
    int reached = 0;
    int total = 0; // items that can be reached at all
};

struct coverage_summary {
    coverage_count screens, inputs, rows, texts, states;
};

coverage_summary summarise(const coverage_data& data);
// "coverage: 9/9 screens, 45/45 inputs on screens, ..."
std::string summary_line(const coverage_summary& summary);

std::string coverage_html(const coverage_data& data);
std::string coverage_json(const coverage_data& data);

// Writes FOLDER/coverage.html and FOLDER/coverage.json (the folder made if missing), each
// whole or not at all. Returns why it failed, empty on success.
std::string write_coverage_report(const std::string& folder, const coverage_data& data);

} // namespace txm9
