#pragma once

#include "serial/MainThreadCall.h"

#include <QObject>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class TAdvancedCom;
class TComThread;

// The ports and rates the program offers; callers keep indexes into these tables.
inline constexpr std::array<int, 4> PortNumbers{1, 2, 3, 4};
inline constexpr std::array<int, 3> BaudRates{9600, 19200, 38400};

enum class ReqStat : uint8_t { rsOk, rsFailed, rsCancelled };

// The error code reported with rsFailed.
enum DAQError : int {
    ErrorPortNotOpened = 1,
    ErrorNoStartAnswer = 2,
    ErrorDataCorrupted = 3, // known to the Download window; the engine does not report it
    ErrorTransferInterrupted = 4,
    // A send failed: the port or its adapter went away, or the line took nothing for five
    // seconds. The Download window shows it as "Other error.".
    ErrorSendFailed = 5,
};

// The protocol's waits and pauses in milliseconds. The defaults are the instrument's; tests
// shorten them.
struct DAQTimings {
    int testReply = 100;
    int testRetryPause = 50;
    int testRepeatPause = 1000;
    int startPause = 400;
    int startReply = 100;
    int blockWait = 3000; // for the first byte of a block, and again for the whole block
    int failurePause = 100;
    int abortPause = 5000;
};

// The engine that talks to the Vireo instrument on a thread of its own. The main thread posts
// one request at a time (a port test or a download) and hears back through the three events,
// which always run in the main thread, the engine waiting until each handler has returned.
// OnRequestCompleted ends every request, whatever happened. The main thread must keep
// processing events while a request runs (the serial data reaches the engine through it).
class TVroDAQ : public QObject {
public:
    using TDownloadStatEvent = std::function<void(int bytesReceived, int bytesTotal, float rate)>;
    using TTestPortStatEvent = std::function<void(bool found)>;
    using TRequestCompletedEvent = std::function<void(ReqStat outcome, int errorCode)>;

    explicit TVroDAQ(const DAQTimings& timings = {}, QObject* parent = nullptr);
    // Cancels what runs and waits for the engine; no handler runs from then on.
    ~TVroDAQ() override;

    // Both refuse (false, nothing changes) while another request is posted or running.
    // port and baud are values (2, 19200), not indexes.
    bool TestPort(int port, int baud, bool repeat);
    // destination receives the data; the caller keeps it alive until OnRequestCompleted.
    bool Download(int port, int baud, std::string* destination);
    // Seen at the engine's next wait for data.
    void Cancel();

    void SetOnDownloadStat(TDownloadStatEvent handler) { onDownloadStat_ = std::move(handler); }
    void SetOnTestPortStat(TTestPortStatEvent handler) { onTestPortStat_ = std::move(handler); }
    void SetOnRequestCompleted(TRequestCompletedEvent handler) {
        onRequestCompleted_ = std::move(handler);
    }

    bool Busy() const { return kind_ != None; }
    bool DeviceFound() const { return deviceFound_; }
    int BytesReceived() const { return bytesReceived_; }
    int BytesTotal() const { return bytesTotal_; }
    // Bytes per millisecond since the block phase began.
    float Rate() const { return rate_; }
    ReqStat Outcome() const { return outcome_; }
    int ErrorCode() const { return errorCode_; }
    const DAQTimings& Timings() const { return timings_; }

protected:
    virtual void DoDownloadStat();
    virtual void DoTestPortStat();
    virtual void DoRequestCompleted();

private:
    enum Kind : uint8_t { None, PortTest, DownloadRequest };

    void Execute();
    void RunRequest();
    void OpenPort();
    void ClosePort();
    void PacketReceived(const std::string& chunk);
    void ClearReceiveBuffer();
    void Pause(int ms);
    // 0 met, 1 timed out, 2 cancelled.
    int WaitForData(int timeoutMs, const std::function<bool(std::string&)>& condition);
    int WaitForPattern(int timeoutMs, const std::string& pattern);
    int WaitForLength(int timeoutMs, size_t length);
    void Send(const std::string& bytes);
    void TestOnce();
    void RunDownload();
    int ReceiveBlock(bool retry, bool& endOfTransfer);
    void Abort();
    void Synchronize(void (TVroDAQ::*handler)());

    std::atomic<Kind> kind_{None};
    std::mutex requestLock_;
    std::condition_variable requestPosted_;
    bool newRequest_ = false;
    std::atomic<ReqStat> outcome_{ReqStat::rsOk};
    std::atomic<int> errorCode_{0};
    std::atomic<bool> cancel_{false};
    std::atomic<bool> repeat_{false};
    std::string* destination_ = nullptr;
    std::chrono::steady_clock::time_point startTime_;
    std::atomic<bool> deviceFound_{false};
    std::atomic<int> bytesReceived_{0};
    std::atomic<int> bytesTotal_{0};
    std::atomic<float> rate_{0};
    TDownloadStatEvent onDownloadStat_;
    TTestPortStatEvent onTestPortStat_;
    TRequestCompletedEvent onRequestCompleted_;
    bool portOpen_ = false;
    std::unique_ptr<TAdvancedCom> com_;
    int port_ = 0;
    int baud_ = 0;
    std::mutex bufferLock_; // guards the receive buffer and the receive event
    std::condition_variable receiveEvent_;
    bool received_ = false;
    std::string receiveBuffer_;
    std::mutex pauseLock_;
    std::condition_variable pauseEvent_;
    std::atomic<bool> terminated_{false};
    const DAQTimings timings_;
    MainThreadCall synchronize_{this};
    std::thread thread_;
};
