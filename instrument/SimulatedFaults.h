#pragma once

#include <chrono>

// What a simulated instrument does wrong, on request. Writes and reads are counted from 1
// since the device was last opened.
struct SimulatedFaults {
    bool openFails = false;
    bool nameUnavailable = false;
    bool readHandleFails = false;   // the first handle created after opening
    bool writeHandleFails = false;  // the second
    int failingWrite = 0;           // the number of the write that fails; 0: none
    int failingRead = 0;            // the number of the read that fails; 0: none
    // A pulled cable: from the first failing write or read on, every write and read fails
    // until the device is opened again.
    bool cablePulled = false;
    std::chrono::microseconds delay{0};  // before every reply block
};
