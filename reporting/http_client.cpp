#include "reporting/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

#include "installer/shell/server_addresses.h"

namespace {

constexpr char kReportPath[] = "/caller?c=site&a=writelog&coopcom=zorv";

// Start-up writes the cookies before any report is posted; the lock only keeps
// a late writer (a tool, a test) from racing a transfer that reads them.
std::mutex& CookieLock() {
  static std::mutex lock;
  return lock;
}
std::map<std::string, std::string>& CookieMap() {
  static auto* cookies = new std::map<std::string, std::string>();
  return *cookies;
}

// Each chunk is taken as text up to its first zero byte; the whole chunk
// counts as consumed so the transfer never fails here.
size_t AppendAnswer(char* data, size_t size, size_t count, void* user) {
  size_t length = size * count;
  auto* answer = static_cast<std::string*>(user);
  answer->append(data, std::find(data, data + length, '\0'));
  return length;
}

}  // namespace

void SetGlobalCookie(const std::string& name, const std::string& value) {
  std::lock_guard<std::mutex> hold(CookieLock());
  CookieMap().insert_or_assign(name, value);
}

std::map<std::string, std::string> GlobalCookies() {
  std::lock_guard<std::mutex> hold(CookieLock());
  return CookieMap();
}

void ClearGlobalCookies() {
  std::lock_guard<std::mutex> hold(CookieLock());
  CookieMap().clear();
}

std::string BuildCookieText(const std::map<std::string, std::string>& cookies) {
  std::string text;
  for (const auto& [name, value] : cookies) text += name + "=" + value + ";";
  return text;
}

void InitHttpLibrary() { curl_global_init(CURL_GLOBAL_ALL); }

HttpClient::HttpClient()
    : connection_(curl_easy_init()), target_(StatsServerAddress() + kReportPath) {
  SetDefaultHeaders();
}

HttpClient::~HttpClient() {
  if (connection_) curl_easy_cleanup(static_cast<CURL*>(connection_));
  curl_slist_free_all(header_list_);
}

void HttpClient::SetDefaultHeaders() {
  AddHeader("Accept-Charset", "utf-8;q=0.7,*;q=0.3");
  AddHeader("Accept-Language", "en-US,en;q=0.9");
  AddHeader("Accept-Encoding", "deflate");
  AddHeader("Cache-Control", "no-cache");
  AddHeader("Connection", "close");
  AddHeader("User-Agent",
            "Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) "
            "Chrome/56.0.2924.90 Safari/537.36 2345Explorer/9.3.2.17331");
}

void HttpClient::AddHeader(const std::string& name, const std::string& value) {
  headers_.emplace(name, value);
}

void HttpClient::ApplyHeaders() {
  for (const auto& cookie : GlobalCookies()) cookies_.insert(cookie);
  std::string cookie_text = BuildCookieText(cookies_);
  if (!cookie_text.empty()) AddHeader("Cookie", cookie_text);

  curl_slist* list = nullptr;
  for (const auto& [name, value] : headers_) {
    curl_slist* grown = curl_slist_append(list, (name + ": " + value).c_str());
    if (!grown) break;  // out of memory: send what was built
    list = grown;
  }
  // The connection drops its pointer to the previous attempt's list first.
  curl_easy_setopt(static_cast<CURL*>(connection_), CURLOPT_HTTPHEADER, list);
  curl_slist_free_all(header_list_);
  header_list_ = list;
}

int HttpClient::PostReport(std::string& answer, const std::string& body) {
  CURLcode result = CURLE_FAILED_INIT;
  attempts_made_ = 0;
  for (int attempt = 0; attempt < attempts_; ++attempt) {
    ++attempts_made_;
    auto* curl = static_cast<CURL*>(connection_);
    if (!curl) {
      result = CURLE_FAILED_INIT;
      continue;
    }
    result = curl_easy_setopt(curl, CURLOPT_URL, target_.c_str());
    if (result != CURLE_OK) continue;
    ApplyHeaders();
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &AppendAnswer);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(connect_time_limit_));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, static_cast<long>(transfer_time_limit_));
    curl_easy_setopt(curl, CURLOPT_DNS_CACHE_TIMEOUT, static_cast<long>(dns_cache_time_));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_HEADER, 0L);
    result = curl_easy_perform(curl);
    if (result == CURLE_OK) break;
  }
  return result;
}

int RunReportTransfer(const std::string& body) {
  HttpClient client;
  std::string answer;
  return client.PostReport(answer, body);
}

std::string HttpErrorText(int code) { return curl_easy_strerror(static_cast<CURLcode>(code)); }
