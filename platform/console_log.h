// The one channel through which the program writes to the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The console attributes that messages are written in.
enum class Colour : uint16_t {
  ExamplesHeading = 3,
  OptionsHeading = 5,
  Example = 6,
  Default = 7,  // grey: option names, the credit line, plain progress
  Dim = 8,      // help texts, "Converting...", skipped files
  Title = 9,
  Unchanged = 10,  // "No overwrite, same data for : "
  Written = 11,    // "Output filepath: "
  Error = 12,      // every " [ERROR] " message
  Notice = 14,     // command-line errors and notices
};

// Colours one statement: setting the attribute when made, back to the
// default at the end of the statement that made it.
class ConsoleColour {
 public:
  explicit ConsoleColour(Colour colour);
  ~ConsoleColour();
  ConsoleColour(const ConsoleColour&) = delete;
  ConsoleColour& operator=(const ConsoleColour&) = delete;
};

// A text that the log writes with its control bytes escaped (as
// EscapeControlBytes does), escaping it only when the piece is kept.
struct Escaped {
  std::string_view text;
};

class ConsoleLog {
 public:
  // Returns the process-wide log, making it on first use.
  static ConsoleLog& Instance();

  // Each piece is written whole under the log's recursive lock; write
  // errors are ignored so that a closed console never stops a run.
  ConsoleLog& operator<<(const ConsoleColour& colour);
  ConsoleLog& operator<<(const char* text);
  ConsoleLog& operator<<(const std::string& text);
  ConsoleLog& operator<<(int32_t value);
  ConsoleLog& operator<<(int64_t value);
  ConsoleLog& operator<<(uint64_t value);
  ConsoleLog& operator<<(bool value);
  ConsoleLog& operator<<(Escaped text);

  // Quiet: drops every later piece written in a colour other than Error
  // and Notice, the colours of failures and command-line errors. For -q.
  void SetQuiet(bool quiet);

  // Sends every later piece to `sink` instead of the console, colours left
  // out; null sends them to the console again. For tests.
  void CaptureInto(std::string* sink);

  // What one thread wrote, with its colours, kept to be written later.
  struct Recording {
    struct Piece {
      bool isColour;
      uint16_t attribute;
      std::string text;
    };
    std::vector<Piece> pieces;
    // The colour in force while recording; replays start in the default.
    uint16_t attribute = static_cast<uint16_t>(Colour::Default);
  };
  // Keeps every later piece written by this thread in `recording` instead of
  // writing it; null writes them again.
  void RecordThisThread(Recording* recording);
  // Writes what was recorded, in order and in its colours.
  void Replay(const Recording& recording);

 private:
  ConsoleLog();
  void Write(const char* text, size_t length);
  // True when a piece written now would be dropped (a quiet run).
  bool Drops() const;
};

// Returns the text with every control byte (below 0x20, and 0x7F) written as
// a backslash and three octal digits, so that a file name can't move the
// cursor, recolour the terminal or break a log line; other bytes unchanged.
std::string EscapeControlBytes(std::string_view text);

// Platform layer of the log. Opens the console once; never fails.
void ConsoleOpen();
// Writes the bytes to the console, ignoring errors.
void ConsoleWrite(const char* text, size_t length);
// Selects the colour of later text; ignored where colours are unavailable.
void ConsoleSetAttribute(uint16_t attribute);
