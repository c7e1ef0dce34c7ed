#include "tools/vrotool/JsonWriter.h"

#include <charconv>
#include <cmath>

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasElement_.empty()) {
        if (hasElement_.back())
            Raw(", ");
        hasElement_.back() = true;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    Raw("{");
    hasElement_.push_back(false);
}

void JsonWriter::EndObject() {
    hasElement_.pop_back();
    Raw("}");
    if (hasElement_.empty())
        Raw("\n");
}

void JsonWriter::BeginArray() {
    BeforeValue();
    Raw("[");
    hasElement_.push_back(false);
}

void JsonWriter::EndArray() {
    hasElement_.pop_back();
    Raw("]");
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Quoted(key);
    Raw(": ");
    afterKey_ = true;
}

void JsonWriter::String(std::string_view value) {
    BeforeValue();
    Quoted(value);
}

void JsonWriter::Quoted(std::string_view value) {
    std::string out = "\"";
    for (unsigned char c : value) {
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
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    Raw(out);
}

void JsonWriter::Int(int64_t value) {
    BeforeValue();
    Raw(std::to_string(value));
}

namespace {
bool NonFinite(double v, std::string_view& text) {
    if (std::isnan(v))
        text = "\"NaN\"";
    else if (std::isinf(v))
        text = v > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    else
        return false;
    return true;
}
} // namespace

void JsonWriter::Float(float value) {
    BeforeValue();
    std::string_view special;
    if (NonFinite(value, special))
        return Raw(special);
    // The shortest text that reads back as the float: 0.02, not 0.0199999996.
    char buf[32];
    Raw(std::string_view(buf, std::to_chars(buf, buf + sizeof buf, value).ptr));
}

void JsonWriter::Double(double value) {
    BeforeValue();
    std::string_view special;
    if (NonFinite(value, special))
        return Raw(special);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    Raw(buf);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    Raw(value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    Raw("null");
}
