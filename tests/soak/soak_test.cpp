// Long random walks through the whole firmware, driven as a person at the window drives it,
// with the instrument's invariants checked after every pass. The walk is seeded and so
// reproducible; a failure names its seed and pass.
//
//   TXM9_SOAK_SEED=n       the seed (default 1)
//   TXM9_SOAK_PASSES=n     the length in main-loop passes (default: 50 000, or a million in
//                          the sanitizer build)
//   TXM9_SOAK_SECONDS=s    stop after s seconds instead, whichever comes first
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "firmware/monitor/state.h"
#include "support/firmware_walk.h"

using namespace txm9;

#ifndef TXM9_SOAK_DEFAULT_PASSES
#define TXM9_SOAK_DEFAULT_PASSES 50000
#endif

namespace {

uint64_t from_environment(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    return std::strtoull(text, nullptr, 10);
}

// Bytes from a splitmix64 sequence: the same seed gives the same walk on every machine.
// With a time limit the bytes end at the deadline, which ends the walk.
class seeded_bytes : public event_source {
public:
    seeded_bytes(uint64_t seed, uint64_t seconds)
        : state_(seed), limited_(seconds > 0),
          deadline_(std::chrono::steady_clock::now() + std::chrono::seconds(seconds)) {}

    int next() override {
        if (limited_ && (++count_ & 0xFFFu) == 0 && std::chrono::steady_clock::now() >= deadline_) {
            limited_ = false;
            over_ = true;
        }
        if (over_) {
            return -1;
        }
        if (left_ == 0) {
            state_ += 0x9E3779B97F4A7C15ull;
            uint64_t z = state_;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word_ = z ^ (z >> 31);
            left_ = 8;
        }
        --left_;
        const int b = static_cast<int>(word_ & 0xFFu);
        word_ >>= 8;
        return b;
    }

private:
    uint64_t state_;
    uint64_t word_ = 0;
    int left_ = 0;
    bool limited_;
    bool over_ = false;
    uint64_t count_ = 0;
    std::chrono::steady_clock::time_point deadline_;
};

// A hand-made stream, for walks that must go exactly one way.
class scripted_bytes : public event_source {
public:
    explicit scripted_bytes(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    int next() override { return at_ < bytes_.size() ? bytes_[at_++] : -1; }

private:
    std::vector<uint8_t> bytes_;
    std::size_t at_ = 0;
};

void append(std::vector<uint8_t>& stream, std::initializer_list<uint8_t> bytes) {
    stream.insert(stream.end(), bytes);
}
void append_nothing(std::vector<uint8_t>& stream, int deliveries) {
    stream.insert(stream.end(), static_cast<std::size_t>(deliveries), WALK_NOTHING);
}

TEST(Soak, SeededRandomWalkKeepsEveryInvariant) {
    const uint64_t seed = from_environment("TXM9_SOAK_SEED", 1);
    const uint64_t passes = from_environment("TXM9_SOAK_PASSES", TXM9_SOAK_DEFAULT_PASSES);
    const uint64_t seconds = from_environment("TXM9_SOAK_SECONDS", 0);
    seeded_bytes bytes(seed, seconds);
    walk_stats stats;

    const auto started = std::chrono::steady_clock::now();
    const std::string broken = walk_firmware(bytes, passes, stats);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;

    std::printf("soak: seed %llu, %.1f s\n%s\n", static_cast<unsigned long long>(seed),
                took.count(), describe(stats).c_str());
    ASSERT_TRUE(broken.empty()) << "seed " << seed << " (rerun with TXM9_SOAK_SEED=" << seed
                                << " TXM9_SOAK_PASSES=" << stats.passes << "): " << broken;

    // A walk this long must have reached every corner that the invariants are about;
    // otherwise the event mix has drifted and the soak proves less than it seems.
    if (stats.passes >= 50000) {
        for (int i = 0; i < SCREEN_COUNT; ++i) {
            EXPECT_GT(stats.screen_passes[i], 0u) << screen_list[i].name << " never shown";
        }
        EXPECT_GT(stats.inactivity_returns, 0u);
        EXPECT_GT(stats.points_taken, 0u);
        EXPECT_GT(stats.division_faults, 0u);
        EXPECT_GT(stats.nested_runs, 0u);
        EXPECT_GT(stats.calibrate_unlocks, 0u);
    }
}

// Switched on, the zero and charge points are both taken at the same count: the next pass
// ends the run with the division fault, and the next ON measures with the factory
// calibration again.
TEST(Soak, ZeroWidthCalibrationEndsOnlyThatRun) {
    std::vector<uint8_t> stream;
    append_nothing(stream, 1 + 80); // ON, then the splash
    append(stream, {WALK_AMPS_SET, 2000 >> 8, 2000 & 0xFF, WALK_PAUSE, 20});
    append(stream, {WALK_SET_POINT, 0, WALK_SET_POINT, 1});
    append_nothing(stream, 1 + 80 + 10); // ON again, the splash, ten passes
    scripted_bytes bytes(stream);
    walk_stats stats;

    const std::string broken = walk_firmware(bytes, 100000, stats);

    ASSERT_TRUE(broken.empty()) << broken;
    EXPECT_EQ(stats.division_faults, 1u);
    EXPECT_EQ(stats.runs, 2u);
    EXPECT_EQ(cal_zero_adc, 1872u) << "the second run measures with the factory calibration";
    EXPECT_EQ(cal_charge_adc, 248u);
    EXPECT_EQ(amps_adc, 1999u) << "a count reached from below settles one low";
    EXPECT_EQ(current_da, -39) << "and is measured along the discharge line";
}

// ON clicked while running starts a whole second run inside the first; one OFF ends both.
TEST(Soak, OneOffEndsANestedRunAndItsOuterRun) {
    std::vector<uint8_t> stream;
    append_nothing(stream, 1 + 80);
    append(stream, {WALK_ON, 0});   // delivered after the first run's first pass
    append_nothing(stream, 80 + 3); // the inner splash and three passes
    append(stream, {WALK_OFF});     // delivered after the fourth inner pass
    scripted_bytes bytes(stream);
    walk_stats stats;

    const std::string broken = walk_firmware(bytes, 100000, stats);

    ASSERT_TRUE(broken.empty()) << broken;
    EXPECT_EQ(stats.runs, 2u);
    EXPECT_EQ(stats.nested_runs, 1u);
    EXPECT_EQ(stats.splash_frames, 160u);
    EXPECT_EQ(stats.passes, 5u) << "one outer pass, four inner ones, and no outer pass after OFF";
}

} // namespace
