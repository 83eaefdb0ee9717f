#include "workbench/child_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QTimer>

#include "workbench/command_ids.h"
#include "workbench/main_frame.h"
#include "workbench/toolbar_icons.h"
#include "workbench/winkolt_doc.h"

namespace {

// Prompts of the entries of the window's system menu, found by their
// (untranslated) toolkit texts.
void setSystemMenuPrompts(QMenu* menu)
{
    if (!menu) return;
    const QList<QPair<QString, QString>> prompts = {
        {QStringLiteral("restore"), QStringLiteral("Przywraca domyślne wielkości okna")},
        {QStringLiteral("move"), QStringLiteral("Zmienia pozycję okienka")},
        {QStringLiteral("size"), QStringLiteral("Zmienia wielkość okienka")},
        {QStringLiteral("minimize"), QStringLiteral("Minimalizuje okienko do ikony")},
        {QStringLiteral("maximize"), QStringLiteral("Zwiększa okienko do maksymalnych rozmiarów")},
        {QStringLiteral("close"), QStringLiteral("Zamyka aktywne okno; przypomina o zapisaniu dokumentów")}};
    for (QAction* entry : menu->actions()) {
        const QString name = entry->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0).toLower();
        for (const auto& [key, prompt] : prompts)
            if (name == key) entry->setStatusTip(prompt);
    }
}

}  // namespace

CChildFrame::CChildFrame(CWinKoltDoc* document, ViewKind viewKind, QWidget* view, CMainFrame* mainFrame)
    : doc(document), kind(viewKind), frame(mainFrame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    // The icon of the window's kind, the one its command shows on the toolbar.
    setWindowIcon(commandIcon(kind == ViewKind::Model    ? Command::WindowModel
                              : kind == ViewKind::Report ? Command::WindowReport
                                                         : Command::WindowResults));
    setSystemMenuPrompts(systemMenu());
    connect(doc, &CWinKoltDoc::stateChanged, this, &CChildFrame::updateTitle);
    updateTitle();
}

void CChildFrame::closeWithoutPrompt()
{
    promptDone = true;
    close();
}

void CChildFrame::updateTitle()
{
    const QList<CChildFrame*> frames = frame->framesOf(doc);
    const int index = frames.indexOf(this);
    QString title = doc->title();
    if (kind == ViewKind::Results)
        title += QStringLiteral(" — Wyniki");
    else if (frames.size() > 1 && index >= 0)
        title += QStringLiteral(":%1").arg(index + 1);
    setWindowTitle(title);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // The document's last window takes the document with it.
    const bool lastWindow = frame->framesOf(doc) == QList<CChildFrame*>{this};
    if (!promptDone && lastWindow && !frame->saveModified(doc)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        frame->frameClosed(this);
    else
        promptDone = false;
}

void CChildFrame::changeEvent(QEvent* event)
{
    QMdiSubWindow::changeEvent(event);
    // Read once the area has settled: activating another window while one is
    // maximised restores and maximises windows in passing.
    if (event->type() == QEvent::WindowStateChange && isVisible())
        QTimer::singleShot(0, frame, &CMainFrame::recordChildShowCommand);
}
