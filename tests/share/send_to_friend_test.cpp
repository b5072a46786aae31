// "Send to a Friend" under Wine against the prefix's registry, with the
// test MAPI32.DLL in the system directory standing in for the mail client
// and the warning dialogs answered as a user would.
#include "share/send_to_friend.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "share/dialog_driver.h"
#include "share/registry_state.h"
#include "share/share_test_support.h"

namespace {

const char kAolKey[] = "SOFTWARE\\America Online\\America Online";
const char kCompuServeKey[] = "SOFTWARE\\CompuServe\\CompuServe";
const char kMailKey[] = "SOFTWARE\\Clients\\Mail";
const char kFlagKey[] = "Software\\Orvo\\Vistello";
const char kFlagValue[] = "NoEmailMessageBox";

// Which software the survey finds.
struct Machine {
  bool aol;
  bool compuserve;
  bool mail_client;
};

std::string FinalComponent(const std::string& path) {
  return path.substr(path.find_last_of("\\/") + 1);
}

std::string MailBodyResource() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, "MAILBODY", "MAILBODY");
  if (resource == nullptr) {
    return std::string();
  }
  return std::string(static_cast<const char*>(LockResource(LoadResource(module, resource))),
                     SizeofResource(module, resource));
}

class SendToFriendTest : public testing::Test {
 protected:
  SendToFriendTest()
      : machine_keys(HKEY_LOCAL_MACHINE, {"SOFTWARE\\America Online", kAolKey,
                                          "SOFTWARE\\CompuServe", kCompuServeKey, kMailKey}),
        user_keys(HKEY_CURRENT_USER, {"Software\\Orvo", kFlagKey}),
        record_path(FreshTemporaryPath("vistello_mapi_record.txt")),
        record_setting("VISTELLO_MAPI_RECORD", record_path.c_str()),
        result_setting("VISTELLO_MAPI_RESULT", nullptr) {}

  void SetUp() override { Arrange({false, false, false}); }

  // A machine with just the given software and no flag key; nothing sent yet.
  void Arrange(Machine machine) {
    ASSERT_TRUE(DeleteRegistryKey(HKEY_LOCAL_MACHINE, kAolKey));
    ASSERT_TRUE(DeleteRegistryKey(HKEY_LOCAL_MACHINE, kCompuServeKey));
    ASSERT_TRUE(DeleteRegistryValue(HKEY_LOCAL_MACHINE, kMailKey, ""));
    ASSERT_TRUE(DeleteRegistryKey(HKEY_CURRENT_USER, kFlagKey));
    if (machine.aol) {
      ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, kAolKey, "Version", "5.0"));
    }
    if (machine.compuserve) {
      ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, kCompuServeKey, "Version", "2000"));
    }
    if (machine.mail_client) {
      ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, kMailKey, "", "Harbor Mail"));
    }
    DeleteFileA(record_path.c_str());
  }

  void SetFlag(DWORD value) {
    ASSERT_TRUE(
        SetRegistryValue(HKEY_CURRENT_USER, kFlagKey, kFlagValue, REG_DWORD, &value, sizeof value));
  }

  // The stored flag when it is a 4-byte REG_DWORD; nullopt when absent.
  std::optional<DWORD> StoredFlag() {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegistryValue(HKEY_CURRENT_USER, kFlagKey, kFlagValue, &type, &data)) {
      return std::nullopt;
    }
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data.size(), 4u);
    return data.size() == 4 ? std::optional<DWORD>(*reinterpret_cast<DWORD*>(data.data()))
                            : std::nullopt;
  }

  // Runs the command with its dialogs answered in turn; returns the ids of
  // the warnings seen.
  std::vector<int> Invoke(std::vector<Answer> answers = {}) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    DialogDriver driver(std::move(answers));
    SendToFriend(main.Handle(), GetModuleHandleA(nullptr));
    seen = driver.Seen();
    return driver.WarningIds();
  }

  std::vector<MapiCall> Sent() { return ReadMapiCalls(record_path); }

  RegistryState machine_keys;
  RegistryState user_keys;
  std::string record_path;
  ScopedEnvironment record_setting;
  ScopedEnvironment result_setting;
  TestMainWindow main;
  std::vector<DialogSnapshot> seen;
};

using Warnings = std::vector<int>;

