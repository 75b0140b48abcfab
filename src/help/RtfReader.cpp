#include "help/RtfReader.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace bw {
namespace {

// Code pages that are not Windows numbers: the two symbol fonts whose bytes we map to Unicode.
constexpr int kCodePageSymbol = -1;
constexpr int kCodePageWingdings = -2;
constexpr int kCodePageAnsi = 1252;

// Deeper nesting than this is counted but not kept: no real document comes near it, and it keeps
// hostile input from growing the state stack without bound.
constexpr int kMaxDepth = 512;

constexpr double kTwipsPerPixel = 15.0;  // 1440 twips an inch, 96 pixels an inch

// The value paired with `key` in a small table, or `otherwise`.
template <typename Key, typename Value, std::size_t N>
Value lookup(const std::pair<Key, Value> (&table)[N], Key key, Value otherwise) {
    for (const auto& [k, v] : table) {
        if (k == key) return v;
    }
    return otherwise;
}

// The bytes 0x80 to 0x9F of Windows-1252; the rest of the code page is Latin-1. 0 marks the
// five unassigned bytes, which we show as the replacement character.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QChar cp1252Char(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = kCp1252High[byte - 0x80];
        return mapped ? QChar(mapped) : QChar(QChar::ReplacementCharacter);
    }
    return QChar(byte);
}

// The Symbol font: Greek letters on the Latin ones, and the signs documents use most.
QChar symbolChar(unsigned char byte) {
    static const char16_t upper[26] = {
        0x391, 0x392, 0x3A7, 0x394, 0x395, 0x3A6, 0x393, 0x397, 0x399, 0x3D1, 0x39A, 0x39B, 0x39C,
        0x39D, 0x39F, 0x3A0, 0x398, 0x3A1, 0x3A3, 0x3A4, 0x3A5, 0x3C2, 0x3A9, 0x39E, 0x3A8, 0x396};
    static const char16_t lower[26] = {
        0x3B1, 0x3B2, 0x3C7, 0x3B4, 0x3B5, 0x3C6, 0x3B3, 0x3B7, 0x3B9, 0x3D5, 0x3BA, 0x3BB, 0x3BC,
        0x3BD, 0x3BF, 0x3C0, 0x3B8, 0x3C1, 0x3C3, 0x3C4, 0x3C5, 0x3D6, 0x3C9, 0x3BE, 0x3C8, 0x3B6};
    if (byte >= 'A' && byte <= 'Z') return QChar(upper[byte - 'A']);
    if (byte >= 'a' && byte <= 'z') return QChar(lower[byte - 'a']);
    static const std::pair<unsigned char, char16_t> kSigns[] = {
        {0xA3, 0x2264}, {0xA5, 0x221E}, {0xA7, 0x2663}, {0xA8, 0x2666}, {0xA9, 0x2665},
        {0xAA, 0x2660}, {0xAB, 0x2194}, {0xAC, 0x2190}, {0xAD, 0x2191}, {0xAE, 0x2192},
        {0xAF, 0x2193}, {0xB0, 0x00B0}, {0xB1, 0x00B1}, {0xB3, 0x2265}, {0xB4, 0x00D7},
        {0xB7, 0x2022}, {0xB8, 0x00F7}, {0xB9, 0x2260}, {0xBA, 0x2261}, {0xBB, 0x2248},
        {0xBC, 0x2026}, {0xD2, 0x00AE}, {0xD3, 0x00A9}, {0xD4, 0x2122}, {0xE0, 0x25CA},
        {0xE2, 0x00AE}, {0xE3, 0x00A9}, {0xE4, 0x2122}};
    return QChar(lookup(kSigns, byte, char16_t(byte)));
}

// Wingdings holds pictures, not letters; in documents it is nearly always a list bullet, so what
// we do not know becomes a plain bullet.
QChar wingdingsChar(unsigned char byte) {
    static const std::pair<unsigned char, char16_t> kPictures[] = {
        {0x6C, 0x25CF}, {0x6E, 0x25A0}, {0x6F, 0x25A1}, {0x71, 0x2751},
        {0x75, 0x25C6}, {0x76, 0x2756}, {0xA7, 0x25AA}, {0xA8, 0x25FB},
        {0xD8, 0x27A2}, {0xFB, 0x2717}, {0xFC, 0x2713}};
    return QChar(lookup(kPictures, byte, char16_t(0x2022)));
}

