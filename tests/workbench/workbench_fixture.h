// Shared pieces of the workbench tests: a main window whose questions are
// answered by a script, a private settings store and a folder for files.
#pragma once

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include "test_files.h"
#include "workbench/main_frame.h"
#include "workbench/user_prompts.h"

// Answers every question without a dialog and records what was asked.
class ScriptedPrompts : public UserPrompts {
  public:
    QStringList asked;  // texts of the questions and messages, in order
    QMessageBox::StandardButton saveChangesAnswer = QMessageBox::No;
    QString savePath;  // answer of the save dialog; empty: cancelled
    QStringList openPaths;
    int solverStartFailures = 0;
    std::function<void()> onSolverStartFailure;

    QMessageBox::StandardButton askSaveChanges(QWidget*, const QString& name) override {
        asked << QStringLiteral("Save changes to %1?").arg(name);
        return saveChangesAnswer;
    }
    void showError(QWidget*, const QString& text) override { asked << text; }
    QString askSavePath(QWidget*, const QString&) override { return savePath; }
    QStringList askOpenPaths(QWidget*) override { return openPaths; }
    void showSolverStartFailure(QWidget*) override {
        ++solverStartFailures;
        if (onSolverStartFailure) onSolverStartFailure();
    }
};

// Keeps the settings of each test program in its own folder.
inline void useTemporarySettings(const QTemporaryDir& dir) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    QSettings(QStringLiteral("WinKolt"), QStringLiteral("WinKolt")).clear();
}

// A shown main window with scripted prompts.
struct Workbench {
    std::unique_ptr<CMainFrame> frame = std::make_unique<CMainFrame>();
    ScriptedPrompts* prompts = nullptr;

    Workbench() {
        auto scripted = std::make_unique<ScriptedPrompts>();
        prompts = scripted.get();
        frame->setPrompts(std::move(scripted));
        frame->resize(900, 650);
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get())) qWarning("main window not exposed");
    }
    ~Workbench() {
        // Nothing may be asked while the test tears the window down.
        prompts->saveChangesAnswer = QMessageBox::No;
        frame->closeAllDocuments();
    }
    bool enabled(int id) const { return frame->action(id)->isEnabled(); }
    bool checked(int id) const { return frame->action(id)->isChecked(); }
};
