// txm9-twin-check: holds the frames the firmware showed on its microcontroller (target/twin.cpp
// under QEMU) against those of the desktop build's play (txm9-scenario --journal), and says
// where they part: the scenario, its line and the frame, with both frames as pictures.
// Exit status 0 every frame equal, 1 a difference, 2 the files cannot be read.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "picture_files/picture_files.h"
#include "scenario/frame_files.h"
#include "twin_frames.h"

using namespace txm9;

namespace {

const char usage[] =
    "usage: txm9-twin-check JOURNAL TARGET_FRAMES [--pictures DIR]\n"
    "Compares the frames of a play on the desktop (txm9-scenario --journal JOURNAL) with the\n"
    "frames the firmware showed replaying it on its microcontroller (scripts/mcu). The first\n"
    "frame of each scenario that differs is written as DIR/NAME.frameN.desktop.png and\n"
    ".target.png (default DIR: the folder of TARGET_FRAMES).\n";

bool read_whole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return !in.bad();
}

// A frame as a picture at four times the display's size, the window's colours.
std::string write_frame(const std::string& path, const panel_frame& frame) {
    std::copy(frame.lcd.begin(), frame.lcd.end(), lcd_buffer);
    return write_png_file(path, enlarged(display_picture(), 4));
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> files;
    std::string pictures;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << usage;
            return 0;
        }
        if (a == "--pictures" && i + 1 < argc) {
            pictures = argv[++i];
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "txm9-twin-check: unknown option " << a << "\n" << usage;
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        std::cerr << usage;
        return 2;
    }
    if (pictures.empty()) {
        pictures = std::filesystem::path(files[1]).parent_path().string();
    }
    std::vector<played_scenario> desktop;
    std::vector<played_scenario> target;
    std::string bytes;
    std::string error;
    if (!read_whole(files[0], bytes)) {
        std::cerr << "txm9-twin-check: cannot read " << files[0] << "\n";
        return 2;
    }
    if (!read_journal_frames(bytes, desktop, error)) {
        std::cerr << "txm9-twin-check: " << files[0] << ": " << error << "\n";
        return 2;
    }
    if (!read_whole(files[1], bytes)) {
        std::cerr << "txm9-twin-check: cannot read " << files[1] << "\n";
        return 2;
    }
    if (!read_target_frames(bytes, target, error)) {
        std::cerr << "txm9-twin-check: " << files[1] << ": " << error << "\n";
        return 2;
    }

    const twin_comparison result = compare_twin(desktop, target);
    for (const twin_difference& d : result.differences) {
        std::cerr << (d.file.empty() ? std::string("txm9-twin-check")
                                     : d.file + ":" + std::to_string(d.line))
                  << ": " << d.what << "\n";
        if (!d.has_frames) {
            continue;
        }
        const std::filesystem::path base =
            std::filesystem::path(pictures) /
            (std::filesystem::path(d.file).stem().string() + ".frame" + std::to_string(d.frame));
        for (const auto& [side, frame] :
             {std::pair{".desktop.png", &d.desktop}, std::pair{".target.png", &d.target}}) {
            const std::string path = base.string() + side;
            if (const std::string problem = write_frame(path, *frame); !problem.empty()) {
                std::cerr << "  " << problem << "\n";
            } else {
                std::cerr << "  " << path << "\n";
            }
        }
    }
    std::cout << result.scenarios << " scenarios, " << result.frames << " frames: "
              << (result.differences.empty() ? "all equal on the target"
                                             : std::to_string(result.differences.size()) +
                                                   " scenarios differ on the target")
              << "\n";
    return result.differences.empty() ? 0 : 1;
}
