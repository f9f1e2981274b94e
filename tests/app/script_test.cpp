#include "app/script.h"

#include <gtest/gtest.h>

#include <set>

#include "app/script_commands.h"

namespace qv::app {
namespace {

class ScriptTest : public ::testing::Test {
 protected:
  Script Parse(std::string_view text) { return ParseScript(text, "walk.qvs", table_); }

  // The one error of a one-line script.
  std::string ErrorOf(std::string_view line) {
    Script script = Parse(line);
    EXPECT_TRUE(script.commands.empty()) << line;
    return script.errors.size() == 1 ? script.errors[0] : "no single error";
  }

  CommandTable table_ = MakeCommandTable();
};

TEST_F(ScriptTest, EveryCommandFormParses) {
  // One line per form of every command, in the order of the command table.
  const std::string text = R"(new-game
scene 12
set-flag 7 -3
give 2
click object 20
hover object 1
click link up
hover link left
click item 16
hover item 3
click bar
examine
click line 5
hover line 1
click location 20
map-cancel
click button mainmenu
menu credits
quit no
save "Before the door" "A \"quoted\" word"
load "slot1"
key Escape
key f1
key x
key "#"
key é
wait 600000
answer cancel
expect flag 255 <> -32768
expect scene 3
expect hand none
expect hand 16
expect inventory 4 1 2
expect inventory
expect map 1 20
expect log "Flag # 3 set to 1"
expect no-log "Location # 2 added to Map."
expect message "Error #53"
expect sound 20 "door.wav"
expect silent 1
expect soundtrack ""
expect visible 20
expect hidden 1
expect conversation 0
expect cursor 15
)";
  Script script = Parse(text);
  ASSERT_TRUE(script.errors.empty()) << script.errors[0];
  ASSERT_EQ(script.commands.size(), 45u);
  std::set<std::string> used;
  for (const auto& command : script.commands)
    used.insert(command.definition->name);
  for (const auto& definition : table_.commands())
    EXPECT_TRUE(used.count(definition.name)) << definition.name;

