#pragma once
// Procedures report their own failures: an error that escapes a procedure's body is
// shown in a message box worded the procedure's way, and the procedure returns; the
// program goes on. One helper does it for every procedure; only the wording differs.

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "core/message_box.h"
#include "core/vb_error.h"

namespace qv {

// How a failure box reads: the heading, then the error number and description in one of
// the classic layouts, then any further lines.
struct ErrorBoxFormat {
  std::string heading;
  // Between the heading and the number: a line break and the number's label.
  std::string_view number_label = "\r\nError #";
  // The number as NumText (" 6", a blank before it) rather than plain ("6").
  bool blank_before_number = false;
  // Between the number and the description.
  std::string_view separator = ": ";
  // Lines after the description, each starting with its line break.
  std::string trailer;
  BoxIcon icon = BoxIcon::kNone;
};

// "Unexpected error in procedure: X" + CRLF + "Error #N: description", critical icon.
ErrorBoxFormat UnexpectedError(std::string_view procedure);

std::string ErrorBoxText(const ErrorBoxFormat& format, const VbError& error);
void ReportError(MessageBoxService& boxes, const ErrorBoxFormat& format, const VbError& error);

// The engine's nesting bound was hit. Every procedure inside the runaway nest lets it
// pass without a box; the engine turns it into an ordinary "Out of stack space" when it
// reaches the outermost flag change or scene load, so that the procedure around that
// reports it once.
class StackExhausted : public VbError {
 public:
  StackExhausted() : VbError(kErrOutOfStack) {}
};

// Runs `body` as a procedure: an error that escapes it is reported in the box that
// `format()` describes (called only on failure, so it may describe the state then), and
// the procedure returns. Returns false when it failed.
template <typename Format, typename Body>
bool RunReporting(MessageBoxService& boxes, Format&& format, Body&& body) {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (const StackExhausted&) {
    throw;
  } catch (const std::exception& e) {
    ReportError(boxes, std::forward<Format>(format)(), ToVbError(e));
    return false;
  }
}

// The same with the unexpected-error box of the procedure named.
template <typename Body>
bool RunProcedure(MessageBoxService& boxes, std::string_view procedure, Body&& body) {
  return RunReporting(
      boxes, [procedure] { return UnexpectedError(procedure); }, std::forward<Body>(body));
}

}  // namespace qv
