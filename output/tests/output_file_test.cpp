#include "output/output_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// A group of files is put in place a whole group at a time, after one flush:
// until then its files are whole under their temporary names only.
TEST(DurableGroup, PutsFilesInPlaceAGroupAtATime) {
  const fs::path dir = fs::temp_directory_path() / "ziwei-output-group";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto names = [&dir] {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string name = entry.path().filename();
      found.push_back(name.find(".tmp") != std::string::npos ? "tmp" : name);
    }
    std::sort(found.begin(), found.end());
    return found;
  };
  std::ofstream(dir / "b.htm") << "old";
  {
    DurableGroup group(2);
    group.write(dir / "a.htm", "A");
    EXPECT_EQ(names(), (std::vector<std::string>{"b.htm", "tmp"}));
    EXPECT_EQ(contents(dir / "b.htm"), "old");
    group.write(dir / "b.htm", "B");  // the second of the group: both in place
    EXPECT_EQ(names(), (std::vector<std::string>{"a.htm", "b.htm"}));
    EXPECT_EQ(contents(dir / "b.htm"), "B");
    group.write(dir / "c.htm", "C");
    EXPECT_EQ(group.published(), 2u);
    group.finish();
    EXPECT_EQ(group.published(), 3u);
    EXPECT_EQ(contents(dir / "c.htm"), "C");
    group.write(dir / "d.htm", "D");  // dropped unfinished: its temporary goes
  }
  EXPECT_EQ(names(), (std::vector<std::string>{"a.htm", "b.htm", "c.htm"}));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ziwei
