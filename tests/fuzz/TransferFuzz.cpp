// A whole transfer from a simulated instrument that holds a fuzzed memory image, with a fault
// the input chooses. Whatever happens, the device and both handles end up closed, the bytes
// received are the start of what the instrument's memory holds in stream order, all of it
// when nothing failed, and the save dialog comes only after a complete transfer.
#include <algorithm>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "instrument/InstrumentMemory.h"
#include "instrument/MemoryImage.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/TransferSession.h"
#include "instrument/UploadRecord.h"

namespace {

// Answers every prompt at once; the save dialog is cancelled, so nothing is written.
class QuietUi : public TransferUi {
public:
    void message(std::string_view, std::string_view, MessageIcon) override {}
    void endNotice(std::string_view, std::string_view) override {}
    std::optional<std::filesystem::path> askSavePath(std::string_view, std::string_view,
                                                     std::string_view) override {
        std::lock_guard lock(mutex_);
        ++saveDialogs_;
        return std::nullopt;
    }
    void progress(std::size_t, std::size_t) override {}
    int saveDialogs() {
        std::lock_guard lock(mutex_);
        return saveDialogs_;
    }

private:
    std::mutex mutex_;
    int saveDialogs_ = 0;
};

// The stream a transfer of `memory` receives when it was announced `n` records: the header area
// and n records, then the payload up to where the last 13 bytes say it ends (zeros past the end
// of memory). With no records those are the header area's last bytes, as the instrument does.
std::vector<std::uint8_t> expectedStream(const std::vector<std::uint8_t>& memory, std::int32_t n) {
    using namespace InstrumentMemory;
    const std::size_t streamLength =
        UploadRecord::headerAreaSize + UploadRecord::size * static_cast<std::size_t>(n);
    std::vector<std::uint8_t> stream(memory.begin(),
                                     memory.begin() + static_cast<std::ptrdiff_t>(streamLength));
    const auto last = std::span(stream).last<UploadRecord::size>();
    const auto payloadLength = static_cast<std::size_t>(UploadRecord::parse(last).payloadEnd());
    for (std::size_t i = 0; i < payloadLength; ++i) {
        const std::size_t at = payloadAddress + i;
        stream.push_back(at < memory.size() ? memory[at] : 0);
    }
    return stream;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The last four bytes choose the fault, the rest is the image.
    if (size < 4) return 0;
    const std::uint8_t* choice = data + size - 4;
    Result<MemoryImage> image = MemoryImage::fromBytes({data, data + size - 4});
    if (!image.ok()) return 0;

    SimulatedFaults faults;
    const int at = choice[1] << 8 | choice[2];
    switch (choice[0] % 8) {
        case 1:
            faults.failingRead = at;
            break;
        case 2:
            faults.failingWrite = at;
            break;
        case 3:
            faults.readHandleFails = true;
            break;
        case 4:
            faults.writeHandleFails = true;
            break;
        case 5:
            faults.openFails = true;
            break;
        case 6:
            faults.nameUnavailable = true;
            break;
        default:
            break;
    }
    faults.cablePulled = (choice[3] & 1) != 0;
    const bool faultless = choice[0] % 8 == 0 || choice[0] % 8 == 7;

    const std::vector<std::uint8_t> memory = image->memory();
    SimulatedInstrument instrument(memory, faults);
    instrument.keepCallLog(false);
    QuietUi ui;
    std::vector<std::uint8_t> received;
    bool started = false;
    {
        TransferSession session(instrument, ui);
        started = session.OnDataTransfer();
        session.wait();
        FUZZ_CHECK(!session.running());
        received = session.receivedBytes();
    }
    FUZZ_CHECK(!instrument.deviceOpen());
    FUZZ_CHECK(instrument.openHandleCount() == 0);

    // The header's count, or none when the header exchange (the first write and read) failed:
    // the transfer then goes on without one.
    const bool headerLost = (choice[0] % 8 == 1 || choice[0] % 8 == 2) && at == 1;
    const std::int32_t announced =
        headerLost ? 0 : UploadRecord::countFromHeader(memory[0], memory[1]);
    const std::vector<std::uint8_t> expected = expectedStream(memory, announced);
    FUZZ_CHECK(received.size() <= expected.size());
    FUZZ_CHECK(std::equal(received.begin(), received.end(), expected.begin()));
    if (faultless) {
        FUZZ_CHECK(started && received == expected);
        FUZZ_CHECK(ui.saveDialogs() == (image->recordCount() > 0 ? 1 : 0));
    }
    if (ui.saveDialogs() > 0) FUZZ_CHECK(received == expected);
    return 0;
}
