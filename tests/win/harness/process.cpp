#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace harness {

namespace {

std::vector<std::string> MergedEnvironment(const Environment& extra) {
    Environment merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) {
            merged[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    for (const auto& [key, value] : extra) {
        merged[key] = value;
    }
    std::vector<std::string> list;
    for (const auto& [key, value] : merged) {
        list.push_back(key + "=" + value);
    }
    return list;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

Child::Child(const std::vector<std::string>& argv, const Environment& extra,
             const std::string& workingDirectory) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    if (!workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);  // its own group, killed as a whole

    std::vector<std::string> arguments = argv;
    std::vector<std::string> environment = MergedEnvironment(extra);
    const auto argumentPointers = Pointers(arguments);
    const auto environmentPointers = Pointers(environment);
    const int result = posix_spawnp(&pid_, arguments[0].c_str(), &actions, &attributes,
                                    argumentPointers.data(), environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(outPipe[1]);
    close(errPipe[1]);
    out_ = outPipe[0];
    err_ = errPipe[0];
    if (result != 0) {
        close(out_);
        close(err_);
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(result));
    }
}

Child::~Child() {
    Kill();
    if (out_ >= 0) {
        close(out_);
    }
    if (err_ >= 0) {
        close(err_);
    }
}

void Child::Kill() {
    if (!done_ && pid_ > 0) {
        kill(-pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        done_ = true;
    }
}

bool Child::Running() {
    if (done_) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        outcome_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        done_ = true;
    }
    return !done_;
}

std::string Child::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string line;
    char c = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd fd = {out_, POLLIN, 0};
        if (poll(&fd, 1, 20) <= 0) {
            continue;
        }
        if (read(out_, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return line;
        }
        line += c;
    }
    return "";
}

Outcome Child::Wait(std::chrono::milliseconds timeout) {
    if (done_) {
        return outcome_;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool outOpen = true;
    bool errOpen = true;
    char buffer[65536];
    // Reads until both pipes close; a process that hands its pipes on to a child it leaves
    // running would keep them open, so the end of the process itself also ends the loop.
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) {
            outcome_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            done_ = true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 && !done_) {
            outcome_.timedOut = true;
            Kill();
            break;
        }
        if (!outOpen && !errOpen && done_) {
            break;
        }
        pollfd fds[2] = {{outOpen ? out_ : -1, POLLIN, 0}, {errOpen ? err_ : -1, POLLIN, 0}};
        // Short waits, so that the end of the child is seen within a few milliseconds.
        const int ready =
            poll(fds, 2, done_ ? 0 : static_cast<int>(std::min<long>(left.count(), 2)));
        if (ready <= 0) {
            if (done_) {
                break;  // ended, and nothing more to read right now
            }
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            const ssize_t count = read(fds[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                (i == 0 ? outcome_.out : outcome_.err)
                    .append(buffer, static_cast<std::size_t>(count));
            } else {
                (i == 0 ? outOpen : errOpen) = false;
            }
        }
    }
    return outcome_;
}

Outcome Run(const std::vector<std::string>& argv, const Environment& extra,
            std::chrono::milliseconds timeout) {
    Child child(argv, extra);
    return child.Wait(timeout);
}

}  // namespace harness
