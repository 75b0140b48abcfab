#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace bw {

// The help viewer's one window: the topic tree on the left under its caption, the chosen
// topic's document on the right.
class HelpWindow : public QWidget {
  public:
    // `documentFolder` holds the topic documents; the program passes its own folder.
    explicit HelpWindow(QString documentFolder, QWidget* parent = nullptr);

    QLabel* caption() const { return caption_; }
    QTreeWidget* tree() const { return tree_; }
    QTextEdit* textBox() const { return textBox_; }
    // The tree node of a topic key ("child8"), or null.
    QTreeWidgetItem* node(const QString& key) const;
    int treeWidth() const { return treeWidth_; }

    // Shows the document of the node with this text, or the hint for a node without one.
    void showTopic(const QString& nodeText);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildTree();

    QString documentFolder_;
    QLabel* caption_;
    QTreeWidget* tree_;
    QTextEdit* textBox_;
    int treeWidth_ = 0;
};

}  // namespace bw
