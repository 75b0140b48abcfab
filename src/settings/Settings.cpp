#include "settings/Settings.h"

#include "settings/Conversions.h"
#include "system/SystemLayer.h"

namespace bw {

namespace {

QString name(const char* text) { return QString::fromLatin1(text); }

}  // namespace

const char* Settings::readDefault(const SettingKey& key) const {
    const char* fallback = reader_ == Reader::Saver ? key.saverDefault : key.dialogDefault;
    return fallback ? fallback : "";
}

QString Settings::text(const SettingKey& key) const {
    return store_.read(name(key.section), name(key.name), QString::fromUtf8(readDefault(key)));
}

bool Settings::contains(const SettingKey& key) const {
    return store_.contains(name(key.section), name(key.name));
}

int16_t Settings::integer(const SettingKey& key) const {
    return textToInt16(text(key)).value_or(factoryInteger(key));
}

bool Settings::flag(const SettingKey& key) const {
    return textToBool(text(key)).value_or(factoryFlag(key));
}

void Settings::write(const SettingKey& key, const QString& value) {
    store_.write(name(key.section), name(key.name), value);
}

void Settings::writeInteger(const SettingKey& key, int value) {
    write(key, QString::number(value));
}

void Settings::writeCheck(const SettingKey& key, bool ticked) {
    write(key, ticked ? QStringLiteral("1") : QStringLiteral("0"));
}

void Settings::writeTrueFalse(const SettingKey& key, bool value) {
    write(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

int16_t factoryInteger(const SettingKey& key) {
    return textToInt16(QString::fromUtf8(key.factory)).value_or(0);
}

bool factoryFlag(const SettingKey& key) {
    return textToBool(QString::fromUtf8(key.factory)).value_or(false);
}

void writeFactoryDefaults(SettingsStore& store) {
    std::vector<SettingWrite> writes;
    for (const SettingKey* key : allKeys())
        writes.push_back({name(key->section), name(key->name), QString::fromUtf8(key->factory)});
    store.writeAll(writes);
}

void factoryReset(SettingsStore& store, SystemLayer& system) {
    writeFactoryDefaults(store);
    system.MessageBox(QStringLiteral("The factory settings have been restored"),
                      QStringLiteral("Reset to factory settings"), MessageIcon::Information,
                      MessageButtons::Ok);
}

}  // namespace bw
