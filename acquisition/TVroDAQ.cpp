#include "acquisition/TVroDAQ.h"

#include "model/ErrorReport.h"
#include "serial/TAdvancedCom.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char EOT = 0x04, ACK = 0x06, NAK = 0x15;
constexpr size_t BlockSize = 132; // start of header, number, its complement, 128 data, sum
constexpr size_t DataSize = 128;
constexpr int Attempts = 5;

} // namespace

TVroDAQ::TVroDAQ(const DAQTimings& timings, QObject* parent)
    : QObject(parent), com_(std::make_unique<TAdvancedCom>()), timings_(timings) {
    thread_ = std::thread([this] { Execute(); });
}

TVroDAQ::~TVroDAQ() {
    Cancel();
    terminated_ = true;
    // Nobody is left to hear the events; a pause in progress is cut short too.
    synchronize_.Cancel();
    for (auto [lock, wake] :
         {std::pair{&requestLock_, &requestPosted_}, std::pair{&pauseLock_, &pauseEvent_},
          std::pair{&bufferLock_, &receiveEvent_}}) {
        std::lock_guard guard(*lock);
        wake->notify_all();
    }
    thread_.join();
    com_.reset();
}

bool TVroDAQ::TestPort(int port, int baud, bool repeat) {
    Kind expected = None;
    if (!kind_.compare_exchange_strong(expected, PortTest))
        return false;
    port_ = port;
    baud_ = baud;
    repeat_ = repeat;
    destination_ = nullptr;
    // A cancel that came after the last request's final wait must not end this one.
    cancel_ = false;
    std::lock_guard lock(requestLock_);
    newRequest_ = true;
    requestPosted_.notify_all();
    return true;
}

bool TVroDAQ::Download(int port, int baud, std::string* destination) {
    if (!destination)
        return false;
    Kind expected = None;
    if (!kind_.compare_exchange_strong(expected, DownloadRequest))
        return false;
    port_ = port;
    baud_ = baud;
    repeat_ = false;
    destination_ = destination;
    cancel_ = false;
    std::lock_guard lock(requestLock_);
    newRequest_ = true;
    requestPosted_.notify_all();
    return true;
}

void TVroDAQ::Cancel() {
    if (kind_ == None)
        return;
    // Wake the wait in progress rather than let it run out first.
    std::lock_guard lock(bufferLock_);
    cancel_ = true;
    receiveEvent_.notify_all();
}

void TVroDAQ::DoDownloadStat() {
    if (onDownloadStat_)
        onDownloadStat_(bytesReceived_, bytesTotal_, rate_);
}

void TVroDAQ::DoTestPortStat() {
    if (onTestPortStat_)
        onTestPortStat_(deviceFound_);
}

void TVroDAQ::DoRequestCompleted() {
    if (onRequestCompleted_)
        onRequestCompleted_(outcome_, errorCode_);
}

void TVroDAQ::Synchronize(void (TVroDAQ::*handler)()) {
    synchronize_.Run([this, handler] { (this->*handler)(); });
}

void TVroDAQ::Execute() {
    while (!terminated_) {
        {
            std::unique_lock lock(requestLock_);
            requestPosted_.wait_for(lock, std::chrono::milliseconds(100),
                                    [this] { return newRequest_ || terminated_; });
            if (!newRequest_ || terminated_)
                continue;
            newRequest_ = false;
        }
        RunRequest();
    }
}

void TVroDAQ::RunRequest() {
    errorCode_ = 0;
    OpenPort();
    if (!portOpen_) {
        outcome_ = ReqStat::rsFailed;
        errorCode_ = ErrorPortNotOpened;
    } else if (kind_ == PortTest) {
        do {
            try {
                TestOnce();
            } catch (const std::exception&) {
                deviceFound_ = false;
                outcome_ = ReqStat::rsFailed;
                errorCode_ = ErrorSendFailed;
            }
            Synchronize(&TVroDAQ::DoTestPortStat);
            if (repeat_)
                Pause(timings_.testRepeatPause);
        } while (repeat_ && outcome_ == ReqStat::rsOk && !terminated_);
        ClosePort();
    } else {
        try {
            RunDownload();
        } catch (const std::exception&) {
            // The protocol has no step for a send that fails. The caller must still hear how
            // the request ended; the abort pause is skipped, as nobody is left to hear it.
            destination_->clear();
            outcome_ = ReqStat::rsFailed;
            errorCode_ = ErrorSendFailed;
        }
        ClosePort();
    }
    kind_ = None; // the completion handler may post the next request
    Synchronize(&TVroDAQ::DoRequestCompleted);
}

void TVroDAQ::OpenPort() {
    if (portOpen_)
        ClosePort();
    com_->SetPort(static_cast<unsigned>(port_));
    com_->SetBaud(static_cast<unsigned>(baud_));
    com_->SetDataBits(8);
    com_->SetParity(TParity::none);
    com_->SetStopBits(TStopBits::s1);
    com_->SetDtrControl(TDtrControl::dtrDisable);
    com_->SetRtsControl(TRtsControl::rtsDisable);
    com_->SetPacketSize(64);
    com_->SetBufSize(1024);
    com_->SetOnPacketReceived([this](TComThread*, std::string& chunk) { PacketReceived(chunk); });
    com_->ComInit();
    portOpen_ = com_->PortReady();
}

void TVroDAQ::ClosePort() {
    if (!portOpen_)
        return;
    com_->ComClose();
    portOpen_ = false;
}

void TVroDAQ::PacketReceived(const std::string& chunk) {
    std::lock_guard lock(bufferLock_);
    receiveBuffer_ += chunk;
    received_ = true;
    receiveEvent_.notify_all();
}

void TVroDAQ::ClearReceiveBuffer() {
    std::lock_guard lock(bufferLock_);
    receiveBuffer_.clear();
}

