#include "scenario/play_status.h"

#include "scenario/message_text.h"

namespace txm9 {

namespace {

std::string expectations(int n) {
    return n == 1 ? "1 expectation" : std::to_string(n) + " expectations";
}

std::string first_line(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

} // namespace

std::string expectation_status(const std::string& name, int line, bool passed,
                               const std::string& failure, int passed_so_far, int failed_so_far) {
    const std::string tally = failed_so_far == 0 ? expectations(passed_so_far) + " met"
                                                 : std::to_string(passed_so_far) + " met, " +
                                                       std::to_string(failed_so_far) + " failed";
    if (!passed) {
        return first_line(failure) + " (" + tally + ")";
    }
    return "Playing" + (name.empty() ? std::string() : " " + name) + ": line " +
           std::to_string(line) + ", " + tally;
}

std::string played_status(const std::string& name, int round, const scenario_outcome& outcome) {
    const std::string played = (name.empty() ? std::string("Played") : name + " played") +
                               (round > 1 ? ", round " + std::to_string(round) : std::string());
    switch (outcome.status) {
    case outcome_status::passed:
        return played + ": " + expectations(outcome.expectations) + " met";
    case outcome_status::failed:
        return played + ": " + std::to_string(outcome.failed) + " of " +
               expectations(outcome.expectations) +
               " failed; the first: " + first_line(outcome.message);
    case outcome_status::cannot_run:
        break;
    }
    return first_line(outcome.message);
}

std::string failure_report(const scenario_outcome& outcome) {
    switch (outcome.status) {
    case outcome_status::passed:
        return {};
    case outcome_status::failed:
        return "FAIL " + valid_utf8(outcome.message);
    case outcome_status::cannot_run:
        return valid_utf8(outcome.message) + "\n";
    }
    return {};
}

} // namespace txm9
