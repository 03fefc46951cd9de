#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "instrument/UsbLink.h"

// What one exchange with the instrument brought in.
struct TransferResult {
    // The header area, the records and as much of the payload as arrived, in stream order.
    std::vector<std::uint8_t> received;
    // N as the header announced it (0 when the header read failed).
    std::int32_t recordCount = 0;
    // Where the last record's values end; 0 until the whole record stream has arrived.
    std::int32_t payloadLength = 0;
    // The payload arrived whole.
    bool complete = false;
};

// The exchange with the instrument, run synchronously on the calling thread over a link whose
// device and two data handles are open: the header exchange gives N, the record phase fetches
// the header area and N records from block 0 on, the payload phase fetches the values from
// the payload address on, and the closing command ends the exchange. The device is left open.
//
// A failed write or read is told to the user and ends the phase it happened in, never the
// exchange: the intermediate request and the closing command always go out.
class TransferProtocol {
public:
    static constexpr std::string_view writeFailedText =
        "端点2下传失败！如果设备断开过那么请先关闭本程序";
    static constexpr std::string_view readFailedText =
        "端点2上传失败！如果设备断开过那么请先关闭本程序";

    // Every hook may be empty. All are called on the thread that runs the exchange.
    struct Hooks {
        // After every block received. Must not wait for the user.
        std::function<void(std::size_t blocksDone, std::size_t blocksExpected)> progress;
        // Asked before the first record block and after every block of either phase: true
        // ends the phase, and the exchange goes on to the closing command.
        std::function<bool()> cancelled;
        // A failed write or read, as the user is to read it. The exchange waits for it.
        std::function<void(std::string_view text)> failure;
        // The upload step: the payload is complete and N > 0. Runs before the closing
        // command, while the device is still open; it may set recordCount to the number of
        // components it kept, which is what the run then returns.
        std::function<void(TransferResult&)> uploaded;
    };

    // Nothing is owned; the link must outlive the protocol.
    TransferProtocol(UsbLink& link, UsbLink::Handle readHandle, UsbLink::Handle writeHandle,
                     Hooks hooks);

    // `storage` lends its capacity to the received bytes, so a run after a run need not
    // allocate them anew; its contents are dropped.
    TransferResult run(std::vector<std::uint8_t> storage = {});

private:
    void headerExchange();
    bool recordPhase();
    void payloadPhase();
    void sendClosingCommand();

    bool cancelled() const;
    bool send(std::size_t length);
    bool receive();
    void requestBlock(std::uint32_t block);

    UsbLink& link_;
    UsbLink::Handle readHandle_;
    UsbLink::Handle writeHandle_;
    Hooks hooks_;

    std::array<std::uint8_t, 6> command_{};  // bytes the protocol leaves open go as 0
    UsbLink::Block reply_{};
    TransferResult result_;
    std::size_t streamLength_ = 0;
    std::size_t blocksDone_ = 0;
    std::size_t blocksExpected_ = 0;
};
