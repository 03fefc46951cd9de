// The real libusb link against an instrument that umockdev emulates at the kernel's usbfs
// interface: its bulk endpoints are answered by a simulated instrument, so a transfer runs
// through libusb exactly as it would with the device plugged in. Run under umockdev-wrapper.
#include <gtest/gtest.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>

#include "instrument/DemoInspection.h"
#include "instrument/LibusbLink.h"
#include "instrument/ScriptedTransferUi.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/TransferRun.h"
#include "instrument/TransferSession.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr const char* devicePath = "/dev/bus/usb/001/001";

// The instrument's interface chip as sysfs shows it: 4348:5537, one interface with bulk
// endpoints 0x02 (out) and 0x82 (in) of 64 bytes.
constexpr const char* deviceDescription =
    "P: /devices/usb1\n"
    "N: bus/usb/001/001\n"
    "E: SUBSYSTEM=usb\n"
    "E: DEVTYPE=usb_device\n"
    "E: DRIVER=usb\n"
    "E: BUSNUM=001\n"
    "E: DEVNUM=001\n"
    "E: DEVNAME=/dev/bus/usb/001/001\n"
    "A: busnum=1\\n\n"
    "A: devnum=1\\n\n"
    "A: speed=12\\n\n"
    "A: bConfigurationValue=1\\n\n"
    "H: descriptors=12011001ff00004048433755000100000001"  // device
    "090220000101008032"                                   // configuration
    "0904000002ff000000"                                   // interface 0
    "07050202400000"                                       // bulk out 0x02
    "07058202400000\n";                                    // bulk in 0x82

// What the emulated device does besides answering from the simulated instrument.
struct UsbBehaviour {
    // Bytes of the reply to the 4-byte header request that reach the host (a short packet).
    int headerReplyLength = 64;
};

// Answers the usbfs requests libusb makes, on umockdev's thread. An OUT transfer goes to the
// simulated instrument as a write, an IN transfer is its read. A request the instrument fails
// is one the device never answers (the host times out); once the instrument's cable is
// pulled, every request fails as for a device that has gone (ENODEV).
class EmulatedInstrument {
public:
    EmulatedInstrument(const MemoryImage& image, SimulatedFaults faults, UsbBehaviour usb = {})
        : instrument_(image, faults), faults_(faults), usb_(usb) {
        instrument_.openDevice(0);
        const auto name = instrument_.deviceName(0);
        handle_ = instrument_.openHandle(*name);
    }
    ~EmulatedInstrument() {
        for (UMockdevIoctlData* urb : flying_) umockdev_ioctl_data_unref(urb);
        for (UMockdevIoctlData* urb : reapable_) umockdev_ioctl_data_unref(urb);
    }

    // Claimed and not released again.
    int claimed() {
        std::lock_guard lock(mutex_);
        return claimed_;
    }

    static gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        return static_cast<EmulatedInstrument*>(self)->handle(client);
    }

