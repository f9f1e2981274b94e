#include "core/vb_error.h"

#include <filesystem>
#include <new>

namespace qv {

std::string_view VbErrorDescription(int number) {
  switch (number) {
    case kErrInvalidCall:
      return "Invalid procedure call or argument";
    case kErrOverflow:
      return "Overflow";
    case kErrOutOfMemory:
      return "Out of memory";
    case kErrSubscript:
      return "Subscript out of range";
    case kErrTypeMismatch:
      return "Type mismatch";
    case kErrOutOfStack:
      return "Out of stack space";
    case kErrBadFileName:
      return "Bad file name or number";
    case kErrFileNotFound:
      return "File not found";
    case kErrDiskFull:
      return "Disk full";
    case kErrInputPastEnd:
      return "Input past end of file";
    case kErrBadRecordNumber:
      return "Bad record number";
    case kErrPermissionDenied:
      return "Permission denied";
    case kErrPathFileAccess:
      return "Path/File access error";
    case kErrPathNotFound:
      return "Path not found";
    case kErrInvalidFileFormat:
      return "Invalid file format";
    case kErrInvalidPicture:
      return "Invalid picture";
    default:
      return "Application-defined or object-defined error";
  }
}

VbError::VbError(int number) : VbError(number, std::string(VbErrorDescription(number))) {}

VbError::VbError(int number, std::string description)
    : std::runtime_error("Error #" + std::to_string(number) + ": " + description),
      number_(number),
      description_(std::move(description)) {}

void Raise(int number) {
  throw VbError(number);
}

VbError ToVbError(const std::exception& e) {
  if (const auto* vb = dynamic_cast<const VbError*>(&e)) return *vb;
  if (dynamic_cast<const std::bad_alloc*>(&e)) return VbError(kErrOutOfMemory);
  if (dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
    return VbError(kErrPathFileAccess);
  }
  return VbError(kErrInvalidCall);
}

}  // namespace qv
