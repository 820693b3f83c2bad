// Voltage and current measurement: scaling, calibration, filters, alarm and peaks.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "firmware/monitor/measurement.h"
#include "firmware/monitor/power_on.h"
#include "firmware/monitor/state.h"

namespace {

class Measurement : public ::testing::Test {
protected:
    void SetUp() override {
        volts_filter_acc = 0;
        amps_filter_acc = 0;
        volts_dv = 0;
        current_da = 0;
        raw_volts_adc = 0;
        raw_amps_adc = 0;
        power_on_reset();
    }

    // Holds the current input where the filter already stands, so that the filtered count
    // of the next step is exactly `count`.
    static void settle_current_at(uint32_t count) {
        raw_amps_adc = count;
        amps_filter_acc = static_cast<int32_t>(2 * count);
    }
};

struct VoltageCase {
    uint32_t count;
    uint32_t dv;
    bool alarm;
};

TEST_F(Measurement, VoltageScalingAndAlarmWindowAtFactorySettings) {
    const VoltageCase cases[] = {
        {0, 0, true},       {1212, 99, true},   {1213, 100, false},
        {1500, 123, false}, {1830, 150, false}, {1831, 151, true},
        {3648, 300, true},  {3649, 301, true},  {4096, 337, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "count " << c.count);
        raw_volts_adc = c.count;
        update_voltage();
        EXPECT_EQ(volts_dv, c.dv);
        EXPECT_EQ(volt_alarm, c.alarm ? 1 : 0);
    }
}

TEST_F(Measurement, VoltageFactorScalesFullScale) {
    raw_volts_adc = 4096;
    volt_cal_percent = 150;
    update_voltage();
    EXPECT_EQ(volts_dv, 506u);
    volt_cal_percent = 50;
    update_voltage();
    EXPECT_EQ(volts_dv, 168u);
}

struct CurrentCase {
    uint32_t amps_adc;
    int32_t signal;
    int32_t da;
};

TEST_F(Measurement, ShuntSignalAndCurrentAtFactoryCalibration) {
    const CurrentCase cases[] = {
        {0, 5764, 576},      {248, 5000, 500},    {1060, 2500, 250}, {1871, 3, 0},
        {1872, 0, 0},        {1873, -3, 0},       {2000, -393, -39}, {3499, -5000, -500},
        {4095, -6832, -683}, {4096, -6835, -683},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "amps_adc " << c.amps_adc);
        settle_current_at(c.amps_adc);
        update_current();
        EXPECT_EQ(amps_adc, c.amps_adc);
        EXPECT_EQ(current_da, c.da);
        // The signal itself, through the same line the current uses.
        const int32_t s = c.amps_adc <= 1872
                              ? interpolate_rounded(1872.0f, 248.0f, 0.0f, 5000.0f,
                                                    static_cast<int32_t>(c.amps_adc))
                              : -interpolate_rounded(1872.0f, 3499.0f, 0.0f, 5000.0f,
                                                     static_cast<int32_t>(c.amps_adc));
        EXPECT_EQ(s, c.signal);
    }
}

TEST_F(Measurement, ShuntRatingScalesTheCurrent) {
    shunt_amps = 100;
    settle_current_at(1000);
    update_current();
    EXPECT_EQ(current_da, 537);

    shunt_amps = 500;
    settle_current_at(248);
    update_current();
    EXPECT_EQ(current_da, 5000);
}

TEST_F(Measurement, UserCalibrationLineRoundsItsInterceptOnce) {
    // The intercept 5000 - slope x 190 rounded once gives 3020 at count 840; rounding the
    // product to single precision first gave 3019, a tenth of an amp low.
    EXPECT_EQ(interpolate_rounded(1831.0f, 190.0f, 0.0f, 5000.0f, 840), 3020);
    cal_zero_adc = 1831;
    cal_charge_adc = 190;
    shunt_amps = 50;
    settle_current_at(840);
    update_current();
    EXPECT_EQ(current_da, 302);
}

TEST(InterpolateRounded, RoundsHalfAwayFromZeroOnTheFirstDecimal) {
    // The line y = x / 4 through (0, 0) and (4, 1), exact in single precision.
    struct {
        int32_t x;
        int32_t expected;
    } cases[] = {{9, 2},    {10, 3}, {11, 3}, {-9, -2}, {-10, -3},
                 {-11, -3}, {0, 0},  {-1, 0}, {-2, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "x " << c.x);
        EXPECT_EQ(interpolate_rounded(0.0f, 4.0f, 0.0f, 1.0f, c.x), c.expected);
    }
    // Judged on the first decimal only: 2.46 rounds to 2 although 2.5 would round up.
    EXPECT_EQ(interpolate_rounded(0.0f, 50.0f, 0.0f, 123.0f, 1), 2);
}

