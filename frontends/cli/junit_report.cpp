#include "junit_report.h"

#include <sstream>

#include "files/whole_file_writer.h"
#include "scenario/message_text.h"

using namespace txm9;

namespace {

// Readable UTF-8 (a byte that is not shows as \xNN, as do control characters), with XML's
// own characters escaped.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : valid_utf8(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string write_junit(const std::string& path, const std::vector<file_result>& results) {
    int failures = 0;
    int errors = 0;
    double total = 0;
    for (const file_result& r : results) {
        failures += r.outcome.status == outcome_status::failed ? 1 : 0;
        errors += r.outcome.status == outcome_status::cannot_run ? 1 : 0;
        total += r.seconds;
    }
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<testsuites>\n  <testsuite name=\"txm9-scenario\" tests=\"" << results.size()
        << "\" failures=\"" << failures << "\" errors=\"" << errors << "\" time=\"" << total
        << "\">\n";
    for (const file_result& r : results) {
        xml << "    <testcase classname=\"scenario\" name=\"" << escaped(r.file) << "\" time=\""
            << r.seconds << "\">";
        const char* element = r.outcome.status == outcome_status::failed       ? "failure"
                              : r.outcome.status == outcome_status::cannot_run ? "error"
                                                                               : nullptr;
        if (element != nullptr) {
            const std::string first_line =
                r.outcome.message.substr(0, r.outcome.message.find('\n'));
            xml << "\n      <" << element << " message=\"" << escaped(first_line) << "\">"
                << escaped(r.outcome.message) << "</" << element << ">\n    ";
        }
        xml << "</testcase>\n";
    }
    xml << "  </testsuite>\n</testsuites>\n";

    return write_whole_file(path, xml.str());
}
