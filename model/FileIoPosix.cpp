#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "model/FileIo.h"
#include "model/FileIoPlatform.h"
#include "model/SystemErrorText.h"

// FileIo's reads and saves through the POSIX calls: file kinds, permission bits and owners,
// and a folder flushed after a rename.

namespace fs = std::filesystem;

namespace {

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

long long readFrom(int fd, char* into, std::size_t n) {
    for (;;) {
        const ssize_t got = ::read(fd, into, n);
        if (got >= 0 || errno != EINTR) return got;
    }
}

// Why a file of this kind is neither read nor written; empty when it may be.
std::string_view unusableKind(mode_t mode) {
    if (S_ISDIR(mode)) return fileio::folderReason;
    if (S_ISSOCK(mode)) return "这是一个套接字，不是文件";
    if (S_ISBLK(mode)) return "这是一个块设备，不是文件";
    return {};
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
        return Error{"无法写入“" + shown + "”：" + systemErrorText(errno) + "。"};
    }
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0 || (opened.st_mode & S_IFMT) != (kind & S_IFMT)) {
        return Error{"无法写入“" + shown + "”：文件在保存时被替换了。"};
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    if (!writeAll(fd.get(), bytes))
        return Error{"写入“" + shown + "”失败：" + systemErrorText(errno) + "。"};
    if (fd.close() != 0) return Error{"写入“" + shown + "”失败：" + systemErrorText(errno) + "。"};
    return Status::success();
}

// A new file beside the target under a name no file has yet; the errno of the last attempt
// when none could be created.
int createTemporary(const fileio::SaveTarget& save, Descriptor& fd, fs::path& temp) {
    int error = 0;
    for (int attempt = 0; attempt < 16 && fd.get() < 0; ++attempt) {
        temp = save.folder / (save.prefix + fileio::randomSuffix());
        // 0666 under the umask, as any new file; an existing file's bits are copied later.
        fd.reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        error = errno;
        if (fd.get() < 0 && error != EEXIST) break;
    }
    return error;
}

// The old file's owner and permission bits (none for a new file: `old` is empty), then the
// bytes, flushed to disk and the file closed; false with errno set when any of it failed.
bool fillTemporary(Descriptor& fd, const struct stat& old, std::string_view bytes) {
    if (old.st_mode != 0) {
        // Owner and group may only be kept where the system allows it; the bits always.
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) errno = 0;
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) return false;
    }
    return writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close() == 0;
}

// The bytes into a temporary file beside the target, renamed over it.
Status replaceFile(const fileio::SaveTarget& save, const std::string& shown,
                   std::string_view bytes) {
    const std::string untouched = save.exists ? "原有文件未被改动。" : "";
    struct stat old {};
    if (save.exists) {
        // Refused like a plain write would be: the rename could replace a file the user may
        // not change when the folder happens to be writable.
        if (::access(save.file.c_str(), W_OK) != 0) {
            return Error{"无法保存文件“" + shown + "”：" + systemErrorText(errno) + "。" +
                         untouched};
        }
        if (::stat(save.file.c_str(), &old) != 0) old = {};
    }
    fileio::removeLeftovers(save);

    fs::path temp;
    Descriptor fd;
    if (const int error = createTemporary(save, fd, temp); fd.get() < 0) {
        return fileio::cannotCreateIn(save.folder, systemErrorText(error), untouched);
    }
    std::error_code ec;
    if (!fillTemporary(fd, old, bytes)) {
        const int error = errno;
        fd.reset();
        fs::remove(temp, ec);
        return Error{"写入文件“" + shown + "”失败：" + systemErrorText(error) + "。" + untouched};
    }
    if (::rename(temp.c_str(), save.file.c_str()) != 0) {
        const int error = errno;
        fs::remove(temp, ec);
        return Error{"无法保存文件“" + shown + "”：" + systemErrorText(error) + "。" + untouched};
    }
    syncFolder(save.folder);
    return Status::success();
}

}  // namespace

