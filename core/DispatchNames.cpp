#include "core/DispatchNames.h"

namespace ombrisk {

std::optional<int32_t> DispatchNameCache::Find(std::u16string_view name) const noexcept {
    for (const Entry& e : entries_)
        if (e.name == name) return e.id;
    return std::nullopt;
}

void DispatchNameCache::Remember(std::u16string_view name, int32_t id) {
    if (name.empty() || name.size() > kMaxName) return;
    for (Entry& e : entries_)
        if (e.name == name) {
            e.id = id;
            return;
        }
    if (entries_.size() < kCapacity) {
        entries_.push_back(Entry{std::u16string(name), id});
        return;
    }
    entries_[oldest_] = Entry{std::u16string(name), id};
    oldest_ = (oldest_ + 1) % kCapacity;
}

}  // namespace ombrisk
