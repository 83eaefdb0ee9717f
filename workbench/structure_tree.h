// The structure tree of an analysed network as plain data: the fixed items
// (the whole network, the class, station and module groups), one data item
// per class and station of the results file, the three-state check values
// and the rules by which a click changes them.
//
// The check values are the results table's filter: a record is shown when
// its class, its station and its row kind are all checked.
//
// Fixed items, by index (the index is also the item's image):
//   0 "Cała sieć" (no check box)
//     4 "Wszystkie klasy": 5 "bez podziału", 6 "otwarte", 7 "zamknięte"
//     1 "Wszystkie stanowiska": 2 "z kolejką", 3 "bez kolejki"
//     8 "Wszystkie moduły": 9 "STATION", 10 "QUEUE", 11 "SERVER"
// A data item hangs under the fixed item whose index is its group in the
// results file, and its key is group + 8 × number.
#pragma once

#include <QList>
#include <QString>

#include "workbench/results_file.h"

class StructureTree {
  public:
    enum Check : int { NoBox = -1, Partly = 0, Unchecked = 1, Checked = 2 };
    enum FixedItem : int {
        Network = 0,
        AllStations = 1,
        WithQueue = 2,
        WithoutQueue = 3,
        AllClasses = 4,
        NoClassSplit = 5,
        OpenClasses = 6,
        ClosedClasses = 7,
        AllModules = 8,
        StationKind = 9,
        QueueKind = 10,
        ServerKind = 11,
        FixedItemCount = 12
    };

    struct Item {
        QString label;
        int image = 0;
        int check = NoBox;
        int key = 0;  // data items only
        int parent = -1;
        QList<int> children;  // in display order
    };

    // The fixed items with everything checked, and no data items.
    StructureTree();

    // Back to the fixed items, all checked; data items removed.
    void reset();
    // Adds a data item for each class and station of records, once per key,
    // in the alphabetical order of the labels within each group; then the
    // group items left without data items lose their check box.
    void fill(const QList<ResultRecord>& records);

    int count() const { return int(items.size()); }
    const Item& item(int id) const { return items.at(id); }
    bool isDataItem(int id) const { return id >= FixedItemCount; }

    // A mouse click on an item's check box or label; nothing for an item
    // without a check box.
    void toggle(int id);

    // Whether the data item with key, under the top-level group item
    // (AllClasses or AllStations), is checked. A key of 0 gives false.
    bool isObjectChecked(int key, int groupItem) const;
    // Whether a row kind passes: kind 0 always, else item 8 + kind checked.
    bool isKindChecked(int kind) const;
    // Class, station and row kind of the record all checked.
    bool passes(const ResultRecord& record) const;

  private:
    void add(int id, const QString& label, int parent, int check);
    void setCheck(int id, int value);
    void setBranch(int id, int value);
    bool siblingsAll(int id, int value) const;
    void check(int id);
    void uncheck(int id);
    void partlyCheckedGoingUp(int id);
    void addDataItem(int group, int key, const QString& label);

    QList<Item> items;
};
