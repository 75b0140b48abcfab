#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

// The files `cmake --install` writes, as the build configured them.
QString installFile(const char* name) {
    const QString data = qEnvironmentVariable("BW_TEST_DATA");
    return data.isEmpty() ? QString() : QDir(data).filePath(QString("../install/") + name);
}

TEST(InstallFiles, OptionFileIsValidXmlNamingTheDisplayMode) {
    QFile file(installFile("brinewave3.xml"));
    if (!file.exists()) GTEST_SKIP() << "no build folder";
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList elements;
    QString name, label, commandArg;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        elements.append(xml.name().toString());
        if (xml.name() == u"screensaver") {
            name = xml.attributes().value("name").toString();
            label = xml.attributes().value("_label").toString();
        }
        if (xml.name() == u"command") commandArg = xml.attributes().value("arg").toString();
    }
    ASSERT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_EQ(elements.value(0), "screensaver");
    EXPECT_EQ(name, "brinewave3");
    EXPECT_EQ(label, "Brinewave3");
    EXPECT_EQ(commandArg, "-root");
    EXPECT_TRUE(elements.contains("_description"));
}

TEST(InstallFiles, DesktopEntriesStartTheInstalledPrograms) {
    const struct {
        const char* file;
        const char* execEnd;
    } entries[] = {{"brinewave3-settings.desktop", "/bin/brinewave3 /c"},
                   {"brinewave3-help.desktop", "/bin/brinewave3-help"},
                   {"brinewave3-screensaver.desktop", "/libexec/xscreensaver/brinewave3"}};
    for (const auto& entry : entries) {
        QFile file(installFile(entry.file));
        if (!file.exists()) GTEST_SKIP() << "no build folder";
        ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        EXPECT_EQ(lines.value(0), "[Desktop Entry]") << entry.file;
        EXPECT_TRUE(lines.contains("Type=Application")) << entry.file;
        const QStringList exec = lines.filter(QRegularExpression("^Exec="));
        ASSERT_EQ(exec.size(), 1) << entry.file;
        EXPECT_TRUE(exec[0].endsWith(entry.execEnd)) << qPrintable(exec[0]);
        EXPECT_TRUE(QDir::isAbsolutePath(exec[0].mid(5).section(' ', 0, 0))) << qPrintable(exec[0]);
    }
}

}  // namespace