// Windows code page of a font's \fcharset.
int codePageOfCharset(int charset) {
    static const std::pair<int, int> kCodePages[] = {
        {77, 10000}, {128, 932},  {129, 949},  {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
        {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}};
    return lookup(kCodePages, charset, 0);  // 0: the document's code page
}

QString decodeBytes(const QByteArray& bytes, int codePage) {
    QString text;
    if (codePage == kCodePageSymbol || codePage == kCodePageWingdings) {
        text.reserve(bytes.size());
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            text += codePage == kCodePageSymbol ? symbolChar(byte) : wingdingsChar(byte);
        }
        return text;
    }
    if (codePage == 65001) return QString::fromUtf8(bytes);
    if (codePage != kCodePageAnsi && codePage != 0) {
        // Qt converts what its build knows (with ICU, every Windows code page); otherwise we fall
        // back to Windows-1252, which is right for the common case and readable for the rest.
        static const std::pair<int, const char*> kNames[] = {
            {437, "IBM437"},      {850, "IBM850"}, {932, "Shift_JIS"},  {936, "GBK"},
            {949, "windows-949"}, {950, "Big5"},   {10000, "macintosh"}};
        const char* known = lookup(kNames, codePage, static_cast<const char*>(nullptr));
        const QByteArray name =
            known ? QByteArray(known) : "windows-" + QByteArray::number(codePage);
        QStringDecoder decoder(name.constData());
        if (decoder.isValid()) {
            text = decoder(bytes);
            if (!decoder.hasError()) return text;
            text.clear();
        }
    }
    text.reserve(bytes.size());
    for (const char c : bytes) text += cp1252Char(static_cast<unsigned char>(c));
    return text;
}

enum class Destination {
    Text,        // shown
    Skip,        // read for its braces only
    FontTable,   // \fonttbl
    ColorTable,  // \colortbl
    Alternate,   // an \object or \upr: skipped except for its \result or \ud
    Numbering,   // \pn: how the paragraph is numbered; its texts are not shown
};

struct CharState {
    int font = -1;  // -1: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int vertical = 0;    // 1 superscript, -1 subscript
    int capitals = 0;    // 1 all capitals, 2 small capitals
    int foreground = 0;  // colour table index; 0 and unknown indexes mean automatic
    int background = 0;
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstLineTwips = 0;
    int spaceBeforeTwips = 0;
    int spaceAfterTwips = 0;
    int lineSpacing = 0;        // \sl: 0 automatic, > 0 at least, < 0 exactly (twips)
    bool lineMultiple = false;  // \slmult1: \sl counts 240ths of a line
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    bool inTable = false;  // \intbl: the paragraph lies in a table cell
    // \brdrb: a rule under the paragraph, in a colour table index (0: automatic). The border
    // words that follow a side word describe that side.
    bool bottomRule = false;
    int bottomRuleColour = 0;
    bool describingBottom = false;
};

// The legacy paragraph numbering of a \pn group.
struct Numbering {
    enum class Style { None, Bullet, Decimal, UpperLetter, LowerLetter, UpperRoman, LowerRoman };
    Style style = Style::None;
    int start = 1;
    bool continuation = false;  // \pnlvlcont: inside the list, without a number of its own
    bool numbered() const { return style != Style::None && style != Style::Bullet; }
};

