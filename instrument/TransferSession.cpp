#include "instrument/TransferSession.h"

#include <string>
#include <system_error>
#include <utility>

#include "instrument/UploadDecoder.h"

namespace {

constexpr std::string_view openFailedText = "打开设备失败！";
constexpr std::string_view noHandleText = "无法打开设备！";
constexpr std::string_view threadFailedText = "端点2线程启动失败";
constexpr std::string_view finishedText = "下位机测量数据传输结束！";
constexpr std::string_view busyText = "数据传输正在进行，请等本次传输结束后再试。";

}  // namespace

TransferSession::TransferSession(UsbLink& link, TransferUi& ui) : link_(link), ui_(ui) {}

TransferSession::~TransferSession() {
    stop();
}

void TransferSession::setEndListener(std::function<void()> listener) {
    endListener_ = std::move(listener);
}

TransferSession::State TransferSession::state() const {
    std::lock_guard lock(transferLock);
    return state_;
}

bool TransferSession::stopping() const {
    return state() == State::Stopping;
}

void TransferSession::setState(State state) {
    std::lock_guard lock(transferLock);
    state_ = state;
}

bool TransferSession::OnDataTransfer() {
    // Starting again would take the device from the running worker.
    if (running()) {
        ui_.message(noticeCaption, busyText, MessageIcon::Information);
        return false;
    }
    wait();  // the last worker has finished; let its thread go

    deviceIndex = 0;
    result_ = {};
    savedUpload_.reset();

    if (!link_.openDevice(deviceIndex)) {
        const std::string hint = link_.openFailureHint();
        ui_.message(
            failureCaption,
            hint.empty() ? std::string(openFailedText) : std::string(openFailedText) + "\n" + hint,
            MessageIcon::Error);
        return false;
    }

    readHandle = createHandle();
    if (readHandle != UsbLink::invalidHandle) writeHandle = createHandle();
    if (writeHandle == UsbLink::invalidHandle) {
        // Nothing will use the device now; leaving it open would block the next attempt.
        CloseTransferDevice();
        ui_.message(failureCaption, noHandleText, MessageIcon::Error);
        return false;
    }

    // Set before the start, so the worker's own return to Idle cannot be overwritten.
    setState(State::Running);
    if (!launchWorker()) {
        setState(State::Idle);
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
    {
        std::lock_guard lock(transferLock);
        if (state_ == State::Running) state_ = State::Stopping;
    }
    wait();
}

void TransferSession::wait() {
    if (worker_.joinable()) worker_.join();
}

UsbLink::Handle TransferSession::createHandle() {
    const std::optional<std::string> name = link_.deviceName(deviceIndex);
    if (!name) return UsbLink::invalidHandle;
    return link_.openHandle(*name);
}

void TransferSession::tell(std::string_view caption, std::string_view text, MessageIcon icon) {
    // Once the owner is stopping, nobody is left to answer.
    if (!stopping()) ui_.message(caption, text, icon);
}

void TransferSession::TransferWorker() {
    if (!stopping()) {
        TransferProtocol::Hooks hooks;
        hooks.progress = [this](std::size_t done, std::size_t expected) {
            if (!stopping()) ui_.progress(done, expected);
        };
        hooks.cancelled = [this] { return stopping(); };
        hooks.failure = [this](std::string_view text) {
            tell(failureCaption, text, MessageIcon::Error);
        };
        hooks.uploaded = [this](TransferResult& result) { FinishUpload(result); };
        result_ = TransferProtocol(link_, readHandle, writeHandle, hooks)
                      .run(std::move(result_.received));
    }
    CloseTransferDevice();
    setState(State::Idle);
    if (endListener_) endListener_();
}

void TransferSession::CloseTransferDevice() {
    // Only a worker can be inside a read or write that has to be cut short.
    if (running()) {
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
}

void TransferSession::FinishUpload(TransferResult& result) {
    if (!stopping()) ui_.endNotice(noticeCaption, finishedText);

    UploadDecodeResult decoded = UploadDecoder::decode(result.received, result.recordCount);
    result.recordCount = static_cast<std::int32_t>(decoded.components.size());
    if (decoded.droppedRecords > 0) {
        tell(failureCaption,
             "有" + std::to_string(decoded.droppedRecords) + "条记录的测量数据不完整，已略去。",
             MessageIcon::Error);
    }
    if (stopping()) return;

    const auto path = ui_.askSavePath(TransferUi::saveDefaultName, TransferUi::saveExtension,
                                      TransferUi::saveFilter);
    if (!path) return;
    if (Status s = ui_.saveUpload(*path, decoded.components); !s.ok()) {
        tell(noticeCaption, s.message(), MessageIcon::Error);
        return;
    }
    savedUpload_ = *path;
}
