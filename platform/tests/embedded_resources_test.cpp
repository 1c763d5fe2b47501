#include "platform/embedded_resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/tests/test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(EmbeddedResourcesTest, FindsLinkedFileByTypeAndId) {
  auto bytes = FindEmbeddedResource("TESTDATA", 7);
  ASSERT_TRUE(bytes.has_value());
  std::string expected = test::ReadFile(fs::path(LUMORA_SOURCE_DIR) / "platform/tests/data/sample.bin");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size()), expected);
  // Type names ignore letter case, as resource type names do.
  EXPECT_TRUE(FindEmbeddedResource("TestData", 7).has_value());
  EXPECT_FALSE(FindEmbeddedResource("TESTDATA", 8).has_value());
  EXPECT_FALSE(FindEmbeddedResource("TESTDAT", 7).has_value());
  EXPECT_FALSE(FindEmbeddedResource("TESTDATAX", 7).has_value());
  // This program carries no channel.
  EXPECT_FALSE(FindEmbeddedResource(kChannelResourceType, kChannelResourceId).has_value());
}

TEST(EmbeddedResourcesTest, ProgramWithoutResourcesFindsNothing) {
  auto result = test::RunHelper(test::HelperPath(), {"channel"});
  EXPECT_EQ(result.code, 3);
  EXPECT_EQ(result.out, "<none>\n");
  result = test::RunHelper(test::HelperPath(), {"version"});
  EXPECT_EQ(result.code, 3);
}

TEST(EmbeddedResourcesTest, ChannelAndVersionOfBuiltProgram) {
  auto result = test::RunHelper(LUMORA_CHANNEL_HELPER, {"channel"});
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(result.out, "[built_channel_1]\n");
  result = test::RunHelper(LUMORA_CHANNEL_HELPER, {"version"});
  EXPECT_EQ(result.out, "1.6.1.6\n");
}

// tools/set-channel rewrites the slot of a built program; the copy then reads
// the new text, and a text that does not fit is refused without touching it.
TEST(EmbeddedResourcesTest, SetChannelRewritesBuiltProgram) {
  test::TempDir dir;
  fs::path copy = dir.path() / "installer";
  fs::copy_file(LUMORA_CHANNEL_HELPER, copy);
  std::string tool = std::string(LUMORA_SOURCE_DIR) + "/tools/set-channel";

  struct Case {
    std::string text;
    int tool_code;
    std::string channel_out;
  };
  const Case cases[] = {
      {"zorv_baidu_search_10500", 0, "[zorv_baidu_search_10500]\n"},
      {"渠道_upgrade", 0, "[渠道_upgrade]\n"},
      {"", 0, "[]\n"},
      {std::string(260, 'x'), 0, "[" + std::string(260, 'x') + "]\n"},
      {std::string(261, 'y'), 2, "[" + std::string(260, 'x') + "]\n"},  // refused, unchanged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 30));
    auto set = test::RunHelper(tool, {copy.string(), c.text});
    EXPECT_EQ(set.code, c.tool_code) << set.err;
    if (c.tool_code != 0) {
      EXPECT_NE(set.err.find("at most 260"), std::string::npos) << set.err;
    }
    auto read = test::RunHelper(copy.string(), {"channel"});
    EXPECT_EQ(read.code, 0);
    EXPECT_EQ(read.out, c.channel_out);
  }
  // The program keeps its mode and still runs everything else.
  EXPECT_EQ(test::RunHelper(copy.string(), {"version"}).out, "1.6.1.6\n");

  // A program without a slot is refused clearly.
  fs::path plain = dir.path() / "plain";
  fs::copy_file(test::HelperPath(), plain);
  auto set = test::RunHelper(tool, {plain.string(), "x"});
  EXPECT_EQ(set.code, 1);
  EXPECT_NE(set.err.find("no channel slot"), std::string::npos) << set.err;
  auto usage = test::RunHelper(tool, {plain.string()});
  EXPECT_EQ(usage.code, 2);
  EXPECT_NE(usage.err.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace platform
