#include "platform/registry_store.h"

#include <fcntl.h>
#include <locale.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>

namespace platform {

namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr size_t kMaxKeyNameChars = 255;
constexpr int64_t kRootId = 0;

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS keys("
    "  id INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
    "  name TEXT NOT NULL, folded TEXT NOT NULL, UNIQUE(parent, folded));"
    "CREATE TABLE IF NOT EXISTS vals("
    "  key INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL,"
    "  data TEXT NOT NULL, PRIMARY KEY(key, folded)) WITHOUT ROWID;";

// ---- names ----

locale_t FoldingLocale() {
  static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return locale;
}

void AppendUtf8(uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `at`; returns its length, or 0 when the bytes
// there are not a valid sequence.
size_t DecodeUtf8(std::string_view s, size_t at, uint32_t* c) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  uint8_t b = byte(at);
  size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (length == 0 || at + length > s.size()) return 0;
  uint32_t value = length == 1 ? b : b & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kMin[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *c = value;
  return length;
}

size_t CharCount(std::string_view s) {
  size_t count = 0;
  for (char ch : s) count += (static_cast<uint8_t>(ch) & 0xC0) != 0x80;
  return count;
}

// Splits a key path into its names; false when a name is empty or too long.
bool SplitKey(std::string_view key, std::vector<std::string>* parts) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  parts->clear();
  if (key.empty()) return true;
  size_t start = 0;
  while (true) {
    size_t end = key.find('\\', start);
    std::string_view part = key.substr(start, end == std::string_view::npos ? key.npos : end - start);
    if (part.empty() || CharCount(part) > kMaxKeyNameChars) return false;
    parts->emplace_back(part);
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

// ---- SQLite plumbing ----

bool IsDamage(int rc) {
  int primary = rc & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// One connection for one call, with the first SQLite failure remembered.
class Session {
 public:
  ~Session() {
    if (db_ != nullptr) sqlite3_close_v2(db_);
  }
  sqlite3*& db() { return db_; }
  int error() const { return error_; }
  // True when rc is a success code; otherwise remembers it.
  bool Check(int rc) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return true;
    if (error_ == SQLITE_OK) error_ = rc;
    return false;
  }
  bool Exec(const char* sql) { return Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr)); }

 private:
  sqlite3* db_ = nullptr;
  int error_ = SQLITE_OK;
};

class Statement {
 public:
  Statement(Session& session, const char* sql) : session_(session) {
    session_.Check(sqlite3_prepare_v2(session_.db(), sql, -1, &stmt_, nullptr));
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::string_view text) {
    if (stmt_ != nullptr) {
      session_.Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT));
    }
    return *this;
  }
  Statement& Bind(int index, int64_t number) {
    if (stmt_ != nullptr) session_.Check(sqlite3_bind_int64(stmt_, index, number));
    return *this;
  }
  // True while there is a row; a failure ends the rows and is remembered.
  bool Step() {
    if (stmt_ == nullptr) return false;
    int rc = sqlite3_step(stmt_);
    session_.Check(rc);
    return rc == SQLITE_ROW;
  }
  bool Run() {
    if (stmt_ == nullptr) return false;
    return session_.Check(sqlite3_step(stmt_));
  }
  int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string Text(int column) {
    const unsigned char* text = sqlite3_column_text(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text), size);
  }

 private:
  Session& session_;
  sqlite3_stmt* stmt_ = nullptr;
};

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// Whether the file is a sound database (a missing file counts as sound).
bool FileIsSound(const std::string& file) {
  if (!FileExists(file)) return true;
  Session s;
  if (!s.Check(sqlite3_open_v2(file.c_str(), &s.db(), SQLITE_OPEN_READONLY, nullptr))) {
    return !IsDamage(s.error());
  }
  sqlite3_busy_timeout(s.db(), kBusyTimeoutMs);
  Statement check(s, "PRAGMA quick_check(1)");
  if (check.Step()) return check.Text(0) == "ok";
  return !IsDamage(s.error());  // a store that is only busy or unreadable stays where it is
}

std::string AsideName(const std::string& file) {
  char stamp[32];
  time_t now = time(nullptr);
  tm parts{};
  localtime_r(&now, &parts);
  strftime(stamp, sizeof(stamp), "%Y%m%d-%H%M%S", &parts);
  std::string base = file + ".corrupt-" + stamp;
  std::string name = base;
  for (int n = 2; FileExists(name); ++n) name = base + "-" + std::to_string(n);
  return name;
}

