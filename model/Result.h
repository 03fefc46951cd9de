#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

// A failure as the user reads it (UTF-8). The GUI shows `message` in a message box, the CLI
// prints it: the same words for the same fault.
struct Error {
    std::string message;
};

// The value of a fallible operation, or the message that says why there is none.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error error) : message_(std::move(error.message)) {}

    static Result failure(std::string message) { return Result(Error{std::move(message)}); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    T& value() & {
        assert(ok());
        return *value_;
    }
    const T& value() const& {
        assert(ok());
        return *value_;
    }
    T&& value() && {
        assert(ok());
        return std::move(*value_);
    }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    // Empty while ok().
    const std::string& message() const { return message_; }

private:
    std::optional<T> value_;
    std::string message_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : message_(std::move(error.message)), failed_(true) {}

    static Result success() { return Result(); }
    static Result failure(std::string message) { return Result(Error{std::move(message)}); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return message_; }

private:
    std::string message_;
    bool failed_ = false;
};

// Success, or a failure with its message.
using Status = Result<void>;
