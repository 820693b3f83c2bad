// The partial files being written (PATH.part beside each target), known to the program's
// signal handler: a program ended by a signal removes them first, so that no half-written file
// is left behind whenever the signal comes.
#pragma once

#include <csignal>
#include <string>

namespace txm9 {

// Removes every partial file being written now. Safe to call from a signal handler.
void remove_part_files();

// Removes the partial files and ends the program with the status 128 + `signal`, as a shell
// reports a program a signal ended. For a signal handler.
[[noreturn]] void end_by_signal(int signal);

// While one lives, the signals that end a program wait, so that a step of several calls
// (a file made and recorded as partial, a pair of files taking their names) is whole.
class signals_held {
public:
    signals_held();
    ~signals_held();
    signals_held(const signals_held&) = delete;
    signals_held& operator=(const signals_held&) = delete;

private:
    sigset_t before_;
};

// Records `path` as a partial file of this program, or forgets it; call with signals held.
void note_part_file(const std::string& path);
void forget_part_file(const std::string& path);

} // namespace txm9