TEST_F(SendToFriendTest, EachSurveyOutcomeShowsItsWarningAndNoOrOkEndsTheCommand) {
  const struct {
    Machine machine;
    int warning;
    Answer answer;
  } rows[] = {
      {{true, false, true}, 161, Answer::kNo},   {{false, true, true}, 161, Answer::kNo},
      {{true, true, true}, 161, Answer::kNo},    {{false, false, true}, 162, Answer::kNo},
      {{true, false, false}, 163, Answer::kOk},  {{false, true, false}, 163, Answer::kOk},
      {{false, false, false}, 164, Answer::kOk}, {{true, false, false}, 163, Answer::kEscape},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << "warning " << row.warning << " answered " << static_cast<int>(row.answer));
    Arrange(row.machine);
    EXPECT_EQ(Invoke({row.answer}), Warnings{row.warning});
    ASSERT_EQ(seen.size(), 1u);
    // Owned by the main window, which the modal loop disables meanwhile;
    // no wait cursor and no mail library before the user has answered.
    EXPECT_EQ(seen[0].owner, main.Handle());
    EXPECT_FALSE(seen[0].owner_enabled);
    EXPECT_NE(seen[0].cursor, LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_FALSE(seen[0].mapi_loaded);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr);
    EXPECT_FALSE(StoredFlag().has_value());
  }
}

TEST_F(SendToFriendTest, FlagSilencesOnlyTheWarningsThatOfferAChoice) {
  const struct {
    Machine machine;
    Warnings warnings;
    size_t sent;
  } rows[] = {
      {{true, false, true}, {}, 1},
      {{false, false, true}, {}, 1},
      {{true, false, false}, {163}, 0},
      {{false, false, false}, {164}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << "aol " << row.machine.aol << " mail client " << row.machine.mail_client);
    Arrange(row.machine);
    SetFlag(1);
    EXPECT_EQ(Invoke({Answer::kOk}), row.warnings);
    EXPECT_EQ(Sent().size(), row.sent);
  }
}

TEST_F(SendToFriendTest, YesWithTheBoxTickedStoresOneAndLaterInvocationsSendAtOnce) {
  for (const Machine machine : {Machine{true, false, true}, Machine{false, false, true}}) {
    Arrange(machine);
    const int warning = machine.aol ? 161 : 162;
    EXPECT_EQ(Invoke({Answer::kTickAndYes}), Warnings{warning});
    EXPECT_EQ(StoredFlag(), std::optional<DWORD>(1));
    EXPECT_EQ(Sent().size(), 1u);

    EXPECT_EQ(Invoke(), Warnings{});
    EXPECT_EQ(Sent().size(), 2u);
  }
}

TEST_F(SendToFriendTest, YesWithoutTheTickStoresZeroAndTheWarningStays) {
  Arrange({false, false, true});
  EXPECT_EQ(Invoke({Answer::kYes}), Warnings{162});
  EXPECT_EQ(StoredFlag(), std::optional<DWORD>(0));
  EXPECT_EQ(Sent().size(), 1u);

  EXPECT_EQ(Invoke({Answer::kNo}), Warnings{162});
  EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(SendToFriendTest, EscapeSendsWithoutWritingTheFlagEvenWithTheBoxTicked) {
  for (const Machine machine : {Machine{true, false, true}, Machine{false, false, true}}) {
    Arrange(machine);
    EXPECT_EQ(Invoke({Answer::kTickAndEscape}), Warnings{machine.aol ? 161 : 162});
    EXPECT_EQ(Sent().size(), 1u);
    EXPECT_FALSE(StoredFlag().has_value());
  }
}

TEST_F(SendToFriendTest, NoWithTheBoxTickedLeavesTheFlagAsItWas) {
  Arrange({true, false, true});
  EXPECT_EQ(Invoke({Answer::kTickAndNo}), Warnings{161});
  EXPECT_FALSE(StoredFlag().has_value());

  SetFlag(0);
  EXPECT_EQ(Invoke({Answer::kTickAndNo}), Warnings{161});
  EXPECT_EQ(StoredFlag(), std::optional<DWORD>(0));
  EXPECT_TRUE(Sent().empty());
}

TEST_F(SendToFriendTest, FlagKeyIsCreatedByTheFirstWarningThatReadsIt) {
  // Dialogs 163 and 164 do not read the flag, so they leave no key.
  Arrange({false, false, false});
  EXPECT_EQ(Invoke({Answer::kOk}), Warnings{164});
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kFlagKey));

  Arrange({false, false, true});
  EXPECT_EQ(Invoke({Answer::kNo}), Warnings{162});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].flag_key_exists) << "the key exists before the dialog is answered";
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kFlagKey));
  EXPECT_FALSE(StoredFlag().has_value());
}

