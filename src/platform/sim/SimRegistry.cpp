#include "platform/sim/SimRegistry.h"

#include "container/Text.h"

namespace ovrix {

SimRegistry::KeyPath SimRegistry::PathOf(const RegistryKey& key) {
    std::u16string path = LowerCase(key.path);
    while (!path.empty() && path.back() == u'\\') path.pop_back();
    const size_t start = path.find_first_not_of(u'\\');
    return {key.root, start == std::u16string::npos ? std::u16string() : path.substr(start)};
}

SimRegistry::Values* SimRegistry::Find(const RegistryKey& key) {
    KeyPath path = PathOf(key);
    const auto found = keys_.find(path);
    if (found != keys_.end()) return &found->second;
    // A root holds no values until one is written.
    return path.second.empty() ? &keys_[path] : nullptr;
}

SimRegistry::Values& SimRegistry::Create(const RegistryKey& key) {
    const KeyPath path = PathOf(key);
    for (size_t cut = path.second.find(u'\\'); cut != std::u16string::npos; cut = path.second.find(u'\\', cut + 1)) {
        keys_[{path.first, path.second.substr(0, cut)}];
    }
    return keys_[path];
}

void SimRegistry::Put(const RegistryKey& key, std::u16string_view name, RegistryValue value) {
    Create(key)[LowerCase(name)] = std::move(value);
}

bool SimRegistry::HasKey(const RegistryKey& key) const {
    const KeyPath path = PathOf(key);
    return path.second.empty() || keys_.count(path) != 0;
}

std::optional<RegistryValue> SimRegistry::ReadValue(const RegistryKey& key, std::u16string_view name) {
    const Values* values = Find(key);
    if (values == nullptr) return std::nullopt;
    const auto found = values->find(LowerCase(name));
    if (found == values->end()) return std::nullopt;
    return found->second;
}

bool SimRegistry::DoWriteValue(const RegistryKey& key, std::u16string_view name, const RegistryValue& value) {
    Values* values = Find(key);
    if (values == nullptr) return false;
    (*values)[LowerCase(name)] = value;
    return true;
}

bool SimRegistry::DoDeleteValue(const RegistryKey& key, std::u16string_view name) {
    Values* values = Find(key);
    return values != nullptr && values->erase(LowerCase(name)) != 0;
}

bool SimRegistry::DoCreateKey(const RegistryKey& key) {
    Create(key);
    return true;
}

bool SimRegistry::DoDeleteKey(const RegistryKey& key) {
    const KeyPath path = PathOf(key);
    if (path.second.empty()) return false;
    const auto found = keys_.find(path);
    if (found == keys_.end()) return false;
    // The system refuses to delete a key that still has sub-keys.
    const auto next = std::next(found);
    if (next != keys_.end() && next->first.first == path.first &&
        next->first.second.compare(0, path.second.size() + 1, path.second + u"\\") == 0) {
        return false;
    }
    keys_.erase(found);
    return true;
}

}  // namespace ovrix
