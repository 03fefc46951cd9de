#include "model/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#include "model/SystemErrorText.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::string_view temporaryTag = ".corvane-save-";
constexpr std::size_t temporarySuffixLength = 6;
constexpr char suffixAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string reason(int error) {
    return systemErrorText(error);
}

[[maybe_unused]] std::string reason(const std::error_code& ec) {
    return ec.category() == std::generic_category() || ec.category() == std::system_category()
               ? systemErrorText(ec.value())
               : ec.message();
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

#ifdef _WIN32

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

#endif

#ifdef _WIN32
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
#endif

// The file a save replaces: a symbolic link is followed to what it names (also when that
// does not exist yet), so the link itself stays.
fs::path resolveTarget(const fs::path& path) {
    fs::path p = path;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)) || ec) return p;
        const fs::path link = fs::read_symlink(p, ec);
        if (ec) return p;
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p;
}

bool isOwnLeftover(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + temporarySuffixLength) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::strchr(suffixAlphabet, name[i]) || name[i] == '\0') return false;
    }
    return true;
}

// An earlier save of the same target that was killed half-way left its temporary file.
void removeLeftovers(const fs::path& folder, const std::string& prefix) {
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (isOwnLeftover(name, prefix) && it->is_regular_file(typeError)) {
            fs::remove(it->path(), typeError);
        }
    }
}

std::string randomSuffix() {
    static thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof suffixAlphabet - 2);
    std::string suffix(temporarySuffixLength, ' ');
    for (char& c : suffix) c = suffixAlphabet[pick(generator)];
    return suffix;
}

#ifndef _WIN32

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Closing reports delayed write errors (NFS, quotas); the caller must see them.
    int close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd);
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    // Best effort: some file systems cannot flush a folder; the file itself is on disk.
    Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (dir.get() >= 0) ::fsync(dir.get());
}

#endif

// Reads through `readSome` (bytes read, 0 at the end, negative with errno on failure): the
// head first, judged by `check`, then the rest up to `limit` bytes.
template <class ReadSome>
Result<std::string> readBounded(const std::string& shown, ReadSome readSome,
                                const FileIo::HeadCheck& check, std::size_t limit,
                                std::size_t sizeHint) {
    const auto tooLarge = [&] {
        return Error{"“" + shown + "”超过了 " + std::to_string(limit >> 20) +
                     " MiB 的读取上限，不是本程序的数据文件。"};
    };
    std::string bytes;
    char buffer[1 << 16];
    bool checked = false;
    for (;;) {
        // Only the head until it is judged, so a huge input that is no file of ours costs
        // nothing; then never more than one byte past the limit.
        const std::size_t want = !checked ? FileIo::headBytes - bytes.size()
                                          : std::min(sizeof buffer, limit + 1 - bytes.size());
        errno = 0;
        const auto n = readSome(buffer, want);
        if (n < 0) return Error{"读取文件“" + shown + "”失败：" + reason(errno) + "。"};
        bytes.append(buffer, static_cast<std::size_t>(n));
        const bool ended = n == 0;
        if (!checked && (ended || bytes.size() == FileIo::headBytes)) {
            if (check) {
                if (Status s = check(bytes); !s.ok()) return Error{s.message()};
            }
            if (sizeHint > limit) return tooLarge();
            bytes.reserve(sizeHint + 1);
            checked = true;
        }
        if (bytes.size() > limit) return tooLarge();
        if (ended) return bytes;
    }
}

#ifdef _WIN32
long long readFrom(std::FILE* file, char* into, std::size_t n) {
    const std::size_t got = std::fread(into, 1, n, file);
    if (got == 0 && std::ferror(file)) return -1;
    return static_cast<long long>(got);
}
#else
long long readFrom(int fd, char* into, std::size_t n) {
    for (;;) {
        const ssize_t got = ::read(fd, into, n);
        if (got >= 0 || errno != EINTR) return got;
    }
}

// Why a file of this kind is neither read nor written; null when it may be.
const char* unusableKind(mode_t mode) {
    if (S_ISDIR(mode)) return "这是一个文件夹";
    if (S_ISSOCK(mode)) return "这是一个套接字，不是文件";
    if (S_ISBLK(mode)) return "这是一个块设备，不是文件";
    return nullptr;
}

