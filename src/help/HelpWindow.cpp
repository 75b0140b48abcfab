#include "help/HelpWindow.h"

#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "help/HelpDocuments.h"
#include "help/HelpLayout.h"
#include "help/HelpTopics.h"

namespace bw {
namespace {

constexpr int kKeyRole = Qt::UserRole;

}  // namespace

HelpWindow::HelpWindow(QString documentFolder, QWidget* parent)
    : QWidget(parent),
      documentFolder_(std::move(documentFolder)),
      caption_(new QLabel(QStringLiteral("HELP TOPICS"), this)),
      tree_(new QTreeWidget(this)),
      textBox_(new QTextEdit(this)) {
    setWindowTitle(QStringLiteral("Brinewave3  HELP"));

    QFont captionFont = caption_->font();
    captionFont.setBold(true);
    caption_->setFont(captionFont);

    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setIndentation(14);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Long titles scroll sideways rather than being cut short.
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    buildTree();
    // Wide enough for the longest title at its depth, so no title is cut short.
    tree_->resizeColumnToContents(0);
    treeWidth_ = std::clamp(tree_->columnWidth(0) + 2 * tree_->frameWidth() + 8,
                            HelpLayout::kTreeWidth, 2 * HelpLayout::kTreeWidth);
    setMinimumSize(HelpLayout::minimumSize(treeWidth_));

    textBox_->setReadOnly(true);
    textBox_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    // A click selects the node, and so do the arrow keys: both show its document. Selection,
    // not the current item, so that the tree taking the focus at start shows nothing yet.
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
        if (!selected.isEmpty()) showTopic(selected.first()->text(0));
    });

    resize(820, 600);
    tree_->setFocus();
}

void HelpWindow::buildTree() {
    QHash<QString, QTreeWidgetItem*> byKey;
    for (const HelpTopic& topic : helpTopics()) {
        QTreeWidgetItem* parent = byKey.value(topic.parentKey);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
        item->setText(0, topic.text);
        item->setData(0, kKeyRole, topic.key);
        byKey.insert(topic.key, item);
    }
    tree_->expandAll();
}

QTreeWidgetItem* HelpWindow::node(const QString& key) const {
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        if ((*it)->data(0, kKeyRole).toString() == key) return *it;
    }
    return nullptr;
}

void HelpWindow::showTopic(const QString& nodeText) {
    const QString fileName = topicDocument(nodeText);
    if (fileName.isEmpty()) {
        textBox_->setPlainText(noDocumentText());
        return;
    }
    // A fresh document each time, so that nothing of the previous topic's formatting remains.
    auto* document = new QTextDocument(textBox_);
    document->setDefaultFont(textBox_->font());
    loadTopicDocument(findTopicDocument(documentFolder_, fileName), *document);
    // The text box deletes only the document it made itself; the ones made here are ours.
    QTextDocument* previous = textBox_->document();
    const bool previousIsOurs = previous->parent() == textBox_;
    textBox_->setDocument(document);
    if (previousIsOurs) delete previous;
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const HelpLayout layout = HelpLayout::forSize(event->size(), treeWidth_);
    caption_->setGeometry(layout.caption);
    tree_->setGeometry(layout.tree);
    textBox_->setGeometry(layout.text);
}

}  // namespace bw
