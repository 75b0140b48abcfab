#pragma once

#include "settings/SettingsStore.h"

namespace bw {

// The user's settings for a run that must change nothing (the XScreenSaver display mode):
// reads come from the user's store, or the factory defaults for keys it lacks; writes are
// dropped. The first-run notices read as shown: they belong to the full saver.
class ReadOnlySettingsStore : public SettingsStore {
public:
    // `source` may be null: then every key reads as its factory default.
    explicit ReadOnlySettingsStore(const SettingsStore* source) : source_(source) {}

    QString read(const QString& section, const QString& key,
                 const QString& fallback) const override;
    bool contains(const QString& section, const QString& key) const override;
    void write(const QString&, const QString&, const QString&) override {}
    void writeAll(const std::vector<SettingWrite>&) override {}

private:
    const SettingsStore* source_;
};

}  // namespace bw
