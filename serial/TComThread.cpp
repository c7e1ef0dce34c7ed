#include "serial/TComThread.h"

#include "model/ErrorReport.h"
#include "serial/ComPortMap.h"

#include <QCoreApplication>
#include <QThread>

#include <system_error>

TComport::TComport(TComThread* sender, SerialDevice& device, unsigned packetSize,
                   TPacketEvent handler, MainThreadCall& synchronize)
    : sender_(sender), device_(device), buffer_(packetSize + 1), packetSize_(packetSize),
      onPacketReceived_(std::move(handler)), synchronize_(synchronize) {}

TComport::~TComport() {
    Stop();
}

void TComport::Stop() {
    Terminate();
    if (thread_.joinable())
        thread_.join();
}

void TComport::Start() {
    thread_ = std::thread([this] { Body(); });
}

void TComport::Terminate() {
    terminated_ = true;
    device_.Interrupt();
    synchronize_.Cancel();
}

bool TComport::WaitEnded(int ms) {
    std::unique_lock lock(endLock_);
    return ended_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return finished_; });
}

void TComport::Body() {
    running_ = true;
    try {
        Execute();
    } catch (const std::exception& e) {
        sender_->RecordFailure(e.what());
    }
    // Cleared on every way out, a failed read included, so that closing always completes.
    running_ = false;
    std::lock_guard lock(endLock_);
    finished_ = true;
    ended_.notify_all();
}

void TComport::Execute() {
    while (!Terminated() && ReadLoop()) {
    }
}

bool TComport::ReadLoop() {
    size_t received = 0;
    const int error = device_.Read(buffer_.data(), packetSize_, sender_->ReadTimeoutMs(), received);
    if (error) {
        sender_->RecordFailure("Read Error: " + std::to_string(error));
        return false;
    }
    if (received > 0) {
        StorePacket(received);
        if (!Terminated())
            DeliverPacket();
    }
    return true;
}

void TComport::StorePacket(size_t count) {
    packet_.assign(buffer_.data(), count);
}

void TComport::DeliverPacket() {
    if (!onPacketReceived_)
        return;
    // Copies, so that a delivery still queued when the reader is gone stays harmless.
    Synchronize([handler = onPacketReceived_, sender = sender_, packet = packet_]() mutable {
        handler(sender, packet);
    });
}

TComThread::TComThread(QObject* owner) : QObject(owner) {}

TComThread::~TComThread() {
    ComClose();
}

void TComThread::SetBufSize(unsigned value) {
    bufSize_ = value;
    SetupBuffers();
}

void TComThread::SetBaud(unsigned value) {
    baud_ = value;
    SetupState();
}

static const char InvalidStopBits[] =
    "1.5 Stop Bits with 6,7, or 8 Data Bits is an invalid combination";

void TComThread::SetDataBits(unsigned value) {
    if (value > 5 && stopBits_ == TStopBits::s1_5)
        Raise(InvalidStopBits);
    dataBits_ = value;
    SetupState();
}

void TComThread::SetParity(TParity value) {
    parity_ = value;
    SetupState();
}

void TComThread::SetStopBits(TStopBits value) {
    if (value == TStopBits::s1_5 && dataBits_ > 5)
        Raise(InvalidStopBits);
    stopBits_ = value;
    SetupState();
}

void TComThread::SetPort(unsigned value) {
    if (worker_)
        Raise("Port can only be set before ComInit()!");
    port_ = value;
}

void TComThread::SetPacketSize(unsigned value) {
    if (worker_)
        Raise("Packet Size can only be set before ComInit()!");
    packetSize_ = value;
}

void TComThread::SetTimeout(unsigned value) {
    timeout_ = value;
    SetupTimeouts();
}

std::string TComThread::ErrorText() const {
    std::lock_guard lock(errorLock_);
    return errorText_;
}

void TComThread::RecordFailure(const std::string& message) {
    std::lock_guard lock(errorLock_);
    errorText_ = message;
}

int TComThread::ReadTimeoutMs() const {
    // The Windows driver's total read limit with our interval settings: (T/10 + 1) per byte
    // requested plus T.
    const unsigned t = timeout_;
    return static_cast<int>((t / 10 + 1) * packetSize_ + t);
}

void TComThread::ComInit() {
    ComClose();
    InitPort();
    SetupThread();
}

void TComThread::InitPort() {
    try {
        if (device_.Open(ComDevicePath(port_)) != 0)
            Raise("Comport Unavailable.");
        SetupState();
        SetupTimeouts();
        SetupBuffers();
        portReady_ = true;
    } catch (const VroError& e) {
        device_.Close();
        RecordFailure(e.what());
        portReady_ = false;
    }
}

void TComThread::SetupThread() {
    if (!device_.IsOpen())
        return;
    StartWorker(
        std::make_unique<TComport>(this, device_, packetSize_, onPacketReceived_, synchronize_));
}

void TComThread::StartWorker(std::unique_ptr<TComport> worker) {
    synchronize_.Reset();
    worker_ = std::move(worker);
    worker_->Start();
}

void TComThread::SetupState() {
    if (!device_.IsOpen())
        return;
    termios state{};
    if (const int error = device_.ReadState(state)) {
        ShowError("GetLastError", std::generic_category().message(error));
        Raise("GetCommState Failed.");
    }
    if (!SerialDevice::SetLine(state, baud_, dataBits_, static_cast<int>(parity_.load()),
                               static_cast<int>(stopBits_.load())) ||
        device_.WriteState(state) != 0)
        Raise("SetCommState Failed.");
}

// Reads take their limit from Timeout at every request (ReadTimeoutMs), so a new value
// applies from the next read on; there is nothing to hand to the driver.
void TComThread::SetupTimeouts() {}

// The terminal driver's queues have a fixed size; BufSize is kept for the callers that set
// it and has nothing to change here.
void TComThread::SetupBuffers() {}

void TComThread::ComClose() {
    if (!worker_)
        return;
    worker_->Terminate();
    // In the main thread, keep its events flowing: the reader may be waiting on a delivery.
    const bool mainThread = QCoreApplication::instance() && QThread::currentThread() == thread();
    while (!worker_->WaitEnded(mainThread ? 5 : 100))
        if (mainThread)
            QCoreApplication::processEvents();
    worker_.reset();
    device_.Close();
}

void TComThread::Write(const char* bytes, int count) {
    if (!worker_) {
        portReady_ = false;
        RecordFailure("Com not initialized.");
        return;
    }
    if (count < 1)
        return;
    if (const int error = device_.Write(bytes, static_cast<size_t>(count)))
        Raise("Send Error: " + std::to_string(error));
}

void TComThread::Write(const std::string& bytes) {
    Write(bytes.data(), static_cast<int>(bytes.size()));
}

void TComThread::Purge() {
    device_.Purge();
}
