#pragma once
// Runs a program as a child process in a given working folder and collects
// its standard output, standard error and exit status.

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <string>
#include <vector>

namespace tonvika::testing {

struct ProgramResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

namespace detail {

// A pipe whose ends are closed when the object goes.
class Pipe {
 public:
  Pipe() {
    if (::pipe2(fds_.data(), O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  int Read() const { return fds_[0]; }
  int Write() const { return fds_[1]; }
  void CloseRead() { Close(fds_[0]); }
  void CloseWrite() { Close(fds_[1]); }

 private:
  static void Close(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  std::array<int, 2> fds_{-1, -1};
};

// Reads both pipes to their end at once, so neither can fill up and stall the child.
inline void Drain(Pipe& out_pipe, Pipe& err_pipe, ProgramResult& result) {
  std::array<pollfd, 2> fds{pollfd{out_pipe.Read(), POLLIN, 0}, pollfd{err_pipe.Read(), POLLIN, 0}};
  std::array<std::string*, 2> sinks{&result.out, &result.err};
  int open = 2;
  std::array<char, 65536> chunk{};
  while (open > 0) {
    if (::poll(fds.data(), fds.size(), -1) < 0) throw std::runtime_error("poll failed");
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = ::read(fds[i].fd, chunk.data(), chunk.size());
      if (got > 0) {
        sinks[i]->append(chunk.data(), static_cast<std::size_t>(got));
      } else {
        fds[i].fd = -1;  // end of file (or error): stop watching this pipe
        --open;
      }
    }
  }
}

}  // namespace detail

// Runs `program` with `args` in folder `dir`.
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::string& dir) {
  detail::Pipe out_pipe;
  detail::Pipe err_pipe;
  std::vector<std::string> storage{program};
  storage.insert(storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : storage) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    // Child: only async-signal-safe calls until exec.
    if (::chdir(dir.c_str()) != 0 || ::dup2(out_pipe.Write(), STDOUT_FILENO) < 0 ||
        ::dup2(err_pipe.Write(), STDERR_FILENO) < 0) {
      ::_exit(127);
    }
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  out_pipe.CloseWrite();
  err_pipe.CloseWrite();
  ProgramResult result;
  detail::Drain(out_pipe, err_pipe, result);
  int wait_status = 0;
  while (::waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return result;
}

}  // namespace tonvika::testing