// Moves a damaged store file (and any journal of it) aside. Several processes
// may find the damage at once: the lock file lets one of them move it, and the
// others then see the sound replacement and leave it alone.
bool SetAsideDamagedStore(const std::string& file) {
  int lock = open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock >= 0) flock(lock, LOCK_EX);
  bool moved = true;
  if (!FileIsSound(file)) {
    std::string aside = AsideName(file);
    moved = rename(file.c_str(), aside.c_str()) == 0;
    if (moved) {
      // A journal left beside the new store would be played into it.
      for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        if (FileExists(file + suffix)) rename((file + suffix).c_str(), (aside + suffix).c_str());
      }
      std::fprintf(stderr,
                   "lumora: the registry store %s was damaged; it was kept as %s and a fresh "
                   "store was started\n",
                   file.c_str(), aside.c_str());
    } else {
      std::fprintf(stderr, "lumora: the registry store %s is damaged and cannot be moved aside\n",
                   file.c_str());
    }
  }
  if (lock >= 0) close(lock);  // also releases the flock
  return moved;
}

RegStatus MapFailure(int rc, bool write) {
  int primary = rc & 0xFF;
  if (write && (primary == SQLITE_READONLY || primary == SQLITE_PERM ||
                primary == SQLITE_CANTOPEN || primary == SQLITE_AUTH)) {
    return RegStatus::kAccessDenied;
  }
  return RegStatus::kStoreFailed;
}

// Opens the store for one call and starts its transaction. A read of a missing
// store, or of one without tables, sees an empty store.
bool Begin(const std::string& file, bool write, Session& s) {
  bool exists = FileExists(file);
  if (write && !exists) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
  }
  const char* name = (write || exists) ? file.c_str() : ":memory:";
  int flags = SQLITE_OPEN_READWRITE | (write ? SQLITE_OPEN_CREATE : 0);
  if (!s.Check(sqlite3_open_v2(name, &s.db(), flags, nullptr))) return false;
  sqlite3_busy_timeout(s.db(), kBusyTimeoutMs);
  if (!s.Exec(write ? "BEGIN IMMEDIATE" : "BEGIN")) return false;
  {
    Statement check(s, "PRAGMA quick_check(1)");
    if (check.Step() && check.Text(0) != "ok") {
      s.Check(SQLITE_CORRUPT);
      return false;
    }
    if (s.error() != SQLITE_OK) return false;
  }
  if (write) return s.Exec(kSchema);
  Statement tables(s, "SELECT count(*) FROM sqlite_master WHERE name IN ('keys', 'vals')");
  if (!tables.Step()) return false;
  if (tables.Int(0) == 2) return true;
  // Temporary tables shadow the (absent) real ones for this connection only.
  const std::string_view kPlain = "CREATE TABLE";
  const std::string_view kTemp = "CREATE TEMP TABLE";
  std::string temp_schema = kSchema;
  for (size_t at = 0; (at = temp_schema.find(kPlain, at)) != std::string::npos; at += kTemp.size()) {
    temp_schema.replace(at, kPlain.size(), kTemp);
  }
  return s.Exec(temp_schema.c_str());
}

// Runs `body` in one transaction, committed when it returns kOk and the call
// writes. A damaged store is set aside and the call retried once.
RegStatus Run(const std::string& file, bool write, const std::function<RegStatus(Session&)>& body) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    RegStatus status = RegStatus::kStoreFailed;
    int error = SQLITE_OK;
    {
      Session s;
      if (Begin(file, write, s)) {
        status = body(s);
        if (s.error() == SQLITE_OK && write && status == RegStatus::kOk) s.Exec("COMMIT");
      }
      error = s.error();
      if ((error != SQLITE_OK || status != RegStatus::kOk || !write) && s.db() != nullptr) {
        sqlite3_exec(s.db(), "ROLLBACK", nullptr, nullptr, nullptr);
      }
    }
    if (error == SQLITE_OK) return status;
    if (!IsDamage(error) || attempt == 1 || !SetAsideDamagedStore(file)) {
      return MapFailure(error, write);
    }
  }
  return RegStatus::kStoreFailed;
}

// ---- keys and values ----

RegStatus FindKey(Session& s, const std::vector<std::string>& parts, int64_t* id) {
  int64_t current = kRootId;
  for (const std::string& part : parts) {
    Statement find(s, "SELECT id FROM keys WHERE parent = ? AND folded = ?");
    find.Bind(1, current).Bind(2, FoldRegistryName(part));
    if (!find.Step()) return s.error() == SQLITE_OK ? RegStatus::kNotFound : RegStatus::kStoreFailed;
    current = find.Int(0);
  }
  *id = current;
  return RegStatus::kOk;
}

RegStatus MakeKey(Session& s, const std::vector<std::string>& parts, int64_t* id) {
  int64_t current = kRootId;
  for (const std::string& part : parts) {
    std::string folded = FoldRegistryName(part);
    Statement find(s, "SELECT id FROM keys WHERE parent = ? AND folded = ?");
    find.Bind(1, current).Bind(2, folded);
    if (find.Step()) {
      current = find.Int(0);
      continue;
    }
    Statement insert(s, "INSERT INTO keys(parent, name, folded) VALUES(?, ?, ?)");
    if (!insert.Bind(1, current).Bind(2, part).Bind(3, folded).Run()) return RegStatus::kStoreFailed;
    current = sqlite3_last_insert_rowid(s.db());
  }
  *id = current;
  return RegStatus::kOk;
}

