#include "instrument/TransferSession.h"

#include <array>
#include <string>
#include <system_error>

#include "instrument/InstrumentMemory.h"
#include "instrument/UploadDecoder.h"
#include "instrument/UploadRecord.h"
#include "model/UploadFile.h"

namespace {

constexpr std::string_view openFailedText = "打开设备失败！";
constexpr std::string_view noHandleText = "无法打开设备！";
constexpr std::string_view threadFailedText = "端点2线程启动失败";
constexpr std::string_view writeFailedText = "端点2下传失败！如果设备断开过那么请先关闭本程序";
constexpr std::string_view readFailedText = "端点2上传失败！如果设备断开过那么请先关闭本程序";
constexpr std::string_view finishedText = "下位机测量数据传输结束！";
constexpr std::string_view busyText = "数据传输正在进行，请等本次传输结束后再试。";

constexpr std::uint32_t openingRequestLength = 4;
constexpr std::uint32_t blockRequestLength = 5;
constexpr std::uint32_t closingCommandLength = 6;
constexpr std::uint8_t intermediateRequest = 0xA8;
constexpr std::uint32_t firstPayloadBlock = 171;
constexpr std::size_t firstPayloadByte = 56;  // of the first payload block

std::size_t recordBlocks(std::size_t streamLength) {
    // The block in which the stream ends, or, when it ends on a block's last byte, the one
    // after it, whose contents are discarded.
    return streamLength / InstrumentMemory::blockSize + 1;
}

std::size_t payloadBlocks(std::size_t payloadLength) {
    return (payloadLength + firstPayloadByte) / InstrumentMemory::blockSize + 1;
}

}  // namespace

TransferSession::TransferSession(UsbLink& link, TransferUi& ui) : link_(link), ui_(ui) {}

TransferSession::~TransferSession() {
    stop();
}

bool TransferSession::OnDataTransfer() {
    // Starting again would reset the state the running worker relies on.
    if (workerRunning.load() == 1) {
        ui_.message(noticeCaption, busyText, MessageIcon::Information);
        return false;
    }
    wait();  // the last worker has finished; let its thread go

    stopRequested_ = false;
    transferActive = 0;
    deviceIndex = 0;
    workerRunning = 0;
    writeHandle = readHandle = UsbLink::invalidHandle;
    received.clear();
    recordCount = payloadLength = 0;
    savedUpload_.reset();

    if (!link_.openDevice(deviceIndex)) {
        ui_.message(failureCaption, openFailedText, MessageIcon::Error);
        return false;
    }
    transferActive = 1;

    readHandle = createHandle();
    if (readHandle != UsbLink::invalidHandle) writeHandle = createHandle();
    if (writeHandle == UsbLink::invalidHandle) {
        // Nothing will use the device now; leaving it open would block the next attempt.
        CloseTransferDevice();
        ui_.message(failureCaption, noHandleText, MessageIcon::Error);
        return false;
    }

    // Set before the start, so the worker's own clearing at its end cannot be overwritten.
    workerRunning = 1;
    if (!launchWorker()) {
        workerRunning = 0;
        CloseTransferDevice();
        ui_.message(failureCaption, threadFailedText, MessageIcon::Error);
        return false;
    }
    return true;
}