// A list number in a numbering style: 4, D, d, IV or iv.
QString formatListNumber(int number, Numbering::Style style) {
    if (number < 1) return QString::number(number);  // no letter or numeral for these
    switch (style) {
        case Numbering::Style::UpperLetter:
        case Numbering::Style::LowerLetter: {
            // A to Z, then AA, BB, ... as word processors count.
            const int letter = (number - 1) % 26;
            const int repeat = (number - 1) / 26 + 1;
            const QChar c(
                char16_t((style == Numbering::Style::UpperLetter ? u'A' : u'a') + letter));
            return QString(std::min(repeat, 100), c);
        }
        case Numbering::Style::UpperRoman:
        case Numbering::Style::LowerRoman: {
            if (number >= 4000) break;
            static const std::pair<int, const char*> kRoman[] = {
                {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                {5, "V"},    {4, "IV"},   {1, "I"}};
            QString roman;
            for (const auto& [value, digits] : kRoman) {
                for (; number >= value; number -= value) roman += QLatin1String(digits);
            }
            return style == Numbering::Style::UpperRoman ? roman : roman.toLower();
        }
        default:
            break;
    }
    return QString::number(number);
}

struct GroupState {
    Destination destination = Destination::Text;
    CharState chars;
    ParaState para;
    int unicodeSkip = 1;     // \uc: bytes that stand in for each \u character
    bool ignorable = false;  // \* was seen: an unknown destination word skips the group
};

struct FontEntry {
    QString name;
    int codePage = 0;
    QFont::StyleHint hint = QFont::AnyStyle;
};

// Destinations whose content is never shown.
bool isSkippedDestination(QByteArrayView word) {
    static const QByteArray kSkipped =
        " annotation atnauthor atnid author bkmkend bkmkstart buptim category "
        "colorschememapping comment company creatim datastore doccomm docvar falt fchars "
        "fldinst footer footerf footerl footerr footnote ftncn ftnsep ftnsepc generator "
        "header headerf headerl headerr hlinkbase info keywords latentstyles lchars "
        "listoverridetable listtable manager mmathPr nonshppict objdata operator panose "
        "pgdsctbl pict pn pntxta pntxtb printim private revtbl revtim rsidtbl rxe shpinst "
        "stylesheet subject tc template themedata title txe userprops xe xmlnstbl xmlopen "
        "xmlclose ";
    return kSkipped.contains(" " + word.toByteArray() + " ");
}

class RtfParser {
  public:
    RtfParser(QByteArrayView data, QTextDocument& document)
        : data_(data), document_(document), cursor_(&document) {}

    // Reads from the opening brace at `start`; true when the document ended cleanly.
    bool run(qsizetype start);

  private:
    GroupState& state() { return stack_.back(); }

    void openGroup();
    void closeGroup();
    void readControl();
    void controlWord(QByteArrayView word, bool hasParameter, int parameter);
    // Each handles the words of its kind and returns false for any other word.
    bool documentWord(QByteArrayView word, int parameter);
    bool fontTableWord(QByteArrayView word, int parameter);
    bool colorTableWord(QByteArrayView word, int parameter);
    bool paragraphWord(QByteArrayView word, int parameter);
    bool numberingWord(QByteArrayView word, int parameter);
    bool characterWord(QByteArrayView word, bool hasParameter, int parameter);
    bool specialCharacter(QByteArrayView word, int parameter);
    void controlSymbol(char symbol);
    bool skippingCharacter();

    void addByte(unsigned char byte);
    void addText(const QString& text);
    void addChar(QChar c) { addText(QString(c)); }
    void flushBytes();
    void flushRun();
    void endParagraph();
    void numberParagraph();
    void finish();
    int currentCodePage() const;

    void commitFont();
    QTextCharFormat charFormat(const CharState& chars) const;
    QTextBlockFormat blockFormat(const ParaState& para) const;

    QByteArrayView data_;
    qsizetype pos_ = 0;
    QTextDocument& document_;
    QTextCursor cursor_;

    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;
    int skipCount_ = 0;  // characters still to skip after a \u
    bool truncated_ = false;
    bool finished_ = false;

    int documentCodePage_ = kCodePageAnsi;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    int pendingFont_ = -1;
    FontEntry pendingFontEntry_;
    QByteArray pendingFontName_;
    std::vector<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;

    QByteArray pendingBytes_;  // text bytes not yet decoded, all of one code page
    int pendingCodePage_ = 0;
    QString run_;  // decoded text not yet inserted, all of one character format
    CharState runChars_;
    bool paragraphHasText_ = false;
    bool anyParagraphEnded_ = false;
    bool cellLineBreak_ = false;  // a paragraph ended inside a table cell

    // Legacy numbered lists. The \pntext of a paragraph is the number a writer worked out for
    // readers that do not count; we count ourselves, so that a list interrupted by an indented
    // paragraph (a command line under a step) goes on where it was.
    Numbering numbering_;         // of the paragraph being read
    size_t numberTextDepth_ = 0;  // the \pntext group's depth while it is read, else 0
    int numberTextStart_ = -1;    // where its text lies in the document, -1: none
    int numberTextEnd_ = -1;
    bool listOpen_ = false;  // the last numbered paragraph's list goes on
    int listNumber_ = 0;
    int listLeftTwips_ = 0;
    Numbering::Style listStyle_ = Numbering::Style::None;
};

bool RtfParser::run(qsizetype start) {
    pos_ = start;
    const qsizetype size = data_.size();
    while (pos_ < size && !finished_) {
        const char c = data_[pos_];
        switch (c) {
            case '{':
                ++pos_;
                openGroup();
                break;
            case '}':
                ++pos_;
                closeGroup();
                break;
            case '\\':
                ++pos_;
                readControl();
                break;
            case '\r':
            case '\n':
                ++pos_;
                break;
            default:
                ++pos_;
                if (stack_.empty() || skippingCharacter()) break;
                if (c == '\t') {
                    flushBytes();
                    if (state().destination == Destination::Text) addChar(QLatin1Char('\t'));
                } else if (static_cast<unsigned char>(c) >= 0x20) {
                    addByte(static_cast<unsigned char>(c));
                }
                break;
        }
    }
    const bool closed = finished_;
    if (!closed) finish();
    // What follows the document's closing brace may only be blank.
    bool onlyBlankAfter = true;
    for (qsizetype i = pos_; i < size; ++i) {
        const char c = data_[i];
        if (c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != '\0') onlyBlankAfter = false;
    }
    return closed && !truncated_ && onlyBlankAfter;
}

void RtfParser::openGroup() {
    flushBytes();
    skipCount_ = 0;
    if (stack_.empty()) {
        stack_.emplace_back();
        return;
    }
    if (static_cast<int>(stack_.size()) >= kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    GroupState inner = state();
    inner.ignorable = false;
    stack_.push_back(std::move(inner));
}

void RtfParser::closeGroup() {
    flushBytes();
    skipCount_ = 0;
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.empty()) return;
    if (stack_.size() == 1) {
        finish();
        return;
    }
    if (stack_.size() == numberTextDepth_) {
        flushRun();
        numberTextDepth_ = 0;
        numberTextEnd_ = cursor_.position();
    }
    const Destination closing = state().destination;
    stack_.pop_back();
    // A font entry in its own group may lack the closing semicolon.
    if (closing == Destination::FontTable) commitFont();
}

bool RtfParser::skippingCharacter() {
    if (skipCount_ <= 0) return false;
    --skipCount_;
    return true;
}

void RtfParser::readControl() {
    const qsizetype size = data_.size();
    if (pos_ >= size) {
        truncated_ = true;
        return;
    }
    const char c = data_[pos_];
    const auto isLetter = [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    };
    const auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };

    if (isLetter(c)) {
        const qsizetype wordStart = pos_;
        while (pos_ < size && isLetter(data_[pos_])) ++pos_;
        // Words are at most 32 letters; a longer one is nothing we know.
        const QByteArrayView word =
            data_.sliced(wordStart, std::min<qsizetype>(pos_ - wordStart, 33));
        bool hasParameter = false;
        bool negative = false;
        long long parameter = 0;
        if (pos_ + 1 < size && data_[pos_] == '-' && isDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < size && isDigit(data_[pos_])) {
            hasParameter = true;
            if (parameter < 100000000000LL) parameter = parameter * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        if (pos_ < size && data_[pos_] == ' ') ++pos_;
        if (pos_ >= size) truncated_ = true;
        parameter = std::clamp(negative ? -parameter : parameter, -2147483647LL, 2147483647LL);
        if (stack_.empty()) return;
        if (word == QByteArrayView("bin")) {
            // Raw bytes follow; they are never text.
            pos_ += std::min<qsizetype>(std::max<long long>(parameter, 0), size - pos_);
            return;
        }
        if (skippingCharacter()) return;
        flushBytes();
        controlWord(word, hasParameter, static_cast<int>(parameter));
        if (!stack_.empty()) state().ignorable = false;
        return;
    }

    if (c == '\'') {
        ++pos_;
        const auto hexValue = [](char ch) {
            if (ch >= '0' && ch <= '9') return ch - '0';
            if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
            if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
            return -1;
        };
        if (pos_ + 1 >= size) {
            truncated_ = true;
            pos_ = size;
            return;
        }
        const int high = hexValue(data_[pos_]);
        const int low = hexValue(data_[pos_ + 1]);
        if (high < 0 || low < 0) return;  // not an escape after all: the characters stay text
        pos_ += 2;
        if (stack_.empty() || skippingCharacter()) return;
        addByte(static_cast<unsigned char>(high * 16 + low));
        return;
    }

    ++pos_;
    if (stack_.empty()) return;
    if (skippingCharacter()) return;
    flushBytes();
    controlSymbol(c);
}

void RtfParser::controlSymbol(char symbol) {
    GroupState& group = state();
    if (symbol == '*') {
        group.ignorable = true;
        return;
    }
    if (group.destination == Destination::FontTable ||
        group.destination == Destination::ColorTable) {
        return;
    }
    if (group.destination != Destination::Text) return;
    switch (symbol) {
        case '\\':
        case '{':
        case '}':
            addByte(static_cast<unsigned char>(symbol));
            break;
        case '~':
            addChar(QChar(QChar::Nbsp));
            break;
        case '-':
            addChar(QChar(QChar::SoftHyphen));
            break;
        case '_':
            addChar(QChar(0x2011));
            break;
        case '\r':
        case '\n':
            endParagraph();
            break;
        default:
            break;  // \| \: and the rest mark things we do not show
    }
}

void RtfParser::controlWord(QByteArrayView word, bool hasParameter, int parameter) {
    GroupState& group = state();
    if (documentWord(word, parameter)) return;
    switch (group.destination) {
        case Destination::Skip:
            return;
        case Destination::Alternate:
            if (word == "result" || word == "ud") group.destination = Destination::Text;
            return;
        case Destination::FontTable:
            if (!fontTableWord(word, parameter) &&
                (group.ignorable || isSkippedDestination(word))) {
                group.destination = Destination::Skip;
            }
            return;
        case Destination::ColorTable:
            if (!colorTableWord(word, parameter) && group.ignorable) {
                group.destination = Destination::Skip;
            }
            return;
        case Destination::Numbering:
            // Its \pntxta and \pntxtb texts are already part of the \pntext we show.
            if (!numberingWord(word, parameter) && (group.ignorable || isSkippedDestination(word)))
                group.destination = Destination::Skip;
            return;
        case Destination::Text:
            break;
    }

    if (word == "fonttbl") {
        group.destination = Destination::FontTable;
    } else if (word == "colortbl") {
        group.destination = Destination::ColorTable;
    } else if (word == "object" || word == "upr") {
        group.destination = Destination::Alternate;
    } else if (word == "pn") {
        group.destination = Destination::Numbering;
    } else if (word == "pntext") {
        flushRun();
        numberTextDepth_ = stack_.size();
        numberTextStart_ = cursor_.position();
        numberTextEnd_ = -1;
    } else if (isSkippedDestination(word)) {
        group.destination = Destination::Skip;
    } else if (!paragraphWord(word, parameter) && !characterWord(word, hasParameter, parameter) &&
               !specialCharacter(word, parameter) && group.ignorable) {
        // An unknown destination after \* is skipped whole; other unknown words are formatting
        // we do not show, and the text around them stays.
        group.destination = Destination::Skip;
    }
}

bool RtfParser::documentWord(QByteArrayView word, int parameter) {
    if (word == "ansi") {
        documentCodePage_ = kCodePageAnsi;
    } else if (word == "ansicpg") {
        documentCodePage_ = parameter > 0 ? parameter : kCodePageAnsi;
    } else if (word == "mac") {
        documentCodePage_ = 10000;
    } else if (word == "pc") {
        documentCodePage_ = 437;
    } else if (word == "pca") {
        documentCodePage_ = 850;
    } else if (word == "deff") {
        defaultFont_ = parameter;
    } else if (word == "deftab") {
        if (parameter > 0) {
            QTextOption option = document_.defaultTextOption();
            option.setTabStopDistance(parameter / kTwipsPerPixel);
            document_.setDefaultTextOption(option);
        }
    } else if (word == "uc") {
        state().unicodeSkip = std::clamp(parameter, 0, 16);
    } else {
        return false;
    }
    return true;
}

bool RtfParser::fontTableWord(QByteArrayView word, int parameter) {
    FontEntry& font = pendingFontEntry_;
    if (word == "f") {
        commitFont();
        pendingFont_ = parameter;
    } else if (word == "fcharset") {
        if (parameter == 2) {
            font.codePage = kCodePageSymbol;
        } else if (font.codePage != kCodePageSymbol) {
            font.codePage = codePageOfCharset(parameter);
        }
    } else if (word == "cpg") {
        if (font.codePage != kCodePageSymbol) font.codePage = parameter;
    } else if (word == "froman") {
        font.hint = QFont::Serif;
    } else if (word == "fswiss") {
        font.hint = QFont::SansSerif;
    } else if (word == "fmodern") {
        font.hint = QFont::TypeWriter;
    } else if (word == "fscript") {
        font.hint = QFont::Cursive;
    } else if (word == "fdecor") {
        font.hint = QFont::Decorative;
    } else {
        return false;
    }
    return true;
}

bool RtfParser::colorTableWord(QByteArrayView word, int parameter) {
    if (word == "red") {
        red_ = std::clamp(parameter, 0, 255);
    } else if (word == "green") {
        green_ = std::clamp(parameter, 0, 255);
    } else if (word == "blue") {
        blue_ = std::clamp(parameter, 0, 255);
    } else {
        return false;
    }
    colorSet_ = true;
    return true;
}

bool RtfParser::paragraphWord(QByteArrayView word, int parameter) {
    ParaState& para = state().para;
    if (word == "par" && para.inTable) {
        // We show a table row as one line, its cells parted by tabs: a paragraph end inside a
        // cell becomes a line break, and none at all when the cell ends right after it.
        cellLineBreak_ = true;
    } else if (word == "par" || word == "row" || word == "page") {
        endParagraph();
    } else if (word == "cell" || word == "nestcell") {
        cellLineBreak_ = false;
        addChar(QLatin1Char('\t'));
    } else if (word == "intbl") {
        para.inTable = true;
    } else if (word == "sect") {
        // A section ends after its last paragraph; only text left open makes one more.
        if (paragraphHasText_ || !run_.isEmpty()) endParagraph();
    } else if (word == "pard") {
        para = ParaState();
        numbering_ = Numbering();
    } else if (word == "brdrb") {
        para.bottomRule = true;
        para.describingBottom = true;
    } else if (word == "brdrt" || word == "brdrl" || word == "brdrr" || word == "brdrbtw" ||
               word == "brdrbar" || word == "box") {
        para.describingBottom = false;
    } else if (word == "brdrnone" || word == "brdrnil") {
        if (para.describingBottom) para.bottomRule = false;
    } else if (word == "brdrcf") {
        if (para.describingBottom) para.bottomRuleColour = parameter;
    } else if (word == "ql") {
        para.alignment = Qt::AlignLeft;
    } else if (word == "qr") {
        para.alignment = Qt::AlignRight;
    } else if (word == "qc") {
        para.alignment = Qt::AlignHCenter;
    } else if (word == "qj") {
        para.alignment = Qt::AlignJustify;
    } else if (word == "li" || word == "lin") {
        para.leftTwips = parameter;
    } else if (word == "ri" || word == "rin") {
        para.rightTwips = parameter;
    } else if (word == "fi") {
        para.firstLineTwips = parameter;
    } else if (word == "sb") {
        para.spaceBeforeTwips = parameter;
    } else if (word == "sa") {
        para.spaceAfterTwips = parameter;
    } else if (word == "sl") {
        para.lineSpacing = parameter;
    } else if (word == "slmult") {
        para.lineMultiple = parameter != 0;
    } else if (word == "tqr") {
        para.nextTabType = QTextOption::RightTab;
    } else if (word == "tqc") {
        para.nextTabType = QTextOption::CenterTab;
    } else if (word == "tqdec") {
        para.nextTabType = QTextOption::DelimiterTab;
    } else if (word == "tx" || word == "tb") {
        QTextOption::Tab tab(std::max(parameter, 0) / kTwipsPerPixel, para.nextTabType);
        if (para.nextTabType == QTextOption::DelimiterTab) tab.delimiter = QLatin1Char('.');
        para.tabs.append(tab);
        para.nextTabType = QTextOption::LeftTab;
    } else {
        return false;
    }
    return true;
}

bool RtfParser::numberingWord(QByteArrayView word, int parameter) {
    using Style = Numbering::Style;
    static const std::pair<QByteArrayView, Style> kStyles[] = {
        {"pndec", Style::Decimal},       {"pnucltr", Style::UpperLetter},
        {"pnlcltr", Style::LowerLetter}, {"pnucrm", Style::UpperRoman},
        {"pnlcrm", Style::LowerRoman},   {"pnord", Style::Decimal},
        {"pncard", Style::Decimal},      {"pnordt", Style::Decimal}};
    for (const auto& [name, style] : kStyles) {
        if (word == name) {
            if (numbering_.style != Style::Bullet) numbering_.style = style;
            return true;
        }
    }
    if (word == "pnlvlblt") {
        numbering_.style = Style::Bullet;
    } else if (word == "pnlvlcont") {
        numbering_.continuation = true;
    } else if (word == "pnstart") {
        numbering_.start = std::clamp(parameter, 0, 1'000'000);  // counting on never overflows
    } else {
        return word.startsWith("pn");  // the rest is the number's look, which \pntext has
    }
    return true;
}

bool RtfParser::characterWord(QByteArrayView word, bool hasParameter, int parameter) {
    CharState& chars = state().chars;
    // A switch without a parameter, or with any parameter but 0, turns its property on.
    const bool on = !hasParameter || parameter != 0;
    if (word == "plain") {
        chars = CharState();
    } else if (word == "b") {
        chars.bold = on;
    } else if (word == "i") {
        chars.italic = on;
    } else if (word == "ulnone") {
        chars.underline = false;
    } else if (word.startsWith("ul") && word != "ulc") {
        chars.underline = on;  // every kind of underline: \ul, \uldb, \ulw, \ulwave, ...
    } else if (word == "strike" || word == "striked") {
        chars.strike = on;
    } else if (word == "v") {
        chars.hidden = on;
    } else if (word == "super") {
        chars.vertical = 1;
    } else if (word == "sub") {
        chars.vertical = -1;
    } else if (word == "up" || word == "dn") {
        // Raised or lowered by a number of half-points: shown as super- or subscript.
        chars.vertical = parameter == 0 ? 0 : (word == "up" ? 1 : -1);
    } else if (word == "nosupersub") {
        chars.vertical = 0;
    } else if (word == "caps") {
        chars.capitals = on ? 1 : 0;
    } else if (word == "scaps") {
        chars.capitals = on ? 2 : 0;
    } else if (word == "f") {
        chars.font = parameter;
    } else if (word == "fs") {
        chars.halfPoints = hasParameter ? std::clamp(parameter, 2, 3276) : 24;
    } else if (word == "cf") {
        chars.foreground = parameter;
    } else if (word == "cb" || word == "highlight" || word == "chcbpat") {
        chars.background = parameter;
    } else {
        return false;
    }
    return true;
}

bool RtfParser::specialCharacter(QByteArrayView word, int parameter) {
    if (word == "u") {
        const auto unit = static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter);
        const CharState& chars = state().chars;
        const auto font = fonts_.constFind(chars.font < 0 ? defaultFont_ : chars.font);
        // Word writes symbol-font characters in the private area at U+F000 plus the byte.
        if (font != fonts_.constEnd() && (unit & 0xFF00) == 0xF000 &&
            (font->codePage == kCodePageSymbol || font->codePage == kCodePageWingdings)) {
            addText(decodeBytes(QByteArray(1, static_cast<char>(unit & 0xFF)), font->codePage));
        } else {
            addChar(QChar(unit));
        }
        skipCount_ = state().unicodeSkip;
        return true;
    }
    static const struct {
        const char* word;
        char16_t character;
    } kCharacters[] = {
        {"tab", u'\t'},        {"line", 0x2028},    {"bullet", 0x2022},  {"emdash", 0x2014},
        {"endash", 0x2013},    {"lquote", 0x2018},  {"rquote", 0x2019},  {"ldblquote", 0x201C},
        {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005},
        {"zwj", 0x200D},       {"zwnj", 0x200C},    {"ltrmark", 0x200E}, {"rtlmark", 0x200F}};
    for (const auto& entry : kCharacters) {
        if (word == entry.word) {
            addChar(QChar(entry.character));
            return true;
        }
    }
    return false;
}

