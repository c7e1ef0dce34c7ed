#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// A small streaming JSON writer. Floats are written as the shortest text that reads back to
// the same float, doubles so that they read back to the same double (%.17g); values that are
// not finite become "NaN", "Infinity" and "-Infinity" strings.
class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : out_(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);

    void String(std::string_view value);
    void Int(int64_t value);
    void Float(float value);
    void Double(double value);
    void Bool(bool value);
    void Null();

    // Shorthands for a key and its value.
    template <typename F> void Member(std::string_view key, F&& writeValue) {
        Key(key);
        writeValue();
    }

private:
    void BeforeValue();
    void Quoted(std::string_view text);
    void Raw(std::string_view text) { std::fwrite(text.data(), 1, text.size(), out_); }

    std::FILE* out_;
    // One entry per open container: whether it already holds an element.
    std::vector<bool> hasElement_;
    bool afterKey_ = false;
};
