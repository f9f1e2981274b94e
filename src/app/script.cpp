#include "app/script.h"

#include <charconv>
#include <optional>
#include <utility>

#include "core/text.h"

namespace qv::app {

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

// One line split into tokens, or what is wrong with it.
struct LexedLine {
  std::vector<Token> tokens;
  std::string text;  // the command without its comment and surrounding blanks
  std::string error;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

LexedLine Lex(std::string_view line) {
  LexedLine out;
  size_t i = 0;
  size_t first = std::string_view::npos;
  size_t last = 0;
  const size_t n = line.size();
  while (i < n) {
    const char c = line[i];
    if (IsBlank(c)) {
      ++i;
      continue;
    }
    if (c == '#') break;
    if (first == std::string_view::npos) first = i;
    Token token;
    if (c == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < n && !closed) {
        const char d = line[i++];
        if (d == '"') {
          closed = true;
        } else if (d != '\\') {
          token.text += d;
        } else if (i < n) {
          const char e = line[i++];
          switch (e) {
            case '"':
              token.text += '"';
              break;
            case '\\':
              token.text += '\\';
              break;
            case 'r':
              token.text += '\r';
              break;
            case 'n':
              token.text += '\n';
              break;
            default:
              out.error = "unknown escape " + Quoted(std::string{'\\', e}) +
                          " in a text (known: \\\" \\\\ \\r \\n)";
              return out;
          }
        }
      }
      if (!closed) {
        out.error = "a text is not closed with \"";
        return out;
      }
      if (i < n && !IsBlank(line[i]) && line[i] != '#') {
        out.error = "a quoted text must be followed by a blank";
        return out;
      }
    } else {
      const size_t start = i;
      while (i < n && !IsBlank(line[i]) && line[i] != '#' && line[i] != '"')
        ++i;
      if (i < n && line[i] == '"') {
        out.error = "a quote inside a word (texts stand apart in double quotes)";
        return out;
      }
      token.text = std::string(line.substr(start, i - start));
    }
    last = i;
    out.tokens.push_back(std::move(token));
  }
  if (first != std::string_view::npos) out.text = std::string(line.substr(first, last - first));
  return out;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  size_t digits = text.size();
  if (!text.empty() && text[0] == '-') --digits;
  if (digits == 0) return std::nullopt;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // All digits, too long for any range a command takes: report it as out of range.
    return text[0] == '-' ? INT64_MIN : INT64_MAX;
  }
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Length of the UTF-8 character at the start of text, or 0 when it is not one.
size_t Utf8CharLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  size_t length = lead < 0x80           ? 1
                  : (lead >> 5) == 0x6  ? 2
                  : (lead >> 4) == 0xE  ? 3
                  : (lead >> 3) == 0x1E ? 4
                                        : 0;
  if (length == 0 || length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[k]) >> 6) != 0x2) return 0;
  }
  return length;
}

std::string JoinWords(const std::vector<std::string>& words, std::string_view separator) {
  std::string out;
  for (const auto& word : words) {
    if (!out.empty()) out += separator;
    out += word;
  }
  return out;
}

bool Contains(const std::vector<std::string>& words, std::string_view word) {
  for (const auto& w : words) {
    if (w == word) return true;
  }
  return false;
}

std::string RangeText(const ArgRule& arg) {
  return std::to_string(arg.min) + " to " + std::to_string(arg.max);
}

// Parses one number argument, or returns what is wrong with it.
std::string ParseNumber(const ArgRule& arg, const Token& token, int64_t& value) {
  std::optional<int64_t> parsed;
  if (!token.quoted) parsed = ParseInteger(token.text);
  if (!parsed) return arg.name + " must be a number, not " + Quoted(token.text);
  if (*parsed < arg.min || *parsed > arg.max) {
    return arg.name + " must be " + RangeText(arg) + ", not " + token.text;
  }
  value = *parsed;
  return {};
}

// Parses the arguments of a command into `command`, or returns what is wrong.
std::string ParseArgs(const CommandRule& definition, const std::vector<Token>& tokens, size_t next,
                      ScriptCommand& command) {
  for (const ArgRule& arg : definition.args) {
    ScriptValue value;
    if (arg.kind == ArgRule::Kind::kNumberList) {
      for (; next < tokens.size(); ++next) {
        if (value.numbers.size() == arg.max_count) {
          return "at most " + std::to_string(arg.max_count) + " numbers";
        }
        int64_t number = 0;
        if (auto error = ParseNumber(arg, tokens[next], number); !error.empty()) return error;
        value.numbers.push_back(number);
      }
      command.args.push_back(std::move(value));
      continue;
    }
    if (next == tokens.size()) return "missing " + arg.name;
    const Token& token = tokens[next++];
    switch (arg.kind) {
      case ArgRule::Kind::kNumber:
        if (!token.quoted && Contains(arg.words, token.text)) {
          value.text = token.text;
        } else if (auto error = ParseNumber(arg, token, value.number); !error.empty()) {
          if (!arg.words.empty()) error += " or " + JoinWords(arg.words, "|");
          return error;
        }
        break;
      case ArgRule::Kind::kWord:
        if (token.quoted || !Contains(arg.words, token.text)) {
          return "expected " + JoinWords(arg.words, "|") + ", not " + Quoted(token.text);
        }
        value.text = token.text;
        break;
      case ArgRule::Kind::kText:
        if (!token.quoted) return arg.name + " must stand in double quotes";
        value.text = token.text;
        break;
      case ArgRule::Kind::kKey: {
        bool named = false;
        if (!token.quoted) {
          for (const auto& key : KeyNames()) {
            if (EqualsIgnoreCase(key, token.text)) {
              value.text = key;
              named = true;
            }
          }
        }
        if (!named) {
          const size_t length = Utf8CharLength(token.text);
          if (length == 0 || length != token.text.size()) {
            return "unknown key " + Quoted(token.text) +
                   " (a key name such as Escape or F1, or one character)";
          }
          value.text = token.text;
        }
        break;
      }
      case ArgRule::Kind::kOperator:
        if (token.quoted || !Contains({"=", "<>", "<", ">"}, token.text)) {
          return "expected an operator = <> < >, not " + Quoted(token.text);
        }
        value.text = token.text;
        break;
      case ArgRule::Kind::kNumberList:
        break;  // handled above
    }
    command.args.push_back(std::move(value));
  }
  if (next < tokens.size()) return "unexpected " + Quoted(tokens[next].text);
  return {};
}

