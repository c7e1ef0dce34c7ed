#pragma once

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// A command-line mistake: the tool prints it with the command's usage and exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What an option names cannot be taken (a tariff file that cannot be read, or is not a rate):
// the tool prints the message alone, which names the file and says why, and exits with 2.
class ValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments of one subcommand: "--name value", "--name=value", "-o value", flags and
// positionals. Every option must be taken by the command; Finish() refuses the rest.
class Arguments {
public:
    Arguments(int argc, char** argv, int first);

    bool Flag(const std::string& name);
    std::optional<std::string> Value(const std::string& name, const std::string& alias = {});
    // Every value of an option given more than once, in order.
    std::vector<std::string> Values(const std::string& name);
    std::optional<long long> Integer(const std::string& name, long long min, long long max);
    std::vector<std::string> Positionals();
    bool WantsHelp() const { return help_; }
    void Finish();
    // Finishes, refusing anything but one positional: the file the command works on (what
    // names it in the usage error).
    std::string OnlyFile(const char* what = "FILE");

private:
    std::vector<std::string> args_;
    std::vector<bool> used_;
    bool help_ = false;
};