// A pipe or a device is written where it is: replacing it by a plain file would cut off its
// reader (or, run as root, replace a system device).
Status writeInPlace(const fs::path& path, const std::string& shown, mode_t kind,
                    std::string_view bytes) {
    // Without a reader a pipe would block the program for ever; opened without blocking it
    // says so at once.
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        if (errno == ENXIO && S_ISFIFO(kind)) {
            return Error{"无法写入“" + shown + "”：没有程序在读取这个管道。"};
        }
        return Error{"无法写入“" + shown + "”：" + reason(errno) + "。"};
    }
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0 || (opened.st_mode & S_IFMT) != (kind & S_IFMT)) {
        return Error{"无法写入“" + shown + "”：文件在保存时被替换了。"};
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    if (!writeAll(fd.get(), bytes))
        return Error{"写入“" + shown + "”失败：" + reason(errno) + "。"};
    if (fd.close() != 0) return Error{"写入“" + shown + "”失败：" + reason(errno) + "。"};
    return Status::success();
}
#endif

}  // namespace

void FileIo::reportOversizeWrites() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

std::string FileIo::displayName(const fs::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string FileIo::temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + std::string(temporaryTag);
}

Result<std::string> FileIo::readAll(const fs::path& path, const HeadCheck& check,
                                    std::size_t limit) {
    const std::string shown = displayName(path);
#ifdef _WIN32
    errno = 0;
    FilePtr file(openFile(path, "rb"));
    if (!file) return Error{"无法打开文件“" + shown + "”：" + reason(errno) + "。"};
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return readBounded(
        shown, [&](char* into, std::size_t n) { return readFrom(file.get(), into, n); }, check,
        limit, ec ? 0 : static_cast<std::size_t>(size));
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return Error{"无法打开文件“" + shown + "”：" + reason(errno) + "。"};
    }
    if (const char* refused = unusableKind(st.st_mode)) {
        return Error{"无法读取“" + shown + "”：" + refused + "。"};
    }
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return Error{"无法打开文件“" + shown + "”：" + reason(errno) + "。"};
    return readBounded(
        shown, [&](char* into, std::size_t n) { return readFrom(fd.get(), into, n); }, check, limit,
        S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) : 0);
#endif
}

Result<std::string> FileIo::readStandardInput(const HeadCheck& check, std::size_t limit) {
#ifdef _WIN32
    ::_setmode(::_fileno(stdin), _O_BINARY);
    return readBounded(
        "标准输入", [](char* into, std::size_t n) { return readFrom(stdin, into, n); }, check,
        limit, 0);
#else
    return readBounded(
        "标准输入", [](char* into, std::size_t n) { return readFrom(STDIN_FILENO, into, n); },
        check, limit, 0);
#endif
}

