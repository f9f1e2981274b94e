#pragma once
// The --log output: every notify-log line and every message box of a run, one line each,
// for game authors and for checking a run afterwards.

#include <ostream>
#include <string>
#include <string_view>

namespace qv::app {

// The text with each carriage return written as the two characters \r and each line feed
// as \n, so that a box or log line stays on one line of the log.
std::string OneLine(std::string_view text);

class RunLog {
 public:
  explicit RunLog(std::ostream& out) : out_(out) {}

  // "[MessageBox] TITLE: TEXT"
  void MessageBox(std::string_view title, std::string_view text);
  // A notify-log line as it stands.
  void LogLine(std::string_view text);

 private:
  void Write(const std::string& line);

  std::ostream& out_;
};

}  // namespace qv::app
