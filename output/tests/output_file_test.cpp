#include "output/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace ziwei {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The desktop replaces a link planted among its page files; the command line
// writes the file a link names, as a shell's ">" would.
TEST(OutputFile, LinkRules) {
  const fs::path dir = fs::temp_directory_path() / "ziwei-output-links";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path target = dir / "elsewhere.txt";
  const fs::path link = dir / "page.htm";
  std::ofstream(target) << "keep";
  fs::create_symlink(target, link);

  writeOutputFile(link, "followed", LinkRule::Follow);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(target), "followed");

  writeOutputFile(link, "replaced", LinkRule::Replace);
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(contents(link), "replaced");
  EXPECT_EQ(contents(target), "followed");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

  // A scratch file (not waited for on disk) is replaced whole all the same,
  // a link planted again included, and leaves no temporary behind.
  fs::remove(link);
  fs::create_symlink(target, link);
  writeOutputFile(link, "scratch", LinkRule::Replace, Durability::Scratch);
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(contents(link), "scratch");
  EXPECT_EQ(contents(target), "followed");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ziwei
