// JSON as the control protocol and the tool server exchange it: a strict reader (RFC 8259
// and nothing more: no comments, no trailing commas, no NaN, valid UTF-8 only, no duplicate
// names) and a writer that always produces one line. Numbers keep the text they were read
// from, so that a request's id comes back exactly as the client wrote it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace txm9 {

class json_value {
public:
    enum class kind : uint8_t { null, boolean, number, string, array, object };

    json_value() = default;
    static json_value boolean(bool b);
    static json_value number(int64_t n);
    static json_value number(double n);
    static json_value string(std::string text);
    static json_value array();
    static json_value object();

    kind type() const { return kind_; }
    bool is_null() const { return kind_ == kind::null; }
    bool is_string() const { return kind_ == kind::string; }
    bool is_object() const { return kind_ == kind::object; }
    bool is_array() const { return kind_ == kind::array; }
    bool is_number() const { return kind_ == kind::number; }
    bool is_bool() const { return kind_ == kind::boolean; }

    bool as_bool() const { return flag_; }
    // A string's characters; a number's text as written.
    const std::string& text() const { return text_; }
    // A number that is a whole number within int64_t, or nothing.
    std::optional<int64_t> as_integer() const;
    std::optional<double> as_double() const;

    const std::vector<json_value>& items() const { return items_; }
    const std::vector<std::pair<std::string, json_value>>& members() const { return members_; }
    // An object's member of that name, or nullptr.
    const json_value* find(std::string_view name) const;

    // Adds to an array / an object (a member of that name replaced); returns *this.
    json_value& push(json_value item);
    json_value& set(std::string name, json_value value);

private:
    kind kind_ = kind::null;
    bool flag_ = false;
    std::string text_;
    std::vector<json_value> items_;
    std::vector<std::pair<std::string, json_value>> members_;

    friend class json_reader;
};

// Reads one JSON text (whitespace around it allowed). False with `error` saying what is
// wrong and at which byte, counted from 1.
bool parse_json(std::string_view text, json_value& out, std::string& error);

// The value as one line of JSON, no spaces, strings with every control character escaped.
std::string write_json(const json_value& value);
// `text` as a JSON string, quotes included.
std::string json_quote(std::string_view text);

} // namespace txm9