TEST_F(SendToFriendTest, FlagReadsAsANumberOnlyFromFourBytes) {
  const BYTE two[] = {2, 0, 0, 0};
  const BYTE one_byte[] = {1};
  const BYTE eight_bytes[] = {1, 0, 0, 0, 1, 0, 0, 0};
  const char text_one[] = "1";
  const struct {
    DWORD type;
    const void* data;
    DWORD size;
    DWORD expected;
  } rows[] = {
      {REG_BINARY, two, sizeof two, 2},  // the stored type is not examined
      {REG_BINARY, one_byte, sizeof one_byte, 0},
      {REG_SZ, text_one, sizeof text_one, 0},
      {REG_BINARY, eight_bytes, sizeof eight_bytes, 0},
  };
  EXPECT_EQ(ReadNoEmailMessageBox(), 0u) << "missing value";
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "type " << row.type << ", " << row.size << " bytes");
    ASSERT_TRUE(
        SetRegistryValue(HKEY_CURRENT_USER, kFlagKey, kFlagValue, row.type, row.data, row.size));
    EXPECT_EQ(ReadNoEmailMessageBox(), row.expected);
  }
  WriteNoEmailMessageBox(0x12345678);
  EXPECT_EQ(StoredFlag(), std::optional<DWORD>(0x12345678));
  EXPECT_EQ(ReadNoEmailMessageBox(), 0x12345678u);

  // A short value does not silence the warning.
  Arrange({false, false, true});
  ASSERT_TRUE(SetRegistryText(HKEY_CURRENT_USER, kFlagKey, kFlagValue, "1"));
  EXPECT_EQ(Invoke({Answer::kNo}), Warnings{162});
}

TEST_F(SendToFriendTest, MailClientCountsWhenItsNameIsNotEmpty) {
  const std::string long_name(250, 'M');
  const std::string boundary_name(199, 'B');  // 200 bytes with its terminator
  const struct {
    const char* what;
    std::optional<std::string> value;
    bool named;
  } rows[] = {
      {"missing", std::nullopt, false},
      {"empty", std::string(), false},
      {"named", std::string("Harbor Mail"), true},
      {"199 characters", boundary_name, true},
      {"250 characters", long_name, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(DeleteRegistryValue(HKEY_LOCAL_MACHINE, kMailKey, ""));
    if (row.value) {
      ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, kMailKey, "", *row.value));
    }
    EXPECT_EQ(HasDefaultMailClient(), row.named);
  }
  // 200 characters stored without a terminator fill the first read exactly.
  const std::string unterminated(200, 'U');
  ASSERT_TRUE(SetRegistryValue(HKEY_LOCAL_MACHINE, kMailKey, "", REG_SZ, unterminated.data(),
                               static_cast<DWORD>(unterminated.size())));
  EXPECT_TRUE(HasDefaultMailClient());

  // Through the command: an empty name is no client, a long one is.
  Arrange({false, false, false});
  ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, kMailKey, "", ""));
  EXPECT_EQ(Invoke({Answer::kOk}), Warnings{164});
  ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, kMailKey, "", long_name));
  EXPECT_EQ(Invoke({Answer::kNo}), Warnings{162});
}

TEST_F(SendToFriendTest, OnlineServicesCountOnlyWithTheirFullKeys) {
  ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\America Online", "x", "y"));
  ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\CompuServe", "x", "y"));
  EXPECT_FALSE(HasAolClient());
  EXPECT_FALSE(HasCompuServeClient());
  Arrange({true, false, false});
  EXPECT_TRUE(HasAolClient());
  EXPECT_FALSE(HasCompuServeClient());
  Arrange({false, true, false});
  EXPECT_FALSE(HasAolClient());
  EXPECT_TRUE(HasCompuServeClient());
}

