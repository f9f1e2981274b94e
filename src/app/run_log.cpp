#include "app/run_log.h"

namespace qv::app {

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

void RunLog::MessageBox(std::string_view title, std::string_view text) {
  Write("[MessageBox] " + OneLine(title) + ": " + OneLine(text));
}

void RunLog::LogLine(std::string_view text) {
  Write(OneLine(text));
}

void RunLog::Write(const std::string& line) {
  // Flushed line by line: the log is read while the player runs, and must hold
  // everything up to a crash.
  out_ << line << '\n';
  out_.flush();
}

}  // namespace qv::app
