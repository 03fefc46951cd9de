#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "model/FileIo.h"
#include "model/FileIoPlatform.h"
#include "model/SystemErrorText.h"

// FileIo's reads and saves through the wide Windows calls: paths of any length and in any
// script, file attributes, and a file another program holds open.

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The form of a path the wide API takes at any length: whole, without "." or "..", with
// the "\\?\" prefix that lifts the limit of 260 characters.
std::wstring longPath(const fs::path& path) {
    const std::wstring& given = path.native();
    if (given.starts_with(L"\\\\?\\")) return given;
    std::wstring full(::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD n =
        ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return given;
    full.resize(n);
    if (full.starts_with(L"\\\\.\\")) return full;  // a device
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 2 && full[1] == L':') return L"\\\\?\\" + full;
    return full;
}

// The system's reason for a failed call, as the errno texts the messages already use.
std::string windowsReason(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return systemErrorText(EACCES);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return systemErrorText(EBUSY);
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return systemErrorText(ENOENT);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return systemErrorText(ENOSPC);
        case ERROR_FILENAME_EXCED_RANGE:
            return systemErrorText(ENAMETOOLONG);
        case ERROR_WRITE_PROTECT:
            return systemErrorText(EROFS);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return systemErrorText(EEXIST);
        case ERROR_NOT_SAME_DEVICE:
            return systemErrorText(EXDEV);
        case ERROR_CRC:
        case ERROR_IO_DEVICE:
            return systemErrorText(EIO);
        default:
            return "系统错误（代码 " + std::to_string(error) + "）";
    }
}

class WinHandle {
public:
    explicit WinHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~WinHandle() { reset(); }
    WinHandle(const WinHandle&) = delete;
    WinHandle& operator=(const WinHandle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (valid()) ::CloseHandle(h_);
        h_ = h;
    }
    // Closing can report a delayed write error; the caller must see it.
    bool close() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The library keeps narrow names as UTF-8 one way and as the ANSI code page the other, so a
// name made from a path's own (UTF-8) text goes back explicitly as UTF-8.
fs::path pathFromUtf8(const std::string& name) {
    return fs::path(std::u8string(name.begin(), name.end()));
}

std::FILE* openFile(const fs::path& path, const char* mode) {
    std::wstring wmode(mode, mode + std::strlen(mode));
    const std::wstring name = longPath(path);
    std::FILE* file = ::_wfopen(name.c_str(), wmode.c_str());
    if (!file) {
        // The runtime calls both of these "access denied".
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            errno = EISDIR;
        } else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            errno = EBUSY;
        }
    }
    return file;
}

long long readFrom(std::FILE* file, char* into, std::size_t n) {
    const std::size_t got = std::fread(into, 1, n, file);
    if (got == 0 && std::ferror(file)) return -1;
    return static_cast<long long>(got);
}

// The save's temporary file beside the target, under a name no file has yet; the system's
// reason when none could be created.
DWORD createTemporary(const fileio::SaveTarget& save, WinHandle& file, std::wstring& name) {
    DWORD error = 0;
    for (int attempt = 0; attempt < 16 && !file.valid(); ++attempt) {
        name = longPath(save.folder / pathFromUtf8(save.prefix + fileio::randomSuffix()));
        file.reset(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        error = ::GetLastError();
        if (!file.valid() && error != ERROR_FILE_EXISTS) break;
    }
    return error;
}

// The bytes, flushed to disk and the file closed; false with the system's error when any of
// it failed.
bool fillTemporary(WinHandle& file, std::string_view bytes) {
    return writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get()) && file.close();
}

// The target's attributes (hidden, archive, ...) carry over to its new bytes.
void keepAttributes(DWORD target, const std::wstring& temp) {
    constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (target & kept) ::SetFileAttributesW(temp.c_str(), target & kept);
}

