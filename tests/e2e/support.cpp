#include "e2e/support.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

const char kBanner[] =
    "Hexloom 1.0 - Converts data files into several formats, such as C++ source and checksums.\n\n"
    "Developed by the Hexloom developers.\n\n"
    "Web: https://hexloom.dev\n\n";

const char kEnding[] = "\n\n";

namespace {

std::vector<char*> ArgumentVector(const std::vector<std::string>& arguments, const RunOptions& options) {
  std::vector<char*> argv;
  if (options.program.empty()) {
    // A hexloom built for another processor runs under its emulator.
    if (*HEXLOOM_EMULATOR)
      argv.push_back(const_cast<char*>(HEXLOOM_EMULATOR));
    argv.push_back(const_cast<char*>(HEXLOOM_BINARY));
  }
  for (const std::string& part : options.program)
    argv.push_back(const_cast<char*>(part.c_str()));
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return argv;
}

[[noreturn]] void ExecHexloom(std::vector<char*>& argv, const RunOptions& options) {
  if (chdir(options.folder.c_str()) != 0)
    _exit(120);
  if (options.unprivileged && geteuid() == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0)
      _exit(121);
  }
  execv(argv[0], argv.data());
  _exit(122);
}

void Record(int status, RunResult& result) {
  if (WIFEXITED(status))
    result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status))
    result.signal = WTERMSIG(status);
}

// Reads from both descriptors until both are closed, or until the child has
// exited and nothing more arrives: under Wine a helper process may hold the
// terminal open for seconds after the program has gone.
void Drain(pid_t child, int outFd, int errFd, RunResult& result) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&result.output, &result.errors};
  int open = 2;
  bool exited = false;
  char chunk[65536];
  while (open > 0) {
    int ready = poll(fds, 2, exited ? 200 : 50);
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready < 0 || (ready == 0 && exited))
      break;
    if (!exited) {
      int status = 0;
      if (waitpid(child, &status, WNOHANG) == child) {
        exited = true;
        Record(status, result);
      }
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
        continue;
      ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
      if (got > 0) {
        sinks[i]->append(chunk, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        // A pseudo-terminal reports EIO once the child has gone.
        fds[i].fd = -1;
        --open;
      }
    }
  }
  close(outFd);
  close(errFd);
  if (!exited) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    Record(status, result);
  }
}

}  // namespace

RunResult RunBinary(const std::vector<std::string>& arguments, const RunOptions& options) {
  std::vector<char*> argv = ArgumentVector(arguments, options);
  RunResult result;
  int errPipe[2];
  if (pipe2(errPipe, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe");
  if (options.terminal) {
    int master = -1;
    termios settings{};
    cfmakeraw(&settings);  // no "\n" to "\r\n" translation
    winsize size{};
    size.ws_row = 50;
    size.ws_col = 4000;  // wide enough that no line wraps
    pid_t child = forkpty(&master, nullptr, &settings, &size);
    if (child == 0) {
      dup2(errPipe[1], STDERR_FILENO);
      ExecHexloom(argv, options);
    }
    close(errPipe[1]);
    Drain(child, master, errPipe[0], result);
    return result;
  }
  int outPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe");
  if (options.closedOutput) {
    close(outPipe[0]);
    outPipe[0] = open("/dev/null", O_RDONLY | O_CLOEXEC);
  }
  pid_t child = fork();
  if (child == 0) {
    dup2(outPipe[1], STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    ExecHexloom(argv, options);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  Drain(child, outPipe[0], errPipe[0], result);
  return result;
}

TempFolder::TempFolder() {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/hexloom-test-XXXXXX";
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("mkdtemp");
  // Open to the unprivileged user that some runs switch to.
  chmod(pattern.c_str(), 0777);
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Give back rights that a test took away, so that everything goes.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink(ignored))
      chmod(it->path().c_str(), 0700);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[65536];
    while (size_t got = fread(chunk, 1, sizeof chunk, pipe))
      output.append(chunk, got);
    pclose(pipe);
  }
  return output;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> ListNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

long long ModificationTime(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return -1;
  return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

std::string UsageText() {
  return ReadFile(std::string(HEXLOOM_TEST_DATA) + "/usage.txt");
}
