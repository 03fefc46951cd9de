#include "instrument/SimulatedInstrument.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <utility>

#include "instrument/DemoInspection.h"

SimulatedInstrument::SimulatedInstrument(std::vector<std::uint8_t> memory, SimulatedFaults faults)
    : memory_(std::move(memory)), faults_(faults) {}

SimulatedInstrument::SimulatedInstrument(const MemoryImage& image, SimulatedFaults faults)
    : SimulatedInstrument(image.memory(), faults) {}

SimulatedInstrument SimulatedInstrument::demo(SimulatedFaults faults) {
    return SimulatedInstrument(DemoInspection::image(), faults);
}

void SimulatedInstrument::setFaults(const SimulatedFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

void SimulatedInstrument::keepCallLog(bool keep) {
    std::lock_guard lock(mutex_);
    logCalls_ = keep;
}

void SimulatedInstrument::log(std::string line) {
    if (logCalls_) calls_.push_back(std::move(line));
}

bool SimulatedInstrument::failsNow(bool hit) {
    if (pulled_) return true;
    if (!hit) return false;
    pulled_ = faults_.cablePulled;
    return true;
}

bool SimulatedInstrument::openDevice(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    if (faults_.openFails || index != 0) {
        log("open " + std::to_string(index) + " failed");
        return false;
    }
    log("open " + std::to_string(index));
    // Plugged in again: counting and a pulled cable start afresh.
    open_ = true;
    pulled_ = false;
    writes_ = reads_ = handlesCreated_ = 0;
    pendingBlock_.reset();
    return true;
}

std::optional<std::string> SimulatedInstrument::deviceName(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    if (faults_.nameUnavailable || index != 0) {
        log("name " + std::to_string(index) + " failed");
        return std::nullopt;
    }
    log("name " + std::to_string(index));
    return std::string(name);
}

UsbLink::Handle SimulatedInstrument::openHandle(const std::string& requested) {
    std::lock_guard lock(mutex_);
    ++handlesCreated_;
    const bool refused = (handlesCreated_ == 1 && faults_.readHandleFails) ||
                         (handlesCreated_ == 2 && faults_.writeHandleFails);
    if (!open_ || requested != name || refused) {
        log("handle " + requested + " failed");
        return invalidHandle;
    }
    const Handle h = nextHandle_++;
    handles_.insert(h);
    log("handle " + requested + " = " + std::to_string(h));
    return h;
}

void SimulatedInstrument::closeHandle(Handle handle) {
    std::lock_guard lock(mutex_);
    const bool known = handles_.erase(handle) == 1;
    log("closeHandle " + std::to_string(handle) + (known ? "" : " failed"));
}

bool SimulatedInstrument::writeData(Handle handle, const std::uint8_t* bytes,
                                    std::uint32_t length) {
    std::lock_guard lock(mutex_);
    ++writes_;
    std::string line;
    if (logCalls_) {
        line = "write " + std::to_string(handle) + ":";
        char hex[4];
        for (std::uint32_t i = 0; i < length; ++i) {
            std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
            line += hex;
        }
        commands_.emplace_back(bytes, bytes + length);
    }
    pendingBlock_.reset();
    const bool usable = open_ && handles_.count(handle) == 1;
    if (!usable || failsNow(writes_ == faults_.failingWrite) || length < 4 || length > 6) {
        log(line + " failed");
        return false;
    }
    if (length == 4) pendingBlock_ = 0;
    if (length == 5) pendingBlock_ = std::size_t{bytes[0]} * 256 + bytes[1];
    log(std::move(line));
    return true;
}

bool SimulatedInstrument::readData(Handle handle, Block& block) {
    std::chrono::microseconds delay;
    {
        std::lock_guard lock(mutex_);
        ++reads_;
        const bool usable = open_ && handles_.count(handle) == 1;
        if (!usable || failsNow(reads_ == faults_.failingRead) || !pendingBlock_) {
            log("read " + std::to_string(handle) + " failed");
            return false;
        }
        const std::size_t from =
            std::min(*pendingBlock_ * InstrumentMemory::blockSize, memory_.size());
        const std::size_t to = std::min(from + InstrumentMemory::blockSize, memory_.size());
        std::fill(std::copy(memory_.begin() + static_cast<std::ptrdiff_t>(from),
                            memory_.begin() + static_cast<std::ptrdiff_t>(to), block.begin()),
                  block.end(), 0);
        pendingBlock_.reset();
        log("read " + std::to_string(handle));
        delay = faults_.delay;
    }
    if (delay.count() > 0) std::this_thread::sleep_for(delay);
    return true;
}

void SimulatedInstrument::abortWrite(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    pendingBlock_.reset();
    log("abortWrite " + std::to_string(index));
}

void SimulatedInstrument::abortRead(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    pendingBlock_.reset();
    log("abortRead " + std::to_string(index));
}

void SimulatedInstrument::closeDevice(std::uint32_t index) {
    std::lock_guard lock(mutex_);
    open_ = false;
    pendingBlock_.reset();
    log("close " + std::to_string(index));
}

bool SimulatedInstrument::deviceOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

std::size_t SimulatedInstrument::openHandleCount() const {
    std::lock_guard lock(mutex_);
    return handles_.size();
}

std::vector<std::string> SimulatedInstrument::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::vector<std::uint8_t>> SimulatedInstrument::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}
