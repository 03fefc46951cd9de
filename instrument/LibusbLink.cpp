#include "instrument/LibusbLink.h"

#include <libusb.h>

namespace {

constexpr unsigned char commandEndpoint = 0x02;
constexpr unsigned char replyEndpoint = 0x82;
constexpr int dataInterface = 0;

}  // namespace

LibusbLink::LibusbLink(UsbId id, std::chrono::milliseconds timeout)
    : id_(id), timeoutMs_(static_cast<unsigned>(timeout.count())) {
    if (libusb_init(&context_) != LIBUSB_SUCCESS) context_ = nullptr;
}

LibusbLink::~LibusbLink() {
    std::lock_guard lock(mutex_);
    closeLocked();
    if (context_) libusb_exit(context_);
}

bool LibusbLink::openDevice(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    if (!context_) return false;
    closeLocked();

    libusb_device** list = nullptr;
    const auto count = libusb_get_device_list(context_, &list);
    std::uint32_t seen = 0;
    for (decltype(+count) i = 0; i < count && !device_; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS) continue;
        if (descriptor.idVendor != id_.vendor || descriptor.idProduct != id_.product) continue;
        if (seen++ != index) continue;
        libusb_device_handle* handle = nullptr;
        if (libusb_open(list[i], &handle) != LIBUSB_SUCCESS) break;
        // Not supported everywhere; claiming then fails if a driver holds the interface.
        libusb_set_auto_detach_kernel_driver(handle, 1);
        if (libusb_claim_interface(handle, dataInterface) != LIBUSB_SUCCESS) {
            libusb_close(handle);
            break;
        }
        device_ = handle;
        openIndex_ = index;
        name_ = "usb:" + std::to_string(libusb_get_bus_number(list[i])) + ":" +
                std::to_string(libusb_get_device_address(list[i]));
    }
    if (count >= 0) libusb_free_device_list(list, 1);
    return device_ != nullptr;
}

std::optional<std::string> LibusbLink::deviceName(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    if (!device_ || index != openIndex_) return std::nullopt;
    return name_;
}

UsbLink::Handle LibusbLink::openHandle(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (!device_ || name != name_) return invalidHandle;
    const Handle handle = nextHandle_++;
    handles_.insert(handle);
    return handle;
}

void LibusbLink::closeHandle(Handle handle) {
    std::lock_guard lock(mutex_);
    handles_.erase(handle);
}

bool LibusbLink::writeData(Handle handle, const std::uint8_t* bytes, std::uint32_t length) {
    std::lock_guard lock(mutex_);
    if (!device_ || handles_.count(handle) == 0) return false;
    int sent = 0;
    // libusb does not write to an OUT buffer; its signature just lacks the const.
    const int rc = libusb_bulk_transfer(device_, commandEndpoint, const_cast<std::uint8_t*>(bytes),
                                        static_cast<int>(length), &sent, timeoutMs_);
    return rc == LIBUSB_SUCCESS && sent == static_cast<int>(length);
}

bool LibusbLink::readData(Handle handle, Block& block) {
    std::lock_guard lock(mutex_);
    if (!device_ || handles_.count(handle) == 0) return false;
    // A short reply leaves zeros behind it rather than an earlier block's bytes.
    block.fill(0);
    int got = 0;
    const int rc = libusb_bulk_transfer(device_, replyEndpoint, block.data(),
                                        static_cast<int>(block.size()), &got, timeoutMs_);
    return rc == LIBUSB_SUCCESS;
}

// Transfers here are synchronous and finished when their call returns: nothing is pending.
void LibusbLink::abortWrite(std::uint32_t) {}
void LibusbLink::abortRead(std::uint32_t) {}

void LibusbLink::closeDevice(std::uint32_t) {
    std::lock_guard lock(mutex_);
    closeLocked();
}

void LibusbLink::closeLocked() {
    handles_.clear();
    if (!device_) return;
    libusb_release_interface(device_, dataInterface);
    libusb_close(device_);
    device_ = nullptr;
    name_.clear();
}
