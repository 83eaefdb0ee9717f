#include "workbench/winkolt_app.h"

#include <QApplication>
#include <QPrinter>

#include "workbench/main_frame.h"
#include "workbench/toolbar_icons.h"

CWinKoltApp::CWinKoltApp() = default;

CWinKoltApp::~CWinKoltApp() = default;

bool CWinKoltApp::initInstance(const QStringList& arguments, int startShowCommand)
{
    QApplication::setApplicationName(QStringLiteral("WinKolt"));
    QApplication::setApplicationDisplayName(QStringLiteral("WinKolt"));
    QApplication::setWindowIcon(applicationIcon());

    frame = std::make_unique<CMainFrame>();
    frame->setWindowIcon(applicationIcon());

    if (arguments.size() >= 3 && arguments.at(1) == QLatin1String("--print")) {
        QPrinter printer(QPrinter::HighResolution);
        exitCode = frame->printFile(arguments.at(2), &printer) ? 0 : 1;
        finished = true;
        return true;
    }

    frame->restoreWindowPlacement(startShowCommand);
    if (arguments.size() >= 2) return frame->openDocument(arguments.at(1)) != nullptr;
    frame->fileNew();
    return true;
}
