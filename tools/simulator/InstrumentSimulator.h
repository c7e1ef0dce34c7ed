#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// What the simulated instrument does wrong, on request. Block numbers count from 1; 0 means
// never. "Once" faults strike once per download (a download starts with the "000" request).
struct SimulatorFaults {
    bool ignoreTest = false;      // never answer "X"
    int unansweredProbes = 0;     // leave this many probes in a row unanswered before each answer
    bool ignoreStart = false;     // never answer "000"
    int corruptBlock = 0;         // send this block with a wrong checksum, once
    int truncateBlock = 0;        // send only part of this block, once
    int zeroChecksumBlock = 0;    // send this block with checksum 0 on its first sending
    int zeroChecksumOnRetry = 0;  // send checksum 0 whenever this block is sent again
    int silentAfter = -1;         // after this many accepted blocks, answer nothing more
    int hangUpAfter = -1;         // after this many accepted blocks, hang up the line
    bool junkAfterBlocks = false; // follow every block with two stray bytes
    unsigned onlyBaud = 0;        // answer only when the host's line runs at this rate
};

struct SimulatorStats {
    int probes = 0; // "X" received at a rate the instrument answers
    int testsAnswered = 0;
    int startsAnswered = 0;
    int blocksSent = 0; // first sendings
    int blocksResent = 0;
    int downloadsCompleted = 0; // EOT acknowledged
};

// The Vireo instrument on the far end of a pseudo-terminal: "A" for "X", "000" echoed for
// "000", then the recording in 132-byte checksummed blocks on NAK and ACK, EOT at the end.
// Bytes go out at the line's real speed (baud / 10 a second, at the rate the host set)
// unless pacing is off. It serves until destroyed, any number of downloads in a row.
class InstrumentSimulator {
public:
    InstrumentSimulator(std::string recording, SimulatorFaults faults = {}, bool paced = true);
    ~InstrumentSimulator();
    InstrumentSimulator(const InstrumentSimulator&) = delete;
    InstrumentSimulator& operator=(const InstrumentSimulator&) = delete;

    // The terminal a host opens, e.g. /dev/pts/3.
    const std::string& DevicePath() const { return devicePath_; }
    SimulatorStats Stats() const;

    static constexpr uint8_t SOH = 0x01, EOT = 0x04, ACK = 0x06, NAK = 0x15;
    static constexpr uint8_t Padding = 0x1A; // fills the last block, as XMODEM senders do

private:
    void Serve();
    void Receive(uint8_t byte);
    void SendBlock(int number);
    void Send(const std::string& bytes);
    unsigned HostBaud() const;
    void HangUp();

    const std::string recording_;
    const SimulatorFaults faults_;
    const bool paced_;
    int master_ = -1;
    int slave_ = -1; // held open so that the line outlives the host's opens and closes
    int stopPipe_[2] = {-1, -1};
    std::string devicePath_;
    std::atomic<bool> stopping_{false};
    std::chrono::steady_clock::time_point lineFreeAt_{};

    // Protocol state, touched by the serving thread only.
    bool downloading_ = false;
    bool silent_ = false;
    int zeros_ = 0;
    int unanswered_ = 0;
    int block_ = 0; // the block last sent; 0 before the first
    bool eotSent_ = false;
    bool corrupted_ = false, truncated_ = false, zeroSent_ = false;

    mutable std::mutex statsLock_;
    SimulatorStats stats_;
    std::thread thread_;
};
