#include "junit_report.h"

#include <sstream>

#include "files/whole_file_writer.h"

using namespace txm9;

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
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
            // XML 1.0 has no place for most control characters.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') {
                out += '?';
            } else {
                out += c;
            }
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