bool TransferSession::launchWorker() {
    try {
        worker_ = std::thread(&TransferSession::TransferWorker, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void TransferSession::stop() {
    stopRequested_ = true;
    {
        std::lock_guard lock(transferLock);
        transferActive = 0;
    }
    wait();
    // Stopped before the worker's first step: it returned at once and left the device open.
    if (readHandle != UsbLink::invalidHandle || writeHandle != UsbLink::invalidHandle) {
        transferActive = 1;
        CloseTransferDevice();
    }
}

void TransferSession::wait() {
    if (worker_.joinable()) worker_.join();
}

UsbLink::Handle TransferSession::createHandle() {
    const std::optional<std::string> name = link_.deviceName(deviceIndex);
    if (!name) return UsbLink::invalidHandle;
    return link_.openHandle(*name);
}

bool TransferSession::stillActive() {
    std::lock_guard lock(transferLock);
    return transferActive.load() == 1;
}

void TransferSession::tell(std::string_view caption, std::string_view text, MessageIcon icon) {
    // Once the owner is stopping, nobody is left to answer.
    if (!stopRequested_) ui_.message(caption, text, icon);
}

void TransferSession::reportProgress() {
    if (!stopRequested_) ui_.progress(blocksDone_, blocksExpected_);
}

bool TransferSession::send(const std::uint8_t* command, std::uint32_t length) {
    if (link_.writeData(writeHandle, command, length)) return true;
    tell(failureCaption, writeFailedText, MessageIcon::Error);
    return false;
}

bool TransferSession::receive(UsbLink::Block& reply) {
    if (!link_.readData(readHandle, reply)) {
        tell(failureCaption, readFailedText, MessageIcon::Error);
        return false;
    }
    ++blocksDone_;
    reportProgress();
    return true;
}

int TransferSession::TransferWorker() {
    if (transferActive.load() == 0 || readHandle == UsbLink::invalidHandle ||
        writeHandle == UsbLink::invalidHandle) {
        workerRunning = 0;
        return 0;
    }
    bool active = stillActive();

    std::array<std::uint8_t, closingCommandLength> command{};  // undefined bytes go as 0
    UsbLink::Block reply{};
    blocksDone_ = 0;
    blocksExpected_ = 4;  // header, a record block, the intermediate reply, a payload block

    // Header exchange; a failure does not stop the transfer.
    send(command.data(), openingRequestLength);
    if (!receive(reply)) reply.fill(0);  // no header: nothing is announced
    const std::int32_t n = UploadRecord::countFromHeader(reply[0], reply[1]);
    recordCount = n;
    received.clear();
    payloadLength = 0;

    // Record phase.
    const std::size_t streamLength =
        UploadRecord::headerAreaSize + UploadRecord::size * static_cast<std::size_t>(n);
    received.reserve(streamLength);
    blocksExpected_ = 1 + recordBlocks(streamLength) + 2;
    bool ended = false;
    for (std::uint32_t j = 0; active && !ended; ++j) {
        command = {0, static_cast<std::uint8_t>(j % 256)};
        if (!send(command.data(), blockRequestLength) || !receive(reply)) break;
        if (received.size() >= streamLength) break;  // this block lies past the stream
        for (std::uint8_t byte : reply) {
            if (received.size() == streamLength) {
                ended = true;
                break;
            }
            received.push_back(byte);
            if (received.size() == streamLength) {
                const auto last = std::span(received).last<UploadRecord::size>();
                payloadLength = UploadRecord::parse(last).payloadEnd();
                blocksExpected_ = 1 + recordBlocks(streamLength) + 1 +
                                  payloadBlocks(static_cast<std::size_t>(payloadLength));
            }
        }
        active = stillActive();
    }
    const bool recordsComplete = received.size() == streamLength;

    // Payload phase. Without the whole record stream the payload's length is unknown.
    command = {0, intermediateRequest};
    send(command.data(), blockRequestLength);
    receive(reply);
    if (stillActive() && recordsComplete) {
        const auto length = static_cast<std::size_t>(payloadLength);
        received.reserve(streamLength + length);
        for (std::uint32_t j = firstPayloadBlock;; ++j) {
            command = {static_cast<std::uint8_t>(j / 256), static_cast<std::uint8_t>(j % 256)};
            if (!send(command.data(), blockRequestLength) || !receive(reply)) break;
            bool complete = false;
            for (std::size_t i = j == firstPayloadBlock ? firstPayloadByte : 0; i < reply.size();
                 ++i) {
                if (received.size() - streamLength == length) {
                    complete = true;
                    break;
                }
                received.push_back(reply[i]);
            }
            if (complete) {
                if (n > 0) FinishUpload();
                break;
            }
            if (!stillActive()) break;
        }
    }

    command = {0, 0, 0};
    link_.writeData(writeHandle, command.data(), closingCommandLength);  // not reported

    {
        // Whatever cleared the flag, the device must be closed.
        std::lock_guard lock(transferLock);
        transferActive = 1;
    }
    CloseTransferDevice();
    workerRunning = 0;
    return 0;
}

void TransferSession::CloseTransferDevice() {
    if (transferActive.load() == 0) return;
    if (workerRunning.load() == 1) {
        link_.abortWrite(deviceIndex);
        link_.abortRead(deviceIndex);
    }
    if (writeHandle != UsbLink::invalidHandle) {
        link_.closeHandle(writeHandle);
        writeHandle = UsbLink::invalidHandle;
    }
    if (readHandle != UsbLink::invalidHandle) {
        link_.closeHandle(readHandle);
        readHandle = UsbLink::invalidHandle;
    }
    link_.closeDevice(deviceIndex);
    std::lock_guard lock(transferLock);
    transferActive = 0;
}

void TransferSession::FinishUpload() {
    {
        std::lock_guard lock(transferLock);
        transferActive = 0;
    }
    if (!stopRequested_) ui_.endNotice(noticeCaption, finishedText);

    UploadDecodeResult decoded = UploadDecoder::decode(received, recordCount);
    recordCount = static_cast<std::int32_t>(decoded.components.size());
    if (decoded.droppedRecords > 0) {
        tell(failureCaption,
             "有" + std::to_string(decoded.droppedRecords) + "条记录的测量数据不完整，已略去。",
             MessageIcon::Error);
    }
    if (stopRequested_) return;

    const auto path = ui_.askSavePath(TransferUi::saveDefaultName, TransferUi::saveExtension,
                                      TransferUi::saveFilter);
    if (!path) return;
    if (Status s = UploadFile::save(*path, decoded.components); !s.ok()) {
        tell(noticeCaption, s.message(), MessageIcon::Error);
        return;
    }
    savedUpload_ = *path;
}
