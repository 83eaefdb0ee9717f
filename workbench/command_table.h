// The texts, keys and prompts of every numbered command.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include "workbench/command_ids.h"

struct CommandText {
    int id = 0;
    QString menuText;          // with '&' mnemonic and "\t" key text, as shown in menus
    QList<QKeySequence> keys;  // first is the primary shortcut
    QString prompt;            // status-bar text and, after "\n", the tooltip
};

// Every command, in no particular order; each id appears once.
const QList<CommandText>& commandTable();

// The commandTable() entry of an id, or nullptr.
const CommandText* findCommandText(int id);

// The text of a command as a given menu shows it: page setup carries a
// mnemonic only in the menu without documents, and copy reads "copy table"
// in the results windows' menu. Any other command has its table text.
QString menuTextIn(int id, MenuId menu);

// Text before "\n" (the status-bar prompt) and after it (the tooltip).
QString promptPart(const QString& prompt);
QString tooltipPart(const QString& prompt);

// Status-bar texts that belong to no command.
QString idleStatusText();
QString contextHelpStatusText();
QString switchToWindowPrompt();
