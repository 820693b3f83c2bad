// Reference frames read and compared, screenshots, and the files a scenario made, written once
// it is over.
#include <array>
#include <filesystem>
#include <set>

#include "files/made_folders.h"
#include "firmware/lcd/framebuffer.h"
#include "scenario/message_text.h"
#include "scenario/scenario_player_impl.h"
#include "scenario/written_names.h"

namespace txm9 {

// With --update the references are written, beside the scenario: none may leave its
// folder. Without it they are only read, from wherever they are.
void scenario_player::impl::check_written_references() const {
    if (!options_.files || !options_.update) {
        return;
    }
    for (const command& c : script_.commands) {
        if (c.kind != command_kind::expect_frame) {
            continue;
        }
        if (const std::string why = leaves_its_folder(c.path); !why.empty()) {
            throw scenario_stop{outcome_status::cannot_run,
                                script_.file + ":" + std::to_string(c.place.line) + ":" +
                                    std::to_string(c.path_column) +
                                    ": --update writes a reference inside the scenario's "
                                    "folder, and '" +
                                    cut_for_message(c.path) + "' cannot be: " + why};
        }
    }
}

// Every reference frame is read before anything runs: one that is missing, unreadable or
// of another size is a mistake in the scenario. A reference that an earlier screenshot of
// the scenario takes is that screenshot.
void scenario_player::impl::read_references() {
    if (!options_.files || options_.update) {
        return;
    }
    std::set<std::string> shot;
    for (const command& c : script_.commands) {
        if (c.kind == command_kind::screenshot) {
            shot.insert(same_path(in_folder(out_dir_, c.path)));
        } else if (c.kind == command_kind::expect_frame) {
            const std::string reference = in_folder(script_.folder, c.path);
            if (shot.contains(same_path(reference))) {
                continue;
            }
            const std::string problem = read_reference(reference, references_[&c]);
            if (!problem.empty()) {
                cannot_run(c, problem);
            }
        }
    }
}

// The reference of an `expect frame`: read before the scenario ran, or the latest
// screenshot it took under that name.
argb_picture scenario_player::impl::reference_for(const command& c, const std::string& reference) {
    if (const auto read = references_.find(&c); read != references_.end()) {
        return read->second;
    }
    if (options_.session) {
        argb_picture picture;
        if (const std::string problem = read_reference(reference, picture); !problem.empty()) {
            cannot_run(c, problem);
        }
        return picture;
    }
    for (auto f = files_.rbegin(); f != files_.rend(); ++f) {
        if (!f->explains_failure && same_path(f->path) == same_path(reference)) {
            const argb_picture shot = enlarged(f->picture, f->scale);
            if (shot.width != LCD_WIDTH || shot.height != LCD_HEIGHT) {
                cannot_run(c, "the reference frame " + reference + " is " +
                                  std::to_string(shot.width) + " x " + std::to_string(shot.height) +
                                  ", not the display's 114 x 64 (take it with scale 1)");
            }
            return shot;
        }
    }
    cannot_run(c, "no reference frame " + reference);
}

std::string scenario_player::impl::same_path(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

// The failure pictures' common start: the reference's name in the output folder, with a
// number when an earlier failure of this run (another scenario's reference of the same
// name) already took it.
std::string scenario_player::impl::failure_prefix(const command& c) {
    std::set<std::string> own;
    std::set<std::string>& taken =
        options_.failure_names != nullptr ? *options_.failure_names : own;
    const std::string base = in_folder(out_dir_, std::filesystem::path(c.path).stem().string());
    std::string prefix = base;
    for (int n = 2; taken.contains(prefix); ++n) {
        prefix = base + "." + std::to_string(n);
    }
    taken.insert(prefix);
    return prefix;
}

std::string scenario_player::impl::in_folder(const std::string& folder, const std::string& path) {
    const std::filesystem::path p(path);
    return (p.is_absolute() || folder.empty() ? p : std::filesystem::path(folder) / p).string();
}

// The display as a picture file, to be written once the scenario is over; `notice` says
// so once it is.
void scenario_player::impl::plan_picture(const command& c, const std::string& path, int scale,
                                         std::string notice) {
    files_.push_back({&c, path, display_picture(), scale, false, std::move(notice)});
}

// Writes the files the scenario made, in order, each in its folder (made if missing). A
// file that cannot be written stops the rest: a screenshot or reference makes the scenario
// one that cannot run, a failure picture adds its reason to the failure.
void scenario_player::impl::write_files() {
    made_folders made; // removed again, when empty, if a file cannot be written
    for (const planned_file& f : files_) {
        const std::filesystem::path parent = std::filesystem::path(f.path).parent_path();
        std::string error = parent.empty() ? std::string() : made.make(parent.string());
        if (!error.empty()) {
            error = "cannot write " + f.path + ": cannot make the folder " + parent.string() +
                    ": " + error;
        } else if (is_pbm_name(f.path)) {
            error = write_pbm_file(f.path, enlarged(f.picture, f.scale));
        } else {
            error = write_png_file(f.path, enlarged(f.picture, f.scale));
        }
        if (error.empty()) {
            if (!f.notice.empty()) {
                outcome_.notices.push_back(f.notice);
            }
            continue;
        }
        const std::string place = script_.file + ":" + std::to_string(f.by->place.line) + ":" +
                                  std::to_string(f.by->place.column) + ": ";
        if (f.explains_failure) {
            outcome_.message += place + error + "\n";
        } else {
            const std::string before = outcome_.status == outcome_status::failed
                                           ? "\nand before that: FAIL " + outcome_.message
                                           : std::string();
            outcome_.status = outcome_status::cannot_run;
            outcome_.message = place + error + before;
        }
        made.remove_empty();
        return;
    }
}
} // namespace txm9
