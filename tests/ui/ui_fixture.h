#pragma once
// A headless desktop for the forms and controls tests: the headless backend, its event
// loop and a desktop, with helpers that act like the player's mouse and keyboard.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "platform/headless/headless_backend.h"
#include "platform/pictures.h"
#include "test_support.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace qv::ui::testing {

using platform::InputEvent;
using platform::Key;
using platform::MouseButton;
using qv::testing::VbErrorNumber;

class DesktopTest : public ::testing::Test {
 public:
  platform::HeadlessBackend backend;
  platform::EventLoop loop{backend};
  Desktop desktop{loop};

  // A shown form covering the given place.
  std::unique_ptr<Form> MakeForm(const std::string& name, int left, int top, int width,
                                 int height) {
    auto form = std::make_unique<Form>(desktop, name);
    form->Move(left, top, width, height);
    form->Show();
    return form;
  }

  void Input(InputEvent event) {
    backend.InjectInput(std::move(event));
    loop.DoEvents();
  }
  void MoveTo(int x, int y) {
    Input({.kind = InputEvent::Kind::kMouseMove, .x = x, .y = y, .text = {}});
  }
  void Press(int x, int y, MouseButton button = MouseButton::kLeft) {
    Input({.kind = InputEvent::Kind::kMouseDown, .x = x, .y = y, .button = button, .text = {}});
  }
  void Release(int x, int y, MouseButton button = MouseButton::kLeft) {
    Input({.kind = InputEvent::Kind::kMouseUp, .x = x, .y = y, .button = button, .text = {}});
  }
  void ClickAt(int x, int y) {
    MoveTo(x, y);
    Press(x, y);
    Release(x, y);
  }
  void KeyDown(Key key, bool shift = false) {
    Input({.kind = InputEvent::Kind::kKeyDown, .key = key, .shift = shift, .text = {}});
  }
  void Ctrl(char c) {
    Input({.kind = InputEvent::Kind::kKeyDown, .key = Key::kChar, .ctrl = true, .text = {c}});
  }
  void Type(std::string utf8_char) {
    Input({.kind = InputEvent::Kind::kKeyPress, .text = std::move(utf8_char)});
  }

  // How many frames the next DoEvents presents (0 or 1).
  int64_t FramesAfterDoEvents() {
    const int64_t before = backend.frames_presented();
    loop.DoEvents();
    return backend.frames_presented() - before;
  }
};

// A control made on `parent` (a form or a picture box) at the place `at`.
template <typename T, typename Parent>
T& Place(Parent& parent, std::string name, platform::Rect at, int index = 0) {
  T& control = parent.template Create<T>(std::move(name), index);
  control.Move(at.x, at.y, at.w, at.h);
  return control;
}

// A solid picture of `frames` frames, each `delay_ms` long.
inline platform::PicturePtr MakePicture(int frames, int width = 4, int height = 3,
                                        std::vector<int> delays_ms = {}, int loop_count = 0) {
  auto picture = std::make_shared<platform::Picture>();
  picture->width = width;
  picture->height = height;
  picture->loop_count = loop_count;
  for (int i = 0; i < frames; ++i) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height),
                                 0xFF000000u | static_cast<uint32_t>(i));
    picture->frames.push_back(std::make_shared<platform::Image>(width, height, std::move(pixels)));
    picture->delays_ms.push_back(
        delays_ms.empty() ? 50 : delays_ms[static_cast<size_t>(i) % delays_ms.size()]);
  }
  return picture;
}

inline platform::ImagePtr MakeImage(int width, int height) {
  return std::make_shared<platform::Image>(
      width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), 0xFFFFFFFFu));
}

}  // namespace qv::ui::testing
