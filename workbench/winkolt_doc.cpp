#include "workbench/winkolt_doc.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>

#include "workbench/run_files.h"
#include "workbench/run_settings.h"

CWinKoltDoc::CWinKoltDoc(QObject* parent) : QObject(parent), text(new QTextDocument(this)) {
    text->setDocumentLayout(new QPlainTextDocumentLayout(text));
    text->setUndoRedoEnabled(true);
    loaded.lineEnd = QByteArrayLiteral("\r\n");  // new documents are written with CR LF
    connect(text, &QTextDocument::contentsChange, this, &CWinKoltDoc::onContentsChange);
}

void CWinKoltDoc::setTitle(const QString& title) {
    documentTitle = title;
    emit stateChanged();
}

QString CWinKoltDoc::displayName() const { return documentPath.isEmpty() ? documentTitle : documentPath; }

QString CWinKoltDoc::plainText() const {
    // Block by block: QTextDocument::toPlainText() would turn no-break spaces
    // (a Windows-1250 character) into ordinary blanks.
    QString result;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        if (block != text->begin()) result += QLatin1Char('\n');
        result += block.text();
    }
    return result;
}

void CWinKoltDoc::setTextByProgram(const QString& newText) {
    settingTextByProgram = true;
    QString normalised = newText;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text->setPlainText(normalised);
    text->clearUndoRedoStacks();
    settingTextByProgram = false;
}

void CWinKoltDoc::startNew(const QString& title, const QString& initialText) {
    documentTitle = title;
    setTextByProgram(initialText);
    editsUnsaved = true;
    modified = false;
    emit stateChanged();
}

bool CWinKoltDoc::load(const QString& path, QString* error) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Failed to open document.");
        return false;
    }
    if (fileTooLargeToEdit(info.size())) {
        *error = QStringLiteral("The file is too large to open.");
        return false;
    }
    loaded = decodeFileBytes(file.readAll());
    setTextByProgram(loaded.text);
    setPath(path);
    currentRunState = readRunState(runSettingsPath(path));
    editsUnsaved = false;
    modified = false;
    emit stateChanged();
    return true;
}

bool CWinKoltDoc::save(const QString& path, QString* error) {
    const QString current = plainText();
    const QByteArray bytes = encodeFileText(current, loaded);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    loaded.text = current;
    loaded.original = bytes;
    setPath(path);
    editsUnsaved = false;
    currentMethodIndex = -1;
    modified = false;
    emit stateChanged();
    return true;
}

void CWinKoltDoc::setModified(bool value) {
    if (modified == value) return;
    modified = value;
    emit stateChanged();
}

void CWinKoltDoc::setRunOutcome(int newRunState, int newLastMethodIndex) {
    currentRunState = newRunState;
    currentMethodIndex = newLastMethodIndex;
    emit stateChanged();
}

void CWinKoltDoc::setErrorPosition(int line, int column) {
    chosenLine = line;
    chosenColumn = column;
}

QList<QWidget*> CWinKoltDoc::views() const {
    QList<QWidget*> result;
    for (const QPointer<QWidget>& v : viewList)
        if (v) result.append(v.data());
    return result;
}

void CWinKoltDoc::addView(QWidget* view) { viewList.append(view); }

void CWinKoltDoc::removeView(QWidget* view) {
    viewList.removeIf([view](const QPointer<QWidget>& v) { return v.isNull() || v.data() == view; });
}

void CWinKoltDoc::onContentsChange(int, int charsRemoved, int charsAdded) {
    if (settingTextByProgram || (charsRemoved == 0 && charsAdded == 0)) return;
    // Any edit invalidates the last run and must be saved before the next one.
    editsUnsaved = true;
    currentRunState = 0;
    modified = true;
    emit stateChanged();
}

void CWinKoltDoc::setPath(const QString& path) {
    documentPath = path;
    documentBasePath = basePathOf(path);
    documentTitle = QFileInfo(path).fileName();
}