void TVroDAQ::Pause(int ms) {
    std::unique_lock lock(pauseLock_);
    pauseEvent_.wait_for(lock, std::chrono::milliseconds(ms),
                         [this] { return terminated_.load(); });
}

int TVroDAQ::WaitForData(int timeoutMs, const std::function<bool(std::string&)>& condition) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::unique_lock lock(bufferLock_);
    for (;;) {
        if (cancel_.exchange(false))
            return 2;
        // Looked at before waiting as well: what arrived while the engine was busy (the
        // next block, after an ACK) counts, and one wake-up may stand for several chunks.
        if (condition(receiveBuffer_))
            return 0;
        if (!receiveEvent_.wait_until(lock, deadline, [this] { return received_ || cancel_; }))
            return cancel_.exchange(false) ? 2 : 1;
        received_ = false;
    }
}

int TVroDAQ::WaitForPattern(int timeoutMs, const std::string& pattern) {
    return WaitForData(timeoutMs, [&pattern](std::string& buffer) {
        const size_t at = buffer.find(pattern);
        if (at == std::string::npos)
            return false;
        buffer.erase(0, at + pattern.size());
        return true;
    });
}

int TVroDAQ::WaitForLength(int timeoutMs, size_t length) {
    return WaitForData(timeoutMs,
                       [length](std::string& buffer) { return buffer.size() >= length; });
}

void TVroDAQ::Send(const std::string& bytes) {
    com_->Write(bytes);
}

void TVroDAQ::TestOnce() {
    deviceFound_ = false;
    for (int attempt = 0; attempt < Attempts && !deviceFound_; ++attempt) {
        ClearReceiveBuffer();
        Send("X");
        const int result = WaitForPattern(timings_.testReply, "A");
        if (result == 0) {
            deviceFound_ = true;
        } else if (result == 1) {
            Pause(timings_.testRetryPause);
        } else {
            outcome_ = ReqStat::rsCancelled;
            return;
        }
    }
    outcome_ = ReqStat::rsOk;
}

void TVroDAQ::RunDownload() {
    std::string& destination = *destination_;
    bytesReceived_ = bytesTotal_ = 0;
    rate_ = 0;
    destination.clear();
    ClearReceiveBuffer();

    bool answered = false;
    for (int attempt = 0; attempt < Attempts && !answered; ++attempt) {
        Pause(timings_.startPause);
        Send("000");
        const int result = WaitForPattern(timings_.startReply, "000");
        if (result == 2) {
            Abort();
            outcome_ = ReqStat::rsCancelled;
            return;
        }
        answered = result == 0;
    }
    if (!answered) {
        Abort();
        errorCode_ = ErrorNoStartAnswer;
        outcome_ = ReqStat::rsFailed;
        return;
    }

    destination.clear();
    bool endOfTransfer = false;
    int failures = 0;
    startTime_ = std::chrono::steady_clock::now();
    // The buffer is cleared before every ACK or NAK, never after: the instrument may answer
    // before the engine is ready to wait, and that answer must not be thrown away.
    ClearReceiveBuffer();
    Send(std::string(1, NAK));
    while (!endOfTransfer && failures < Attempts) {
        const int result = ReceiveBlock(failures > 0, endOfTransfer);
        if (result == 0) {
            bytesReceived_ = static_cast<int>(destination.size());
            if (bytesTotal_ == 0 && destination.size() >= 4) {
                int32_t total = 0;
                std::memcpy(&total, destination.data(), sizeof total); // little-endian
                bytesTotal_ = total;
            }
            const std::chrono::duration<double, std::milli> elapsed =
                std::chrono::steady_clock::now() - startTime_;
            // Within the first millisecond the rate is taken over one millisecond.
            rate_ = static_cast<float>(bytesReceived_ / std::max(elapsed.count(), 1.0));
            failures = 0;
            ClearReceiveBuffer();
            Send(std::string(1, ACK));
            Synchronize(&TVroDAQ::DoDownloadStat);
        } else if (result == 1) {
            ++failures;
            Pause(timings_.failurePause);
            ClearReceiveBuffer();
            Send(std::string(1, NAK));
        } else {
            Abort();
            outcome_ = ReqStat::rsCancelled;
            return;
        }
    }
    if (!endOfTransfer) {
        Abort();
        errorCode_ = ErrorTransferInterrupted;
        outcome_ = ReqStat::rsFailed;
    } else {
        outcome_ = ReqStat::rsOk;
    }
}

int TVroDAQ::ReceiveBlock(bool retry, bool& endOfTransfer) {
    if (const int result = WaitForLength(timings_.blockWait, 1))
        return result;
    {
        std::lock_guard lock(bufferLock_);
        if (receiveBuffer_[0] == EOT) {
            endOfTransfer = true;
            return 0;
        }
    }
    if (const int result = WaitForLength(timings_.blockWait, BlockSize))
        return result;
    std::lock_guard lock(bufferLock_);
    const auto* block = reinterpret_cast<const uint8_t*>(receiveBuffer_.data());
    uint8_t sum = 0;
    for (size_t i = 3; i < 3 + DataSize; ++i)
        sum = static_cast<uint8_t>(sum + block[i]);
    const uint8_t checksum = block[BlockSize - 1];
    // On a retry the instrument may send the block with checksum 0; it is then taken
    // without its sum being compared.
    if (sum != checksum && !(retry && checksum == 0))
        return 1;
    // Exactly the data bytes: anything after the block is line noise, not recording.
    destination_->append(receiveBuffer_, 3, DataSize);
    receiveBuffer_.erase(0, BlockSize);
    return 0;
}

void TVroDAQ::Abort() {
    Pause(timings_.abortPause);
    destination_->clear();
}
