#include "acquisition/DeviceScan.h"

#include <QEventLoop>

DeviceScan::DeviceScan(const DAQTimings& timings, int tickMs, QObject* parent)
    : QObject(parent), engine_(std::make_unique<TVroDAQ>(timings)) {
    results_.fill(-1);
    engine_->SetOnTestPortStat([this](bool found) { lastFound_ = found; });
    engine_->SetOnRequestCompleted([this](ReqStat outcome, int) { RequestCompleted(outcome); });
    timer_.setInterval(tickMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

DeviceScan::~DeviceScan() {
    timer_.stop();
    engine_.reset();
}

void DeviceScan::BeginManual(int portIndex, int baudIndex) {
    portIndex_ = portIndex;
    baudIndex_ = baudIndex;
    manual_ = true;
    Start();
}

void DeviceScan::BeginAutoscan() {
    baudIndex_ = static_cast<int>(BaudRates.size()) - 1;
    portIndex_ = 0;
    manual_ = false;
    Start();
}

void DeviceScan::Start() {
    foundCount_ = 0;
    done_ = false;
    finished_ = false;
    ready_ = true;
    posted_ = false;
    results_.fill(-1);
    timer_.start();
}

void DeviceScan::Tick() {
    if (!ready_)
        return;
    ready_ = false;
    if (done_) {
        Finish();
        return;
    }
    const int port = PortNumbers[static_cast<size_t>(portIndex_)];
    const int baud = BaudRates[static_cast<size_t>(baudIndex_)];
    // Still busy with a test from a start that was stopped: try again at the next tick.
    posted_ = engine_->TestPort(port, baud, false);
    if (!posted_)
        ready_ = true;
    else if (onTestPosted_)
        onTestPosted_(port, baud);
}

void DeviceScan::Stop() {
    if (!finished_)
        Finish();
}

void DeviceScan::Finish() {
    timer_.stop();
    finished_ = true;
    if (onFinished_)
        onFinished_();
}

void DeviceScan::RequestCompleted(ReqStat outcome) {
    // The end of a test that a stopped start left running says nothing about this start.
    if (!posted_)
        return;
    posted_ = false;
    ready_ = true;
    if (outcome != ReqStat::rsOk) {
        baudIndex_ = -1; // the port did not open: no other rate will do better
    } else if (lastFound_) {
        results_[static_cast<size_t>(portIndex_)] = baudIndex_;
        ++foundCount_;
        baudIndex_ = -1;
    } else {
        --baudIndex_;
    }
    if (baudIndex_ < 0) {
        ++portIndex_;
        baudIndex_ = static_cast<int>(BaudRates.size()) - 1;
    }
    if (portIndex_ >= static_cast<int>(PortNumbers.size()) || manual_)
        done_ = true;
}

void DeviceScan::RunUntilDone() {
    QEventLoop loop;
    auto previous = onFinished_;
    onFinished_ = [&loop, previous] {
        if (previous)
            previous();
        loop.quit();
    };
    if (!finished_)
        loop.exec();
    onFinished_ = previous;
}

void DeviceScan::StartManual(int portIndex, int baudIndex) {
    BeginManual(portIndex, baudIndex);
    RunUntilDone();
}

void DeviceScan::StartAutoscan() {
    BeginAutoscan();
    RunUntilDone();
}

std::optional<ScanFinding> DeviceScan::Locate(int portIndex, int baudIndex, bool autoscan) {
    StartManual(portIndex, baudIndex);
    if (foundCount_ == 0 && autoscan)
        StartAutoscan();
    return LowestFound();
}

std::optional<ScanFinding> DeviceScan::LowestFound() const {
    for (size_t i = 0; i < results_.size(); ++i)
        if (results_[i] != -1)
            return ScanFinding{static_cast<int>(i), results_[i]};
    return std::nullopt;
}
