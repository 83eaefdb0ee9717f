// The images of the structure tree, 16 × 16 pixels, drawn in code.
#pragma once

#include <QPixmap>

// Item image by index: 0 the whole network, 1 stations, 2 station with a
// queue, 3 station without one, 4 classes, 5 no class split, 6 open,
// 7 closed, 8 modules, 9 STATION, 10 QUEUE, 11 SERVER.
QPixmap structureItemImage(int index);

// Check box image for a check value: 0 grey tick (partly checked), 1 empty
// box, 2 black tick; a null pixmap for -1 (no check box).
QPixmap structureCheckImage(int check);