TEST(InterpolateRounded, EqualPointsRaiseDivisionByZero) {
    try {
        interpolate_rounded(1872.0f, 1872.0f, 0.0f, 5000.0f, 100);
        FAIL() << "no error raised";
    } catch (const floating_point_error& e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
}

TEST_F(Measurement, FiltersSettleOneCountLowFromBelowAndExactlyFromAbove) {
    raw_amps_adc = 2000;
    for (int pass = 0; pass < 11; ++pass) {
        update_current();
    }
    EXPECT_EQ(amps_adc, 1999u);
    for (int pass = 0; pass < 50; ++pass) {
        update_current();
    }
    EXPECT_EQ(amps_adc, 1999u) << "settled from below stays one low";

    raw_volts_adc = 2048;
    for (int pass = 0; pass < 200; ++pass) {
        update_voltage();
    }
    EXPECT_EQ(volts_adc, 2047u);

    raw_amps_adc = 1000;
    raw_volts_adc = 1000;
    for (int pass = 0; pass < 200; ++pass) {
        update_voltage();
        update_current();
    }
    EXPECT_EQ(amps_adc, 1000u);
    EXPECT_EQ(volts_adc, 1000u);
}

TEST_F(Measurement, VoltageFilterMovesAQuarterOfTheWayPerPass) {
    raw_volts_adc = 4000;
    update_voltage();
    EXPECT_EQ(volts_filter_acc, 4000); // (0 + 16000) / 4
    EXPECT_EQ(volts_adc, 1000u);
    EXPECT_EQ(volts_dv, 330u) << "the voltage is scaled from the unfiltered count";
}

TEST_F(Measurement, AcknowledgementLastsOnlyWhileTheVoltageStaysOutside) {
    raw_volts_adc = 1000; // 8.2 V, below the window
    amps_page = 1;
    update_voltage();
    EXPECT_EQ(volt_alarm, 1);
    EXPECT_EQ(amps_page, 0) << "an unacknowledged alarm turns to the voltage page";

    alarm_ack = 1;
    amps_page = 1;
    update_voltage();
    EXPECT_EQ(volt_alarm, 1);
    EXPECT_EQ(alarm_ack, 1);
    EXPECT_EQ(amps_page, 1) << "an acknowledged alarm leaves the page alone";

    raw_volts_adc = 1500; // back inside
    update_voltage();
    EXPECT_EQ(volt_alarm, 0);
    EXPECT_EQ(alarm_ack, 0);

    raw_volts_adc = 1000; // the next excursion is a fresh alarm
    update_voltage();
    EXPECT_EQ(volt_alarm, 1);
    EXPECT_EQ(alarm_ack, 0);
}

TEST_F(Measurement, DisarmedAlarmNeverSetsAndClearsTheAcknowledgement) {
    volt_alarm_enabled = 0;
    alarm_ack = 1;
    volt_alarm = 1;
    for (uint32_t count : {0u, 1000u, 4096u}) {
        raw_volts_adc = count;
        update_voltage();
        EXPECT_EQ(volt_alarm, 0);
        EXPECT_EQ(alarm_ack, 0);
    }
}

TEST_F(Measurement, CrossedThresholdsMakeEveryVoltageAnAlarm) {
    low_alarm_dv = 200;
    high_alarm_dv = 100;
    for (uint32_t count : {0u, 1500u, 2000u, 4096u}) {
        raw_volts_adc = count;
        update_voltage();
        EXPECT_EQ(volt_alarm, 1) << "count " << count;
    }
}

TEST_F(Measurement, VoltagePeakOnlyRises) {
    raw_volts_adc = 1500;
    update_voltage();
    EXPECT_EQ(peak_volts_dv, 123u);
    raw_volts_adc = 1000;
    update_voltage();
    EXPECT_EQ(peak_volts_dv, 123u);
}

TEST_F(Measurement, CurrentPeaksKeepTheirSigns) {
    settle_current_at(1872); // exactly 0 changes neither peak
    update_current();
    EXPECT_EQ(peak_charge_da, 0);
    EXPECT_EQ(peak_discharge_da, 0);

    settle_current_at(1060); // 25.0 A charging
    update_current();
    settle_current_at(2000); // 3.9 A discharging
    update_current();
    EXPECT_EQ(peak_charge_da, 250);
    EXPECT_EQ(peak_discharge_da, -39);

    reset_peaks();
    EXPECT_EQ(peak_charge_da, 0);
    EXPECT_EQ(peak_discharge_da, 0);
    EXPECT_EQ(peak_volts_dv, volts_dv);
}

TEST_F(Measurement, ZeroWidthChargeCalibrationFailsOnlyOnItsSide) {
    cal_charge_adc = cal_zero_adc;

    settle_current_at(2000); // the discharge side still measures
    EXPECT_NO_THROW(update_current());
    EXPECT_EQ(current_da, -39);

    settle_current_at(1872);
    try {
        update_current();
        FAIL() << "no error raised";
    } catch (const floating_point_error& e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
}

TEST_F(Measurement, ZeroWidthDischargeCalibrationFailsAboveZero) {
    cal_discharge_adc = cal_zero_adc;
    settle_current_at(1000);
    EXPECT_NO_THROW(update_current());
    settle_current_at(1873);
    EXPECT_THROW(update_current(), floating_point_error);
}

TEST_F(Measurement, SteepCalibrationNeverOverflows) {
    cal_charge_adc = 1871;
    shunt_amps = 500;
    settle_current_at(0);
    update_current();
    // s = 5000 * 1872 = 9 360 000; 500 * s overflows 32 bits, the quotient does not.
    EXPECT_EQ(current_da, 9360000);
    EXPECT_EQ(peak_charge_da, 9360000);

    cal_charge_adc = 248;
    cal_discharge_adc = 1873;
    settle_current_at(4096);
    update_current();
    EXPECT_EQ(current_da, -11120000);
    EXPECT_EQ(peak_discharge_da, -11120000);
}

} // namespace
