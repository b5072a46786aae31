// Joining string table entries into one text, with strings of this test's
// own resource script: pieces follow each other with nothing between them,
// a missing entry adds nothing, and every piece is cut at 4195 characters.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "dialogs/information_dialogs.h"

namespace {

const int kFirst = 60000;        // "First piece"
const int kUnusedEntry = 60001;  // in the same block of sixteen, no text
const int kSecond = 60002;       // "\r\n\r\nSecond piece"
const int kAtCut = 60016;        // 4195 characters
const int kPastCut = 60017;      // 4196 characters
const int kLong = 60018;         // 5000 characters
const int kNoBlock = 61000;      // no block of the string table holds it
const size_t kCut = 4195;

std::string Join(const std::vector<int>& ids) {
  char* joined = JoinStrings(GetModuleHandleA(nullptr), ids.data(), static_cast<int>(ids.size()));
  if (joined == nullptr) {
    ADD_FAILURE() << "no text";
    return "<null>";
  }
  std::string text = joined;
  free(joined);
  return text;
}

// The whole entry, read with room to spare.
std::string Whole(int id) {
  std::vector<char> text(16384);
  const int length =
      LoadStringA(GetModuleHandleA(nullptr), id, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), length > 0 ? length : 0);
}

TEST(JoinStrings, PiecesFollowEachOtherInTheOrderGiven) {
  EXPECT_EQ(Join({kFirst, kSecond}), "First piece\r\n\r\nSecond piece");
  EXPECT_EQ(Join({kSecond, kFirst}), "\r\n\r\nSecond pieceFirst piece");
  EXPECT_EQ(Join({kFirst, kFirst}), "First pieceFirst piece");
}

TEST(JoinStrings, MissingEntriesAddNothing) {
  EXPECT_EQ(Join({kUnusedEntry, kFirst, kNoBlock, kSecond, kUnusedEntry}),
            "First piece\r\n\r\nSecond piece");
  EXPECT_EQ(Join({kUnusedEntry, kNoBlock}), "");
  EXPECT_EQ(Join({}), "");
}

TEST(JoinStrings, EachPieceIsCutAt4195Characters) {
  ASSERT_EQ(Whole(kAtCut).size(), kCut);
  ASSERT_EQ(Whole(kPastCut).size(), kCut + 1);
  ASSERT_EQ(Whole(kLong).size(), 5000u);

  EXPECT_EQ(Join({kAtCut}), Whole(kAtCut)) << "a piece of exactly 4195 characters stays whole";
  EXPECT_EQ(Join({kPastCut}), Whole(kPastCut).substr(0, kCut));
  EXPECT_EQ(Join({kLong}), Whole(kLong).substr(0, kCut));
  // The cut applies to each piece, not to the whole text.
  EXPECT_EQ(Join({kLong, kFirst, kLong}),
            Whole(kLong).substr(0, kCut) + "First piece" + Whole(kLong).substr(0, kCut));
}

}  // namespace
