// lumora-report EVENT [KEY=VALUE ...]
//
// Sends one usage report to the statistics server exactly as the installer does:
// the same common cookies (this program's channel slot and version, the user's
// machine identifier, created in the registry store when missing), the same
// record, headers, body and two attempts, transferred on an "http Thread". It
// waits for the transfer and says whether it completed.
//
// Exit codes: 0 the server took the report (any HTTP status), 1 the transfer
// failed after both attempts, 2 usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "installer/shell/misc_thread.h"
#include "platform/utf.h"
#include "reporting/http_client.h"
#include "reporting/report_event.h"
#include "tasks/thread_id.h"
#include "tasks/thread_manager.h"
#include "tasks/waitable_event.h"

namespace {

constexpr char kUsage[] =
    "usage: lumora-report EVENT [KEY=VALUE ...]\n"
    "Sends one usage report with the data KEY=VALUE ... to the statistics server\n"
    "($LUMORA_STATS_SERVER, else the build's address) and waits for it.\n"
    "Keys and values are UTF-8 text without '\"' or '\\'; a key appears once.\n"
    "Exit codes: 0 sent, 1 not sent, 2 usage error.\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "lumora-report: %s\n%s", message.c_str(), kUsage);
  return 2;
}

// The record is written without escaping, so these would make it invalid JSON.
bool FitsRecord(const std::string& text) {
  return text.find_first_of("\"\\") == std::string::npos;
}

bool IsValidUtf8(const std::string& text) {
  return platform::Utf16ToUtf8(platform::Utf8ToUtf16(text)) == text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 2 || argv[1][0] == '\0') return UsageError("missing EVENT");
  std::string event = argv[1];
  if (!FitsRecord(event) || !IsValidUtf8(event)) {
    return UsageError("EVENT '" + event + "' is not UTF-8 text without '\"' or '\\'");
  }
  ReportData data;
  for (int i = 2; i < argc; ++i) {
    std::string argument = argv[i];
    size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) {
      return UsageError("'" + argument + "' is not KEY=VALUE with a non-empty KEY");
    }
    if (!FitsRecord(argument) || !IsValidUtf8(argument)) {
      return UsageError("'" + argument + "' is not UTF-8 text without '\"' or '\\'");
    }
    std::u16string key = platform::Utf8ToUtf16(argument.substr(0, equals));
    if (!data.emplace(key, platform::Utf8ToUtf16(argument.substr(equals + 1))).second) {
      return UsageError("key '" + argument.substr(0, equals) + "' is given twice");
    }
  }

  MiscThread http_thread("http Thread", nbase::kThreadHttp);
  http_thread.StartWithLoop(nbase::MessageLoop::kDefaultMessageLoop);
  SetCommonReportFields();

  // The installer's path (ReportEvent) with the transfer's result kept for the exit code.
  std::string body = BuildReportBody(BuildRecordText(platform::Utf8ToUtf16(event), BuildDataText(data)));
  int result = -1;
  nbase::WaitableEvent done;
  nbase::ThreadManager::PostTask(nbase::kThreadHttp, [&] {
    result = RunReportTransfer(body);
    done.Signal();
  });
  done.Wait();
  http_thread.Stop();
  if (result != 0) {
    std::fprintf(stderr, "lumora-report: the report was not sent to %s: %s\n",
                 HttpClient().target().c_str(), HttpErrorText(result).c_str());
    return 1;
  }
  return 0;
}
