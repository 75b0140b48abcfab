#include "settings/IniSettingsStore.h"
#include "settings/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bw {
namespace {

class IniStore : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("cfg/Brinewave3/Brinewave3.ini"); }
    void writeRaw(const QByteArray& bytes) {
        QDir().mkpath(dir.filePath("cfg/Brinewave3"));
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readRaw() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    mode_t mode() const {
        struct stat info {};
        ::stat(QFile::encodeName(path()).constData(), &info);
        return info.st_mode & 0777;
    }
    QTemporaryDir dir;
};

TEST_F(IniStore, NamesMatchWithoutRegardToCaseAndKeepTheirSpelling) {
    {
        IniSettingsStore store(path());
        store.write("Settings", "Monitor", "10 Minutes");
        store.write("settings", "monitor", "1 hour");
        store.write("Positions2", "LighthouseX", "5");
    }
    IniSettingsStore store(path());
    EXPECT_EQ(store.read("SETTINGS", "MONITOR", "x"), "1 hour");
    EXPECT_EQ(store.read("positions2", "LightHouseX", "x"), "5");
    EXPECT_EQ(store.read("Settings", "Missing", "fallback"), "fallback");
    const QByteArray text = readRaw();
    EXPECT_EQ(text.count("onitor="), 1) << text.constData();
    EXPECT_TRUE(text.contains("[Settings]")) << text.constData();
    EXPECT_TRUE(text.contains("Monitor=1 hour")) << text.constData();
}

TEST_F(IniStore, TextsComeBackAsWritten) {
    IniSettingsStore store(path());
    const QString texts[] = {"Hello, world", "  padded  ", "", "@Variant(0)", "50% \"quoted\"",
                             "Grüße ☃", "a;b=c", "-769"};
    int i = 0;
    for (const QString& text : texts) store.write("Settings", QString("Key%1").arg(i++), text);
    IniSettingsStore reread(path());
    i = 0;
    for (const QString& text : texts)
        EXPECT_EQ(reread.read("Settings", QString("Key%1").arg(i++), "<missing>"), text);
}

TEST_F(IniStore, FileIsPrivateToItsOwner) {
    const mode_t previous = ::umask(022);
    {
        IniSettingsStore store(path());
        EXPECT_FALSE(store.exists());
        store.write("Settings", "Password", "secret");
        EXPECT_EQ(mode(), 0600u);
        store.write("Settings", "Sound", "0");
        EXPECT_EQ(mode(), 0600u);
    }
    ::chmod(QFile::encodeName(path()).constData(), 0644);
    IniSettingsStore reopened(path());
    EXPECT_EQ(mode(), 0600u);
    ::umask(previous);
}

TEST_F(IniStore, DamagedFilesGiveWhatCanBeRead) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* expectedSound;
    } cases[] = {
        {"CRLF and odd case", "\r\n[settings]\r\n\r\nSOUND=0\r\nMessage=hi\r\n", "0"},
        {"truncated", "[Settings]\nSound=0\nMess", "0"},
        {"binary junk", QByteArray("\x00\xff\xfe[\x01\x02=\x03\n", 9), "1"},
        {"hand edited", "[Settings]\n  Sound = 0 \n;comment\n\n[Fish]\nShowFish1=0\n", "0"},
    };
    for (const auto& c : cases) {
        writeRaw(c.bytes);
        const QByteArray before = readRaw();
        IniSettingsStore store(path());
        Settings settings(store, Reader::Saver);
        EXPECT_EQ(settings.text(key::Sound), c.expectedSound) << c.name;
        EXPECT_EQ(settings.integer(key::TunePC), 1) << c.name;  // missing: the saver's default
        EXPECT_EQ(readRaw(), before) << c.name << ": reading must not rewrite the file";
    }
}

// Two processes write different keys at the same moment; neither write may be lost.
TEST_F(IniStore, ConcurrentWritersLoseNothing) {
    IniSettingsStore(path()).write("Settings", "Seed", "1");
    constexpr int kWrites = 40;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            IniSettingsStore store(path());
            for (int i = 0; i < kWrites; ++i)
                store.write(child == 0 ? "Positions" : "Fish", QString("Key%1").arg(i),
                            QString::number(i * 10 + child));
            ::_exit(0);
        }
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    IniSettingsStore store(path());
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(store.read("Positions", QString("Key%1").arg(i), ""), QString::number(i * 10));
        EXPECT_EQ(store.read("Fish", QString("Key%1").arg(i), ""), QString::number(i * 10 + 1));
    }
    EXPECT_EQ(store.read("Settings", "Seed", ""), "1");
}

}  // namespace
}  // namespace bw
