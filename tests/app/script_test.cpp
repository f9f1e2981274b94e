#include "app/script.h"

#include <gtest/gtest.h>

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

TEST_F(ScriptTest, ArgumentsCommentsBlanksAndQuoting) {
  Script script = Parse(
      "# a walkthrough\r\n"
      "\r\n"
      "   wait\t600000   # waits are not limited to 16 bits\r\n"
      "expect message \"#1 \\\\ done\\r\\n\" # the hash inside quotes is text\n"
      "save \"Before the door\" \"A \\\"quoted\\\" word\"\n"
      "expect message \"\"\n"
      "expect flag 255 <> -32768\n"
      "key f1\nkey \"#\"\nkey é\n"
      "expect hand none\nexpect inventory 4 1 2\nexpect inventory\n");
  ASSERT_TRUE(script.errors.empty()) << script.errors[0];
  ASSERT_EQ(script.commands.size(), 11u);
  auto at = [&](size_t i) -> const ScriptCommand& { return script.commands.at(i); };
  EXPECT_EQ(at(0).line, 3);
  EXPECT_EQ(at(0).text, "wait\t600000") << "the text leaves out blanks and comment";
  EXPECT_EQ(at(0).Number(0), 600000);
  EXPECT_EQ(at(1).Text(0), "#1 \\ done\r\n");
  EXPECT_EQ(at(2).Text(1), "A \"quoted\" word");
  EXPECT_EQ(at(3).Text(0), "");
  EXPECT_EQ(at(4).Text(1), "<>");
  EXPECT_EQ(at(4).Number(2), -32768);
  EXPECT_EQ(at(5).Text(0), "F1") << "key names ignore case";
  EXPECT_EQ(at(6).Text(0), "#");
  EXPECT_EQ(at(7).Text(0), "é");
  EXPECT_EQ(at(8).Text(0), "none");
  EXPECT_EQ(at(9).Numbers(0), (std::vector<int64_t>{4, 1, 2}));
  EXPECT_TRUE(at(10).Numbers(0).empty());
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
      {"click thing 3", "unknown command \"click thing\" (click takes object, link, item"},
      {"\"wait\" 5", "a command starts with its name, not with a quoted text"},
      {"wait 5 6", "unexpected \"6\" (usage: wait MS)"},
      {"wait -1", "MS must be 0 to 2147483647, not -1"},
      {"wait \"5\"", "MS must be a number, not \"5\""},
      {"scene 99999999999999999999999", "N must be -32768 to 32767"},
      {"click object 21", "N must be 1 to 20, not 21"},
      {"expect flag 3 == 1", "expected an operator = <> < >, not \"==\""},
      {"expect hand some", "N must be a number, not \"some\" or none"},
      {"expect inventory 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", "at most 16 numbers"},
      {"expect map 0", "LOCATIONS... must be 1 to 20, not 0"},
      {"save Name \"desc\"", "\"NAME\" must stand in double quotes"},
      {"load \"slot\\\"", "a text is not closed with \""},
      {"load \"a\\tb\"", "unknown escape \"\\\\t\" in a text"},
      {"load \"a\"b", "a quoted text must be followed by a blank"},
      {"load a\"b\"", "a quote inside a word"},
      {"key Esc", "unknown key \"Esc\""},
      {"key # a comment", "missing NAME"},
      {"key \xff", "unknown key \"\xff\""},
  };
  for (const auto& c : cases) {
    std::string error = ErrorOf(c.line);
    EXPECT_NE(error.find(c.error), std::string::npos) << c.line << "\n  gave: " << error;
    EXPECT_EQ(error.rfind("walk.qvs:1: ", 0), 0u) << error;
  }
}

}  // namespace
}  // namespace qv::app
