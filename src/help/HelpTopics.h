#pragma once

#include <QString>
#include <vector>

namespace bw {

// One node of the help topic tree. A node hangs under the node whose key is `parentKey`; an
// empty parent key puts it at the top level.
struct HelpTopic {
    QString key;
    QString text;
    QString parentKey;
};

// The topic tree, in the order its nodes are added: a parent always comes before its children.
const std::vector<HelpTopic>& helpTopics();

// The file name of the document a node shows, looked up by the node's exact text; empty for the
// nodes that only group others ("Add/Remove", "Program Features", "Control Box").
QString topicDocument(const QString& nodeText);

// What the viewer shows for a node without a document of its own.
QString noDocumentText();

}  // namespace bw