// The reason a rename over `target` failed: a target another program holds open is refused
// as "access denied", and the user is told which it was.
DWORD heldOrRefused(const std::wstring& target, DWORD error) {
    if (error != ERROR_ACCESS_DENIED) return error;
    WinHandle probe(::CreateFileW(target.c_str(), DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    return !probe.valid() && ::GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION
                                                                         : error;
}

}  // namespace

Result<std::string> FileIo::readAll(const fs::path& path, const HeadCheck& check,
                                    std::size_t limit) {
    const std::string shown = displayName(path);
    errno = 0;
    FilePtr file(openFile(path, "rb"));
    if (!file) return Error{"无法打开文件“" + shown + "”：" + systemErrorText(errno) + "。"};
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return fileio::readBounded(
        shown, [&](char* into, std::size_t n) { return readFrom(file.get(), into, n); }, check,
        limit, ec ? 0 : static_cast<std::size_t>(size));
}

Result<std::string> FileIo::readStandardInput(const HeadCheck& check, std::size_t limit) {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    return fileio::readBounded(
        std::string(standardInputName),
        [](char* into, std::size_t n) { return readFrom(stdin, into, n); }, check, limit, 0);
}

Status FileIo::writeAtomically(const fs::path& path, std::string_view bytes) {
    const std::string shown = displayName(path);
    const Result<fileio::SaveTarget> save = fileio::saveTarget(path, shown);
    if (!save.ok()) return Error{save.message()};
    // The wide API with long paths decides, not the library's status call, which cannot see
    // past 260 characters.
    const std::wstring targetName = longPath(save->file);
    const DWORD attributes = ::GetFileAttributesW(targetName.c_str());
    const bool present = attributes != INVALID_FILE_ATTRIBUTES;
    if (present && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return Error{"无法保存文件“" + shown + "”：同名文件夹已存在。"};
    }
    const std::string kept = present ? "原有文件未被改动。" : "";
    // Refused as on other systems: replacing the file would get round its read-only mark.
    if (present && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return Error{"无法保存文件“" + shown + "”：" + systemErrorText(EACCES) + "。" + kept};
    }
    fileio::removeLeftovers(*save);

    std::wstring tempName;
    WinHandle file;
    if (const DWORD error = createTemporary(*save, file, tempName); !file.valid()) {
        return fileio::cannotCreateIn(save->folder, windowsReason(error), kept);
    }
    if (!fillTemporary(file, bytes)) {
        const DWORD error = ::GetLastError();
        file.reset();
        ::DeleteFileW(tempName.c_str());
        return Error{"写入文件“" + shown + "”失败：" + windowsReason(error) + "。" + kept};
    }
    if (present) keepAttributes(attributes, tempName);
    // A rename, not ReplaceFileW: that one may leave a backup of its own beside a file it
    // failed on.
    if (!::MoveFileExW(tempName.c_str(), targetName.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(tempName.c_str());
        const DWORD why = present ? heldOrRefused(targetName, error) : error;
        return Error{"无法保存文件“" + shown + "”：" + windowsReason(why) + "。" + kept};
    }
    return Status::success();
}

Status FileIo::writeNewFile(const fs::path& path, std::string_view bytes) {
    const std::string shown = displayName(path);
    const std::wstring name = longPath(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            return Error{"无法保存文件“" + shown + "”：同名文件夹已存在。"};
        }
        if (!::DeleteFileW(name.c_str())) {
            return Error{"无法保存文件“" + shown + "”：" + windowsReason(::GetLastError()) + "。"};
        }
    }
    WinHandle file(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return Error{"无法保存文件“" + shown + "”：" + windowsReason(::GetLastError()) + "。"};
    }
    if (!fillTemporary(file, bytes)) {
        const DWORD error = ::GetLastError();
        file.reset();
        ::DeleteFileW(name.c_str());
        return Error{"写入文件“" + shown + "”失败：" + windowsReason(error) + "。"};
    }
    return Status::success();
}

Status FileIo::renameOnto(const fs::path& from, const fs::path& to) {
    const std::string shown = displayName(to);
    const std::wstring targetName = longPath(realTarget(to));
    const std::wstring fromName = longPath(from);
    const DWORD attributes = ::GetFileAttributesW(targetName.c_str());
    const bool present = attributes != INVALID_FILE_ATTRIBUTES;
    if (present && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return Error{"无法保存文件“" + shown + "”：同名文件夹已存在。"};
    }
    if (present && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return Error{"无法保存文件“" + shown + "”：" + systemErrorText(EACCES) + "。"};
    }
    if (present) keepAttributes(attributes, fromName);
    if (!::MoveFileExW(fromName.c_str(), targetName.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        const DWORD why = present ? heldOrRefused(targetName, error) : error;
        return Error{"无法保存文件“" + shown + "”：" + windowsReason(why) + "。"};
    }
    return Status::success();
}
