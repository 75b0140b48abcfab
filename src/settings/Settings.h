#pragma once

#include "settings/SettingsCatalogue.h"
#include "settings/SettingsStore.h"

#include <QString>
#include <cstdint>

namespace bw {

class SystemLayer;

// Who reads: the saver and the settings dialog each have their own defaults for missing keys.
enum class Reader { Saver, Dialog };

// Typed access to the store through the key catalogue. Missing keys take the reader's
// default; a text that is not a usable number or truth value takes the key's factory default.
class Settings {
public:
    Settings(SettingsStore& store, Reader reader) : store_(store), reader_(reader) {}

    // The stored text, or this reader's default for the key (empty when it has none).
    QString text(const SettingKey& key) const;
    int16_t integer(const SettingKey& key) const;
    bool flag(const SettingKey& key) const;
    // True when the key is present in the store.
    bool contains(const SettingKey& key) const;

    void write(const SettingKey& key, const QString& value);
    void writeInteger(const SettingKey& key, int value);
    void writeCheck(const SettingKey& key, bool ticked);     // "1" / "0"
    void writeTrueFalse(const SettingKey& key, bool value);  // "True" / "False"

    SettingsStore& store() { return store_; }
    Reader reader() const { return reader_; }

private:
    const char* readDefault(const SettingKey& key) const;

    SettingsStore& store_;
    Reader reader_;
};

// The factory default of a key as a number or a truth value.
int16_t factoryInteger(const SettingKey& key);
bool factoryFlag(const SettingKey& key);

// Writes the factory default of every key, in the catalogue's section order.
void writeFactoryDefaults(SettingsStore& store);

// The "Reset to Factory Defaults" button: every default, then the confirmation box.
void factoryReset(SettingsStore& store, SystemLayer& system);

}  // namespace bw