Status FileIo::writeAtomically(const fs::path& path, std::string_view bytes) {
    const std::string shown = displayName(path);
#ifndef _WIN32
    // The path as given, links followed: "/dev/stdout" onto a pipe is that pipe.
    struct stat given {};
    if (::stat(path.c_str(), &given) == 0) {
        if (const char* refused = unusableKind(given.st_mode)) {
            return Error{S_ISDIR(given.st_mode) ? "无法保存文件“" + shown + "”：同名文件夹已存在。"
                                                : "无法保存文件“" + shown + "”：" + refused + "。"};
        }
        if (S_ISFIFO(given.st_mode) || S_ISCHR(given.st_mode)) {
            return writeInPlace(path, shown, given.st_mode, bytes);
        }
    } else if (errno == ELOOP) {
        return Error{"无法保存文件“" + shown + "”：符号链接形成了循环。"};
    }
#endif
    const fs::path target = resolveTarget(path);
    const fs::path folder = target.parent_path();
    const std::string prefix = temporaryPrefix(target);
    std::error_code ec;
    const fs::file_status existing = fs::status(target, ec);
    const bool exists = fs::exists(existing);
    if (fs::is_directory(existing)) {
        return Error{"无法保存文件“" + shown + "”：同名文件夹已存在。"};
    }
    const std::string untouched = exists ? "原有文件未被改动。" : "";

#ifdef _WIN32
    // The wide API with long paths decides, not the library's status call, which cannot see
    // past 260 characters.
    const std::wstring targetName = longPath(target);
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
    removeLeftovers(folder, prefix);

    fs::path temp;
    std::wstring tempName;
    WinHandle file;
    DWORD createError = 0;
    for (int attempt = 0; attempt < 16 && !file.valid(); ++attempt) {
        temp = folder / pathFromUtf8(prefix + randomSuffix());
        tempName = longPath(temp);
        file.reset(::CreateFileW(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        createError = ::GetLastError();
        if (!file.valid() && createError != ERROR_FILE_EXISTS) break;
    }
    if (!file.valid()) {
        const fs::path shownFolder = folder.empty() ? fs::current_path(ec) : folder;
        return Error{"无法在文件夹“" + displayName(shownFolder) + "”中创建文件：" +
                     windowsReason(createError) + "。" + kept};
    }
    auto fail = [&](DWORD error) -> Status {
        file.reset();
        ::DeleteFileW(tempName.c_str());
        return Error{"写入文件“" + shown + "”失败：" + windowsReason(error) + "。" + kept};
    };
    if (!writeAll(file.get(), bytes)) return fail(::GetLastError());
    if (!::FlushFileBuffers(file.get())) return fail(::GetLastError());
    if (!file.close()) return fail(::GetLastError());

    // The target's attributes (hidden, archive, ...) carry over to its new bytes. A rename,
    // not ReplaceFileW: that one may leave a backup of its own beside a file it failed on.
    constexpr DWORD keptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (present && (attributes & keptAttributes)) {
        ::SetFileAttributesW(tempName.c_str(), attributes & keptAttributes);
    }
    if (!::MoveFileExW(tempName.c_str(), targetName.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = ::GetLastError();
        ::DeleteFileW(tempName.c_str());
        // A target another program holds open is refused as "access denied"; say which.
        if (error == ERROR_ACCESS_DENIED && present) {
            WinHandle probe(::CreateFileW(targetName.c_str(), DELETE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
            if (!probe.valid() && ::GetLastError() == ERROR_SHARING_VIOLATION) {
                error = ERROR_SHARING_VIOLATION;
            }
        }
        return Error{"无法保存文件“" + shown + "”：" + windowsReason(error) + "。" + kept};
    }
    return Status::success();
#else
    struct stat old {};
    if (exists) {
        // Refused like a plain write would be: the rename could replace a file the user may
        // not change when the folder happens to be writable.
        if (::access(target.c_str(), W_OK) != 0) {
            return Error{"无法保存文件“" + shown + "”：" + reason(errno) + "。" + untouched};
        }
        if (::stat(target.c_str(), &old) != 0) old = {};
    }
    removeLeftovers(folder, prefix);

    fs::path temp;
    Descriptor fd;
    int createError = 0;
    for (int attempt = 0; attempt < 16 && fd.get() < 0; ++attempt) {
        temp = folder / (prefix + randomSuffix());
        // 0666 under the umask, as any new file; an existing file's bits are copied below.
        fd.reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        createError = errno;
        if (fd.get() < 0 && createError != EEXIST) break;
    }
    if (fd.get() < 0) {
        const fs::path shownFolder = folder.empty() ? fs::current_path(ec) : folder;
        return Error{"无法在文件夹“" + displayName(shownFolder) + "”中创建文件：" +
                     reason(createError) + "。" + untouched};
    }

    auto fail = [&](int error) -> Status {
        fd.reset();
        fs::remove(temp, ec);
        return Error{"写入文件“" + shown + "”失败：" + reason(error) + "。" + untouched};
    };
    if (exists && old.st_mode != 0) {
        // Owner and group may only be kept where the system allows it; the bits always.
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) errno = 0;
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) return fail(errno);
    }
    if (!writeAll(fd.get(), bytes)) return fail(errno);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (fd.close() != 0) return fail(errno);

    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        fs::remove(temp, ec);
        return Error{"无法保存文件“" + shown + "”：" + reason(error) + "。" + untouched};
    }
    syncFolder(folder);
    return Status::success();
#endif
}
