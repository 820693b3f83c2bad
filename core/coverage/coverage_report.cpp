#include "coverage/coverage_report.h"

#include <cstdio>
#include <filesystem>
#include <functional>

#include "coverage/frame_svg.h"
#include "files/made_folders.h"
#include "files/whole_file_writer.h"
#include "scenario/message_text.h"

namespace txm9 {

namespace {

const char* const language_names[LANGUAGE_COUNT] = {"English", "French"};

// Text as the runner prints it and the JUnit report holds it: valid UTF-8, a byte that is not
// and a control character shown as \xNN.
std::string clean(const std::string& text) {
    return valid_utf8(text);
}

std::string html(const std::string& text) {
    std::string out;
    for (const char c : clean(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string json(const std::string& text) {
    std::string out = "\"";
    for (const char c : clean(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

using unit = coverage_item;

// Walks every item in the report's order; the page, the JSON and the summary all use it.
struct unit_walk {
    std::function<void(const unit&)> screen, input, row, text, state;
};

std::string screen_id(int s) {
    return screen_list[s].name;
}

void walk(const coverage_data& d, const unit_walk& w) {
    for (int s = 0; s < SCREEN_COUNT; ++s) {
        w.screen({"screen/" + screen_id(s), d.screens[s].first});
    }
    for (int s = 0; s < SCREEN_COUNT; ++s) {
        for (int i = 0; i < INPUT_COUNT; ++i) {
            w.input({"input/" + screen_id(s) + "/" + panel_inputs[i].id, d.cells[s][i].first});
        }
    }
    const std::vector<list_row>& rows = list_rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string id =
            "row/" + screen_id(rows[r].screen) + "/" + std::to_string(rows[r].row) + "/";
        for (int l = 0; l < LANGUAGE_COUNT; ++l) {
            w.row({id + "cursor/" + language_ids[l], d.rows[r].cursor[l]});
            w.row(
                {id + row_action_name(rows[r].kind) + "/" + language_ids[l], d.rows[r].action[l]});
        }
    }
    const std::vector<catalogue_text>& texts = catalogue_texts();
    for (std::size_t t = 0; t < texts.size(); ++t) {
        for (int l = 0; l < LANGUAGE_COUNT; ++l) {
            if (texts[t].text[l] != nullptr) {
                w.text({"text/" + texts[t].id + "/" + language_ids[l], d.texts[t][l],
                        texts[t].never[l]});
            }
        }
    }
    for (int s = 0; s < STATE_COUNT; ++s) {
        w.state({std::string("state/") + state_entries[s].id, d.states[s]});
    }
}

void count(coverage_count& c, const unit& u) {
    if (u.never == nullptr) {
        ++c.total;
        c.reached += u.first.reached() ? 1 : 0;
    }
}

std::string file_name(const coverage_data& d, const first_place& p) {
    return p.reached() && p.file < static_cast<int>(d.files.size()) ? d.files[p.file].name : "";
}

std::string json_place(const coverage_data& d, const first_place& p) {
    if (!p.reached()) {
        return "null";
    }
    return "{\"file\": " + json(file_name(d, p)) + ", \"line\": " + std::to_string(p.line) + "}";
}

// --- The page ---

class page {
public:
    explicit page(const coverage_data& d) : d_(d) {}

    std::string build() {
        const coverage_summary s = summarise(d_);
        out_ += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
                "<head><meta charset=\"utf-8\"/><title>TXM-9 scenario coverage</title>\n"
                "<style>" +
                std::string(STYLE) + "</style></head>\n<body>\n<h1>TXM-9 scenario coverage</h1>\n";
        out_ += "<p class=\"summary\">" + html(summary_line(s)) + "</p>\n<p>Scenarios:";
        for (std::size_t f = 0; f < d_.files.size(); ++f) {
            out_ +=
                " <a href=\"#src-" + std::to_string(f) + "\">" + html(d_.files[f].name) + "</a>";
            if (!d_.files[f].not_played.empty()) {
                out_ += " <span class=\"miss\">(not played: " + html(d_.files[f].not_played) +
                        ")</span>";
            }
        }
        out_ += "</p>\n";
        screens();
        inputs();
        rows();
        texts();
        states();
        sources();
        out_ += "</body>\n</html>\n";
        return out_;
    }

private:
    static constexpr const char* STYLE =
        "body{font-family:sans-serif;margin:1.5em;color:#222}"
        "table{border-collapse:collapse;margin-bottom:1.5em}"
        "th,td{border:1px solid #ccc;padding:.25em .5em;vertical-align:top;text-align:left}"
        ".hit{background:#dff3df}.miss{background:#f9d6d2}.never{background:#eee;color:#777}"
        ".na{background:#fafafa;color:#aaa}"
        ".screens{display:flex;flex-wrap:wrap;gap:1em}figure{margin:0;padding:.5em}"
        "figcaption{font-size:90%;max-width:228px}.count{color:#666;font-size:85%}"
        "pre{background:#f7f7f7;padding:.5em}pre span{display:block}"
        "pre span:target{background:#ffec8c}.no{color:#999;display:inline;margin-right:1em}"
        "code{background:#f0f0f0}";

    // The unit's cell: its class, its id, and where it was first reached.
    std::string open(const char* element, const unit& u) const {
        const char* cls = u.never != nullptr ? "never" : u.first.reached() ? "hit" : "miss";
        return std::string("<") + element + " class=\"" + cls + "\" data-unit=\"" + html(u.id) +
               "\">";
    }
    std::string link(const first_place& p) const {
        if (!p.reached()) {
            return "";
        }
        // The file's name without folder or suffix keeps the tables narrow; the whole name
        // is the link's title.
        const std::string name = file_name(d_, p);
        const std::string where =
            std::filesystem::path(name).stem().string() + ":" + std::to_string(p.line);
        return "<a href=\"#src-" + std::to_string(p.file) + "-" + std::to_string(p.line) +
               "\" title=\"" + html(name + ":" + std::to_string(p.line)) + "\">" + html(where) +
               "</a>";
    }
    std::string mark(const char* element, const unit& u) const {
        std::string s = open(element, u);
        s += u.never != nullptr  ? "cannot be shown: " + html(u.never)
             : u.first.reached() ? link(u.first)
                                 : "not reached";
        return s + "</" + element + ">";
    }

    void screens() {
        out_ += "<h2>Screens</h2>\n<div class=\"screens\">\n";
        int s = 0;
        walk(d_, {[&](const unit& u) {
                      const screen_coverage& c = d_.screens[s];
                      out_ += open("figure", u);
                      out_ += c.first.reached() ? frame_svg(c.picture, 2)
                                                : "<div style=\"width:228px;height:128px\"></div>";
                      out_ += "<figcaption><b>" + html(screen_list[s].name) + "</b> ";
                      out_ += c.first.reached()
                                  ? "first drawn at " + link(c.first) + " <span class=\"count\">" +
                                        std::to_string(c.frames) + " passes</span>"
                                  : std::string("not reached");
                      out_ += "</figcaption></figure>\n";
                      ++s;
                  },
                  nothing, nothing, nothing, nothing});
        out_ += "</div>\n";
    }

    void inputs() {
        out_ += "<h2>Inputs on each screen</h2>\n<p>Each screen takes the knob, the two keys "
                "and the knob's two turns; a cell says where the input first was taken there, "
                "and where it led.</p>\n<table><tr><th>screen</th>";
        for (const panel_input& i : panel_inputs) {
            out_ += std::string("<th>") + i.name + "</th>";
        }
        out_ += "</tr>\n";
        int n = 0;
        walk(d_, {nothing,
                  [&](const unit& u) {
                      const int s = n / INPUT_COUNT, i = n % INPUT_COUNT;
                      ++n;
                      if (i == 0) {
                          out_ += "<tr><th>" + html(screen_list[s].name) + "</th>";
                      }
                      const cell_coverage& c = d_.cells[s][i];
                      out_ += open("td", u);
                      if (!c.first.reached()) {
                          out_ += "not taken";
                      } else {
                          out_ += link(c.first) + " <span class=\"count\">&#215;" +
                                  std::to_string(c.taken) + "</span>";
                          for (const destination& to : c.led_to) {
                              const bool elsewhere =
                                  to.first.file != c.first.file || to.first.line != c.first.line;
                              out_ += "<br/>&#8594; " + html(to.name) +
                                      (elsewhere ? " (" + link(to.first) + ")" : "");
                          }
                      }
                      out_ += "</td>";
                      if (i == INPUT_COUNT - 1) {
                          out_ += "</tr>\n";
                      }
                  },
                  nothing, nothing, nothing});
        out_ += "</table>\n";
    }

    void rows() {
        out_ += "<h2>List rows</h2>\n<p>The main menu's items and the setup lists' rows: the "
                "cursor on each, and each one left, performed, edited or opened, in both "
                "languages.</p>\n<table><tr><th>screen</th><th>row</th><th>label</th>"
                "<th>cursor, English</th><th>cursor, French</th><th>action</th>"
                "<th>English</th><th>French</th></tr>\n";
        const std::vector<list_row>& list = list_rows();
        std::vector<unit> units;
        walk(d_, {nothing, nothing, [&](const unit& u) { units.push_back(u); }, nothing, nothing});
        for (std::size_t r = 0; r < list.size(); ++r) {
            const unit* u = &units[r * 4]; // cursor en, action en, cursor fr, action fr
            out_ += "<tr><td>" + html(screen_list[list[r].screen].name) + "</td><td>" +
                    std::to_string(list[r].row) + "</td><td><code>" + html(list[r].label) +
                    "</code></td>" + mark("td", u[0]) + mark("td", u[2]) + "<td>" +
                    row_action_name(list[r].kind) + "</td>" + mark("td", u[1]) + mark("td", u[3]) +
                    "</tr>\n";
        }
        out_ += "</table>\n";
    }

    void texts() {
        out_ += "<h2>Texts</h2>\n<p>The instrument's text table: each text read back off the "
                "display, in each language it has (pairs are the bilingual texts in the order "
                "the firmware keeps them; numbers stand for a format's conversions).</p>\n"
                "<table><tr><th>text</th><th>English</th><th>French</th><th>shown by</th>"
                "<th>shown in English</th><th>shown in French</th></tr>\n";
        const std::vector<catalogue_text>& list = catalogue_texts();
        std::vector<unit> units;
        walk(d_, {nothing, nothing, nothing, [&](const unit& u) { units.push_back(u); }, nothing});
        std::size_t next = 0;
        for (const catalogue_text& t : list) {
            out_ += "<tr><td>" + html(t.id) + "</td>";
            for (int l = 0; l < LANGUAGE_COUNT; ++l) {
                out_ += t.text[l] != nullptr ? "<td><code>" + html(quoted(t, l)) + "</code></td>"
                                             : std::string("<td class=\"na\">-</td>");
            }
            out_ += "<td>" + html(t.shown_by) + "</td>";
            for (int l = 0; l < LANGUAGE_COUNT; ++l) {
                out_ += t.text[l] != nullptr ? mark("td", units[next++])
                                             : std::string("<td class=\"na\">no such text in ") +
                                                   language_names[l] + "</td>";
            }
            out_ += "</tr>\n";
        }
        out_ += "</table>\n";
    }

    static std::string quoted(const catalogue_text& t, int l) {
        std::string s = "\"";
        if (t.anchor[l] != nullptr) {
            s += t.anchor[l];
        }
        return s + t.text[l] + "\"";
    }

    void states() {
        out_ += "<h2>Instrument states</h2>\n<table><tr><th>state</th><th>first reached</th>"
                "</tr>\n";
        int n = 0;
        walk(d_, {nothing, nothing, nothing, nothing, [&](const unit& u) {
                      out_ += std::string("<tr><td>") + html(state_entries[n++].description) +
                              "</td>" + mark("td", u) + "</tr>\n";
                  }});
        out_ += "</table>\n";
    }

    void sources() {
        out_ += "<h2>Scenarios</h2>\n";
        for (std::size_t f = 0; f < d_.files.size(); ++f) {
            const std::string id = "src-" + std::to_string(f);
            out_ += "<h3 id=\"" + id + "\">" + html(d_.files[f].name) + "</h3>\n";
            if (!d_.files[f].not_played.empty()) {
                out_ += "<p class=\"miss\">Not played: " + html(d_.files[f].not_played) + "</p>\n";
            }
            out_ += "<pre>";
            const std::string& text = d_.files[f].text;
            int line = 1;
            for (std::size_t at = 0; at < text.size(); ++line) {
                std::size_t end = text.find('\n', at);
                if (end == std::string::npos) {
                    end = text.size();
                }
                out_ += "<span id=\"" + id + "-" + std::to_string(line) + "\"><span class=\"no\">" +
                        std::to_string(line) + "</span>" + html(text.substr(at, end - at)) +
                        "</span>";
                at = end + 1;
            }
            out_ += "</pre>\n";
        }
    }

    static void nothing(const unit&) {}

    const coverage_data& d_;
    std::string out_;
};

} // namespace

std::vector<coverage_item> coverage_items(const coverage_data& data) {
    std::vector<coverage_item> items;
    const auto add = [&](const unit& u) { items.push_back(u); };
    walk(data, {add, add, add, add, add});
    return items;
}

coverage_summary summarise(const coverage_data& data) {
    coverage_summary s;
    walk(data,
         {[&](const unit& u) { count(s.screens, u); }, [&](const unit& u) { count(s.inputs, u); },
          [&](const unit& u) { count(s.rows, u); }, [&](const unit& u) { count(s.texts, u); },
          [&](const unit& u) { count(s.states, u); }});
    return s;
}

std::string summary_line(const coverage_summary& s) {
    auto part = [](const coverage_count& c, const char* what) {
        return std::to_string(c.reached) + "/" + std::to_string(c.total) + " " + what;
    };
    return "coverage: " + part(s.screens, "screens") + ", " + part(s.inputs, "inputs on screens") +
           ", " + part(s.rows, "list rows") + ", " + part(s.texts, "texts") + ", " +
           part(s.states, "states");
}

std::string coverage_html(const coverage_data& data) {
    return page(data).build();
}

std::string coverage_json(const coverage_data& data) {
    std::string out = "{\n  \"files\": [";
    for (std::size_t f = 0; f < data.files.size(); ++f) {
        out += (f == 0 ? "" : ", ") + json(data.files[f].name);
    }
    // The files that did not play through, and why: their items count nothing.
    out += "],\n  \"not_played\": [";
    bool first = true;
    for (const coverage_data::source& f : data.files) {
        if (!f.not_played.empty()) {
            out += std::string(first ? "" : ", ") + "{\"file\": " + json(f.name) +
                   ", \"why\": " + json(f.not_played) + "}";
            first = false;
        }
    }
    const coverage_summary s = summarise(data);
    auto total = [](const char* name, const coverage_count& c) {
        return std::string("    \"") + name + "\": {\"reached\": " + std::to_string(c.reached) +
               ", \"total\": " + std::to_string(c.total) + "}";
    };
    out += "],\n  \"summary\": {\n" + total("screens", s.screens) + ",\n" +
           total("inputs", s.inputs) + ",\n" + total("rows", s.rows) + ",\n" +
           total("texts", s.texts) + ",\n" + total("states", s.states) + "\n  },\n";

    // Every item, with what it adds to its id: the led-to screens of an input, the picture's
    // pass count of a screen, the reason an unreachable text cannot be shown.
    std::string items;
    int screen = 0, input = 0;
    auto item = [&](const unit& u, const std::string& extra) {
        items += std::string(items.empty() ? "" : ",\n") + "    {\"id\": " + json(u.id) +
                 ", \"reached\": " + (u.first.reached() ? "true" : "false") +
                 ", \"first\": " + json_place(data, u.first) + extra + "}";
    };
    walk(data, {[&](const unit& u) {
                    item(u, ", \"passes\": " + std::to_string(data.screens[screen++].frames));
                },
                [&](const unit& u) {
                    const cell_coverage& c = data.cells[input / INPUT_COUNT][input % INPUT_COUNT];
                    ++input;
                    std::string led = ", \"taken\": " + std::to_string(c.taken) + ", \"led_to\": [";
                    for (std::size_t k = 0; k < c.led_to.size(); ++k) {
                        led += (k == 0 ? "" : ", ") + std::string("{\"screen\": ") +
                               json(c.led_to[k].name) +
                               ", \"first\": " + json_place(data, c.led_to[k].first) + "}";
                    }
                    item(u, led + "]");
                },
                [&](const unit& u) { item(u, ""); },
                [&](const unit& u) {
                    item(u, u.never != nullptr ? ", \"never\": " + json(u.never) : std::string());
                },
                [&](const unit& u) { item(u, ""); }});
    return out + "  \"items\": [\n" + items + "\n  ]\n}\n";
}

std::string write_coverage_report(const std::string& folder, const coverage_data& data) {
    made_folders made;
    if (const std::string error = made.make(folder); !error.empty()) {
        made.remove_empty();
        return "cannot create " + folder + ": " + error;
    }
    const std::filesystem::path dir(folder);
    const std::string page = coverage_html(data);
    const std::string numbers = coverage_json(data);
    // The page and its data belong together: both are written, or neither.
    const std::string error = write_whole_files(
        {{(dir / "coverage.html").string(), page}, {(dir / "coverage.json").string(), numbers}});
    if (!error.empty()) {
        made.remove_empty();
    }
    return error;
}

} // namespace txm9
