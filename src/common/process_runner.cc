#include "common/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>

extern char** environ;

namespace quillet {

namespace {

int64_t monotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The machine's processes: posix_spawnp with three pipes, fed and drained together through poll so that
// neither side waits on a full pipe.
class RealProcessRunner final : public ProcessRunner {
 public:
  ProcessResult run(const std::vector<std::string>& arguments, std::string_view input,
                    int timeout_seconds) override {
    ProcessResult result;
    if (arguments.empty()) return result;
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
      closeAll({in[0], in[1], out[0], out[1], err[0], err[1]});
      return result;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    pid_t child = 0;
    const int failure = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    closeAll({in[0], out[1], err[1]});
    if (failure != 0) {
      closeAll({in[1], out[0], err[0]});
      return result;
    }
    result.started = true;
    // Writing to a program that stopped reading must not end this one.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    const bool finished = exchange(in[1], out[0], err[0], input, result, timeout_seconds);
    sigaction(SIGPIPE, &previous, nullptr);
    if (!finished) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (finished && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    return result;
  }

 private:
  static void closeAll(std::initializer_list<int> descriptors) {
    for (int fd : descriptors)
      if (fd >= 0) close(fd);
  }

  // Feeds `input` and reads both outputs until the program closes them; false when time ran out.
  static bool exchange(int to_child, int from_out, int from_err, std::string_view input,
                       ProcessResult& result, int timeout_seconds) {
    const int64_t deadline = monotonicMilliseconds() + static_cast<int64_t>(timeout_seconds) * 1000;
    size_t written = 0;
    if (input.empty()) {
      close(to_child);
      to_child = -1;
    }
    int open_outputs = 2;
    char buffer[65536];
    while (open_outputs > 0 || to_child >= 0) {
      pollfd fds[3] = {{from_out, POLLIN, 0}, {from_err, POLLIN, 0}, {to_child, POLLOUT, 0}};
      const int64_t left = deadline - monotonicMilliseconds();
      if (left <= 0) {
        closeAll({to_child, from_out, from_err});
        return false;
      }
      if (poll(fds, 3, static_cast<int>(left)) < 0) {
        if (errno == EINTR) continue;
        closeAll({to_child, from_out, from_err});
        return false;
      }
      for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
          (i == 0 ? result.output : result.errors).append(buffer, static_cast<size_t>(n));
        } else if (n == 0 || errno != EINTR) {
          close(fds[i].fd);
          (i == 0 ? from_out : from_err) = -1;
          --open_outputs;
        }
      }
      if (to_child >= 0 && (fds[2].revents & (POLLOUT | POLLHUP | POLLERR)) != 0) {
        // A pipe ready for writing takes PIPE_BUF bytes without blocking.
        const size_t chunk = std::min<size_t>(input.size() - written, PIPE_BUF);
        const ssize_t n = write(to_child, input.data() + written, chunk);
        if (n > 0) written += static_cast<size_t>(n);
        if (n < 0 && errno != EINTR && errno != EAGAIN) written = input.size();
        if (written == input.size()) {
          close(to_child);
          to_child = -1;
        }
      }
    }
    return true;
  }
};

ProcessRunner* installed = nullptr;

}  // namespace

ProcessRunner& processRunner() {
  static RealProcessRunner real;
  return installed != nullptr ? *installed : real;
}

ProcessRunner* installProcessRunner(ProcessRunner* replacement) {
  ProcessRunner* previous = installed;
  installed = replacement;
  return previous;
}

}  // namespace quillet
