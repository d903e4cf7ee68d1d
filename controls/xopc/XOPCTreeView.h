#pragma once

#include <QString>
#include <QTreeWidget>

namespace tagwell {

// The server tree of the data control (tvTreeView): the root "OPC Servers",
// the servers below it and their groups below them. Every node carries a key
// (the ServerKey or GroupKey) and the key of its picture in the large image
// list. Label editing is refused.
//
// The control chooses its selection from what the user releases, not from
// what is pressed: NodeMouseUp after a mouse button is released over the
// tree (the key of the node under the pointer, empty over empty space),
// NodeKeyUp after a key is released while the tree has the focus (the key of
// the selected node, empty when none), NodeCollapsed when a node folds.
class XOPCTreeView : public QTreeWidget {
    Q_OBJECT
public:
    enum Role : int {
        KeyRole = Qt::UserRole + 1,
        ImageKeyRole,
    };

    explicit XOPCTreeView(QWidget* parent = nullptr);

    // Adds a node under the node with parentKey (at the top when parentKey is
    // empty); nullptr when the parent is unknown.
    QTreeWidgetItem* AddNode(const QString& parentKey, const QString& key, const QString& text,
                             const QString& imageKey);
    // The node with that key, or nullptr.
    QTreeWidgetItem* Node(const QString& key) const;
    // Removes the node and everything below it; false when there is none.
    bool RemoveNode(const QString& key);
    static QString KeyOf(const QTreeWidgetItem* node);
    // The key of the selected (current) node, or empty text.
    QString SelectedKey() const;
    void SelectNode(QTreeWidgetItem* node);

signals:
    void NodeMouseUp(const QString& key, Qt::MouseButton button);
    void NodeKeyUp(const QString& key);
    void NodeCollapsed(const QString& key);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace tagwell
