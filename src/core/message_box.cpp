#include "core/message_box.h"

#include <iostream>

namespace qv {

BoxAnswer PrintingMessageBoxes::Show(std::string_view title, std::string_view text,
                                     BoxButtons buttons, BoxIcon /*icon*/) {
  std::cerr << "[MessageBox] " << title << ": " << text << "\n";
  return buttons == BoxButtons::kYesNo ? BoxAnswer::kYes : BoxAnswer::kOk;
}

std::string UnexpectedErrorText(std::string_view procedure, const VbError& error) {
  return "Unexpected error in procedure: " + std::string(procedure) + "\r\n" + "Error #" +
         std::to_string(error.number()) + ": " + error.description();
}

void ReportUnexpected(MessageBoxService& boxes, std::string_view procedure, const VbError& error) {
  boxes.Show(kAppTitle, UnexpectedErrorText(procedure, error), BoxButtons::kOk, BoxIcon::kCritical);
}

}  // namespace qv
