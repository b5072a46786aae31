// Browser launch under Wine: the recorder program beside this test is
// registered as the HTTP open command and writes down the command line it
// is started with.
#include "share/browser_launch.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "share/registry_state.h"
#include "share/share_test_support.h"

namespace {

const char kCommandKey[] = "HTTP\\shell\\open\\command";
const char kAddress[] = "www.orvo.example";

class BrowserLaunchTest : public testing::Test {
 protected:
  BrowserLaunchTest()
      : classes(HKEY_CLASSES_ROOT, {kCommandKey}),
        recorder("\"" + ExecutableDirectory() + "browser_recorder.exe\""),
        output(FreshTemporaryPath("vistello_browser_record.txt")),
        output_setting("VISTELLO_RECORDER_OUTPUT", output.c_str()) {}

  // Registers the template and clicks once; returns what the recorder got.
  std::optional<std::string> Launch(const std::string& command, const char* address = kAddress) {
    DeleteFileA(output.c_str());
    EXPECT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, kCommandKey, "", command));
    LaunchBrowser(address);
    return ReadWholeFile(output);
  }

  // The treated template, as the e-commerce panel reads it.
  std::optional<std::string> Command() {
    char* command = ReadBrowserCommand();
    std::optional<std::string> text;
    if (command != nullptr) {
      text = command;
    }
    free(command);
    return text;
  }

  RegistryState classes;
  const std::string recorder;  // quoted path of the recorder program
  const std::string output;
  ScopedEnvironment output_setting;
};

using Text = std::optional<std::string>;

TEST_F(BrowserLaunchTest, QuotedPlaceholderIsBlankedAndTheAddressGoesLast) {
  const std::string six_blanks(6, ' ');
  const struct {
    std::string command;
    std::string started;
  } rows[] = {
      {recorder + " \"%1\"", recorder + six_blanks + kAddress},
      {recorder + " \"%1\" -new-window", recorder + six_blanks + "-new-window " + kAddress},
      {recorder + " %1", recorder + " %1 " + kAddress},
      {recorder + " \"%1\" \"%1\"", recorder + six_blanks + "\"%1\" " + kAddress},
      {recorder, recorder + " " + kAddress},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    EXPECT_EQ(Launch(row.command), Text(row.started));
  }
  // The address is passed on as given, scheme or not.
  const char full_address[] = "http://www.orvo.example/tours?id=7&lang=en";
  EXPECT_EQ(Launch(recorder + " \"%1\"", full_address), Text(recorder + six_blanks + full_address));
}

TEST_F(BrowserLaunchTest, TemplatesAroundTheFirstReadsSizeAreUsedWhole) {
  // Padding options that bring the template to the given length.
  const auto sized = [this](size_t length) {
    const std::string head = recorder + " \"%1\" --profile=";
    return head + std::string(length - head.size(), 'p');
  };
  for (const size_t length : {199u, 200u, 260u, 1000u}) {
    SCOPED_TRACE(length);
    const std::string command = sized(length);
    std::string treated = command;
    treated.replace(recorder.size() + 1, 4, "    ");
    EXPECT_EQ(Launch(command), Text(treated + " " + kAddress));
    EXPECT_EQ(Command(), Text(treated));
  }
  // Stored without its terminator, exactly as long as the first read: the
  // registry hands it back unterminated, and the text must still end there.
  const std::string unterminated = sized(200);
  ASSERT_TRUE(SetRegistryValue(HKEY_CLASSES_ROOT, kCommandKey, "", REG_SZ, unterminated.data(),
                               static_cast<DWORD>(unterminated.size())));
  const Text command = Command();
  ASSERT_TRUE(command.has_value());
  EXPECT_EQ(command->size(), 200u);
}

TEST_F(BrowserLaunchTest, TemplateIsUsedAsStored) {
  const char stored[] = "%SystemRoot%\\browser.exe \"%1\"";
  ASSERT_TRUE(
      SetRegistryValue(HKEY_CLASSES_ROOT, kCommandKey, "", REG_EXPAND_SZ, stored, sizeof stored));
  EXPECT_EQ(Command(), Text("%SystemRoot%\\browser.exe     "));
}

TEST_F(BrowserLaunchTest, WithoutATemplateNothingStarts) {
  ASSERT_TRUE(DeleteRegistryValue(HKEY_CLASSES_ROOT, kCommandKey, ""));
  LaunchBrowser(kAddress);
  EXPECT_EQ(Command(), std::nullopt) << "value missing";
  EXPECT_EQ(ReadWholeFile(output), std::nullopt);

  ASSERT_TRUE(DeleteRegistryKey(HKEY_CLASSES_ROOT, kCommandKey));
  LaunchBrowser(kAddress);
  EXPECT_EQ(Command(), std::nullopt) << "key missing";
  EXPECT_EQ(ReadWholeFile(output), std::nullopt);
}

TEST_F(BrowserLaunchTest, LaunchWaitsForTheStartedBrowserAndReleasesItsHandles) {
  // A browser slow to come up has written its record by the time the
  // launch returns: the wait was on it, not on the viewer.
  ScopedEnvironment delay("VISTELLO_RECORDER_DELAY", "1500");
  const std::vector<HANDLE> handles = ProcessAndThreadHandles();
  EXPECT_EQ(Launch(recorder + " \"%1\""), Text(recorder + "      " + kAddress));
  EXPECT_EQ(ProcessAndThreadHandles(), handles);

  // A program that cannot be started: nothing happens, nothing is kept.
  EXPECT_EQ(Launch("\"" + ExecutableDirectory() + "no_such_browser.exe\" \"%1\""), std::nullopt);
  EXPECT_EQ(ProcessAndThreadHandles(), handles);
}

TEST(BrowserPlaceholder, OnlyTheFirstQuotedPlaceholderIsBlanked) {
  const struct {
    const char* command;
    const char* blanked;
  } rows[] = {
      {"\"%1\"", "    "},
      {"b \"%1\" \"%1\"", "b      \"%1\""},
      {"b %1 \"%1", "b %1 \"%1"},
      {"b \"%2\" \"%1\"", "b \"%2\"     "},
      {"\xE9\xE8 \"%1\" x", "\xE9\xE8      x"},  // single-byte ANSI letters before it
      {"", ""},
  };
  for (const auto& row : rows) {
    std::string command = row.command;
    BlankAddressPlaceholder(&command[0]);
    EXPECT_EQ(command, row.blanked) << row.command;
  }
}

// Run only by the CTest entry browser_launch_test_cp932, under the Japanese
// ANSI code page (932, Shift-JIS), where 0x81-0x9F and 0xE0-0xFC lead
// double-byte characters.
class DoubleByteCodePage : public BrowserLaunchTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u);
    ASSERT_TRUE(IsDBCSLeadByte(0x82));
  }
};

TEST_F(DoubleByteCodePage, TrailByteIsNeverTakenForThePlaceholder) {
  // The quote after 0x82 is that character's trail byte, so the first
  // placeholder that starts a character is the second one.
  std::string command = "b \x82\"%1\" \"%1\"";
  BlankAddressPlaceholder(&command[0]);
  EXPECT_EQ(command, "b \x82\"%1\"     ");
}

TEST_F(DoubleByteCodePage, TemplateWithDoubleByteTextIsTreatedAlike) {
  // "\x95\x5C" is a character whose trail byte is a backslash.
  const std::string title = " --title=\x95\x5C\x8E\xA6";
  EXPECT_EQ(Launch(recorder + title + " \"%1\""),
            Text(recorder + title + std::string(6, ' ') + kAddress));
}

}  // namespace
