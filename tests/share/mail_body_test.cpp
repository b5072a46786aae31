// The mail body at the edges the demo tour cannot show: a body followed
// directly by other data, and a program without a body. Built twice, with
// mail_body_test.rc (VISTELLO_TEST_MAIL_BODY set) and without any
// resources; the test MAPI32.DLL in the system directory records the mail.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "share/registry_state.h"
#include "share/send_to_friend.h"
#include "share/share_test_support.h"

namespace {

const char kMailKey[] = "SOFTWARE\\Clients\\Mail";
const char kFlagKey[] = "Software\\Orvo\\Vistello";

// Sends at once (a mail client named, warnings silenced) and returns what
// the mail client was given.
std::vector<MapiCall> SendWithoutWarnings() {
  RegistryState machine_keys(HKEY_LOCAL_MACHINE, {kMailKey});
  RegistryState user_keys(HKEY_CURRENT_USER, {"Software\\Orvo", kFlagKey});
  EXPECT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, kMailKey, "", "Harbor Mail"));
  WriteNoEmailMessageBox(1);
  const std::string record = FreshTemporaryPath("vistello_mail_body_record.txt");
  ScopedEnvironment record_setting("VISTELLO_MAPI_RECORD", record.c_str());
  TestMainWindow main;
  SendToFriend(main.Handle(), GetModuleHandleA(nullptr));
  return ReadMapiCalls(record);
}

#ifdef VISTELLO_TEST_MAIL_BODY

const char kBody[] = "Hi,\r\nThis note is exactly sixty-four bytes, its CR LF included\r\n";

TEST(MailBody, EndsExactlyWhereTheResourceEnds) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, "MAILBODY", "MAILBODY");
  ASSERT_NE(resource, nullptr);
  ASSERT_EQ(SizeofResource(module, resource), 64u);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  ASSERT_EQ(std::string(bytes + 64, 4), "TAIL") << "the resource must be followed by data";

  char* body = nullptr;
  EXPECT_EQ(LoadMailBody(&body), 64u);
  ASSERT_NE(body, nullptr);
  EXPECT_STREQ(body, kBody);
  free(body);

  const std::vector<MapiCall> calls = SendWithoutWarnings();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].at("message.lpszNoteText"), std::optional<std::string>(kBody));
}

#else

TEST(MailBody, MissingResourceSendsTheMailWithoutNoteText) {
  char* body = reinterpret_cast<char*>(1);
  EXPECT_EQ(LoadMailBody(&body), 0u);
  EXPECT_EQ(body, nullptr);

  const std::vector<MapiCall> calls = SendWithoutWarnings();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].at("message.lpszNoteText"), std::nullopt);
  EXPECT_EQ(MapiNumber(calls[0], "message.nFileCount"), 1u);
  EXPECT_EQ(calls[0].at("file.lpszPathName"), std::optional<std::string>(ExecutablePath()));
}

#endif

}  // namespace
