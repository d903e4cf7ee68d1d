#include "controls/xopc/XOPCTreeView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/xopc/XOPCImages.h"

namespace tagwell {

XOPCTreeView::XOPCTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* node) { emit NodeCollapsed(KeyOf(node)); });
}

QTreeWidgetItem* XOPCTreeView::AddNode(const QString& parentKey, const QString& key,
                                       const QString& text, const QString& imageKey)
{
    QTreeWidgetItem* parent = nullptr;
    if (!parentKey.isEmpty()) {
        parent = Node(parentKey);
        if (!parent)
            return nullptr;
    }
    auto* node = new QTreeWidgetItem;
    node->setText(0, text);
    node->setData(0, KeyRole, key);
    node->setData(0, ImageKeyRole, imageKey);
    node->setIcon(0, XOPCImages::large(imageKey));
    node->setFlags(node->flags() & ~Qt::ItemIsEditable);
    if (parent)
        parent->addChild(node);
    else
        addTopLevelItem(node);
    return node;
}

QTreeWidgetItem* XOPCTreeView::Node(const QString& key) const
{
    for (QTreeWidgetItemIterator it(const_cast<XOPCTreeView*>(this)); *it; ++it) {
        if (KeyOf(*it) == key)
            return *it;
    }
    return nullptr;
}

bool XOPCTreeView::RemoveNode(const QString& key)
{
    QTreeWidgetItem* node = Node(key);
    if (!node)
        return false;
    delete node;
    return true;
}

QString XOPCTreeView::KeyOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, KeyRole).toString() : QString();
}

QString XOPCTreeView::SelectedKey() const { return KeyOf(currentItem()); }

void XOPCTreeView::SelectNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    setCurrentItem(node);
    scrollToItem(node);
}

void XOPCTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    const QString key = KeyOf(itemAt(event->position().toPoint()));
    emit NodeMouseUp(key, event->button());
}

void XOPCTreeView::keyReleaseEvent(QKeyEvent* event)
{
    QTreeWidget::keyReleaseEvent(event);
    emit NodeKeyUp(SelectedKey());
}

}  // namespace tagwell
