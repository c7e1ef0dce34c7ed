#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <termios.h>

// One serial device opened the POSIX way: exclusive, raw 8-bit, non-blocking underneath with
// poll() giving reads their time limits. Every call returns 0 or an errno value, so that the
// component above decides what is raised and what is only recorded.
class SerialDevice {
public:
    SerialDevice();
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Refuses a device that another program holds (TIOCEXCL, or an flock() of its own).
    int Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    int ReadState(termios& state) const;
    int WriteState(const termios& state) const;
    // Fills the line fields of a state read with ReadState. Returns false for a baud rate the
    // terminal interface has no code for, or a data-bits value outside 5 to 8.
    static bool SetLine(termios& state, unsigned baud, unsigned dataBits, int parity, int stopBits);
    static unsigned Baud(const termios& state);

    // Waits up to timeoutMs for the first byte, then returns at once with what has arrived
    // (at most size bytes): data is never held back to fill the request. 0 bytes means the
    // time ran out or Interrupt() was called. A hang-up is an error (EIO).
    int Read(char* buffer, size_t size, int timeoutMs, size_t& received);
    // Makes a Read in progress, and every later one, return at once until the next Open.
    void Interrupt();

    // Blocks until every byte is handed to the driver (in RTS toggle mode: until it has left).
    // A line that takes nothing for stallMs is reported as ETIMEDOUT rather than hanging the
    // caller.
    int Write(const char* bytes, size_t count, int stallMs = 5000);
    int Purge();

    // TIOCM_* bits. A device without modem lines (a pseudo-terminal) fails these.
    int ModemStatus(int& bits) const;
    int SetModemLines(int bits, bool on) const;
    // Raise RTS only while sending, as the Windows driver's toggle mode does.
    void SetRtsToggle(bool on) { rtsToggle_ = on; }

private:
    // Waits until what was written has left: 0, or ETIMEDOUT when the output queue did not
    // empty within limitMs.
    int Drain(int limitMs);

    int fd_ = -1;
    int wakeFd_ = -1; // eventfd that Interrupt() signals
    bool locked_ = false;
    std::atomic<bool> rtsToggle_{false}; // set by the configuring thread, read by the writer
};