// Resolves `key` and runs `then` with its id.
RegStatus WithKey(const std::string& file, std::string_view key, bool write, bool create,
                  const std::function<RegStatus(Session&, int64_t)>& then) {
  std::vector<std::string> parts;
  if (!SplitKey(key, &parts)) return RegStatus::kInvalidName;
  return Run(file, write, [&](Session& s) {
    int64_t id = kRootId;
    RegStatus status = create ? MakeKey(s, parts, &id) : FindKey(s, parts, &id);
    return status == RegStatus::kOk ? then(s, id) : status;
  });
}

}  // namespace

std::string FoldRegistryName(std::string_view name) {
  locale_t locale = FoldingLocale();
  std::string out;
  out.reserve(name.size());
  for (size_t at = 0; at < name.size();) {
    uint32_t c = 0;
    size_t length = DecodeUtf8(name, at, &c);
    if (length == 0) {  // not UTF-8: keep the byte as it is
      out += name[at++];
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    } else {
      AppendUtf8(locale != static_cast<locale_t>(0) ? towupper_l(c, locale) : c, out);
    }
    at += length;
  }
  return out;
}

RegStatus RegistryStore::KeyExists(std::string_view key) const {
  return WithKey(file_, key, false, false, [](Session&, int64_t) { return RegStatus::kOk; });
}

RegStatus RegistryStore::CreateKey(std::string_view key) {
  return WithKey(file_, key, true, true, [](Session&, int64_t) { return RegStatus::kOk; });
}

RegStatus RegistryStore::ReadString(std::string_view key, std::string_view name,
                                    std::string* value) const {
  return WithKey(file_, key, false, false, [&](Session& s, int64_t id) {
    Statement read(s, "SELECT data FROM vals WHERE key = ? AND folded = ?");
    read.Bind(1, id).Bind(2, FoldRegistryName(name));
    if (!read.Step()) return s.error() == SQLITE_OK ? RegStatus::kNotFound : RegStatus::kStoreFailed;
    *value = read.Text(0);
    return RegStatus::kOk;
  });
}

RegStatus RegistryStore::WriteString(std::string_view key, std::string_view name,
                                     std::string_view value, bool create_key) {
  return WithKey(file_, key, true, create_key, [&](Session& s, int64_t id) {
    if (id == kRootId) return RegStatus::kInvalidName;  // the hive root holds no values
    Statement write(s,
                    "INSERT INTO vals(key, name, folded, data) VALUES(?, ?, ?, ?) "
                    "ON CONFLICT(key, folded) DO UPDATE SET data = excluded.data");
    write.Bind(1, id).Bind(2, name).Bind(3, FoldRegistryName(name)).Bind(4, value);
    return write.Run() ? RegStatus::kOk : RegStatus::kStoreFailed;
  });
}

RegStatus RegistryStore::DeleteValue(std::string_view key, std::string_view name) {
  return WithKey(file_, key, true, false, [&](Session& s, int64_t id) {
    Statement erase(s, "DELETE FROM vals WHERE key = ? AND folded = ?");
    if (!erase.Bind(1, id).Bind(2, FoldRegistryName(name)).Run()) return RegStatus::kStoreFailed;
    return sqlite3_changes(s.db()) > 0 ? RegStatus::kOk : RegStatus::kNotFound;
  });
}

RegStatus RegistryStore::DeleteKey(std::string_view key) {
  return WithKey(file_, key, true, false, [&](Session& s, int64_t id) {
    if (id == kRootId) return RegStatus::kInvalidName;
    const char* kTree =
        "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
        "  SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) ";
    Statement values(s, (std::string(kTree) + "DELETE FROM vals WHERE key IN tree").c_str());
    Statement keys(s, (std::string(kTree) + "DELETE FROM keys WHERE id IN tree").c_str());
    bool ok = values.Bind(1, id).Run() && keys.Bind(1, id).Run();
    return ok ? RegStatus::kOk : RegStatus::kStoreFailed;
  });
}

RegStatus RegistryStore::SubkeyNames(std::string_view key, std::vector<std::string>* names) const {
  return WithKey(file_, key, false, false, [&](Session& s, int64_t id) {
    names->clear();
    Statement list(s, "SELECT name FROM keys WHERE parent = ? ORDER BY folded");
    list.Bind(1, id);
    while (list.Step()) names->push_back(list.Text(0));
    return s.error() == SQLITE_OK ? RegStatus::kOk : RegStatus::kStoreFailed;
  });
}

RegStatus RegistryStore::Values(std::string_view key,
                                std::vector<std::pair<std::string, std::string>>* values) const {
  return WithKey(file_, key, false, false, [&](Session& s, int64_t id) {
    values->clear();
    Statement list(s, "SELECT name, data FROM vals WHERE key = ? ORDER BY folded");
    list.Bind(1, id);
    while (list.Step()) values->emplace_back(list.Text(0), list.Text(1));
    return s.error() == SQLITE_OK ? RegStatus::kOk : RegStatus::kStoreFailed;
  });
}

}  // namespace platform
