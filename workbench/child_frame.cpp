#include "workbench/child_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QShortcut>

#include "workbench/command_ids.h"
#include "workbench/toolbar_icons.h"
#include "workbench/winkolt_doc.h"

namespace {

// Prompts of the entries of the window's system menu, found by the toolkit's
// texts as they are shown (translated when a translation is loaded). The
// close entry shows Ctrl+F4, the frame's own key for it (see the frame's
// constructor): the toolkit gives it Ctrl+W, the MiniWizard's key, and makes
// it work only while the window is maximised.
void setUpSystemMenu(QMenu* menu) {
    if (!menu) return;
    auto shown = [](const QString& text) { return text.section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')); };
    auto toolkit = [&](const char* text) { return shown(QCoreApplication::translate("QMdiSubWindow", text)); };
    const QList<QPair<QString, QString>> prompts = {
        {toolkit("&Restore"), QStringLiteral("Przywraca domyślne wielkości okna")},
        {toolkit("&Move"), QStringLiteral("Zmienia pozycję okienka")},
        {toolkit("&Size"), QStringLiteral("Zmienia wielkość okienka")},
        {toolkit("Mi&nimize"), QStringLiteral("Minimalizuje okienko do ikony")},
        {toolkit("Ma&ximize"), QStringLiteral("Zwiększa okienko do maksymalnych rozmiarów")},
        {toolkit("&Close"), QStringLiteral("Zamyka aktywne okno; przypomina o zapisaniu dokumentów")}};
    for (QAction* entry : menu->actions()) {
        const QString name = shown(entry->text());
        for (const auto& [key, prompt] : prompts)
            if (name == key) entry->setStatusTip(prompt);
        if (name == toolkit("&Close")) {
            entry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
            entry->setShortcutContext(Qt::WidgetShortcut);  // shown, taken only in the open menu
        }
    }
}

}  // namespace

CChildFrame::CChildFrame(CWinKoltDoc* document, ViewKind viewKind, QWidget* view) : doc(document), kind(viewKind) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    // The icon of the window's kind, the one its command shows on the toolbar.
    setWindowIcon(commandIcon(kind == ViewKind::Model    ? Command::WindowModel
                              : kind == ViewKind::Report ? Command::WindowReport
                                                         : Command::WindowResults));
    setUpSystemMenu(systemMenu());
    // Ctrl+F4 closes the document window, maximised or not.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4), this, this, &QWidget::close, Qt::WidgetWithChildrenShortcut);
    connect(doc, &CWinKoltDoc::stateChanged, this, &CChildFrame::updateTitle);
    updateTitle();
}

void CChildFrame::closeWithoutPrompt() {
    promptDone = true;
    close();
}

void CChildFrame::updateTitle() {
    // "siec.klt" for the model, whose "[*]" shows the document's unsaved
    // changes; "siec.klt — Raport" and "siec.klt — Wyniki" for the others.
    QString title = doc->title();
    switch (kind) {
        case ViewKind::Model: title += QStringLiteral("[*]"); break;
        case ViewKind::Report: title += QStringLiteral(" — Raport"); break;
        case ViewKind::Results: title += QStringLiteral(" — Wyniki"); break;
    }
    setWindowTitle(title);
    setWindowModified(kind == ViewKind::Model && doc->isModified());
}

QString CChildFrame::shownTitle() const {
    QString title = windowTitle();
    return title.replace(QStringLiteral("[*]"), isWindowModified() ? QStringLiteral("*") : QString());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!promptDone) {
        emit closeRequested(event);
        if (!event->isAccepted()) return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed(this);
    else
        promptDone = false;
}

void CChildFrame::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible()) emit sizeStateChanged();
}