// The words that may follow `first` to name a command.
std::string SecondWords(const CommandTable& table, std::string_view first) {
  std::vector<std::string> words;
  for (const auto& definition : table.commands()) {
    std::string_view name = definition.name;
    if (name.size() > first.size() && name.substr(0, first.size()) == first &&
        name[first.size()] == ' ') {
      words.emplace_back(name.substr(first.size() + 1));
    }
  }
  return JoinWords(words, ", ");
}

}  // namespace

std::string CommandRule::Usage() const {
  std::string usage = name;
  for (const auto& arg : args) {
    usage += ' ';
    if (arg.kind == ArgRule::Kind::kWord) {
      usage += JoinWords(arg.words, "|");
    } else {
      usage += arg.name;
      for (const auto& word : arg.words)
        usage += "|" + word;
    }
  }
  return usage;
}

CommandRule& CommandTable::Add(CommandRule definition) {
  return rules_.emplace_back(std::move(definition));
}

CommandRule* CommandTable::Find(std::string_view name) {
  for (auto& definition : rules_) {
    if (definition.name == name) return &definition;
  }
  return nullptr;
}

const CommandRule* CommandTable::Find(std::string_view name) const {
  for (const auto& definition : rules_) {
    if (definition.name == name) return &definition;
  }
  return nullptr;
}

bool CommandTable::IsFirstWord(std::string_view first) const {
  for (const auto& definition : rules_) {
    std::string_view name = definition.name;
    if (name.substr(0, name.find(' ')) == first) return true;
  }
  return false;
}

Script ParseScript(std::string_view text, std::string name, const CommandTable& table) {
  Script script;
  script.name = std::move(name);
  int line_no = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;

    auto fail = [&](const std::string& what) {
      script.errors.push_back(script.name + ":" + std::to_string(line_no) + ": " + what);
    };
    LexedLine lexed = Lex(line);
    if (!lexed.error.empty()) {
      fail(lexed.error);
      continue;
    }
    const auto& tokens = lexed.tokens;
    if (tokens.empty()) continue;
    if (tokens[0].quoted) {
      fail("a command starts with its name, not with a quoted text");
      continue;
    }
    const CommandRule* definition = nullptr;
    size_t next = 1;
    if (tokens.size() >= 2 && !tokens[1].quoted) {
      definition = table.Find(tokens[0].text + " " + tokens[1].text);
      next = 2;
    }
    if (definition == nullptr) {
      definition = table.Find(tokens[0].text);
      next = 1;
    }
    if (definition == nullptr) {
      if (table.IsFirstWord(tokens[0].text)) {
        std::string written = tokens[0].text + (tokens.size() >= 2 ? " " + tokens[1].text : "");
        fail("unknown command " + Quoted(written) + " (" + tokens[0].text + " takes " +
             SecondWords(table, tokens[0].text) + ")");
      } else {
        fail("unknown command " + Quoted(tokens[0].text));
      }
      continue;
    }
    ScriptCommand command;
    command.definition = definition;
    command.line = line_no;
    command.text = lexed.text;
    if (auto error = ParseArgs(*definition, tokens, next, command); !error.empty()) {
      fail(error + " (usage: " + definition->Usage() + ")");
      continue;
    }
    script.commands.push_back(std::move(command));
  }
  return script;
}

std::vector<std::string> UnavailableCommands(const Script& script) {
  std::vector<std::string> out;
  for (const auto& command : script.commands) {
    if (!command.definition->action) {
      out.push_back(script.name + ":" + std::to_string(command.line) +
                    ": not available yet: " + command.text);
    }
  }
  return out;
}

std::string Quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

const std::vector<std::string>& KeyNames() {
  static const std::vector<std::string> kNames = {
      "Escape", "Return", "Tab", "Backspace", "Delete", "Left", "Right", "Up",
      "Down",   "Home",   "End", "F1",        "F2",     "F3",   "F4",    "F5",
      "F6",     "F7",     "F8",  "F9",        "F10",    "F11",  "F12"};
  return kNames;
}

}  // namespace qv::app
