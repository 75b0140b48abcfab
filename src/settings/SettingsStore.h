#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace bw {

struct SettingWrite {
    QString section;
    QString key;
    QString value;
};

// Per-user text values addressed by section and key. Section and key names match without
// regard to letter case.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `fallback` when the key is missing. Never fails.
    virtual QString read(const QString& section, const QString& key,
                         const QString& fallback) const = 0;
    virtual bool contains(const QString& section, const QString& key) const = 0;
    // Stores the text at once, creating section and key as needed.
    virtual void write(const QString& section, const QString& key, const QString& value) = 0;
    // Several values in one go, in order.
    virtual void writeAll(const std::vector<SettingWrite>& writes) = 0;
};

}  // namespace bw
