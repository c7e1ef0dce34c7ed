#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A small JSON reader, so that the tests read vrotool's output back as a JSON reader would:
// members keep their order, numbers are doubles.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;        // of an array, or the values of an object's members
    std::vector<std::string> names; // of an object's members, in order

    bool IsNull() const { return kind == Null; }
    const Json& operator[](size_t i) const { return items.at(i); }
    const Json& operator[](const std::string& key) const {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == key)
                return items[i];
        throw std::out_of_range("no member " + key);
    }
    const std::vector<std::string>& Keys() const { return names; }

    static Json Parse(std::string_view text) {
        size_t at = 0;
        Json value = ParseValue(text, at);
        Skip(text, at);
        if (at != text.size())
            throw std::runtime_error("JSON: text after the value");
        return value;
    }

private:
    static void Skip(std::string_view s, size_t& at) {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\n' || s[at] == '\r' || s[at] == '\t'))
            ++at;
    }
    static void Expect(std::string_view s, size_t& at, std::string_view word) {
        if (s.substr(at, word.size()) != word)
            throw std::runtime_error("JSON: expected " + std::string(word));
        at += word.size();
    }
    static std::string ParseString(std::string_view s, size_t& at) {
        Expect(s, at, "\"");
        std::string out;
        while (at < s.size() && s[at] != '"') {
            if (s[at] == '\\') {
                const char c = s.at(++at);
                if (c == 'u') {
                    out +=
                        static_cast<char>(std::stoi(std::string(s.substr(at + 1, 4)), nullptr, 16));
                    at += 4;
                } else {
                    out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
                }
                ++at;
            } else {
                out += s[at++];
            }
        }
        Expect(s, at, "\"");
        return out;
    }
    static Json ParseValue(std::string_view s, size_t& at) {
        Skip(s, at);
        Json v;
        if (at >= s.size())
            throw std::runtime_error("JSON: no value");
        const char c = s[at];
        if (c == '{' || c == '[') {
            v.kind = c == '{' ? Object : Array;
            ++at;
            Skip(s, at);
            const char close = c == '{' ? '}' : ']';
            while (at < s.size() && s[at] != close) {
                if (v.kind == Object) {
                    v.names.push_back(ParseString(s, at));
                    Skip(s, at);
                    Expect(s, at, ":");
                }
                v.items.push_back(ParseValue(s, at));
                Skip(s, at);
                if (at < s.size() && s[at] == ',') {
                    ++at;
                    Skip(s, at);
                }
            }
            Expect(s, at, std::string_view(&close, 1));
        } else if (c == '"') {
            v.kind = String;
            v.text = ParseString(s, at);
        } else if (c == 't' || c == 'f') {
            v.kind = Bool;
            v.boolean = c == 't';
            Expect(s, at, v.boolean ? "true" : "false");
        } else if (c == 'n') {
            Expect(s, at, "null");
        } else {
            v.kind = Number;
            size_t used = 0;
            v.number = std::stod(std::string(s.substr(at, 40)), &used);
            at += used;
        }
        return v;
    }
};
