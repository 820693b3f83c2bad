#include "twin_frames.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "scenario/play_journal_format.h"

namespace txm9 {

namespace jr = journal;

namespace {

// The fields of a record, in order; cut short at the end of the bytes.
class field_reader {
public:
    explicit field_reader(std::string_view bytes) : bytes_(bytes) {}

    bool at_end() const { return at_ >= bytes_.size(); }
    bool cut_short() const { return cut_short_; }

    uint64_t number(int size) {
        uint64_t v = 0;
        for (int i = 0; i < size; ++i) {
            if (at_end()) {
                cut_short_ = true;
                return 0;
            }
            v |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[at_++])) << (8 * i);
        }
        return v;
    }
    std::string_view bytes(std::size_t size) {
        if (bytes_.size() - at_ < size) {
            cut_short_ = true;
            at_ = bytes_.size();
            return {};
        }
        const std::string_view b = bytes_.substr(at_, size);
        at_ += size;
        return b;
    }
    std::string text() { return std::string(bytes(number(2))); }
    panel_frame frame() {
        panel_frame f;
        f.lamp_lit = number(1) != 0;
        const std::string_view lcd = bytes(LCD_BUFFER_SIZE);
        if (!cut_short_) {
            std::memcpy(f.lcd.data(), lcd.data(), LCD_BUFFER_SIZE);
        }
        return f;
    }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool cut_short_ = false;
};

bool starts_with_mark(field_reader& in, const char (&mark)[8], std::string& error,
                      const char* what) {
    if (in.bytes(sizeof mark) != std::string_view(mark, sizeof mark)) {
        error = std::string("not ") + what;
        return false;
    }
    return true;
}

std::string code_text(int code) {
    return code >= 0x20 && code < 0x7F ? std::string("'") + static_cast<char>(code) + "'"
                                       : std::to_string(code);
}

} // namespace

bool read_journal_frames(std::string_view bytes, std::vector<played_scenario>& scenarios,
                         std::string& error) {
    field_reader in(bytes);
    if (!starts_with_mark(in, jr::MAGIC, error, "a journal of txm9-scenario --journal")) {
        return false;
    }
    int line = 0;
    while (!in.at_end()) {
        const int code = static_cast<int>(in.number(1));
        if (code != jr::SCENARIO && scenarios.empty()) {
            error = "the journal does not start with a scenario";
            return false;
        }
        played_scenario* s = scenarios.empty() ? nullptr : &scenarios.back();
        switch (code) {
        case jr::SCENARIO:
            scenarios.push_back({in.text(), {}, {}, {}});
            line = 0;
            break;
        case jr::LINE:
            line = static_cast<int>(in.number(4));
            break;
        case jr::FRAME:
            s->frames.push_back(in.frame());
            s->lines.push_back(line);
            break;
        case jr::SAME_FRAME:
            if (s->frames.empty()) {
                error = "a frame like the last one before any frame";
                return false;
            }
            s->frames.push_back(s->frames.back());
            s->lines.push_back(line);
            break;
        case jr::RUN_ENDED: {
            run_end_at end;
            end.frame = s->frames.empty() ? 0 : static_cast<uint32_t>(s->frames.size() - 1);
            end.faulted = in.number(1) != 0;
            end.fault = in.text();
            s->run_ends.push_back(end);
            break;
        }
        case jr::KEY:
        case jr::CALIBRATE:
        case jr::KEY_FAST:
            in.number(1);
            break;
        case jr::VOLTS:
        case jr::AMPS:
            in.number(2);
            break;
        case jr::OFF_TIME:
            in.number(8);
            break;
        case jr::ON:
        case jr::OFF:
        case jr::DELIVERED:
            break;
        default:
            error = "unknown record " + code_text(code) + " in the journal";
            return false;
        }
    }
    if (in.cut_short()) {
        error = "the journal is cut short";
        return false;
    }
    return true;
}

bool read_target_frames(std::string_view bytes, std::vector<played_scenario>& scenarios,
                        std::string& error) {
    field_reader in(bytes);
    if (!starts_with_mark(in, jr::FRAMES_MAGIC, error, "frames of the target's twin")) {
        return false;
    }
    // The frames shown, counted by the target at each scenario's end.
    std::vector<uint32_t> shown;
    while (!in.at_end()) {
        const int code = static_cast<int>(in.number(1));
        if (code != jr::SCENARIO && scenarios.empty()) {
            error = "the target's frames do not start with a scenario";
            return false;
        }
        if (code == jr::SCENARIO) {
            scenarios.emplace_back();
            shown.push_back(0);
            continue;
        }
        played_scenario& s = scenarios.back();
        const auto number = static_cast<uint32_t>(in.number(4));
        if (in.cut_short()) {
            break;
        }
        switch (code) {
        case jr::FRAME:
            // Only frames unlike the last one come: the ones between repeat it.
            if (number < s.frames.size() || (s.frames.empty() && number != 0)) {
                error = "the target's frames are out of order";
                return false;
            }
            s.frames.resize(number, s.frames.empty() ? panel_frame{} : s.frames.back());
            s.frames.push_back(in.frame());
            break;
        case jr::RUN_ENDED: {
            run_end_at end;
            end.frame = number;
            end.faulted = in.number(1) != 0;
            end.fault = in.text();
            s.run_ends.push_back(end);
            break;
        }
        case jr::FRAMES_SHOWN:
            if (number < s.frames.size()) {
                error = "the target counts fewer frames than it handed back";
                return false;
            }
            if (!s.frames.empty()) {
                s.frames.resize(number, s.frames.back());
            }
            break;
        default:
            error = "unknown record " + code_text(code) + " in the target's frames";
            return false;
        }
    }
    if (in.cut_short()) {
        error = "the target's frames are cut short (did the target stop?)";
        return false;
    }
    return true;
}

