#include "workbench/winkolt_app.h"

#include <QApplication>
#include <QPrinter>

#include <cstdlib>

#include "workbench/main_frame.h"
#include "workbench/paged_text_printer.h"
#include "workbench/toolbar_icons.h"
#include "workbench/user_prompts.h"

CWinKoltApp::CWinKoltApp(std::unique_ptr<UserPrompts> prompts) : startPrompts(std::move(prompts)) {}

CWinKoltApp::~CWinKoltApp() = default;

bool CWinKoltApp::initInstance(const QStringList& arguments, int startShowCommand) {
    QApplication::setApplicationName(QStringLiteral("WinKolt"));
    // No display name: the window system would add it to every window's
    // title, and the main window's title already names the program.
    QApplication::setWindowIcon(applicationIcon());

    frame = std::make_unique<CMainFrame>();
    frame->setWindowIcon(applicationIcon());
    if (startPrompts) frame->setPrompts(std::move(startPrompts));

    // The print switches: "--print FILE" on the default printer,
    // "--print-to FILE PRINTER" on the named one.
    const QString first = arguments.value(1);
    if (first == QLatin1String("--print") || first == QLatin1String("--print-to")) {
        const bool named = first == QLatin1String("--print-to");
        if (arguments.size() < (named ? 4 : 3)) {
            frame->prompts().showError(frame.get(), named ? QStringLiteral("Użycie: WinKolt --print-to PLIK DRUKARKA")
                                                          : QStringLiteral("Użycie: WinKolt --print PLIK"));
            return false;
        }
        QPrinter printer(QPrinter::HighResolution);
        if (named) printer.setPrinterName(arguments.at(3));
        setDefaultPageMargins(&printer);
        exitCode = frame->printFile(arguments.at(2), &printer) ? 0 : 1;
        finished = true;
        return true;
    }

    frame->restoreWindowPlacement(startShowCommand);
    if (arguments.size() >= 2) return frame->openDocument(arguments.at(1)) != nullptr;
    frame->fileNew();
    return true;
}

void CWinKoltApp::endAtOnce() {
    // The caller is deep inside an event handler, and the process must not
    // go back to the event loop, so exit() ends it here: the standard
    // streams are flushed and the static objects destroyed; the windows and
    // documents are not taken down one by one, which loses nothing, since
    // every setting is stored when it is written and unsaved text is given
    // up on purpose.
    std::exit(0);
}