int RtfParser::currentCodePage() const {
    const GroupState& group = stack_.back();
    const int font = group.chars.font < 0 ? defaultFont_ : group.chars.font;
    const auto found = fonts_.constFind(font);
    if (found != fonts_.constEnd() && found->codePage != 0) return found->codePage;
    return documentCodePage_;
}

void RtfParser::addByte(unsigned char byte) {
    GroupState& group = state();
    switch (group.destination) {
        case Destination::Text: {
            const int codePage = currentCodePage();
            if (!pendingBytes_.isEmpty() && codePage != pendingCodePage_) flushBytes();
            pendingCodePage_ = codePage;
            pendingBytes_.append(static_cast<char>(byte));
            break;
        }
        case Destination::FontTable:
            if (byte == ';') {
                commitFont();
            } else {
                pendingFontName_.append(static_cast<char>(byte));
            }
            break;
        case Destination::ColorTable:
            if (byte == ';') {
                colors_.push_back(colorSet_ ? QColor(red_, green_, blue_) : QColor());
                red_ = green_ = blue_ = 0;
                colorSet_ = false;
            }
            break;
        default:
            break;
    }
}

void RtfParser::flushBytes() {
    if (pendingBytes_.isEmpty()) return;
    const QByteArray bytes = std::exchange(pendingBytes_, QByteArray());
    addText(decodeBytes(bytes, pendingCodePage_));
}

