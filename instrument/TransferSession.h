#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "instrument/TransferProtocol.h"
#include "instrument/TransferUi.h"
#include "instrument/UsbLink.h"

// One pull of everything the instrument has stored: opens the device and its two handles,
// runs the exchange (TransferProtocol) on a worker thread, saves what arrived as an upload
// data file, and closes the device. The session never touches the open project.
//
// The owner (the main window, or a command-line tool) calls every public member on one
// thread of its own. One transfer runs at a time.
class TransferSession {
public:
    static constexpr std::string_view failureCaption = "DEBUG372";
    static constexpr std::string_view noticeCaption = "提示信息";

    // Idle: no worker, the device closed. Running: a worker owns the device. Stopping: the
    // owner asked the worker to end; it does at its next block and makes no new prompts.
    enum class State { Idle, Running, Stopping };

    // Neither is owned; both must outlive the session.
    TransferSession(UsbLink& link, TransferUi& ui);
    // Stops a running transfer first.
    virtual ~TransferSession();
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    // Called on the worker thread when a started transfer has ended: the device is closed and
    // the state is Idle again. Set it while idle.
    void setEndListener(std::function<void()> listener);

    // The 数据传输 command: opens the device and its two handles and starts the worker, then
    // returns at once. False when no transfer was started; the user has been told why.
    bool OnDataTransfer();

    // Ends a running transfer at its next block and waits until the worker has closed the
    // device. Safe at any time, so the owner can always go away.
    void stop();

    // Waits until the worker has returned.
    void wait();

    State state() const;
    bool running() const { return state() != State::Idle; }

    // The last transfer's results; read them only once the transfer has ended.
    const std::vector<std::uint8_t>& receivedBytes() const { return result_.received; }
    // N as the header gave it, or, once the upload step has run, the components it kept.
    std::int32_t lastRecordCount() const { return result_.recordCount; }
    std::int32_t lastPayloadLength() const { return result_.payloadLength; }
    // Where the upload data file was written; nothing when none was.
    const std::optional<std::filesystem::path>& savedUpload() const { return savedUpload_; }

protected:
    // Starts TransferWorker on a thread of its own; false when no thread could be started.
    virtual bool launchWorker();
    // The worker's whole life: the exchange unless a stop came first, then the device closed.
    void TransferWorker();

private:
    UsbLink::Handle createHandle();
    // Once for every device opened: after a failed start, or at the end of the worker.
    void CloseTransferDevice();
    void FinishUpload(TransferResult& result);

    bool stopping() const;
    void setState(State state);
    void tell(std::string_view caption, std::string_view text, MessageIcon icon);

    UsbLink& link_;
    TransferUi& ui_;
    std::thread worker_;
    std::function<void()> endListener_;

    mutable std::mutex transferLock;
    State state_ = State::Idle;  // guarded by transferLock

    // The device, then the worker's results: written by the owner's thread before the worker
    // starts and by the worker until it sets the state to Idle.
    std::uint32_t deviceIndex = 0;
    UsbLink::Handle readHandle = UsbLink::invalidHandle;
    UsbLink::Handle writeHandle = UsbLink::invalidHandle;
    TransferResult result_;
    std::optional<std::filesystem::path> savedUpload_;
};
