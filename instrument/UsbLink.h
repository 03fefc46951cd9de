#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "instrument/InstrumentMemory.h"

// The one way to the instrument: the interface chip's operations as the transfer uses them,
// plus opening and closing the two data handles on the device. Implemented by the real link
// (libusb) and by the simulated instrument; the transfer must not be able to tell them apart.
//
// A link is used by one thread at a time: the thread that starts a transfer opens the device
// and the handles, then the transfer worker takes over until it has closed the device.
class UsbLink {
public:
    using Handle = std::intptr_t;
    static constexpr Handle invalidHandle = -1;
    using Block = std::array<std::uint8_t, InstrumentMemory::blockSize>;

    virtual ~UsbLink() = default;

    virtual bool openDevice(std::uint32_t index) = 0;
    // After a failed openDevice: what the user can do about it (UTF-8), when the link knows
    // more than that the device could not be opened; empty otherwise.
    virtual std::string openFailureHint() const { return {}; }
    // The device's name, which openHandle takes; nothing when the device has none.
    virtual std::optional<std::string> deviceName(std::uint32_t index) = 0;
    // A handle on the device of that name, or invalidHandle.
    virtual Handle openHandle(const std::string& name) = 0;
    virtual void closeHandle(Handle handle) = 0;

    // Sends `length` command bytes on the data endpoint; false when they were not sent.
    virtual bool writeData(Handle handle, const std::uint8_t* bytes, std::uint32_t length) = 0;
    // Reads one reply block; false when none arrived. The block is always taken whole.
    virtual bool readData(Handle handle, Block& block) = 0;

    virtual void abortWrite(std::uint32_t index) = 0;
    virtual void abortRead(std::uint32_t index) = 0;
    virtual void closeDevice(std::uint32_t index) = 0;
};
