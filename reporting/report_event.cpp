#include "reporting/report_event.h"

#include "installer/shell/app_resources.h"
#include "platform/utf.h"
#include "reporting/base64.h"
#include "reporting/http_client.h"
#include "reporting/machine_identity.h"
#include "tasks/thread_id.h"
#include "tasks/thread_manager.h"

namespace {

constexpr char16_t kAppName[] = u"ZORVInstaller";

std::string Utf8(const std::u16string& text) { return platform::Utf16ToUtf8(text); }

}  // namespace

std::u16string BuildDataText(const ReportData& data) {
  std::u16string text = u"{";
  for (const auto& [key, value] : data) {
    if (text.size() > 1) text += u',';
    text += u'"' + key + u"\":\"" + value + u'"';
  }
  return text + u'}';
}

std::u16string BuildRecordText(const std::u16string& event_id, const std::u16string& data_text) {
  std::u16string record = u"{\"eventId\":\"" + event_id + u"\",\"imei\":\"" + GetUniqueId() +
                          u"\",\"appver\":\"" + GetFileVersionText(u"") +
                          u"\",\"appName\":\"" + kAppName + u'"';
  if (!data_text.empty()) record += u",\"data\":" + data_text;
  return record + u'}';
}

std::string BuildReportBody(const std::u16string& record) {
  return "log=" + Base64Encode(Utf8(record));
}

void ReportEvent(const std::u16string& event_id, const ReportData& data) {
  BuildReportRecord(event_id, BuildDataText(data));
}

void BuildReportRecord(const std::u16string& event_id, const std::u16string& data_text) {
  SendReportRecord(BuildRecordText(event_id, data_text));
}

void SendReportRecord(const std::u16string& record) {
  nbase::ThreadManager::PostTask(nbase::kThreadHttp,
                  [body = BuildReportBody(record)] { RunReportTransfer(body); });
}

std::string SystemCookieText() { return Utf8(GetOsName() + u" " + BitnessWord()); }

void SetCommonReportFields() {
  InitHttpLibrary();
  std::u16string channel;
  if (!ReadChannelResource(channel)) channel = u"default";
  SetGlobalCookie("appver", Utf8(GetFileVersionText(u"")));
  SetGlobalCookie("os", "windows");
  SetGlobalCookie("imei", Utf8(GetUniqueId()));
  SetGlobalCookie("appname", Utf8(kAppName));
  SetGlobalCookie("system", SystemCookieText());
  SetGlobalCookie("coopcom", "zorv");
  SetGlobalCookie("channel", Utf8(channel));
}

void ReportAppStart(int dpi, int scale_percent) {
  std::string dpi_text = std::to_string(dpi);
  std::string scale_text = std::to_string(scale_percent);
  ReportEvent(u"AppStart", {{u"FirstStart", u"true"},
                            {u"Dpi", std::u16string(dpi_text.begin(), dpi_text.end())},
                            {u"Scale", std::u16string(scale_text.begin(), scale_text.end())}});
}
