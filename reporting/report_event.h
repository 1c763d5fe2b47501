#pragma once

#include <map>
#include <string>

// A report's data: keys in ascending UTF-16 code-unit order, which is also their
// order in the record.
using ReportData = std::map<std::u16string, std::u16string>;

// The single entry of usage reporting, any thread: builds the record on the
// calling thread and posts its transfer to the http thread. Never waits and never
// fails visibly; a report that cannot be delivered is lost.
void ReportEvent(const std::u16string& event_id, const ReportData& data);
void BuildReportRecord(const std::u16string& event_id, const std::u16string& data_text);
void SendReportRecord(const std::u16string& record);

// Start-up, UI thread, once, after the worker threads exist and before any
// report: libcurl's initialisation and the seven common cookies.
void SetCommonReportFields();
// The "AppStart" report: the display density that chose the theme and the UI's
// scale percent.
void ReportAppStart(int dpi, int scale_percent);

// The texts, exactly as they travel. Nothing is escaped: a key or value holding
// a double quote or a backslash makes the record invalid JSON, so callers hand
// in fixed texts, numbers and sanitised user text only.
// '{"k1":"v1","k2":"v2"}' in map order; "{}" for an empty map.
std::u16string BuildDataText(const ReportData& data);
// '{"eventId":...,"imei":...,"appver":...,"appName":"ZORVInstaller","data":{...}}';
// "data" is left out only when the data text is empty.
std::u16string BuildRecordText(const std::u16string& event_id, const std::u16string& data_text);
// "log=" followed by the Base64 of the record's UTF-8 bytes.
std::string BuildReportBody(const std::u16string& record);

// The "system" cookie: the operating-system name, a space and the bitness word.
std::string SystemCookieText();