private:
    gboolean handle(UMockdevIoctlClient* client) {
        std::lock_guard lock(mutex_);
        const gulong request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        if (gone_ && request != USBDEVFS_RELEASEINTERFACE) {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            return TRUE;
        }
        switch (request) {
            case USBDEVFS_GET_CAPABILITIES: {
                UMockdevIoctlData* caps =
                    umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), nullptr);
                *reinterpret_cast<guint32*>(caps->data) =
                    USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM;
                umockdev_ioctl_data_unref(caps);
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            }
            case USBDEVFS_CLAIMINTERFACE:
                ++claimed_;
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            case USBDEVFS_RELEASEINTERFACE:
                --claimed_;
                umockdev_ioctl_client_complete(client, gone_ ? -1 : 0, gone_ ? ENODEV : 0);
                return TRUE;
            case USBDEVFS_GETDRIVER:
                umockdev_ioctl_client_complete(client, -1, ENODATA);
                return TRUE;
            case USBDEVFS_DISCONNECT:
            case USBDEVFS_CONNECT:
            case USBDEVFS_IOCTL:
            case USBDEVFS_CLEAR_HALT:
            case USBDEVFS_RESETEP:
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            case USBDEVFS_SUBMITURB:
                return submit(client, arg);
            case USBDEVFS_REAPURB:
            case USBDEVFS_REAPURBNDELAY:
                return reap(client, arg);
            case USBDEVFS_DISCARDURB:
                return discard(client, arg);
            default:
                return FALSE;
        }
    }

    gboolean submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
        UMockdevIoctlData* urbData =
            umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
        auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        if (urb->type != USBDEVFS_URB_TYPE_BULK) {
            umockdev_ioctl_data_unref(urbData);
            umockdev_ioctl_client_complete(client, -1, EINVAL);
            return TRUE;
        }
        // Points urb->buffer at a copy that goes back to the host when the request completes.
        UMockdevIoctlData* buffer =
            umockdev_ioctl_data_resolve(urbData, G_STRUCT_OFFSET(usbdevfs_urb, buffer),
                                        static_cast<gsize>(urb->buffer_length), nullptr);
        auto* bytes = reinterpret_cast<std::uint8_t*>(buffer->data);

        bool answered = false;
        urb->actual_length = 0;
        if (urb->endpoint == 0x02) {
            answered = instrument_.writeData(handle_, bytes,
                                             static_cast<std::uint32_t>(urb->buffer_length));
            if (answered) urb->actual_length = urb->buffer_length;
            lastRequestLength_ = urb->buffer_length;
        } else if (urb->endpoint == 0x82) {
            UsbLink::Block block{};
            answered = instrument_.readData(handle_, block);
            const int length =
                lastRequestLength_ == 4 ? usb_.headerReplyLength : static_cast<int>(block.size());
            if (answered) {
                urb->actual_length = std::min(length, urb->buffer_length);
                std::memcpy(bytes, block.data(), static_cast<std::size_t>(urb->actual_length));
            }
        }
        umockdev_ioctl_data_unref(buffer);
        if (!answered && faults_.cablePulled) {
            gone_ = true;
            umockdev_ioctl_data_unref(urbData);
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            return TRUE;
        }
        urb->status = 0;
        // A request the instrument does not answer stays pending until the host gives up.
        (answered ? reapable_ : flying_).push_back(urbData);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }

    gboolean reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
        if (reapable_.empty()) {
            umockdev_ioctl_client_complete(client, -1, EAGAIN);
            return TRUE;
        }
        UMockdevIoctlData* urbData = reapable_.front();
        reapable_.pop_front();
        UMockdevIoctlData* pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(gpointer), nullptr);
        umockdev_ioctl_data_set_ptr(pointer, 0, urbData);
        umockdev_ioctl_data_unref(pointer);
        umockdev_ioctl_data_unref(urbData);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }

    gboolean discard(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
        const auto address = reinterpret_cast<gulong>(*reinterpret_cast<void**>(arg->data));
        for (auto it = flying_.begin(); it != flying_.end(); ++it) {
            if ((*it)->client_addr == address) {
                reinterpret_cast<usbdevfs_urb*>((*it)->data)->status = -ENOENT;
                reinterpret_cast<usbdevfs_urb*>((*it)->data)->actual_length = 0;
                reapable_.push_back(*it);
                flying_.erase(it);
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            }
        }
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return TRUE;
    }

    std::mutex mutex_;
    SimulatedInstrument instrument_;
    SimulatedFaults faults_;
    UsbBehaviour usb_;
    UsbLink::Handle handle_ = UsbLink::invalidHandle;
    int lastRequestLength_ = 0;
    int claimed_ = 0;
    bool gone_ = false;
    std::list<UMockdevIoctlData*> flying_;
    std::list<UMockdevIoctlData*> reapable_;
};

class LibusbLinkTest : public testing::Test {
protected:
    ~LibusbLinkTest() override { unplug(); }

