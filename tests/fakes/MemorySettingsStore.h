#pragma once

#include "settings/SettingsStore.h"

#include <QMap>
#include <vector>

namespace bw {

// A store in memory that keeps every write in order, so tests can check what was written.
// Names match without regard to case, like the real store.
class MemorySettingsStore : public SettingsStore {
public:
    QString read(const QString& section, const QString& key,
                 const QString& fallback) const override;
    bool contains(const QString& section, const QString& key) const override;
    void write(const QString& section, const QString& key, const QString& value) override;
    void writeAll(const std::vector<SettingWrite>& writes) override;

    const std::vector<SettingWrite>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }

private:
    static QString id(const QString& section, const QString& key);

    QMap<QString, QString> values_;
    std::vector<SettingWrite> writes_;
};

}  // namespace bw
