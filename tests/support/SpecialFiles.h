#pragma once

// POSIX only: pipes and sockets in the file system.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

// A Unix socket bound at `path`; it stays a socket file after the descriptor is closed.
inline void makeSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// A FIFO nobody writes. Whoever opens it to read would wait for ever, so the watch opens it to
// write as soon as a reader waits there: the reader goes on (and finds it empty) and the
// watch remembers it, so a test of code that must never open the FIFO fails instead of
// hanging.
class FifoWatch {
public:
    explicit FifoWatch(std::filesystem::path path) : path_(std::move(path)) {
        EXPECT_EQ(::mkfifo(path_.c_str(), 0600), 0);
        watcher_ = std::thread([this] {
            while (!done_) {
                // Without a reader this fails at once (ENXIO) instead of waiting for one.
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    opened_ = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~FifoWatch() {
        done_ = true;
        watcher_.join();
    }
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Whether anyone opened the FIFO to read it.
    bool opened() const { return opened_; }

private:
    std::filesystem::path path_;
    std::atomic<bool> done_{false};
    std::atomic<bool> opened_{false};
    std::thread watcher_;
};
