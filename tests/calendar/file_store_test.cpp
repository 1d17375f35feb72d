#include "calendar/file_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

class FileStore : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; !fs::create_directory(dir_); ++i) {
            dir_ = fs::temp_directory_path() / ("nocturo-store-" + std::to_string(i));
        }
        path_ = (dir_ / "data.dat").string();
    }
    void TearDown() override {
        fs::remove_all(dir_);
    }
    void Write(const std::string& text) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    std::string Read() {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir_ = fs::temp_directory_path() / "nocturo-store";
    std::string path_;
};

TEST_F(FileStore, ReadsUpToMax) {
    char buf[8];
    size_t got = 99;
    EXPECT_FALSE(ReadFileBytes(path_.c_str(), buf, sizeof buf, &got));
    EXPECT_EQ(got, 0u);
    Write("abc");
    EXPECT_TRUE(ReadFileBytes(path_.c_str(), buf, sizeof buf, &got));
    EXPECT_EQ(std::string(buf, got), "abc");
    Write("0123456789");
    EXPECT_TRUE(ReadFileBytes(path_.c_str(), buf, sizeof buf, &got));
    EXPECT_EQ(std::string(buf, got), "01234567");
}

TEST_F(FileStore, ReplacesWholeFileAndLeavesNoTemporary) {
    ASSERT_TRUE(ReplaceFileContents(path_.c_str(), "new", 3));
    EXPECT_EQ(Read(), "new");
    Write("a much longer old content");
    ASSERT_TRUE(ReplaceFileContents(path_.c_str(), "\0x", 2));
    EXPECT_EQ(Read(), std::string("\0x", 2));
    ASSERT_TRUE(ReplaceFileContents(path_.c_str(), "", 0));
    EXPECT_EQ(Read(), "");
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}

TEST_F(FileStore, FailureLeavesOldFile) {
    EXPECT_FALSE(ReplaceFileContents((dir_ / "no" / "data.dat").string().c_str(), "x", 1));
    EXPECT_FALSE(ReplaceFileContents(dir_.string().c_str(), "x", 1));
    EXPECT_TRUE(fs::is_directory(dir_));

    fs::create_directories(path_);
    fs::create_directories(path_ + "/inside");
    EXPECT_FALSE(ReplaceFileContents(path_.c_str(), "x", 1));
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));  // removed after the rename failed
    fs::remove_all(path_);

    Write("old");
    fs::create_directories(path_ + ".tmp/busy");
    EXPECT_FALSE(ReplaceFileContents(path_.c_str(), "new", 3));
    EXPECT_EQ(Read(), "old");
}

#ifdef _WIN32
TEST_F(FileStore, FileHeldWithoutSharingCannotBeReadOrReplaced) {
    Write("old");
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    char buf[4];
    size_t got = 0;
    EXPECT_FALSE(ReadFileBytes(path_.c_str(), buf, sizeof buf, &got));
    EXPECT_FALSE(ReplaceFileContents(path_.c_str(), "new", 3));
    CloseHandle(held);
    EXPECT_EQ(Read(), "old");
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}
#else
TEST_F(FileStore, LinkAtTemporaryNameIsNotFollowed) {
    std::string victim = (dir_ / "victim").string();
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, path_ + ".tmp");
    ASSERT_TRUE(ReplaceFileContents(path_.c_str(), "new", 3));
    EXPECT_EQ(Read(), "new");
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
}
#endif

}  // namespace
