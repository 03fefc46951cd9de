#include "instrument/TransferProtocol.h"

#include <span>
#include <utility>

#include "instrument/InstrumentMemory.h"
#include "instrument/UploadRecord.h"

namespace {

using namespace InstrumentMemory;

constexpr std::size_t openingRequestLength = 4;
constexpr std::size_t blockRequestLength = 5;
constexpr std::size_t closingCommandLength = 6;
constexpr std::uint32_t intermediateRequest = 0xA8;
constexpr std::uint32_t firstRecordBlock = recordsAddress / blockSize;

std::size_t recordBlocks(std::size_t streamLength) {
    // The block in which the stream ends, or, when it ends on a block's last byte, the one
    // after it, whose contents are discarded.
    return streamLength / blockSize + 1;
}

std::size_t payloadBlocks(std::size_t payloadLength) {
    return (payloadLength + firstPayloadByte) / blockSize + 1;
}

}  // namespace

TransferProtocol::TransferProtocol(UsbLink& link, UsbLink::Handle readHandle,
                                   UsbLink::Handle writeHandle, Hooks hooks)
    : link_(link), readHandle_(readHandle), writeHandle_(writeHandle), hooks_(std::move(hooks)) {}

TransferResult TransferProtocol::run(std::vector<std::uint8_t> storage) {
    result_ = {};
    result_.received = std::move(storage);
    result_.received.clear();
    blocksDone_ = 0;
    blocksExpected_ = 4;  // header, a record block, the intermediate reply, a payload block
    const bool startRecords = !cancelled();

    headerExchange();
    const bool recordsComplete = startRecords && recordPhase();

    // Without the whole record stream the payload's length is unknown: no payload phase.
    requestBlock(intermediateRequest);
    send(blockRequestLength);
    receive();
    if (!cancelled() && recordsComplete) payloadPhase();

    sendClosingCommand();
    return std::move(result_);
}

void TransferProtocol::headerExchange() {
    // A failed step is told and the exchange goes on, as at the intermediate request.
    command_.fill(0);
    send(openingRequestLength);
    if (!receive()) reply_.fill(0);  // no header: nothing is announced
    result_.recordCount = UploadRecord::countFromHeader(reply_[0], reply_[1]);
    streamLength_ = UploadRecord::headerAreaSize +
                    UploadRecord::size * static_cast<std::size_t>(result_.recordCount);
    result_.received.reserve(streamLength_);
    blocksExpected_ = 1 + recordBlocks(streamLength_) + 2;
}

bool TransferProtocol::recordPhase() {
    std::vector<std::uint8_t>& received = result_.received;
    for (std::uint32_t j = 0;; ++j) {
        requestBlock((firstRecordBlock + j) % 256);  // the request has one byte for it
        if (!send(blockRequestLength) || !receive()) break;
        bool ended = false;
        for (std::uint8_t byte : reply_) {
            // Before a byte is taken: a stream that ended on the last block's last byte makes
            // this whole block one past it, read and discarded.
            if (received.size() == streamLength_) {
                ended = true;
                break;
            }
            received.push_back(byte);
            if (received.size() == streamLength_) {
                const auto last = std::span(received).last<UploadRecord::size>();
                result_.payloadLength = UploadRecord::parse(last).payloadEnd();
                blocksExpected_ = 1 + recordBlocks(streamLength_) + 1 +
                                  payloadBlocks(static_cast<std::size_t>(result_.payloadLength));
            }
        }
        if (cancelled() || ended) break;
    }
    return received.size() == streamLength_;
}

void TransferProtocol::payloadPhase() {
    std::vector<std::uint8_t>& received = result_.received;
    const auto length = static_cast<std::size_t>(result_.payloadLength);
    received.reserve(streamLength_ + length);
    for (std::uint32_t j = firstPayloadBlock;; ++j) {
        requestBlock(j);
        if (!send(blockRequestLength) || !receive()) return;
        for (std::size_t i = j == firstPayloadBlock ? firstPayloadByte : 0; i < reply_.size();
             ++i) {
            if (received.size() - streamLength_ == length) {
                result_.complete = true;
                if (result_.recordCount > 0 && hooks_.uploaded) hooks_.uploaded(result_);
                return;
            }
            received.push_back(reply_[i]);
        }
        if (cancelled()) return;
    }
}

void TransferProtocol::sendClosingCommand() {
    command_.fill(0);
    link_.writeData(writeHandle_, command_.data(), closingCommandLength);  // not reported
}

bool TransferProtocol::cancelled() const {
    return hooks_.cancelled && hooks_.cancelled();
}

void TransferProtocol::requestBlock(std::uint32_t block) {
    command_.fill(0);
    command_[0] = static_cast<std::uint8_t>(block / 256);
    command_[1] = static_cast<std::uint8_t>(block % 256);
}

bool TransferProtocol::send(std::size_t length) {
    if (link_.writeData(writeHandle_, command_.data(), static_cast<std::uint32_t>(length))) {
        return true;
    }
    if (hooks_.failure) hooks_.failure(writeFailedText);
    return false;
}

bool TransferProtocol::receive() {
    if (!link_.readData(readHandle_, reply_)) {
        if (hooks_.failure) hooks_.failure(readFailedText);
        return false;
    }
    ++blocksDone_;
    if (hooks_.progress) hooks_.progress(blocksDone_, blocksExpected_);
    return true;
}
