#pragma once

// POSIX only: the programs are started from tests that run on Linux.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

struct ProgramRun {
    int status = -1;  // the exit status; -1 when killed, crashed or out of time
    std::string out;
    std::string err;
};

struct ProgramStart {
    std::optional<std::string> input;  // standard input; without it, closed at once
    std::filesystem::path folder;      // the working folder; the test's when empty
    std::string platform;              // QT_QPA_PLATFORM; none when empty
    std::chrono::seconds timeout{60};
};

// Runs `program` as a user starts it from a terminal without a desktop, or as a cron job: no
// display, no Qt platform named, no runtime folder. The words are passed as the bytes they
// are (a file name need not be UTF-8). A program still running after the timeout (waiting
// for a window, or for a read that never ends) is killed.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& words,
                             const ProgramStart& start = {}) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        const std::string_view name = entry.substr(0, entry.find('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM" &&
            name != "XDG_RUNTIME_DIR") {
            env.emplace_back(entry);
        }
    }
    if (!start.platform.empty()) env.push_back("QT_QPA_PLATFORM=" + start.platform);
    std::vector<char*> argv{const_cast<char*>(program.c_str())}, envp;
    for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    ProgramRun run;
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC)) return run;
    ::signal(SIGPIPE, SIG_IGN);  // a program that ends without reading all its input
    const pid_t child = ::fork();
    if (child == 0) {  // only calls that are safe after fork
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        if (!start.folder.empty() && ::chdir(start.folder.c_str()) != 0) ::_exit(127);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    for (int fd : {in[0], out[1], err[1]}) ::close(fd);
    const std::string input = start.input.value_or("");
    std::size_t written = 0;
    if (!start.input) {
        ::close(in[1]);
        in[1] = -1;
    } else {
        ::fcntl(in[1], F_SETFL, O_NONBLOCK);  // never wait on a full pipe while output piles up
    }
    const auto deadline = std::chrono::steady_clock::now() + start.timeout;
    bool killed = false;
    while (out[0] >= 0 || err[0] >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(child, SIGKILL);
            killed = true;
            break;
        }
        pollfd fds[] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
        if (::poll(fds, 3, static_cast<int>(left.count())) < 0) continue;  // EINTR
        for (int k = 0; k < 2; ++k) {
            if (fds[k].revents == 0) continue;
            char buffer[65536];
            const ssize_t n = ::read(fds[k].fd, buffer, sizeof buffer);
            if (n > 0) {
                (k == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[k].fd);
                (k == 0 ? out[0] : err[0]) = -1;
            }
        }
        if (fds[2].revents != 0) {
            const ssize_t n = ::write(in[1], input.data() + written, input.size() - written);
            if (n > 0) written += static_cast<std::size_t>(n);
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) {
                ::close(in[1]);
                in[1] = -1;
            }
        }
    }
    for (int fd : {in[1], out[0], err[0]}) {
        if (fd >= 0) ::close(fd);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!killed && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}

#ifdef CORVANE_CLI
// corvane-cli with `words` after its name, started as above.
inline ProgramRun runCli(const std::vector<std::string>& words, const ProgramStart& start = {}) {
    return runProgram(CORVANE_CLI, words, start);
}
#endif
