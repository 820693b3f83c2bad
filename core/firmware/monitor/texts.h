// Everything the instrument writes on its display: the bilingual pairs in the order the
// firmware stores them, then the texts and printf formats that are the same in both
// languages. French is written without accents; '{', '}' and '~' are drawn as the up arrow,
// the down arrow and the knob.
#pragma once

#include "firmware/monitor/string_pair.h"

struct bilingual_texts {
    StringPair<12> contrast_title;       //  1 contrast screen, title
    StringPair<13> contrast_help_keys;   //  2 contrast screen, help line 1
    StringPair<14> contrast_help_adjust; //  3 contrast screen, help line 2
    StringPair<10> contrast_help_what;   //  4 contrast screen, help line 3
    StringPair<4> switch_off;            //  5 value of a switch that is off
    StringPair<4> switch_on;             //  6 value of a switch that is on
    StringPair<9> language_name;         //  7 display setup, language row value
    StringPair<13> leave_row;            //  8 row 0 of every list screen
    StringPair<14> display_setup_title;  //  9 display setup, title
    StringPair<13> adjust_contrast;      // 10 display setup, row 1
    StringPair<12> backlight_label;      // 11 display setup, row 2 label
    StringPair<7> display_label;         // 12 display setup, row 4 label
    StringPair<12> display_time_label;   // 13 display setup, row 6 label
    StringPair<7> manual;                // 14 display setup, row 5 value, cycling off
    StringPair<13> battery_setup_title;  // 15 battery setup, title
    StringPair<11> bar_scale_label;      // 16 battery setup, row 2 label
    StringPair<11> volt_alarm_label;     // 17 battery setup, row 3 label
    StringPair<10> low_alarm_label;      // 18 battery setup, row 4 label
    StringPair<10> high_alarm_label;     // 19 battery setup, row 5 label
    StringPair<13> adc_values_title;     // 20 ADC values, title
    StringPair<5> message_done;          // 21 message screen, the message
    StringPair<12> calibrate_title;      // 22 calibration, title
    StringPair<12> main_menu_title;      // 23 main menu, title
    StringPair<8> menu_display_upper;    // 24 main menu, item 1 upper line
    StringPair<7> menu_display_lower;    // 25 main menu, item 1 lower line
    StringPair<8> menu_battery_upper;    // 26 main menu, item 2 upper line
    StringPair<9> menu_battery_lower;    // 27 main menu, item 2 lower line
    StringPair<7> menu_adc_upper;        // 28 main menu, item 3 upper line
    StringPair<7> menu_adc_lower;        // 29 main menu, item 3 lower line
    StringPair<10> menu_calibrate;       // 30 main menu, item 4
    StringPair<13> max_values_title;     // 31 peak values, title
    StringPair<10> peak_discharge_label; // 32 peak values, discharge label
    StringPair<8> peak_reset;            // 33 peak values, bottom line
    StringPair<10> overrange;            // 34 main display, combined page, over range
    StringPair<9> charging;              // 35 main display, direction caption
    StringPair<12> discharging;          // 36 main display, direction caption
    StringPair<5> over;                  // 37 main display, over range, upper line
    StringPair<7> range;                 // 38 main display, over range, lower line
    StringPair<10> splash_calibrate;     // 39 start-up splash, calibration unlocked
};

