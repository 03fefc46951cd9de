#pragma once

#include <string>
#include <utility>

// Success, or a failure with a message the user can read (UTF-8).
class Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !failed_; }
    const std::string& message() const { return message_; }

private:
    Status() = default;
    explicit Status(std::string message) : message_(std::move(message)), failed_(true) {}

    std::string message_;
    bool failed_ = false;
};
