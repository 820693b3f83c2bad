// The benchmark table: each measured figure is printed beside the floor it is compared with
// (the least the same work could cost) and its ratio to that floor.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

// A benchmark whose iteration does many items (the passes of a scenario) sets this counter
// to their number, and the table shows the time per item.
inline constexpr char ITEMS_PER_ITERATION[] = "items_per_iteration";

// A figure, compared with the floor of that name.
void register_measured(const std::string& name, const std::string& floor,
                       std::function<void(benchmark::State&)> body);
// A floor.
void register_floor(const std::string& name, std::function<void(benchmark::State&)> body);
