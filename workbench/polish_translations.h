// Qt's own Polish translations for the toolkit's texts: the open, save,
// print, page setup and preview dialogs, message-box buttons, context menus.
#pragma once

class QCoreApplication;

// Loads them into application whatever the user's locale, since every
// other text of the workbench is Polish. False when they are not installed
// (Debian's qt6-translations-l10n); the toolkit's texts then stay English.
bool installPolishTranslations(QCoreApplication& application);
