// The bilingual text table: strides, padding and selection by language.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "firmware/monitor/texts.h"

namespace {

template <std::size_t N>
void expect_pair(const char* name, const StringPair<N>& pair, const char* en, const char* fr) {
    SCOPED_TRACE(name);
    const std::size_t longer = std::max(std::strlen(en), std::strlen(fr));
    EXPECT_EQ(N, longer + 1) << "stride is the longer text plus its terminator";
    EXPECT_STREQ(pair.bytes, en);
    EXPECT_STREQ(pair.bytes + N, fr) << "French text sits at the stride offset";
    for (std::size_t i = std::strlen(en); i < N; ++i) {
        EXPECT_EQ(pair.bytes[i], '\0') << "English padding at byte " << i;
    }
    for (std::size_t i = N + std::strlen(fr); i < 2 * N; ++i) {
        EXPECT_EQ(pair.bytes[i], '\0') << "French padding at byte " << i;
    }
    language = 0;
    EXPECT_STREQ(select_text(pair), en);
    language = 1;
    EXPECT_STREQ(select_text(pair), fr);
    language = 0;
}

TEST(Texts, EveryPairHasItsTextsAndStride) {
#define PAIR(member, en, fr) expect_pair(#member, texts.member, en, fr)
    PAIR(contrast_title, " CONTRAST ", " CONTRASTE ");
    PAIR(contrast_help_keys, "USE { } OR ~", "{ } OU ~");
    PAIR(contrast_help_adjust, "TO ADJUST THE", "REGLAGE");
    PAIR(contrast_help_what, "CONTRAST", "CONTRASTE");
    PAIR(switch_off, "OFF", "NON");
    PAIR(switch_on, "ON", "OUI");
    PAIR(language_name, "ENGLISH", "FRANCAIS");
    PAIR(leave_row, "*** DONE ***", "*** FINI ***");
    PAIR(display_setup_title, " DISP SETUP ", " AFFI CONFIG ");
    PAIR(adjust_contrast, "ADJ CONTRAST", "REG CONTRAST");
    PAIR(backlight_label, "BACKLIGHT: ", "LUMIERE: ");
    PAIR(display_label, "DISP: ", "AFFI: ");
    PAIR(display_time_label, "DISP TIME: ", "TEMPS AFF: ");
    PAIR(manual, "MANUAL", "MANUEL");
    PAIR(battery_setup_title, " BAT SETUP ", " CONFIG BAT ");
    PAIR(bar_scale_label, "BAR SCALE:", "ECHELLE :");
    PAIR(volt_alarm_label, "VOLT ALM: ", "ALM VOLT: ");
    PAIR(low_alarm_label, "LOW ALM: ", "ALM BAS: ");
    PAIR(high_alarm_label, "HIGH ALM:", "ALM HAUT:");
    PAIR(adc_values_title, " ADC VALUES ", " VALEUR A/D ");
    PAIR(message_done, "DONE", "FINI");
    PAIR(calibrate_title, " CALIBRATE ", " CALIB ");
    PAIR(main_menu_title, " MAIN MENU ", " MENU PRIN ");
    PAIR(menu_display_upper, "DISPLAY", "CONFIG");
    PAIR(menu_display_lower, "SETUP", "AFFICH");
    PAIR(menu_battery_upper, "BATTERY", "CONFIG");
    PAIR(menu_battery_lower, "SETUP", "BATTERIE");
    PAIR(menu_adc_upper, "ADC", "VALEUR");
    PAIR(menu_adc_lower, "VALUES", "A/D");
    PAIR(menu_calibrate, "CALIBRATE", "CALIB");
    PAIR(max_values_title, " MAX VALUES ", " VALEURSMAX ");
    PAIR(peak_discharge_label, "DCHARGE:", "DECHARGE:");
    PAIR(peak_reset, " RESET ", " RAZ ");
    PAIR(overrange, "OVERRANGE", "SURCHARGE");
    PAIR(charging, "CHARGING", "CHARGE");
    PAIR(discharging, "DISCHARGING", "DECHARGE");
    PAIR(over, "OVER", "SUR");
    PAIR(range, "RANGE", "CHARGE");
    PAIR(splash_calibrate, "CALIBRATE", "CALIB");
#undef PAIR
}

TEST(Texts, PairsAreStoredInOrderAsIndependentConstants) {
    // 39 pairs back to back: the table is exactly the sum of their sizes, nothing shared.
    std::size_t total = 0;
    for (std::size_t stride :
         {12, 13, 14, 10, 4, 4, 9, 13, 14, 13, 12, 7,  12, 7,  13, 11, 11, 10, 10, 13,
          5,  12, 12, 8,  7, 8, 9, 7,  7,  10, 13, 10, 8,  10, 9,  12, 5,  7,  10}) {
        total += 2 * stride;
    }
    EXPECT_EQ(sizeof(bilingual_texts), total);
    EXPECT_LT(static_cast<const void*>(&texts.contrast_title),
              static_cast<const void*>(&texts.splash_calibrate));
    EXPECT_NE(static_cast<const void*>(&texts.menu_calibrate),
              static_cast<const void*>(&texts.splash_calibrate));
}

TEST(Texts, ShorterFrenchTextIsFoundAtTheStrideNotBehindTheEnglish) {
    language = 1;
    EXPECT_EQ(select_text(texts.contrast_help_adjust), texts.contrast_help_adjust.bytes + 14);
    EXPECT_STREQ(select_text(texts.contrast_help_adjust), "REGLAGE");
    language = 0;
}

TEST(Texts, SwitchValueFollowsBothTheSwitchAndTheLanguage) {
    language = 1;
    EXPECT_STREQ(switch_text(0), "NON");
    EXPECT_STREQ(switch_text(1), "OUI");
    language = 0;
    EXPECT_STREQ(switch_text(1), "ON");
    EXPECT_STREQ(switch_text(7), "ON");
    EXPECT_STREQ(switch_text(0), "OFF");
}

} // namespace
