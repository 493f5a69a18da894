#include "platform/console_log.h"

#include <charconv>
#include <cstring>
#include <mutex>

namespace {

// Made during static initialisation so that it exists before main runs.
std::recursive_mutex g_consoleLock;
std::string* g_captureSink = nullptr;
// -q is applied here, where every piece of text meets the console with its
// colour: failures are exactly the pieces in the error and notice colours,
// so no reporter has to know about quiet runs, and what a scan worker
// recorded is filtered when it is replayed.
bool g_quiet = false;
uint16_t g_attribute = static_cast<uint16_t>(Colour::Default);
// A worker's messages wait here until the thread that orders them writes
// them.
thread_local ConsoleLog::Recording* t_recording = nullptr;

// Failures are exactly the pieces in the error and notice colours.
bool ShownWhenQuiet(uint16_t attribute) {
  return attribute == static_cast<uint16_t>(Colour::Error) || attribute == static_cast<uint16_t>(Colour::Notice);
}

void SetAttribute(uint16_t attribute) {
  // A worker's recording is its own: it takes no lock that the thread
  // writing the console holds.
  if (t_recording) {
    t_recording->pieces.push_back({true, attribute, {}});
    t_recording->attribute = attribute;
    return;
  }
  std::lock_guard<std::recursive_mutex> lock(g_consoleLock);
  g_attribute = attribute;
  if (!g_captureSink)
    ConsoleSetAttribute(attribute);
}

template <typename Number>
void WriteNumber(ConsoleLog& log, Number value) {
  char text[24];
  char* end = std::to_chars(text, text + sizeof text - 1, value).ptr;
  *end = '\0';
  log << static_cast<const char*>(text);
}

}  // namespace

ConsoleColour::ConsoleColour(Colour colour) {
  ConsoleLog::Instance();
  SetAttribute(static_cast<uint16_t>(colour));
}

ConsoleColour::~ConsoleColour() {
  SetAttribute(static_cast<uint16_t>(Colour::Default));
}

ConsoleLog::ConsoleLog() {
  ConsoleOpen();
}

ConsoleLog& ConsoleLog::Instance() {
  static ConsoleLog instance;
  return instance;
}

void ConsoleLog::Write(const char* text, size_t length) {
  // What a quiet run would drop when replayed is not kept at all. (Quiet is
  // set before any worker starts.)
  if (t_recording) {
    if (!g_quiet || ShownWhenQuiet(t_recording->attribute))
      t_recording->pieces.push_back({false, 0, std::string(text, length)});
    return;
  }
  std::lock_guard<std::recursive_mutex> lock(g_consoleLock);
  if (g_quiet && !ShownWhenQuiet(g_attribute))
    return;
  if (g_captureSink)
    g_captureSink->append(text, length);
  else
    ConsoleWrite(text, length);
}

void ConsoleLog::CaptureInto(std::string* sink) {
  std::lock_guard<std::recursive_mutex> lock(g_consoleLock);
  g_captureSink = sink;
}

void ConsoleLog::SetQuiet(bool quiet) {
  std::lock_guard<std::recursive_mutex> lock(g_consoleLock);
  g_quiet = quiet;
}

void ConsoleLog::RecordThisThread(Recording* recording) {
  t_recording = recording;
}

void ConsoleLog::Replay(const Recording& recording) {
  for (const Recording::Piece& piece : recording.pieces) {
    if (piece.isColour)
      SetAttribute(piece.attribute);
    else
      Write(piece.text.data(), piece.text.size());
  }
}

ConsoleLog& ConsoleLog::operator<<(const ConsoleColour&) {
  return *this;
}

ConsoleLog& ConsoleLog::operator<<(const char* text) {
  if (text)
    Write(text, std::strlen(text));
  return *this;
}

ConsoleLog& ConsoleLog::operator<<(const std::string& text) {
  // Stops at a zero byte, as a C string piece would.
  Write(text.c_str(), std::strlen(text.c_str()));
  return *this;
}

ConsoleLog& ConsoleLog::operator<<(int32_t value) {
  WriteNumber(*this, value);
  return *this;
}

ConsoleLog& ConsoleLog::operator<<(int64_t value) {
  WriteNumber(*this, value);
  return *this;
}

ConsoleLog& ConsoleLog::operator<<(uint64_t value) {
  WriteNumber(*this, value);
  return *this;
}

ConsoleLog& ConsoleLog::operator<<(bool value) {
  return *this << (value ? "1" : "0");
}

ConsoleLog& ConsoleLog::operator<<(Escaped text) {
  // A quiet run drops most lines of a scan: the escaped copy of a path is
  // made only for a line that is kept.
  if (!Drops())
    *this << EscapeControlBytes(text.text);
  return *this;
}

bool ConsoleLog::Drops() const {
  if (t_recording)
    return g_quiet && !ShownWhenQuiet(t_recording->attribute);
  std::lock_guard<std::recursive_mutex> lock(g_consoleLock);
  return g_quiet && !ShownWhenQuiet(g_attribute);
}

std::string EscapeControlBytes(std::string_view text) {
  constexpr unsigned char kFirstPrintable = 0x20;
  constexpr unsigned char kDelete = 0x7F;
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= kFirstPrintable && byte != kDelete) {
      escaped += c;
      continue;
    }
    const char octal[] = {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + ((byte >> 3) & 7)),
                          static_cast<char>('0' + (byte & 7))};
    escaped.append(octal, sizeof octal);
  }
  return escaped;
}
