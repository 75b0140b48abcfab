#include "settings/ReadOnlySettingsStore.h"

#include "settings/SettingsCatalogue.h"

namespace bw {

QString ReadOnlySettingsStore::read(const QString& section, const QString& key,
                                    const QString& fallback) const {
    const SettingKey* known = findKey(section.toLatin1().constData(), key.toLatin1().constData());
    if (known == &key::TuneScrSvr || known == &key::RunMonitor || known == &key::PwrMsg)
        return QStringLiteral("True");
    if (source_ && source_->contains(section, key)) return source_->read(section, key, fallback);
    return known ? QString::fromUtf8(known->factory) : fallback;
}

bool ReadOnlySettingsStore::contains(const QString& section, const QString& key) const {
    return (source_ && source_->contains(section, key)) ||
           findKey(section.toLatin1().constData(), key.toLatin1().constData()) != nullptr;
}

}  // namespace bw
