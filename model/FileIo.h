#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "model/Result.h"

// Whole-file reads and writes that never damage what is on disk.
class FileIo {
public:
    // No file of ours comes near it (projects are a few MB); a larger input is not one.
    static constexpr std::size_t readLimit = std::size_t{256} << 20;
    // What a reader's first look at an input gets: this many bytes, fewer only when the input
    // is shorter.
    static constexpr std::size_t headBytes = 64;
    // Judges an input by its first bytes before the rest is read; a failure ends the read.
    using HeadCheck = std::function<Status(std::string_view head)>;
    // What messages call standard input.
    static constexpr std::string_view standardInputName = "标准输入";

    // Every byte of `path`, at most `limit` of them. A regular file, a pipe (FIFO) or a
    // character device is read; a folder, socket or block device is refused.
    static Result<std::string> readAll(const std::filesystem::path& path,
                                       const HeadCheck& check = {}, std::size_t limit = readLimit);
    // Fails unless `path` (links followed) names a regular file, told by its status alone: a
    // pipe is never opened, as opening one waits for a writer that may never come. The
    // program's window reads only such files (the command-line tool also reads pipes and
    // devices, as any filter does). A path whose status cannot be had passes: its read then
    // says why it cannot be opened.
    static Status checkRegularFile(const std::filesystem::path& path);
    // The same from standard input ("-" on the command line).
    static Result<std::string> readStandardInput(const HeadCheck& check = {},
                                                 std::size_t limit = readLimit);

    // Replaces `path` with `bytes` the way a careful editor saves: into a temporary file
    // ".<name>.corvane-save-XXXXXX" beside the file (a symbolic link is followed and stays a
    // link), flushed to disk, given the old file's permission bits, renamed over it, and the
    // folder flushed so the new name survives a power cut. On any failure the old file keeps
    // its bytes and the temporary file is removed. Leftovers of that pattern from an
    // interrupted save of the same target are removed first.
    //
    // What `path` names (links followed) decides: a pipe (FIFO) or character device is
    // written directly, never replaced, and a pipe nobody reads fails at once instead of
    // waiting; a folder, socket, block device or a loop of links is refused.
    static Status writeAtomically(const std::filesystem::path& path, std::string_view bytes);

    // What a save to `path` replaces: symbolic links followed (a dangling one to the name it
    // points at); `path` itself when it is no link.
    static std::filesystem::path realTarget(const std::filesystem::path& path);

    // The first half of a save in two steps: `bytes` in a new file at `path`, flushed to
    // disk. Whatever stood at that name (a file, or a link, which is never followed) is
    // removed first; a folder is refused.
    static Status writeNewFile(const std::filesystem::path& path, std::string_view bytes);
    // The second half: `from` renamed onto `to` with the careful save's checks (links at `to`
    // followed; a folder, pipe, device or socket there refused; an existing file's permission
    // bits, and owner where allowed, kept; a file the user may not write refused), then the
    // folder flushed.
    static Status renameOnto(const std::filesystem::path& from, const std::filesystem::path& to);

    // The prefix of the temporary files of a save to `target` (file name only).
    static std::string temporaryPrefix(const std::filesystem::path& target);

    // A write beyond the process's file-size limit must fail with EFBIG, and a write into a
    // pipe whose reader has gone with EPIPE, and reach the user as a message, not end the
    // process: the programs call this once at start-up.
    static void reportOversizeWrites();

    // The path as UTF-8, for messages.
    static std::string displayName(const std::filesystem::path& path);
};
