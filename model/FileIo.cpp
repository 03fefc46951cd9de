#include "model/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#define CORVANE_FSYNC(fd) _commit(fd)
#define CORVANE_FILENO(f) _fileno(f)
#else
#include <unistd.h>
#define CORVANE_FSYNC(fd) ::fsync(fd)
#define CORVANE_FILENO(f) ::fileno(f)
#endif

namespace {

std::string reason(int error) {
    return std::generic_category().message(error);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wmode(mode, mode + std::strlen(mode));
    return ::_wfopen(path.c_str(), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace

std::string FileIo::displayName(const std::filesystem::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

Status FileIo::readAll(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    errno = 0;
    FilePtr file(openFile(path, "rb"));
    if (!file) {
        return Status::failure("无法打开文件“" + displayName(path) + "”：" + reason(errno));
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) bytes.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    if (std::ferror(file.get())) {
        const int error = errno;
        bytes.clear();
        return Status::failure("读取文件“" + displayName(path) + "”失败：" + reason(error));
    }
    return Status::success();
}

Status FileIo::writeAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::string target = displayName(path);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return Status::failure("无法保存文件“" + target + "”：同名文件夹已存在。");
    }

    // A unique name in the same folder, so the final rename stays on one file system.
    std::random_device seed;
    std::filesystem::path temp;
    FilePtr file;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temp = path;
        temp += ".tmp" + std::to_string(seed());
        errno = 0;
        file.reset(openFile(temp, "wbx"));
        if (!file && errno != EEXIST) break;
    }
    if (!file) {
        return Status::failure("无法创建文件“" + target + "”：" + reason(errno));
    }

    auto fail = [&](int error) {
        file.reset();
        std::filesystem::remove(temp, ec);
        return Status::failure("写入文件“" + target + "”失败：" + reason(error) +
                               "。原有文件未被改动。");
    };
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return fail(errno);
    if (std::fflush(file.get()) != 0) return fail(errno);
    if (CORVANE_FSYNC(CORVANE_FILENO(file.get())) != 0) return fail(errno);
    if (std::fclose(file.release()) != 0) return fail(errno);

    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return Status::failure("无法保存文件“" + target + "”：" + ec.message() +
                               "。原有文件未被改动。");
    }
    return Status::success();
}
