// The coverage report of a scenario whose name and text are arbitrary bytes (the first line
// is the file's name, the rest its text): it is played, and both the page and its JSON must
// be valid UTF-8 (no overlong form, no surrogate, nothing past U+10FFFF) without control
// characters other than line breaks and tabs, whatever the bytes were.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "coverage/coverage_collector.h"
#include "coverage/coverage_report.h"
#include "scenario/scenario_parser.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

// Where `text` stops being strict UTF-8 free of control characters, or npos. Written apart
// from the report's own cleaning, so that it checks it rather than repeats it.
std::size_t first_invalid(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = [&](std::size_t k) { return static_cast<uint8_t>(text[k]); };
        const uint8_t c = b(i);
        std::size_t n = c < 0x80   ? 1
                        : c < 0xC0 ? 0
                        : c < 0xE0 ? 2
                        : c < 0xF0 ? 3
                        : c < 0xF8 ? 4
                                   : 0;
        if (n == 0 || i + n > text.size()) {
            return i;
        }
        uint32_t code = n == 1 ? c : c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            if ((b(i + k) & 0xC0) != 0x80) {
                return i;
            }
            code = (code << 6) | (b(i + k) & 0x3F);
        }
        const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[n] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            (code < 0x20 && code != '\n' && code != '\t') || code == 0x7F) {
            return i;
        }
        i += n;
    }
    return std::string_view::npos;
}

void check(const char* what, const std::string& report) {
    if (const std::size_t at = first_invalid(report); at != std::string_view::npos) {
        std::fprintf(stderr, "%s: not strict UTF-8 at byte %zu: %.40s\n", what, at,
                     report.c_str() + (at > 20 ? at - 20 : 0));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t line_end = std::min(input.find('\n'), input.size());
    const std::string name(input.substr(0, line_end));
    const std::string text(input.substr(std::min(line_end + 1, input.size())));
    coverage_collector coverage;
    coverage.add_file(name, text);
    player_options options;
    options.files = false;
    options.time_limit_ms = 60 * 1000;
    options.observer = &coverage;
    const scenario_outcome outcome = play_scenario_text(text, name, options);
    if (outcome.status == outcome_status::cannot_run) {
        coverage.not_played(name, outcome.message);
    }
    check("coverage.html", coverage_html(coverage.data()));
    check("coverage.json", coverage_json(coverage.data()));
    return 0;
}