inline constexpr bilingual_texts texts = {
    make_string_pair(" CONTRAST ", " CONTRASTE "),
    make_string_pair("USE { } OR ~", "{ } OU ~"),
    make_string_pair("TO ADJUST THE", "REGLAGE"),
    make_string_pair("CONTRAST", "CONTRASTE"),
    make_string_pair("OFF", "NON"),
    make_string_pair("ON", "OUI"),
    make_string_pair("ENGLISH", "FRANCAIS"),
    make_string_pair("*** DONE ***", "*** FINI ***"),
    make_string_pair(" DISP SETUP ", " AFFI CONFIG "),
    make_string_pair("ADJ CONTRAST", "REG CONTRAST"),
    make_string_pair("BACKLIGHT: ", "LUMIERE: "),
    make_string_pair("DISP: ", "AFFI: "),
    make_string_pair("DISP TIME: ", "TEMPS AFF: "),
    make_string_pair("MANUAL", "MANUEL"),
    make_string_pair(" BAT SETUP ", " CONFIG BAT "),
    make_string_pair("BAR SCALE:", "ECHELLE :"),
    make_string_pair("VOLT ALM: ", "ALM VOLT: "),
    make_string_pair("LOW ALM: ", "ALM BAS: "),
    make_string_pair("HIGH ALM:", "ALM HAUT:"),
    make_string_pair(" ADC VALUES ", " VALEUR A/D "),
    make_string_pair("DONE", "FINI"),
    make_string_pair(" CALIBRATE ", " CALIB "),
    make_string_pair(" MAIN MENU ", " MENU PRIN "),
    make_string_pair("DISPLAY", "CONFIG"),
    make_string_pair("SETUP", "AFFICH"),
    make_string_pair("BATTERY", "CONFIG"),
    make_string_pair("SETUP", "BATTERIE"),
    make_string_pair("ADC", "VALEUR"),
    make_string_pair("VALUES", "A/D"),
    make_string_pair("CALIBRATE", "CALIB"),
    make_string_pair(" MAX VALUES ", " VALEURSMAX "),
    make_string_pair("DCHARGE:", "DECHARGE:"),
    make_string_pair(" RESET ", " RAZ "),
    make_string_pair("OVERRANGE", "SURCHARGE"),
    make_string_pair("CHARGING", "CHARGE"),
    make_string_pair("DISCHARGING", "DECHARGE"),
    make_string_pair("OVER", "SUR"),
    make_string_pair("RANGE", "CHARGE"),
    make_string_pair("CALIBRATE", "CALIB"),
};

// The value of an on/off switch in the language in force ("ON"/"OUI", "OFF"/"NON").
inline const char* switch_text(uint8_t value) {
    return value != 0 ? select_text(texts.switch_on) : select_text(texts.switch_off);
}

// --- The same in both languages ---

// Main menu, item 0: "EXIT" over "MENU" in English, the one line "SORTIE" in French.
inline constexpr char text_exit[] = "EXIT";
inline constexpr char text_menu[] = "MENU";
inline constexpr char text_sortie[] = "SORTIE";

// Display setup.
inline constexpr char text_language_label[] = "LANG: ";
inline constexpr char text_mode_volts_and_amps[] = "VOLT&AMP";
inline constexpr char text_mode_volts[] = "VOLTS";
inline constexpr char text_mode_amps[] = "AMPS";
inline constexpr char text_cycle_label[] = "MODE: ";
inline constexpr char text_auto[] = "AUTO";
#define FORMAT_DISPLAY_TIME "%dS"

// Battery setup.
inline constexpr char text_shunt_label[] = "SHUNT A: ";
#define FORMAT_SHUNT_AMPS "%uA"
#define FORMAT_BAR_SCALE_AMPS "%3uA"
#define FORMAT_LOW_ALARM "%.1fV"
#define FORMAT_HIGH_ALARM "%4.1fV"

// ADC values.
#define FORMAT_ADC_VOLTS "VOLTS: %u"
inline constexpr char text_adc_amps_label[] = "AMPS: ";
#define FORMAT_ADC_AMPS "%u"

// Message screen.
inline constexpr char text_message_title[] = " MESSAGE ";

// Calibration.
inline constexpr char text_volt_cal_label[] = "VOLT:";
#define FORMAT_VOLT_CAL "%d%% %.1f"
inline constexpr char text_cal_zero[] = "SHUNT 0mV CAL";
inline constexpr char text_cal_charge[] = "CHARGE +50mV";
inline constexpr char text_cal_discharge[] = "DCHARGE -50mV";

// Peak values.
inline constexpr char text_peak_volts_label[] = "VOLTS:";
inline constexpr char text_peak_charge_label[] = "CHARGE:";
#define FORMAT_PEAK_VOLTS "%4.1fV"
#define FORMAT_PEAK_AMPS_INTEGER "%4dA"
#define FORMAT_PEAK_AMPS "%4.1fA"

// Main display.
inline constexpr char text_zero[] = "0";
inline constexpr char text_volts_unit[] = "V";
inline constexpr char text_amps_unit[] = "A";
#define FORMAT_INTEGER_READING "%3d"
#define FORMAT_MAX_VOLTS "MAX: %.1fV"
#define FORMAT_READING "%4.1f"
#define FORMAT_SHORT_READING "%3.1f"
