#include "reporting/http_client.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "reporting/tests/test_server.h"

namespace {

const char kReportRequestLine[] = "POST /caller?c=site&a=writelog&coopcom=zorv HTTP/1.1";
const char kUserAgent[] =
    "User-Agent: Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/56.0.2924.90 Safari/537.36 2345Explorer/9.3.2.17331";

// Points the client at a server for one test and leaves no cookies behind.
class HttpClientTest : public ::testing::Test {
 protected:
  void UseServer(const std::string& address) {
    setenv("LUMORA_STATS_SERVER", address.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("LUMORA_STATS_SERVER");
    ClearGlobalCookies();
  }
  // The lines libcurl writes itself around ours, for a body of `length` bytes.
  static std::vector<std::string> Expected(const TestServer& server,
                                           std::vector<std::string> ours, size_t length) {
    std::string host = server.Address("LUMORA_STATS_SERVER").substr(7);
    std::vector<std::string> lines = {"Host: " + host, "Accept: */*"};
    lines.insert(lines.end(), ours.begin(), ours.end());
    lines.push_back("Content-Length: " + std::to_string(length));
    lines.push_back("Content-Type: application/x-www-form-urlencoded");
    return lines;
  }
};

TEST_F(HttpClientTest, SendsSixHeadersInNameOrderWithoutCookies) {
  TestServer server;
  ASSERT_TRUE(server.running());
  UseServer(server.Address("LUMORA_STATS_SERVER"));
  std::string answer;
  HttpClient client;
  EXPECT_EQ(client.PostReport(answer, "log=e30="), 0);
  EXPECT_EQ(client.attempts_made(), 1);
  EXPECT_EQ(answer, "{\"code\":0}\n");
  ASSERT_EQ(server.RequestCount(), 1);
  EXPECT_EQ(server.RawHead(1).substr(0, sizeof(kReportRequestLine) + 1),
            std::string(kReportRequestLine) + "\r\n");
  EXPECT_EQ(server.HeaderLines(1),
            Expected(server,
                     {"Accept-Charset: utf-8;q=0.7,*;q=0.3", "Accept-Encoding: deflate",
                      "Accept-Language: en-US,en;q=0.9", "Cache-Control: no-cache",
                      "Connection: close", kUserAgent},
                     8));
  EXPECT_EQ(server.RawBody(1), "log=e30=");
}

TEST_F(HttpClientTest, SendsCookieTextUnescapedBetweenConnectionAndUserAgent) {
  TestServer server;
  ASSERT_TRUE(server.running());
  UseServer(server.Address("LUMORA_STATS_SERVER"));
  SetGlobalCookie("b", "old");
  SetGlobalCookie("b", "x y");  // replaces
  SetGlobalCookie("a", "1");
  SetGlobalCookie("c", "semi;colon \"q\"");
  // The body travels as it is: no form encoding of '+', '/' or '='.
  const std::string body = "log=ab+/cd==";
  std::string answer;
  HttpClient client;
  EXPECT_EQ(client.PostReport(answer, body), 0);
  ASSERT_EQ(server.RequestCount(), 1);
  EXPECT_EQ(server.HeaderLines(1),
            Expected(server,
                     {"Accept-Charset: utf-8;q=0.7,*;q=0.3", "Accept-Encoding: deflate",
                      "Accept-Language: en-US,en;q=0.9", "Cache-Control: no-cache",
                      "Connection: close", "Cookie: a=1;b=x y;c=semi;colon \"q\";", kUserAgent},
                     body.size()));
  EXPECT_EQ(server.RawBody(1), body);
}

TEST_F(HttpClientTest, CookieTextFormat) {
  EXPECT_EQ(BuildCookieText({}), "");
  EXPECT_EQ(BuildCookieText({{"b", "x y"}, {"a", "1"}}), "a=1;b=x y;");
}

TEST_F(HttpClientTest, ClosedPortGetsExactlyTwoAttempts) {
  TestServer server({"--fault", "writelog=refuse"});
  ASSERT_TRUE(server.running());
  UseServer(server.Address("LUMORA_STATS_SERVER"));
  std::string answer;
  HttpClient client;
  EXPECT_EQ(client.PostReport(answer, "log=e30="), 7);  // couldn't connect
  EXPECT_EQ(client.attempts_made(), 2);
}

TEST_F(HttpClientTest, DroppedConnectionIsTriedOnceMoreWithTheSameHeaders) {
  TestServer server({"--fault", "writelog=drop"});
  ASSERT_TRUE(server.running());
  UseServer(server.Address("LUMORA_STATS_SERVER"));
  SetGlobalCookie("imei", "abc");
  std::string answer;
  HttpClient client;
  EXPECT_EQ(client.PostReport(answer, "log=e30="), 52);  // empty reply
  EXPECT_EQ(client.attempts_made(), 2);
  ASSERT_EQ(server.RequestCount(), 2);
  EXPECT_EQ(server.HeaderLines(1).size(), 11u);
  EXPECT_EQ(server.HeaderLines(2), server.HeaderLines(1));
  EXPECT_EQ(server.RawBody(2), "log=e30=");
}

TEST_F(HttpClientTest, ServerErrorIsNotRetried) {
  TestServer server({"--fault", "writelog=500"});
  ASSERT_TRUE(server.running());
  UseServer(server.Address("LUMORA_STATS_SERVER"));
  std::string answer;
  HttpClient client;
  EXPECT_EQ(client.PostReport(answer, "log=e30="), 0);
  EXPECT_EQ(client.attempts_made(), 1);
  EXPECT_EQ(answer, "internal server error\n");
  EXPECT_EQ(server.RequestCount(), 1);
}

}  // namespace
