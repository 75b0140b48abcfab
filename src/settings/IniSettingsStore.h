#pragma once

#include "settings/SettingsStore.h"

#include <QSettings>
#include <memory>

namespace bw {

// The store as an INI file that only its owner may read, since it holds the password.
// Concurrent writers of different keys lose nothing: every write merges with what another
// process wrote since.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& filePath);
    ~IniSettingsStore() override;

    // $XDG_CONFIG_HOME/Brinewave3/Brinewave3.ini, or ~/.config/... without that variable.
    static QString defaultPath();

    QString read(const QString& section, const QString& key,
                 const QString& fallback) const override;
    bool contains(const QString& section, const QString& key) const override;
    void write(const QString& section, const QString& key, const QString& value) override;
    void writeAll(const std::vector<SettingWrite>& writes) override;

    // False while the file does not exist yet: nothing was ever written.
    bool exists() const;
    // False when the file could not be parsed; writes are then refused so that what could
    // not be read is not overwritten.
    bool readable() const;
    const QString& filePath() const { return filePath_; }

private:
    QVariant value(const QString& section, const QString& key) const;
    void prepareFile();
    void sync();

    QString filePath_;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace bw
