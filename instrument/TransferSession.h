#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "instrument/TransferUi.h"
#include "instrument/UsbLink.h"

// One pull of everything the instrument has stored: the header exchange gives N, the record
// phase fetches the header area and N records, the payload phase fetches the values, then the
// upload step decodes them and saves an upload data file, and the device is closed. The
// exchange runs on a worker thread; the session never touches the open project.
//
// The owner (the main window, or a command-line tool) calls every public member on one
// thread of its own. One transfer runs at a time.
class TransferSession {
public:
    static constexpr std::string_view failureCaption = "DEBUG372";
    static constexpr std::string_view noticeCaption = "提示信息";

    // Neither is owned; both must outlive the session.
    TransferSession(UsbLink& link, TransferUi& ui);
    // Stops a running transfer first.
    virtual ~TransferSession();
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    // The 数据传输 command: opens the device and its two handles and starts the worker, then
    // returns at once. False when no transfer was started; the user has been told why.
    bool OnDataTransfer();

    // Ends a running transfer at its next block and waits until the worker has closed the
    // device. Safe at any time, so the owner can always go away.
    void stop();

    // Waits until the worker has returned.
    void wait();

    bool running() const { return workerRunning.load() == 1; }
    bool active() const { return transferActive.load() == 1; }

    // The last transfer's results; read them only once wait() or stop() has returned.
    const std::vector<std::uint8_t>& receivedBytes() const { return received; }
    // N as the header gave it, or, once the upload step has run, the components it kept.
    std::int32_t lastRecordCount() const { return recordCount; }
    std::int32_t lastPayloadLength() const { return payloadLength; }
    // Where the upload data file was written; nothing when none was.
    const std::optional<std::filesystem::path>& savedUpload() const { return savedUpload_; }

protected:
    // Starts TransferWorker on a thread of its own; false when no thread could be started.
    virtual bool launchWorker();

private:
    int TransferWorker();
    UsbLink::Handle createHandle();
    void CloseTransferDevice();
    void FinishUpload();

    bool stillActive();
    bool send(const std::uint8_t* command, std::uint32_t length);
    bool receive(UsbLink::Block& reply);
    void tell(std::string_view caption, std::string_view text, MessageIcon icon);
    void reportProgress();

    UsbLink& link_;
    TransferUi& ui_;
    std::thread worker_;
    std::atomic<bool> stopRequested_{false};

    std::atomic<int> transferActive{0};
    std::uint32_t deviceIndex = 0;
    std::atomic<int> workerRunning{0};
    UsbLink::Handle readHandle = UsbLink::invalidHandle;
    UsbLink::Handle writeHandle = UsbLink::invalidHandle;
    std::mutex transferLock;
    std::vector<std::uint8_t> received;
    std::int32_t recordCount = 0;
    std::int32_t payloadLength = 0;

    std::size_t blocksDone_ = 0;
    std::size_t blocksExpected_ = 0;
    std::optional<std::filesystem::path> savedUpload_;
};
