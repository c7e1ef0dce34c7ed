#include "tools/vrotool/Arguments.h"

Arguments::Arguments(int argc, char** argv, int first) {
    for (int i = first; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h")
            help_ = true;
        else if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
            args_.push_back(a.substr(0, a.find('=')));
            args_.push_back(a.substr(a.find('=') + 1));
        } else
            args_.push_back(a);
    }
    used_.assign(args_.size(), false);
}

bool Arguments::Flag(const std::string& name) {
    bool found = false;
    for (size_t i = 0; i < args_.size(); ++i)
        if (!used_[i] && args_[i] == name)
            used_[i] = found = true;
    return found;
}

std::optional<std::string> Arguments::Value(const std::string& name, const std::string& alias) {
    std::optional<std::string> value;
    for (size_t i = 0; i < args_.size(); ++i) {
        if (used_[i] || (args_[i] != name && (alias.empty() || args_[i] != alias)))
            continue;
        if (i + 1 >= args_.size())
            throw UsageError("option " + args_[i] + " needs a value");
        used_[i] = used_[i + 1] = true;
        value = args_[i + 1];
        ++i;
    }
    return value;
}

std::vector<std::string> Arguments::Values(const std::string& name) {
    std::vector<std::string> values;
    for (size_t i = 0; i < args_.size(); ++i) {
        if (used_[i] || args_[i] != name)
            continue;
        if (i + 1 >= args_.size())
            throw UsageError("option " + name + " needs a value");
        used_[i] = used_[i + 1] = true;
        values.push_back(args_[++i]);
    }
    return values;
}

std::optional<long long> Arguments::Integer(const std::string& name, long long min, long long max) {
    const auto text = Value(name);
    if (!text)
        return std::nullopt;
    size_t end = 0;
    long long v = 0;
    try {
        v = std::stoll(*text, &end, 0);
    } catch (const std::exception&) {
        end = 0;
    }
    if (end == 0 || end != text->size() || v < min || v > max)
        throw UsageError("option " + name + " needs a whole number from " + std::to_string(min) +
                         " to " + std::to_string(max) + ", not '" + *text + "'");
    return v;
}

std::vector<std::string> Arguments::Positionals() {
    std::vector<std::string> result;
    for (size_t i = 0; i < args_.size(); ++i)
        if (!used_[i] && (args_[i].size() < 2 || args_[i][0] != '-')) {
            used_[i] = true;
            result.push_back(args_[i]);
        }
    return result;
}

void Arguments::Finish() {
    for (size_t i = 0; i < args_.size(); ++i)
        if (!used_[i])
            throw UsageError("unknown argument '" + args_[i] + "'");
}

std::string Arguments::OnlyFile(const char* what) {
    const std::vector<std::string> files = Positionals();
    Finish();
    if (files.size() != 1)
        throw UsageError(std::string("give exactly one ") + what);
    return files[0];
}
