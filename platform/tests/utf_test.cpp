#include "platform/utf.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(UtfTest, RoundTripAndInvalidInput) {
  const std::string text = "ascii 中文 \xF0\x9F\x98\x80 end";  // BMP and a surrogate pair
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"ascii 中文 \U0001F600 end");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  // Each byte of a broken sequence becomes U+FFFD; overlong forms and
  // encoded surrogates are broken too.
  EXPECT_EQ(Utf8ToUtf16("a\xE4\xB8"), u"a\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF!"), u"\uFFFD\uFFFD!");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  // Long ASCII runs take the fast path; a multi-byte character right after.
  std::string run(37, 'a');
  EXPECT_EQ(Utf8ToUtf16(run + "é"), std::u16string(37, u'a') + u"é");
}

}  // namespace
}  // namespace platform
