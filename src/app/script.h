#pragma once
// Walkthrough scripts: automated play-throughs of a game. One command per line; "#"
// starts a comment; texts stand in double quotes, with \" \\ \r and \n inside them.
// The command table (script_commands.h) describes every command's words and arguments;
// parsing checks a whole script, and reports every malformed line, before any of it runs.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::app {

class ScriptContext;
struct ScriptCommand;

// What a command does when the runner reaches it. An expectation that does not hold
// calls ScriptContext::Fail with what was found instead.
using CommandAction = std::function<void(ScriptContext&, const ScriptCommand&)>;

// One argument of a command.
struct ArgRule {
  enum class Kind {
    kNumber,      // a whole number in [min, max], or one of `words` instead ("none")
    kWord,        // one of `words`
    kText,        // a quoted text
    kKey,         // a key name (Escape, F1, ...) or one character
    kOperator,    // = <> < >
    kNumberList,  // up to max_count numbers in [min, max], possibly none
  };
  Kind kind = Kind::kNumber;
  std::string name;  // how the usage shows it: "N", "MS", "\"TEXT\""
  int64_t min = 0;
  int64_t max = 0;
  std::vector<std::string> words;
  size_t max_count = 0;
};

// One command: the words that select it and its arguments.
struct CommandRule {
  std::string name;  // "click object", "wait", "expect message"
  std::vector<ArgRule> args;
  // Empty while the subsystem the command acts on is not built.
  CommandAction action;

  // "click object N", "answer ok|yes|no|cancel"
  std::string Usage() const;
};

// The commands scripts may use. Rules keep their addresses while the table lives, so
// parsed commands can point at them.
class CommandTable {
 public:
  CommandRule& Add(CommandRule definition);
  // The definition named exactly `name`, or null.
  CommandRule* Find(std::string_view name);
  const CommandRule* Find(std::string_view name) const;
  // True when some command's name starts with the word `first`.
  bool IsFirstWord(std::string_view first) const;
  const std::deque<CommandRule>& commands() const { return rules_; }

 private:
  std::deque<CommandRule> rules_;
};

// An argument as parsed.
struct ScriptValue {
  int64_t number = 0;            // kNumber
  std::string text;              // kWord, kText, kKey, kOperator; the word a kNumber took
  std::vector<int64_t> numbers;  // kNumberList
};

struct ScriptCommand {
  const CommandRule* definition = nullptr;
  int line = 0;
  std::string text;  // as written, without its comment and surrounding blanks
  std::vector<ScriptValue> args;

  int64_t Number(size_t i) const { return args.at(i).number; }
  const std::string& Text(size_t i) const { return args.at(i).text; }
  const std::vector<int64_t>& Numbers(size_t i) const { return args.at(i).numbers; }
};

struct Script {
  std::string name;  // how messages name the script (its path as given)
  std::vector<ScriptCommand> commands;
  std::vector<std::string> errors;  // "NAME:LINE: what is wrong", one per malformed line
};

// Parses a whole script against the table.
Script ParseScript(std::string_view text, std::string name, const CommandTable& table);

// The commands whose subsystem is not built yet, one message each:
// "NAME:LINE: not available yet: COMMAND".
std::vector<std::string> UnavailableCommands(const Script& script);

// A text in double quotes, with quotes, backslashes, line breaks and other control
// bytes escaped, as messages show texts from scripts and from the game.
std::string Quoted(std::string_view text);

// The key names `key` accepts besides single characters, in their canonical spelling.
const std::vector<std::string>& KeyNames();

}  // namespace qv::app
