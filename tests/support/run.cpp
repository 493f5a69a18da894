#include "support/run.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "support/temp_folder.h"

bool AddressSpaceLimitsApply() {
  return *HEXLOOM_EMULATOR == '\0' && !HEXLOOM_SANITIZED;
}

const char kBanner[] =
    "Hexloom 1.0 - Converts data files into several formats, such as C++ source and checksums.\n\n"
    "Developed by the Hexloom developers.\n\n"
    "Web: https://hexloom.dev\n\n";

const char kEnding[] = "\n\n";

std::string Golden(const std::string& name) {
  return Slurp(HEXLOOM_TEST_DATA "/" + name);
}

std::string Converted(const std::string& input, std::initializer_list<std::string> outputs) {
  std::string text = "Reading File: " + input + "\nConverting...\n";
  for (const std::string& output : outputs)
    text += "Output filepath: " + output + "\n";
  return text + "\n";
}

std::string Failed(const std::string& message) {
  return " [ERROR] " + message + "\n\n" + Golden("usage.txt") + kEnding;
}

namespace {

// What a child that never reached the program exits with, as a shell does.
constexpr int kCannotStart = 127;
// Wide enough that no line of the usage text wraps.
constexpr unsigned short kTerminalColumns = 4000, kTerminalRows = 50;

std::vector<std::string> Command(const std::vector<std::string>& arguments, const RunOptions& options) {
  std::vector<std::string> command;
  if (options.sandbox) {
    const std::string folder = std::filesystem::canonical(options.folder).string();
    command = {"bwrap", "--ro-bind", "/",      "/",     "--bind",  folder, folder,
               "--dev", "/dev",      "--proc", "/proc", "--chdir", folder, "--"};
  }
  if (!options.program.empty()) {
    command.insert(command.end(), options.program.begin(), options.program.end());
  } else {
    // A hexloom built for another processor runs under its emulator.
    if (*HEXLOOM_EMULATOR)
      command.push_back(HEXLOOM_EMULATOR);
    command.push_back(HEXLOOM_BINARY);
  }
  command.insert(command.end(), arguments.begin(), arguments.end());
  return command;
}

[[noreturn]] void CannotStart(const char* step) {
  dprintf(STDERR_FILENO, "test runner: %s failed: %s\n", step, strerror(errno));
  _exit(kCannotStart);
}

// Runs in the child, after its standard descriptors are in place.
[[noreturn]] void Exec(const std::vector<std::string>& command, const RunOptions& options) {
  if (chdir(options.folder.c_str()) != 0)
    CannotStart("chdir");
  // An ignored signal stays ignored across exec.
  if (options.hangupIgnored)
    signal(SIGHUP, SIG_IGN);
  if (options.addressSpaceLimit >= 0) {
    const rlimit limit = {static_cast<rlim_t>(options.addressSpaceLimit),
                          static_cast<rlim_t>(options.addressSpaceLimit)};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
      CannotStart("setrlimit");
  }
  std::vector<char*> argv;
  for (const std::string& part : command)
    argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  CannotStart(argv[0]);
}

// Everything the descriptor gives until its end; a pseudo-terminal reports EIO, not end of file, once the child has
// gone.
std::string ReadToEnd(int fd) {
  std::string text;
  char chunk[65536];
  for (ssize_t got; fd >= 0 && (got = read(fd, chunk, sizeof chunk)) != 0;) {
    if (got > 0)
      text.append(chunk, static_cast<size_t>(got));
    else if (errno != EINTR)
      break;
  }
  if (fd >= 0)
    close(fd);
  return text;
}

}  // namespace

RunResult RunBinary(const std::vector<std::string>& arguments, const RunOptions& options) {
  const std::vector<std::string> command = Command(arguments, options);
  // Standard error goes to a file, so that reading standard output to its end can't wait on a full pipe of errors.
  FILE* errors = tmpfile();
  int outPipe[2];
  if (!errors || pipe2(outPipe, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe");
  fcntl(fileno(errors), F_SETFD, FD_CLOEXEC);
  if (options.terminal || options.closedOutput) {
    close(outPipe[0]);  // a terminal takes its place, or no one reads
    outPipe[0] = -1;
  }
  termios raw{};
  cfmakeraw(&raw);  // no "\n" to "\r\n" translation
  winsize size{.ws_row = kTerminalRows, .ws_col = kTerminalColumns, .ws_xpixel = 0, .ws_ypixel = 0};
  const pid_t child = options.terminal ? forkpty(&outPipe[0], nullptr, &raw, &size) : fork();
  if (child == 0) {
    dup2(fileno(errors), STDERR_FILENO);
    if (!options.terminal) {
      const int input = open("/dev/null", O_RDONLY);
      if (dup2(outPipe[1], STDOUT_FILENO) < 0 || input < 0 || dup2(input, STDIN_FILENO) < 0)
        CannotStart("redirecting standard input and output");
    }
    Exec(command, options);
  }
  close(outPipe[1]);
  if (options.whileRunning)
    options.whileRunning(child);
  RunResult result;
  result.output = ReadToEnd(outPipe[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR)
    continue;
  if (WIFEXITED(status))
    result.exitCode = WEXITSTATUS(status);
  result.errors = Slurp("/dev/fd/" + std::to_string(fileno(errors)));  // read again from its start
  fclose(errors);
  return result;
}

std::string Shell(const std::string& command, const std::string& folder) {
  return RunBinary({"-c", command}, {.folder = folder, .sandbox = false, .program = {"sh"}}).output;
}
