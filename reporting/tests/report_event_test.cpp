#include "reporting/report_event.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "installer/shell/misc_thread.h"
#include "installer/shell/registry_strings.h"
#include "installer/shell/tests/temp_user_hive.h"
#include "reporting/base64.h"
#include "reporting/http_client.h"
#include "reporting/machine_identity.h"
#include "reporting/tests/test_server.h"
#include "tasks/thread_id.h"
#include "tasks/thread_manager.h"
#include "tasks/waitable_event.h"

namespace {

// Each test runs in its own process (CTest), so the identifier cache starts empty:
// the registry store lives in a temporary folder holding the identifier 'abc'.
class ReportEventTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(WriteRegString(kAppInfoKey, u"UniqueId", u"abc"), 0); }
  void TearDown() override {
    unsetenv("LUMORA_STATS_SERVER");
    ClearGlobalCookies();
  }
  TempUserHive hive_;
};

constexpr char16_t kExampleRecord[] =
    u"{\"eventId\":\"OnClick\",\"imei\":\"abc\",\"appver\":\"1.6.1.6\","
    u"\"appName\":\"ZORVInstaller\",\"data\":{\"ClickSrc\":\"Install\"}}";

TEST_F(ReportEventTest, RecordTextIsExactAndUnescaped) {
  EXPECT_EQ(BuildRecordText(u"OnClick", BuildDataText({{u"ClickSrc", u"Install"}})), kExampleRecord);
  EXPECT_EQ(BuildRecordText(u"AppStart", BuildDataText({})),
            u"{\"eventId\":\"AppStart\",\"imei\":\"abc\",\"appver\":\"1.6.1.6\","
            u"\"appName\":\"ZORVInstaller\",\"data\":{}}");
  EXPECT_EQ(BuildRecordText(u"E", u""),
            u"{\"eventId\":\"E\",\"imei\":\"abc\",\"appver\":\"1.6.1.6\",\"appName\":\"ZORVInstaller\"}");
}

TEST_F(ReportEventTest, DataTextKeepsMapOrder) {
  // Ascending UTF-16 code units: upper case before lower case, CJK last.
  EXPECT_EQ(BuildDataText({{u"ret", u"0"}, {u"cost", u"12"}, {u"retryTime", u"1"},
                           {u"fileSize", u"11534336"}}),
            u"{\"cost\":\"12\",\"fileSize\":\"11534336\",\"ret\":\"0\",\"retryTime\":\"1\"}");
  EXPECT_EQ(BuildDataText({{u"btn_exit", u"Start 已安装"}, {u"Dpi", u"96"}, {u"Scale", u"100"}}),
            u"{\"Dpi\":\"96\",\"Scale\":\"100\",\"btn_exit\":\"Start 已安装\"}");
}

TEST_F(ReportEventTest, BodyIsBase64OfUtf8) {
  std::u16string record = u"{\"a\":\"图\"}";
  EXPECT_EQ(BuildReportBody(record), "log=" + Base64Encode("{\"a\":\"\xe5\x9b\xbe\"}"));
  // The surrogate pair of U+1F600 becomes one four-byte sequence.
  EXPECT_EQ(BuildReportBody(u"\U0001F600"), "log=" + Base64Encode("\xf0\x9f\x98\x80"));
}

TEST_F(ReportEventTest, CommonFieldsBecomeCookiesInNameOrder) {
  SetCommonReportFields();
  std::string system = SystemCookieText();
  EXPECT_EQ(system.substr(system.size() - 6), " 64bit");
  EXPECT_EQ(system.find(';'), std::string::npos);
  EXPECT_EQ(BuildCookieText(GlobalCookies()),
            "appname=ZORVInstaller;appver=1.6.1.6;channel=zorv_test_channel;coopcom=zorv;imei=abc;"
            "os=windows;system=" + system + ";");
}

// The installer's whole path: record, body, http thread, client, server.
TEST_F(ReportEventTest, ReportsArriveInPostingOrderOnTheHttpThread) {
  TestServer server;
  ASSERT_TRUE(server.running());
  setenv("LUMORA_STATS_SERVER", server.Address("LUMORA_STATS_SERVER").c_str(), 1);
  MiscThread http_thread("http Thread", nbase::kThreadHttp);
  ASSERT_TRUE(http_thread.StartWithLoop(nbase::MessageLoop::kDefaultMessageLoop));
  SetCommonReportFields();
  ReportEvent(u"OnClick", {{u"ClickSrc", u"Install"}});
  ReportAppStart(144, 150);
  http_thread.Stop();  // runs the queued transfers first

  ASSERT_EQ(server.RequestCount(), 2);
  EXPECT_EQ(server.RawBody(1), BuildReportBody(kExampleRecord));
  std::vector<std::string> log = server.LogLines();
  EXPECT_NE(log[0].find("\"cookie\": \"appname=ZORVInstaller;appver=1.6.1.6;channel=zorv_test_channel;"
                        "coopcom=zorv;imei=abc;os=windows;system="),
            std::string::npos);
  EXPECT_EQ(server.RawBody(2),
            BuildReportBody(u"{\"eventId\":\"AppStart\",\"imei\":\"abc\",\"appver\":\"1.6.1.6\","
                            u"\"appName\":\"ZORVInstaller\",\"data\":{\"Dpi\":\"144\","
                            u"\"FirstStart\":\"true\",\"Scale\":\"150\"}}"));
}

TEST_F(ReportEventTest, StoredIdentifierIsUsedUnchangedAndCached) {
  EXPECT_EQ(GetUniqueId(), u"abc");
  ASSERT_EQ(WriteRegString(kAppInfoKey, u"UniqueId", u"changed"), 0);
  EXPECT_EQ(GetUniqueId(), u"abc");
}

TEST(MachineIdentity, Md5HexOfUtf8) {
  EXPECT_EQ(Md5Hex(u"abc"), u"900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(Md5Hex(u""), u"D41D8CD98F00B204E9800998ECF8427E");
}

}  // namespace
