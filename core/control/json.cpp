#include "control/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace txm9 {

json_value json_value::boolean(bool b) {
    json_value v;
    v.kind_ = kind::boolean;
    v.flag_ = b;
    return v;
}

json_value json_value::number(int64_t n) {
    json_value v;
    v.kind_ = kind::number;
    v.text_ = std::to_string(n);
    return v;
}

json_value json_value::number(double n) {
    json_value v;
    v.kind_ = kind::number;
    if (!std::isfinite(n)) {
        v.kind_ = kind::null; // JSON has no infinity
        return v;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", n);
    v.text_ = text;
    return v;
}

json_value json_value::string(std::string text) {
    json_value v;
    v.kind_ = kind::string;
    v.text_ = std::move(text);
    return v;
}

json_value json_value::array() {
    json_value v;
    v.kind_ = kind::array;
    return v;
}

json_value json_value::object() {
    json_value v;
    v.kind_ = kind::object;
    return v;
}

std::optional<int64_t> json_value::as_integer() const {
    if (kind_ != kind::number) {
        return std::nullopt;
    }
    int64_t n = 0;
    const char* end = text_.data() + text_.size();
    const auto [at, problem] = std::from_chars(text_.data(), end, n);
    if (problem == std::errc() && at == end) {
        return n;
    }
    // 1e3 and 5.0 are whole numbers too.
    const std::optional<double> d = as_double();
    if (d && std::trunc(*d) == *d && std::fabs(*d) < 9.0e15) {
        return static_cast<int64_t>(*d);
    }
    return std::nullopt;
}

std::optional<double> json_value::as_double() const {
    if (kind_ != kind::number) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double d = std::strtod(text_.c_str(), &end);
    return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

const json_value* json_value::find(std::string_view name) const {
    for (const auto& [key, value] : members_) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

json_value& json_value::push(json_value item) {
    items_.push_back(std::move(item));
    return *this;
}

json_value& json_value::set(std::string name, json_value value) {
    for (auto& [key, old] : members_) {
        if (key == name) {
            old = std::move(value);
            return *this;
        }
    }
    members_.emplace_back(std::move(name), std::move(value));
    return *this;
}

// Thrown inside the reader only: what is wrong, and where.
struct json_mistake {
    std::size_t at;
    std::string what;
};

class json_reader {
public:
    explicit json_reader(std::string_view text) : s_(text) {}

    json_value document() {
        space();
        json_value v = value(0);
        space();
        if (i_ != s_.size()) {
            fail("unexpected text after the JSON value");
        }
        return v;
    }

private:
    // Deeper than this a request is surely an attack on the stack, not a request.
    static constexpr int MOST_NESTING = 64;

    [[noreturn]] void fail(std::string what) const { throw json_mistake{i_, std::move(what)}; }

    void space() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) {
            ++i_;
        }
    }

    bool take(char c) {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

    void literal(std::string_view word) {
        if (s_.substr(i_, word.size()) != word) {
            fail("not a JSON value");
        }
        i_ += word.size();
    }

    json_value value(int depth) {
        if (depth > MOST_NESTING) {
            fail("nested more than " + std::to_string(MOST_NESTING) + " deep");
        }
        if (i_ >= s_.size()) {
            fail("the text ends where a value should be");
        }
        switch (s_[i_]) {
        case '{':
            return object(depth);
        case '[':
            return array(depth);
        case '"':
            return json_value::string(string());
        case 't':
            literal("true");
            return json_value::boolean(true);
        case 'f':
            literal("false");
            return json_value::boolean(false);
        case 'n':
            literal("null");
            return json_value();
        default:
            return number();
        }
    }

    json_value object(int depth) {
        ++i_;
        json_value v = json_value::object();
        space();
        if (take('}')) {
            return v;
        }
        for (;;) {
            space();
            if (i_ >= s_.size() || s_[i_] != '"') {
                fail("expected a member's name in double quotes");
            }
            std::string name = string();
            if (v.find(name) != nullptr) {
                fail("the name \"" + name + "\" appears twice");
            }
            space();
            if (!take(':')) {
                fail("expected ':' after a member's name");
            }
            space();
            json_value member = value(depth + 1);
            v.members_.emplace_back(std::move(name), std::move(member));
            space();
            if (take('}')) {
                return v;
            }
            if (!take(',')) {
                fail("expected ',' or '}' in an object");
            }
        }
    }

    json_value array(int depth) {
        ++i_;
        json_value v = json_value::array();
        space();
        if (take(']')) {
            return v;
        }
        for (;;) {
            space();
            v.items_.push_back(value(depth + 1));
            space();
            if (take(']')) {
                return v;
            }
            if (!take(',')) {
                fail("expected ',' or ']' in an array");
            }
        }
    }

    json_value number() {
        const std::size_t start = i_;
        take('-');
        if (take('0')) {
        } else if (digits() == 0) {
            fail("not a JSON value");
        }
        if (take('.') && digits() == 0) {
            fail("a digit must follow the decimal point");
        }
        if (take('e') || take('E')) {
            if (!take('+')) {
                take('-');
            }
            if (digits() == 0) {
                fail("a digit must follow the exponent");
            }
        }
        json_value v;
        v.kind_ = json_value::kind::number;
        v.text_ = std::string(s_.substr(start, i_ - start));
        return v;
    }

    int digits() {
        int n = 0;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
            ++i_;
            ++n;
        }
        return n;
    }

    unsigned hex4() {
        unsigned u = 0;
        for (int k = 0; k < 4; ++k, ++i_) {
            if (i_ >= s_.size()) {
                fail("a \\u escape needs four hex digits");
            }
            const char c = s_[i_];
            u <<= 4;
            if (c >= '0' && c <= '9') {
                u |= static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                u |= static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                u |= static_cast<unsigned>(c - 'A' + 10);
            } else {
                fail("a \\u escape needs four hex digits");
            }
        }
        return u;
    }

    static void put_utf8(std::string& out, unsigned u) {
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else if (u < 0x10000) {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (u >> 18));
            out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }

    // One UTF-8 character as it stands in the text, checked: no overlong forms, no
    // surrogates, nothing past U+10FFFF.
    void utf8(std::string& out) {
        const auto b = static_cast<unsigned char>(s_[i_]);
        int more = 0;
        unsigned u = 0;
        unsigned least = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1, u = b & 0x1F, least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2, u = b & 0x0F, least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3, u = b & 0x07, least = 0x10000;
        } else {
            fail("the text is not valid UTF-8");
        }
        if (i_ + static_cast<std::size_t>(more) >= s_.size()) {
            fail("the text is not valid UTF-8");
        }
        for (int k = 1; k <= more; ++k) {
            const auto c = static_cast<unsigned char>(s_[i_ + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) {
                fail("the text is not valid UTF-8");
            }
            u = u << 6 | (c & 0x3F);
        }
        if (u < least || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
            fail("the text is not valid UTF-8");
        }
        out.append(s_.substr(i_, static_cast<std::size_t>(more) + 1));
        i_ += static_cast<std::size_t>(more) + 1;
    }

    std::string string() {
        ++i_;
        std::string out;
        for (;;) {
            if (i_ >= s_.size()) {
                fail("missing closing quote");
            }
            const char c = s_[i_];
            if (c == '"') {
                ++i_;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("a control character in a string must be escaped");
            }
            if (static_cast<unsigned char>(c) >= 0x80) {
                utf8(out);
                continue;
            }
            ++i_;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= s_.size()) {
                fail("missing closing quote");
            }
            const char e = s_[i_++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned u = hex4();
                if (u >= 0xDC00 && u <= 0xDFFF) {
                    fail("a lone low surrogate in a \\u escape");
                }
                if (u >= 0xD800 && u <= 0xDBFF) {
                    if (!(take('\\') && take('u'))) {
                        fail("a high surrogate without its low surrogate");
                    }
                    const unsigned low = hex4();
                    if (low < 0xDC00 || low > 0xDFFF) {
                        fail("a high surrogate without its low surrogate");
                    }
                    u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                }
                put_utf8(out, u);
                break;
            }
            default:
                --i_;
                fail("unknown escape in a string");
            }
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

bool parse_json(std::string_view text, json_value& out, std::string& error) {
    try {
        out = json_reader(text).document();
        return true;
    } catch (const json_mistake& m) {
        error = m.what + " (at byte " + std::to_string(m.at + 1) + ")";
        return false;
    }
}

namespace {

// The length of the valid UTF-8 character at `i`, or 0.
std::size_t utf8_length(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t more = 0;
    unsigned u = 0;
    unsigned least = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        more = 1, u = b & 0x1F, least = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        more = 2, u = b & 0x0F, least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        more = 3, u = b & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (i + more >= s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k <= more; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        u = u << 6 | (c & 0x3F);
    }
    if (u < least || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
        return 0;
    }
    return more + 1;
}

void write(std::string& out, const json_value& v) {
    switch (v.type()) {
    case json_value::kind::null:
        out += "null";
        return;
    case json_value::kind::boolean:
        out += v.as_bool() ? "true" : "false";
        return;
    case json_value::kind::number:
        out += v.text();
        return;
    case json_value::kind::string:
        out += json_quote(v.text());
        return;
    case json_value::kind::array: {
        out += '[';
        bool first = true;
        for (const json_value& item : v.items()) {
            if (!first) {
                out += ',';
            }
            first = false;
            write(out, item);
        }
        out += ']';
        return;
    }
    case json_value::kind::object: {
        out += '{';
        bool first = true;
        for (const auto& [name, member] : v.members()) {
            if (!first) {
                out += ',';
            }
            first = false;
            out += json_quote(name);
            out += ':';
            write(out, member);
        }
        out += '}';
        return;
    }
    }
}

} // namespace

std::string json_quote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            // Bytes that are not UTF-8 (a file name, say) go out as U+FFFD: the line stays
            // valid JSON whatever came in.
            const std::size_t n = utf8_length(text, i);
            out += n == 0 ? std::string_view("\xEF\xBF\xBD") : text.substr(i, n);
            i += n == 0 ? 1 : n;
            continue;
        }
        ++i;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (b < 0x20 || b == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string write_json(const json_value& value) {
    std::string out;
    write(out, value);
    return out;
}

} // namespace txm9
