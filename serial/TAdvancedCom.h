#pragma once

#include "serial/TComThread.h"

enum class TDtrControl : uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum class TRtsControl : uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };

// Runs in the main thread with the modem input lines after one of them changed.
using TStatusEvent =
    std::function<void(TComThread* sender, bool ctsOn, bool dsrOn, bool ringOn, bool rlsdOn)>;

// The last reported states of the four modem input lines.
struct ModemLines {
    bool cts = false, dsr = false, ring = false, rlsd = false;

    void Set(int status);
    bool AnyOn() const { return cts || dsr || ring || rlsd; }
    // One report per change: the lines are compared in the order CTS, DSR, ring, RLSD and
    // stored up to the first that changed; later lines wait for the next pass. True when a
    // line changed.
    bool Step(int status);
};

// A TComport that also watches the modem status after every read.
class TAdvComport : public TComport {
public:
    TAdvComport(TComThread* sender, SerialDevice& device, unsigned packetSize, TPacketEvent handler,
                TStatusEvent onStatusChanged, MainThreadCall& synchronize);
    ~TAdvComport() override;

protected:
    void Execute() override;
    bool ReadLoop() override;
    virtual void DeliverStatus();

    ModemLines lines_;
    TStatusEvent onStatusChanged_;
};

// A TComThread that drives the DTR and RTS lines and reports modem-status changes.
class TAdvancedCom : public TComThread {
public:
    explicit TAdvancedCom(QObject* owner = nullptr);
    ~TAdvancedCom() override;

    TDtrControl DtrControl() const { return dtrControl_; }
    virtual void SetDtrControl(TDtrControl value);
    TRtsControl RtsControl() const { return rtsControl_; }
    virtual void SetRtsControl(TRtsControl value);
    const TStatusEvent& OnStatusChanged() const { return onStatusChanged_; }
    void SetOnStatusChanged(TStatusEvent handler) { onStatusChanged_ = std::move(handler); }

    virtual void SetDtr(bool on);
    virtual void SetRts(bool on);

    void SetupThread() override;
    void SetupState() override;

private:
    std::atomic<TDtrControl> dtrControl_{TDtrControl::dtrEnable};
    std::atomic<TRtsControl> rtsControl_{TRtsControl::rtsToggle};
    TStatusEvent onStatusChanged_;
};
