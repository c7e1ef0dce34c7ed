#pragma once

#include "acquisition/TVroDAQ.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

// Where an instrument answered: indexes into PortNumbers and BaudRates.
struct ScanFinding {
    int portIndex = 0;
    int baudIndex = 0;
};

// The search for the instrument, one port test at a time on an engine of its own: a single
// test of one port and rate, or an autoscan of every port from the highest rate down, giving
// up a port at its first answering rate or when it cannot be opened. A test is posted at the
// first tick after the previous one ended (the scan window ticks every 500 ms).
class DeviceScan : public QObject {
public:
    explicit DeviceScan(const DAQTimings& timings = {}, int tickMs = 500,
                        QObject* parent = nullptr);
    ~DeviceScan() override;

    // Start and return at once; OnFinished runs in the main thread when done.
    void BeginManual(int portIndex, int baudIndex);
    void BeginAutoscan();
    // Ends the current start at once with the findings so far (the window's close box); a
    // test still running completes afterwards and only updates the findings.
    void Stop();
    bool Done() const { return finished_; }

    // Start and return when done, running the event loop meanwhile.
    void StartManual(int portIndex, int baudIndex);
    void StartAutoscan();
    // As the New Recording dialog looks: the given pair, then, when that finds nothing and
    // autoscan is on, every port; the lowest port found, if any.
    std::optional<ScanFinding> Locate(int portIndex, int baudIndex, bool autoscan);

    // Per port: the index of the rate at which an instrument answered, or -1.
    const std::array<int, PortNumbers.size()>& Results() const { return results_; }
    int FoundCount() const { return foundCount_; }
    std::optional<ScanFinding> LowestFound() const;

    // Runs as each test is posted, with the port number and the rate (for the status line).
    void SetOnTestPosted(std::function<void(int port, int baud)> handler) {
        onTestPosted_ = std::move(handler);
    }
    void SetOnFinished(std::function<void()> handler) { onFinished_ = std::move(handler); }

private:
    void Start();
    void Tick();
    void Finish();
    void RequestCompleted(ReqStat outcome);
    void RunUntilDone();

    std::array<int, PortNumbers.size()> results_;
    int foundCount_ = 0;
    QTimer timer_;
    std::unique_ptr<TVroDAQ> engine_;
    int portIndex_ = 0;
    int baudIndex_ = 0;
    bool ready_ = false;
    bool posted_ = false; // the engine runs a test of the current start
    bool lastFound_ = false;
    bool manual_ = false;
    bool done_ = false;
    bool finished_ = true;
    std::function<void(int, int)> onTestPosted_;
    std::function<void()> onFinished_;
};
