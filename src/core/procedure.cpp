#include "core/procedure.h"

#include "core/text.h"

namespace qv {

ErrorBoxFormat UnexpectedError(std::string_view procedure) {
  ErrorBoxFormat format;
  format.heading = "Unexpected error in procedure: " + std::string(procedure);
  format.icon = BoxIcon::kCritical;
  return format;
}

std::string ErrorBoxText(const ErrorBoxFormat& format, const VbError& error) {
  return format.heading + std::string(format.number_label) +
         (format.blank_before_number ? NumText(error.number()) : PlainNum(error.number())) +
         std::string(format.separator) + error.description() + format.trailer;
}

void ReportError(MessageBoxService& boxes, const ErrorBoxFormat& format, const VbError& error) {
  boxes.Show(kAppTitle, ErrorBoxText(format, error), BoxButtons::kOk, format.icon);
}

}  // namespace qv
