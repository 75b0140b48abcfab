#include "help/HelpTopics.h"

#include <QHash>

namespace bw {

const std::vector<HelpTopic>& helpTopics() {
    static const std::vector<HelpTopic> topics = {
        {"ar", "Add/Remove", ""},
        {"pf", "Program Features", ""},
        {"m", "Trouble Shooting", ""},
        {"n", "Compendisc", ""},
        {"nn", "Restore Factory Settings", ""},
        {"child1", "Install", "ar"},
        {"child2", "Uninstall", "ar"},
        {"child4", "Moving Objects", "pf"},
        {"child8", "Control Box", "pf"},
        {"child9", "Accessing the Control Panel", "child8"},
        {"child10", "Water Tab", "child8"},
        {"child11", "Fish Tab", "child8"},
        {"child12", "Scenery Tab", "child8"},
        {"child13", "Settings Tab", "child8"},
        {"child14", "Artifacts Tab", "child8"},
        {"child15", "Plants Tab", "child8"},
        {"child16", "TunePC Tab", "child8"},
        {"child17", "Power Manage Tab", "child8"},
    };
    return topics;
}

QString topicDocument(const QString& nodeText) {
    // The file names keep the letter case the documents have always had.
    static const QHash<QString, QString> documents = {
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
    return documents.value(nodeText);
}

QString noDocumentText() { return QStringLiteral("Select a Sub-Menu"); }

}  // namespace bw
