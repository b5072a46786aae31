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

  // Registers the template and clicks once; returns what the recorder got
  // within wait_ms. (The recorder holds its file exclusively until it has
  // written it whole, so a record is never read half-written.)
  std::optional<std::string> Launch(const std::string& command, const char* address = kAddress,
                                    DWORD wait_ms = 10000) {
    DeleteFileA(output.c_str());
    EXPECT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, kCommandKey, "", command));
    LaunchBrowser(address);
    std::optional<std::string> record = ReadWholeFile(output);
    for (DWORD waited = 0; !record && waited < wait_ms; waited += 50) {
      Sleep(50);
      record = ReadWholeFile(output);
    }
    return record;
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

// The click is handled on the user-interface thread, which must not wait
// for the browser: a browser that takes three seconds to come up has not
// written its record yet when the launch returns -- it writes it later.
// Both handles of the started process are let go.
TEST_F(BrowserLaunchTest, LaunchDoesNotWaitForTheBrowserAndReleasesItsHandles) {
  ScopedEnvironment delay("VISTELLO_RECORDER_DELAY", "3000");
  const std::vector<HANDLE> handles = ProcessAndThreadHandles();
  EXPECT_EQ(Launch(recorder + " \"%1\"", kAddress, 0), std::nullopt)
      << "returned before the browser was up";
  Text record;
  for (int waited = 0; waited < 30000 && !record; waited += 100) {
    Sleep(100);
    record = ReadWholeFile(output);
  }
  EXPECT_EQ(record, Text(recorder + "      " + kAddress));
  EXPECT_EQ(ProcessAndThreadHandles(), handles);

  // A program that cannot be started: nothing happens, nothing is kept.
  EXPECT_EQ(Launch("\"" + ExecutableDirectory() + "no_such_browser.exe\" \"%1\"", kAddress, 0),
            std::nullopt);
  EXPECT_EQ(ProcessAndThreadHandles(), handles);
}

// An open command whose program path has blanks and no quotes would let
// the system try each shorter path first ("...\\Program.exe" before
// "...\\Program Files\\..."). The longest part of it that names a file is
// quoted, so the planted program there never runs; commands already quoted,
// or without a blank in the path, are started as they are.
TEST_F(BrowserLaunchTest, UnquotedProgramPathWithBlanksIsQuoted) {
  const std::string root = FreshTemporaryPath("vistello_browsers") + "\\";
  const std::string folder = root + "Program Files\\Harbor Browser\\";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "Program Files").c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string original = ExecutableDirectory() + "browser_recorder.exe";
  const std::string browser = folder + "browser.exe";
  ASSERT_TRUE(CopyFileA(original.c_str(), browser.c_str(), FALSE));
  // The plant: a recorder too, so that starting it would show.
  ASSERT_TRUE(CopyFileA(original.c_str(), (root + "Program.exe").c_str(), FALSE));
  ScopedEnvironment self("VISTELLO_RECORDER_SELF", "1");
  const std::string blanks(6, ' ');
  const std::string by_browser = std::string("\n") + browser;
  const std::string stem = browser.substr(0, browser.size() - 4);  // the system adds .exe
  const struct {
    std::string command;
    std::string started;
  } rows[] = {
      {browser + " \"%1\"", "\"" + browser + "\"" + blanks + kAddress + by_browser},
      {browser + " -new-window \"%1\"",
       "\"" + browser + "\" -new-window" + blanks + kAddress + by_browser},
      {stem + " \"%1\"", "\"" + stem + "\"" + blanks + kAddress + by_browser},
      {"\"" + browser + "\" \"%1\"", "\"" + browser + "\"" + blanks + kAddress + by_browser},
      {recorder + " \"%1\"",
       recorder + blanks + kAddress + "\n" + recorder.substr(1, recorder.size() - 2)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    EXPECT_EQ(Launch(row.command), Text(row.started));
  }
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
