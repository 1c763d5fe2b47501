#include "reporting/base64.h"

#include <gtest/gtest.h>

TEST(Base64, FillsByLengthModuloThree) {
  // RFC 4648 test vectors: no fill after a whole group, "==" after one byte, "=" after two.
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(Base64Encode(in), out);
  }
}

TEST(Base64, UsesPlusSlashAndHighBytes) {
  EXPECT_EQ(Base64Encode(std::string("\xfb\xff\xbf", 3)), "+/+/");
  EXPECT_EQ(Base64Encode(std::string("\0\0", 2)), "AAA=");
  EXPECT_EQ(Base64Encode("\xe5\x9b\xbe"), "5Zu+");  // one CJK character in UTF-8
}
