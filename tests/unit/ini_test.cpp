#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/ini_file.h"
#include "platform/local_files.h"
#include "protocol/gbk.h"

namespace tallow {
namespace {

class Ini : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::remove(path); }
  void TearDown() override { std::filesystem::remove(path); }
  std::string Raw() {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("tallow-ini-" + std::to_string(::getpid()) + ".ini");
  platform::LocalFiles files;
  classIniFile ini{files, path.string()};
};

TEST_F(Ini, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(ini.GetIniKey("a", "b"), "");
  ini.WriteIniKey("Sec", "Key", "v");
  EXPECT_EQ(ini.GetIniKey("other", "Key"), "");
  EXPECT_EQ(ini.GetIniKey("Sec", "nokey"), "");
}

TEST_F(Ini, RewriteKeepsOneEntryAndLookupIgnoresCase) {
  ini.WriteIniKey("juNum:1", "Line1", "first value");
  ini.WriteIniKey("JUNUM:1", "line1", "  second  value ");
  ini.WriteIniKey("juNum:1", "Line2", "x");
  ini.WriteIniKey("juNum:2", "Line1", "y");
  EXPECT_EQ(ini.GetIniKey("junum:1", "LINE1"), "second  value");
  EXPECT_EQ(ini.GetIniKey("juNum:1", "Line2"), "x");
  EXPECT_EQ(ini.GetIniKey("juNum:2", "Line1"), "y");
  const std::string raw = Raw();
  std::size_t count = 0;
  for (std::size_t p = raw.find("ine1="); p != std::string::npos; p = raw.find("ine1=", p + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 2u);  // one in each section
}

TEST_F(Ini, LongValuesAreCutTo1023Characters) {
  ini.WriteIniKey("s", "k", std::string(1500, 'z'));
  EXPECT_EQ(ini.GetIniKey("s", "k"), std::string(1023, 'z'));
}

TEST_F(Ini, ChineseTextIsStoredAsGbk) {
  ini.WriteIniKey("常用语", "1", "你好，欢迎！");
  EXPECT_EQ(ini.GetIniKey("常用语", "1"), "你好，欢迎！");
  EXPECT_NE(Raw().find(protocol::ToGbk("你好")), std::string::npos);
}

TEST_F(Ini, NewSectionIsAddedAfterTheFileAsItWas) {
  {
    std::ofstream out(path, std::ios::binary);
    out << "; note\n[a]\nk=1";  // Unix line ends, no line end at the close
  }
  ini.WriteIniKeys("b", {{"x", "1"}, {"Y", "2"}, {"x", "3"}});
  EXPECT_EQ(Raw(), "; note\n[a]\nk=1\r\n[b]\r\nx=3\r\nY=2\r\n");
  EXPECT_EQ(ini.GetIniKey("a", "k"), "1");
  EXPECT_EQ(ini.GetIniKey("B", "y"), "2");
  // Writing into a section that exists rewrites the file and keeps both sections.
  ini.WriteIniKeys("A", {{"k", "4"}, {"m", "5"}});
  EXPECT_EQ(ini.GetIniKey("a", "k"), "4");
  EXPECT_EQ(ini.GetIniKey("a", "m"), "5");
  EXPECT_EQ(ini.GetIniKey("b", "x"), "3");
  EXPECT_EQ(ini.GetIniKey("b", "m"), "");
}

TEST_F(Ini, UnwritablePathHasNoEffect) {
  ini.INIFileName = "/nonexistent-dir/x.ini";
  ini.WriteIniKey("s", "k", "v");
  EXPECT_EQ(ini.GetIniKey("s", "k"), "");
}

// The files service counting its reads.
class CountingFiles : public platform::LocalFiles {
 public:
  std::optional<std::string> Read(const std::string& p) override {
    ++reads;
    return LocalFiles::Read(p);
  }
  int reads = 0;
};

TEST_F(Ini, MemoAppendsNewSectionsUnreadUntilTheFileChangesBehindIt) {
  CountingFiles counting;
  IniFileMemo memo;
  classIniFile record{counting, path.string(), &memo};
  record.WriteIniKey("juNum:1", "k", "1");  // the first write reads the file
  record.WriteIniKey("juNum:2", "k", "2");
  record.WriteIniKey("juNum:3", "k", "3");
  EXPECT_EQ(counting.reads, 1);
  EXPECT_EQ(Raw(), "[juNum:1]\r\nk=1\r\n[juNum:2]\r\nk=2\r\n[juNum:3]\r\nk=3\r\n");
  // A section written again, or a file changed by someone else, is read and edited in place.
  record.WriteIniKey("JUNUM:2", "k", "4");
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << "[juNum:4]\r\nk=5\r\n";
  }
  record.WriteIniKey("juNum:4", "k", "6");
  EXPECT_EQ(counting.reads, 3);
  EXPECT_EQ(Raw(),
            "[juNum:1]\r\nk=1\r\n[juNum:2]\r\nk=4\r\n[juNum:3]\r\nk=3\r\n[juNum:4]\r\nk=6\r\n");
}

}  // namespace
}  // namespace tallow
