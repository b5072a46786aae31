// Scene images taken from the executable's resources: the resource helpers,
// the temporary copies, and the failures that end the process before any
// window exists.
#include "tour/scene_loader.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/bmp_reference.h"

namespace {

std::string TemporaryCopy(const char* image_name) {
  char directory[MAX_PATH];
  GetTempPathA(sizeof directory, directory);
  return std::string(directory) + image_name + ".JPG";
}

std::vector<char> FileBytes(const std::string& path) {
  std::vector<char> bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return bytes;
  }
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<char>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::vector<char> ResourceBytes(const char* name) {
  DWORD size = ResourceSize(name, "JPEG");
  std::vector<char> bytes(size);
  EXPECT_EQ(CopyResource(name, "JPEG", bytes.data(), &size), 1);
  return bytes;
}

void Destroy(SceneBitmap* bitmap) {
  SceneBitmapDeleter()(bitmap);
}

TEST(ResourceHelpers, SizeAndCopyFollowTheCallersCapacity) {
  const DWORD size = ResourceSize("0.jpg", "JPEG");
  EXPECT_GT(size, 0u);
  EXPECT_EQ(size, ResourceSize("0.JPG", "JPEG")) << "names match without regard to case";
  EXPECT_EQ(ResourceSize("absent.jpg", "JPEG"), 0u);

  std::vector<char> buffer(size);
  DWORD capacity = size;
  EXPECT_EQ(CopyResource("0.jpg", "JPEG", nullptr, &capacity), 0);
  EXPECT_EQ(CopyResource("0.jpg", "JPEG", buffer.data(), nullptr), 0);

  capacity = size - 1;
  EXPECT_EQ(CopyResource("0.jpg", "JPEG", buffer.data(), &capacity), 0);
  EXPECT_EQ(capacity, size) << "a short buffer learns the size it needs";

  capacity = size;
  EXPECT_EQ(CopyResource("absent.jpg", "JPEG", buffer.data(), &capacity), 0);
  EXPECT_EQ(capacity, 0u);

  capacity = size + 100;
  ASSERT_EQ(CopyResource("0.jpg", "JPEG", buffer.data(), &capacity), 1);
  EXPECT_EQ(capacity, size);
  EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0xFF);
  EXPECT_EQ(buffer[size - 1], ' ') << "the filler is part of the resource";
}

TEST(LoadSceneBitmap, LowerCaseNameDecodesThroughAWholeTemporaryCopy) {
  const std::string copy = TemporaryCopy("4.jpg");
  DeleteFileA(copy.c_str());
  SceneBitmap* bitmap = LoadSceneBitmap("4.jpg");
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), 1200);
  EXPECT_EQ(bitmap->Height(), 200);
  EXPECT_EQ(bitmap->Header()->biBitCount, 24);
  Destroy(bitmap);

  // The temporary file holds the whole resource, filler included, and is kept.
  EXPECT_EQ(FileBytes(copy), ResourceBytes("4.jpg"));
}

TEST(LoadSceneBitmap, OverwritesAnEarlierCopy) {
  const std::string copy = TemporaryCopy("2.jpg");
  WriteFileBytes(copy, std::vector<char>(50000, 'x'));
  SceneBitmap* bitmap = LoadSceneBitmap("2.jpg");
  EXPECT_EQ(bitmap->Width(), 1200);
  Destroy(bitmap);
  EXPECT_EQ(FileBytes(copy), ResourceBytes("2.jpg"));
}

// Another process holds a copy of another picture under the scene's
// temporary name -- letting others read it, or nobody at all. The scene
// still decodes to its own picture, pixel for pixel the reference
// decoder's, and nothing is left open.
TEST(LoadSceneBitmap, HeldForeignCopyDoesNotChangeTheScene) {
  BmpReference scene_one;
  ASSERT_TRUE(
      ReadBmpReference(std::string(VISTELLO_DECODER_REFERENCES) + "/scene1.bmp", &scene_one));
  const std::string copy = TemporaryCopy("1.jpg");
  const struct {
    const char* held;
    DWORD access;
    DWORD share;
  } rows[] = {{"readers allowed", GENERIC_READ, FILE_SHARE_READ},
              {"nobody else allowed", GENERIC_READ | GENERIC_WRITE, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.held);
    WriteFileBytes(copy, ResourceBytes("7.jpg"));
    HANDLE held =
        CreateFileA(copy.c_str(), row.access, row.share, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SceneBitmap* bitmap = LoadSceneBitmap("1.jpg");
    CloseHandle(held);
    EXPECT_TRUE(MatchesReference(*bitmap, scene_one));
    Destroy(bitmap);
  }
  // Unheld again, the copy is rewritten whole, and it is not kept open.
  SceneBitmap* bitmap = LoadSceneBitmap("1.jpg");
  Destroy(bitmap);
  EXPECT_EQ(FileBytes(copy), ResourceBytes("1.jpg"));
  HANDLE exclusive =
      CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
  CloseHandle(exclusive);
}

using LoadSceneBitmapDeathTest = ::testing::Test;

TEST(LoadSceneBitmapDeathTest, MissingResourceEndsWithLibjpegsEmptyInputError) {
  EXPECT_EXIT(LoadSceneBitmap("absent.jpg"), ::testing::ExitedWithCode(1), "Empty input file");
  EXPECT_EQ(FileBytes(TemporaryCopy("absent.jpg")).size(), 0u) << "truncated, nothing written";
}

TEST(LoadSceneBitmapDeathTest, CorruptImageEndsWithLibjpegsMessage) {
  EXPECT_EXIT(LoadSceneBitmap("notajpeg.jpg"), ::testing::ExitedWithCode(1),
              "Not a JPEG file: starts with 0x74 0x68");
  EXPECT_EXIT(LoadSceneBitmap("damaged.jpg"), ::testing::ExitedWithCode(1),
              "Unsupported JPEG data precision 3");
}

}  // namespace
