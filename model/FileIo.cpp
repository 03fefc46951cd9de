#include "model/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>
#include <system_error>

#include "model/FileIoPlatform.h"
#include "model/SystemErrorText.h"

// The system calls of a read and a save are in FileIoPosix.cpp and FileIoWindows.cpp.

namespace fs = std::filesystem;

namespace {

constexpr std::string_view temporaryTag = ".corvane-save-";
constexpr std::size_t temporarySuffixLength = 6;
constexpr char suffixAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

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

}  // namespace

namespace fileio {

Result<std::string> readBounded(const std::string& shown, const ReadSome& readSome,
                                const FileIo::HeadCheck& check, std::size_t limit,
                                std::size_t sizeHint) {
    const auto tooLarge = [&] {
        constexpr std::size_t mebibyte = std::size_t{1} << 20;
        const std::string bound = limit % mebibyte == 0 ? std::to_string(limit / mebibyte) + " MiB "
                                                        : std::to_string(limit) + " 字节";
        return Error{"“" + shown + "”超过了 " + bound + "的读取上限，不是本程序的数据文件。"};
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
        if (n < 0) return Error{"读取文件“" + shown + "”失败：" + systemErrorText(errno) + "。"};
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

Error cannotRead(const std::string& shown, std::string_view why) {
    return Error{"无法读取“" + shown + "”：" + std::string(why) + "。"};
}

Result<SaveTarget> saveTarget(const fs::path& path, const std::string& shown) {
    SaveTarget save;
    save.file = resolveTarget(path);
    save.folder = save.file.parent_path();
    save.prefix = FileIo::temporaryPrefix(save.file);
    std::error_code ec;
    const fs::file_status existing = fs::status(save.file, ec);
    save.exists = fs::exists(existing);
    if (fs::is_directory(existing)) {
        return Error{"无法保存文件“" + shown + "”：同名文件夹已存在。"};
    }
    return save;
}

void removeLeftovers(const SaveTarget& save) {
    std::error_code ec;
    for (fs::directory_iterator it(save.folder.empty() ? fs::path(".") : save.folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (isOwnLeftover(name, save.prefix) && it->is_regular_file(typeError)) {
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

Error cannotCreateIn(const fs::path& folder, const std::string& why, const std::string& untouched) {
    std::error_code ec;
    const fs::path shownFolder = folder.empty() ? fs::current_path(ec) : folder;
    return Error{"无法在文件夹“" + FileIo::displayName(shownFolder) + "”中创建文件：" + why + "。" +
                 untouched};
}

}  // namespace fileio

void FileIo::reportOversizeWrites() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

Status FileIo::checkRegularFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status) || fs::is_regular_file(status)) return Status::success();
    if (fs::is_directory(status)) {
        return fileio::cannotRead(displayName(path), fileio::folderReason);
    }
    return Error{"“" + displayName(path) + "”不是普通文件，无法打开。"};
}

std::string FileIo::displayName(const fs::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

fs::path FileIo::realTarget(const fs::path& path) {
    return resolveTarget(path);
}

std::string FileIo::temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + std::string(temporaryTag);
}
