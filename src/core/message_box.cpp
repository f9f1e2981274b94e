#include "core/message_box.h"

#include <iostream>

namespace qv {

BoxAnswer PrintingMessageBoxes::Show(std::string_view title, std::string_view text,
                                     BoxButtons buttons, BoxIcon /*icon*/) {
  std::cerr << "[MessageBox] " << title << ": " << text << "\n";
  return buttons == BoxButtons::kYesNo ? BoxAnswer::kYes : BoxAnswer::kOk;
}

}  // namespace qv
