// The instrument as the program finds it when it starts: off, every variable zero, the frame
// buffer blank. Frontends that play several sessions in one process (the scenario runner,
// the soak) start each one from here.
#pragma once

namespace txm9 {

void program_start_state();

} // namespace txm9
