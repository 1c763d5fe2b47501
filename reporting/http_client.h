#pragma once

#include <map>
#include <string>

struct curl_slist;

// Cookies sent with every report: filled once during start-up, read by every
// transfer afterwards. Setting a name replaces its earlier value.
void SetGlobalCookie(const std::string& name, const std::string& value);
std::map<std::string, std::string> GlobalCookies();
void ClearGlobalCookies();

// The cookie header's text: "name=value;" for each entry in map order, nothing
// between entries, nothing escaped ('a=1;b=x y;').
std::string BuildCookieText(const std::map<std::string, std::string>& cookies);

// libcurl's process-wide initialisation (all features); its result is not
// examined. Call once on the main thread before the first transfer.
void InitHttpLibrary();

// One POST of a report body to the statistics server, at most two attempts.
// Lives for one transfer on the http thread; never shared between threads.
class HttpClient {
 public:
  HttpClient();
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  void SetDefaultHeaders();
  // A name already present keeps its value.
  void AddHeader(const std::string& name, const std::string& value);
  // Merges the global cookies in, adds the cookie header, and hands the
  // connection a fresh header list (each header once, whatever the attempt).
  void ApplyHeaders();
  // Returns libcurl's result (0 = completed; the HTTP status is not looked at).
  // A connection that could not be created fails every attempt with a non-zero code.
  int PostReport(std::string& answer, const std::string& body);

  // Attempts the last PostReport made (a completed transfer ends them).
  int attempts_made() const { return attempts_made_; }
  const std::string& target() const { return target_; }

 private:
  void* connection_ = nullptr;  // the libcurl easy handle
  int dns_cache_time_ = 60;
  int connect_time_limit_ = 15;
  int attempts_ = 2;
  int transfer_time_limit_ = 15;
  std::map<std::string, std::string> headers_;
  std::map<std::string, std::string> cookies_;
  curl_slist* header_list_ = nullptr;
  std::string target_;
  int attempts_made_ = 0;
};

// The transfer task run on the http thread for each report: a fresh client, one
// PostReport, the answer thrown away. The installer ignores the result; a tool
// may show it.
int RunReportTransfer(const std::string& body);

// libcurl's text for a result code.
std::string HttpErrorText(int code);