void RtfParser::addText(const QString& text) {
    if (stack_.empty()) return;
    const CharState& chars = state().chars;
    if (chars.hidden) return;
    if (!run_.isEmpty() && !(chars == runChars_)) flushRun();
    runChars_ = chars;
    if (std::exchange(cellLineBreak_, false)) {
        run_ += QChar(QChar::LineSeparator);
    }
    run_ += text;
}

void RtfParser::flushRun() {
    if (run_.isEmpty()) return;
    cursor_.insertText(run_, charFormat(runChars_));
    run_.clear();
    paragraphHasText_ = true;
}

void RtfParser::endParagraph() {
    flushBytes();
    flushRun();
    numberParagraph();
    cellLineBreak_ = false;
    cursor_.setBlockFormat(blockFormat(state().para));
    // An empty paragraph is as tall as its font.
    cursor_.setBlockCharFormat(charFormat(state().chars));
    cursor_.insertBlock();
    paragraphHasText_ = false;
    anyParagraphEnded_ = true;
}

void RtfParser::finish() {
    finished_ = true;
    if (stack_.empty()) return;
    flushBytes();
    flushRun();
    numberParagraph();
    if (anyParagraphEnded_ && !paragraphHasText_) {
        // The document's last \par leaves an empty block behind; drop it.
        cursor_.deletePreviousChar();
    } else {
        cursor_.setBlockFormat(blockFormat(state().para));
    }
}

