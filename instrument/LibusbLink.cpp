#include "instrument/LibusbLink.h"

#include <libusb.h>

namespace {

constexpr unsigned char commandEndpoint = 0x02;
constexpr unsigned char replyEndpoint = 0x82;
constexpr int dataInterface = 0;

std::string hex4(std::uint16_t value) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value = static_cast<std::uint16_t>(value >> 4)) {
        text[static_cast<std::size_t>(i)] = digits[value & 0xF];
    }
    return text;
}

std::string hintFor(int error, UsbId id) {
    const std::string device = "USB设备（" + hex4(id.vendor) + ":" + hex4(id.product) + "）";
    switch (error) {
        case LIBUSB_ERROR_ACCESS:
            return "系统不允许当前用户访问仪器的" + device +
                   "。请以管理员身份安装本程序附带的 udev 规则 70-corvane.rules（复制到 "
                   "/etc/udev/rules.d/），然后重新插上仪器。";
        case LIBUSB_ERROR_BUSY:
            return "仪器的" + device + "正被其他程序占用，请先关闭那个程序。";
        default:
            return {};
    }
}

}  // namespace

LibusbLink::LibusbLink(UsbId id, std::chrono::milliseconds timeout)
    : id_(id), timeoutMs_(static_cast<unsigned>(timeout.count())) {}

LibusbLink::~LibusbLink() {
    std::lock_guard lock(mutex_);
    closeLocked();
    if (context_) libusb_exit(context_);
}

bool LibusbLink::openDevice(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    openFailureHint_.clear();
    // Started at the first open, not with the program: libusb reads the system's device list
    // and starts a thread for device events.
    if (!initTried_) {
        initTried_ = true;
        if (libusb_init(&context_) != LIBUSB_SUCCESS) context_ = nullptr;
    }
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
        if (const int rc = libusb_open(list[i], &handle); rc != LIBUSB_SUCCESS) {
            openFailureHint_ = hintFor(rc, id_);
            break;
        }
        // Not supported everywhere; claiming then fails if a driver holds the interface.
        libusb_set_auto_detach_kernel_driver(handle, 1);
        if (const int rc = libusb_claim_interface(handle, dataInterface); rc != LIBUSB_SUCCESS) {
            openFailureHint_ = hintFor(rc, id_);
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

std::string LibusbLink::openFailureHint() const {
    std::lock_guard lock(mutex_);
    return openFailureHint_;
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
