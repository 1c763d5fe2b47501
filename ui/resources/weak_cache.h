#pragma once

#include <map>
#include <memory>
#include <utility>

namespace ui {

// A cache that shares live objects but never keeps one alive: it holds weak
// references, and an entry leaves the cache when the last user drops the
// object (the object is destroyed at that moment). Single-threaded, like the
// UI that uses it; the cache may be destroyed before the objects it handed out.
template <typename Key, typename T>
class WeakCache {
 public:
  WeakCache() : entries_(std::make_shared<Map>()) {}
  WeakCache(const WeakCache&) = delete;
  WeakCache& operator=(const WeakCache&) = delete;

  // The live object under `key`, or null.
  std::shared_ptr<T> Find(const Key& key) const {
    auto it = entries_->find(key);
    return it == entries_->end() ? nullptr : it->second.lock();
  }

  // Takes ownership of `object` and returns the shared handle that users hold;
  // when its last copy goes, the object is destroyed and the entry removed.
  std::shared_ptr<T> Insert(const Key& key, std::unique_ptr<T> object) {
    if (!object) return nullptr;
    std::weak_ptr<Map> weak_entries = entries_;
    std::shared_ptr<T> shared(object.release(), [weak_entries, key](T* raw) {
      delete raw;
      if (auto entries = weak_entries.lock()) {
        auto it = entries->find(key);
        if (it != entries->end() && it->second.expired()) entries->erase(it);
      }
    });
    (*entries_)[key] = shared;
    return shared;
  }

  size_t Size() const { return entries_->size(); }
  void Clear() { entries_->clear(); }

 private:
  using Map = std::map<Key, std::weak_ptr<T>>;
  std::shared_ptr<Map> entries_;
};

}  // namespace ui