void RtfParser::numberParagraph() {
    const ParaState& para = state().para;
    const bool hasNumberText = numberTextStart_ >= 0 && numberTextEnd_ > numberTextStart_;
    if (numbering_.numbered() && !numbering_.continuation) {
        // The list goes on while its paragraphs keep its style and what came between them
        // stood inside it; a \pnstart only counts where a list begins.
        const bool goesOn = listOpen_ && listStyle_ == numbering_.style;
        listNumber_ = goesOn ? listNumber_ + 1 : numbering_.start;
        listOpen_ = true;
        listStyle_ = numbering_.style;
        listLeftTwips_ = para.leftTwips;
        if (hasNumberText) {
            // The number is the first word of the \pntext ("4." "(b)" "iv)"); what the writer
            // put around it stays.
            QTextCursor label(&document_);
            label.setPosition(numberTextStart_);
            label.setPosition(numberTextEnd_, QTextCursor::KeepAnchor);
            const QString text = label.selectedText();
            qsizetype first = 0;
            while (first < text.size() && !text[first].isLetterOrNumber()) ++first;
            qsizetype last = first;
            while (last < text.size() && text[last].isLetterOrNumber()) ++last;
            if (last > first) {
                label.setPosition(numberTextStart_ + int(first) + 1);
                const QTextCharFormat format = label.charFormat();
                label.setPosition(numberTextStart_ + int(first));
                label.setPosition(numberTextStart_ + int(last), QTextCursor::KeepAnchor);
                label.insertText(formatListNumber(listNumber_, numbering_.style), format);
            }
        }
    } else if (!numbering_.continuation && para.leftTwips < listLeftTwips_) {
        // A paragraph further out than the list's own ends it; one indented as far or further
        // (a command, a note) stands inside it.
        listOpen_ = false;
    } else if (numbering_.style == Numbering::Style::Bullet) {
        listOpen_ = false;
    }
    numbering_ = Numbering();
    numberTextStart_ = numberTextEnd_ = -1;
}

