// The "/add" switch as the shell extension and users write it.
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

struct AddCase {
  const wchar_t* commandLine;
  bool found;
  const wchar_t* path;
};

TEST(CommandLine, AddSwitchCases) {
  const AddCase cases[] = {
      {L"/add \"C:\\My Files\\a b.txt\"", true, L"C:\\My Files\\a b.txt"},
      {L"/add C:\\dir\\file.txt", true, L"C:\\dir\\file.txt"},
      {L"/ADD \"C:\\x\"", false, L""},                       // case-sensitive
      {L"/add", true, L""},                                  // nothing behind it
      {L"/add ", true, L""},
      {L"/add \"C:\\x\" ", true, L"C:\\x\" "},               // only quotes are trimmed
      {L"/add\t\"C:\\x\"", true, L"C:\\x"},                   // any separator
      {L"-v /add \"C:\\x\"", true, L"C:\\x"},                 // anywhere in the text
      {L"/add \"\"\"C:\\x\"\"", true, L"C:\\x"},              // every leading and trailing quote
      {L"/add \"C:\\a\" /add \"C:\\b\"", true, L"C:\\a\" /add \"C:\\b"},  // the first one counts
      {L"", false, L""},
      {L"C:\\x", false, L""},
  };
  for (const AddCase& c : cases) {
    bool found = !c.found;
    EXPECT_EQ(ParseAddSwitch(c.commandLine, &found), CString(c.path)) << c.commandLine;
    EXPECT_EQ(found, c.found) << c.commandLine;
  }
  EXPECT_EQ(ParseAddSwitch(nullptr), CString());
}

}  // namespace
