#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

// vrotool run as a user runs it, its standard error joined to its standard output.
struct Result {
    int status;
    std::string out;
};

inline Result RunCommand(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    Result r{-1, {}};
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Runs vrotool (the VROTOOL of the test program) with the arguments.
inline Result Vro(const std::string& args) {
    return RunCommand(std::string(VROTOOL) + " " + args);
}
