// The FPU's trap as the simulator's boards raise it: a C++ exception that the front panel's
// engine catches, ending the run with its message (the window's message box, the runner's
// notice). The one reachable case is a zero-width current calibration, "Floating point
// division by zero".
#pragma once

#include <stdexcept>

class floating_point_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
