#include <gtest/gtest.h>

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include "HelpTestSupport.h"
#include "help/RtfReader.h"

namespace bw {
namespace {

using test::cursorAt;
using test::rawText;

class RtfReaderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    RtfReadResult read(QByteArrayView rtf) { return readRtf(rtf, document); }
    QTextCharFormat charFormatOf(const QString& needle) {
        const QTextCursor cursor = cursorAt(document, needle);
        EXPECT_FALSE(cursor.isNull()) << "not found: " << needle.toStdString();
        return cursor.charFormat();
    }
    QTextBlockFormat blockFormatOf(const QString& needle) {
        const QTextCursor cursor = cursorAt(document, needle);
        EXPECT_FALSE(cursor.isNull()) << "not found: " << needle.toStdString();
        return cursor.blockFormat();
    }

    QTextDocument document;
};

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text;
};

const TextCase kTextCases[] = {
    {"paragraphs", "{\\rtf1 Hello\\par World}", "Hello\nWorld"},
    {"last paragraph mark leaves no empty line", "{\\rtf1 One\\par Two\\par}", "One\nTwo"},
    {"empty paragraphs stay", "{\\rtf1 One\\par\\par Two}", "One\n\nTwo"},
    {"backslash before a line break ends a paragraph", "{\\rtf1 a\\\nb}", "a\nb"},
    {"raw line breaks are not text", "{\\rtf1 a\r\nb\nc}", "abc"},
    {"hex escapes in Windows-1252", "{\\rtf1\\ansi Caf\\'e9 \\'80 \\'93q\\'94}",
     u"Caf\u00e9 \u20ac \u201cq\u201d"_qs},
    {"hex escapes in upper case", "{\\rtf1\\ansi \\'C4\\'D6}", u"\u00c4\u00d6"_qs},
    {"unicode with one fallback character", "{\\rtf1\\uc1 A\\u8364?B}", u"A\u20acB"_qs},
    {"unicode with two fallback bytes", "{\\rtf1\\uc2\\u945\\'3f\\'3fx}", u"\u03b1x"_qs},
    {"unicode without fallback", "{\\rtf1\\uc0\\u946 x}", u"\u03b2x"_qs},
    {"negative unicode and surrogate pairs", "{\\rtf1 \\u-10179?\\u-8704?!}", u"\U0001F600!"_qs},
    {"fallback count belongs to its group", "{\\rtf1{\\uc2\\u945 ab}\\u946?c}",
     u"\u03b1\u03b2c"_qs},
    {"a group end stops the fallback skip", "{\\rtf1\\uc3{\\u945}xyz}", u"\u03b1xyz"_qs},
    {"literal backslash and braces", "{\\rtf1 a\\\\b\\{c\\}}", "a\\b{c}"},
    {"tab and line break", "{\\rtf1 a\\tab b\\line c}", u"a\tb\u2028c"_qs},
    {"a literal tab character is a tab", "{\\rtf1 a\tb}", "a\tb"},
    {"special spaces and hyphens", "{\\rtf1 a\\~b\\-c\\_d}", u"a\u00a0b\u00adc\u2011d"_qs},
    {"named characters", "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
     u"\u2014\u2013\u2018\u2019\u201c\u201d\u2022"_qs},
    {"unknown words keep the text around them", "{\\rtf1 x\\foo123 y\\bar z\\baz-4 w}", "xyzw"},
    {"unknown ignorable destination is skipped whole",
     "{\\rtf1 before {\\*\\unknowndest junk {nested \\b junk} more} after}", "before  after"},
    {"tables of the header are not text",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
     "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}Body}",
     "Body"},
    {"pictures are skipped", "{\\rtf1 a{\\pict\\pngblip\\picw4 89504e470d0a}b}", "ab"},
    {"binary data is skipped by its length", "{\\rtf1 a\\bin4 {}\\}b}", "ab"},
    {"hidden text is not shown", "{\\rtf1 a{\\v hidden}b\\v gone\\v0 c}", "abc"},
    {"headers, footers and footnotes are skipped",
     "{\\rtf1{\\header H}{\\footer F}a{\\footnote N}b}", "ab"},
    {"a field shows its result",
     "{\\rtf1 See {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} now}", "See link now"},
    {"an object shows its result",
     "{\\rtf1 a{\\object\\objemb{\\*\\objdata 0102}{\\result shown}}b}", "ashownb"},
    {"legacy bullet text from a symbol font",
     "{\\rtf1{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}}{\\pntext\\f1\\'B7\\tab}"
     "{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}Item}",
     u"\u2022\tItem"_qs},
    {"symbol font characters written in the private area",
     "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}\\f1\\u-3913?}", u"\u2022"_qs},
    {"wingdings bullets", "{\\rtf1{\\fonttbl{\\f2\\fcharset2 Wingdings;}}\\f2\\'a7\\'fc}",
     u"\u25aa\u2713"_qs},
    {"document code page 1251", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}",
     u"\u041f\u0440\u0438\u0432\u0435\u0442"_qs},
    {"a font's character set chooses the code page",
     "{\\rtf1{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f0\\'e9\\f1\\'e9}",
     u"\u00e9\u0439"_qs},
    {"double-byte code page", "{\\rtf1\\ansi\\ansicpg932 \\'90\\'85}", u"\u6c34"_qs},
    {"cells and rows", "{\\rtf1\\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row c}", "a\tb\t\nc"},
    {"paragraphs inside a table cell stay in its row",
     "{\\rtf1\\trowd\\cellx100\\cellx200\\pard\\intbl a\\par b\\cell c\\par\\cell\\row\\pard "
     "after}",
     u"a\u2028b\tc\t\nafter"_qs},
    {"a section end does not add an empty paragraph", "{\\rtf1 a\\par\\sect b}", "a\nb"},
    {"text bytes above 127 are in the code page", "{\\rtf1\\ansi na\xefve}", u"na\u00efve"_qs},
};

