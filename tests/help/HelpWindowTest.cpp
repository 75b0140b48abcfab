#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>

#include "HelpTestSupport.h"
#include "help/HelpDocuments.h"
#include "help/HelpLayout.h"
#include "help/HelpTopics.h"
#include "help/HelpWindow.h"
#include "help/RtfReader.h"

namespace bw {
namespace {

// Every topic with a document, and the document's file name.
const std::pair<const char*, const char*> kDocuments[] = {
    {"Install", "Install.rtf"},
    {"Uninstall", "uninstall.rtf"},
    {"Accessing the Control Panel", "Control.rtf"},
    {"Water Tab", "water.rtf"},
    {"Fish Tab", "Fish.rtf"},
    {"Scenery Tab", "Scenery.rtf"},
    {"Settings Tab", "Settings.rtf"},
    {"Artifacts Tab", "artifacts.rtf"},
    {"Plants Tab", "plants.rtf"},
    {"TunePC Tab", "TunePC.rtf"},
    {"Power Manage Tab", "powerm.rtf"},
    {"Moving Objects", "move.rtf"},
    {"Trouble Shooting", "trouble.rtf"},
    {"Compendisc", "Compendisc.rtf"},
    {"Restore Factory Settings", "factory.rtf"},
};

QStringList childTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

class HelpWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<HelpWindow>(folder.path());
    }

    // Clicks the node of this key: selecting it is what a click does.
    void click(const QString& key) {
        QTreeWidgetItem* item = window->node(key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        window->tree()->setCurrentItem(item);
    }
    QString shownText() const { return test::rawText(*window->textBox()->document()); }
    QStringList folderEntries() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir folder;
    std::unique_ptr<HelpWindow> window;
};

TEST_F(HelpWindowTest, CaptionsAreTheProgramsOwn) {
    EXPECT_EQ(window->windowTitle(), "Brinewave3  HELP");
    EXPECT_EQ(window->caption()->text(), "HELP TOPICS");
}

TEST_F(HelpWindowTest, TreeHasTheFiveTopLevelTopicsInOrder) {
    QTreeWidget* tree = window->tree();
    ASSERT_EQ(tree->topLevelItemCount(), 5);
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) texts << tree->topLevelItem(i)->text(0);
    EXPECT_EQ(texts, (QStringList{"Add/Remove", "Program Features", "Trouble Shooting",
                                  "Compendisc", "Restore Factory Settings"}));
    EXPECT_TRUE(tree->rootIsDecorated());
}

TEST_F(HelpWindowTest, TreeNestsTheTopicsUnderTheirParents) {
    EXPECT_EQ(childTexts(window->node("ar")), (QStringList{"Install", "Uninstall"}));
    EXPECT_EQ(childTexts(window->node("pf")), (QStringList{"Moving Objects", "Control Box"}));
    EXPECT_EQ(window->node("child8")->parent(), window->node("pf"));
    EXPECT_EQ(childTexts(window->node("child8")),
              (QStringList{"Accessing the Control Panel", "Water Tab", "Fish Tab", "Scenery Tab",
                           "Settings Tab", "Artifacts Tab", "Plants Tab", "TunePC Tab",
                           "Power Manage Tab"}));
    for (const char* leaf : {"m", "n", "nn", "child1", "child4", "child17"}) {
        EXPECT_EQ(window->node(leaf)->childCount(), 0) << leaf;
    }
    int count = 0;
    for (QTreeWidgetItemIterator it(window->tree()); *it; ++it) ++count;
    EXPECT_EQ(count, 18);
}

TEST_F(HelpWindowTest, NothingIsShownBeforeAClick) {
    window->show();
    QApplication::processEvents();
    EXPECT_TRUE(window->textBox()->document()->isEmpty());
}

TEST_F(HelpWindowTest, EachTopicShowsItsOwnDocument) {
    for (const auto& [topic, file] : kDocuments) {
        ASSERT_TRUE(writeFile(folder.filePath(file),
                              QByteArray("{\\rtf1 Page of \\b ") + topic + "\\b0 .}"));
    }
    for (const HelpTopic& node : helpTopics()) {
        const QString document = topicDocument(node.text);
        click(node.key);
        if (document.isEmpty()) {
            EXPECT_EQ(shownText(), "Select a Sub-Menu") << node.text.toStdString();
        } else {
            EXPECT_EQ(shownText(), "Page of " + node.text + ".") << node.text.toStdString();
            EXPECT_EQ(
                test::cursorAt(*window->textBox()->document(), node.text).charFormat().fontWeight(),
                QFont::Bold);
        }
    }
}

