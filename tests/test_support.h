#pragma once
// Helpers shared by the tests: a scratch folder, the number of a raised error and a
// message-box service that records.

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/message_box.h"
#include "core/vb_error.h"

namespace qv::testing {

// A fresh folder under the system temp folder, removed again at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("qvtest-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes a file (creating its folders) and returns its path.
  std::filesystem::path Write(const std::string& relative, const std::string& content) const {
    auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }
  std::filesystem::path Write(const std::string& relative,
                              const std::vector<uint8_t>& bytes) const {
    return Write(relative, std::string(bytes.begin(), bytes.end()));
  }

 private:
  std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The number of the VbError that `body` raises, 0 when it raises none.
inline int VbErrorNumber(const std::function<void()>& body) {
  try {
    body();
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}
// The same error as "<number> <description>", "" when `body` raises none.
inline std::string VbErrorText(const std::function<void()>& body) {
  try {
    body();
  } catch (const VbError& e) {
    return std::to_string(e.number()) + " " + std::string(e.description());
  }
  return "";
}

// Records every box and answers with its first button.
class RecordingBoxes : public MessageBoxService {
 public:
  struct Box {
    std::string title;
    std::string text;
  };
  BoxAnswer Show(std::string_view title, std::string_view text, BoxButtons buttons,
                 BoxIcon) override {
    boxes.push_back({std::string(title), std::string(text)});
    return buttons == BoxButtons::kYesNo ? BoxAnswer::kYes : BoxAnswer::kOk;
  }
  std::vector<Box> boxes;
};

}  // namespace qv::testing
