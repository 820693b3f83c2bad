#include "json_text.h"

namespace txm9 {

const char* status_name(outcome_status status) {
    switch (status) {
    case outcome_status::passed:
        return "passed";
    case outcome_status::failed:
        return "failed";
    case outcome_status::cannot_run:
        return "cannot_run";
    }
    return "?";
}

} // namespace txm9