TEST_F(HelpWindowTest, DocumentTableNamesFifteenFiles) {
    int withDocument = 0;
    for (const HelpTopic& node : helpTopics()) {
        if (!topicDocument(node.text).isEmpty()) ++withDocument;
    }
    EXPECT_EQ(withDocument, 15);
    for (const auto& [topic, file] : kDocuments) EXPECT_EQ(topicDocument(topic), file) << topic;
    for (const char* group : {"Add/Remove", "Program Features", "Control Box"}) {
        EXPECT_TRUE(topicDocument(group).isEmpty()) << group;
    }
    // The node's text is compared exactly.
    EXPECT_TRUE(topicDocument("water tab").isEmpty());
    EXPECT_TRUE(topicDocument("Water Tab ").isEmpty());
}

TEST_F(HelpWindowTest, ControlBoxAsksForASubMenuAndWaterTabShowsItsDocument) {
    ASSERT_TRUE(writeFile(folder.filePath("water.rtf"), "{\\rtf1 The water backdrop.}"));
    click("child8");
    EXPECT_EQ(shownText(), "Select a Sub-Menu");
    click("child10");
    EXPECT_EQ(shownText(), "The water backdrop.");
    click("pf");
    EXPECT_EQ(shownText(), "Select a Sub-Menu");
}

TEST_F(HelpWindowTest, MissingDocumentShowsNothingAndCreatesNoFile) {
    ASSERT_TRUE(writeFile(folder.filePath("water.rtf"), "{\\rtf1 The water backdrop.}"));
    click("child10");
    ASSERT_FALSE(shownText().isEmpty());
    click("child11");  // Fish.rtf is missing
    EXPECT_TRUE(window->textBox()->document()->isEmpty());
    EXPECT_EQ(folderEntries(), QStringList{"water.rtf"});
}

TEST_F(HelpWindowTest, DocumentNamedInAnotherCaseIsFound) {
    ASSERT_TRUE(writeFile(folder.filePath("WATER.RTF"), "{\\rtf1 Upper case name.}"));
    click("child10");
    EXPECT_EQ(shownText(), "Upper case name.");
    EXPECT_EQ(findTopicDocument(folder.path(), "water.rtf"), folder.filePath("WATER.RTF"));
    EXPECT_TRUE(findTopicDocument(folder.path(), "Fish.rtf").isEmpty());
}

TEST_F(HelpWindowTest, FolderInPlaceOfADocumentShowsNothing) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("water.rtf"));
    click("child10");
    EXPECT_TRUE(window->textBox()->document()->isEmpty());
}

TEST_F(HelpWindowTest, FormattingOfOneTopicDoesNotCarryIntoTheNext) {
    ASSERT_TRUE(writeFile(folder.filePath("water.rtf"), "{\\rtf1\\qc\\b\\fs48 Big}"));
    ASSERT_TRUE(writeFile(folder.filePath("Fish.rtf"), "{\\rtf1 Small}"));
    click("child10");
    click("child11");
    const QTextCursor cursor = test::cursorAt(*window->textBox()->document(), "Small");
    EXPECT_NE(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(cursor.blockFormat().alignment(), Qt::AlignLeft);
}

TEST_F(HelpWindowTest, ShowingManyTopicsKeepsOneDocumentAlive) {
    ASSERT_TRUE(writeFile(folder.filePath("water.rtf"), "{\\rtf1 Water}"));
    ASSERT_TRUE(writeFile(folder.filePath("Fish.rtf"), "{\\rtf1 Fish}"));
    QList<QPointer<QTextDocument>> shown;
    for (int i = 0; i < 200; ++i) {
        click(i % 3 == 2 ? "child8" : i % 2 ? "child10" : "child11");
        if (!shown.contains(window->textBox()->document()))
            shown.append(window->textBox()->document());
    }
    EXPECT_GE(shown.size(), 100);
    const auto alive = std::count_if(shown.begin(), shown.end(),
                                     [](const QPointer<QTextDocument>& d) { return !d.isNull(); });
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(window->textBox()->findChildren<QTextDocument*>().size(), 1);
    EXPECT_EQ(shownText(), "Water");  // the last click, on "Water Tab"
}

// The text box spans the width beside the tree and nearly all the height; the tree follows the
// height at a fixed distance; left and top positions and the tree's width never change.
TEST_F(HelpWindowTest, ResizeKeepsTheDistancesToTheWindowEdges) {
    window->show();
    const int treeWidth = window->treeWidth();
    const int inset = HelpLayout::textWidthInset(treeWidth);
    QRect firstTree;
    QRect firstText;
    for (const QSize size :
         {QSize(800, 600), QSize(1300, 600), QSize(1300, 900), QSize(700, 500)}) {
        window->resize(size);
        ASSERT_EQ(window->size(), size);
        const QRect tree = window->tree()->geometry();
        const QRect text = window->textBox()->geometry();
        if (firstTree.isNull()) {
            firstTree = tree;
            firstText = text;
        }
        EXPECT_EQ(text.width(), size.width() - inset);
        EXPECT_EQ(text.height(), size.height() - HelpLayout::kTextHeightInset);
        EXPECT_EQ(tree.height(), size.height() - HelpLayout::kTreeHeightInset);
        EXPECT_EQ(text.topLeft(), firstText.topLeft());
        EXPECT_EQ(tree.topLeft(), firstTree.topLeft());
        EXPECT_EQ(tree.width(), treeWidth);
        // Nothing overlaps and nothing leaves the window.
        EXPECT_LT(tree.right(), text.left());
        EXPECT_LT(window->caption()->geometry().bottom(), tree.top());
        EXPECT_TRUE(window->rect().contains(text));
        EXPECT_TRUE(window->rect().contains(tree));
    }
    // Widening by 500 widens the text box by 500; the tree is 20 shorter than the text box.
    window->resize(800, 600);
    const int width = window->textBox()->width();
    window->resize(1300, 600);
    EXPECT_EQ(window->textBox()->width(), width + 500);
    EXPECT_EQ(window->textBox()->height() - window->tree()->height(),
              HelpLayout::kTreeHeightInset - HelpLayout::kTextHeightInset);
}

TEST_F(HelpWindowTest, WindowCannotShrinkBelowUsableSizes) {
    window->show();
    window->resize(50, 40);
    EXPECT_GE(window->width(), window->minimumWidth());
    EXPECT_GE(window->height(), window->minimumHeight());
    EXPECT_GE(window->textBox()->width(), 200);
    EXPECT_GE(window->tree()->height(), 100);
    // The layout alone never gives a negative size, even for sizes a window manager forces.
    for (const QSize size : {QSize(0, 0), QSize(10, 10), QSize(-5, 3000), QSize(3000, 1)}) {
        const HelpLayout layout = HelpLayout::forSize(size);
        for (const QRect& rect : {layout.caption, layout.tree, layout.text}) {
            EXPECT_GT(rect.width(), 0);
            EXPECT_GT(rect.height(), 0);
        }
    }
}

TEST_F(HelpWindowTest, LongestTitleFitsTheTreeColumn) {
    window->show();
    QTreeWidget* tree = window->tree();
    const QRect row = tree->visualItemRect(window->node("child9"));
    EXPECT_LE(row.left() + tree->fontMetrics().horizontalAdvance("Accessing the Control Panel"),
              tree->viewport()->width());
}

// The user guide that ships with the program: every topic has its document under exactly the
// name the viewer asks for, and each reads as whole, well-formed RTF.
class ShippedTopicTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
  protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
};