  auto at = [&](int line) -> const ScriptCommand& { return script.commands.at(line - 1); };
  EXPECT_EQ(at(3).Number(1), -3);
  EXPECT_EQ(at(20).Text(0), "Before the door");
  EXPECT_EQ(at(20).Text(1), "A \"quoted\" word");
  EXPECT_EQ(at(23).Text(0), "F1") << "key names ignore case";
  EXPECT_EQ(at(25).Text(0), "#");
  EXPECT_EQ(at(26).Text(0), "é");
  EXPECT_EQ(at(27).Number(0), 600000) << "waits are not limited to 16 bits";
  EXPECT_EQ(at(29).Text(1), "<>");
  EXPECT_EQ(at(29).Number(2), -32768);
  EXPECT_EQ(at(31).Text(0), "none");
  EXPECT_EQ(at(33).Numbers(0), (std::vector<int64_t>{4, 1, 2}));
  EXPECT_TRUE(at(34).Numbers(0).empty());
  EXPECT_EQ(at(39).Text(1), "door.wav");
  EXPECT_EQ(at(41).Text(0), "");
  EXPECT_EQ(at(45).line, 45);
}

TEST_F(ScriptTest, CommentsBlanksAndQuoting) {
  Script script = Parse(
      "# a walkthrough\r\n"
      "\r\n"
      "   wait\t100   # let the door open\r\n"
      "expect message \"#1 \\\\ done\\r\\n\" # the hash inside quotes is text\n"
      "expect message \"\"\n");
  ASSERT_TRUE(script.errors.empty()) << script.errors[0];
  ASSERT_EQ(script.commands.size(), 3u);
  EXPECT_EQ(script.commands[0].line, 3);
  EXPECT_EQ(script.commands[0].text, "wait\t100") << "the text leaves out blanks and comment";
  EXPECT_EQ(script.commands[1].Text(0), "#1 \\ done\r\n");
  EXPECT_EQ(script.commands[1].line, 4);
  EXPECT_EQ(script.commands[2].Text(0), "");
}

TEST_F(ScriptTest, MalformedLinesNameScriptAndLine) {
  Script script = Parse("wait 10\njump 3\nwait\nanswer maybe\n");
  EXPECT_EQ(script.commands.size(), 1u) << "the good lines still parse";
  ASSERT_EQ(script.errors.size(), 3u);
  EXPECT_EQ(script.errors[0], "walk.qvs:2: unknown command \"jump\"");
  EXPECT_EQ(script.errors[1], "walk.qvs:3: missing MS (usage: wait MS)");
  EXPECT_EQ(script.errors[2],
            "walk.qvs:4: expected ok|yes|no|cancel, not \"maybe\" "
            "(usage: answer ok|yes|no|cancel)");
}

TEST_F(ScriptTest, WhatMakesALineMalformed) {
  struct Case {
    const char* line;
    const char* error;
  };
  const Case cases[] = {
      {"click thing 3",
       "unknown command \"click thing\" (click takes object, link, item, bar, "
       "line, location, button)"},
      {"expect", "unknown command \"expect\""},
      {"\"wait\" 5", "a command starts with its name, not with a quoted text"},
      {"wait 5 6", "unexpected \"6\" (usage: wait MS)"},
      {"wait -1", "MS must be 0 to 2147483647, not -1"},
      {"wait 1e3", "MS must be a number, not \"1e3\""},
      {"wait \"5\"", "MS must be a number, not \"5\""},
      {"scene 32768", "N must be -32768 to 32767, not 32768"},
      {"scene 99999999999999999999999", "N must be -32768 to 32767"},
      {"set-flag 1 -32769", "V must be -32768 to 32767, not -32769"},
      {"click object 0", "N must be 1 to 20, not 0"},
      {"click object 21", "N must be 1 to 20, not 21"},
      {"click item 17", "N must be 1 to 16, not 17"},
      {"expect flag 256 = 1", "N must be 1 to 255"},
      {"expect flag 3 == 1", "expected an operator = <> < >, not \"==\""},
      {"expect flag 3=1", "N must be a number, not \"3=1\""},
      {"expect hand some", "N must be a number, not \"some\" or none"},
      {"expect inventory 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", "at most 16 numbers"},
      {"expect map 0", "LOCATIONS... must be 1 to 20, not 0"},
      {"click link north", "expected up|right|down|left, not \"north\""},
      {"save Name \"desc\"", "\"NAME\" must stand in double quotes"},
      {"load \"slot", "a text is not closed with \""},
      {"load \"slot\\\"", "a text is not closed with \""},
      {"load \"a\\tb\"", "unknown escape \"\\\\t\" in a text"},
      {"load \"a\"b", "a quoted text must be followed by a blank"},
      {"load a\"b\"", "a quote inside a word"},
      {"key Esc", "unknown key \"Esc\""},
      {"key ab", "unknown key \"ab\""},
      {"key \"\"", "unknown key \"\""},
      {"key # a comment", "missing NAME"},
      {"key \xff", "unknown key \"\xff\""},
      {"expect message \"x\x01\" y", "unexpected \"y\""},
  };
  for (const auto& c : cases) {
    std::string error = ErrorOf(c.line);
    EXPECT_NE(error.find(c.error), std::string::npos) << c.line << "\n  gave: " << error;
    EXPECT_EQ(error.rfind("walk.qvs:1: ", 0), 0u) << error;
  }
}

TEST_F(ScriptTest, CommandsWithoutTheirSubsystemAreListed) {
  Script script = Parse("wait 5\nclick link up  # not yet\nanswer ok\nexpect map 1 2\n");
  ASSERT_TRUE(script.errors.empty());
  EXPECT_EQ(UnavailableCommands(script),
            (std::vector<std::string>{"walk.qvs:2: not available yet: click link up",
                                      "walk.qvs:4: not available yet: expect map 1 2"}));
}

TEST_F(ScriptTest, ASubsystemPlugsInItsCommandThroughTheTable) {
  int clicked = 0;
  table_.Find("click object")->action = [&](ScriptContext&, const ScriptCommand& c) {
    clicked = static_cast<int>(c.Number(0));
  };
  Script script = Parse("click object 3\n");
  EXPECT_TRUE(UnavailableCommands(script).empty());
  EXPECT_EQ(table_.Find("click object")->Usage(), "click object N");
  EXPECT_EQ(table_.Find("expect hand")->Usage(), "expect hand N|none");
  EXPECT_EQ(clicked, 0) << "parsing runs nothing";
}

TEST(QuotedTest, EscapesWhatWouldBreakAMessageLine) {
  EXPECT_EQ(Quoted("a\"b\\c\r\n\t\x01\x7f"), "\"a\\\"b\\\\c\\r\\n\\t\\x01\\x7f\"");
  EXPECT_EQ(Quoted("é"), "\"é\"");
}

}  // namespace
}  // namespace qv::app
