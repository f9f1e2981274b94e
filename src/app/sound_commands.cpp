// The walkthrough commands of sound channels and music: expect sound, expect silent,
// expect soundtrack, and key (F1 switches the music).

#include <array>
#include <utility>

#include "app/player.h"
#include "app/script.h"
#include "app/script_commands.h"
#include "core/text.h"
#include "platform/input.h"

namespace qv::app {

namespace {

using platform::InputEvent;
using platform::Key;

constexpr std::array<std::pair<std::string_view, Key>, 23> kKeys = {{
    {"Escape", Key::kEscape}, {"Return", Key::kReturn},
    {"Tab", Key::kTab},       {"Backspace", Key::kBackspace},
    {"Delete", Key::kDelete}, {"Left", Key::kLeft},
    {"Right", Key::kRight},   {"Up", Key::kUp},
    {"Down", Key::kDown},     {"Home", Key::kHome},
    {"End", Key::kEnd},       {"F1", Key::kF1},
    {"F2", Key::kF2},         {"F3", Key::kF3},
    {"F4", Key::kF4},         {"F5", Key::kF5},
    {"F6", Key::kF6},         {"F7", Key::kF7},
    {"F8", Key::kF8},         {"F9", Key::kF9},
    {"F10", Key::kF10},       {"F11", Key::kF11},
    {"F12", Key::kF12},
}};

// A key as the user presses it: the key goes down, and a character key also types its
// character. The events take the route of real input, to the active form.
void PressKey(ScriptContext& context, const ScriptCommand& command) {
  const std::string& name = command.Text(0);
  platform::Backend& backend = context.player().backend();
  InputEvent down;
  down.kind = InputEvent::Kind::kKeyDown;
  for (const auto& [key_name, key] : kKeys) {
    if (key_name == name) down.key = key;
  }
  if (down.key != Key::kNone) {
    backend.InjectInput(down);
    return;
  }
  down.key = Key::kChar;
  down.text = name;
  backend.InjectInput(down);
  InputEvent typed;
  typed.kind = InputEvent::Kind::kKeyPress;
  typed.text = name;
  backend.InjectInput(typed);
}

void ExpectSound(ScriptContext& context, const ScriptCommand& command) {
  const auto& channel = context.player().audio().channel(static_cast<int>(command.Number(0)));
  if (!channel.playing) {
    context.Fail(channel.file.empty() ? "silence"
                                      : "silence (" + Quoted(channel.file) + " stopped)");
  } else if (!EqualsIgnoreCase(channel.file, command.Text(1))) {
    context.Fail(Quoted(channel.file));
  }
}

void ExpectSilent(ScriptContext& context, const ScriptCommand& command) {
  const auto& channel = context.player().audio().channel(static_cast<int>(command.Number(0)));
  if (channel.playing) context.Fail(Quoted(channel.file));
}

void ExpectSoundtrack(ScriptContext& context, const ScriptCommand& command) {
  const std::string& current = context.player().music().CurrentSoundtrack;
  if (!EqualsIgnoreCase(current, command.Text(0))) context.Fail(Quoted(current));
}

}  // namespace

void PlugSoundCommands(CommandTable& table) {
  Plug(table, "key", PressKey);
  Plug(table, "expect sound", ExpectSound);
  Plug(table, "expect silent", ExpectSilent);
  Plug(table, "expect soundtrack", ExpectSoundtrack);
}

}  // namespace qv::app