TEST_P(ShippedTopicTest, DocumentReadsCompletely) {
    const QString folder = test::testFolder() + QStringLiteral("/../../data/help");
    const QString path = QDir(folder).filePath(GetParam().second);
    ASSERT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QTextDocument document;
    const RtfReadResult result = readRtf(file.readAll(), document);
    EXPECT_TRUE(result.isRtf);
    EXPECT_TRUE(result.complete);
    const QString text = test::rawText(document);
    // Each page opens with its topic's title, and no markup is left in what is shown.
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(GetParam().first)))
        << text.left(60).toStdString();
    EXPECT_GT(text.size(), 300);
    for (const QChar c : {QLatin1Char('\\'), QLatin1Char('{'), QLatin1Char('}')}) {
        EXPECT_FALSE(text.contains(c)) << GetParam().second;
    }
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
    // A rule stands under every title.
    EXPECT_TRUE(document.findBlockByNumber(1).blockFormat().hasProperty(
        QTextFormat::BlockTrailingHorizontalRulerWidth));
}

// The power help page that the Power tab opens tells the same as the guide's Power topic.
TEST(PowerHelpPage, CountsThePowerTimesAsThePowerTopicDoes) {
    test::ensureApplication();
    const QString data = test::testFolder() + QStringLiteral("/../../data/");
    QFile page(data + QStringLiteral("power_help.htm"));
    QFile topic(data + QStringLiteral("help/powerm.rtf"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    ASSERT_TRUE(topic.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll()).simplified();
    QTextDocument document;
    readRtf(topic.readAll(), document);
    const QString guide = test::rawText(document).simplified();
    const QString sentence = QStringLiteral(
        "From these times Brinewave3 works out when your computer's power saving begins, counted "
        "from when you last used the computer, as your desktop's own power management counts "
        "them");
    EXPECT_TRUE(guide.contains(sentence));
    EXPECT_TRUE(html.contains(sentence));
    EXPECT_FALSE(html.contains(QStringLiteral("from the moment your screensaver starts")));
    // Both say that only the full saver steps aside.
    for (const QString& text : {html, guide})
        EXPECT_TRUE(text.contains(QStringLiteral("full saver")));
}

INSTANTIATE_TEST_SUITE_P(
    UserGuide, ShippedTopicTest, ::testing::ValuesIn(kDocuments), [](const auto& info) {
        return QString::fromLatin1(info.param.second).section('.', 0, 0).toStdString();
    });

}  // namespace
}  // namespace bw
