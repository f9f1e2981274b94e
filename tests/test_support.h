#pragma once
// Helpers shared by the tests: a scratch folder, the number of a raised error, a scripted
// user and a message-box service that records.

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/message_box.h"
#include "core/vb_error.h"
#include "platform/event_loop.h"

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
inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
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

// A scripted user: each time the player waits for the user, the next of the queued
// actions runs; with none left, the run ends (platform::RunFinished).
class User : public platform::IdleUser {
 public:
  explicit User(platform::EventLoop& loop) : loop_(loop) { loop.SetIdleUser(this); }
  ~User() override { loop_.SetIdleUser(nullptr); }
  User(const User&) = delete;
  User& operator=(const User&) = delete;

  std::deque<std::function<void()>> actions;

  bool Act() override {
    if (actions.empty()) return false;
    auto action = std::move(actions.front());
    actions.pop_front();
    action();
    return true;
  }

 private:
  platform::EventLoop& loop_;
};

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