void RtfParser::commitFont() {
    if (pendingFont_ >= 0) {
        FontEntry entry = pendingFontEntry_;
        entry.name = decodeBytes(pendingFontName_, documentCodePage_).trimmed();
        if (entry.codePage == kCodePageSymbol &&
            entry.name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)) {
            entry.codePage = kCodePageWingdings;
        }
        fonts_.insert(pendingFont_, entry);
    }
    pendingFont_ = -1;
    pendingFontEntry_ = FontEntry();
    pendingFontName_.clear();
}

QTextCharFormat RtfParser::charFormat(const CharState& chars) const {
    QTextCharFormat format;
    const auto font = fonts_.constFind(chars.font < 0 ? defaultFont_ : chars.font);
    // Symbol-font text is already mapped to Unicode and needs no special face.
    if (font != fonts_.constEnd() && !font->name.isEmpty() && font->codePage != kCodePageSymbol &&
        font->codePage != kCodePageWingdings) {
        format.setFontFamilies(QStringList{font->name});
        format.setFontStyleHint(font->hint);
    }
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.bold) format.setFontWeight(QFont::Bold);
    if (chars.italic) format.setFontItalic(true);
    if (chars.underline) format.setFontUnderline(true);
    if (chars.strike) format.setFontStrikeOut(true);
    if (chars.vertical > 0) format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (chars.vertical < 0) format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (chars.capitals == 1) format.setFontCapitalization(QFont::AllUppercase);
    if (chars.capitals == 2) format.setFontCapitalization(QFont::SmallCaps);
    const auto color = [&](int index) {
        return index > 0 && index < static_cast<int>(colors_.size()) ? colors_[index] : QColor();
    };
    if (color(chars.foreground).isValid()) format.setForeground(color(chars.foreground));
    if (color(chars.background).isValid()) format.setBackground(color(chars.background));
    return format;
}