    // A new testbed with the emulated instrument in it. The handler is attached before the
    // device appears, so libusb can open it as soon as it sees it.
    void plugIn(const MemoryImage& image, SimulatedFaults faults = {}, UsbBehaviour usb = {}) {
        unplug();
        device_ = std::make_unique<EmulatedInstrument>(image, faults, usb);
        testbed_ = umockdev_testbed_new();
        handler_ = umockdev_ioctl_base_new();
        g_signal_connect_after(handler_, "handle-ioctl", G_CALLBACK(&EmulatedInstrument::onIoctl),
                               device_.get());
        ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed_, devicePath, handler_, nullptr));
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_, deviceDescription, nullptr));
    }
    void unplug() {
        g_clear_object(&testbed_);
        g_clear_object(&handler_);
        device_.reset();
    }
    EmulatedInstrument& device() { return *device_; }
    fs::path testbedRoot() const {
        gchar* root = umockdev_testbed_get_root_dir(testbed_);
        fs::path path(root);
        g_free(root);
        return path;
    }

    TempDir dir;

private:
    std::unique_ptr<EmulatedInstrument> device_;
    UMockdevTestbed* testbed_ = nullptr;
    UMockdevIoctlBase* handler_ = nullptr;
};

// A short timeout keeps the tests of an unanswered request quick.
constexpr auto linkTimeout = 300ms;

}  // namespace

TEST_F(LibusbLinkTest, DemoTransferThroughLibusbWritesTheSimulatorsFileByteForByte) {
    SimulatedInstrument direct(DemoInspection::image());
    ScriptedTransferUi directUi;
    directUi.answerSave(dir / "direct.vexo");
    const TransferRun expected = TransferRun::of(direct, directUi);
    const std::string expectedFile = TempDir::read(dir / "direct.vexo");
    ASSERT_FALSE(expectedFile.empty());

    // Whole replies, and a device that answers the header request with only the two bytes
    // that count (a short packet).
    for (const int headerReply : {64, 2}) {
        SCOPED_TRACE(headerReply);
        plugIn(DemoInspection::image(), {}, {.headerReplyLength = headerReply});
        LibusbLink link(UsbId{}, linkTimeout);
        ScriptedTransferUi ui;
        ui.answerSave(dir / "usb.vexo");
        const TransferRun run = TransferRun::of(link, ui);

        ASSERT_TRUE(run.started) << (ui.messages().empty() ? "" : ui.messages().front().text);
        EXPECT_EQ(run.received, expected.received);
        EXPECT_EQ(run.recordCount, expected.recordCount);
        EXPECT_EQ(TempDir::read(dir / "usb.vexo"), expectedFile);
        EXPECT_EQ(ui.messages(), directUi.messages());
        EXPECT_EQ(device().claimed(), 0);
        EXPECT_FALSE(link.deviceName(0));
    }
}

TEST_F(LibusbLinkTest, AShortReplyLeavesZerosBehindItNotTheBlockBefore) {
    const MemoryImage image = DemoInspection::image();
    plugIn(image, {}, {.headerReplyLength = 2});
    LibusbLink link(UsbId{}, linkTimeout);
    ASSERT_TRUE(link.openDevice(0));
    const UsbLink::Handle handle = link.openHandle(*link.deviceName(0));
    ASSERT_NE(handle, UsbLink::invalidHandle);
    EXPECT_EQ(device().claimed(), 1);

    const std::uint8_t blockZero[5] = {0, 0, 0, 0, 0};
    const std::uint8_t header[4] = {0, 0, 0, 0};
    UsbLink::Block block{};
    ASSERT_TRUE(link.writeData(handle, blockZero, 5));
    ASSERT_TRUE(link.readData(handle, block));
    const std::vector<std::uint8_t> memory = image.memory();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), memory.begin()));
    ASSERT_NE(std::count(block.begin() + 2, block.end(), 0), 62) << "nothing to leave behind";

    ASSERT_TRUE(link.writeData(handle, header, 4));
    ASSERT_TRUE(link.readData(handle, block));
    EXPECT_EQ(block[0], memory[0]);
    EXPECT_EQ(block[1], memory[1]);
    EXPECT_EQ(std::count(block.begin() + 2, block.end(), 0), 62);

    link.closeHandle(handle);
    EXPECT_FALSE(link.writeData(handle, header, 4));
    link.closeDevice(0);
    EXPECT_EQ(device().claimed(), 0);
}

