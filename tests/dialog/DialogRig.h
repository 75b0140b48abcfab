#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>

#include "dialog/Setup.h"
#include "fakes/FakeSystemLayer.h"
#include "fakes/MemorySettingsStore.h"
#include "fakes/QtApp.h"
#include "settings/InstallFolder.h"
#include "settings/Settings.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace bw {

// A settings dialog on a store in memory, with its data folder and the user's folder in a
// temporary folder, and a fake system that records what the dialog asks of it.
class DialogTest : public ::testing::Test {
  protected:
    DialogTest() : folder(temp.filePath("data"), temp.filePath("user")) {
        ensureQtApp();
        QDir().mkpath(temp.filePath("data/Water"));
        QDir().mkpath(temp.filePath("user"));
    }

    // A picture in the installed water folder.
    void addWater(const QString& name, QSize size = {800, 600}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(temp.filePath("data/Water/" + name), "BMP"));
    }

    void store(const SettingKey& key, const QString& value) {
        Settings(memory, Reader::Dialog).write(key, value);
    }
    QString stored(const SettingKey& key) const {
        return memory.read(QString::fromLatin1(key.section), QString::fromLatin1(key.name),
                           QStringLiteral("<missing>"));
    }

    setup& open() {
        dialog = std::make_unique<setup>(memory, system, folder, [this] {
            ++previewRuns;
            if (onPreview) onPreview();
        });
        return *dialog;
    }

    // Chooses an entry of a combo's list, as the user does.
    static void choose(QComboBox* combo, const QString& text) {
        const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : system.messages()) texts << m.text;
        return texts;
    }

    QTemporaryDir temp;
    InstallFolder folder;
    MemorySettingsStore memory;
    FakeSystemLayer system;
    std::unique_ptr<setup> dialog;
    int previewRuns = 0;
    std::function<void()> onPreview;
};

}  // namespace bw