Result<std::string> FileIo::readAll(const fs::path& path, const HeadCheck& check,
                                    std::size_t limit) {
    const std::string shown = displayName(path);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return Error{"无法打开文件“" + shown + "”：" + systemErrorText(errno) + "。"};
    }
    if (const std::string_view refused = unusableKind(st.st_mode); !refused.empty()) {
        return fileio::cannotRead(shown, refused);
    }
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        return Error{"无法打开文件“" + shown + "”：" + systemErrorText(errno) + "。"};
    }
    return fileio::readBounded(
        shown, [&](char* into, std::size_t n) { return readFrom(fd.get(), into, n); }, check, limit,
        S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) : 0);
}

Result<std::string> FileIo::readStandardInput(const HeadCheck& check, std::size_t limit) {
    return fileio::readBounded(
        std::string(standardInputName),
        [](char* into, std::size_t n) { return readFrom(STDIN_FILENO, into, n); }, check, limit, 0);
}

Status FileIo::writeNewFile(const fs::path& path, std::string_view bytes) {
    const std::string shown = displayName(path);
    struct stat there {};
    if (::lstat(path.c_str(), &there) == 0) {
        if (S_ISDIR(there.st_mode)) return Error{"无法保存文件“" + shown + "”：同名文件夹已存在。"};
        if (::unlink(path.c_str()) != 0) {
            return Error{"无法保存文件“" + shown + "”：" + systemErrorText(errno) + "。"};
        }
    }
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        return Error{"无法保存文件“" + shown + "”：" + systemErrorText(errno) + "。"};
    }
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || fd.close() != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        return Error{"写入文件“" + shown + "”失败：" + systemErrorText(error) + "。"};
    }
    return Status::success();
}

Status FileIo::renameOnto(const fs::path& from, const fs::path& to) {
    const std::string shown = displayName(to);
    const fs::path target = realTarget(to);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            return Error{"无法保存文件“" + shown + "”：同名的文件不是普通文件。"};
        }
        if (::access(target.c_str(), W_OK) != 0) {
            return Error{"无法保存文件“" + shown + "”：" + systemErrorText(errno) + "。"};
        }
        if (::chown(from.c_str(), old.st_uid, old.st_gid) != 0) errno = 0;
        if (::chmod(from.c_str(), old.st_mode & 07777) != 0) {
            return Error{"无法保存文件“" + shown + "”：" + systemErrorText(errno) + "。"};
        }
    } else if (errno == ELOOP) {
        return Error{"无法保存文件“" + shown + "”：符号链接形成了循环。"};
    }
    if (::rename(from.c_str(), target.c_str()) != 0) {
        return Error{"无法保存文件“" + shown + "”：" + systemErrorText(errno) + "。"};
    }
    syncFolder(target.parent_path());
    return Status::success();
}

Status FileIo::writeAtomically(const fs::path& path, std::string_view bytes) {
    const std::string shown = displayName(path);
    // The path as given, links followed: "/dev/stdout" onto a pipe is that pipe.
    struct stat given {};
    if (::stat(path.c_str(), &given) == 0) {
        if (const std::string_view refused = unusableKind(given.st_mode); !refused.empty()) {
            return Error{S_ISDIR(given.st_mode)
                             ? "无法保存文件“" + shown + "”：同名文件夹已存在。"
                             : "无法保存文件“" + shown + "”：" + std::string(refused) + "。"};
        }
        if (S_ISFIFO(given.st_mode) || S_ISCHR(given.st_mode)) {
            return writeInPlace(path, shown, given.st_mode, bytes);
        }
    } else if (errno == ELOOP) {
        return Error{"无法保存文件“" + shown + "”：符号链接形成了循环。"};
    }
    const Result<fileio::SaveTarget> save = fileio::saveTarget(path, shown);
    if (!save.ok()) return Error{save.message()};
    return replaceFile(*save, shown, bytes);
}