// A reply that never comes and a device that goes away part-way are told as the simulated
// instrument tells the same faults, the transfer still ends, and no file is written.
TEST_F(LibusbLinkTest, TimeoutAndVanishedDeviceEndTheTransferAsOnTheSimulator) {
    struct Case {
        const char* what;
        SimulatedFaults faults;
    };
    const Case cases[] = {
        {"the second record block is never answered", {.failingRead = 3}},
        {"the device goes at the second record block", {.failingRead = 3, .cablePulled = true}},
        {"the device goes at the intermediate request", {.failingWrite = 4, .cablePulled = true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedInstrument direct(DemoInspection::image(), c.faults);
        ScriptedTransferUi directUi;
        const TransferRun expected = TransferRun::of(direct, directUi);
        ASSERT_FALSE(directUi.messages().empty());

        plugIn(DemoInspection::image(), c.faults);
        LibusbLink link(UsbId{}, linkTimeout);
        ScriptedTransferUi ui;  // a save dialog would fail the test
        const auto start = std::chrono::steady_clock::now();
        const TransferRun run = TransferRun::of(link, ui);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10 * linkTimeout);

        EXPECT_TRUE(run.started);
        EXPECT_EQ(ui.messages(), directUi.messages());
        EXPECT_EQ(run.received, expected.received);
        EXPECT_FALSE(run.saved);
        EXPECT_EQ(device().claimed(), 0);
        EXPECT_FALSE(link.deviceName(0));
    }
}

namespace {

class RecordingUi : public TransferUi {
public:
    void message(std::string_view, std::string_view text, MessageIcon) override {
        shown += std::string(text);
    }
    void endNotice(std::string_view, std::string_view) override {}
    std::optional<std::filesystem::path> askSavePath(std::string_view, std::string_view,
                                                     std::string_view) override {
        return std::nullopt;
    }
    void progress(std::size_t, std::size_t) override {}
    std::string shown;
};

}  // namespace

// Without the udev rule the device node belongs to root alone. Root may open anything, so
// the transfer is started by a child that has dropped to nobody.
TEST_F(LibusbLinkTest, DeviceTheUserMayNotOpenNamesTheCauseAndTheUdevRule) {
    plugIn(DemoInspection::image());
    // Others may look into the testbed and reach umockdev's sockets, as on a real system,
    // but the device node is root's alone.
    const fs::path root = testbedRoot();
    ASSERT_EQ(::chmod(root.c_str(), 01777), 0);
    for (const auto& entry : fs::recursive_directory_iterator(root / "ioctl")) {
        ASSERT_EQ(::chmod(entry.path().c_str(), 0777), 0);
    }
    ASSERT_EQ(::chmod((root / "dev/bus/usb/001/001").c_str(), 0600), 0);

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        LibusbLink link(UsbId{}, linkTimeout);
        RecordingUi ui;
        TransferSession session(link, ui);
        const bool started = session.OnDataTransfer();
        session.wait();
        (void)!::write(out[1], ui.shown.data(), ui.shown.size());
        ::_exit(started ? 1 : 0);
    }
    ::close(out[1]);
    std::string shown;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the transfer started";
    EXPECT_EQ(shown,
              "打开设备失败！\n系统不允许当前用户访问仪器的USB设备（4348:5537）。请以管理员身份"
              "安装本程序附带的 udev 规则 70-corvane.rules（复制到 /etc/udev/rules.d/），然后重新"
              "插上仪器。");
    EXPECT_EQ(device().claimed(), 0);
}