namespace {

int differing_pixels(const panel_frame& a, const panel_frame& b) {
    int n = 0;
    for (std::size_t i = 0; i < LCD_BUFFER_SIZE; ++i) {
        n += std::popcount(static_cast<unsigned>(a.lcd[i] ^ b.lcd[i]));
    }
    return n;
}

std::string describe_run_end(const run_end_at& e) {
    return "frame " + std::to_string(e.frame) +
           (e.faulted ? " with the fault \"" + e.fault + "\"" : std::string(" by OFF"));
}

} // namespace

twin_comparison compare_twin(const std::vector<played_scenario>& desktop,
                             const std::vector<played_scenario>& target) {
    twin_comparison result;
    result.scenarios = static_cast<int>(desktop.size());
    for (std::size_t i = 0; i < desktop.size(); ++i) {
        const played_scenario& d = desktop[i];
        twin_difference first;
        first.file = d.file;
        if (i >= target.size()) {
            first.what = "the target did not play it";
            result.differences.push_back(first);
            continue;
        }
        const played_scenario& t = target[i];
        const std::size_t both = std::min(d.frames.size(), t.frames.size());
        result.frames += both;
        std::size_t differing = 0;
        for (std::size_t f = 0; f < both; ++f) {
            if (d.frames[f] == t.frames[f]) {
                continue;
            }
            if (differing++ == 0) {
                first.frame = static_cast<uint32_t>(f);
                first.line = d.lines[f];
                first.has_frames = true;
                first.desktop = d.frames[f];
                first.target = t.frames[f];
            }
        }
        if (differing > 0) {
            const int pixels = differing_pixels(first.desktop, first.target);
            first.what = "frame " + std::to_string(first.frame) + " differs";
            if (pixels > 0) {
                first.what +=
                    " in " + std::to_string(pixels) + (pixels == 1 ? " pixel" : " pixels");
            }
            if (first.desktop.lamp_lit != first.target.lamp_lit) {
                first.what += std::string(pixels > 0 ? "," : "") + " the lamp " +
                              (first.target.lamp_lit ? "lit" : "unlit") + " on the target";
            }
            first.what +=
                "; " + std::to_string(differing) + " of " + std::to_string(both) + " frames differ";
        }
        if (d.frames.size() != t.frames.size()) {
            if (differing == 0) {
                first.frame = static_cast<uint32_t>(both);
                first.line = both < d.lines.size() ? d.lines[both]
                             : d.lines.empty()     ? 0
                                                   : d.lines.back();
            }
            first.what += std::string(first.what.empty() ? "" : "; ") + "the target showed " +
                          std::to_string(t.frames.size()) + " frames, the desktop " +
                          std::to_string(d.frames.size());
        }
        if (d.run_ends != t.run_ends) {
            std::size_t r = 0;
            while (r < d.run_ends.size() && r < t.run_ends.size() &&
                   d.run_ends[r] == t.run_ends[r]) {
                ++r;
            }
            const std::string desktop_end =
                r < d.run_ends.size() ? describe_run_end(d.run_ends[r]) : "not at all";
            const std::string target_end =
                r < t.run_ends.size() ? describe_run_end(t.run_ends[r]) : "not at all";
            if (first.what.empty()) {
                const run_end_at& at = r < d.run_ends.size() ? d.run_ends[r] : t.run_ends[r];
                first.frame = at.frame;
                first.line = at.frame < d.lines.size() ? d.lines[at.frame] : 0;
            }
            first.what += std::string(first.what.empty() ? "" : "; ") + "run " +
                          std::to_string(r + 1) + " ended at " + desktop_end +
                          " on the desktop, at " + target_end + " on the target";
        }
        if (!first.what.empty()) {
            result.differences.push_back(first);
        }
    }
    if (target.size() > desktop.size()) {
        twin_difference extra;
        extra.what = "the target played " + std::to_string(target.size()) +
                     " scenarios, the journal holds " + std::to_string(desktop.size());
        result.differences.push_back(extra);
    }
    return result;
}

} // namespace txm9