// Shared by the test of this program and of a renamed copy of it.
void ExpectMailOfTheRunningExecutable(const MapiCall& call, HWND main_window) {
  char subject[1024] = {};
  LoadStringA(GetModuleHandleA(nullptr), 126, subject, sizeof subject);
  EXPECT_STREQ(subject, "Orvo(tm) Vistello");
  EXPECT_EQ(call.at("message.lpszSubject"), std::optional<std::string>(subject));
  // Exactly the resource's bytes: nothing that follows it in the image.
  const std::string body = MailBodyResource();
  ASSERT_FALSE(body.empty());
  EXPECT_EQ(call.at("message.lpszNoteText"), std::optional<std::string>(body));

  EXPECT_EQ(MapiNumber(call, "session"), 0u);
  EXPECT_EQ(MapiNumber(call, "ui_param"), reinterpret_cast<ULONG_PTR>(main_window));
  EXPECT_EQ(MapiNumber(call, "flags"), 9u) << "MAPI_LOGON_UI | MAPI_DIALOG";
  EXPECT_EQ(MapiNumber(call, "reserved"), 0u);
  EXPECT_EQ(MapiNumber(call, "message.ulReserved"), 0u);
  EXPECT_EQ(call.at("message.lpszMessageType"), std::nullopt);
  EXPECT_EQ(call.at("message.lpszDateReceived"), std::nullopt);
  EXPECT_EQ(call.at("message.lpszConversationID"), std::nullopt);
  EXPECT_EQ(MapiNumber(call, "message.flFlags"), 0u);
  EXPECT_EQ(call.at("message.lpOriginator"), std::nullopt);
  EXPECT_EQ(MapiNumber(call, "message.nRecipCount"), 0u);
  EXPECT_EQ(call.at("message.lpRecips"), std::nullopt);
  EXPECT_EQ(MapiNumber(call, "message.nFileCount"), 1u);
  EXPECT_EQ(MapiNumber(call, "file.ulReserved"), 0u);
  EXPECT_EQ(MapiNumber(call, "file.flFlags"), 0u);
  EXPECT_EQ(MapiNumber(call, "file.nPosition"), 0xFFFFFFFFul);
  EXPECT_EQ(call.at("file.lpszPathName"), std::optional<std::string>(ExecutablePath()));
  EXPECT_EQ(call.at("file.lpszFileName"),
            std::optional<std::string>(FinalComponent(ExecutablePath())));
  EXPECT_EQ(call.at("file.lpFileType"), std::nullopt);
}

TEST_F(SendToFriendTest, MailCarriesTheTourBodyAndTheRunningExecutable) {
  Arrange({false, false, true});
  SetFlag(1);
  EXPECT_EQ(Invoke(), Warnings{});
  const std::vector<MapiCall> calls = Sent();
  ASSERT_EQ(calls.size(), 1u);
  ExpectMailOfTheRunningExecutable(calls[0], main.Handle());

  char* body = nullptr;
  const DWORD size = LoadMailBody(&body);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(std::string(body, size + 1), MailBodyResource() + '\0');
  EXPECT_EQ(std::string(body, 3), "Hi,");
  free(body);
}

TEST_F(SendToFriendTest, MainWindowIsShutOutDuringTheCallAndRestoredAfter) {
  Arrange({false, false, true});
  SetFlag(1);
  EXPECT_EQ(Invoke(), Warnings{});
  const std::vector<MapiCall> calls = Sent();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(MapiNumber(calls[0], "window_enabled"), 0u);
  EXPECT_EQ(MapiNumber(calls[0], "capture_is_window"), 1u);
  EXPECT_EQ(MapiNumber(calls[0], "focus_is_null"), 1u);
  EXPECT_EQ(MapiNumber(calls[0], "wait_cursor"), 1u);

  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), main.Handle());
  EXPECT_EQ(GetActiveWindow(), main.Handle());
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr) << "unloaded after the call";
}

TEST_F(SendToFriendTest, OnlyFailuresOfTheMailClientBringUpTheErrorBox) {
  const struct {
    const char* result;
    bool failure;
  } rows[] = {
      {"0", false}, {"1", false}, {"3", false},         {"2", true},
      {"11", true}, {"26", true}, {"0x80004005", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.result);
    Arrange({false, false, true});
    SetFlag(1);
    ScopedEnvironment result("VISTELLO_MAPI_RESULT", row.result);
    const std::vector<int> dialogs = Invoke({Answer::kOk});
    EXPECT_EQ(Sent().size(), 1u);
    if (!row.failure) {
      EXPECT_TRUE(dialogs.empty());
      continue;
    }
    ASSERT_EQ(seen.size(), 1u);
    const DialogSnapshot& box = seen[0];
    EXPECT_EQ(box.caption, "Send E-mail Tour");
    EXPECT_TRUE(box.ShowsText("Failed to send message"));
    EXPECT_EQ(box.owner, main.Handle());
    ASSERT_NE(box.Control(IDOK), nullptr);
    EXPECT_EQ(box.Control(IDCANCEL), nullptr);
    EXPECT_EQ(box.Control(IDYES), nullptr);
    int icons = 0;
    for (const ControlSnapshot& control : box.controls) {
      icons += control.icon != nullptr ? 1 : 0;
    }
    EXPECT_EQ(icons, 1);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
  }
}

