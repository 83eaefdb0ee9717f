#include "workbench/structure_tree.h"

#include <QSet>
#include <algorithm>
#include <vector>

#include "workbench/text_order.h"

StructureTree::StructureTree() { reset(); }

void StructureTree::reset() {
    items.clear();
    items.resize(FixedItemCount);
    add(Network, QStringLiteral("Cała sieć"), -1, NoBox);
    add(AllClasses, QStringLiteral("Wszystkie klasy"), Network, Checked);
    add(NoClassSplit, QStringLiteral("bez podziału"), AllClasses, Checked);
    add(OpenClasses, QStringLiteral("otwarte"), AllClasses, Checked);
    add(ClosedClasses, QStringLiteral("zamknięte"), AllClasses, Checked);
    add(AllStations, QStringLiteral("Wszystkie stanowiska"), Network, Checked);
    add(WithQueue, QStringLiteral("z kolejką"), AllStations, Checked);
    add(WithoutQueue, QStringLiteral("bez kolejki"), AllStations, Checked);
    add(AllModules, QStringLiteral("Wszystkie moduły"), Network, Checked);
    add(StationKind, QStringLiteral("STATION"), AllModules, Checked);
    add(QueueKind, QStringLiteral("QUEUE"), AllModules, Checked);
    add(ServerKind, QStringLiteral("SERVER"), AllModules, Checked);
}

void StructureTree::add(int id, const QString& label, int parent, int check) {
    Item& item = items[id];
    item.label = label;
    item.image = id;
    item.check = check;
    item.parent = parent;
    if (parent >= 0) items[parent].children.append(id);
}

void StructureTree::fill(const QList<ResultRecord>& records) {
    // One item per key: a class or station listed in every block of the file
    // (or a second time by a refill) is still one item.
    QSet<int> keys;
    for (int id = FixedItemCount; id < count(); ++id) keys.insert(items[id].key);
    for (const ResultRecord& r : records) {
        if (!keys.contains(r.classKey())) {
            keys.insert(r.classKey());
            addDataItem(r.classGroup, r.classKey(), r.className);
        }
        if (!keys.contains(r.stationKey())) {
            keys.insert(r.stationKey());
            addDataItem(r.stationGroup, r.stationKey(), r.stationName);
        }
    }
    // Within its group the items stand in the alphabetical order of their
    // labels; equal labels keep the order in which they came.
    for (int group : {NoClassSplit, OpenClasses, ClosedClasses, WithQueue, WithoutQueue}) {
        QList<int>& children = items[group].children;
        std::vector<std::pair<int, QCollatorSortKey>> keyed;
        for (int id : children) keyed.emplace_back(id, textOrderKey(items[id].label));
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.second.compare(b.second) < 0; });
        for (qsizetype i = 0; i < children.size(); ++i) children[i] = keyed[std::size_t(i)].first;
    }
    for (int group : {WithQueue, OpenClasses, WithoutQueue, ClosedClasses})
        if (items[group].children.isEmpty()) items[group].check = NoBox;
}

void StructureTree::addDataItem(int group, int key, const QString& label) {
    const int id = count();
    Item item;
    item.label = label;
    item.image = group;
    item.check = Checked;
    item.key = key;
    item.parent = group;
    items.append(item);
    items[group].children.append(id);
}

void StructureTree::setCheck(int id, int value) {
    // An item without a check box never gets one.
    if (items[id].check != NoBox) items[id].check = value;
}

void StructureTree::setBranch(int id, int value) {
    setCheck(id, value);
    for (int child : items[id].children) setBranch(child, value);
}

bool StructureTree::siblingsAll(int id, int value) const {
    // Siblings without a check box are left out; none left is "all".
    const int parent = items[id].parent;
    if (parent < 0) return true;
    for (int sibling : items[parent].children)
        if (sibling != id && items[sibling].check != NoBox && items[sibling].check != value) return false;
    return true;
}

void StructureTree::partlyCheckedGoingUp(int id) {
    for (int y = id; y >= 0 && items[y].parent >= 0; y = items[y].parent) {
        setCheck(y, Partly);
        if (items[items[y].parent].check == Partly) return;
    }
}

void StructureTree::check(int id) {
    setBranch(id, Checked);
    for (int c = id; items[c].parent >= 0; c = items[c].parent) {
        setCheck(c, Checked);
        if (siblingsAll(c, Unchecked)) partlyCheckedGoingUp(items[c].parent);
        if (!siblingsAll(c, Checked)) return;
    }
}

void StructureTree::uncheck(int id) {
    const int parent = items[id].parent;
    // With every sibling unchecked the click unchecks the parent instead;
    // a parent without a check box (the top of the tree) cannot take it, and
    // the item itself is unchecked: the table then shows nothing.
    if (siblingsAll(id, Unchecked) && parent >= 0 && items[parent].check != NoBox) {
        uncheck(parent);
        return;
    }
    if (parent >= 0 && items[parent].check != NoBox) partlyCheckedGoingUp(parent);
    setBranch(id, Unchecked);
}

void StructureTree::toggle(int id) {
    if (id < 0 || id >= count() || items[id].check == NoBox) return;
    if (items[id].check == Checked)
        uncheck(id);
    else
        check(id);
}

bool StructureTree::isObjectChecked(int key, int groupItem) const {
    if (key == 0) return false;
    // Data items lie two levels below the top-level groups; the search runs
    // through that depth in tree order from the given group on.
    bool started = false;
    for (int group : items[Network].children) {
        started = started || group == groupItem;
        if (!started) continue;
        for (int subgroup : items[group].children)
            for (int data : items[subgroup].children)
                if (items[data].key == key && items[data].check == Checked) return true;
    }
    return false;
}

bool StructureTree::isKindChecked(int kind) const {
    if (kind == OtherRecord) return true;
    if (kind < StationRecord || kind > ServerRecord) return false;
    return items[AllModules + kind].check == Checked;
}

bool StructureTree::passes(const ResultRecord& record) const {
    return isObjectChecked(record.stationKey(), AllStations) && isObjectChecked(record.classKey(), AllClasses) &&
           isKindChecked(record.kind());
}
