#include "serial/TAdvancedCom.h"

#include "model/ErrorReport.h"

#include <sys/ioctl.h>

void ModemLines::Set(int status) {
    cts = status & TIOCM_CTS;
    dsr = status & TIOCM_DSR;
    ring = status & TIOCM_RNG;
    rlsd = status & TIOCM_CAR;
}

bool ModemLines::Step(int status) {
    const std::pair<bool*, bool> lines[] = {{&cts, (status & TIOCM_CTS) != 0},
                                            {&dsr, (status & TIOCM_DSR) != 0},
                                            {&ring, (status & TIOCM_RNG) != 0},
                                            {&rlsd, (status & TIOCM_CAR) != 0}};
    for (const auto& [stored, now] : lines)
        if (*stored != now) {
            *stored = now;
            return true;
        }
    return false;
}

TAdvComport::TAdvComport(TComThread* sender, SerialDevice& device, unsigned packetSize,
                         TPacketEvent handler, TStatusEvent onStatusChanged,
                         MainThreadCall& synchronize)
    : TComport(sender, device, packetSize, std::move(handler), synchronize),
      onStatusChanged_(std::move(onStatusChanged)) {}

TAdvComport::~TAdvComport() {
    Stop();
}

void TAdvComport::Execute() {
    int status = 0;
    if (device_.ModemStatus(status) == 0) {
        lines_.Set(status);
        // Only lines that are on are worth an initial report.
        if (lines_.AnyOn() && !Terminated())
            DeliverStatus();
    }
    TComport::Execute();
}

bool TAdvComport::ReadLoop() {
    if (!TComport::ReadLoop())
        return false;
    int status = 0;
    // A device without modem lines fails the status read: nothing to watch then.
    if (onStatusChanged_ && device_.ModemStatus(status) == 0 && lines_.Step(status) &&
        !Terminated())
        DeliverStatus();
    return true;
}

void TAdvComport::DeliverStatus() {
    if (!onStatusChanged_)
        return;
    Synchronize([handler = onStatusChanged_, sender = sender_, lines = lines_] {
        handler(sender, lines.cts, lines.dsr, lines.ring, lines.rlsd);
    });
}

TAdvancedCom::TAdvancedCom(QObject* owner) : TComThread(owner) {}

TAdvancedCom::~TAdvancedCom() {
    ComClose();
}

void TAdvancedCom::SetDtrControl(TDtrControl value) {
    dtrControl_ = value;
    SetupState();
}

void TAdvancedCom::SetRtsControl(TRtsControl value) {
    rtsControl_ = value;
    SetupState();
}

void TAdvancedCom::SetDtr(bool on) {
    if (!HasWorker())
        Raise("Initialize port before setting DTR");
    if (dtrControl_ == TDtrControl::dtrHandshake)
        Raise("Can't set DTR when DtrControl is dtrHandshake");
    // Like the Windows call it stands for, the result is not examined: a pseudo-terminal
    // has no modem lines to set.
    device_.SetModemLines(TIOCM_DTR, on);
}

void TAdvancedCom::SetRts(bool on) {
    if (!HasWorker())
        Raise("Initialize port before setting RTS");
    if (rtsControl_ == TRtsControl::rtsHandshake)
        Raise("Can't set RTS when RtsControl is rtsHandshake");
    device_.SetModemLines(TIOCM_RTS, on);
}

void TAdvancedCom::SetupThread() {
    if (!device_.IsOpen())
        return;
    StartWorker(std::make_unique<TAdvComport>(this, device_, PacketSize(), OnPacketReceived(),
                                              onStatusChanged_, synchronize_));
}

void TAdvancedCom::SetupState() {
    if (!device_.IsOpen())
        return;
    termios state{};
    if (device_.ReadState(state) != 0)
        Raise("GetCommState Failed.");
    if (!SerialDevice::SetLine(state, Baud(), DataBits(), static_cast<int>(Parity()),
                               static_cast<int>(StopBits())))
        Raise("SetCommState Failed.");
    const TRtsControl rts = rtsControl_;
    if (rts == TRtsControl::rtsHandshake)
        state.c_cflag |= CRTSCTS;
    else
        state.c_cflag &= ~CRTSCTS;
    if (device_.WriteState(state) != 0)
        Raise("SetCommState Failed.");
    // Terminals have no DTR handshake; in that mode DTR is simply held on.
    device_.SetModemLines(TIOCM_DTR, dtrControl_ != TDtrControl::dtrDisable);
    device_.SetModemLines(TIOCM_RTS,
                          rts == TRtsControl::rtsEnable || rts == TRtsControl::rtsHandshake);
    device_.SetRtsToggle(rts == TRtsControl::rtsToggle);
}
