#pragma once

#include <QString>

class QTextDocument;

namespace bw {

// The path of the topic document `fileName` in `folder`: the file of exactly that name, else the
// one whose name differs only in letter case (the documents come from a system that did not
// tell the two apart). Empty when there is none.
QString findTopicDocument(const QString& folder, const QString& fileName);

// Reads the topic document at `path` into `document`. A missing or unreadable file leaves the
// document empty and returns false; nothing is ever created or written.
bool loadTopicDocument(const QString& path, QTextDocument& document);

}  // namespace bw