// Scenarios that need a process of their own: started by the tests after
// them in a copy of this program, or by CTest with another DLL override.
class SeparateProcess : public SendToFriendTest {};

TEST_F(SeparateProcess, SendsTheRunningExecutable) {
  Arrange({false, false, true});
  SetFlag(1);
  EXPECT_EQ(Invoke(), Warnings{});
  const std::vector<MapiCall> calls = Sent();
  ASSERT_EQ(calls.size(), 1u);
  ExpectMailOfTheRunningExecutable(calls[0], main.Handle());
}

// Run by CTest with mapi32 disabled: no MAPI32.DLL can be loaded at all.
TEST_F(SeparateProcess, WithoutMapiLibraryTheErrorBoxAppears) {
  ASSERT_EQ(LoadLibraryA(SystemMapiLibrary::Path().c_str()), nullptr)
      << "the override should hide every MAPI32.DLL";
  Arrange({false, false, true});
  SetFlag(1);
  EXPECT_EQ(Invoke({Answer::kOk}), Warnings{0});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Send E-mail Tour");
  EXPECT_TRUE(seen[0].ShowsText("Failed to send message"));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(SeparateProcess, LibraryWithoutSendMailEndsSilently) {
  Arrange({false, false, true});
  SetFlag(1);
  EXPECT_EQ(Invoke(), Warnings{});
  EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(SendToFriendTest, RenamedCopyIsAttachedUnderItsOwnName) {
  // Blanks and a second dot: only the last dot starts the extension.
  const std::string name = "Harbor Point Tour.v2.exe";
  const std::string copy = ExecutableDirectory() + name;
  ASSERT_TRUE(CopyFileA(ExecutablePath().c_str(), copy.c_str(), FALSE));
  EXPECT_EQ(RunInSeparateProcess(copy, "SendsTheRunningExecutable"), 0u);
  DeleteFileA(copy.c_str());
  const std::vector<MapiCall> calls = Sent();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].at("file.lpszPathName"), std::optional<std::string>(copy));
  EXPECT_EQ(calls[0].at("file.lpszFileName"), std::optional<std::string>(name));
}

TEST_F(SendToFriendTest, LibraryWithoutSendMailEndsSilently) {
  {
    // The system's MAPI32.DLL lacks the entry point.
    SystemMapiLibrary without_send(ExecutableDirectory() + "without_send\\MAPI32.DLL");
    ASSERT_TRUE(without_send.Installed());
    EXPECT_EQ(RunInSeparateProcess(ExecutablePath(), "LibraryWithoutSendMailEndsSilently"), 0u);
  }
  EXPECT_EQ(ReadWholeFile(record_path), std::optional<std::string>("attach=1\ndetach=1\n"))
      << "loaded and unloaded, never called";
}

// A MAPI32.DLL saved beside the program -- as a tour sits among mail
// attachments or downloads -- is never loaded: only the system's is.
// (This test program has one beside it: the library without the entry
// point, which notes its loading.)
TEST_F(SendToFriendTest, LibraryBesideTheProgramIsNeverLoaded) {
  const std::string planted = ExecutableDirectory() + "MAPI32.DLL";
  ASSERT_NE(GetFileAttributesA(planted.c_str()), INVALID_FILE_ATTRIBUTES);
  Arrange({false, false, true});
  SetFlag(1);
  EXPECT_EQ(Invoke(), Warnings{});
  const std::optional<std::string> record = ReadWholeFile(record_path);
  ASSERT_TRUE(record.has_value()) << "the system's library was called";
  EXPECT_EQ(record->find("attach=1"), std::string::npos) << *record;
  EXPECT_EQ(Sent().size(), 1u);
}

}  // namespace