QTextBlockFormat RtfParser::blockFormat(const ParaState& para) const {
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    const int left = std::max(para.leftTwips, 0);
    // A hanging first line may reach back to the page edge, not beyond it.
    const int first = std::max(para.firstLineTwips, -left);
    format.setLeftMargin(left / kTwipsPerPixel);
    format.setRightMargin(std::max(para.rightTwips, 0) / kTwipsPerPixel);
    format.setTextIndent(first / kTwipsPerPixel);
    format.setTopMargin(std::max(para.spaceBeforeTwips, 0) / kTwipsPerPixel);
    format.setBottomMargin(std::max(para.spaceAfterTwips, 0) / kTwipsPerPixel);
    if (para.lineSpacing != 0) {
        if (para.lineMultiple && para.lineSpacing > 0) {
            format.setLineHeight(para.lineSpacing * 100.0 / 240.0,
                                 QTextBlockFormat::ProportionalHeight);
        } else if (para.lineSpacing > 0) {
            format.setLineHeight(para.lineSpacing / kTwipsPerPixel,
                                 QTextBlockFormat::MinimumHeight);
        } else {
            format.setLineHeight(-para.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
        }
    }
    // RTF measures tab stops from the page margin; Qt from where the line starts, which for the
    // first line, where tabs stand nearly always, is the indent plus the first-line indent.
    const qreal lineStart = (left + first) / kTwipsPerPixel;
    QList<QTextOption::Tab> tabs;
    for (QTextOption::Tab tab : para.tabs) {
        tab.position -= lineStart;
        if (tab.position > 0) tabs.append(tab);
    }
    if (first < 0) {
        // As in word processors, a hanging indent is a tab stop of its own: "•<tab>text" lines
        // the text up with the lines below.
        const qreal indent = -first / kTwipsPerPixel;
        if (std::none_of(tabs.begin(), tabs.end(),
                         [&](const QTextOption::Tab& tab) { return tab.position == indent; })) {
            tabs.append(QTextOption::Tab(indent, QTextOption::LeftTab));
        }
    }
    std::sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab& a, const QTextOption::Tab& b) {
        return a.position < b.position;
    });
    if (!tabs.isEmpty()) format.setTabPositions(tabs);
    if (para.bottomRule) {
        // Qt draws a block's trailing ruler across the text width, in the block's background
        // colour when it has one (the block itself is then not filled).
        format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                           QTextLength(QTextLength::PercentageLength, 100));
        const int colour = para.bottomRuleColour;
        if (colour > 0 && colour < static_cast<int>(colors_.size()) && colors_[colour].isValid())
            format.setBackground(colors_[colour]);
    }
    return format;
}

}  // namespace

RtfReadResult readRtf(QByteArrayView data, QTextDocument& document) {
    document.clear();
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);

    qsizetype start = 0;
    if (data.startsWith("\xEF\xBB\xBF")) start = 3;
    while (start < data.size() && QChar::isSpace(static_cast<unsigned char>(data[start]))) ++start;

    RtfReadResult result;
    result.isRtf = data.sliced(start).startsWith("{\\rtf");
    if (result.isRtf) {
        RtfParser parser(data, document);
        result.complete = parser.run(start);
    } else {
        // Not RTF: show it as the text it is, readable even when it is not UTF-8.
        QString text = QString::fromUtf8(data);
        if (text.contains(QChar::ReplacementCharacter))
            text = decodeBytes(data.toByteArray(), kCodePageAnsi);
        text.remove(QChar(0));
        document.setPlainText(text);
        result.complete = true;
    }
    document.setUndoRedoEnabled(undo);
    return result;
}

}  // namespace bw
