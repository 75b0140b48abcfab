#pragma once

#include <QByteArrayView>

class QTextDocument;

namespace bw {

// What reading found, beside the text it put into the document.
struct RtfReadResult {
    // The data began with "{\rtf". Anything else is shown as plain text.
    bool isRtf = false;
    // Every group was closed and the data did not stop in the middle of a control word.
    bool complete = false;
};

// Reads a Rich Text Format document into `document`, replacing what it held: paragraphs, bold,
// italic, underline, strike-through, super- and subscript, font faces and sizes, colours,
// alignment, indents, spacing, tab stops, the legacy bullet texts, and the \'hh and \u escapes.
// Destinations it does not show (pictures, headers, document information, unknown \*
// destinations) are skipped without losing the text around them. Truncated or malformed data
// gives whatever text could be read; reading never fails and always ends.
RtfReadResult readRtf(QByteArrayView data, QTextDocument& document);

}  // namespace bw
