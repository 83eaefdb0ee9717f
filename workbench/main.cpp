// Entry of the WinKolt workbench.
#include <QApplication>

#include "workbench/polish_translations.h"
#include "workbench/winkolt_app.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    installPolishTranslations(application);
    CWinKoltApp winkolt;
    if (!winkolt.initInstance(QApplication::arguments())) return 1;
    if (winkolt.finishedAtStart()) return winkolt.startExitCode();
    return QApplication::exec();
}
