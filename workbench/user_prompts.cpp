#include "workbench/user_prompts.h"

#include <QApplication>
#include <QFileDialog>

namespace {
const char* const fileFilters = "Pliki WinKolta (*.klt);;All Files (*.*)";
}

QMessageBox::StandardButton UserPrompts::askSaveChanges(QWidget* parent, const QString& name) {
    return QMessageBox::question(parent, QApplication::applicationDisplayName(),
                                 QStringLiteral("Save changes to %1?").arg(name),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

void UserPrompts::showError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
}

QString UserPrompts::askSavePath(QWidget* parent, const QString& suggestedName) {
    QString path = QFileDialog::getSaveFileName(parent, QString(), suggestedName, QString::fromUtf8(fileFilters));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && !QFileInfo::exists(path))
        path += QStringLiteral(".klt");
    return path;
}

QStringList UserPrompts::askOpenPaths(QWidget* parent) {
    return QFileDialog::getOpenFileNames(parent, QString(), QString(), QString::fromUtf8(fileFilters));
}

void UserPrompts::showSolverStartFailure(QWidget* parent) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Błąd fatalny!"),
                    QStringLiteral("Nastąpił problem z otworzeniem pliku kolt-32.exe. "
                                   "Działanie programu zostanie przerwane"),
                    QMessageBox::Ok, parent);
    box.exec();
}
