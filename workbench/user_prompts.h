// The questions and messages the workbench puts to the user, behind one
// interface so that tests can answer them without modal dialogs.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // "Save changes to %1?": Yes, No or Cancel.
    virtual QMessageBox::StandardButton askSaveChanges(QWidget* parent, const QString& name);
    virtual void showError(QWidget* parent, const QString& text);
    // A path to save to, or empty when cancelled.
    virtual QString askSavePath(QWidget* parent, const QString& suggestedName);
    // Paths to open, or empty when cancelled.
    virtual QStringList askOpenPaths(QWidget* parent);
    // The solver could not be started: a stop message the workbench ends after.
    virtual void showSolverStartFailure(QWidget* parent);
};
