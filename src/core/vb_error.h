#pragma once
// Run-time errors with the classic Visual Basic numbers and English descriptions that
// game authors know from the original player ("Error #53: File not found").

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qv {

// Error numbers the player raises.
enum VbErrorNumber : int {
  kErrInvalidCall = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscript = 9,
  kErrTypeMismatch = 13,
  kErrOutOfStack = 28,
  kErrBadFileName = 52,
  kErrFileNotFound = 53,
  kErrDiskFull = 61,
  kErrInputPastEnd = 62,
  kErrBadRecordNumber = 63,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrInvalidFileFormat = 321,
  kErrInvalidPicture = 481,
};

// The standard description of an error number ("Overflow", "Bad record number", ...).
std::string_view VbErrorDescription(int number);

// A failing operation throws this; the procedure that reports it catches it.
class VbError : public std::runtime_error {
 public:
  explicit VbError(int number);
  VbError(int number, std::string description);

  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// Throws VbError(number) with its standard description.
[[noreturn]] void Raise(int number);

// Maps any exception that escapes an operation to the error a VB program would have
// seen: our own errors keep their number, allocation failures become 7, file-system
// failures 75, everything else 5.
VbError ToVbError(const std::exception& e);

}  // namespace qv
