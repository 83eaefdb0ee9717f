// Small toolbar images of the commands, drawn in code.
#pragma once

#include <QIcon>

// The image of a command's toolbar button; a null icon for commands
// without one.
QIcon commandIcon(int commandId);

// The program's icon (main window, about box).
QIcon applicationIcon();
