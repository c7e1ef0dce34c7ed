#pragma once

#include <string>

// A pseudo-terminal whose far end the test holds: the device the port opens, and the master
// side to play the other station.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& DevicePath() const { return path_; }
    int Master() const { return master_; }
    void Send(const std::string& bytes);
    // What the port sent, collected for up to ms (stops early once want bytes are in).
    std::string Receive(int ms, size_t want = 1u << 20);
    // The other station goes away: the port's next read sees a hang-up.
    void HangUp();

private:
    int master_ = -1;
    int slave_ = -1; // keeps the line up between the port's opens
    std::string path_;
};
