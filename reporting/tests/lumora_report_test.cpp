// lumora-report as a real process: the identifier made once per user and reused by
// the next process, the exit codes, and the channel slot rewritten in a copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "platform/registry_store.h"
#include "reporting/tests/test_server.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int code;
  std::string err;
};

// Runs `program args` with XDG_CONFIG_HOME = `config` and the statistics server.
RunResult RunReport(const std::string& program, const std::string& args, const fs::path& config,
              const std::string& server) {
  fs::path err = config / "stderr";
  fs::create_directories(config);
  std::string command = "XDG_CONFIG_HOME='" + config.string() + "' LUMORA_STATS_SERVER='" + server +
                        "' '" + program + "' " + args + " 2>'" + err.string() + "'";
  int status = std::system(command.c_str());
  // The shell's wait status: the exit code sits in the second byte.
  return {status == -1 ? -1 : (status >> 8) & 0xff, ReadFileText(err)};
}

std::string ImeiOf(const std::string& log_line) {
  std::smatch match;
  std::regex imei("\"imei\": \"([^\"]*)\"");
  return std::regex_search(log_line, match, imei) ? match[1].str() : "";
}

class LumoraReportTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.running()); }
  fs::path Config(const char* name) const { return server_.folder() / name; }
  std::string Stats() const { return server_.Address("LUMORA_STATS_SERVER"); }
  TestServer server_;
};

TEST_F(LumoraReportTest, IdentifierIsCreatedOnceAndReusedByTheNextProcess) {
  fs::path config = Config("user");
  ASSERT_EQ(RunReport(LUMORA_REPORT, "OnClick ClickSrc=Install", config, Stats()).code, 0);
  ASSERT_EQ(RunReport(LUMORA_REPORT, "DownloadTimeCost ret=0 cost=3", config, Stats()).code, 0);
  ASSERT_EQ(server_.RequestCount(), 2);
  std::vector<std::string> log = server_.LogLines();
  std::string first = ImeiOf(log[0]);
  EXPECT_TRUE(std::regex_match(first, std::regex("[0-9A-F]{32}"))) << first;
  EXPECT_EQ(ImeiOf(log[1]), first);
  EXPECT_NE(log[1].find("\"record\": \"{\\\"eventId\\\":\\\"DownloadTimeCost\\\",\\\"imei\\\":\\\"" +
                        first + "\\\",\\\"appver\\\":\\\"1.6.1.6\\\",\\\"appName\\\":\\\"ZORVInstaller\\\","
                        "\\\"data\\\":{\\\"cost\\\":\\\"3\\\",\\\"ret\\\":\\\"0\\\"}}\""),
            std::string::npos)
      << log[1];
  std::string stored;
  platform::RegistryStore store((config / "lumora" / "registry.db").string());
  ASSERT_EQ(store.ReadString("Software\\zorv\\lumora\\AppInfo", "UniqueId", &stored),
            platform::RegStatus::kOk);
  EXPECT_EQ(stored, first);

  // Another user gets another identifier.
  ASSERT_EQ(RunReport(LUMORA_REPORT, "OnClick", Config("other"), Stats()).code, 0);
  ASSERT_EQ(server_.RequestCount(), 3);
  EXPECT_NE(ImeiOf(server_.LogLines()[2]), first);
}

TEST_F(LumoraReportTest, UsageErrorsSendNothing) {
  const char* bad[] = {"", "''", "OnClick novalue", "OnClick =v", "OnClick a=1 a=2",
                       "OnClick 'a=say \"hi\"'", "'On\\Click'"};
  for (const char* args : bad) {
    SCOPED_TRACE(args);
    RunResult run = RunReport(LUMORA_REPORT, args, Config("user"), Stats());
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("usage: lumora-report EVENT [KEY=VALUE ...]"), std::string::npos);
  }
  EXPECT_EQ(server_.RequestCount(), 0);
}

TEST_F(LumoraReportTest, UnreachableServerFailsAfterTwoAttempts) {
  TestServer refusing({"--fault", "writelog=refuse"});
  ASSERT_TRUE(refusing.running());
  RunResult run = RunReport(LUMORA_REPORT, "OnClick", Config("user"),
                      refusing.Address("LUMORA_STATS_SERVER"));
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("was not sent to " + refusing.Address("LUMORA_STATS_SERVER") +
                         "/caller?c=site&a=writelog&coopcom=zorv"),
            std::string::npos)
      << run.err;
}

TEST_F(LumoraReportTest, EmptyChannelSlotSendsEmptyChannelCookie) {
  fs::path copy = server_.folder() / "lumora-report-empty-channel";
  fs::copy_file(LUMORA_REPORT, copy);
  ASSERT_EQ(std::system(("'" + std::string(LUMORA_SET_CHANNEL) + "' '" + copy.string() + "' ''").c_str()), 0);
  ASSERT_EQ(RunReport(copy.string(), "OnClick", Config("user"), Stats()).code, 0);
  ASSERT_EQ(server_.RequestCount(), 1);
  EXPECT_NE(server_.LogLines()[0].find(";channel=;coopcom=zorv;"), std::string::npos);
}

}  // namespace
