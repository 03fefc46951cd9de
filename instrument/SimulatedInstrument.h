#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "instrument/MemoryImage.h"
#include "instrument/SimulatedFaults.h"
#include "instrument/UsbLink.h"

// A whole instrument in memory behind the same link as the real one. Its memory is flat: a
// 5-byte request for block b = byte0 × 256 + byte1 answers bytes 64b … 64b+63 (zeros beyond
// what it holds), the 4-byte opening request answers block 0, and the 6-byte closing command
// ends the exchange. It answers one block per request; a read with no request outstanding
// fails, as it would time out on the device.
//
// Thread-safe; keeps a log of calls for tests (see calls()).
class SimulatedInstrument : public UsbLink {
public:
    static constexpr const char* name = "sim:0";

    explicit SimulatedInstrument(std::vector<std::uint8_t> memory, SimulatedFaults faults = {});
    explicit SimulatedInstrument(const MemoryImage& image, SimulatedFaults faults = {});

    // The built-in demo inspection: components of all four types (see DemoInspection).
    static SimulatedInstrument demo(SimulatedFaults faults = {});

    void setFaults(const SimulatedFaults& faults);
    // The call log costs time; benchmarks turn it off.
    void keepCallLog(bool keep);

    bool openDevice(std::uint32_t index) override;
    std::optional<std::string> deviceName(std::uint32_t index) override;
    Handle openHandle(const std::string& requested) override;
    void closeHandle(Handle handle) override;
    bool writeData(Handle handle, const std::uint8_t* bytes, std::uint32_t length) override;
    bool readData(Handle handle, Block& block) override;
    void abortWrite(std::uint32_t index) override;
    void abortRead(std::uint32_t index) override;
    void closeDevice(std::uint32_t index) override;

    bool deviceOpen() const;
    std::size_t openHandleCount() const;

    // One line per call, e.g. "open 0", "handle sim:0 = 1", "write 2: 00 05 00 00 00",
    // "read 1", "abortWrite 0", "closeHandle 2", "close 0"; failed calls end in " failed".
    std::vector<std::string> calls() const;
    // The bytes of every write, sent or failed, in order.
    std::vector<std::vector<std::uint8_t>> commands() const;

private:
    bool failsNow(bool hit);
    void log(std::string line);

    mutable std::mutex mutex_;
    std::vector<std::uint8_t> memory_;
    SimulatedFaults faults_;
    bool open_ = false;
    bool pulled_ = false;
    int writes_ = 0;
    int reads_ = 0;
    int handlesCreated_ = 0;  // since opening, to find the read and the write handle
    Handle nextHandle_ = 1;
    std::set<Handle> handles_;
    std::optional<std::size_t> pendingBlock_;
    bool logCalls_ = true;
    std::vector<std::string> calls_;
    std::vector<std::vector<std::uint8_t>> commands_;
};