class RtfTextTest : public RtfReaderTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(RtfTextTest, ReadsTheText) {
    const RtfReadResult result = read(GetParam().rtf);
    EXPECT_TRUE(result.isRtf);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(rawText(document), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(HandWritten, RtfTextTest, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) {
                             QString name = QString::fromUtf8(info.param.name);
                             for (QChar& c : name) {
                                 if (!c.isLetterOrNumber()) c = QLatin1Char('_');
                             }
                             return name.toStdString();
                         });

TEST_F(RtfReaderTest, CharacterFormatsFollowTheirGroupsAndSwitches) {
    read(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
        "plain {\\b bold} {\\i italic} {\\ul under} {\\strike struck} "
        "\\b on\\b0  off \\ul u1\\ulnone  u0 \\uldb double\\ul0  x "
        "H{\\sub 2}O x{\\super 2} {\\fs40 big} {\\f1 serif} {\\cf1 red} {\\cf2\\cb1 navy} "
        "{\\b\\i\\plain reset} {\\cf9 nocolour}}");

    const QTextCharFormat plain = charFormatOf("plain");
    EXPECT_NE(plain.fontWeight(), QFont::Bold);
    EXPECT_FALSE(plain.fontItalic());
    EXPECT_FALSE(plain.fontUnderline());
    EXPECT_DOUBLE_EQ(plain.fontPointSize(), 12.0);
    EXPECT_EQ(plain.fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_FALSE(plain.hasProperty(QTextFormat::ForegroundBrush));

    EXPECT_EQ(charFormatOf("bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(charFormatOf("italic").fontItalic());
    EXPECT_TRUE(charFormatOf("under").fontUnderline());
    EXPECT_TRUE(charFormatOf("struck").fontStrikeOut());
    EXPECT_EQ(charFormatOf("on").fontWeight(), QFont::Bold);
    EXPECT_NE(charFormatOf("off").fontWeight(), QFont::Bold);
    EXPECT_TRUE(charFormatOf("u1").fontUnderline());
    EXPECT_FALSE(charFormatOf("u0").fontUnderline());
    EXPECT_TRUE(charFormatOf("double").fontUnderline());
    EXPECT_FALSE(charFormatOf(" x ").fontUnderline());
    EXPECT_EQ(charFormatOf("2O").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(charFormatOf("O x").verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_EQ(cursorAt(document, "2 big").charFormat().verticalAlignment(),
              QTextCharFormat::AlignSuperScript);
    EXPECT_DOUBLE_EQ(charFormatOf("big").fontPointSize(), 20.0);
    EXPECT_EQ(charFormatOf("serif").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_EQ(charFormatOf("serif").fontStyleHint(), QFont::Serif);
    EXPECT_EQ(charFormatOf("red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(charFormatOf("navy").foreground().color(), QColor(0, 0, 128));
    EXPECT_EQ(charFormatOf("navy").background().color(), QColor(255, 0, 0));
    const QTextCharFormat reset = charFormatOf("reset");
    EXPECT_NE(reset.fontWeight(), QFont::Bold);
    EXPECT_FALSE(reset.fontItalic());
    // An index past the colour table is the automatic colour, not a crash or black.
    EXPECT_FALSE(charFormatOf("nocolour").hasProperty(QTextFormat::ForegroundBrush));
}

TEST_F(RtfReaderTest, ParagraphFormatsApplyToTheirParagraphs) {
    read(
        "{\\rtf1 \\qc centred\\par \\pard\\qr right\\par \\pard\\qj justified\\par "
        "\\pard\\li720\\ri360\\fi-360\\sb120\\sa240 indented\\par "
        "kept\\par \\pard after pard\\par "
        "{\\pard\\qc grouped\\par}outside}");

    EXPECT_EQ(blockFormatOf("centred").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockFormatOf("right").alignment(), Qt::AlignRight);
    EXPECT_EQ(blockFormatOf("justified").alignment(), Qt::AlignJustify);
    const QTextBlockFormat indented = blockFormatOf("indented");
    EXPECT_EQ(indented.alignment(), Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(indented.leftMargin(), 48.0);  // 720 twips at 96 dots an inch
    EXPECT_DOUBLE_EQ(indented.rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(indented.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(indented.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(indented.bottomMargin(), 16.0);
    // Paragraph properties last until \pard.
    EXPECT_DOUBLE_EQ(blockFormatOf("kept").leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(blockFormatOf("after pard").leftMargin(), 0.0);
    EXPECT_EQ(blockFormatOf("grouped").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockFormatOf("outside").alignment(), Qt::AlignLeft);
}

TEST_F(RtfReaderTest, HangingIndentActsAsATabStop) {
    read(
        "{\\rtf1 \\pard\\li720\\fi-360 \\bullet\\tab item\\par \\pard\\tx1440\\tqr\\tx2880 a\\tab "
        "b}");
    // The tab after the bullet reaches the indent: 360 twips from where the first line starts.
    const QList<QTextOption::Tab> bulletTabs = blockFormatOf("item").tabPositions();
    ASSERT_EQ(bulletTabs.size(), 1);
    EXPECT_DOUBLE_EQ(bulletTabs[0].position, 24.0);
    const QList<QTextOption::Tab> tabs = blockFormatOf("a\tb").tabPositions();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_DOUBLE_EQ(tabs[0].position, 96.0);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
    EXPECT_DOUBLE_EQ(tabs[1].position, 192.0);
    EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
}

TEST_F(RtfReaderTest, ABottomBorderIsARuleInItsColour) {
    read(
        "{\\rtf1{\\colortbl;\\red0\\green110\\blue140;}"
        "\\pard Title\\par \\pard\\sa200\\brdrb\\brdrs\\brdrw10\\brdrcf1\\fs8\\par "
        "\\pard\\brdrb\\brdrs plain rule\\par \\pard\\brdrt\\brdrs\\brdrcf1 top only\\par "
        "\\pard\\brdrb\\brdrnone none\\par \\pard Body}");
    ASSERT_EQ(document.blockCount(), 6);
    const auto rule = [&](int block) {
        return document.findBlockByNumber(block).blockFormat().hasProperty(
            QTextFormat::BlockTrailingHorizontalRulerWidth);
    };
    EXPECT_FALSE(rule(0));
    ASSERT_TRUE(rule(1));
    EXPECT_EQ(document.findBlockByNumber(1).blockFormat().background().color(),
              QColor(0, 110, 140));
    EXPECT_TRUE(rule(2));
    EXPECT_FALSE(
        document.findBlockByNumber(2).blockFormat().hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_FALSE(rule(3)) << "only the rule under a paragraph is drawn";
    EXPECT_FALSE(rule(4));
    EXPECT_FALSE(rule(5));

    // Drawn: one line of the rule's colour across the page, and no filled block.
    document.setTextWidth(400);
    QImage page(400, int(document.size().height()) + 1, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    document.drawContents(&painter);
    painter.end();
    int ruleRows = 0;
    for (int y = 0; y < page.height(); ++y) {
        int teal = 0;
        for (int x = 0; x < page.width(); ++x) teal += page.pixel(x, y) == qRgb(0, 110, 140);
        if (teal > 300) ++ruleRows;
    }
    EXPECT_EQ(ruleRows, 1);
}

TEST_F(RtfReaderTest, NumberedListsCountOnPastIndentedParagraphs) {
    // Each \pntext holds the number its writer worked out; the \pn says how the list counts.
    read(
        "{\\rtf1\\ansi "
        "\\pard\\fi-300\\li600{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta "
        ".}}One\\par "
        "\\pard\\fi-300\\li600{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart2{\\pntxta "
        ".}}Two\\par "
        "\\pard\\li600 code line\\par "
        "\\pard\\li900 deeper line\\par "
        "\\pard\\fi-300\\li600{\\pntext\\b "
        "1.\\b0\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}Three\\par "
        "\\pard Heading\\par "
        "\\pard\\fi-300\\li600{\\pntext 7.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta "
        ".}}Again\\par "
        "\\pard\\fi-300\\li600{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}Bullet\\par "
        "\\pard\\fi-300\\li600{\\pntext (a)\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart1{\\pntxtb "
        "(}{\\pntxta )}}Letter\\par "
        "\\pard\\fi-300\\li600{\\pntext (a)\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart1{\\pntxtb "
        "(}{\\pntxta )}}Letter two\\par "
        "\\pard Roman numbers\\par "
        "\\pard\\fi-300\\li600{\\pntext X.\\tab}{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart9{\\pntxta "
        ".}}Nine\\par "
        "\\pard\\fi-300\\li600{\\pntext X.\\tab}{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart9{\\pntxta "
        ".}}Ten\\par}");
    EXPECT_EQ(rawText(document),
              "1.\tOne\n2.\tTwo\ncode line\ndeeper line\n3.\tThree\nHeading\n1.\tAgain\n"
              "\u00b7\tBullet\n(a)\tLetter\n(b)\tLetter two\nRoman numbers\nIX.\tNine\nX.\tTen");
    // Numbers no letter or numeral can write stay numbers; a huge start cannot overflow.
    read(
        "{\\rtf1 \\pard\\li600{\\pntext a.\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart0}Zero\\par "
        "\\pard\\li600{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart2147483647}Big\\par "
        "\\pard\\li600{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1}Next}");
    EXPECT_EQ(rawText(document), "0.\tZero\n1000000.\tBig\n1000001.\tNext");
    read(
        "{\\rtf1\\ansi "
        "\\pard\\fi-300\\li600{\\pntext\\b 1.\\b0\\tab}{\\*\\pn\\pnlvlbody\\pndec}One\\par "
        "\\pard\\li600 code\\par "
        "\\pard\\fi-300\\li600{\\pntext\\b 1.\\b0\\tab}{\\*\\pn\\pnlvlbody\\pndec}Three}");
    // The number keeps the look its writer gave it.
    EXPECT_EQ(charFormatOf("2.").fontWeight(), QFont::Bold);
    EXPECT_NE(charFormatOf("Three").fontWeight(), QFont::Bold);
}

TEST_F(RtfReaderTest, ReadingReplacesThePreviousDocument) {
    read("{\\rtf1 first}");
    read("{\\rtf1 second}");
    EXPECT_EQ(rawText(document), "second");
}

// Input that is not RTF, cut short or malformed: what can be read is shown, and reading ends.
struct DamagedCase {
    const char* name;
    QByteArray data;
    QString text;
    bool isRtf;
    bool complete;
};

const DamagedCase kDamagedCases[] = {
    {"empty file", "", "", false, true},
    {"plain text", "Just some notes\non two lines", "Just some notes\non two lines", false, true},
    {"plain text in Windows-1252", "caf\xe9", u"caf\u00e9"_qs, false, true},
    {"binary",
     QByteArray("\x00\x01\xff\xfe\x00"
                "abc",
                8),
     u"\u0001\u00ff\u00fe"
     "abc"_qs,
     false, true},
    {"header only", "{\\rtf", "", true, false},
    {"cut in the text", "{\\rtf1 Hello \\b wor", "Hello wor", true, false},
    {"cut in a control word", "{\\rtf1 Hi\\pa", "Hi", true, false},
    {"cut in a hex escape", "{\\rtf1 Hi\\'e", "Hi", true, false},
    {"cut after a backslash", "{\\rtf1 Hi\\", "Hi", true, false},
    {"cut in the font table", "{\\rtf1{\\fonttbl{\\f0 Ari", "", true, false},
    {"cut while skipping a picture", "{\\rtf1 a{\\pict 0102", "a", true, false},
    {"closing braces to spare", "{\\rtf1 a}}}", "a", true, false},
    {"text after the document", "{\\rtf1 a} trailing", "a", true, false},
    {"blank after the document", "{\\rtf1 a}\r\n\0", "a", true, true},
    {"byte order mark and blanks before", "\xEF\xBB\xBF  \r\n{\\rtf1 a}", "a", true, true},
    {"binary length past the end", "{\\rtf1 a\\bin999999999 b}", "a", true, false},
    {"negative binary length", "{\\rtf1 a\\bin-5 b}", "ab", true, true},
    {"bad hex digits stay text", "{\\rtf1 \\'zz}", "zz", true, true},
    {"huge parameters", "{\\rtf1 \\fs99999999999999999999 a\\u99999999999999 b\\li-99999999999 c}",
     u"a\uffffc"_qs, true, true},
    {"overlong control word", "{\\rtf1 a\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop b}", "ab",
     true, true},
    {"unicode skip across the end", "{\\rtf1\\uc5\\u945", u"\u03b1"_qs, true, false},
};

class RtfDamagedTest : public RtfReaderTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(RtfDamagedTest, ShowsWhatCanBeRead) {
    const DamagedCase& c = GetParam();
    const RtfReadResult result = read(c.data);
    EXPECT_EQ(result.isRtf, c.isRtf);
    EXPECT_EQ(result.complete, c.complete);
    EXPECT_EQ(rawText(document), c.text);
}

INSTANTIATE_TEST_SUITE_P(Damaged, RtfDamagedTest, ::testing::ValuesIn(kDamagedCases),
                         [](const auto& info) {
                             QString name = QString::fromUtf8(info.param.name);
                             for (QChar& c : name) {
                                 if (!c.isLetterOrNumber()) c = QLatin1Char('_');
                             }
                             return name.toStdString();
                         });

TEST_F(RtfReaderTest, DeepNestingEndsQuickly) {
    const int depth = 200000;
    const QByteArray closed =
        "{\\rtf1 " + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + " end}";
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(read(closed).complete);
    EXPECT_EQ(rawText(document), "deep end");
    EXPECT_FALSE(read("{\\rtf1 " + QByteArray(depth, '{') + "open").complete);
    EXPECT_EQ(rawText(document), "open");
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(RtfReaderTest, SurvivesDamagedDocumentsFromOtherPrograms) {
    // Cut and scramble a real document in many ways: every reading must end, and what comes
    // before the damage must still be there.
    const QByteArray original = test::readTestFile("data/libreoffice-sample.rtf");
    ASSERT_FALSE(original.isEmpty());
    QRandomGenerator random(20240611);
    for (int round = 0; round < 60; ++round) {
        QByteArray damaged = original.left(random.bounded(original.size()));
        for (int flips = random.bounded(8); flips > 0 && !damaged.isEmpty(); --flips) {
            damaged[random.bounded(damaged.size())] = static_cast<char>(random.bounded(256));
        }
        readRtf(damaged, document);
    }
    const qsizetype cut = original.indexOf("Last paragraph.") + 4;
    const RtfReadResult result = read(original.left(cut));
    EXPECT_FALSE(result.complete);
    EXPECT_TRUE(rawText(document).contains("See the project page for more."));
    EXPECT_TRUE(rawText(document).endsWith("Last"));
}

// Documents written by other programs, converted from data/sample.md and data/styled.html.
struct ConvertedCase {
    const char* file;
};

class ConvertedDocumentTest : public RtfReaderTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(ConvertedDocumentTest, KeepsTextStylesAndEscapes) {
    const QByteArray rtf = test::readTestFile(QStringLiteral("data/") + GetParam());
    ASSERT_FALSE(rtf.isEmpty());
    const RtfReadResult result = read(rtf);
    EXPECT_TRUE(result.isRtf);
    EXPECT_TRUE(result.complete);
    const QString text = rawText(document);
    for (const QString& expected :
         {u"Aquarium Guide"_qs,
          u"The bold fish swims past the italic reef and the underlined wreck."_qs,
          u"Accents: Caf\u00e9 cr\u00e8me, na\u00efve fa\u00e7ade, \u20ac 5, \u201cquoted\u201d "
          u"\u2014 dash."_qs,
          u"Greek: \u03a9\u03bc\u03ad\u03b3\u03b1. Japanese: \u6c34\u65cf\u9928."_qs,
          u"\u2022\tFirst bullet point"_qs, u"\u2022\tSecond bullet point"_qs, u"1.\tStep one"_qs,
          u"2.\tStep two"_qs, u"A picture: "_qs, u" after the picture."_qs,
          u"See the project page for more."_qs, u"Key\tAction"_qs, u"X\tCustom mode"_qs,
          u"Last paragraph."_qs}) {
        EXPECT_TRUE(text.contains(expected)) << "missing: " << expected.toStdString();
    }
    // Nothing of the header, the pictures or the field instructions leaks into the text.
    for (const char* leaked : {"Helvetica", "Times New Roman", "Heading", "HYPERLINK", "89504e47",
                               "pngblip", "LibreOffice", "\\", "{", "}"}) {
        EXPECT_FALSE(text.contains(QLatin1String(leaked))) << "leaked: " << leaked;
    }
    EXPECT_EQ(charFormatOf("bold fish").fontWeight(), QFont::Bold);
    EXPECT_NE(charFormatOf(" swims").fontWeight(), QFont::Bold);
    EXPECT_TRUE(charFormatOf("italic reef").fontItalic());
    EXPECT_TRUE(charFormatOf("underlined wreck").fontUnderline());
    EXPECT_TRUE(charFormatOf("the project page").fontUnderline());
    EXPECT_GT(charFormatOf("Aquarium Guide").fontPointSize(),
              charFormatOf("Last paragraph").fontPointSize());
    EXPECT_EQ(charFormatOf("Aquarium Guide").fontWeight(), QFont::Bold);
    EXPECT_GT(blockFormatOf("First bullet point").leftMargin(), 0.0);
    EXPECT_LT(blockFormatOf("First bullet point").textIndent(), 0.0);
    EXPECT_DOUBLE_EQ(blockFormatOf("Last paragraph").leftMargin(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    OtherPrograms, ConvertedDocumentTest,
    ::testing::Values("pandoc-sample.rtf", "libreoffice-sample.rtf"), [](const auto& info) {
        return QString::fromLatin1(info.param).section('-', 0, 0).toStdString();
    });

TEST_F(RtfReaderTest, KeepsColoursAlignmentAndFacesFromLibreOffice) {
    const RtfReadResult result = read(test::readTestFile("data/libreoffice-styled.rtf"));
    EXPECT_TRUE(result.complete);
    EXPECT_FALSE(rawText(document).contains(QLatin1String("Default Page Style")));

    const QTextCharFormat title = charFormatOf("Centred Navy Title");
    EXPECT_EQ(blockFormatOf("Centred Navy Title").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_EQ(title.foreground().color(), QColor(0, 0, 128));
    EXPECT_DOUBLE_EQ(title.fontPointSize(), 24.0);
    EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{"Liberation Serif"});

    EXPECT_EQ(blockFormatOf("Right aligned red text").alignment(), Qt::AlignRight);
    EXPECT_EQ(charFormatOf("Right aligned red text").foreground().color(), QColor(204, 0, 0));
    EXPECT_EQ(charFormatOf("Monospaced line").fontFamilies().toStringList(),
              QStringList{"Liberation Mono"});
    EXPECT_TRUE(charFormatOf("struck").fontStrikeOut());
    EXPECT_EQ(cursorAt(document, "2 and H").charFormat().verticalAlignment(),
              QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(cursorAt(document, "2O").charFormat().verticalAlignment(),
              QTextCharFormat::AlignSubScript);
    EXPECT_NEAR(blockFormatOf("Indented by two").leftMargin(), 1134 / 15.0, 0.01);
    EXPECT_EQ(charFormatOf("highlight").background().color(), QColor(255, 255, 0));
}

}  // namespace
}  // namespace bw
