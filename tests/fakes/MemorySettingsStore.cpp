#include "fakes/MemorySettingsStore.h"

namespace bw {

QString MemorySettingsStore::id(const QString& section, const QString& key) {
    return section.toLower() + u'/' + key.toLower();
}

QString MemorySettingsStore::read(const QString& section, const QString& key,
                                  const QString& fallback) const {
    return values_.value(id(section, key), fallback);
}

bool MemorySettingsStore::contains(const QString& section, const QString& key) const {
    return values_.contains(id(section, key));
}

void MemorySettingsStore::write(const QString& section, const QString& key, const QString& value) {
    values_.insert(id(section, key), value);
    writes_.push_back({section, key, value});
}

void MemorySettingsStore::writeAll(const std::vector<SettingWrite>& writes) {
    for (const SettingWrite& w : writes) write(w.section, w.key, w.value);
}

}  // namespace bw
