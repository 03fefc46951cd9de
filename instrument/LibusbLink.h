#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "instrument/UsbId.h"
#include "instrument/UsbLink.h"

struct libusb_context;
struct libusb_device_handle;

// The instrument's interface chip on libusb: found by vendor and product id, interface 0
// claimed, commands on bulk endpoint 0x02, replies from bulk endpoint 0x82. A transfer that
// does not complete within the timeout counts as failed. Devices are named by bus and
// address ("usb:BUS:ADDRESS"); both data handles refer to the one claimed interface.
class LibusbLink : public UsbLink {
public:
    explicit LibusbLink(UsbId id = {},
                        std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    ~LibusbLink() override;
    LibusbLink(const LibusbLink&) = delete;
    LibusbLink& operator=(const LibusbLink&) = delete;

    // `index` counts the matching devices in the order the system lists them.
    bool openDevice(std::uint32_t index) override;
    // Names the udev rule when the system refused access, and another program when one holds
    // the interface.
    std::string openFailureHint() const override;
    std::optional<std::string> deviceName(std::uint32_t index) override;
    Handle openHandle(const std::string& name) override;
    void closeHandle(Handle handle) override;
    bool writeData(Handle handle, const std::uint8_t* bytes, std::uint32_t length) override;
    bool readData(Handle handle, Block& block) override;
    void abortWrite(std::uint32_t index) override;
    void abortRead(std::uint32_t index) override;
    void closeDevice(std::uint32_t index) override;

private:
    void closeLocked();

    mutable std::mutex mutex_;
    UsbId id_;
    unsigned timeoutMs_;
    libusb_context* context_ = nullptr;
    bool initTried_ = false;  // libusb is started once, at the first open
    libusb_device_handle* device_ = nullptr;
    std::uint32_t openIndex_ = 0;
    std::string name_;
    std::string openFailureHint_;
    std::set<Handle> handles_;
    Handle nextHandle_ = 1;
};
