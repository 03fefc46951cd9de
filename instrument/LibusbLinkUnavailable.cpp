#include "instrument/LibusbLink.h"

// LibusbLink in a build without libusb: every device stays closed, and the user is told why
// and what still works.

LibusbLink::LibusbLink(UsbId id, std::chrono::milliseconds timeout)
    : id_(id), timeoutMs_(static_cast<unsigned>(timeout.count())) {}

LibusbLink::~LibusbLink() = default;

bool LibusbLink::openDevice(std::uint32_t) {
    std::lock_guard lock(mutex_);
    openFailureHint_ =
        "此版本不含 USB 驱动（libusb），无法连接仪器；可以使用模拟仪器（--demo 或 --simulate）。";
    return false;
}

std::string LibusbLink::openFailureHint() const {
    std::lock_guard lock(mutex_);
    return openFailureHint_;
}

std::optional<std::string> LibusbLink::deviceName(std::uint32_t) {
    return std::nullopt;
}

UsbLink::Handle LibusbLink::openHandle(const std::string&) {
    return invalidHandle;
}

void LibusbLink::closeHandle(Handle) {}

bool LibusbLink::writeData(Handle, const std::uint8_t*, std::uint32_t) {
    return false;
}

bool LibusbLink::readData(Handle, Block&) {
    return false;
}

void LibusbLink::abortWrite(std::uint32_t) {}
void LibusbLink::abortRead(std::uint32_t) {}
void LibusbLink::closeDevice(std::uint32_t) {}

void LibusbLink::closeLocked() {}
