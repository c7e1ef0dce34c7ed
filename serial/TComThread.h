#pragma once

#include "serial/MainThreadCall.h"
#include "serial/SerialDevice.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

enum class TParity : uint8_t { none, odd, even, mark, space };
enum class TStopBits : uint8_t { s1, s1_5, s2 };

class TComThread;

// Runs in the main thread with each chunk the port received; buffer holds exactly its bytes.
using TPacketEvent = std::function<void(TComThread* sender, std::string& buffer)>;

// The reader of a TComThread's port. It reads continuously and hands every non-empty chunk to
// the main thread, waiting until the handler has run before it reads again.
class TComport {
public:
    TComport(TComThread* sender, SerialDevice& device, unsigned packetSize, TPacketEvent handler,
             MainThreadCall& synchronize);
    virtual ~TComport(); // Stop
    TComport(const TComport&) = delete;
    TComport& operator=(const TComport&) = delete;

    void Start();
    // Also wakes a read in progress and gives up a delivery the main thread has not run.
    void Terminate();
    bool Terminated() const { return terminated_; }
    bool Running() const { return running_; }
    // Waits up to ms for the thread to end; true when it has.
    bool WaitEnded(int ms);
    // Terminate and wait for the thread. A derived worker calls it in its own destructor,
    // since the thread runs the derived overrides.
    void Stop();

protected:
    virtual void Execute();
    // One read request and its delivery; false when the read failed and reading must stop.
    virtual bool ReadLoop();
    void StorePacket(size_t count);
    virtual void DeliverPacket();
    bool Synchronize(std::function<void()> fn) { return synchronize_.Run(std::move(fn)); }

    std::string packet_;
    TComThread* sender_;
    SerialDevice& device_;
    std::vector<char> buffer_;
    unsigned packetSize_;
    TPacketEvent onPacketReceived_;

private:
    void Body();

    MainThreadCall& synchronize_;
    std::atomic<bool> running_{false};
    std::atomic<bool> terminated_{false};
    std::mutex endLock_;
    std::condition_variable ended_;
    bool finished_ = false;
    std::thread thread_;
};

// A serial port with a reader thread that delivers what arrives to the main thread. Configure
// it through the properties, open it with ComInit (which records rather than raises its
// failure: read PortReady and ErrorText afterwards) and close it with ComClose. The port
// number is mapped to a device by ComDevicePath.
class TComThread : public QObject {
public:
    explicit TComThread(QObject* owner = nullptr);
    ~TComThread() override;

    unsigned BufSize() const { return bufSize_; }
    virtual void SetBufSize(unsigned value);
    unsigned Baud() const { return baud_; }
    virtual void SetBaud(unsigned value);
    unsigned DataBits() const { return dataBits_; }
    virtual void SetDataBits(unsigned value);
    TParity Parity() const { return parity_; }
    virtual void SetParity(TParity value);
    TStopBits StopBits() const { return stopBits_; }
    virtual void SetStopBits(TStopBits value);
    unsigned Port() const { return port_; }
    virtual void SetPort(unsigned value);
    unsigned PacketSize() const { return packetSize_; }
    virtual void SetPacketSize(unsigned value);
    unsigned Timeout() const { return timeout_; }
    virtual void SetTimeout(unsigned value);
    const TPacketEvent& OnPacketReceived() const { return onPacketReceived_; }
    void SetOnPacketReceived(TPacketEvent handler) { onPacketReceived_ = std::move(handler); }

    bool PortReady() const { return portReady_; }
    std::string ErrorText() const;

    void ComInit();
    // Safe when nothing is open. Called in the main thread it keeps the event loop turning
    // while it waits for the reader.
    void ComClose();
    void InitPort();
    virtual void SetupThread();
    virtual void SetupState();
    virtual void SetupTimeouts();
    virtual void SetupBuffers();

    // Blocks until the bytes are out; any thread may write while the reader runs.
    void Write(const char* bytes, int count);
    void Write(const std::string& bytes);
    void Purge();

    // How long one read request may wait for its first byte.
    int ReadTimeoutMs() const;
    // A failure of the reader thread; the reader stops after it.
    void RecordFailure(const std::string& message);

protected:
    bool HasWorker() const { return worker_ != nullptr; }
    void StartWorker(std::unique_ptr<TComport> worker);

    SerialDevice device_;
    MainThreadCall synchronize_{this};
    std::unique_ptr<TComport> worker_;

private:
    std::atomic<bool> portReady_{false};
    mutable std::mutex errorLock_;
    std::string errorText_;
    std::atomic<unsigned> packetSize_{80};
    std::atomic<unsigned> baud_{19200};
    std::atomic<unsigned> dataBits_{8};
    std::atomic<TParity> parity_{TParity::none};
    std::atomic<TStopBits> stopBits_{TStopBits::s1};
    std::atomic<unsigned> bufSize_{128};
    std::atomic<unsigned> port_{1};
    std::atomic<unsigned> timeout_{100};
    TPacketEvent onPacketReceived_;
};
