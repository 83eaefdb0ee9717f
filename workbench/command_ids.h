// Command numbers of the workbench. The number is the identity of a command:
// the same number stands for its menu entry, toolbar button, keys and prompt.
#pragma once

namespace Command {
enum : int {
    FileNew = 57600,
    FileOpen = 57601,
    FileClose = 57602,
    FileSave = 57603,
    FileSaveAs = 57604,
    FilePrintSetup = 57606,
    FilePrint = 57607,
    MethodList = 57608,  // the methodCombo control: prompt and tooltip only
    FilePrintPreview = 57609,
    FileRecent1 = 57616,
    FileRecent4 = 57619,
    EditClear = 57632,
    EditCopy = 57634,
    EditCut = 57635,
    EditFind = 57636,
    EditPaste = 57637,
    EditRepeat = 57640,
    EditReplace = 57641,
    EditSelectAll = 57642,
    EditUndo = 57643,
    WindowCascade = 57650,
    WindowTile = 57651,
    AppAbout = 57664,
    AppExit = 57665,
    HelpContents = 57667,
    ContextHelp = 57669,
    Help = 57670,
    NextPane = 57680,
    PreviousPane = 57681,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    SyntaxAnalysis = 32771,
    WindowReport = 32775,
    NetworkAnalysis = 32781,
    ViewCalcBar = 32783,
    WindowModel = 32784,
    WindowResults = 32785,
    MiniWizard = 32786,
    NextMessage = 32787,      // F4: the report's next positioned message
    PreviousMessage = 32788,  // Shift+F4: the previous one
    MethodFirst = 33000,      // 33000..33005: entries of methodCombo
    MethodLast = 33005,
};
}  // namespace Command

// The menus shown in the menu bar, by the kind of the active window.
enum class MenuId : int { NoDocument = 128, Model = 129, Results = 131 };
